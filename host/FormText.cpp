#include "host/FormText.h"

#include "host/HostTexts.h"
#include "host/TextFit.h"
#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/Variant.h"

#include <array>
#include <sstream>
#include <vector>

namespace host {

namespace pf = platform::forms;

namespace {

constexpr int kIndentStep = 2;

std::string Quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

// A text of several lines on one line of the screen, each line break shown as "⏎".
std::string OnOneLine(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            out += "⏎";
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string Lines(const std::vector<std::string>& lines, int width)
{
    std::string out;
    for (const auto& line : lines)
        out += WrapText(line, width);
    return out;
}

std::string ComboValue(const pf::ComboBox& combo)
{
    std::string s = Say(HostText::ComboOf, {Quoted(combo.Text())});
    for (int i = 0; i < combo.ListCount(); ++i)
        s += (i == combo.ListIndex() ? " [" : " ") + combo.List(i) +
             (i == combo.ListIndex() ? "]" : "") + (i + 1 < combo.ListCount() ? " |" : "");
    return s;
}

// The part of a control's line after its name and kind.
std::string ControlValue(const pf::Control& control)
{
    if (auto* text = dynamic_cast<const pf::TextBox*>(&control))
        return Quoted(OnOneLine(text->Text()));
    if (auto* combo = dynamic_cast<const pf::ComboBox*>(&control))
        return ComboValue(*combo);
    if (auto* check = dynamic_cast<const pf::CheckBox*>(&control)) {
        static const std::array<const char*, 3> kBoxes = {"[ ]", "[x]", "[-]"};
        return std::string(kBoxes[static_cast<std::size_t>(check->Value())]) + " " +
               Quoted(check->Caption());
    }
    if (auto* option = dynamic_cast<const pf::OptionButton*>(&control))
        return std::string(option->Value() ? "(o) " : "( ) ") + Quoted(option->Caption());
    if (auto* picker = dynamic_cast<const pf::DTPicker*>(&control))
        return platform::runtime::Format(platform::runtime::Variant(picker->Value()),
                                         "Short Date") +
               (picker->Checked ? "" : Say(HostText::DateUnchecked));
    if (auto* bar = dynamic_cast<const pf::ProgressBar*>(&control)) {
        std::ostringstream value, max;
        value << bar->Value();
        max << bar->Max();
        return Say(HostText::ProgressOf, {value.str(), max.str()});
    }
    if (auto* button = dynamic_cast<const pf::CommandButton*>(&control))
        return Quoted(button->Caption()) + (button->Default ? " (Enter)" : "") +
               (button->Cancel ? " (Escape)" : "");
    if (auto* grid = dynamic_cast<const pf::GridControl*>(&control))
        return Say(HostText::GridRowCount,
                   {std::to_string(grid->Grid().Rows() - grid->Grid().FixedRows())});
    if (control.HasCaption())
        return Quoted(control.Caption());
    return {};
}

bool Shown(const pf::Control& control)
{
    // Timers, menu and tool bars and image lists have no place in a dialog's text.
    if (dynamic_cast<const pf::Timer*>(&control) || dynamic_cast<const pf::MenuBar*>(&control))
        return false;
    const std::string kind = control.TypeName();
    return control.Visible() && kind != "ImageList" && kind != "ToolBar";
}

std::string CheckMark(const pf::FlexGrid& grid, int row)
{
    for (int c = 0; c < grid.Cols(); ++c) {
        switch (grid.CellChecked(row, c)) {
        case pf::CheckState::Checked:
        case pf::CheckState::TreeChecked:
            return "[x] ";
        case pf::CheckState::Unchecked:
        case pf::CheckState::TreeUnchecked:
            return "[ ] ";
        case pf::CheckState::None:
            break;
        }
    }
    return {};
}

bool HasChildren(const pf::FlexGrid& grid, int row)
{
    return row + 1 < grid.Rows() && grid.RowOutlineLevel(row + 1) > grid.RowOutlineLevel(row);
}

} // namespace

std::string GridRowsText(const pf::FlexGrid& grid, int width)
{
    std::vector<int> cols;
    for (int c = 0; c < grid.Cols(); ++c)
        if (!grid.ColHidden(c))
            cols.push_back(c);
    std::vector<std::string> lines;
    for (int r = 0; r < grid.Rows(); ++r) {
        const bool header = r < grid.FixedRows();
        if (!header && !grid.RowIsVisible(r))
            continue;
        std::string line =
            header ? "      " : PadText(std::to_string(r), 4) + (grid.IsSelected(r) ? "* " : "  ");
        if (!header) {
            const int level = std::max(grid.RowOutlineLevel(r), 0);
            line += std::string(static_cast<std::size_t>(level * kIndentStep), ' ');
            if (grid.IsSubtotal(r) || HasChildren(grid, r))
                line += grid.IsCollapsed(r) == pf::OutlineState::Expanded ? "[-] " : "[+] ";
            line += CheckMark(grid, r);
        }
        for (std::size_t i = 0; i < cols.size(); ++i)
            line += (i == 0 ? "" : " | ") + grid.TextMatrix(r, cols[i]);
        lines.push_back(line);
    }
    return Lines(lines, width);
}

namespace {

std::vector<std::string> ControlLines(const pf::Form& form, int width)
{
    std::vector<std::string> lines{"== " + form.Name() + ": " + form.Caption() + " =="};
    std::string grids;
    for (const auto& control : form.Controls()) {
        if (!Shown(*control))
            continue;
        std::string line = "  " + PadText(control->Name(), 16) + " " +
                           PadText(control->TypeName(), 13) + " " + ControlValue(*control);
        if (!control->Enabled())
            line += Say(HostText::Disabled);
        lines.push_back(line);
        if (auto* grid = dynamic_cast<const pf::GridControl*>(control.get())) {
            std::istringstream rows(GridRowsText(grid->Grid(), width - 4));
            for (std::string row; std::getline(rows, row);)
                lines.push_back("    " + row);
        }
    }
    return lines;
}

} // namespace

std::string FormText(const pf::Form& form, int width)
{
    return Lines(ControlLines(form, width), width);
}

std::string FormLines(const pf::Form& form, int width)
{
    std::string out;
    for (const auto& line : ControlLines(form, width))
        out += line + "\n";
    return out;
}

std::string MessageBoxButtons(int buttons)
{
    static const std::array<const char*, 6> kSets = {
        "OK",       "OK | Cancel",   "Abort | Retry | Ignore", "Yes | No | Cancel",
        "Yes | No", "Retry | Cancel"};
    // The buttons as a German box labels them; either word answers the box.
    static const std::array<const char*, 6> kGermanSets = {
        "OK",       "OK | Abbrechen",          "Abbrechen | Wiederholen | Ignorieren",
        "Ja | Nein | Abbrechen", "Ja | Nein", "Wiederholen | Abbrechen"};
    const auto& sets = TextsAreGerman() ? kGermanSets : kSets;
    return sets[static_cast<std::size_t>(buttons & 7) % sets.size()];
}

std::string MessageBoxText(const pf::MessageBoxRecord& box, int width)
{
    std::vector<std::string> lines{
        "== " + (box.title.empty() ? Say(HostText::MessageTitle) : box.title) + " =="};
    std::istringstream prompt(box.prompt);
    for (std::string line; std::getline(prompt, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back("  " + line);
    }
    lines.push_back("  [" + MessageBoxButtons(box.buttons) + "]");
    return Lines(lines, width);
}

std::string DialogText(const pf::CommonDialog& dialog, int width)
{
    std::vector<std::string> lines{"== " + dialog.Title() + " =="};
    if (auto* file = dynamic_cast<const pf::FileDialog*>(&dialog)) {
        const auto& request = file->GetRequest();
        lines.push_back("  " + Say(HostText::DialogFolder) + " " + request.initialFolder);
        lines.push_back("  " + Say(HostText::DialogName) + " " + file->Name());
        for (std::size_t i = 0; i < request.filters.size(); ++i)
            lines.push_back(
                std::string(static_cast<int>(i) == file->FilterIndex() ? "  * " : "    ") +
                std::to_string(i + 1) + " " + pf::FilterLabel(request.filters[i]));
        lines.push_back("  " + Say(HostText::DialogAnswerFile));
    } else if (auto* folder = dynamic_cast<const pf::FolderDialog*>(&dialog)) {
        lines.push_back("  " + folder->GetRequest().prompt);
        lines.push_back("  " + Say(HostText::DialogFolder) + " " +
                        folder->GetRequest().initialFolder);
        lines.push_back("  " + Say(HostText::AnswerFolderDialog));
    } else if (auto* print = dynamic_cast<const pf::PrintDialog*>(&dialog)) {
        std::string printers = "  " + Say(HostText::DialogPrinters);
        for (const auto& name : print->printers)
            printers +=
                (name == print->printer ? " [" : " ") + name + (name == print->printer ? "]" : "");
        lines.push_back(printers);
        static const std::array kRanges = {HostText::RangeAll, HostText::RangeSelection,
                                           HostText::RangePages};
        std::string range = Say(kRanges[static_cast<std::size_t>(print->range)]);
        if (print->range == pf::PrintRange::Pages)
            range += " " + std::to_string(print->fromPage) + "-" + std::to_string(print->toPage);
        lines.push_back("  " +
                        Say(HostText::PrintCopiesLine,
                            {std::to_string(print->copies),
                             Say(print->collate ? HostText::WordOn : HostText::WordOff), range}));
        lines.push_back(
            "  " +
            Say(HostText::PrintPageLine,
                {Say(print->orientation == 2 ? HostText::WordLandscape : HostText::WordPortrait),
                 std::to_string(print->paperSize), std::to_string(print->paperWidth),
                 std::to_string(print->paperLength), std::to_string(print->paperSource),
                 Say(print->color == 1 ? HostText::WordMono : HostText::WordColour),
                 std::to_string(print->quality), std::to_string(print->scale)}));
        lines.push_back("  " + Say(HostText::AnswerPrintDialog));
    }
    return Lines(lines, width);
}

std::string PopupText(const pf::MenuItem& menu, int width)
{
    std::vector<std::string> lines{"== " + Say(HostText::PopupTitle, {menu.Key()}) + " =="};
    for (const auto& item : menu.Children()) {
        if (!item->Visible())
            continue;
        if (item->IsSeparator()) {
            lines.push_back("  ----");
            continue;
        }
        lines.push_back("  " + PadText(item->Key(), 20) + " " + item->Caption() +
                        (item->Enabled() ? "" : Say(HostText::Disabled)));
    }
    lines.push_back("  " + Say(HostText::AnswerMenu));
    return Lines(lines, width);
}

} // namespace host
