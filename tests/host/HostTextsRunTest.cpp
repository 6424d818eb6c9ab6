// What the host says in a run, in the language of the run: command-line errors, refusals,
// failures, and the help's examples, which work as they are printed.
#include "ForeignWords.h"
#include "HostRunFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

using host_test::ForeignLines;
using host_test::RunResult;

class HostTextsRunTest : public host_test::HostRunFixture
{
protected:
    // A run with the answers in a file.
    RunResult RunAnswers(const fs::path& oData, const std::string& sArgs,
                         const std::string& sAnswers, const std::string& sEnv = {}) const
    {
        const auto oFile = oRoot / "answers.txt";
        std::ofstream(oFile) << sAnswers;
        return host_test::RunTallyman(oData, sArgs + " --answers '" + oFile.string() + "'", {},
                                      sEnv);
    }
};

// The examples of the help text: the lines set in below their command (by nIndent or more),
// two on a line apart by a wide gap; sFrom and sTo bound the part of the help.
std::vector<std::string> Examples(const std::string& sHelp, const std::string& sFrom,
                                  const std::string& sTo, std::size_t nIndent = 20)
{
    const auto nFrom = sHelp.find(sFrom);
    const auto nTo = sHelp.find(sTo, nFrom);
    std::istringstream in(sHelp.substr(nFrom, nTo - nFrom));
    std::vector<std::string> vExamples;
    for (std::string sLine; std::getline(in, sLine);) {
        const auto nText = sLine.find_first_not_of(' ');
        if (nText == std::string::npos || nText < nIndent)
            continue;
        for (std::size_t at = nText; at < sLine.size();) {
            const auto nGap = sLine.find("   ", at);
            vExamples.push_back(sLine.substr(at, nGap - at));
            at = nGap == std::string::npos ? sLine.size() : sLine.find_first_not_of(' ', nGap);
        }
    }
    return vExamples;
}

TEST_F(HostTextsRunTest, AGermanRunSaysNothingInEnglish)
{
    // The command line's mistakes, a profile, template, folder and print queue that do not
    // exist, and no display: each said in the language of the locale or of --lang.
    const std::string sNoDisplay = "DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=";
    for (const auto& [sArgs, sEnv] : std::vector<std::pair<std::string, std::string>>{
             {"--verbose", ""},
             {"--lang", ""},
             {"--client-version 7.0", ""},
             {"--export report.bak", ""},
             {"--profile '" + (oRoot / "missing").string() + "'", ""},
             {"--template Nirgends", ""},
             {"--printer Nirgends", ""},
             {"--folder 'Persönliche Ordner/Nirgends'", ""},
             {"--gui", sNoDisplay},
             {"--gui --profile '" + (oRoot / "missing").string() + "'",
              "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR='" + oRoot.string() + "'"}}) {
        for (const auto& [sLanguage, sLocale] : std::vector<std::pair<std::string, std::string>>{
                 {"de", "LANG=de_DE.UTF-8"}, {"en", "LANG=C.UTF-8"}}) {
            // Each language with its own data: template names are the first run's.
            const auto r =
                host_test::RunTallyman(oRoot / sLanguage, sArgs, {}, sLocale + " " + sEnv);
            EXPECT_NE(r.exitCode, 0) << sArgs << "\n" << r.output;
            EXPECT_EQ(ForeignLines(r.output, sLanguage == "de"), "") << sArgs << "\n" << r.output;
        }
        const auto rLang =
            host_test::RunTallyman(oRoot / "de", sArgs + " --lang de", {}, "LANG=C.UTF-8 " + sEnv);
        EXPECT_EQ(ForeignLines(rLang.output, true), "") << sArgs << "\n" << rLang.output;
    }

    // At the terminal: help, refusals of the window, of the grid and of a dialog, and the end
    // of the input.
    const auto r = host_test::RunTallyman(
        oRoot / "de", "--interactive",
        "help\\nbogus\\nrow\\nwidth Betreff\\ntemplate\\ntemplate Nirgends\\nfind\\n"
        "find zzzqqq\\nwhole\\nmove Ort\\nmail to x\\ntoolbar\\ndeletereport\\n"
        "selectall 3\\nmailbox junk\\nsetview\\nbogus\\nhelp\\nclick cmdCalc\\nshow\\n"
        "key escape\\nkey escape\\ntemplates\\nselect fg 0\\nclick cmdCopy\\nset txtNew X\\n"
        "click cmdAutoAction\\nclick cmdPrinter\\ncollate ja\\nshow\\ncancel\\nkey escape\\n"
        "key escape\\nkey escape\\nhelpbtn\\nok\\n",
        "LANG=de_DE.UTF-8");
    // The input ended with the window open.
    EXPECT_EQ(r.exitCode, 3) << r.output;
    EXPECT_EQ(ForeignLines(r.output, true), "") << r.output;
    // The print dialog and a combo box are among what was shown.
    EXPECT_NE(r.output.find("== Drucken =="), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Exemplare 1, sortiert an, Bereich alle"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("\" von ["), std::string::npos) << r.output;

    // The file system refuses the first start: said in German, naming the folder.
    std::ofstream(oRoot / "afile") << "in the way";
    const auto rFile = host_test::RunTallyman(oRoot / "afile" / "data", "", {}, "LANG=de_DE.UTF-8");
    EXPECT_EQ(rFile.exitCode, 1) << rFile.output;
    EXPECT_NE(rFile.output.find("kann nicht angelegt werden"), std::string::npos) << rFile.output;
    EXPECT_EQ(ForeignLines(rFile.output, true), "") << rFile.output;
    EXPECT_EQ(rFile.output.find("filesystem error"), std::string::npos) << rFile.output;
}

TEST_F(HostTextsRunTest, EveryExampleOfTheHelpRunsAsPrinted)
{
    for (const auto& [sLanguage, sGrid, sMailbox] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"en", "Commands of the report grid:", "  mailbox "},
             {"de", "Befehle des Berichtsrasters:", "  mailbox "}}) {
        // A user's templates and captions are in the language of the first run.
        const auto oData = oRoot / sLanguage;
        const auto rHelp = RunAnswers(oData, "--lang " + sLanguage, "help\nquit\n");
        ASSERT_EQ(rHelp.exitCode, 0) << rHelp.output;
        // The grid's examples first, on the template the window opens with; then the
        // window's own, which change the template.
        auto vExamples = Examples(rHelp.output, sGrid, "\n> ");
        const auto vMailbox = Examples(rHelp.output, sMailbox, sGrid);
        const auto vWindow = Examples(rHelp.output, "  template NAME", "  menu ");
        vExamples.insert(vExamples.end(), vMailbox.begin(), vMailbox.end());
        vExamples.insert(vExamples.end(), vWindow.begin(), vWindow.end());
        ASSERT_GE(vExamples.size(), 12u) << rHelp.output;
        std::string sAnswers;
        for (const auto& sExample : vExamples)
            sAnswers += sExample + "\n";
        // An example the host refuses ends the run with a message naming its line.
        const auto r = RunAnswers(oData, "--lang " + sLanguage, sAnswers + "quit\n");
        EXPECT_EQ(r.exitCode, 0) << sAnswers << r.output;
        for (const auto& sExample : vExamples)
            EXPECT_NE(r.output.find("> " + sExample + "\n"), std::string::npos) << sExample;
    }
}

TEST_F(HostTextsRunTest, EveryExampleOfTheFormHelpRunsInItsDialog)
{
    // Where each control of the examples lives: the steps that open its dialog, and those
    // that close it again afterwards.
    struct Place
    {
        std::string sControl;
        std::string sOpen;
        std::string sClose;
    };
    const std::string sCopy = "templates\nselect fg 0\nclick cmdCopy\n";
    const std::string sActions = sCopy + "set txtNew X\nclick cmdAutoAction\n";
    const std::vector<Place> vPlaces = {
        {" txtNew ", sCopy, "key escape\nkey escape\n"},
        {" txt(0) ", sActions + "click cmdHeaderFooter\n",
         "key escape\nkey escape\nkey escape\nkey escape\n"},
        {"(0)", sActions, "key escape\nkey escape\nkey escape\n"},
        {" cboFormat ", sActions, "key escape\nkey escape\nkey escape\n"},
        {" fgAll ", "setview\nclick cmdFields\n", "key escape\nkey escape\n"},
        {" fgSelected ", "setview\nclick cmdFields\n", "key escape\nkey escape\n"},
        {"choose fg ", "setview\nclick cmdCalc\n", "key escape\nkey escape\n"},
        {" fg ", "select\n", "key escape\n"},
        {"folder ", "select\n", ""},
        {" frmAbout ", "info\n", "key escape\n"},
        {"", "setview\n", ""}};
    for (const auto& sLanguage : {std::string("en"), std::string("de")}) {
        const auto oData = oRoot / sLanguage;
        const auto rHelp =
            RunAnswers(oData, "--lang " + sLanguage, "setview\nhelp\nkey escape\nquit\n");
        ASSERT_EQ(rHelp.exitCode, 0) << rHelp.output;
        const auto vExamples = Examples(rHelp.output, "  set NAME TEXT", "  show | help", 29);
        ASSERT_GE(vExamples.size(), 15u) << rHelp.output;
        std::string sAnswers;
        for (const auto& sExample : vExamples) {
            for (const auto& oPlace : vPlaces) {
                if ((" " + sExample + " ").find(oPlace.sControl) == std::string::npos)
                    continue;
                sAnswers += oPlace.sOpen + sExample + "\n" + oPlace.sClose;
                break;
            }
        }
        // The picture is written where the person is: in the run's own folder.
        const auto oFile = oRoot / "answers.txt";
        std::ofstream(oFile) << sAnswers << "quit\n";
        const auto r = host_test::RunShell(
            "cd '" + oRoot.string() + "' && LC_ALL= LANG=C.UTF-8 XDG_CONFIG_HOME='" +
            oData.string() + "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "' --lang " + sLanguage +
            " --answers '" + oFile.string() + "'");
        EXPECT_EQ(r.exitCode, 0) << sAnswers << r.output;
        for (const auto& sExample : vExamples)
            EXPECT_NE(r.output.find("> " + sExample + "\n"), std::string::npos) << sExample;
    }
}

TEST_F(HostTextsRunTest, RefusalsSayWhatWouldWork)
{
    // An unknown template, folder or print queue lists those there are.
    const auto rTemplate = Run("--lang en --template Nowhere");
    EXPECT_EQ(rTemplate.exitCode, 1);
    EXPECT_NE(rTemplate.output.find("there is no template \"Nowhere\"; the templates are: "
                                    "\"(Standard)\", \"Tasks by Status\""),
              std::string::npos)
        << rTemplate.output;
    const auto rPrinter = Run("--lang en --printer Nowhere");
    EXPECT_NE(rPrinter.output.find("there is no print queue Nowhere; the queues are: "),
              std::string::npos)
        << rPrinter.output;
    EXPECT_NE(rPrinter.output.find("TallymanPDF"), std::string::npos) << rPrinter.output;
    const auto rFolder = Run("--lang en --folder 'Persönliche Ordner/Nowhere'");
    EXPECT_NE(rFolder.output.find("there is no folder \"Persönliche Ordner/Nowhere\"; the "
                                  "folders are: \"Persönliche Ordner/"),
              std::string::npos)
        << rFolder.output;
    EXPECT_NE(rFolder.output.find("\"Persönliche Ordner/Kalender\""), std::string::npos)
        << rFolder.output;
    // Only the folders on the level where the path went astray are offered, each as a path
    // that exists: a store's folders are no stores, a subfolder's no sibling of its parent.
    for (const auto& [sPath, sChoices] : std::vector<std::pair<std::string, std::string>>{
             {"Nowhere", "\"Persönliche Ordner\", \"Archiv\", \"Öffentliche Ordner\"\n"},
             {"Archiv/Nowhere", "\"Archiv/Kalender\", \"Archiv/Aufgaben\", \"Archiv/Journal\"\n"},
             {"Persönliche Ordner/Kalender/Nowhere", "\"Persönliche Ordner/Kalender/Projekte\"\n"},
         }) {
        const auto r = Run("--lang en --folder '" + sPath + "'");
        EXPECT_EQ(r.exitCode, 1) << sPath << "\n" << r.output;
        EXPECT_NE(
            r.output.find("there is no folder \"" + sPath + "\"; the folders are: " + sChoices),
            std::string::npos)
            << sPath << "\n"
            << r.output;
    }

    // A command that is not available now says why; one without a hit says so; the end of
    // the input says that the view was not kept.
    const auto r =
        Run("--lang en --interactive", "find zzzqqq\\ntemplate\\nwidth Subject\\nrow\\n");
    EXPECT_EQ(r.exitCode, 3) << r.output;
    for (const char* sExpected :
         {"Nothing found for \"zzzqqq\"",
          "template takes this form: template NAME; for example: template Tasks by Status",
          "width takes this form: width COL TWIPS; for example: width Subject 3000",
          "row takes this form: row R; for example: row 5",
          "The input ended: the program ends as quit does; the view's changes since the window "
          "opened were not kept"})
        EXPECT_NE(r.output.find(sExpected), std::string::npos) << sExpected << "\n" << r.output;
}

TEST_F(HostTextsRunTest, TheBrowserLaunchersOwnWordsStayOffTheTerminal)
{
    // A desktop opener that fails loudly.
    const auto oBin = oRoot / "bin";
    fs::create_directories(oBin);
    {
        std::ofstream oOpener(oBin / "xdg-open");
        oOpener << "#!/bin/sh\necho 'opener noise on stderr' >&2\necho 'opener noise' \nexit 4\n";
    }
    fs::permissions(oBin / "xdg-open", fs::perms::owner_all);
    const auto r = RunAnswers(oRoot, "--lang en", "helpbtn\nok\nquit\n",
                              "PATH='" + oBin.string() + ":'\"$PATH\"");
    EXPECT_NE(r.output.find("could not be shown"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("opener noise"), std::string::npos) << r.output;
}

} // namespace

namespace {

// A small file system of its own (a tmpfs, which needs the right to mount), filled to the
// last byte after the setup has put its files there; unmounted at the end.
class FullFileSystem
{
public:
    FullFileSystem(const fs::path& oDir, const std::string& sSize) : m_oDir(oDir)
    {
        fs::create_directories(oDir);
        m_bMounted = host_test::RunShell("mount -t tmpfs -o size=" + sSize + " tmpfs '" +
                                         oDir.string() + "'")
                         .exitCode == 0;
    }
    ~FullFileSystem()
    {
        if (m_bMounted)
            host_test::RunShell("umount '" + m_oDir.string() + "'");
    }
    FullFileSystem(const FullFileSystem&) = delete;
    FullFileSystem& operator=(const FullFileSystem&) = delete;
    bool Mounted() const { return m_bMounted; }
    void Fill() const
    {
        host_test::RunShell("dd if=/dev/zero of='" + (m_oDir / "filler").string() +
                            "' bs=4k 2>/dev/null");
    }

private:
    fs::path m_oDir;
    bool m_bMounted = false;
};

} // namespace

TEST_F(HostTextsRunTest, AFullDiskWhileTheProfileOpensIsSaidAsSuch)
{
    // The sample profile, made by a first start, copied onto a file system that then fills up.
    ASSERT_EQ(host_test::RunTallyman(oRoot / "first", "--lang de").exitCode, 0);
    const FullFileSystem oDisk(oRoot / "disk", "16m");
    if (!oDisk.Mounted())
        GTEST_SKIP() << "no right to mount a file system";
    const auto oProfile = oRoot / "disk" / "Profil";
    fs::copy(oRoot / "first" / "Kestrova" / "Tallyman" / "SampleProfile", oProfile,
             fs::copy_options::recursive);
    fs::remove(oProfile / "tallyman.lock");
    oDisk.Fill();
    const auto r = host_test::RunTallyman(oRoot / "first", "--profile '" + oProfile.string() + "'",
                                          {}, "LANG=de_DE.UTF-8");
    EXPECT_NE(r.output.find("auf dem Datenträger ist kein Platz mehr frei"), std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("disk I/O error"), std::string::npos) << r.output;
    EXPECT_EQ(host_test::ForeignLines(r.output, true), "") << r.output;
}
