#include "host/Interactive.h"

#include "host/AddInLibrary.h"
#include "host/AnswerSource.h"
#include "host/FormCommands.h"
#include "host/GridCommands.h"
#include "host/HostSession.h"
#include "host/HostTexts.h"
#include "host/ItemWindows.h"
#include "host/MailboxCommands.h"
#include "host/TextFit.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/forms/ToolBar.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

namespace pf = platform::forms;

namespace {

pf::Form* OpenWindow(const AddInLibrary& oLibrary)
{
    auto* pWindow = oLibrary.ReportWindow();
    return pWindow && pWindow->IsLoaded() ? pWindow : nullptr;
}

template <class T> T* FindOn(pf::Form* pWindow)
{
    if (!pWindow)
        return nullptr;
    for (const auto& oControl : pWindow->Controls())
        if (auto* p = dynamic_cast<T*>(oControl.get()))
            return p;
    return nullptr;
}

std::string WithoutAccelerator(std::string s)
{
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    return s;
}

void ListMenuItems(const pf::MenuItem& oItem, int nDepth, std::vector<std::string>& vLines)
{
    if (!oItem.Visible())
        return;
    const std::string sIndent(static_cast<std::size_t>(2 + 2 * nDepth), ' ');
    if (oItem.IsSeparator()) {
        vLines.push_back(sIndent + "----");
        return;
    }
    const std::string sName = PadText(sIndent + WithoutAccelerator(oItem.Caption()), 34);
    vLines.push_back(sName + " " + PadText(oItem.Children().empty() ? oItem.Key() : "", 18) +
                     (oItem.Enabled() ? "" : Say(HostText::Disabled)));
    for (const auto& oChild : oItem.Children())
        ListMenuItems(*oChild, nDepth + 1, vLines);
}

std::string MenuText(const AddInLibrary& oLibrary, int nWidth)
{
    auto* pWindow = OpenWindow(oLibrary);
    if (!pWindow)
        return Say(HostText::WindowNotOpen) + "\n";
    std::vector<std::string> vLines;
    if (auto* pBar = FindOn<pf::MenuBar>(pWindow)) {
        vLines.push_back(Say(HostText::MenuBarLine) +
                         (pBar->Enabled() ? "" : Say(HostText::Disabled)));
        for (const auto& oMenu : pBar->Items().TopLevel())
            ListMenuItems(*oMenu, 0, vLines);
    }
    if (auto* pTools = FindOn<pf::ToolBar>(pWindow)) {
        vLines.push_back(Say(HostText::ToolBarLine) +
                         (pTools->Enabled() ? "" : Say(HostText::Disabled)));
        for (const auto& oButton : pTools->Buttons())
            if (oButton->Visible() && oButton->Kind() == pf::ButtonKind::Button)
                vLines.push_back("  " + PadText(oButton->ToolTipText(), 32) + " " +
                                 PadText(oButton->Key(), 18) +
                                 (oButton->Enabled() ? "" : Say(HostText::Disabled)));
    }
    std::string out;
    for (auto line : vLines) {
        line.erase(line.find_last_not_of(' ') + 1);
        out += WrapText(line, nWidth);
    }
    return out;
}

// Why the window has switched a command off: the report commands need rows, the delete of the
// report file a file saved before.
std::string WhyNotNow(const AddInLibrary& oLibrary, const std::string& sKey)
{
    if (sKey == "deletereport")
        return Say(HostText::ReasonNotSaved);
    const auto* pGrid = oLibrary.ReportGrid();
    if (oLibrary.ReportProgress().second == 0 || (pGrid && pGrid->Rows() <= pGrid->FixedRows()))
        return Say(HostText::ReasonNoRows);
    return Say(HostText::ReasonDisabled);
}

// Clicks the menu item or tool bar button of the key, as the person would. Raises
// CommandRefused when the window has no such command or it cannot be clicked now.
void RunCommandKey(const AddInLibrary& oLibrary, const std::string& sKey)
{
    auto* pWindow = OpenWindow(oLibrary);
    if (!pWindow)
        throw CommandRefused(Say(HostText::WindowNotOpen));
    auto* pBar = FindOn<pf::MenuBar>(pWindow);
    if (pBar && pBar->Items().Find(sKey)) {
        if (!pBar->Click(sKey))
            throw CommandRefused(Say(HostText::MenuNotNow, {sKey, WhyNotNow(oLibrary, sKey)}));
        return;
    }
    auto* pTools = FindOn<pf::ToolBar>(pWindow);
    if (pTools)
        for (const auto& oButton : pTools->Buttons())
            if (oButton->Key() == sKey) {
                if (!pTools->Click(sKey))
                    throw CommandRefused(
                        Say(HostText::ToolNotNow, {sKey, WhyNotNow(oLibrary, sKey)}));
                return;
            }
    throw CommandRefused(Say(HostText::NoMenuCommand, {sKey}));
}

// A command of the report grid (see GridCommandHelp), or nothing for another command.
std::optional<std::string> RunGridCommand(const AddInLibrary& oLibrary, const std::string& sCommand)
{
    auto* pWindow = OpenWindow(oLibrary);
    auto* pGrid = pWindow ? oLibrary.ReportGrid() : nullptr;
    if (!pGrid)
        return std::nullopt;
    return ApplyGridCommand(*pWindow, *pGrid, sCommand);
}

void ClickToolbar(const ClientButtons& oClient)
{
    if (!oClient.fnClickToolbar)
        throw CommandRefused(Say(HostText::NoToolbar));
    oClient.fnClickToolbar();
}

// "template" and a name of the window's list other than the current one.
std::string TemplateExample(const AddInLibrary& oLibrary)
{
    auto* pWindow = OpenWindow(oLibrary);
    auto* pList =
        pWindow ? dynamic_cast<pf::ComboBox*>(pWindow->FindControl("cboTemplate").get()) : nullptr;
    for (int i = 0; pList && i < pList->ListCount(); ++i)
        if (i != pList->ListIndex())
            return "template " + pList->List(i);
    return "template NAME";
}

// Where the save put the report (a relative name lands in the working folder), or that it wrote
// nothing: the dialog cancelled, the save failed (its message box said why).
std::string SaveReply(const AddInLibrary& oLibrary)
{
    const std::string sFile = oLibrary.ReportExported();
    if (sFile.empty())
        return Say(HostText::NotSaved);
    return Say(HostText::SavedAs, {std::filesystem::absolute(sFile).lexically_normal().string()});
}

std::string WindowText(const AddInLibrary& oLibrary, int nWidth)
{
    std::ostringstream out;
    PrintReportWindow(oLibrary, out, nWidth);
    return out.str();
}

} // namespace

bool RunInteractive(const AddInLibrary& oLibrary, AnswerSource& oAnswers, std::ostream& out,
                    int nWidth, const ClientButtons& oClient)
{
    out << Say(HostText::TypeHelp) << "\n";
    // What happened meanwhile (a print that failed after it was sent) is told after every
    // command, whatever it was and however it ended: one that only shows, one refused, quit.
    struct LaterNews
    {
        const std::function<std::string()>& fnNews;
        std::ostream& out;
        int nWidth;
        ~LaterNews()
        {
            if (fnNews)
                out << WrapText(fnNews(), nWidth);
        }
    };
    while (auto oLine = oAnswers.Next()) {
        const LaterNews oNews{oClient.fnLaterNews, out, nWidth};
        const std::string sCommand = *oLine;
        if (sCommand == "quit")
            return true;
        if (sCommand == "help" || sCommand == "?") {
            out << WrapText(Say(HostText::WindowHelp) + MailboxCommandHelp() +
                                ItemWindows::CommandHelp() + Say(HostText::GridHelpTitle) + "\n" +
                                GridCommandHelp(),
                            nWidth);
            continue;
        }
        if (sCommand == "show") {
            out << WindowText(oLibrary, nWidth);
            continue;
        }
        if (sCommand == "menu") {
            out << MenuText(oLibrary, nWidth);
            continue;
        }
        if (sCommand == "template") {
            // The window's help names the form and its example.
            oAnswers.Refuse(Say(HostText::CommandTakes,
                                {"template", "template NAME", TemplateExample(oLibrary)}));
            continue;
        }
        const std::string sBefore = WindowText(oLibrary, nWidth);
        const bool bWasOpen = OpenWindow(oLibrary) != nullptr;
        if (oClient.fnCommandStarts)
            oClient.fnCommandStarts();
        std::string sReply;
        try {
            if (sCommand.rfind("template ", 0) == 0)
                SelectTemplate(oLibrary, sCommand.substr(9));
            else if (sCommand == "report")
                oClient.fnClickReportButton();
            else if (sCommand == "toolbar")
                ClickToolbar(oClient);
            else if (auto oReply = RunGridCommand(oLibrary, sCommand))
                sReply = *oReply;
            else if (auto oMailbox = RunMailboxCommand(sCommand))
                sReply = *oMailbox;
            else if (auto oMail = oClient.fnItemWindowCommand
                                      ? oClient.fnItemWindowCommand(sCommand)
                                      : std::nullopt)
                sReply = *oMail;
            else {
                if (sCommand == "remove_folder" && oClient.fnFoldersChosen)
                    oClient.fnFoldersChosen();
                RunCommandKey(oLibrary, sCommand);
                if (sCommand == "saveas")
                    sReply = SaveReply(oLibrary);
            }
        } catch (const CommandRefused& e) {
            oAnswers.Refuse(e.what());
            continue;
        } catch (const std::exception& e) {
            oAnswers.Refuse(std::string("tallyman: ") + e.what());
            continue;
        }
        // The item windows the command opened, as they stand now that it has run.
        if (oClient.fnItemWindows)
            out << oClient.fnItemWindows();
        out << WrapText(sReply, nWidth);
        if (bWasOpen && !OpenWindow(oLibrary)) {
            // Closing the window is no failure: say what became of the view.
            out << WrapText(oClient.fnWindowClosed ? oClient.fnWindowClosed()
                                                   : Say(HostText::WindowClosed),
                            nWidth);
            continue;
        }
        const std::string sChanged = ChangedLines(sBefore, WindowText(oLibrary, nWidth));
        out << (sChanged.empty() && sReply.empty() ? "ok\n" : sChanged);
    }
    // The end of the input ends the run as quit does: the window stays open, its view unsaved.
    // After exit closed the window nothing was left undone.
    if (!OpenWindow(oLibrary))
        return true;
    out << WrapText(Say(HostText::EndedViewNotKept), nWidth);
    return false;
}

} // namespace host
