#include "host/HostOptions.h"

#include "host/AnswerSource.h"
#include "host/HostTexts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace host {

namespace {
// Every value reaches the add-in's windows and files or is printed back: one that holds what
// no text may hold (see TextRefusal) is a wrong command line, whichever option it follows.
std::string ValueAfter(const std::vector<std::string>& vArgs, std::size_t& i)
{
    if (i + 1 >= vArgs.size() || vArgs[i + 1].empty())
        throw std::invalid_argument(Say(HostText::OptionNeedsValue, {vArgs[i]}));
    if (const auto oRefusal = TextRefusal(vArgs[i + 1]))
        throw std::invalid_argument(*oRefusal);
    return vArgs[++i];
}

// The formats a save takes, by the extension of the file (letter case ignored); the save
// writes a web page for both ".htm" and ".html".
constexpr std::array kExportExtensions = {".csv", ".htm", ".html", ".xls", ".xlsx", ".xlsm"};

// The options of the text host alone; the window host refuses them rather than ignore them.
constexpr std::array<std::string_view, 6> kTextOnlyOptions = {
    "--template", "--folder", "--export", "--interactive", "--answers", "--printer"};

// The export's file is named the way the person will find it: a file of a format the save
// does not know, or a name without an extension (which the save would give one of its own), is
// refused before anything is read; so is an extension with no name before it (".csv" names a
// hidden file).
void CheckExportFile(const std::string& sFile)
{
    const std::filesystem::path oName = std::filesystem::path(sFile).filename();
    std::string sName = oName.string();
    std::transform(sName.begin(), sName.end(), sName.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string sTypes;
    for (const char* pExtension : kExportExtensions) {
        if (sName == pExtension)
            throw std::invalid_argument(Say(HostText::ExportNoBaseName, {sFile, pExtension}));
        sTypes += (sTypes.empty() ? "" : ", ") + std::string(pExtension);
    }
    std::string sExtension = oName.extension().string();
    std::transform(sExtension.begin(), sExtension.end(), sExtension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::find(kExportExtensions.begin(), kExportExtensions.end(), sExtension) ==
        kExportExtensions.end())
        throw std::invalid_argument(Say(HostText::ExportTypeUnknown, {sFile, sTypes}));
}
} // namespace

HostOptions ParseOptions(const std::vector<std::string>& vArgs,
                         const std::string& sDefaultLanguage)
{
    HostOptions o;
    o.sLanguage = sDefaultLanguage;
    // The first option the window host does not do: it lets the person work the windows.
    std::string sNotForGui;
    for (std::size_t i = 0; i < vArgs.size(); ++i) {
        const std::string& a = vArgs[i];
        if (sNotForGui.empty() && std::find(kTextOnlyOptions.begin(), kTextOnlyOptions.end(), a) !=
                                      kTextOnlyOptions.end())
            sNotForGui = a;
        if (a == "--profile")
            o.sProfile = ValueAfter(vArgs, i);
        else if (a == "--lang") {
            o.sLanguage = ValueAfter(vArgs, i);
            if (o.sLanguage != "de" && o.sLanguage != "en")
                throw std::invalid_argument(Say(HostText::LangTakes, {o.sLanguage}));
        } else if (a == "--template")
            o.sTemplate = ValueAfter(vArgs, i);
        else if (a == "--folder")
            o.vFolders.push_back(ValueAfter(vArgs, i));
        else if (a == "--client-version") {
            o.sClientVersion = ValueAfter(vArgs, i);
            if (MajorVersionOf(o.sClientVersion) < 8)
                throw std::invalid_argument(Say(HostText::ClientVersionTakes, {o.sClientVersion}));
        } else if (a == "--export") {
            o.sExport = ValueAfter(vArgs, i);
            CheckExportFile(o.sExport);
        } else if (a == "--interactive")
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
            throw std::invalid_argument(Say(HostText::UnknownOption, {a}));
    }
    if (o.bGui && !sNotForGui.empty())
        throw std::invalid_argument(Say(HostText::GuiTakesNot, {sNotForGui}));
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
    return Say(HostText::UsageText);
}

std::string LanguageOfArguments(const std::vector<std::string>& vArgs,
                                const std::string& sDefaultLanguage)
{
    std::string sLanguage = sDefaultLanguage;
    for (std::size_t i = 0; i + 1 < vArgs.size(); ++i)
        if (vArgs[i] == "--lang" && (vArgs[i + 1] == "de" || vArgs[i + 1] == "en"))
            sLanguage = vArgs[i + 1];
    return sLanguage;
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
