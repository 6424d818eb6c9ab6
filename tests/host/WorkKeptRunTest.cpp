// Runs of the host in which work could be lost: text that is not UTF-8, a template that cannot
// be read, a settings folder that cannot be written, a profile that cannot be opened.
#include "HostRunFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using host_test::RunResult;

std::string ReadAll(const fs::path& oFile)
{
    std::ifstream oIn(oFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& oFile, const std::string& sText)
{
    std::ofstream(oFile, std::ios::binary) << sText;
}

// The output with the lines that the host wrapped at its width joined again.
std::string Unwrapped(std::string s)
{
    for (auto at = s.find("\n  "); at != std::string::npos; at = s.find("\n  ", at))
        s.replace(at, 3, " ");
    return s;
}

// The text after the first occurrence of sAfter ("" when it does not occur).
std::string After(const std::string& sText, const std::string& sAfter)
{
    const auto at = sText.find(sAfter);
    return at == std::string::npos ? std::string() : sText.substr(at + sAfter.size());
}

class WorkKeptRunTest : public host_test::HostRunFixture
{
protected:
    fs::path SettingsFolder() const { return oRoot / "Kestrova" / "Tallyman"; }
    fs::path ReportsFile() const { return SettingsFolder() / "reports.xml"; }
    // Makes the sample profile and its report definitions, in English.
    void MakeSample() const
    {
        const auto r = Run("--lang en");
        ASSERT_EQ(r.exitCode, 0) << r.output;
        ASSERT_TRUE(fs::exists(ReportsFile()));
    }
    // A copy of the sample profile outside the settings folder.
    fs::path CopiedProfile(const std::string& sName) const
    {
        const fs::path oCopy = oRoot / sName;
        fs::copy(SettingsFolder() / "SampleProfile", oCopy, fs::copy_options::recursive);
        fs::remove(oCopy / "tallyman.lock");
        return oCopy;
    }
    // Runs the host in English with these lines as its answers file.
    RunResult Answer(const std::string& sAnswers) const
    {
        const auto oAnswers = oRoot / "answers.txt";
        WriteAll(oAnswers, sAnswers);
        return Run("--lang en --answers '" + oAnswers.string() + "'");
    }
    // The environment and the host of RunTallyman, as words of a shell command line.
    std::string HostCommand(const std::string& sArgs) const
    {
        return "env LC_ALL= LC_MESSAGES= LANG=C.UTF-8 XDG_CONFIG_HOME='" + oRoot.string() +
               "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "' " + sArgs;
    }
};

TEST_F(WorkKeptRunTest, TextThatIsNotUtf8IsRefusedNamingTheByteAndTheTemplatesStayReadable)
{
    MakeSample();
    struct Case
    {
        std::string sLanguage;
        std::string sName;
        std::string sRefusal;
    };
    for (const auto& c :
         std::vector<Case>{{"en", "Good Name",
                            "The text \"set txtNew Bad\\xFCName\" holds the byte \\xFC, "
                            "which is not UTF-8: it was not taken."},
                           {"de", "Müllers Bericht",
                            "Der Text \"set txtNew Bad\\xFCName\" enthält das Byte "
                            "\\xFC, das kein UTF-8 ist: Er wurde nicht übernommen."}}) {
        SCOPED_TRACE(c.sLanguage);
        // At the terminal the line is refused and the person types the name again (the shell's
        // printf writes the byte 0xFC for \374).
        const auto r = Run("--lang " + c.sLanguage + " --interactive",
                           "templates\\nselect fg 0\\nclick cmdCopy\\nset txtNew Bad\\374Name\\n"
                           "set txtNew " +
                               c.sName + "\\nclick cmdOK\\nclick cmdOK\\nexit\\nquit\\n");
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_NE(Unwrapped(r.output).find(c.sRefusal), std::string::npos) << r.output;

        // The next start reads every template, the new one among them.
        const auto rNext = Run("--lang en --template '" + c.sName + "'");
        EXPECT_EQ(rNext.exitCode, 0) << rNext.output;
        EXPECT_NE(Unwrapped(rNext.output)
                      .find("Tasks by Status Journal by Company and Month Project Hours"),
                  std::string::npos)
            << rNext.output;
        EXPECT_NE(Unwrapped(rNext.output).find("[" + c.sName + "]"), std::string::npos)
            << rNext.output;
        EXPECT_FALSE(fs::exists(ReportsFile().string() + ".bak"));
    }

    // In an answers file the line ends the run before anything is saved.
    const std::string sBefore = ReadAll(ReportsFile());
    const auto r = Answer("setview\nclick cmdFilter\nset txtSubject M\xFCller\nclick cmdOK\n"
                          "click cmdOK\nexit\n");
    EXPECT_EQ(r.exitCode, 3) << r.output;
    EXPECT_NE(Unwrapped(r.output).find(
                  "line 3: The text \"set txtSubject M\\xFCller\" holds the byte \\xFC"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(ReadAll(ReportsFile()), sBefore);

    const auto rOption = Run("--lang en --template $(printf 'Bad\\374')");
    EXPECT_EQ(rOption.exitCode, 1) << rOption.output;
    EXPECT_NE(Unwrapped(rOption.output).find("The text \"Bad\\xFC\" holds the byte \\xFC"),
              std::string::npos)
        << rOption.output;
}

TEST_F(WorkKeptRunTest, ATemplateThatCannotBeReadIsNamedAndTheSessionGoesOn)
{
    MakeSample();
    // "(Standard)" holds an element of a newer version before its first setting, "Project
    // Hours" a width that is no number.
    std::string sXml = ReadAll(ReportsFile());
    sXml.insert(sXml.find("<CountItems>"), "<FutureThing>1</FutureThing>");
    const auto nHours = sXml.find("<Name>Project Hours</Name>");
    ASSERT_NE(nHours, std::string::npos);
    const auto nWidth = sXml.find("<Width>", nHours) + 7;
    sXml.replace(nWidth, sXml.find("</Width>", nWidth) - nWidth, "abc");
    WriteAll(ReportsFile(), sXml);

    const std::string sFile = ReportsFile().string();
    const auto r = Answer("template Tasks by Status\nrefresh\ntemplate Project Hours\n"
                          "template Tasks by Status\nrefresh\nexit\n");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(Unwrapped(r.output).find(
                  "The template \"(Standard)\" cannot be read (Object variable or With "
                  "block variable not set): it stays in " +
                  sFile + " as it is"),
              std::string::npos)
        << r.output;
    EXPECT_NE(
        Unwrapped(r.output).find("The template \"Project Hours\" cannot be read (Type mismatch)"),
        std::string::npos)
        << r.output;
    // Leaving a broken template works, and the other one reads again.
    const std::string sOut = Unwrapped(r.output);
    EXPECT_NE(After(sOut, "> template Tasks by Status\n").find("[-] Status: Complete ("),
              std::string::npos)
        << r.output;
    const std::string sBack =
        After(After(sOut, "> template Project Hours\n"), "> template Tasks by Status\n");
    EXPECT_NE(sBack.find("Templates: (Standard) [Tasks by Status] "), std::string::npos)
        << r.output;
    EXPECT_EQ(sBack.find("cannot be read"), std::string::npos) << r.output;
    EXPECT_EQ(sBack.find("Type mismatch"), std::string::npos) << r.output;
    EXPECT_NE(sBack.find("> refresh\nok\n"), std::string::npos) << r.output;
    EXPECT_NE(Unwrapped(r.output).find("the template keeps its view"), std::string::npos)
        << r.output;
    // The broken templates are written back as they were.
    const std::string sAfter = ReadAll(ReportsFile());
    EXPECT_NE(sAfter.find("<FutureThing>1</FutureThing>"), std::string::npos) << sAfter;
    EXPECT_NE(sAfter.find("<Width>abc</Width>"), std::string::npos) << sAfter;

    // A good template named on the command line opens as well.
    const auto rTemplate = Run("--lang en --template 'Tasks by Status'");
    EXPECT_EQ(rTemplate.exitCode, 0) << rTemplate.output;
    EXPECT_NE(Unwrapped(rTemplate.output).find("[-] Status: Complete ("), std::string::npos)
        << rTemplate.output;
}

TEST_F(WorkKeptRunTest, ExitSaysSoWhenTheViewCouldNotBeWritten)
{
    // A folder that even the superuser cannot write needs a mount of its own.
    if (Shell("unshare --mount sh -c 'mount -t tmpfs tmpfs \"" + oRoot.string() + "\"'").exitCode !=
        0)
        GTEST_SKIP() << "no mount namespace for a read-only or full folder";
    MakeSample();
    const fs::path oProfile = CopiedProfile("profile");
    const std::string sFolder = SettingsFolder().string();
    const std::string sFile = ReportsFile().string();
    const std::string sKept = (oRoot / "reports.kept").string();
    fs::copy_file(ReportsFile(), sKept);
    struct Case
    {
        const char* name;
        std::string sMount;
        std::string sLanguage;
        std::vector<std::string> vLines;
    };
    for (const auto& c : std::vector<Case>{
             {"read-only folder",
              "mount --bind '" + sFolder + "' '" + sFolder + "' && mount -o remount,bind,ro '" +
                  sFolder + "'",
              "en",
              {"Closed the report window, but the template's view was NOT kept: \"" + sFile +
                   "\" cannot be ",
               "its file system is read-only. The changes since the window opened are lost."}},
             {"full disk",
              "mount -t tmpfs -o size=64k tmpfs '" + sFolder + "' && cp '" + sKept + "' '" + sFile +
                  "' && (dd if=/dev/zero of='" + sFolder + "/filler' bs=4096 2>/dev/null; true)",
              "de",
              {"Das Berichtsfenster ist geschlossen, aber die Ansicht der Vorlage wurde NICHT "
               "behalten: \"" +
                   sFile + "\" kann nicht ",
               "auf dem Datenträger ist kein Platz mehr frei. Die Änderungen"}}}) {
        SCOPED_TRACE(c.name);
        const std::string sScript =
            c.sMount + " && { " +
            HostCommand("--lang " + c.sLanguage + " --interactive --profile '" + oProfile.string() +
                        "'") +
            "; cmp -s '" + sFile + "' '" + sKept + "' && echo REPORTS-UNCHANGED; }";
        const auto r =
            Shell("printf 'move Location 1\\nexit\\nquit\\n' | unshare --mount sh -c \"" + sScript +
                  "\"");
        for (const auto& sLine : c.vLines)
            EXPECT_NE(Unwrapped(r.output).find(sLine), std::string::npos) << sLine << "\n"
                                                                          << r.output;
        EXPECT_EQ(Unwrapped(r.output).find("the template keeps its view"), std::string::npos)
            << r.output;
        EXPECT_EQ(Unwrapped(r.output).find("die Vorlage behält ihre Ansicht"), std::string::npos)
            << r.output;
        EXPECT_NE(Unwrapped(r.output).find("REPORTS-UNCHANGED"), std::string::npos) << r.output;
    }
    // Where the folder can be written, the view is kept and said so.
    const auto r = Run("--lang en --interactive --profile '" + oProfile.string() + "'",
                       "move Location 1\\nexit\\nquit\\n");
    EXPECT_NE(Unwrapped(r.output).find("the template keeps its view"), std::string::npos)
        << r.output;
    EXPECT_NE(ReadAll(ReportsFile()), ReadAll(sKept));
}

TEST_F(WorkKeptRunTest, AProfileThatCannotBeOpenedSaysSoAndEndsWithAFailure)
{
    MakeSample();
    struct Case
    {
        const char* name;
        std::string sStoreBytes;
        std::string sLanguage;
        std::string sReason;
    };
    for (const auto& c : std::vector<Case>{
             {"empty store", "", "en", "its file #/store1.db is empty."},
             {"empty store in German", "", "de", "Seine Datei #/store1.db ist leer."},
             {"no store", std::string(8192, 'x'), "en",
              "its file #/store1.db is damaged or holds no store."},
         }) {
        SCOPED_TRACE(c.name);
        const fs::path oProfile =
            CopiedProfile(std::string("p-") + c.sLanguage + std::to_string(c.sStoreBytes.size()));
        WriteAll(oProfile / "store1.db", c.sStoreBytes);
        // A fresh settings folder: the add-in would make its "(Standard)" template anew.
        const auto r = host_test::RunTallyman(oRoot / ("fresh-" + oProfile.filename().string()),
                                              "--lang " + c.sLanguage + " --profile '" +
                                                  oProfile.string() + "'");
        EXPECT_NE(r.exitCode, 0) << r.output;
        std::string sReason = c.sReason;
        sReason.replace(sReason.find('#'), 1, oProfile.string());
        const std::string sOpen =
            c.sLanguage == "de"
                ? "Das Profil " + oProfile.string() + " kann nicht geöffnet werden: "
                : "The profile " + oProfile.string() + " cannot be opened: ";
        EXPECT_NE(Unwrapped(r.output).find(sOpen + sReason), std::string::npos) << r.output;
        EXPECT_EQ(Unwrapped(r.output).find("no such table"), std::string::npos) << r.output;
        EXPECT_EQ(Unwrapped(r.output).find("(say report to open it)"), std::string::npos)
            << r.output;
        // The damaged file is left as it was.
        EXPECT_EQ(ReadAll(oProfile / "store1.db"), c.sStoreBytes);
    }
}

} // namespace
