// Runs of the host in which work could be lost: text that is not UTF-8, a template that cannot
// be read, a settings folder that cannot be written, a profile that cannot be opened.
#include "ByteClasses.h"
#include "HostRunFixture.h"

#include "ForeignWords.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
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

// The output with every run of blanks and line breaks as one blank: the message boxes wrap and
// indent their lines.
std::string Spaced(const std::string& s)
{
    std::string sOut;
    for (const char ch : s) {
        const bool bBlank = ch == ' ' || ch == '\n' || ch == '\r';
        if (!bBlank || sOut.empty() || sOut.back() != ' ')
            sOut += bBlank ? ' ' : ch;
    }
    return sOut;
}

// The text after the first occurrence of sAfter ("" when it does not occur).
std::string After(const std::string& sText, const std::string& sAfter)
{
    const auto at = sText.find(sAfter);
    return at == std::string::npos ? std::string() : sText.substr(at + sAfter.size());
}

// How often sPart occurs in sText.
int Occurrences(const std::string& sText, const std::string& sPart)
{
    int n = 0;
    for (auto at = sText.find(sPart); at != std::string::npos; at = sText.find(sPart, at + 1))
        ++n;
    return n;
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
    // Runs the host with exactly these arguments and this input (no shell between, so that
    // any byte reaches it), and collects every byte it prints.
    RunResult RunExact(const std::vector<std::string>& vArgs, const std::string& sInput) const
    {
        const fs::path oIn = oRoot / "typed.bin";
        const fs::path oOut = oRoot / "printed.bin";
        WriteAll(oIn, sInput);
        std::vector<std::string> vEnv = {"XDG_CONFIG_HOME=" + oRoot.string(), "TZ=Europe/Berlin",
                                         "LANG=C.UTF-8", "COLUMNS=1000", "PATH=/usr/bin:/bin"};
        for (const char* pName : {"HOME", "TMPDIR", "CUPS_SERVER"})
            if (const char* pValue = std::getenv(pName))
                vEnv.push_back(std::string(pName) + "=" + pValue);
        std::vector<std::string> vArgv = {TV_TALLYMAN_PATH};
        vArgv.insert(vArgv.end(), vArgs.begin(), vArgs.end());
        std::vector<char*> vArgp;
        std::vector<char*> vEnvp;
        for (auto& s : vArgv)
            vArgp.push_back(s.data());
        vArgp.push_back(nullptr);
        for (auto& s : vEnv)
            vEnvp.push_back(s.data());
        vEnvp.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int in = ::open(oIn.c_str(), O_RDONLY);
            const int out = ::open(oOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(in, 0);
            ::dup2(out, 1);
            ::dup2(out, 2);
            ::execve(vArgp[0], vArgp.data(), vEnvp.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(oOut)};
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
    // A wrong command line, as for every option.
    EXPECT_EQ(rOption.exitCode, 2) << rOption.output;
    EXPECT_NE(Unwrapped(rOption.output).find("The text \"Bad\\xFC\" holds the byte \\xFC"),
              std::string::npos)
        << rOption.output;
}

TEST_F(WorkKeptRunTest, EveryControlCharacterAndByteClassIsRefusedInEveryTypedTextOrRoundTrips)
{
    MakeSample();
    const std::vector<host_test::BadText> vBad = host_test::BadTexts();
    struct Language
    {
        std::string sCode;
        std::string sNotUtf8;
        std::string sControl;
        std::string sName;
    };
    for (const auto& l : std::vector<Language>{
             {"en", "which is not UTF-8: it was not taken.",
              "which is no printable text: it was not taken.", "Neu Ä €"},
             {"de", "das kein UTF-8 ist: Er wurde nicht übernommen.",
              "das kein druckbarer Text ist: Er wurde nicht übernommen.", "Übersicht ß"}}) {
        SCOPED_TRACE(l.sCode);
        // Each bad text in each text of the windows a person types into, and as a command;
        // after each refusal the person goes on, and a tab is text that is kept.
        std::string sTyped;
        int nFed = 0;
        const auto feed = [&](const std::string& sBefore) {
            for (const auto& b : vBad)
                sTyped += sBefore + "X" + b.sBytes + "Y\n";
            ++nFed;
        };
        fs::create_directories(oRoot / "out");
        sTyped += "templates\nclick cmdNew\n";
        feed("set txtNew ");
        sTyped += "set txtNew " + l.sName + "\nclick cmdAutoAction\npick optAutoSave(0)\n";
        feed("set txtSavePath ");
        feed("set txtFileName ");
        sTyped += "set txtSavePath " + (oRoot / "out").string() +
                  "\nset txtFileName Report\nclick cmdOK\nclick cmdOK\nclick cmdClose\n"
                  "setview\nclick cmdFilter\n";
        feed("set txtSubject ");
        feed("set txtLocation ");
        sTyped += "set txtSubject A\tB\nclick cmdOK\nclick cmdOK\n";
        feed("find ");
        feed("");
        sTyped += "exit\n";
        const int nLines = nFed * static_cast<int>(vBad.size());
        int nNotUtf8 = 0;
        for (const auto& b : vBad)
            nNotUtf8 += b.bUtf8 ? 0 : nFed;

        const auto r = RunExact({"--lang", l.sCode, "--interactive"}, sTyped);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        // The terminal gets no raw control character, from the typed lines or the echo.
        const std::size_t nRaw = host_test::RawControlAt(r.output);
        EXPECT_EQ(nRaw, std::string::npos)
            << "at " << nRaw << ": " << r.output.substr(nRaw == std::string::npos ? 0 : nRaw, 80);
        // Each bad line is refused once, for what it holds.
        EXPECT_EQ(Occurrences(r.output, l.sNotUtf8), nNotUtf8) << r.output;
        EXPECT_EQ(Occurrences(r.output, l.sControl), nLines - nNotUtf8) << r.output;

        // reports.xml holds every template, the new one whole, and the tab that was typed.
        const std::string sXml = ReadAll(ReportsFile());
        EXPECT_EQ(host_test::RawControlAt(sXml), std::string::npos);
        EXPECT_NE(sXml.find("A\tB"), std::string::npos) << sXml;
        const auto rNext = RunExact({"--lang", "en", "--template", l.sName}, "");
        EXPECT_EQ(rNext.exitCode, 0) << rNext.output;
        EXPECT_NE(rNext.output.find("Templates: (Standard) Tasks by Status Journal by Company and "
                                    "Month Project Hours"),
                  std::string::npos)
            << rNext.output;
        EXPECT_NE(rNext.output.find("[" + l.sName + "]"), std::string::npos) << rNext.output;
        EXPECT_FALSE(fs::exists(ReportsFile().string() + ".bak"));
    }
}

TEST_F(WorkKeptRunTest, EveryControlCharacterAndByteClassIsRefusedInEveryOption)
{
    MakeSample();
    const std::string sBefore = ReadAll(ReportsFile());
    // One of each kind (HostOptionsTest gives every option every one): a line feed, C0, DEL,
    // C1, a non-character, bytes that are not UTF-8, a lone surrogate, an overlong form.
    const std::vector<host_test::BadText> vBad = {
        {"\n", true},    {"\x1B", true},  {"\x7F", true},          {"\xC2\x9B", true},
        {"\x80", false}, {"\xFC", false}, {"\xED\xA0\x80", false}, {"\xC0\xAF", false}};
    int nRuns = 0;
    for (const char* pOption : {"--profile", "--template", "--folder", "--export", "--answers",
                                "--printer", "--lang", "--client-version"}) {
        for (const auto& b : vBad) {
            SCOPED_TRACE(std::string(pOption) + " bad text " + std::to_string(&b - vBad.data()));
            const std::string sValue = std::string(pOption) == "--export"
                                           ? (oRoot / ("x" + b.sBytes + "y.csv")).string()
                                           : "x" + b.sBytes + "y";
            const auto r = RunExact({"--lang", "en", pOption, sValue}, "exit\n");
            ++nRuns;
            EXPECT_NE(r.exitCode, 0) << r.output;
            const std::size_t nRaw = host_test::RawControlAt(r.output);
            EXPECT_EQ(nRaw, std::string::npos) << r.output;
            // The refusal shows what it refused.
            EXPECT_TRUE(r.output.find("x\\x") != std::string::npos ||
                        r.output.find("x\\u") != std::string::npos)
                << r.output;
            EXPECT_EQ(r.output.find("Connected the add-in"), std::string::npos) << r.output;
        }
    }
    EXPECT_EQ(nRuns, 8 * static_cast<int>(vBad.size()));
    EXPECT_EQ(ReadAll(ReportsFile()), sBefore);
}

TEST_F(WorkKeptRunTest, AStoreThatHoldsControlCharactersCannotOrderTheTerminal)
{
    MakeSample();
    // A subject that would recolour the terminal, ring its bell, start a C1 control sequence
    // and return the cursor.
    const fs::path oStore = SettingsFolder() / "SampleProfile" / "store1.db";
    const auto rSql = Shell("sqlite3 '" + oStore.string() +
                            "' \"UPDATE props SET value = 'Jour fixe' || char(27) || '[31mROT' || "
                            "char(7) || char(155) || '2J' || char(13) || 'x' WHERE tag = "
                            "0x0037001E AND value = 'Jour fixe'\"");
    if (rSql.exitCode != 0)
        GTEST_SKIP() << "no sqlite3: " << rSql.output;
    const auto r = RunExact({"--lang", "en", "--interactive"}, "find ROT\nopen\nshow\nexit\n");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    const std::size_t nRaw = host_test::RawControlAt(r.output);
    EXPECT_EQ(nRaw, std::string::npos)
        << "at " << nRaw << ": " << r.output.substr(nRaw == std::string::npos ? 0 : nRaw, 80);
    // Shown as escapes: in the report's rows and in the item's own window.
    EXPECT_GE(Occurrences(r.output, "Jour fixe\\x1B[31mROT\\x07\\u009B2J\\x0Dx"), 2) << r.output;
}

TEST_F(WorkKeptRunTest, NamesListedAfterAnUnknownTemplateOrFolderCannotOrderTheTerminal)
{
    MakeSample();
    // A template whose name returns the cursor, deletes and starts a C1 control sequence (each
    // a character XML 1.0 may hold), and a folder of the store whose name also clears the
    // screen.
    std::string sXml = ReadAll(ReportsFile());
    const std::string sTasks = "<Name>Tasks by Status</Name>";
    ASSERT_NE(sXml.find(sTasks), std::string::npos);
    sXml.replace(sXml.find(sTasks), sTasks.size(), "<Name>Tasks&#13;by&#127;St&#155;2J</Name>");
    WriteAll(ReportsFile(), sXml);
    const fs::path oStore = SettingsFolder() / "SampleProfile" / "store2.db";
    const auto rSql = Shell("sqlite3 '" + oStore.string() +
                            "' \"UPDATE folders SET name = 'Kal' || char(13) || 'X' || char(27) "
                            "|| '[2J' || char(7) || char(155) || 'e' WHERE name = 'Kalender'\"");
    if (rSql.exitCode != 0)
        GTEST_SKIP() << "no sqlite3: " << rSql.output;
    struct Row
    {
        std::vector<std::string> vArgs;
        std::string sListed;
    };
    for (const Row& row : std::vector<Row>{
             {{"--lang", "en", "--template", "Nope"}, "\"Tasks\\x0Dby\\x7FSt\\u009B2J\""},
             {{"--lang", "de", "--template", "Nope"}, "\"Tasks\\x0Dby\\x7FSt\\u009B2J\""},
             {{"--lang", "en", "--folder", "Archiv/Nope"},
              "\"Archiv/Kal\\x0DX\\x1B[2J\\x07\\u009Be\", \"Archiv/Aufgaben\""},
             {{"--lang", "de", "--folder", "Archiv/Nope"},
              "\"Archiv/Kal\\x0DX\\x1B[2J\\x07\\u009Be\", \"Archiv/Aufgaben\""}}) {
        SCOPED_TRACE(row.vArgs[1] + " " + row.vArgs[2]);
        const auto r = RunExact(row.vArgs, "");
        EXPECT_EQ(r.exitCode, 1) << r.output;
        const std::size_t nRaw = host_test::RawControlAt(r.output);
        EXPECT_EQ(nRaw, std::string::npos)
            << "at " << nRaw << ": " << r.output.substr(nRaw == std::string::npos ? 0 : nRaw, 80);
        EXPECT_NE(r.output.find(row.sListed), std::string::npos) << r.output;
    }
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

TEST_F(WorkKeptRunTest, ExitSaysSoWhenTheViewCouldNotBeWrittenAndTheStartWhenNothingCanBe)
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
              // Told at the start, before any work that could not be kept.
              {"tallyman: the settings folder " + sFolder + " cannot be used: \"" + sFolder +
               "\" cannot be written: its file system is read-only."}},
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

// A report definitions file that is no file the host can read (a folder, one without read
// permission): the window cannot open; the person reads in their language which file, why and
// what to do, the run ends with 1 and the file is left as it was.
TEST_F(WorkKeptRunTest, AReportsFileThatCannotBeReadSaysWhyAndWhatToDoAndEndsTheRun)
{
    MakeSample();
    const std::string sText = ReadAll(ReportsFile());
    // Root reads any file: without these capabilities it is held to the file's permissions.
    const std::string sAsOwner =
        ::geteuid() == 0 ? "setpriv --bounding-set -dac_override,-dac_read_search " : "";
    struct Case
    {
        const char* name;
        bool bFolder;
        std::string sLanguage;
        std::vector<std::string> vSaid;
    };
    const std::string sFile = ReportsFile().string();
    for (const auto& c : std::vector<Case>{
             {"folder",
              true,
              "en",
              {"The report templates in \"" + sFile +
                   "\" cannot be read: it is a folder, not a "
                   "file.",
               "Rename or move the folder \"" + sFile +
                   "\" away, then open the report window "
                   "again.",
               "tallyman: The report window cannot open, because the report templates in " + sFile +
                   " cannot be read"}},
             {"folder in German",
              true,
              "de",
              {"Die Berichtvorlagen in „" + sFile +
                   "“ können nicht gelesen werden: es ist ein "
                   "Ordner, keine Datei.",
               "Benennen Sie den Ordner „" + sFile + "“ um oder verschieben Sie ihn",
               "tallyman: Das Berichtsfenster kann sich nicht öffnen, weil die Berichtvorlagen "
               "in " +
                   sFile + " nicht gelesen werden können"}},
             {"no permission",
              false,
              "en",
              {"The report templates in \"" + sFile +
                   "\" cannot be read: you have no "
                   "permission to read it.",
               "Give yourself permission to read and write \"" + sFile + "\""}},
             {"no permission in German",
              false,
              "de",
              {"Die Berichtvorlagen in „" + sFile +
                   "“ können nicht gelesen werden: Sie haben "
                   "keine Berechtigung, die Datei zu lesen.",
               "Geben Sie sich die Berechtigung, „" + sFile + "“ zu lesen und zu schreiben"}},
         }) {
        SCOPED_TRACE(c.name);
        fs::remove_all(ReportsFile());
        if (c.bFolder) {
            fs::create_directory(ReportsFile());
        } else {
            WriteAll(ReportsFile(), sText);
            fs::permissions(ReportsFile(), fs::perms::none);
        }
        const auto r = Shell("printf 'report\\nshow\\nexit\\n' | " + sAsOwner +
                             HostCommand("--lang " + c.sLanguage + " --interactive"));
        EXPECT_EQ(r.exitCode, 1) << r.output;
        for (const auto& sSaid : c.vSaid)
            EXPECT_NE(Spaced(r.output).find(sSaid), std::string::npos) << sSaid << "\n" << r.output;
        EXPECT_EQ(r.output.find("basic_filebuf"), std::string::npos) << r.output;
        EXPECT_EQ(host_test::ForeignLines(r.output, c.sLanguage == "de"), "") << r.output;
        // Nothing was written: the folder is still empty, the file still the same.
        if (c.bFolder) {
            EXPECT_TRUE(fs::is_directory(ReportsFile()));
            EXPECT_TRUE(fs::is_empty(ReportsFile()));
        } else {
            EXPECT_EQ(fs::status(ReportsFile()).permissions(), fs::perms::none);
            fs::permissions(ReportsFile(), fs::perms::owner_read | fs::perms::owner_write);
            EXPECT_EQ(ReadAll(ReportsFile()), sText);
        }
        EXPECT_FALSE(fs::exists(ReportsFile().string() + ".bak"));
    }
}

// A store that opens but whose pages or tables are damaged: the report shows the other
// folders, the person is told which folders were not read and why, in their language, and the
// run ends with 5.
TEST_F(WorkKeptRunTest, FoldersOfADamagedStoreAreNamedWithWhyAndTheRunEndsWithFive)
{
    MakeSample();
    const fs::path oStore = SettingsFolder() / "SampleProfile" / "store1.db";
    const std::string sWhole = ReadAll(oStore);
    ASSERT_GT(sWhole.size(), 3U * 4096U);
    struct Case
    {
        const char* name;
        std::string sLanguage;
        bool bPages; // damaged pages, else a table dropped
        std::vector<std::string> vSaid;
    };
    // The default template reads the calendars of two stores: rows 6 and 18 of the picker.
    const auto rPick = Run("--lang en --interactive",
                           "select\\ntick fg 6\\ntick fg 18\\nclick cmdOK\\nexit\\nquit\\n");
    ASSERT_EQ(rPick.exitCode, 0) << rPick.output;
    ASSERT_NE(rPick.output.find("[x]  Firmenkalender"), std::string::npos) << rPick.output;
    const std::string sFolders;
    for (const auto& c : std::vector<Case>{
             {"table dropped",
              "en",
              false,
              {"Not every folder of the report could be read: the report shows the folders "
               "that were read and, of each folder below, what its line says. Not read (1): "
               "\"Persönliche Ordner/Kalender\": its store file is damaged; restore it from a "
               "backup (",
               "no such table: items); the report shows none of its rows"}},
             {"table dropped in German",
              "de",
              false,
              {"Nicht jeder Ordner des Berichts konnte gelesen werden: Der Bericht zeigt die "
               "gelesenen Ordner und von den folgenden Ordnern jeweils die dort genannten "
               "Zeilen. Nicht gelesen (1): \"Persönliche Ordner/Kalender\": seine "
               "Speicherdatei ist beschädigt; stellen Sie sie aus einer Sicherung wieder her (",
               "); der Bericht zeigt keine seiner Zeilen"}},
             {"pages damaged",
              "en",
              true,
              {"\"Persönliche Ordner/Kalender\": its store file is damaged",
               "database disk image is malformed"}},
             {"pages damaged in German",
              "de",
              true,
              {"\"Persönliche Ordner/Kalender\": seine Speicherdatei ist beschädigt"}},
         }) {
        SCOPED_TRACE(c.name);
        WriteAll(oStore, sWhole);
        if (c.bPages) {
            // The middle third of the file overwritten: the store opens, its pages do not read.
            std::fstream oFile(oStore, std::ios::in | std::ios::out | std::ios::binary);
            const std::size_t nPages = sWhole.size() / 4096;
            oFile.seekp(static_cast<std::streamoff>(nPages / 3 * 4096));
            oFile << std::string(nPages / 3 * 4096, '\x5A');
        } else {
            ASSERT_EQ(Shell("sqlite3 '" + oStore.string() + "' 'DROP TABLE items'").exitCode, 0);
        }
        const auto r = Run("--lang " + c.sLanguage + " " + sFolders);
        EXPECT_EQ(r.exitCode, 5) << r.output;
        const std::string sOutput = Spaced(r.output);
        for (const auto& sSaid : c.vSaid)
            EXPECT_NE(sOutput.find(sSaid), std::string::npos) << sSaid << "\n" << r.output;
        // The other store's folder is read and shown.
        EXPECT_GT(host_test::ItemRows(r.output), 0) << r.output;
        EXPECT_EQ(sOutput.find("Firmenkalender\":"), std::string::npos) << r.output;
        // The host's own words are the person's language; the store's detail keeps its own.
        const std::string sOwn = sOutput.substr(0, sOutput.find(" ("));
        EXPECT_EQ(host_test::ForeignLines(sOwn, c.sLanguage == "de"), "") << r.output;

        // A batch save of what was read still names the folder it lacks; a refresh says it again.
        const auto rExport = Run("--lang " + c.sLanguage + " " + sFolders + " --export '" +
                                 (oRoot / (c.sLanguage + ".csv")).string() + "'");
        EXPECT_EQ(rExport.exitCode, 5) << rExport.output;
        EXPECT_TRUE(fs::exists(oRoot / (c.sLanguage + ".csv"))) << rExport.output;
        EXPECT_NE(Spaced(rExport.output).find(c.vSaid.front()), std::string::npos)
            << rExport.output;
        const auto rRefresh =
            Run("--lang " + c.sLanguage + " --interactive " + sFolders, "refresh\\nquit\\n");
        EXPECT_EQ(rRefresh.exitCode, 5) << rRefresh.output;
        const std::string sRefreshed = Spaced(After(rRefresh.output, "> "));
        EXPECT_NE(sRefreshed.find(c.vSaid.front()), std::string::npos) << rRefresh.output;
    }
    // A whole store again: nothing to tell, exit 0.
    WriteAll(oStore, sWhole);
    const auto r = Run("--lang en " + sFolders);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output.find("Not every folder"), std::string::npos) << r.output;
}

} // namespace
