#include "host/HostOptions.h"

#include <stdexcept>

namespace host {

namespace {
std::string ValueAfter(const std::vector<std::string>& vArgs, std::size_t& i)
{
    if (i + 1 >= vArgs.size() || vArgs[i + 1].empty())
        throw std::invalid_argument("option " + vArgs[i] + " needs a value");
    return vArgs[++i];
}
} // namespace

HostOptions ParseOptions(const std::vector<std::string>& vArgs)
{
    HostOptions o;
    for (std::size_t i = 0; i < vArgs.size(); ++i) {
        const std::string& a = vArgs[i];
        if (a == "--profile")
            o.sProfile = ValueAfter(vArgs, i);
        else if (a == "--lang") {
            o.sLanguage = ValueAfter(vArgs, i);
            if (o.sLanguage != "de" && o.sLanguage != "en")
                throw std::invalid_argument("--lang takes de or en, not " + o.sLanguage);
        } else if (a == "--template")
            o.sTemplate = ValueAfter(vArgs, i);
        else if (a == "--folder")
            o.vFolders.push_back(ValueAfter(vArgs, i));
        else if (a == "--interactive")
            o.bInteractive = true;
        else if (a == "--gui")
            o.bGui = true;
        else if (a == "--help" || a == "-h")
            o.bHelp = true;
        else
            throw std::invalid_argument("unknown option " + a);
    }
    return o;
}

std::string Usage()
{
    return "Usage: tallyman [--profile DIR] [--lang de|en] [--template NAME] [--folder PATH]...\n"
           "                [--interactive]\n"
           "       tallyman --gui [--profile DIR] [--lang de|en]\n"
           "\n"
           "Plays the mail client: opens a profile, loads the report add-in, opens an\n"
           "explorer window, clicks the add-in's report button and shows the report window\n"
           "as text.\n"
           "\n"
           "  --profile DIR    the profile folder (default: the sample profile, made on first\n"
           "                   use in the user's data folder)\n"
           "  --lang de|en     user-interface language and locale (default: en)\n"
           "  --template NAME  the report template to show\n"
           "  --folder PATH    pick this folder for the template, as \"Store/Folder/Subfolder\"\n"
           "                   (repeat it for more folders; \\/ is a slash and \\\\ a\n"
           "                   backslash inside a name)\n"
           "  --interactive    pick templates and run menu commands\n"
           "  --gui            show the client and the report window as windows on the\n"
           "                   desktop (needs a display)\n"
           "  --help           this text\n";
}

std::string LocaleOf(const std::string& sLanguage)
{
    return sLanguage == "de" ? "de-DE" : "en-US";
}

long LanguageIdOf(const std::string& sLanguage)
{
    return sLanguage == "de" ? 1031 : 1033;
}

} // namespace host
