#include "host/GridCommands.h"

#include "host/FormCommands.h"
#include "host/HostTexts.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Strings.h"
#include "platform/win/Desktop.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <vector>

namespace host {

namespace pf = platform::forms;
namespace rt = platform::runtime;
namespace win = platform::win;

namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kCtrl = 2;
constexpr int kEnter = 13;
constexpr int kKeyA = 65;

// Words from..to-1 as one text with single blanks between them.
std::string Joined(const std::vector<std::string>& vWords, std::size_t from, std::size_t to)
{
    std::string s;
    for (std::size_t i = from; i < to && i < vWords.size(); ++i)
        s += (i == from ? "" : " ") + vWords[i];
    return s;
}

// What a grid command takes, as its help line and first example say it.
CommandRefused Usage(const std::string& sVerb)
{
    std::istringstream in(Say(HostText::GridHelp));
    std::string sForm;
    for (std::string sLine; std::getline(in, sLine);) {
        const auto nText = sLine.find_first_not_of(' ');
        if (nText == std::string::npos)
            continue;
        if (sForm.empty()) {
            if (nText != 2 || sLine.compare(2, sVerb.size() + 1, sVerb + " ") != 0)
                continue;
            // The form ends where the explanation begins: after a gap, else in its column.
            const auto nGap = sLine.find("  ", 2);
            sForm = sLine.substr(2, (nGap == std::string::npos ? 18 : nGap) - 2);
            sForm.erase(sForm.find_last_not_of(' ') + 1);
        } else if (nText >= 16) {
            const std::string sExample = sLine.substr(nText, sLine.find("   ", nText) - nText);
            // A line of the explanation goes on; the example is the line that starts with
            // the verb.
            if (sExample.rfind(sVerb + " ", 0) == 0 || sExample == sVerb)
                return CommandRefused(Say(HostText::CommandTakes, {sVerb, sForm, sExample}));
        } else {
            break;
        }
    }
    return CommandRefused(Say(HostText::CommandTakes, {sVerb, sForm, sForm}));
}

std::optional<int> Number(const std::string& s)
{
    int n = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return n;
}

int DataRow(const pf::FlexGrid& fg, const std::string& sRow)
{
    const auto n = Number(sRow);
    if (!n || *n < fg.FixedRows() || *n >= fg.Rows())
        throw CommandRefused(Say(HostText::NoItemRow, {sRow, std::to_string(fg.FixedRows()),
                                                       std::to_string(fg.Rows() - 1)}));
    return *n;
}

// A column by its number or its header text (letter case ignored).
int Column(const pf::FlexGrid& fg, const std::string& sColumn)
{
    if (const auto n = Number(sColumn)) {
        if (*n >= 0 && *n < fg.Cols())
            return *n;
    } else {
        for (int c = 0; c < fg.Cols(); ++c)
            if (!fg.ColHidden(c) && rt::LCase(fg.TextMatrix(0, c)) == rt::LCase(sColumn))
                return c;
    }
    throw CommandRefused(Say(HostText::NoColumn, {sColumn}));
}

// The shown row's texts, as the person reads them on the current row: one place for each
// shown column, an empty cell too, so that each value stands under its column as in the table.
std::string RowText(const pf::FlexGrid& fg, int lRow)
{
    std::string s = Say(HostText::RowLine, {std::to_string(lRow)});
    const char* sSeparator = " ";
    for (int c = 0; c < fg.Cols(); ++c) {
        if (fg.ColHidden(c))
            continue;
        s += sSeparator + fg.TextMatrix(lRow, c);
        sSeparator = " | ";
    }
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// Whether a shown cell of the row holds the text (letter case ignored).
bool RowHolds(const pf::FlexGrid& fg, int lRow, const std::string& sText)
{
    const std::string sWanted = rt::LCase(sText);
    for (int c = 0; c < fg.Cols(); ++c)
        if (!fg.ColHidden(c) &&
            rt::LCase(fg.TextMatrix(lRow, c)).find(sWanted) != std::string::npos)
            return true;
    return false;
}

struct GridPoint
{
    double x = 0;
    double y = 0;
};

// Moves the mouse over a row's outline cell, scrolled into view, and the screen's pointer
// with it; returns where the mouse is inside the grid.
GridPoint PointAtRow(pf::FlexGrid& fg, int lRow)
{
    fg.ShowCell(lRow, std::max(fg.Col(), 0));
    double y = 0;
    for (int r = 0; r < fg.FixedRows(); ++r)
        y += fg.RowIsVisible(r) ? fg.RowHeight(r) : 0;
    for (int r = fg.TopRow(); r < lRow; ++r)
        y += fg.RowIsVisible(r) ? fg.RowHeight(r) : 0;
    y += fg.RowHeight(lRow) / 2.0;
    const double x = fg.ColWidth(0) > 0 ? fg.ColWidth(0) / 2.0 : 60.0;
    fg.UserMouseMove(0, 0, x, y);
    auto& oDesktop = win::Desktop::current();
    const auto oRect = oDesktop.windowRect(static_cast<win::WindowHandle>(fg.Hwnd()));
    const win::ScreenRect oGrid = oRect.value_or(win::ScreenRect{});
    oDesktop.setCursorPosition(
        win::ScreenPoint{oGrid.left + static_cast<int>(x) / win::Desktop::kTwipsPerPixel,
                         oGrid.top + static_cast<int>(y) / win::Desktop::kTwipsPerPixel});
    return {x, y};
}

// The row by the start of its caption (letter case ignored), as the grid shows it: a group
// row first when a text fits several rows, then an item whose first shown cell begins so,
// then one with any shown cell that does (an item row's caption is its subject, not its
// outline cell); -1 when none.
int RowBeginning(const pf::FlexGrid& fg, const std::string& sRow)
{
    const std::string sWanted = rt::LCase(sRow);
    const int lFirst = FirstShownCol(fg);
    int lItem = -1;
    int lAnyCell = -1;
    for (int r = fg.FixedRows(); r < fg.Rows(); ++r) {
        for (int c = lFirst; c < fg.Cols() && lAnyCell < 0; ++c)
            if (!fg.ColHidden(c) && !sWanted.empty() &&
                rt::LCase(fg.TextMatrix(r, c)).rfind(sWanted, 0) == 0)
                lAnyCell = r;
        if (rt::LCase(fg.TextMatrix(r, lFirst)).rfind(sWanted, 0) != 0)
            continue;
        if (fg.IsSubtotal(r))
            return r;
        if (lItem < 0)
            lItem = r;
    }
    return lItem >= 0 ? lItem : lAnyCell;
}

// A row by its number or by the start of its caption (see RowBeginning).
int RowNamed(const pf::FlexGrid& fg, const std::string& sRow)
{
    if (Number(sRow))
        return DataRow(fg, sRow);
    const int lRow = RowBeginning(fg, sRow);
    if (lRow < 0)
        throw CommandRefused(Say(HostText::NoRowBegins, {sRow}));
    return lRow;
}

// Collapses or expands the one group of a row, as a click on its outline mark does.
std::string ToggleGroup(pf::FlexGrid& fg, const std::string& sRow, bool bExpand)
{
    const int lRow = RowNamed(fg, sRow);
    if (!fg.IsSubtotal(lRow))
        throw CommandRefused(Say(HostText::NoGroupRow, {std::to_string(lRow)}));
    if ((fg.IsCollapsed(lRow) == pf::OutlineState::Expanded) != bExpand)
        fg.UserToggleNode(lRow);
    return {};
}

// The column of a header text or number, or -1.
int ColumnOrNone(const pf::FlexGrid& fg, const std::string& sColumn)
{
    try {
        return Column(fg, sColumn);
    } catch (const CommandRefused&) {
        return -1;
    }
}

// A row's texts, or one cell's, whole: the table cuts what does not fit its columns. The row
// is its number (the header row too) or the start of its caption, which may hold blanks; the
// words after it that name a column choose the cell.
std::string WholeRow(const pf::FlexGrid& fg, const std::vector<std::string>& vWords)
{
    const auto cell = [&fg](int lRow, int lCol) {
        return Say(HostText::RowCell,
                   {std::to_string(lRow), fg.TextMatrix(0, lCol), fg.TextMatrix(lRow, lCol)});
    };
    const auto row = [&fg](const std::string& sRow) {
        const auto n = Number(sRow);
        if (n && *n >= 0 && *n < fg.FixedRows())
            return *n;
        return n ? DataRow(fg, sRow) : RowBeginning(fg, sRow);
    };
    // A row number: what follows it can only be a column.
    if (Number(vWords[1]) && vWords.size() > 2)
        return cell(row(vWords[1]), Column(fg, Joined(vWords, 2, vWords.size())));
    // The longest start that names a row, the rest a column; or all of it a row.
    for (std::size_t nEnd = vWords.size() - 1; nEnd > 1; --nEnd) {
        const int lCol = ColumnOrNone(fg, Joined(vWords, nEnd, vWords.size()));
        const int lRow = lCol < 0 ? -1 : row(Joined(vWords, 1, nEnd));
        if (lRow >= 0)
            return cell(lRow, lCol);
    }
    const std::string sRow = Joined(vWords, 1, vWords.size());
    const int lRow = row(sRow);
    if (lRow < 0)
        throw CommandRefused(Say(HostText::NoRowBegins, {sRow}));
    return RowText(fg, lRow);
}

std::string MenuEntries(const pf::MenuItem& oMenu)
{
    std::string s = Say(HostText::ContextMenu);
    for (const auto& oItem : oMenu.Children()) {
        if (!oItem->Visible() || oItem->IsSeparator())
            continue;
        std::string sCaption = oItem->Caption();
        sCaption.erase(std::remove(sCaption.begin(), sCaption.end(), '&'), sCaption.end());
        s += "\n  " + sCaption + "  (" + oItem->Key() + ")" +
             (oItem->Enabled() ? "" : Say(HostText::Disabled));
    }
    return s + "\n" + Say(HostText::TypeEntryKey);
}

pf::MenuBar* MenuBarOf(pf::Form& oWindow)
{
    for (const auto& oControl : oWindow.Controls())
        if (auto* p = dynamic_cast<pf::MenuBar*>(oControl.get()))
            return p;
    return nullptr;
}

std::string Find(pf::Form& oWindow, pf::FlexGrid& fg, const std::string& sText)
{
    auto* pBox = dynamic_cast<pf::TextBox*>(oWindow.FindControl("txtFind").get());
    if (!pBox)
        throw CommandRefused(Say(HostText::NoFindBox));
    pBox->SetText(sText);
    pBox->UserKeyDown(kEnter);
    if (fg.Row() < fg.FixedRows() || fg.Row() >= fg.Rows() || !RowHolds(fg, fg.Row(), sText))
        return Say(HostText::NothingFound, {sText, std::to_string(fg.Row())});
    return RowText(fg, fg.Row());
}

std::string OpenRow(pf::FlexGrid& fg, const std::vector<std::string>& vWords)
{
    if (vWords.size() == 1) {
        fg.UserKeyDown(kEnter, 0);
        return {};
    }
    const int lRow = DataRow(fg, vWords[1]);
    const GridPoint at = PointAtRow(fg, lRow);
    fg.UserMouseDown(kLeftButton, 0, at.x, at.y);
    fg.UserMouseUp(kLeftButton, 0, at.x, at.y);
    fg.UserDoubleClick();
    return {};
}

std::string ShowMenu(pf::Form& oWindow, pf::FlexGrid& fg, const std::string& sRow)
{
    const int lRow = DataRow(fg, sRow);
    const GridPoint at = PointAtRow(fg, lRow);
    fg.UserMouseDown(kRightButton, 0, at.x, at.y);
    fg.UserMouseUp(kRightButton, 0, at.x, at.y);
    auto* pBar = MenuBarOf(oWindow);
    if (!pBar || !pBar->OpenPopup())
        return Say(HostText::NoMenuOpened);
    return MenuEntries(*pBar->OpenPopup());
}

} // namespace

std::string GridCommandHelp()
{
    return Say(HostText::GridHelp);
}

std::optional<std::string> ApplyGridCommand(pf::Form& oWindow, pf::FlexGrid& fg,
                                            const std::string& sCommand)
{
    const auto vWords = CommandWords(sCommand);
    if (vWords.empty())
        return std::nullopt;
    const std::string& sVerb = vWords[0];
    const std::size_t nWords = vWords.size();
    // The text after the verb as typed, blanks inside it kept.
    const auto rest = [&] { return sCommand.substr(sCommand.find(sVerb) + sVerb.size() + 1); };
    if (sVerb == "find")
        return nWords > 1 ? Find(oWindow, fg, rest()) : throw Usage(sVerb);
    if (sVerb == "row") {
        if (nWords != 2)
            throw Usage(sVerb);
        const int lRow = DataRow(fg, vWords[1]);
        fg.UserClick(lRow, std::max(fg.Col(), 0));
        return RowText(fg, fg.Row());
    }
    // Alone, they are the window's commands for all groups.
    if ((sVerb == "collapse" || sVerb == "expand") && nWords > 1)
        return ToggleGroup(fg, nWords == 2 ? vWords[1] : rest(), sVerb == "expand");
    if (sVerb == "whole")
        return nWords > 1 ? WholeRow(fg, vWords) : throw Usage(sVerb);
    if (sVerb == "open")
        return nWords <= 2 ? OpenRow(fg, vWords) : throw Usage(sVerb);
    // Alone, it lists the window's menus.
    if (sVerb == "menu" && nWords > 1)
        return nWords == 2 ? ShowMenu(oWindow, fg, vWords[1]) : throw Usage(sVerb);
    if (sVerb == "selectall") {
        if (nWords != 1)
            throw Usage(sVerb);
        fg.UserKeyDown(kKeyA, kCtrl);
        return Say(HostText::SelectedRows, {std::to_string(fg.SelectedRows())});
    }
    if (sVerb == "move" || sVerb == "width") {
        if (nWords < 3)
            throw Usage(sVerb);
        // A header of several words is the words before the number.
        const std::string sColumn = Joined(vWords, 1, nWords - 1);
        const int lCol = Column(fg, sColumn);
        const auto lNumber = Number(vWords.back());
        if (sVerb == "move") {
            if (!lNumber || *lNumber < 0 || *lNumber >= fg.Cols())
                throw CommandRefused(Say(HostText::NoColumnPosition, {vWords.back()}));
            if (!fg.UserMoveColumn(lCol, *lNumber) && *lNumber != lCol)
                return Say(HostText::ColumnFixed, {sColumn});
            return std::string{};
        }
        if (!lNumber || *lNumber < 0)
            throw CommandRefused(Say(HostText::WidthIsTwips, {vWords.back()}));
        if (!fg.UserResizeColumn(lCol, *lNumber))
            return Say(HostText::WidthFixed, {sColumn});
        return Say(HostText::ColumnWidth, {sColumn, std::to_string(fg.ColWidth(lCol))});
    }
    return std::nullopt;
}

} // namespace host
