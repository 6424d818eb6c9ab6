#include "host/FormCommands.h"

#include "host/AnswerSource.h"
#include "host/HostTexts.h"

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

CommandRefused::CommandRefused(const std::string& sWhy) : std::runtime_error(Escaped(sWhy)) {}

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
    std::string Word(HostText what)
    {
        Skip();
        if (m_at >= m_sLine.size())
            throw CommandRefused(Say(HostText::WordMissing, {Say(what)}));
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
        throw CommandRefused(Say(HostText::QuoteNotClosed, {m_sLine}));
    }
    void Skip()
    {
        while (m_at < m_sLine.size() && (m_sLine[m_at] == ' ' || m_sLine[m_at] == '\t'))
            ++m_at;
    }
    std::string m_sLine;
    std::size_t m_at = 0;
};

int Number(const std::string& s, HostText what)
{
    try {
        std::size_t used = 0;
        const int n = std::stoi(s, &used);
        if (used == s.size())
            return n;
    } catch (const std::exception&) {
    }
    throw CommandRefused(Say(HostText::NotANumber, {Say(what), s}));
}

// A control a person can work: it shows and is enabled, and so is its container.
template <class T> T& Usable(pf::Form& form, const std::string& sName, HostText kind)
{
    auto oControl = form.FindControl(sName);
    if (!oControl || !oControl->Visible())
        throw CommandRefused(Say(HostText::NoControl, {sName, form.Name()}));
    auto* pTyped = dynamic_cast<T*>(oControl.get());
    if (!pTyped)
        throw CommandRefused(
            Say(HostText::WrongControlKind, {sName, oControl->TypeName(), Say(kind)}));
    for (const pf::Control* p = oControl.get(); p && p != &form; p = p->Container())
        if (!p->Enabled())
            throw CommandRefused(Say(HostText::ControlDisabled, {sName}));
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
        const int n = Number(sEntry.substr(1), HostText::WhatEntryNumber);
        if (n >= 1 && n <= static_cast<int>(vEntries.size()))
            return n - 1;
    }
    std::string sList;
    for (const auto& sItem : vEntries)
        sList += (sList.empty() ? "" : " | ") + sItem;
    throw CommandRefused(Say(HostText::NoEntry, {sEntry, sList}));
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
    const std::string sName = words.Word(HostText::WhatControlName);
    const std::string sText = words.Rest();
    auto oControl = form.FindControl(sName);
    if (dynamic_cast<pf::TextBox*>(oControl.get())) {
        // A person clicks into a box before typing: the box gets the focus first.
        auto& oBox = Usable<pf::TextBox>(form, sName, HostText::WhatTextBox);
        oBox.SetFocus();
        oBox.SetText(sText);
    } else if (dynamic_cast<pf::DTPicker*>(oControl.get())) {
        auto& oPicker = Usable<pf::DTPicker>(form, sName, HostText::WhatDatePicker);
        if (!rt::IsDate(rt::Variant(sText)))
            throw CommandRefused(Say(HostText::NoDate, {sText}));
        oPicker.UserPick(rt::CDate(rt::Variant(sText)));
    } else if (dynamic_cast<pf::ComboBox*>(oControl.get())) {
        auto& oCombo = Usable<pf::ComboBox>(form, sName, HostText::WhatComboBox);
        oCombo.SetListIndex(EntryIndex(ComboEntries(oCombo), sText));
    } else {
        Usable<pf::TextBox>(form, sName, HostText::WhatTextBox);
    }
    return Say(HostText::DoneSet, {sName});
}

// A further line typed into a text box, after a line break.
std::string AddLine(pf::Form& form, Words& words)
{
    const std::string sName = words.Word(HostText::WhatTextBoxName);
    auto& oBox = Usable<pf::TextBox>(form, sName, HostText::WhatTextBox);
    const std::string sLine = words.Rest();
    oBox.SetFocus();
    oBox.SetText(oBox.Text() + "\r\n" + sLine);
    return Say(HostText::DoneLineAdded, {sName});
}

std::string Tick(pf::Form& form, const std::string& sName, std::optional<int> nValue)
{
    auto& oBox = Usable<pf::CheckBox>(form, sName, HostText::WhatCheckBox);
    oBox.SetValue(nValue.value_or(oBox.Value() == 1 ? 0 : 1));
    return Say(oBox.Value() == 1 ? HostText::DoneTicked : HostText::DoneCleared, {sName});
}

std::string Pick(pf::Form& form, Words& words)
{
    const std::string sName = words.Word(HostText::WhatControlName);
    auto oControl = form.FindControl(sName);
    if (dynamic_cast<pf::ComboBox*>(oControl.get())) {
        auto& oCombo = Usable<pf::ComboBox>(form, sName, HostText::WhatComboBox);
        oCombo.SetListIndex(EntryIndex(ComboEntries(oCombo), words.Rest()));
        return sName + ": " + oCombo.Text();
    }
    Usable<pf::OptionButton>(form, sName, HostText::WhatOptionOrCombo).SetValue(true);
    return Say(HostText::DoneChosen, {sName});
}

std::string Click(pf::Form& form, const std::string& sName)
{
    auto oControl = form.FindControl(sName);
    if (dynamic_cast<pf::Label*>(oControl.get()))
        Usable<pf::Label>(form, sName, HostText::WhatLabel).Click();
    else if (dynamic_cast<pf::Image*>(oControl.get()))
        Usable<pf::Image>(form, sName, HostText::WhatImage).Click();
    else if (dynamic_cast<pf::CheckBox*>(oControl.get()))
        return Tick(form, sName, std::nullopt);
    else if (dynamic_cast<pf::OptionButton*>(oControl.get()))
        Usable<pf::OptionButton>(form, sName, HostText::WhatOptionButton).SetValue(true);
    else
        Usable<pf::CommandButton>(form, sName, HostText::WhatButton).Click();
    return Say(HostText::DoneClicked, {sName});
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
        throw CommandRefused(Say(HostText::KeysAre));
    if (form.UserKeyDown(found->second, 0) == 0)
        return Say(HostText::DonePressed, {sKey});
    // Not taken by the form: Enter clicks the default button, Escape the cancel button.
    if (found->second != kKeyF1)
        if (auto* pButton = ButtonWith(form, found->second == kKeyEnter)) {
            pButton->Click();
            return Say(HostText::DoneKeyClicked, {sKey, pButton->Name()});
        }
    return Say(HostText::DonePressed, {sKey});
}

// --- grids --------------------------------------------------------------------------------

pf::FlexGrid& Grid(pf::Form& form, const std::string& sName)
{
    return Usable<pf::GridControl>(form, sName, HostText::WhatGrid).Grid();
}

// A row by its number, or by the text of its first shown column (letter case and the blanks
// at its ends ignored: a tree row's text begins with one, which the person does not see).
int Row(const pf::FlexGrid& fg, const std::string& s)
{
    if (s.empty() || s.find_first_not_of("-0123456789") != std::string::npos) {
        const int c = FirstShownCol(fg);
        const std::string sWanted = rt::LCase(rt::Trim(s));
        for (int r = fg.FixedRows(); r < fg.Rows(); ++r)
            if (fg.RowIsVisible(r) && rt::LCase(rt::Trim(fg.TextMatrix(r, c))) == sWanted)
                return r;
        throw CommandRefused(Say(HostText::NoRowReads, {s}));
    }
    const int r = Number(s, HostText::WhatRow);
    if (r < fg.FixedRows() || r >= fg.Rows() || !fg.RowIsVisible(r))
        throw CommandRefused(Say(HostText::RowNotShown, {s}));
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
        throw CommandRefused(Say(HostText::NoRowsGiven));
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
    const int c = Number(s, HostText::WhatColumn);
    if (c < 0 || c >= fg.Cols() || fg.ColHidden(c))
        throw CommandRefused(Say(HostText::ColumnNotShown, {s}));
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
    auto& oSource = Grid(form, words.Word(HostText::WhatDragSource));
    const auto vRows = Rows(oSource, words.Word(HostText::WhatDragRows));
    if (rt::LCase(words.Word(HostText::WhatTo)) != "to")
        throw CommandRefused(Say(HostText::SayDrag));
    const std::string sTarget = words.Word(HostText::WhatDropGrid);
    auto& oTarget = Grid(form, sTarget);
    const int row = Number(words.Word(HostText::WhatDropRow), HostText::WhatRow);
    if (row < oTarget.FixedRows() || row > oTarget.Rows())
        throw CommandRefused(Say(HostText::RowOutside, {std::to_string(row), sTarget}));
    SelectRows(oSource, vRows);
    oSource.OLEDrag();
    const double y = RowY(oTarget, row);
    if (oTarget.UserDragOver(&oSource, kLeftButton, 0, 10, y) == pf::DropEffect::None)
        return Say(HostText::DropRefused, {sTarget});
    oTarget.UserDrop(&oSource, kLeftButton, 0, 10, y);
    return Say(HostText::DoneDropped, {std::to_string(vRows.size()), sTarget});
}

// Saves what is painted on a picture box, or on the form itself, as a PNG file.
std::string SavePicture(pf::Form& form, Words& words)
{
    const std::string sName = words.Word(HostText::WhatPictureName);
    const std::string sFile = words.Rest();
    if (sFile.empty())
        throw CommandRefused(Say(HostText::SayPicture));
    const pf::DrawingSurface* pSurface = nullptr;
    if (rt::LCase(sName) == rt::LCase(form.Name()))
        pSurface = &form.Surface();
    else {
        auto oControl = form.FindControl(sName);
        auto* pBox = dynamic_cast<pf::PictureBox*>(oControl.get());
        if (!pBox)
            throw CommandRefused(Say(HostText::NoPictureBox, {sName, form.Name()}));
        pSurface = &pBox->Surface();
    }
    pSurface->SavePng(sFile);
    return Say(HostText::DonePictureSaved, {sName, sFile});
}

std::string GridCommand(pf::Form& form, const std::string& sVerb, Words& words)
{
    const std::string sName = words.Word(HostText::WhatGridName);
    auto& fg = Grid(form, sName);
    if (sVerb == "select") {
        SelectRows(fg, Rows(fg, words.Rest()));
        return Say(HostText::DoneRowsSelected, {sName});
    }
    if (sVerb == "expand" || sVerb == "collapse" || sVerb == "dblclick") {
        // The rest of the line is the row: its text may hold blanks.
        const int row = Row(fg, words.Rest());
        if (sVerb == "dblclick") {
            fg.UserClick(row, FirstShownCol(fg), 0);
            fg.UserDoubleClick();
            return Say(HostText::DoneDoubleClicked, {sName, std::to_string(row)});
        }
        const bool bExpanded = fg.IsCollapsed(row) == pf::OutlineState::Expanded;
        if (bExpanded != (sVerb == "expand"))
            fg.UserToggleNode(row);
        return Say(sVerb == "expand" ? HostText::DoneExpanded : HostText::DoneCollapsed,
                   {sName, std::to_string(row)});
    }
    const int row = Row(fg, words.Word(HostText::WhatRow));
    if (sVerb == "tick") {
        const int col =
            words.Empty() ? CheckCol(fg, row) : Col(fg, words.Word(HostText::WhatColumn));
        return Say(fg.UserToggleCheck(row, col) ? HostText::DoneRowTicked : HostText::TickKept,
                   {sName});
    }
    const int col = Col(fg, words.Word(HostText::WhatColumn));
    if (sVerb == "edit")
        return Say(fg.UserEdit(row, col, words.Rest()) ? HostText::DoneCellEdited
                                                       : HostText::EditRefused,
                   {sName});
    // choose: an entry of the column's drop-down list
    std::vector<std::string> vEntries(1);
    for (char ch : fg.ColComboList(col)) {
        if (ch == '|')
            vEntries.emplace_back();
        else
            vEntries.back() += ch;
    }
    if (fg.ColComboList(col).empty())
        throw CommandRefused(Say(HostText::ColumnHasNoList, {std::to_string(col)}));
    return Say(fg.UserPickComboItem(row, col, EntryIndex(vEntries, words.Rest()))
                   ? HostText::DoneEntryChosen
                   : HostText::EntryRefused,
               {sName});
}

} // namespace

int FirstShownCol(const pf::FlexGrid& fg)
{
    for (int c = 0; c < fg.Cols(); ++c)
        if (!fg.ColHidden(c))
            return c;
    return 0;
}

std::vector<std::string> CommandWords(const std::string& sLine)
{
    Words words(sLine);
    std::vector<std::string> vWords;
    while (!words.Empty())
        vWords.push_back(words.Word(HostText::WhatCommand));
    return vWords;
}

std::string FormCommandHelp()
{
    return Say(HostText::FormHelp);
}

std::string ApplyFormCommand(pf::Form& form, const std::string& sCommand)
{
    Words words(sCommand);
    const std::string sVerb = rt::LCase(words.Word(HostText::WhatCommand));
    try {
        if (sVerb == "set")
            return SetText(form, words);
        if (sVerb == "line")
            return AddLine(form, words);
        if (sVerb == "check" || sVerb == "uncheck")
            return Tick(form, words.Word(HostText::WhatCheckBox), sVerb == "check" ? 1 : 0);
        if (sVerb == "tick") {
            Words probe(words.Rest());
            const std::string sName = probe.Word(HostText::WhatControlName);
            if (!dynamic_cast<pf::GridControl*>(form.FindControl(sName).get()))
                return Tick(form, sName, std::nullopt);
        }
        if (sVerb == "pick")
            return Pick(form, words);
        if (sVerb == "click")
            return Click(form, words.Word(HostText::WhatControlName));
        if (sVerb == "key")
            return Key(form, words.Word(HostText::WhatKey));
        if (sVerb == "close")
            return Say(form.UserClose() ? HostText::DoneClosed : HostText::DoneStaysOpen,
                       {form.Name()});
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
    throw CommandRefused(Say(HostText::NoCommand, {sVerb}));
}

} // namespace host
