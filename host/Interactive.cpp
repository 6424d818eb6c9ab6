#include "host/Interactive.h"

#include "host/AddInLibrary.h"
#include "host/HostSession.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"

#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>

namespace host {

namespace {

const char* const kHelp =
    "Commands: template NAME | refresh | expand | collapse | helpbtn | exit | <menu key> | "
    "show | quit\n";

std::string Trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// Clicks the menu item of the key, as the person would on the window's menu bar.
void ClickMenu(const AddInLibrary& oLibrary, const std::string& sKey, std::ostream& out)
{
    auto* pWindow = oLibrary.ReportWindow();
    auto* pBar =
        pWindow && pWindow->IsLoaded()
            ? dynamic_cast<platform::forms::MenuBar*>(pWindow->FindControl("MenuBar1").get())
            : nullptr;
    if (!pBar) {
        out << "The report window is not open.\n";
        return;
    }
    if (!pBar->Items().Find(sKey)) {
        out << "There is no menu command \"" << sKey << "\".\n";
        return;
    }
    if (!pBar->Click(sKey))
        out << "The menu command \"" << sKey << "\" is not available now.\n";
}

} // namespace

void RunInteractive(const AddInLibrary& oLibrary, std::istream& in, std::ostream& out)
{
    out << kHelp << "> " << std::flush;
    std::string sLine;
    while (std::getline(in, sLine)) {
        const std::string sCommand = Trim(sLine);
        if (sCommand == "quit")
            break;
        try {
            if (sCommand.rfind("template ", 0) == 0)
                SelectTemplate(oLibrary, Trim(sCommand.substr(9)));
            else if (sCommand == "help" || sCommand == "?")
                out << kHelp;
            else if (!sCommand.empty() && sCommand != "show")
                ClickMenu(oLibrary, sCommand, out);
            if (!sCommand.empty() && sCommand != "help" && sCommand != "?")
                PrintReportWindow(oLibrary, out);
        } catch (const std::exception& e) {
            out << "tallyman: " << e.what() << "\n";
        }
        out << "> " << std::flush;
    }
    out << "\n";
}

} // namespace host
