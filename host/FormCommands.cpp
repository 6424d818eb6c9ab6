#include "host/FormCommands.h"

#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variant.h"

#include <functional>
#include <map>
#include <sstream>
#include <vector>

namespace host {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kLeftButton = 1;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyF1 = 112;

// A command line split into its leading words, with the rest of the line kept whole. A word
// in double quotes may hold blanks ("Due Date"); "" inside quotes is one quote.
class Words
{
public:
    explicit Words(const std::string& sLine) : m_sLine(sLine) {}
    // The next blank-separated or quoted word; refused when there is none.
    std::string Word(const char* pWhat)
    {
        Skip();
        if (m_at >= m_sLine.size())
            throw CommandRefused(std::string("missing ") + pWhat);
        if (m_sLine[m_at] == '"')
            return Quoted();
        const auto end = m_sLine.find_first_of(" \t", m_at);
        std::string sWord = m_sLine.substr(m_at, end - m_at);
        m_at = end == std::string::npos ? m_sLine.size() : end;
        return sWord;
    }
    // The rest of the line as it stands, or the text inside the quotes when it is one quoted
    // text: quotes keep leading and trailing blanks.
    std::string Rest()
    {
        Skip();
        if (m_at >= m_sLine.size())
            return {};
        if (m_sLine[m_at] == '"') {
            const std::size_t start = m_at;
            std::string sText = Quoted();
            Skip();
            if (m_at >= m_sLine.size())
                return sText;
            m_at = start;
        }
        return m_sLine.substr(m_at);
    }
    bool Empty()
    {
        Skip();
        return m_at >= m_sLine.size();
    }

private:
    std::string Quoted()
    {
        std::string sText;
        for (++m_at; m_at < m_sLine.size(); ++m_at) {
            if (m_sLine[m_at] != '"') {
                sText += m_sLine[m_at];
            } else if (m_at + 1 < m_sLine.size() && m_sLine[m_at + 1] == '"') {
                sText += '"';
                ++m_at;
            } else {
                ++m_at;
                return sText;
            }
        }
        throw CommandRefused("a quote is not closed: " + m_sLine);
    }
    void Skip()
    {
        while (m_at < m_sLine.size() && (m_sLine[m_at] == ' ' || m_sLine[m_at] == '\t'))
            ++m_at;
    }
    std::string m_sLine;
    std::size_t m_at = 0;
};

int Number(const std::string& s, const char* pWhat)
{
    try {
        std::size_t used = 0;
        const int n = std::stoi(s, &used);
        if (used == s.size())
            return n;
    } catch (const std::exception&) {
    }
    throw CommandRefused(std::string(pWhat) + " must be a number, not \"" + s + "\"");
}

// A control a person can work: it shows and is enabled, and so is its container.
template <class T> T& Usable(pf::Form& form, const std::string& sName, const char* pKind)
{
    auto oControl = form.FindControl(sName);
    if (!oControl || !oControl->Visible())
        throw CommandRefused("there is no control \"" + sName + "\" on " + form.Name());
    auto* pTyped = dynamic_cast<T*>(oControl.get());
    if (!pTyped)
        throw CommandRefused(sName + " is a " + oControl->TypeName() + ", not " + pKind);
    for (const pf::Control* p = oControl.get(); p && p != &form; p = p->Container())
        if (!p->Enabled())
            throw CommandRefused(sName + " is disabled");
    return *pTyped;
}

int EntryIndex(const std::vector<std::string>& vEntries, const std::string& sEntry)
{
    for (std::size_t i = 0; i < vEntries.size(); ++i)
        if (vEntries[i] == sEntry)
            return static_cast<int>(i);
    for (std::size_t i = 0; i < vEntries.size(); ++i)
        if (rt::LCase(vEntries[i]) == rt::LCase(sEntry))
            return static_cast<int>(i);
    if (!sEntry.empty() && sEntry.front() == '#') {
        const int n = Number(sEntry.substr(1), "an entry number");
        if (n >= 1 && n <= static_cast<int>(vEntries.size()))
            return n - 1;
    }
    std::string sList;
    for (const auto& sItem : vEntries)
        sList += (sList.empty() ? "" : " | ") + sItem;
    throw CommandRefused("there is no entry \"" + sEntry + "\"; the entries are: " + sList);
}

std::vector<std::string> ComboEntries(const pf::ComboBox& oCombo)
{
    std::vector<std::string> v;
    for (int i = 0; i < oCombo.ListCount(); ++i)
        v.push_back(oCombo.List(i));
    return v;
}

// --- plain controls ---------------------------------------------------------------------

std::string SetText(pf::Form& form, Words& words)
{
    const std::string sName = words.Word("a control name");
    const std::string sText = words.Rest();
    auto oControl = form.FindControl(sName);
    if (dynamic_cast<pf::TextBox*>(oControl.get())) {
        // A person clicks into a box before typing: the box gets the focus first.
        auto& oBox = Usable<pf::TextBox>(form, sName, "a text box");
        oBox.SetFocus();
        oBox.SetText(sText);
    } else if (dynamic_cast<pf::DTPicker*>(oControl.get())) {
        auto& oPicker = Usable<pf::DTPicker>(form, sName, "a date picker");
        if (!rt::IsDate(rt::Variant(sText)))
            throw CommandRefused("\"" + sText + "\" is no date");
        oPicker.UserPick(rt::CDate(rt::Variant(sText)));
    } else if (dynamic_cast<pf::ComboBox*>(oControl.get())) {
        auto& oCombo = Usable<pf::ComboBox>(form, sName, "a combo box");
        oCombo.SetListIndex(EntryIndex(ComboEntries(oCombo), sText));
    } else {
        Usable<pf::TextBox>(form, sName, "a text box");
    }
    return sName + " set";
}

// A further line typed into a text box, after a line break.
std::string AddLine(pf::Form& form, Words& words)
{
    const std::string sName = words.Word("a text box name");
    auto& oBox = Usable<pf::TextBox>(form, sName, "a text box");
    const std::string sLine = words.Rest();
    oBox.SetFocus();
    oBox.SetText(oBox.Text() + "\r\n" + sLine);
    return sName + ": line added";
}

std::string Tick(pf::Form& form, const std::string& sName, std::optional<int> nValue)
{
    auto& oBox = Usable<pf::CheckBox>(form, sName, "a check box");
    oBox.SetValue(nValue.value_or(oBox.Value() == 1 ? 0 : 1));
    return sName + (oBox.Value() == 1 ? " ticked" : " cleared");
}

std::string Pick(pf::Form& form, Words& words)
{
    const std::string sName = words.Word("a control name");
    auto oControl = form.FindControl(sName);
    if (dynamic_cast<pf::ComboBox*>(oControl.get())) {
        auto& oCombo = Usable<pf::ComboBox>(form, sName, "a combo box");
        oCombo.SetListIndex(EntryIndex(ComboEntries(oCombo), words.Rest()));
        return sName + ": " + oCombo.Text();
    }
    Usable<pf::OptionButton>(form, sName, "an option button or a combo box").SetValue(true);
    return sName + " chosen";
}

std::string Click(pf::Form& form, const std::string& sName)
{
    auto oControl = form.FindControl(sName);
    if (dynamic_cast<pf::Label*>(oControl.get()))
        Usable<pf::Label>(form, sName, "a label").Click();
    else if (dynamic_cast<pf::Image*>(oControl.get()))
        Usable<pf::Image>(form, sName, "an image").Click();
    else if (dynamic_cast<pf::CheckBox*>(oControl.get()))
        return Tick(form, sName, std::nullopt);
    else if (dynamic_cast<pf::OptionButton*>(oControl.get()))
        Usable<pf::OptionButton>(form, sName, "an option button").SetValue(true);
    else
        Usable<pf::CommandButton>(form, sName, "a button").Click();
    return sName + " clicked";
}

pf::CommandButton* ButtonWith(pf::Form& form, bool bDefault)
{
    for (const auto& oControl : form.Controls()) {
        auto* pButton = dynamic_cast<pf::CommandButton*>(oControl.get());
        if (pButton && (bDefault ? pButton->Default : pButton->Cancel) && pButton->Visible() &&
            pButton->Enabled())
            return pButton;
    }
    return nullptr;
}

std::string Key(pf::Form& form, const std::string& sKey)
{
    static const std::map<std::string, int> kKeys = {{"enter", kKeyEnter},
                                                     {"return", kKeyEnter},
                                                     {"escape", kKeyEscape},
                                                     {"esc", kKeyEscape},
                                                     {"f1", kKeyF1}};
    const auto found = kKeys.find(rt::LCase(sKey));
    if (found == kKeys.end())
        throw CommandRefused("the keys are Enter, Escape and F1");
    if (form.UserKeyDown(found->second, 0) == 0)
        return sKey + " pressed";
    // Not taken by the form: Enter clicks the default button, Escape the cancel button.
    if (found->second != kKeyF1)
        if (auto* pButton = ButtonWith(form, found->second == kKeyEnter)) {
            pButton->Click();
            return sKey + ": " + pButton->Name() + " clicked";
        }
    return sKey + " pressed";
}

// --- grids --------------------------------------------------------------------------------

pf::FlexGrid& Grid(pf::Form& form, const std::string& sName)
{
    return Usable<pf::GridControl>(form, sName, "a grid").Grid();
}

// A row by its number, or by the text of its first shown column (letter case ignored).
int Row(const pf::FlexGrid& fg, const std::string& s)
{
    if (s.empty() || s.find_first_not_of("-0123456789") != std::string::npos) {
        const int c = FirstShownCol(fg);
        for (int r = fg.FixedRows(); r < fg.Rows(); ++r)
            if (fg.RowIsVisible(r) && rt::LCase(fg.TextMatrix(r, c)) == rt::LCase(s))
                return r;
        throw CommandRefused("no shown row reads \"" + s + "\"");
    }
    const int r = Number(s, "a row");
    if (r < fg.FixedRows() || r >= fg.Rows() || !fg.RowIsVisible(r))
        throw CommandRefused("row " + s + " is not shown");
    return r;
}

std::vector<int> Rows(const pf::FlexGrid& fg, const std::string& sList)
{
    std::vector<int> v;
    std::istringstream parts(sList);
    for (std::string sPart; std::getline(parts, sPart, ',');) {
        const auto dash = sPart.find('-', 1);
        if (dash == std::string::npos) {
            v.push_back(Row(fg, sPart));
            continue;
        }
        // A row whose text holds a dash ("E-Mail") before a range of rows.
        if (sPart.find_first_not_of("-0123456789") != std::string::npos) {
            try {
                v.push_back(Row(fg, sPart));
                continue;
            } catch (const CommandRefused&) {
            }
        }
        const int first = Row(fg, sPart.substr(0, dash));
        const int last = Row(fg, sPart.substr(dash + 1));
        for (int r = first; r <= last; ++r)
            if (fg.RowIsVisible(r))
                v.push_back(r);
    }
    if (v.empty())
        throw CommandRefused("no rows given");
    return v;
}

int Col(const pf::FlexGrid& fg, const std::string& s)
{
    const int byKey = fg.ColIndex(s);
    if (byKey >= 0)
        return byKey;
    for (int c = 0; c < fg.Cols(); ++c)
        if (fg.FixedRows() > 0 && rt::LCase(fg.TextMatrix(0, c)) == rt::LCase(s))
            return c;
    const int c = Number(s, "a column");
    if (c < 0 || c >= fg.Cols() || fg.ColHidden(c))
        throw CommandRefused("column " + s + " is not shown");
    return c;
}

void SelectRows(pf::FlexGrid& fg, const std::vector<int>& vRows)
{
    const int c = FirstShownCol(fg);
    fg.UserClick(vRows.front(), c, 0);
    if (vRows.size() == 1)
        return;
    if (fg.GetSelectionMode() == pf::SelectionMode::ListBox) {
        for (std::size_t i = 1; i < vRows.size(); ++i)
            fg.UserClick(vRows[i], c, kCtrl);
    } else {
        fg.UserClick(vRows.back(), c, kShift);
    }
}

int CheckCol(const pf::FlexGrid& fg, int row)
{
    for (int c = 0; c < fg.Cols(); ++c)
        if (fg.CellChecked(row, c) != pf::CheckState::None)
            return c;
    return fg.OutlineCol();
}

// The top edge of a row, in twips from the grid's top, after scrolling it into view: the
// boundary before the row, where a drop lands; below the last row for a row past the end.
double RowY(pf::FlexGrid& fg, int row)
{
    if (row < fg.Rows())
        fg.ShowCell(row, FirstShownCol(fg));
    double y = 0;
    for (int r = 0; r < fg.FixedRows(); ++r)
        y += fg.RowIsVisible(r) ? fg.RowHeight(r) : 0;
    for (int r = fg.TopRow(); r < std::min(row, fg.Rows()); ++r)
        y += fg.RowIsVisible(r) ? fg.RowHeight(r) : 0;
    return y;
}

std::string Drag(pf::Form& form, Words& words)
{
    auto& oSource = Grid(form, words.Word("the grid to drag from"));
    const auto vRows = Rows(oSource, words.Word("the rows to drag"));
    if (rt::LCase(words.Word("\"to\"")) != "to")
        throw CommandRefused("say: drag GRID ROWS to GRID ROW");
    const std::string sTarget = words.Word("the grid to drop on");
    auto& oTarget = Grid(form, sTarget);
    const int row = Number(words.Word("the row to drop at"), "a row");
    if (row < oTarget.FixedRows() || row > oTarget.Rows())
        throw CommandRefused("row " + std::to_string(row) + " is outside " + sTarget);
    SelectRows(oSource, vRows);
    oSource.OLEDrag();
    const double y = RowY(oTarget, row);
    if (oTarget.UserDragOver(&oSource, kLeftButton, 0, 10, y) == pf::DropEffect::None)
        return sTarget + " does not take the rows there";
    oTarget.UserDrop(&oSource, kLeftButton, 0, 10, y);
    return std::to_string(vRows.size()) + " rows dropped on " + sTarget;
}

// Saves what is painted on a picture box, or on the form itself, as a PNG file.
std::string SavePicture(pf::Form& form, Words& words)
{
    const std::string sName = words.Word("a picture box or the form's name");
    const std::string sFile = words.Rest();
    if (sFile.empty())
        throw CommandRefused("say: picture NAME FILE.png");
    const pf::DrawingSurface* pSurface = nullptr;
    if (rt::LCase(sName) == rt::LCase(form.Name()))
        pSurface = &form.Surface();
    else {
        auto oControl = form.FindControl(sName);
        auto* pBox = dynamic_cast<pf::PictureBox*>(oControl.get());
        if (!pBox)
            throw CommandRefused("there is no picture box \"" + sName + "\" on " + form.Name());
        pSurface = &pBox->Surface();
    }
    pSurface->SavePng(sFile);
    return sName + " saved as " + sFile;
}

std::string GridCommand(pf::Form& form, const std::string& sVerb, Words& words)
{
    const std::string sName = words.Word("a grid name");
    auto& fg = Grid(form, sName);
    if (sVerb == "select") {
        SelectRows(fg, Rows(fg, words.Rest()));
        return sName + ": rows selected";
    }
    if (sVerb == "expand" || sVerb == "collapse" || sVerb == "dblclick") {
        // The rest of the line is the row: its text may hold blanks.
        const int row = Row(fg, words.Rest());
        if (sVerb == "dblclick") {
            fg.UserClick(row, FirstShownCol(fg), 0);
            fg.UserDoubleClick();
            return sName + ": row " + std::to_string(row) + " double-clicked";
        }
        const bool bExpanded = fg.IsCollapsed(row) == pf::OutlineState::Expanded;
        if (bExpanded != (sVerb == "expand"))
            fg.UserToggleNode(row);
        return sName + ": row " + std::to_string(row) + " " + sVerb + "ed";
    }
    const int row = Row(fg, words.Word("a row"));
    if (sVerb == "tick") {
        const int col = words.Empty() ? CheckCol(fg, row) : Col(fg, words.Word("a column"));
        return fg.UserToggleCheck(row, col) ? sName + ": row ticked or cleared"
                                            : sName + ": the form kept the box as it was";
    }
    const int col = Col(fg, words.Word("a column"));
    if (sVerb == "edit")
        return fg.UserEdit(row, col, words.Rest()) ? sName + ": cell edited"
                                                   : sName + ": the form refused the edit";
    // choose: an entry of the column's drop-down list
    std::vector<std::string> vEntries(1);
    for (char ch : fg.ColComboList(col)) {
        if (ch == '|')
            vEntries.emplace_back();
        else
            vEntries.back() += ch;
    }
    if (fg.ColComboList(col).empty())
        throw CommandRefused("column " + std::to_string(col) + " has no list");
    return fg.UserPickComboItem(row, col, EntryIndex(vEntries, words.Rest()))
               ? sName + ": entry chosen"
               : sName + ": the form refused the entry";
}

} // namespace

int FirstShownCol(const pf::FlexGrid& fg)
{
    for (int c = 0; c < fg.Cols(); ++c)
        if (!fg.ColHidden(c))
            return c;
    return 0;
}

std::string FormCommandHelp()
{
    return "Form commands (NAME is a control's name as show lists it; an example below each):\n"
           "  set NAME TEXT            type into a text box, a date picker or a combo box;\n"
           "                           quotes keep blanks at the ends\n"
           "                             set txtNew Monthly report     set txtNew \" A \"\n"
           "  line NAME TEXT           type a line break and a further line into a text box\n"
           "                             line txtBody Kind regards\n"
           "  tick NAME | check NAME | uncheck NAME   a check box\n"
           "                             check chkAutoExecute(0)\n"
           "  pick NAME [ENTRY|#N]     choose an option button or a combo box entry (by its\n"
           "                           text or its number in the list)\n"
           "                             pick optAutoSave(0)    pick cboFormat #3\n"
           "  click NAME               click a button, a label or an image\n"
           "                             click cmdOK\n"
           "  key enter|escape|f1      press a key\n"
           "                             key escape\n"
           "  close                    close the window with its close box\n"
           "  select GRID ROWS         select rows (3 | 2-5 | 1,4 | the text of a row)\n"
           "                             select fgAll Meeting Status\n"
           "  tick GRID ROW [COL]      tick or clear a row's check box\n"
           "                             tick fg 2\n"
           "  expand GRID ROW | collapse GRID ROW | dblclick GRID ROW\n"
           "                             expand fg Persönliche Ordner\n"
           "  edit GRID ROW COL TEXT   edit a cell (a row or column text with blanks goes in\n"
           "                           quotes)\n"
           "                             edit fg 2 Caption \"Due date\"\n"
           "  choose GRID ROW COL ENTRY   pick a cell's list entry (a wrong entry lists them)\n"
           "                             choose fg Duration Operation Sum\n"
           "  drag GRID ROWS to GRID ROW  drag rows onto a grid before that row\n"
           "                             drag fgAll 3 to fgSelected 1\n"
           "  picture NAME FILE        save the painting of a picture box (or of the form,\n"
           "                           by its name) as a PNG file\n"
           "                             picture frmAbout about.png\n"
           "  folder STORE/FOLDER/...  in the folder picker: tick that folder and confirm\n"
           "                             folder Persönliche Ordner/Kalender\n"
           "  show | help\n";
}

std::string ApplyFormCommand(pf::Form& form, const std::string& sCommand)
{
    Words words(sCommand);
    const std::string sVerb = rt::LCase(words.Word("a command"));
    try {
        if (sVerb == "set")
            return SetText(form, words);
        if (sVerb == "line")
            return AddLine(form, words);
        if (sVerb == "check" || sVerb == "uncheck")
            return Tick(form, words.Word("a check box"), sVerb == "check" ? 1 : 0);
        if (sVerb == "tick") {
            Words probe(words.Rest());
            const std::string sName = probe.Word("a control name");
            if (!dynamic_cast<pf::GridControl*>(form.FindControl(sName).get()))
                return Tick(form, sName, std::nullopt);
        }
        if (sVerb == "pick")
            return Pick(form, words);
        if (sVerb == "click")
            return Click(form, words.Word("a control name"));
        if (sVerb == "key")
            return Key(form, words.Word("a key"));
        if (sVerb == "close")
            return form.UserClose() ? form.Name() + " closed" : form.Name() + " stays open";
        if (sVerb == "drag")
            return Drag(form, words);
        if (sVerb == "picture")
            return SavePicture(form, words);
        if (sVerb == "select" || sVerb == "tick" || sVerb == "expand" || sVerb == "collapse" ||
            sVerb == "dblclick" || sVerb == "edit" || sVerb == "choose")
            return GridCommand(form, sVerb, words);
    } catch (const rt::Error& e) {
        // A control that refuses the value (a combo entry outside its list, ...).
        throw CommandRefused(e.Description());
    }
    throw CommandRefused("there is no command \"" + sVerb + "\" (help lists them)");
}

} // namespace host
