#include "host/HostOptions.h"
#include "ByteClasses.h"
#include "ForeignWords.h"
#include "host/HostTexts.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using host_test::ForeignLines;

// Sets the language of the host's texts and the locale for one test, English after it.
class InLanguage
{
public:
    explicit InLanguage(const std::string& sLanguage)
    {
        host::SetTextLanguage(sLanguage);
        platform::locale::SetCurrent(host::LocaleOf(sLanguage));
    }
    ~InLanguage()
    {
        host::SetTextLanguage("en");
        platform::locale::SetCurrent("en-US");
    }
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;
};

TEST(HostTextsTest, EveryLineTheHostSaysIsInOneLanguage)
{
    for (const char* sLanguage : {"de", "en"}) {
        const InLanguage oLanguage(sLanguage);
        const bool bGerman = std::string(sLanguage) == "de";
        for (std::size_t i = 0; i < host::HostTextCount(); ++i) {
            const auto id = static_cast<host::HostText>(i);
            EXPECT_EQ(ForeignLines(host::Say(id, {"X", "Y", "Z"}), bGerman), "")
                << sLanguage << " text " << i;
        }
        // What the language runtime says, as the add-in passes its errors on.
        for (const int nError : {5, 9, 13, 53, 61, 70, 91, 380, 424, 438, 457, 12345})
            EXPECT_EQ(ForeignLines(platform::runtime::Error(nError).Description(), bGerman), "")
                << sLanguage << " error " << nError;
    }
}

TEST(HostTextsTest, CommandLineErrorsAndTheUsageSpeakTheLanguageAsked)
{
    const std::vector<std::vector<std::string>> vBad = {{"--lang", "fr"},
                                                        {"--profile"},
                                                        {"--verbose"},
                                                        {"--client-version", "7.0"},
                                                        {"--export", "report.bak"}};
    for (const char* sLanguage : {"de", "en"}) {
        const InLanguage oLanguage(sLanguage);
        const bool bGerman = std::string(sLanguage) == "de";
        EXPECT_EQ(ForeignLines(host::Usage(), bGerman), "") << sLanguage;
        for (const auto& vArgs : vBad) {
            try {
                host::ParseOptions(vArgs);
                ADD_FAILURE() << vArgs[0] << " was taken";
            } catch (const std::invalid_argument& e) {
                EXPECT_EQ(ForeignLines(e.what(), bGerman), "") << e.what();
            }
        }
    }
    // The language of these messages is the one the command line asks for.
    EXPECT_EQ(host::LanguageOfArguments({"--lang", "de", "--verbose"}, "en"), "de");
    EXPECT_EQ(host::LanguageOfArguments({"--lang", "fr"}, "de"), "de");
    EXPECT_EQ(host::LanguageOfArguments({"--lang"}, "en"), "en");
}

TEST(HostOptionsTest, AnExportOfAnUnknownFormatIsRefusedBeforeAnythingIsRead)
{
    try {
        host::ParseOptions({"--export", "/tmp/x.bak"});
        FAIL() << "taken";
    } catch (const std::invalid_argument& e) {
        const std::string sWhy = e.what();
        EXPECT_NE(sWhy.find("/tmp/x.bak"), std::string::npos) << sWhy;
        EXPECT_NE(sWhy.find(".csv, .htm, .html, .xls, .xlsx, .xlsm"), std::string::npos) << sWhy;
    }
    for (const char* sFile : {"r.csv", "r.htm", "r.HTM", "r.HTML", "r.xls", "r.xlsx", "r.xlsm",
                              "dir.csv/r.xlsx", "a.b.csv", "..csv", "/tmp/.x.csv"})
        EXPECT_EQ(host::ParseOptions({"--export", sFile}).sExport, sFile);
}

TEST(HostOptionsTest, AnExportIsWrittenUnderTheNameGivenOrRefused)
{
    // The save would give a name without a known extension one of its own, and ".csv" alone
    // names a hidden file with no name: neither is a name the person would look for. Each row:
    // the name, the start of its refusal in English and in German.
    struct Row
    {
        const char* pFile;
        const char* pEnglish;
        const char* pGerman;
    };
    const char* const kSaves = "--export saves as .csv, .htm, .html, .xls, .xlsx, .xlsm only";
    const char* const kSpeichert =
        "--export speichert nur als .csv, .htm, .html, .xls, .xlsx, .xlsm";
    const char* const kNoName = "--export wants a file name before the extension";
    const char* const kKeinName = "--export braucht einen Dateinamen vor der Endung";
    for (const Row& row : std::vector<Row>{{"noext", kSaves, kSpeichert},
                                           {"/tmp/out/noext", kSaves, kSpeichert},
                                           {"a.", kSaves, kSpeichert},
                                           {"out/", kSaves, kSpeichert},
                                           {"csv", kSaves, kSpeichert},
                                           {".csv", kNoName, kKeinName},
                                           {".XLSX", kNoName, kKeinName},
                                           {"/tmp/.html", kNoName, kKeinName}}) {
        for (const char* sLanguage : {"en", "de"}) {
            SCOPED_TRACE(std::string(row.pFile) + " " + sLanguage);
            const InLanguage oLanguage(sLanguage);
            try {
                host::ParseOptions({"--export", row.pFile});
                ADD_FAILURE() << "taken";
            } catch (const std::invalid_argument& e) {
                const std::string sWhy = e.what();
                EXPECT_EQ(sWhy.rfind(std::string(sLanguage) == "de" ? row.pGerman : row.pEnglish,
                                     0),
                          0u)
                    << sWhy;
                EXPECT_NE(sWhy.find(row.pFile), std::string::npos) << sWhy;
            }
        }
    }
}

TEST(HostOptionsTest, ReadsEveryOption)
{
    const auto o = host::ParseOptions({"--profile", "/tmp/p", "--lang", "de", "--template", "Monat",
                                       "--interactive", "--client-version", "12.0.0.6423"});
    EXPECT_EQ(o.sProfile, "/tmp/p");
    EXPECT_EQ(o.sLanguage, "de");
    EXPECT_EQ(o.sTemplate, "Monat");
    EXPECT_TRUE(o.bInteractive);
    EXPECT_FALSE(o.bHelp);
    EXPECT_EQ(o.sClientVersion, "12.0.0.6423");
    EXPECT_EQ(o.sAnswers, "");
    EXPECT_EQ(o.sPrinter, "");
    EXPECT_EQ(host::ParseOptions({"--printer", "TallymanNull"}).sPrinter, "TallymanNull");
    const auto a = host::ParseOptions({"--answers", "run.txt"});
    EXPECT_EQ(a.sAnswers, "run.txt");
    EXPECT_TRUE(a.bInteractive);
}

TEST(HostOptionsTest, ClientVersionsGiveTheirMajorNumber)
{
    struct Case
    {
        const char* sVersion;
        int nMajor;
    };
    for (const auto& c : {Case{"16.0.0.0", 16}, Case{"12.0", 12}, Case{"9", 9}, Case{"", 0},
                          Case{"x.1", 0}, Case{"12.0a", 0}, Case{"1234.0", 0}})
        EXPECT_EQ(host::MajorVersionOf(c.sVersion), c.nMajor) << c.sVersion;
}

TEST(HostOptionsTest, DefaultsWithoutArguments)
{
    const auto o = host::ParseOptions({});
    EXPECT_EQ(o.sProfile, "");
    EXPECT_EQ(o.sLanguage, "en");
    EXPECT_FALSE(o.bInteractive);
    EXPECT_EQ(o.sClientVersion, "16.0.0.0");
    EXPECT_TRUE(host::ParseOptions({"--help"}).bHelp);
}

TEST(HostOptionsTest, RejectsBadArguments)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--lang", "fr"},
        {"--lang"},
        {"--profile"},
        {"--profile", ""},
        {"--verbose"},
        {"extra"},
        {"--client-version", "abc"},
        {"--client-version", "7.0"},
        {"--answers"},
        {"--printer"},
    };
    for (const auto& c : cases)
        EXPECT_THROW(host::ParseOptions(c), std::invalid_argument) << c[0];
}

TEST(HostOptionsTest, EveryOptionRefusesEveryControlCharacterAndByteClassShowingIt)
{
    host::SetTextLanguage("en");
    std::vector<host_test::BadText> vBad = host_test::BadTexts();
    vBad.push_back({"\n", true});
    int nRefused = 0;
    for (const std::string sOption : {"--profile", "--template", "--folder", "--export",
                                      "--answers", "--printer", "--lang", "--client-version"}) {
        for (std::size_t i = 0; i < vBad.size(); ++i) {
            SCOPED_TRACE(sOption + " bad text " + std::to_string(i));
            const std::string sValue =
                "x" + vBad[i].sBytes + (sOption == "--export" ? "y.csv" : "y");
            try {
                host::ParseOptions({sOption, sValue});
                ADD_FAILURE() << "taken";
            } catch (const std::invalid_argument& e) {
                // A wrong command line, as for every option: main ends the run with 2.
                ++nRefused;
                const std::string sWhy = e.what();
                // Shown, not sent raw, and named for what it is.
                EXPECT_EQ(host_test::RawControlAt(sWhy), std::string::npos) << sWhy;
                EXPECT_TRUE(sWhy.find("\"x\\x") != std::string::npos ||
                            sWhy.find("\"x\\u") != std::string::npos ||
                            sWhy.find("/x\\x") != std::string::npos)
                    << sWhy;
                EXPECT_NE(sWhy.find(vBad[i].bUtf8 ? "control character" : "not UTF-8"),
                          std::string::npos)
                    << sWhy;
            }
        }
    }
    EXPECT_EQ(nRefused, 8 * static_cast<int>(vBad.size()));
    // A tab is text.
    EXPECT_NO_THROW(host::ParseOptions({"--template", "a\tb"}));
}

TEST(HostOptionsTest, TheWindowHostRefusesWhatOnlyTheTextHostDoesBeforeOrAfterGui)
{
    host::SetTextLanguage("en");
    // The options the window host leaves to the person at its windows, by its usage line.
    const std::vector<std::vector<std::string>> vTextOnly = {
        {"--template", "Tasks by Status"}, {"--folder", "Store/Calendar"}, {"--export", "r.csv"},
        {"--interactive"},                 {"--answers", "answers.txt"},   {"--printer", "Q"}};
    for (const auto& vOption : vTextOnly) {
        for (const bool bGuiFirst : {true, false}) {
            std::vector<std::string> vArgs = vOption;
            vArgs.insert(bGuiFirst ? vArgs.begin() : vArgs.end(), "--gui");
            SCOPED_TRACE(vOption[0] + (bGuiFirst ? " after --gui" : " before --gui"));
            try {
                host::ParseOptions(vArgs);
                ADD_FAILURE() << "taken";
            } catch (const std::invalid_argument& e) {
                EXPECT_NE(std::string(e.what()).find("not " + vOption[0]), std::string::npos)
                    << e.what();
            }
            // Without --gui the text host takes it.
            EXPECT_NO_THROW(host::ParseOptions(vOption));
        }
    }
    const auto o = host::ParseOptions(
        {"--gui", "--profile", "/p", "--lang", "de", "--client-version", "12.0"});
    EXPECT_TRUE(o.bGui);
    EXPECT_EQ(o.sClientVersion, "12.0");
    {
        const InLanguage oGerman("de");
        EXPECT_THROW(
            {
                try {
                    host::ParseOptions({"--gui", "--folder", "X/Y"});
                } catch (const std::invalid_argument& e) {
                    EXPECT_NE(std::string(e.what()).find("nimmt nur"), std::string::npos);
                    throw;
                }
            },
            std::invalid_argument);
    }
}

TEST(HostOptionsTest, TheLocaleGivesTheDefaultLanguageAndLangOverridesIt)
{
    for (const auto& [sLocale, sLanguage] : std::vector<std::pair<std::string, std::string>>{
             {"de_DE.UTF-8", "de"}, {"de_AT", "de"}, {"de", "de"}, {"en_GB.UTF-8", "en"},
             {"C.UTF-8", "en"}, {"POSIX", "en"}, {"fr_FR.UTF-8", "en"}, {"", "en"}})
        EXPECT_EQ(host::LanguageOfLocale(sLocale), sLanguage) << sLocale;
    EXPECT_EQ(host::ParseOptions({}, "de").sLanguage, "de");
    EXPECT_EQ(host::ParseOptions({"--lang", "en"}, "de").sLanguage, "en");
    EXPECT_EQ(host::ParseOptions({"--lang", "de"}, "en").sLanguage, "de");
    EXPECT_NE(host::Usage().find("LC_ALL, LC_MESSAGES and LANG"), std::string::npos);
}

TEST(HostOptionsTest, LanguageGivesLocaleAndId)
{
    EXPECT_EQ(host::LocaleOf("de"), "de-DE");
    EXPECT_EQ(host::LocaleOf("en"), "en-US");
    EXPECT_EQ(host::LanguageIdOf("de"), 1031);
    EXPECT_EQ(host::LanguageIdOf("en"), 1033);
}

} // namespace
