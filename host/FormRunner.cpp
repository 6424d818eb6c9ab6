#include "host/FormRunner.h"

#include "host/AnswerSource.h"
#include "host/FolderPaths.h"
#include "host/FormCommands.h"
#include "host/FormText.h"
#include "host/HostTexts.h"
#include "host/TextFit.h"
#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Driver.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"

#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

namespace host {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

// The first word, lower case, and the rest of the line.
std::pair<std::string, std::string> Split(const std::string& sLine)
{
    const auto blank = sLine.find_first_of(" \t");
    const std::string sVerb = rt::LCase(sLine.substr(0, blank));
    if (blank == std::string::npos)
        return {sVerb, {}};
    const auto rest = sLine.find_first_not_of(" \t", blank);
    return {sVerb, rest == std::string::npos ? std::string() : sLine.substr(rest)};
}

int Number(const std::string& s)
{
    std::size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(s, &used);
    } catch (const std::exception&) {
        throw CommandRefused(Say(HostText::NoNumber, {s}));
    }
    if (used != s.size())
        throw CommandRefused(Say(HostText::NoNumber, {s}));
    return n;
}

bool OnOff(const std::string& s)
{
    const std::string v = rt::LCase(s);
    // The dialog's own words answer it too, in either language.
    if (v == "on" || v == "yes" || v == "1" || v == "an" || v == "ja")
        return true;
    if (v == "off" || v == "no" || v == "0" || v == "aus" || v == "nein")
        return false;
    throw CommandRefused(Say(HostText::SayOnOff));
}

// One field command of the print dialog.
void PrintField(pf::PrintDialog& d, const std::string& sVerb, const std::string& sRest)
{
    if (sVerb == "printer") {
        if (std::find(d.printers.begin(), d.printers.end(), sRest) == d.printers.end())
            throw CommandRefused(Say(HostText::NoPrinter, {sRest}));
        d.SelectPrinter(sRest);
    } else if (sVerb == "copies") {
        d.copies = Number(sRest);
    } else if (sVerb == "collate") {
        d.collate = OnOff(sRest);
    } else if (sVerb == "range") {
        std::istringstream words(sRest);
        std::string sKind, sFrom, sTo;
        words >> sKind >> sFrom >> sTo;
        sKind = rt::LCase(sKind);
        if (sKind == "all" || sKind == "alle")
            d.range = pf::PrintRange::All;
        else if (sKind == "selection" || sKind == "auswahl")
            d.range = pf::PrintRange::Selection;
        else if (sKind == "pages" || sKind == "seiten") {
            d.range = pf::PrintRange::Pages;
            d.fromPage = Number(sFrom);
            d.toPage = Number(sTo.empty() ? sFrom : sTo);
        } else
            throw CommandRefused(Say(HostText::RangeIs));
    } else if (sVerb == "orientation") {
        const std::string v = rt::LCase(sRest);
        const bool bPortrait = v == "portrait" || v == "hochformat";
        if (!bPortrait && v != "landscape" && v != "querformat")
            throw CommandRefused(Say(HostText::OrientationIs));
        d.orientation = bPortrait ? 1 : 2;
    } else if (sVerb == "colour" || sVerb == "color") {
        const std::string v = rt::LCase(sRest);
        const bool bMono = v == "mono" || v == "einfarbig";
        if (!bMono && v != "colour" && v != "color" && v != "farbig")
            throw CommandRefused(Say(HostText::ColourIs));
        d.color = bMono ? 1 : 2;
    } else {
        static const std::map<std::string, int pf::PrintDialog::*> kNumbers = {
            {"paper", &pf::PrintDialog::paperSize},  {"length", &pf::PrintDialog::paperLength},
            {"width", &pf::PrintDialog::paperWidth}, {"source", &pf::PrintDialog::paperSource},
            {"quality", &pf::PrintDialog::quality},  {"scale", &pf::PrintDialog::scale}};
        const auto found = kNumbers.find(sVerb);
        if (found == kNumbers.end())
            throw CommandRefused(Say(HostText::NoPrintCommand, {sVerb}));
        d.*(found->second) = Number(sRest);
    }
}

// One command of a common dialog: true when it closes the dialog with OK.
bool DialogCommand(pf::CommonDialog& dialog, const std::string& sVerb, const std::string& sRest)
{
    if (auto* pFile = dynamic_cast<pf::FileDialog*>(&dialog)) {
        if (sVerb == "filter") {
            const int n = Number(sRest);
            if (n < 1 || n > static_cast<int>(pFile->GetRequest().filters.size()))
                throw CommandRefused(Say(HostText::NoFilter, {sRest}));
            pFile->SetFilterIndex(n - 1);
            return false;
        }
        if (sVerb != "file")
            throw CommandRefused(Say(HostText::AnswerFile));
        pFile->SetName(sRest);
    } else if (auto* pFolder = dynamic_cast<pf::FolderDialog*>(&dialog)) {
        if (sVerb != "folder")
            throw CommandRefused(Say(HostText::AnswerFolder));
        pFolder->SetPath(sRest);
    } else if (auto* pPrint = dynamic_cast<pf::PrintDialog*>(&dialog)) {
        if (sVerb != "ok") {
            PrintField(*pPrint, sVerb, sRest);
            return false;
        }
    }
    if (auto sWhy = dialog.Check())
        throw CommandRefused(*sWhy);
    return true;
}

// The answer a word names among a box's buttons, or 0.
int ButtonNamed(int buttons, const std::string& sWord)
{
    static const std::map<std::string, int> kWords = {{"ok", pf::vbOK},
                                                      {"cancel", pf::vbCancel},
                                                      {"abbrechen", pf::vbCancel},
                                                      {"abort", pf::vbAbort},
                                                      {"retry", pf::vbRetry},
                                                      {"wiederholen", pf::vbRetry},
                                                      {"ignore", pf::vbIgnore},
                                                      {"ignorieren", pf::vbIgnore},
                                                      {"yes", pf::vbYes},
                                                      {"ja", pf::vbYes},
                                                      {"no", pf::vbNo},
                                                      {"nein", pf::vbNo}};
    static const std::vector<std::vector<int>> kSets = {{pf::vbOK},
                                                        {pf::vbOK, pf::vbCancel},
                                                        {pf::vbAbort, pf::vbRetry, pf::vbIgnore},
                                                        {pf::vbYes, pf::vbNo, pf::vbCancel},
                                                        {pf::vbYes, pf::vbNo},
                                                        {pf::vbRetry, pf::vbCancel}};
    const auto found = kWords.find(rt::LCase(sWord));
    if (found == kWords.end())
        return 0;
    const auto& set = kSets[static_cast<std::size_t>(buttons & 7) % kSets.size()];
    const auto has = [&set](int answer) {
        return std::find(set.begin(), set.end(), answer) != set.end();
    };
    // A German box labels its Abort button "Abbrechen" too.
    if (found->second == pf::vbCancel && !has(pf::vbCancel) && has(pf::vbAbort))
        return pf::vbAbort;
    return has(found->second) ? found->second : 0;
}

} // namespace

FormRunner::FormRunner(AnswerSource& oAnswers, std::ostream& out, int nWidth)
    : m_oAnswers(oAnswers), m_out(out), m_nWidth(nWidth)
{
    auto& oDriver = pf::Driver::current();
    oDriver.SetModalRunner([this](pf::Form& form) { AnswerModal(form); });
    oDriver.SetMsgBoxRunner([this](const pf::MessageBoxRecord& box) { return AnswerMsgBox(box); });
    oDriver.SetDialogRunner([this](pf::CommonDialog& dialog) { return AnswerDialog(dialog); });
    oDriver.SetPopupRunner([this](const pf::MenuItem& menu) { return AnswerPopup(menu); });
}

FormRunner::~FormRunner()
{
    auto& oDriver = pf::Driver::current();
    oDriver.SetModalRunner({});
    oDriver.SetMsgBoxRunner({});
    oDriver.SetDialogRunner({});
    oDriver.SetPopupRunner({});
}

void FormRunner::AnswerModal(pf::Form& form)
{
    // Folders the person ticks are theirs once the picker takes them with OK; a picker
    // cancelled or left by the end of the input chose nothing.
    auto* pOK = form.Name() == "frmDialog"
                    ? dynamic_cast<pf::CommandButton*>(form.FindControl("cmdOK").get())
                    : nullptr;
    const struct TakenWithOK
    {
        pf::CommandButton* pButton;
        std::function<void()> fnOwn;
        ~TakenWithOK()
        {
            if (pButton)
                pButton->OnClick = fnOwn;
        }
    } oTaken{pOK, pOK ? pOK->OnClick : std::function<void()>()};
    if (pOK)
        pOK->OnClick = [this, fnOwn = oTaken.fnOwn] {
            if (fnOwn)
                fnOwn();
            NoteFoldersChosen();
        };
    m_out << "\n" << FormText(form, m_nWidth);
    const std::string sWaiting = Say(HostText::WaitingWindow, {form.Name()});
    while (form.IsLoaded() && form.Visible()) {
        const std::string sLine = m_oAnswers.Required(sWaiting);
        const auto [sVerb, sRest] = Split(sLine);
        if (sVerb == "show") {
            m_out << FormText(form, m_nWidth);
            continue;
        }
        if (sVerb == "help" || sVerb == "?") {
            m_out << FormCommandHelp();
            continue;
        }
        if (sVerb == "folder" && form.Name() == "frmDialog") {
            // The folder picker's tree by path, as --folder answers it.
            try {
                AnswerFolderPicker(form, {sRest});
                m_out << Say(HostText::DoneFolderPicked, {sRest}) << "\n";
            } catch (const std::exception& e) {
                m_oAnswers.Refuse(e.what());
            }
            continue;
        }
        const std::string sBefore = FormLines(form, m_nWidth);
        try {
            const std::string sDone = ApplyFormCommand(form, sLine);
            if (!form.IsLoaded() || !form.Visible()) {
                m_out << sDone << "\n";
                break;
            }
            const std::string sChanged =
                WrapText(ChangedLines(sBefore, FormLines(form, m_nWidth)), m_nWidth);
            m_out << (sChanged.empty() ? sDone + "\n" : sChanged);
        } catch (const CommandRefused& e) {
            m_oAnswers.Refuse(e.what());
        }
    }
}

int FormRunner::AnswerMsgBox(const pf::MessageBoxRecord& box)
{
    m_out << "\n" << MessageBoxText(box, m_nWidth);
    if (!pf::IsQuestion(box.buttons))
        return pf::vbOK;
    while (true) {
        const std::string sLine = m_oAnswers.Required(Say(HostText::WaitingQuestion, {box.prompt}));
        if (const int answer = ButtonNamed(box.buttons, sLine))
            return answer;
        m_oAnswers.Refuse(Say(HostText::AnswerButtons, {MessageBoxButtons(box.buttons)}));
    }
}

bool FormRunner::AnswerDialog(pf::CommonDialog& dialog)
{
    m_out << "\n" << DialogText(dialog, m_nWidth);
    while (true) {
        const std::string sLine = m_oAnswers.Required(Say(HostText::WaitingDialog, {dialog.Title()}));
        const auto [sVerb, sRest] = Split(sLine);
        if (sVerb == "cancel")
            return false;
        if (sVerb == "show" || sVerb == "help") {
            m_out << DialogText(dialog, m_nWidth);
            continue;
        }
        try {
            if (DialogCommand(dialog, sVerb, sRest))
                return true;
            m_out << "ok\n";
        } catch (const CommandRefused& e) {
            m_oAnswers.Refuse(e.what());
        } catch (const rt::Error& e) {
            m_oAnswers.Refuse(e.Description());
        }
    }
}

std::string FormRunner::AnswerPopup(const pf::MenuItem& menu)
{
    m_out << "\n" << PopupText(menu, m_nWidth);
    while (true) {
        const std::string sLine = m_oAnswers.Required(Say(HostText::WaitingMenu, {menu.Key()}));
        const auto [sVerb, sRest] = Split(sLine);
        if (sVerb == "dismiss" || sVerb == "cancel" || sVerb == "escape")
            return {};
        if (sVerb == "pick")
            for (const auto& oItem : menu.Children())
                if (rt::LCase(oItem->Key()) == rt::LCase(sRest) && oItem->Visible() &&
                    oItem->Enabled() && !oItem->IsSeparator())
                    return oItem->Key();
        m_oAnswers.Refuse(Say(HostText::AnswerPopup));
    }
}

} // namespace host
