#include "host/HostOptions.h"

#include <cstdlib>
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

HostOptions ParseOptions(const std::vector<std::string>& vArgs,
                         const std::string& sDefaultLanguage)
{
    HostOptions o;
    o.sLanguage = sDefaultLanguage;
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
        else if (a == "--client-version") {
            o.sClientVersion = ValueAfter(vArgs, i);
            if (MajorVersionOf(o.sClientVersion) < 8)
                throw std::invalid_argument("--client-version takes a version such as 12.0 or "
                                            "16.0.0.0, not " +
                                            o.sClientVersion);
        } else if (a == "--export")
            o.sExport = ValueAfter(vArgs, i);
        else if (a == "--interactive")
            o.bInteractive = true;
        else if (a == "--answers") {
            o.sAnswers = ValueAfter(vArgs, i);
            o.bInteractive = true;
        } else if (a == "--printer")
            o.sPrinter = ValueAfter(vArgs, i);
        else if (a == "--gui")
            o.bGui = true;
        else if (a == "--help" || a == "-h")
            o.bHelp = true;
        else
            throw std::invalid_argument("unknown option " + a);
    }
    return o;
}

int MajorVersionOf(const std::string& sVersion)
{
    const auto dot = sVersion.find('.');
    const std::string sMajor = sVersion.substr(0, dot);
    if (sMajor.empty() || sMajor.size() > 3 ||
        sMajor.find_first_not_of("0123456789") != std::string::npos ||
        (dot != std::string::npos &&
         sVersion.find_first_not_of("0123456789.") != std::string::npos))
        return 0;
    return std::stoi(sMajor);
}

std::string Usage()
{
    return "Usage: tallyman [--profile DIR] [--lang de|en] [--template NAME] [--folder PATH]...\n"
           "                [--export FILE] [--interactive] [--answers FILE]\n"
           "                [--client-version V] [--printer QUEUE]\n"
           "       tallyman --gui [--profile DIR] [--lang de|en]\n"
           "\n"
           "Plays the mail client: opens a profile, loads the report add-in, opens an\n"
           "explorer window, clicks the add-in's report button and shows the report window\n"
           "as text.\n"
           "\n"
           "  --profile DIR    the profile folder (default: the sample profile, made on first\n"
           "                   use in the user's data folder)\n"
           "  --lang de|en     user-interface language and locale (default: the language of\n"
           "                   the first of LC_ALL, LC_MESSAGES and LANG that is set:\n"
           "                   German for de*, English otherwise)\n"
           "  --template NAME  the report template to show\n"
           "  --folder PATH    pick this folder for the template, as \"Store/Folder/Subfolder\"\n"
           "                   (repeat it for more folders; \\/ is a slash and \\\\ a\n"
           "                   backslash inside a name), for this run only: the template\n"
           "                   keeps its own folders, unless you pick folders in the folder\n"
           "                   picker during the run (those are kept after exit)\n"
           "  --export FILE    save the report into FILE after the read, in the format of its\n"
           "                   extension (.csv, .html, .xls, .xlsx, .xlsm); the template's\n"
           "                   own save settings stay as they are\n"
           "  --interactive    pick templates, run menu commands and answer the dialogs\n"
           "  --client-version V  the version the client reports (default 16.0.0.0); below\n"
           "                   14 the report button sits on the add-in's toolbar\n"
           "  --answers FILE   read those commands from FILE, one a line (implies\n"
           "                   --interactive); a missing or unfitting answer ends the run\n"
           "  --printer QUEUE  the default printer for this run: a template that names its\n"
           "                   own printer prints there (the user's default stays as it is)\n"
           "  --gui            show the client and the report window as windows on the\n"
           "                   desktop (needs a display)\n"
           "  --help           this text\n";
}

std::string LanguageOfLocale(const std::string& sLocale)
{
    return sLocale.rfind("de", 0) == 0 ? "de" : "en";
}

std::string LanguageOfEnvironment()
{
    for (const char* pName : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* pValue = std::getenv(pName); pValue && *pValue)
            return LanguageOfLocale(pValue);
    return "en";
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
