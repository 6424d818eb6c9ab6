#include "host/FormRunner.h"
#include "host/AnswerSource.h"
#include "host/FormCommands.h"
#include "host/FormText.h"
#include "host/HostTexts.h"
#include "host/TerminalOutput.h"
#include "host/TextFit.h"

#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

namespace pf = platform::forms;
namespace fs = std::filesystem;

// A run ended by the answer source (the host exits; the test catches this).
struct RunEnded
{
    std::string sMessage;
};

// A small form with one control of every kind, recording what the person did.
class TestForm : public pf::Form
{
public:
    TestForm() : Form("frmTest")
    {
        SetCaption("Test dialog");
        SetKeyPreview(true);
        txtName = Add<pf::TextBox>("txtName");
        chkAll = Add<pf::CheckBox>("chkAll");
        chkAll->SetCaption("All");
        fra = Add<pf::Frame>("fra");
        fra->SetCaption("Kind");
        optA = Add<pf::OptionButton>("optA");
        optA->SetCaption("A");
        optA->Group = "fra";
        optA->SetContainer(fra.get());
        optB = Add<pf::OptionButton>("optB");
        optB->SetCaption("B");
        optB->Group = "fra";
        optB->SetContainer(fra.get());
        cboKind = Add<pf::ComboBox>("cboKind");
        for (const char* s : {"Termine", "Aufgaben", "Journal"})
            cboKind->AddItem(s);
        cboKind->SetListIndex(0);
        lblInfo = Add<pf::Label>("lblInfo");
        lblInfo->SetCaption("About");
        lblInfo->OnClick = [this] { vEvents.push_back("label"); };
        img = Add<pf::Image>("img");
        img->OnClick = [this] { vEvents.push_back("image"); };
        dtpFrom = Add<pf::DTPicker>("dtpFrom");
        prg = Add<pf::ProgressBar>("prg");
        pic = Add<pf::PictureBox>("pic");
        txtOff = Add<pf::TextBox>("txtOff");
        txtOff->SetEnabled(false);
        fgList = Add<pf::GridControl>("fgList");
        fgTarget = Add<pf::GridControl>("fgTarget");
        cmdAsk = Add<pf::CommandButton>("cmdAsk");
        cmdAsk->SetCaption("Ask");
        cmdAsk->OnClick = [this] { nAnswer = pf::MsgBox("Really?", 4 + 32, "Tallyman"); };
        cmdSave = Add<pf::CommandButton>("cmdSave");
        cmdSave->SetCaption("Save as");
        cmdSave->OnClick = [this] {
            pf::FileDialog::Request r;
            r.kind = pf::DialogKind::SaveFile;
            r.initialFolder = sFolder;
            r.filters = {{"Comma delimited (*.csv)", "*.csv"}};
            r.firstOption = true;
            r.secondOption = true;
            sSaved = pf::ShowFileDialog(r).path;
        };
        cmdOK = Add<pf::CommandButton>("cmdOK");
        cmdOK->SetCaption("OK");
        cmdOK->Default = true;
        cmdOK->OnClick = [this] {
            bConfirmed = true;
            Hide();
        };
        cmdCancel = Add<pf::CommandButton>("cmdCancel");
        cmdCancel->SetCaption("Cancel");
        cmdCancel->Cancel = true;
        cmdCancel->OnClick = [this] { Unload(); };
        FillGrids();
    }

    std::vector<std::string> vEvents;
    int nAnswer = 0;
    bool bConfirmed = false;
    std::string sFolder;
    std::string sSaved;
    std::shared_ptr<pf::TextBox> txtName, txtOff;
    std::shared_ptr<pf::CheckBox> chkAll;
    std::shared_ptr<pf::Frame> fra;
    std::shared_ptr<pf::OptionButton> optA, optB;
    std::shared_ptr<pf::ComboBox> cboKind;
    std::shared_ptr<pf::Label> lblInfo;
    std::shared_ptr<pf::Image> img;
    std::shared_ptr<pf::DTPicker> dtpFrom;
    std::shared_ptr<pf::ProgressBar> prg;
    std::shared_ptr<pf::PictureBox> pic;
    std::shared_ptr<pf::GridControl> fgList, fgTarget;
    std::shared_ptr<pf::CommandButton> cmdAsk, cmdSave, cmdOK, cmdCancel;

protected:
    void Form_KeyDown(int& KeyCode, int) override
    {
        if (KeyCode == 112) {
            vEvents.push_back("help");
            KeyCode = 0;
        }
    }

private:
    void FillGrids()
    {
        auto& fg = fgList->Grid();
        fg.SetCols(2);
        fg.SetRows(1);
        fg.SetFixedRows(1);
        fg.SetTextMatrix(0, 0, "Feld");
        fg.SetTextMatrix(0, 1, "Summe");
        fg.SetColComboList(1, "Keine|Summe|Anzahl");
        fg.SetEditable(true);
        fg.SetSelectionMode(pf::SelectionMode::ListBox);
        for (const char* s : {"Mailbox\t", "Kalender\t", "Aufgaben\t"})
            fg.AddItem(s);
        fg.SetIsSubtotal(1, true);
        fg.SetRowOutlineLevel(1, 0);
        fg.SetRowOutlineLevel(2, 1);
        fg.SetRowOutlineLevel(3, 1);
        fg.SetCellChecked({2, 0, 2, 0}, pf::CheckState::Unchecked);
        auto& target = fgTarget->Grid();
        target.SetCols(1);
        target.SetRows(1);
        target.SetFixedRows(1);
        target.SetTextMatrix(0, 0, "Gewählt");
        target.AddItem("Betreff");
        fg.Events.OLEStartDrag = [](pf::DropEffect& allowed) { allowed = pf::DropEffect::Copy; };
        target.Events.OLEDragDrop = [this](pf::FlexGrid* source, pf::DropEffect&, int, int, double,
                                           double) {
            auto& t = fgTarget->Grid();
            const int at = std::max(t.MouseRow(), t.FixedRows());
            for (int i = source->SelectedRows() - 1; i >= 0; --i)
                t.AddItem(source->TextMatrix(source->SelectedRow(i), 0), at);
        };
    }
};

class FormRunnerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pf::Driver::current().Reset();
        platform::locale::SetCurrent("de-DE");
        oFolder = fs::temp_directory_path() /
                  ("tv-runner-" +
                   std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(oFolder);
        fs::create_directories(oFolder);
        form.sFolder = oFolder.string();
    }
    void TearDown() override
    {
        pf::Driver::current().Reset();
        fs::remove_all(oFolder);
    }

    // Shows the form modally, answered by the commands, as typed at the terminal or (with
    // bScripted) as lines of an answers file.
    void Run(const std::string& sCommands, bool bScripted = false, int nWidth = 100)
    {
        std::istringstream in(sCommands);
        std::ifstream file;
        std::string sFile;
        if (bScripted) {
            sFile = (oFolder / "answers.txt").string();
            std::ofstream(sFile) << sCommands;
            file.open(sFile);
        }
        host::AnswerSource oAnswers(
            bScripted ? static_cast<std::istream&>(file) : in, out, sFile,
            [](const std::string& s) { throw RunEnded{s}; }, nWidth);
        host::FormRunner oRunner(oAnswers, out, nWidth);
        form.Show(pf::ShowStyle::Modal);
    }

    fs::path oFolder;
    TestForm form;
    std::ostringstream out;
};

TEST_F(FormRunnerTest, TheFormIsShownAsTextWithEveryControl)
{
    Run("show\nkey enter\n");
    const std::string s = out.str();
    for (const char* sExpected : {"== frmTest: Test dialog ==",
                                  "txtName",
                                  "TextBox",
                                  "[ ] \"All\"",
                                  "( ) \"A\"",
                                  "\"Termine\" of [Termine] | Aufgaben | Journal",
                                  "Label         \"About\"",
                                  "Image",
                                  "DTPicker",
                                  "0 of 100",
                                  "PictureBox",
                                  "txtOff",
                                  "(disabled)",
                                  "\"OK\" (Enter)",
                                  "\"Cancel\" (Escape)",
                                  "Feld | Summe",
                                  "1     [-] Mailbox",
                                  "2       [ ] Kalender",
                                  "Gewählt",
                                  "FlexGrid"})
        EXPECT_NE(s.find(sExpected), std::string::npos) << sExpected << "\n" << s;
    EXPECT_TRUE(form.bConfirmed);
    for (const auto& line : {s})
        EXPECT_EQ(line.find("\n\n\n"), std::string::npos);
}

TEST_F(FormRunnerTest, TextOfSeveralLinesIsTypedLineByLineAndShownOnOne)
{
    int nFocused = 0;
    form.txtName->OnGotFocus = [&] { ++nFocused; };
    Run("set txtName Kopf\nline txtName zweite Zeile\nshow\nkey enter\n");
    EXPECT_EQ(form.txtName->Text(), "Kopf\r\nzweite Zeile");
    // Typing goes to the box that got the focus, as a click into it gives it.
    EXPECT_EQ(nFocused, 2);
    EXPECT_NE(out.str().find("\"Kopf⏎zweite Zeile\""), std::string::npos) << out.str();
}

TEST_F(FormRunnerTest, CommandsWorkEveryControlKind)
{
    Run("set txtName Bericht März\n"
        "tick chkAll\n"
        "pick optB\n"
        "pick cboKind Journal\n"
        "click lblInfo\n"
        "click img\n"
        "set dtpFrom 24.12.2024\n"
        "key f1\n"
        "select fgList 2-3\n"
        "tick fgList 2\n"
        "collapse fgList 1\n"
        "expand fgList 1\n"
        "edit fgList 3 0 Aufgaben (alle)\n"
        "edit fgList 2 0 Renamed by typing\n"
        "choose fgList 2 Summe Anzahl\n"
        "drag fgList 2,3 to fgTarget 1\n"
        "key enter\n");
    EXPECT_TRUE(form.bConfirmed);
    EXPECT_EQ(form.txtName->Text(), "Bericht März");
    EXPECT_EQ(form.chkAll->Value(), 1);
    EXPECT_TRUE(form.optB->Value());
    EXPECT_FALSE(form.optA->Value());
    EXPECT_EQ(form.cboKind->Text(), "Journal");
    EXPECT_EQ(form.vEvents, (std::vector<std::string>{"label", "image", "help"}));
    EXPECT_DOUBLE_EQ(form.dtpFrom->Value().Serial(), 45650);
    auto& fg = form.fgList->Grid();
    EXPECT_EQ(fg.CellChecked(2, 0), pf::CheckState::Checked);
    EXPECT_EQ(fg.TextMatrix(3, 0), "Aufgaben (alle)");
    // A cell with a check box is ticked, never typed over.
    EXPECT_EQ(fg.TextMatrix(2, 0), "Kalender");
    EXPECT_NE(out.str().find("fgList: the form refused the edit"), std::string::npos) << out.str();
    EXPECT_EQ(fg.TextMatrix(2, 1), "Anzahl");
    EXPECT_EQ(fg.IsCollapsed(1), pf::OutlineState::Expanded);
    auto& target = form.fgTarget->Grid();
    ASSERT_EQ(target.Rows(), 4);
    EXPECT_EQ(target.TextMatrix(1, 0), "Kalender");
    EXPECT_EQ(target.TextMatrix(2, 0), "Aufgaben (alle)");
    EXPECT_EQ(target.TextMatrix(3, 0), "Betreff");
    // A command prints what it changed, not the whole form again.
    EXPECT_NE(out.str().find("\"Bericht März\""), std::string::npos) << out.str();
}

TEST_F(FormRunnerTest, TextsWithBlanksAndQuotesAreTakenWhole)
{
    Run("set txtName \"  Bericht \"\"März\"\"  \"\n"
        "edit fgList 3 0 Aufgaben (alle)\n"
        "select fgList Aufgaben (alle)\n"
        "choose \"fgList\" 2 Summe Maximum\n"
        "bogus\x1b[2J\n"
        "key enter\n");
    EXPECT_EQ(form.txtName->Text(), "  Bericht \"März\"  ");
    auto& fg = form.fgList->Grid();
    EXPECT_TRUE(fg.IsSelected(3));
    EXPECT_FALSE(fg.IsSelected(1));
    const std::string s = out.str();
    EXPECT_NE(s.find("there is no entry \"Maximum\"; the entries are: Keine | Summe | Anzahl"),
              std::string::npos)
        << s;
    // A command with control characters is refused without them reaching the terminal.
    EXPECT_EQ(s.find('\x1b'), std::string::npos) << s;
    EXPECT_NE(s.find("The text \"bogus\\x1B[2J\" holds the control character \\x1B"),
              std::string::npos)
        << s;
}

// Quotes hold a text only when they hold all of it: a text that merely starts or ends with a
// quoted word is typed as it stands, quotes and all.
TEST_F(FormRunnerTest, ATextIsUnquotedOnlyWhenTheQuotesHoldAllOfIt)
{
    const std::vector<std::pair<std::string, std::string>> vCases = {
        {"\"  Wochen Bericht \"", "  Wochen Bericht "},
        {"\"Wochen\" Bericht", "\"Wochen\" Bericht"},
        {"Wochen \"Bericht\"", "Wochen \"Bericht\""},
        {"\"Wochen\" \"Bericht\"", "\"Wochen\" \"Bericht\""},
    };
    for (const auto& [sTyped, sWanted] : vCases) {
        Run("set txtName " + sTyped + "\nkey enter\n");
        EXPECT_EQ(form.txtName->Text(), sWanted) << sTyped;
    }
}

// Commands as a person means them: a box ticked twice is clear again, an entry may be named in
// other letters' case, a drop may go below the last row; a control in a disabled frame is
// refused as the frame refuses the mouse.
TEST_F(FormRunnerTest, CommandsDoWhatThePersonMeans)
{
    struct Case
    {
        const char* name;
        std::function<void(TestForm&)> fnBefore;
        std::string sCommands;
        std::function<bool(TestForm&, const std::string&)> fnHolds;
    };
    const std::vector<Case> vCases = {
        {"a second tick clears the box",
         {},
         "tick chkAll\ntick chkAll\n",
         [](TestForm& f, const std::string&) { return f.chkAll->Value() == 0; }},
        {"an entry in other letters' case",
         {},
         "pick cboKind journal\n",
         [](TestForm& f, const std::string&) { return f.cboKind->Text() == "Journal"; }},
        {"a drop below the last row",
         {},
         "drag fgList 2 to fgTarget 2\n",
         [](TestForm& f, const std::string&) { return f.fgTarget->Grid().Rows() == 3; }},
        {"an option in a disabled frame", [](TestForm& f) { f.fra->SetEnabled(false); },
         "pick optB\n",
         [](TestForm& f, const std::string& s) {
             return !f.optB->Value() && s.find("optB is disabled") != std::string::npos;
         }},
    };
    for (const auto& c : vCases) {
        out.str({});
        if (c.fnBefore)
            c.fnBefore(form);
        Run(c.sCommands + "key enter\n");
        EXPECT_TRUE(c.fnHolds(form, out.str())) << c.name << "\n" << out.str();
    }
}

TEST_F(FormRunnerTest, QuestionsAreAskedUntilAButtonIsNamed)
{
    Run("click cmdAsk\nmaybe\nnein\nkey escape\n");
    EXPECT_EQ(form.nAnswer, pf::vbNo);
    EXPECT_FALSE(form.bConfirmed);
    EXPECT_FALSE(form.IsLoaded());
    const std::string s = out.str();
    EXPECT_NE(s.find("Really?"), std::string::npos) << s;
    EXPECT_NE(s.find("[Yes | No]"), std::string::npos) << s;
    EXPECT_NE(s.find("answer with one of the buttons: Yes | No"), std::string::npos) << s;
}

TEST_F(FormRunnerTest, AnAnswersFileAnswersTheFormItsQuestionsAndDialogs)
{
    std::ofstream(oFolder / "old.csv") << "x";
    Run("# a scripted run\n"
        "set txtName Wochenbericht\n"
        "click cmdAsk\n"
        "yes\n"
        "click cmdSave\n"
        "filter 1\n"
        "file old\n"
        "no\n"
        "file Bericht\n"
        "close\n",
        true);
    EXPECT_EQ(form.txtName->Text(), "Wochenbericht");
    EXPECT_EQ(form.nAnswer, pf::vbYes);
    EXPECT_EQ(form.sSaved, (oFolder / "Bericht.csv").string());
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_NE(out.str().find("> set txtName Wochenbericht"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("old.csv already exists."), std::string::npos) << out.str();
}

// Names typed into the save dialog whose dots belong to the name (a date, a version) get the
// filter's type; a type typed after the last dot stays.
TEST_F(FormRunnerTest, ANameWithDotsTypedIntoTheSaveDialogGetsTheFiltersType)
{
    const struct
    {
        const char* sTyped;
        const char* sSaved;
    } aCases[] = {{"Monatsbericht 11.12.2026", "Monatsbericht 11.12.2026.csv"},
                  {"Bericht v1.2", "Bericht v1.2.csv"},
                  {"Bericht 11.12.2026.csv", "Bericht 11.12.2026.csv"},
                  {"Bericht 1.2.txt", "Bericht 1.2.txt"}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.sTyped);
        form.sSaved.clear();
        Run(std::string("click cmdSave\nfile ") + c.sTyped + "\nclose\n", true);
        EXPECT_EQ(form.sSaved, (oFolder / c.sSaved).string()) << out.str();
    }
}

TEST_F(FormRunnerTest, AMissingOrUnfittingScriptedAnswerEndsTheRun)
{
    struct Case
    {
        const char* name;
        std::string sCommands;
        std::string sMessage;
    };
    const std::vector<Case> vCases = {
        {"file ends with the form open", "set txtName x\n", "window frmTest waited"},
        {"file ends at a question", "click cmdAsk\n", "question \"Really?\" waited"},
        {"no such control", "click cmdNope\n", "line 1: there is no control \"cmdNope\""},
        {"disabled control", "set txtOff x\n", "line 1: txtOff is disabled"},
        {"blank lines and comments count", "# first\n\n  \nset txtOff x\n",
         "line 4: txtOff is disabled"},
        {"wrong kind", "tick txtName\n", "txtName is a TextBox"},
        {"row outside the grid", "select fgList 9\n", "row 9 is not shown"},
        {"not a button of the box", "click cmdAsk\nmaybe\n", "line 2: answer with one"},
        {"no entry", "pick cboKind Mail\n", "no entry \"Mail\""},
        {"no entry lists the entries", "pick cboKind Mail\n",
         "the entries are: Termine | Aufgaben | Journal"},
        {"a control character is named and nothing is taken", "set txtName a\x01z\n",
         "line 1: The text \"set txtName a\\x01z\" holds the control character \\x01, which is "
         "no printable text"},
        {"a NUL is named, not cut", std::string("set txtName Nul\0Name\n", 21),
         "The text \"set txtName Nul\\x00Name\" holds the control character \\x00"},
        {"a carriage return inside the line", "set txtName a\rz\n", "control character \\x0D"},
        {"an escape", "set txtName \x1b[31mRED\n", "control character \\x1B, which"},
        {"a delete character", "bogus\x7f\n", "\"bogus\\x7F\" holds the control character \\x7F"},
        {"a C1 control",
         "set txtName a\xc2\x9b"
         "31mz\n",
         "control character \\u009B, which"},
        {"a non-character", "set txtName a\xef\xbf\xbez\n", "control character \\uFFFE"},
        {"a byte that is not UTF-8 is named and nothing is taken", "set txtName Bad\xfcName\n",
         "line 1: The text \"set txtName Bad\\xFCName\" holds the byte \\xFC, which is not UTF-8"},
        {"a lone continuation byte is no ASCII", "set txtName a\x80z\n",
         "holds the byte \\x80, which is not UTF-8"},
        {"a lead byte alone", "set txtName a\xc3z\n", "holds the byte \\xC3, which is not UTF-8"},
        {"a lone surrogate", "set txtName a\xed\xa0\x80z\n", "holds the byte \\xED, which"},
        {"an overlong slash", "set txtName a\xc0\xafz\n", "holds the byte \\xC0, which"},
        {"beyond U+10FFFF", "set txtName a\xf4\x90\x80\x80z\n", "holds the byte \\xF4, which"},
        {"not UTF-8 is named before a control character", "bogus\x01\xe2\x82\n",
         "holds the byte \\xE2"},
        {"a byte-order mark is no part of the first command",
         "\xEF\xBB\xBF"
         "click cmdNope\n",
         "line 1: there is no control \"cmdNope\""},
        {"unfitting dialog answer", "click cmdSave\nfile nowhere/x.csv\n", "line 2"},
    };
    for (const auto& c : vCases) {
        out.str({});
        try {
            Run(c.sCommands, true);
            ADD_FAILURE() << c.name << ": the run went on";
        } catch (const RunEnded& e) {
            EXPECT_NE(e.sMessage.find(c.sMessage), std::string::npos)
                << c.name << ": " << e.sMessage;
            EXPECT_NE(e.sMessage.find("answers.txt"), std::string::npos) << e.sMessage;
        }
        form.Hide();
    }
}

TEST_F(FormRunnerTest, AtTheTerminalAnUnfittingCommandIsExplainedAndAskedAgain)
{
    Run("click cmdNope\nbogus\npick cboKind #2\nset txtName M\xfcller\nkey enter\n");
    EXPECT_TRUE(form.bConfirmed);
    EXPECT_EQ(form.cboKind->Text(), "Aufgaben");
    // Text that is not UTF-8 never reaches the form: the byte is named, the line dropped.
    EXPECT_EQ(form.txtName->Text(), "");
    EXPECT_NE(out.str().find("The text \"set txtName M\\xFCller\" holds the byte \\xFC, which is "
                             "not UTF-8: it was not taken."),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("there is no control \"cmdNope\""), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("there is no command \"bogus\""), std::string::npos) << out.str();
}

TEST_F(FormRunnerTest, RefusalsAreWrappedWholeAndAChangeShowsTheControlLineWithItsName)
{
    const std::string sLong(60, 'a');
    Run("set txtName " + sLong + " bbbbbbbbbb\nset txtName " + sLong +
            " cccccccccc\nclick cmdNope" + std::string(50, 'x') + "\nkey enter\n",
        false, 40);
    const std::string s = out.str();
    // What each command printed, after its prompt.
    std::vector<std::string> vReplies;
    for (std::size_t at = s.find("> "); at != std::string::npos;) {
        const std::size_t next = s.find("> ", at + 2);
        vReplies.push_back(s.substr(at + 2, next == std::string::npos ? next : next - at - 2));
        at = next;
    }
    ASSERT_GE(vReplies.size(), 3U) << s;
    // Only the wrapped end of the text box's line changed: its whole line is shown again.
    EXPECT_EQ(vReplies[1].rfind("  txtName ", 0), 0U) << vReplies[1];
    EXPECT_NE(vReplies[1].find("cccccccccc\""), std::string::npos) << vReplies[1];
    EXPECT_EQ(vReplies[1].find("chkAll"), std::string::npos) << vReplies[1];
    // The refusal is wrapped to the width like every other line (after the prompt).
    EXPECT_NE(vReplies[2].find("there is no control"), std::string::npos) << vReplies[2];
    std::istringstream lines(vReplies[2]);
    int nLines = 0;
    for (std::string line; std::getline(lines, line); ++nLines)
        EXPECT_LE(host::TextWidth(line), 40) << line;
    EXPECT_GE(nLines, 2) << vReplies[2];

    // A refusal's text keeps what follows a NUL, shown, rather than ending there.
    const host::CommandRefused e(std::string("There is no menu command \"refresh\0x\".", 37));
    EXPECT_EQ(std::string(e.what()), "There is no menu command \"refresh\\x00x\".");
}

TEST(TerminalOutputTest, ControlCharactersAreShownWhateverPrintsThemAndTextPassesWhole)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> vWrites;
        std::string sShown;
    };
    const std::vector<Case> vCases = {
        {"plain text and line ends", {"Zeile\tA\n", "fort\n"}, "Zeile\tA\nfort\n"},
        {"a carriage return in a name, alone or before a line feed",
         {"Plan\rX\n", "\r", "Ende\r\n"},
         "Plan\\x0DX\n\\x0DEnde\\x0D\n"},
        {"C0 controls",
         {std::string("a\0b\x01\x07\x08\x1B[31m\x1F", 12)},
         "a\\x00b\\x01\\x07\\x08\\x1B[31m\\x1F"},
        {"DEL and C1",
         {"\x7F\xC2\x80\xC2\x9B"
          "2J\xC2\x9F"},
         "\\x7F\\u0080\\u009B2J\\u009F"},
        {"a character split over two writes",
         {"Gr\xC3", "\xBC\xC3\x9F\xE2\x82", "\xAC!"},
         "Grüß€!"},
        {"a C1 control split over two writes", {"a\xC2", "\x9Bz"}, "a\\u009Bz"},
        {"bytes that are not UTF-8",
         {"\x80\xFC\xC0\xAF\xED\xA0\x80"},
         "\\x80\\xFC\\xC0\\xAF\\xED\\xA0\\x80"},
        {"a broken sequence goes on with the next character",
         {"\xE2\x82"
          "A\xF0\x9F\x98\x80"},
         "\\xE2\\x82A\xF0\x9F\x98\x80"},
        {"a character left unfinished at the end", {"end\xE2\x82"}, "end\\xE2\\x82"},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out;
        {
            const host::EscapedStream oEscaped(out);
            for (const auto& s : c.vWrites)
                out << s << std::flush;
        }
        EXPECT_EQ(out.str(), c.sShown);
    }
}

TEST(TerminalOutputTest, OnlyTheHostsOwnCarriageReturnReachesTheTerminal)
{
    // The progress line returns the cursor; a name holding a carriage return is shown, wherever
    // it stands among the host's own.
    std::ostringstream out;
    {
        const host::EscapedStream oEscaped(out);
        out << host::ReturnCursor << "Reading: 1 of 2" << std::flush;
        out << host::ReturnCursor << "Plan\rX\x1B[2J" << host::ReturnCursor << "\n";
        // A character begun before the return cannot be finished after it.
        out << "a\xC3" << host::ReturnCursor << "\xBC" << std::flush;
    }
    EXPECT_EQ(out.str(), "\rReading: 1 of 2\rPlan\\x0DX\\x1B[2J\r\na\\xC3\r\\xBC");
    // A stream that does not escape gets the return as it is.
    std::ostringstream plain;
    plain << "x" << host::ReturnCursor << "y";
    EXPECT_EQ(plain.str(), "x\ry");
}

// A target that takes the first bytes and refuses the rest, as a full disk or a closed pipe
// does; a buffered one refuses only when it is flushed.
class RefusingBuf : public std::streambuf
{
public:
    RefusingBuf(std::size_t nTaken, bool bAtFlush) : m_nLeft(nTaken), m_bAtFlush(bAtFlush) {}

protected:
    int_type overflow(int_type ch) override
    {
        if (traits_type::eq_int_type(ch, traits_type::eof()))
            return traits_type::not_eof(ch);
        return xsputn(nullptr, 1) == 1 ? ch : traits_type::eof();
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        if (m_bAtFlush) {
            m_bPending = true;
            return n;
        }
        const auto nTaken = std::min<std::streamsize>(n, static_cast<std::streamsize>(m_nLeft));
        m_nLeft -= static_cast<std::size_t>(nTaken);
        return nTaken;
    }
    int sync() override { return m_bAtFlush && m_bPending ? -1 : 0; }

private:
    std::size_t m_nLeft;
    bool m_bAtFlush;
    bool m_bPending = false;
};

TEST(TerminalOutputTest, AWriteTheTargetRefusesFailsTheStream)
{
    struct Case
    {
        const char* sWhat;
        std::size_t nTaken;
        bool bAtFlush;
        const char* sText;
        bool bFails;
    };
    const Case cases[] = {
        {"plain text", 3, false, "Bericht\n", true},
        {"a control character shown as an escape", 0, false, "\x01", true},
        {"a character of several bytes", 1, false, "a\xC3\xBC", true},
        {"refused at the flush", 0, true, "Bericht\n", true},
        {"all taken", 100, false, "Bericht \x01 Gr\xC3\xBC\xC3\x9F\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sWhat);
        RefusingBuf oTarget(c.nTaken, c.bAtFlush);
        std::ostream out(&oTarget);
        {
            const host::EscapedStream oEscaped(out);
            out << c.sText;
            out.flush();
            EXPECT_EQ(out.fail(), c.bFails);
            // It stays failed: later text is not taken as if the earlier had gone out.
            out.clear();
            out << "x" << std::flush;
            EXPECT_EQ(out.fail(), c.bFails);
        }
    }
}

TEST_F(FormRunnerTest, PopupMenusAndPrintDialogsAreAnswered)
{
    auto bar = form.Add<pf::MenuBar>("MenuBar1");
    auto menu = bar->Items().Add("Context", "ctx");
    bar->Items().Add("Open item", "openitem", menu);
    std::string sClicked;
    bar->OnItemClick = [&](pf::MenuItem& item) { sClicked = item.Key(); };
    pf::PrintDialog print;
    print.printers = {"TallymanPDF", "TallymanNull"};
    print.printer = "TallymanPDF";
    print.maxPage = 100;
    bool bPrinted = false;
    form.cmdAsk->OnClick = [&] {
        form.PopupMenu(menu, 0, 10, 20);
        bPrinted = pf::ShowPrintDialog(print);
    };
    Run("click cmdAsk\npick nothing\npick openitem\nprinter TallymanNull\ncopies 3\n"
        "range pages 2 5\norientation landscape\nok\nkey enter\n");
    EXPECT_EQ(sClicked, "openitem");
    EXPECT_TRUE(bPrinted);
    EXPECT_EQ(print.printer, "TallymanNull");
    EXPECT_EQ(print.copies, 3);
    EXPECT_EQ(print.range, pf::PrintRange::Pages);
    EXPECT_EQ(print.toPage, 5);
    EXPECT_EQ(print.orientation, 2);
    // The answers of the print dialog wrap within the width, none is cut.
    const std::string sOut = out.str();
    EXPECT_NE(sOut.find("ok | cancel"), std::string::npos) << sOut;
    std::istringstream lines(sOut);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(host::TextWidth(line), 100) << line;
}

TEST_F(FormRunnerTest, PrintDialogFieldsTakeTheWordsOfEitherLanguageAndShowAsSet)
{
    // The fields the words set; each case starts from the other value, so that a word taken
    // the wrong way, or not at all, shows.
    struct Fields
    {
        int orientation = 1;
        int color = 2;
        bool collate = false;
        pf::PrintRange range = pf::PrintRange::All;
        int fromPage = 0;
        int toPage = 0;
    };
    struct Case
    {
        const char* sLanguage;
        const char* sAnswer;
        Fields before;
        Fields after;
        const char* sShown; // in the dialog's text after the answer
    };
    const auto P = pf::PrintRange::Pages;
    const auto S = pf::PrintRange::Selection;
    const auto A = pf::PrintRange::All;
    const std::vector<Case> vCases = {
        {"en", "orientation landscape", {1}, {2}, "orientation landscape, paper"},
        {"en", "orientation Portrait", {2}, {1}, "orientation portrait, paper"},
        {"de", "orientation querformat", {1}, {2}, "Ausrichtung querformat, Papier"},
        {"de", "orientation Hochformat", {2}, {1}, "Ausrichtung hochformat, Papier"},
        {"en", "orientation Querformat", {1}, {2}, "orientation landscape, paper"},
        {"de", "orientation landscape", {1}, {2}, "Ausrichtung querformat, Papier"},
        {"de", "orientation portrait", {2}, {1}, "Ausrichtung hochformat, Papier"},
        {"en", "colour mono", {1, 2}, {1, 1}, ", colour mono, quality"},
        {"en", "color einfarbig", {1, 2}, {1, 1}, ", colour mono, quality"},
        {"de", "colour farbig", {1, 1}, {1, 2}, ", Farbe farbig, Qualität"},
        {"de", "color colour", {1, 1}, {1, 2}, ", Farbe farbig, Qualität"},
        {"en", "collate an", {1, 2, false}, {1, 2, true}, ", collate on, range"},
        {"de", "collate Nein", {1, 2, true}, {1, 2, false}, ", sortiert aus, Bereich"},
        {"de", "range seiten 2 5", {1, 2, false, A}, {1, 2, false, P, 2, 5}, "Bereich seiten 2-5"},
        {"en", "range Auswahl", {1, 2, false, A}, {1, 2, false, S}, "range selection\n"},
        {"de", "range alle", {1, 2, false, P, 3, 4}, {1, 2, false, A, 3, 4}, "Bereich alle\n"},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(std::string(c.sLanguage) + ": " + c.sAnswer);
        host::SetTextLanguage(c.sLanguage);
        pf::PrintDialog print;
        print.printers = {"TallymanPDF"};
        print.printer = "TallymanPDF";
        print.maxPage = 100;
        print.orientation = c.before.orientation;
        print.color = c.before.color;
        print.collate = c.before.collate;
        print.range = c.before.range;
        print.fromPage = c.before.fromPage;
        print.toPage = c.before.toPage;
        form.cmdAsk->OnClick = [&] { pf::ShowPrintDialog(print); };
        out.str({});
        Run("click cmdAsk\n" + std::string(c.sAnswer) + "\nshow\nok\nkey enter\n");
        EXPECT_EQ(print.orientation, c.after.orientation);
        EXPECT_EQ(print.color, c.after.color);
        EXPECT_EQ(print.collate, c.after.collate);
        EXPECT_EQ(print.range, c.after.range);
        EXPECT_EQ(print.fromPage, c.after.fromPage);
        EXPECT_EQ(print.toPage, c.after.toPage);
        // The text shown again after the answer shows the field as it is now.
        const std::string sOut = out.str();
        const auto nAnswered = sOut.find("> ok\n");
        ASSERT_NE(nAnswered, std::string::npos) << sOut;
        EXPECT_NE(sOut.find(c.sShown, nAnswered), std::string::npos) << sOut;
        form.Hide();
    }
    host::SetTextLanguage("en");
}

} // namespace

namespace {

// The folder picker as the host sees it: a modal form "frmDialog" whose OK takes the ticks
// (its own work first, which may fail) and whose Cancel drops them.
class PickerForm : public pf::Form
{
public:
    PickerForm() : Form("frmDialog")
    {
        SetCaption("Select folders");
        chkOne = Add<pf::CheckBox>("chkOne");
        chkOne->SetCaption("Archiv");
        cmdOK = Add<pf::CommandButton>("cmdOK");
        cmdOK->SetCaption("OK");
        cmdOK->Default = true;
        cmdOK->OnClick = [this] {
            if (bFailOK)
                throw std::runtime_error("the result cannot be made");
            bTaken = true;
            Unload();
        };
        cmdCancel = Add<pf::CommandButton>("cmdCancel");
        cmdCancel->SetCaption("Cancel");
        cmdCancel->Cancel = true;
        cmdCancel->OnClick = [this] { Unload(); };
    }
    std::shared_ptr<pf::CheckBox> chkOne;
    std::shared_ptr<pf::CommandButton> cmdOK, cmdCancel;
    bool bFailOK = false;
    bool bTaken = false;
};

} // namespace

TEST(FormRunnerPickerTest, OnlyFoldersTakenWithOKAreThePersonsChoice)
{
    struct Case
    {
        const char* name;
        std::string sCommands;
        bool bFailOK;
        bool bChosen;
    };
    // Whether the picker's own OK ran to its end decides, not the commands typed.
    for (const auto& c : std::vector<Case>{
             {"opened and taken with OK", "check chkOne\nclick cmdOK\n", false, true},
             {"taken with the default button's key", "check chkOne\nkey enter\n", false, true},
             {"opened and cancelled", "click cmdCancel\n", false, false},
             {"ticked and cancelled", "check chkOne\nclick cmdCancel\n", false, false},
             {"ticked and left by escape", "check chkOne\nkey escape\n", false, false},
             {"ticked and ended by the end of the input", "check chkOne\n", false, false},
             {"an OK that fails", "check chkOne\nclick cmdOK\nclick cmdCancel\n", true, false},
         }) {
        SCOPED_TRACE(c.name);
        pf::Driver::current().Reset();
        PickerForm form;
        form.bFailOK = c.bFailOK;
        std::ostringstream out;
        std::istringstream in(c.sCommands);
        host::AnswerSource oAnswers(
            in, out, "", [](const std::string& s) { throw RunEnded{s}; }, 100);
        host::FormRunner oRunner(oAnswers, out, 100);
        int nHooked = 0;
        oRunner.SetFoldersChosenHook([&nHooked] { ++nHooked; });
        try {
            form.Show(pf::ShowStyle::Modal);
        } catch (const RunEnded&) {
        } catch (const std::runtime_error&) {
            // The picker's own failure reaches the add-in, which tells it.
        }
        EXPECT_EQ(oRunner.FoldersChosen(), c.bChosen) << out.str();
        EXPECT_EQ(nHooked, c.bChosen ? 1 : 0) << out.str();
        EXPECT_EQ(form.bTaken, c.bChosen) << out.str();
        // The picker keeps its own OK for the next time it is shown.
        form.bFailOK = false;
        form.cmdOK->OnClick();
        EXPECT_EQ(nHooked, c.bChosen ? 1 : 0);
    }
}

TEST(TerminalOutputTest, ThreadsWritingAtOnceEachGetTheirTextWhole)
{
    // The run's end says on its own thread how the run ended while the main thread prints.
    std::ostringstream out;
    constexpr int kLines = 20000;
    const std::string sA = "Grüße aus dem Hauptfaden €\n";
    const std::string sB = "ended by SIGINT — Ä\n";
    {
        const host::EscapedStream oEscaped(out);
        // The stream's buffer is the escaping one now (the string stream's own rdbuf() would
        // name the string buffer under it).
        std::streambuf* pBuffer = static_cast<std::ostream&>(out).rdbuf();
        std::thread oOther([pBuffer, &sB] {
            for (int i = 0; i < kLines; ++i)
                pBuffer->sputn(sB.data(), static_cast<std::streamsize>(sB.size()));
        });
        for (int i = 0; i < kLines; ++i)
            pBuffer->sputn(sA.data(), static_cast<std::streamsize>(sA.size()));
        oOther.join();
    }
    std::istringstream in(out.str());
    int nA = 0;
    int nB = 0;
    int nOther = 0;
    for (std::string sLine; std::getline(in, sLine);)
        (sLine + "\n" == sA ? nA : sLine + "\n" == sB ? nB : nOther)++;
    EXPECT_EQ(nA, kLines);
    EXPECT_EQ(nB, kLines);
    EXPECT_EQ(nOther, 0);
}

TEST(FormTextTest, TheSaveDialogListsEachFilterPatternOnce)
{
    // The descriptions as the resource texts hold them, with their own pattern lists; the
    // listing shows the patterns the filter takes, once.
    struct Row
    {
        pf::FileFilter filter;
        std::string sListed;
    };
    const std::vector<Row> vRows = {
        {{"Comma delimited (*.csv)", "*.csv"}, "Comma delimited (*.csv)"},
        {{"Trennzeichen-getrennt (*.csv)", "*.csv"}, "Trennzeichen-getrennt (*.csv)"},
        {{"Web Page (*.htm, *.html)", "*.html"}, "Web Page (*.html)"},
        {{"Webseite (*.htm, *.html)", "*.htm;*.html"}, "Webseite (*.htm *.html)"},
        {{"Excel Workbook with macros (*.xlsm)", "*.xlsm"}, "Excel Workbook with macros (*.xlsm)"},
        {{"All files", "*.*"}, "All files (*.*)"},
        {{"Report (monthly) (*.xlsx)", "*.xlsx"}, "Report (monthly) (*.xlsx)"},
    };
    pf::FileDialog::Request r;
    r.kind = pf::DialogKind::SaveFile;
    r.initialFolder = "/tmp";
    for (const auto& row : vRows)
        r.filters.push_back(row.filter);
    const pf::FileDialog dialog(r);
    const std::string sText = host::DialogText(dialog, 1000);
    for (std::size_t i = 0; i < vRows.size(); ++i) {
        const std::string sLine =
            (i == 0 ? "  * " : "    ") + std::to_string(i + 1) + " " + vRows[i].sListed + "\n";
        EXPECT_NE(sText.find(sLine), std::string::npos) << sLine << sText;
    }
}
