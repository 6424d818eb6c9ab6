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

std::vector<std::string> Words(const std::string& sLine)
{
    std::istringstream in(sLine);
    std::vector<std::string> v;
    for (std::string s; in >> s;)
        v.push_back(s);
    return v;
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

// The shown row's texts, as the person reads them on the current row.
std::string RowText(const pf::FlexGrid& fg, int lRow)
{
    std::string s = Say(HostText::RowLine, {std::to_string(lRow)});
    const char* sSeparator = " ";
    for (int c = 0; c < fg.Cols(); ++c) {
        if (fg.ColHidden(c) || fg.TextMatrix(lRow, c).empty())
            continue;
        s += sSeparator + fg.TextMatrix(lRow, c);
        sSeparator = " | ";
    }
    return s;
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

// A row by its number or by the start of its caption (letter case ignored), as the grid shows
// it; a group row first when a text fits several rows.
int RowNamed(const pf::FlexGrid& fg, const std::string& sRow)
{
    if (Number(sRow))
        return DataRow(fg, sRow);
    const std::string sWanted = rt::LCase(sRow);
    const int c = FirstShownCol(fg);
    int lItem = -1;
    for (int r = fg.FixedRows(); r < fg.Rows(); ++r) {
        if (rt::LCase(fg.TextMatrix(r, c)).rfind(sWanted, 0) != 0)
            continue;
        if (fg.IsSubtotal(r))
            return r;
        if (lItem < 0)
            lItem = r;
    }
    if (lItem < 0)
        throw CommandRefused(Say(HostText::NoRowBegins, {sRow}));
    return lItem;
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

// A row's texts, or one cell's, whole: the table cuts what does not fit its columns.
std::string WholeRow(const pf::FlexGrid& fg, const std::vector<std::string>& vWords)
{
    const int lRow = RowNamed(fg, vWords[1]);
    if (vWords.size() == 2)
        return RowText(fg, lRow);
    std::string sColumn;
    for (std::size_t i = 2; i < vWords.size(); ++i)
        sColumn += (i == 2 ? "" : " ") + vWords[i];
    const int lCol = Column(fg, sColumn);
    return Say(HostText::RowCell,
               {std::to_string(lRow), fg.TextMatrix(0, lCol), fg.TextMatrix(lRow, lCol)});
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
    const auto vWords = Words(sCommand);
    if (vWords.empty())
        return std::nullopt;
    const std::string& sVerb = vWords[0];
    if (sVerb == "find" && vWords.size() > 1)
        return Find(oWindow, fg, sCommand.substr(sCommand.find(sVerb) + sVerb.size() + 1));
    if (sVerb == "row" && vWords.size() == 2) {
        const int lRow = DataRow(fg, vWords[1]);
        fg.UserClick(lRow, std::max(fg.Col(), 0));
        return RowText(fg, fg.Row());
    }
    if ((sVerb == "collapse" || sVerb == "expand") && vWords.size() > 1)
        return ToggleGroup(fg, sCommand.substr(sCommand.find(sVerb) + sVerb.size() + 1),
                           sVerb == "expand");
    if (sVerb == "whole" && vWords.size() > 1)
        return WholeRow(fg, vWords);
    if (sVerb == "open" && vWords.size() <= 2)
        return OpenRow(fg, vWords);
    if (sVerb == "menu" && vWords.size() == 2)
        return ShowMenu(oWindow, fg, vWords[1]);
    if (sVerb == "selectall" && vWords.size() == 1) {
        fg.UserKeyDown(kKeyA, kCtrl);
        return Say(HostText::SelectedRows, {std::to_string(fg.SelectedRows())});
    }
    if (sVerb == "move" && vWords.size() == 3) {
        const int lCol = Column(fg, vWords[1]);
        const auto lPos = Number(vWords[2]);
        if (!lPos || *lPos < 0 || *lPos >= fg.Cols())
            throw CommandRefused(Say(HostText::NoColumnPosition, {vWords[2]}));
        if (!fg.UserMoveColumn(lCol, *lPos) && *lPos != lCol)
            return Say(HostText::ColumnFixed, {vWords[1]});
        return std::string{};
    }
    if (sVerb == "width" && vWords.size() == 3) {
        const int lCol = Column(fg, vWords[1]);
        const auto lTwips = Number(vWords[2]);
        if (!lTwips || *lTwips < 0)
            throw CommandRefused(Say(HostText::WidthIsTwips, {vWords[2]}));
        if (!fg.UserResizeColumn(lCol, *lTwips))
            return Say(HostText::WidthFixed, {vWords[1]});
        return Say(HostText::ColumnWidth, {vWords[1], std::to_string(fg.ColWidth(lCol))});
    }
    return std::nullopt;
}

} // namespace host
