// The action settings dialog: storing the controls into the working copy, with the checks
// that keep a setting from failing later when the report is saved or mailed.
#include "dialogs/frmAction.h"

#include "actions/Action.h"
#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLabelControls.h"
#include "dialogs/detail/DialogSupport.h"
#include "platform/forms/Driver.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Utf8.h"
#include "views/ViewSettings.h"

#include <filesystem>
#include <system_error>

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

constexpr const char* kModule = "frmAction";
constexpr long kMsgFileName = 70;
constexpr long kMsgFileNameControl = 71;
constexpr long kMsgFolder = 80;
constexpr long kMsgFolderControl = 81;
constexpr long kMsgFileMissing = 90;
constexpr long kMsgNoMailTemplate = 100;
constexpr long kMsgNoHtmlTemplate = 120;
constexpr long kAskDefaultTemplate = 130;
constexpr int kYesNoQuestion = 4 + 32;
constexpr const char* kInvalidChars = "/ \\ : ? \"\" < > |";

bool FileExists(const std::string& sPath)
{
    std::error_code ec;
    return !sPath.empty() && std::filesystem::is_regular_file(sPath, ec);
}

bool HasInvalidFileNameChars(const std::string& sName)
{
    return sName.find_first_of("/\\:?\"<>|") != std::string::npos;
}

// Refuses a name that holds a character no file or folder name can hold (a control character,
// bytes that are not UTF-8): the save would otherwise write, mail and print under that name.
void RefuseControlCharacters(const std::string& sName, long lMessage)
{
    if (const auto oFound = rt::FirstNameRefusedCharacter(sName))
        detail::RaiseOwn(lMessage, {oFound->shown});
}

void SetFocusSafe(pf::TextBox* pBox)
{
    if (!pBox)
        return;
    rt::ResumeNext ignore;
    ignore([&] { pBox->SetFocus(); });
}

} // namespace

void frmAction::StoreSaveSettings()
{
    m_pFocusTarget = nullptr;
    try {
        common::Rethrowing(kModule, "StoreSaveSettings", [&](int& nLine) {
            auto& oSave = Save();
            nLine = 1;
            oSave.SetAutoExecute(m_chkAutoExecute[0]->Value() == 1);
            oSave.SetAction(m_optAutoSave[1]->Value() ? 0 : 1);
            oSave.SetPath(rt::Trim(m_txtSavePath->Text()));
            oSave.SetReportFormat(GetReportFormatByListindex(m_cboFormat->ListIndex()));
            oSave.SetFilename(rt::Trim(m_txtFileName->Text()));
            if (const int lIndex = m_cboFileExist->ListIndex(); lIndex >= 0)
                oSave.SetReportExists(lIndex == 0 ? 0 : lIndex + 1);
            nLine = 7;
            oSave.SetPrintHeader(m_chkPrintHeader->Value() != 0);
            oSave.SetPrintSubtotals(m_chkPrintTotal->Value() != 0);
            oSave.SetPrintSubtotalsOnly(m_chkExportTotalsOnly->Value() != 0);
            nLine = 8;
            StoreSaveTemplate();
            nLine = 9;
            if (oSave.Action() == 1) {
                m_pFocusTarget = m_txtSavePath.get();
                if (oSave.Path().empty())
                    detail::RaiseOwn(kMsgFolder, {kInvalidChars});
                m_pFocusTarget = m_txtFileName.get();
                if (oSave.Filename().empty())
                    detail::RaiseOwn(kMsgFileName, {kInvalidChars});
            }
            nLine = 10;
            m_pFocusTarget = m_txtFileName.get();
            if (HasInvalidFileNameChars(oSave.Filename()))
                detail::RaiseOwn(kMsgFileName, {kInvalidChars});
            RefuseControlCharacters(oSave.Filename(), kMsgFileNameControl);
            m_pFocusTarget = m_txtSavePath.get();
            RefuseControlCharacters(oSave.Path(), kMsgFolderControl);
        });
    } catch (...) {
        SetFocusSafe(m_pFocusTarget);
        throw;
    }
}

void frmAction::StoreSaveTemplate()
{
    auto& oSave = Save();
    switch (oSave.ReportFormat()) {
    case 1: {
        oSave.SetReportTemplate(rt::Trim(m_txtReportTemplate->Text()));
        if (oSave.ReportTemplate().empty()) {
            const std::string sAsk = detail::MessageText(kAskDefaultTemplate);
            if (pf::MsgBox(sAsk, kYesNoQuestion, detail::AppTitle()) == pf::vbYes)
                oSave.SetDefaultHTMLTemplate();
        }
        oSave.SetTemplateExcelFirstCell({});
        m_pFocusTarget = m_txtReportTemplate.get();
        RefuseControlCharacters(oSave.ReportTemplate(), kMsgFileNameControl);
        if (!FileExists(oSave.ReportTemplate()))
            detail::RaiseOwn(kMsgNoHtmlTemplate);
        break;
    }
    case 2:
    case 4:
    case 5:
        oSave.SetReportTemplate(rt::Trim(m_txtReportTemplate->Text()));
        oSave.SetTemplateExcelFirstCell(rt::Trim(m_txtFirstExcelCell->Text()));
        if (!oSave.ReportTemplate().empty()) {
            m_pFocusTarget = m_txtReportTemplate.get();
            RefuseControlCharacters(oSave.ReportTemplate(), kMsgFileNameControl);
            if (!FileExists(oSave.ReportTemplate()))
                detail::RaiseOwn(kMsgFileMissing, {oSave.ReportTemplate()});
        }
        break;
    default:
        oSave.SetReportTemplate({});
        oSave.SetTemplateExcelFirstCell({});
        break;
    }
}

void frmAction::StoreOpenSettings()
{
    common::Rethrowing(kModule, "StoreOpenSettings", [&] {
        Open().SetAutoExecute(m_chkAutoExecute[1]->Value() == 1);
        Open().SetEditor(m_cboOpenWithApp->ItemData(m_cboOpenWithApp->ListIndex()));
    });
}

void frmAction::StoreSendSettings()
{
    // A refused template leaves the focus in its field, to mend it.
    try {
        StoreSendTemplate();
    } catch (...) {
        SetFocusSafe(m_txtMailTemplate.get());
        throw;
    }
}

void frmAction::StoreSendTemplate()
{
    common::Rethrowing(kModule, "StoreSendSettings", [&] {
        auto& oSend = Send();
        oSend.SetAutoExecute(m_chkAutoExecute[2]->Value() == 1);
        oSend.SetMailAction(m_optMail[0]->Value() ? 1 : 0);
        const std::string sTemplate = rt::Trim(m_txtMailTemplate->Text());
        if (!sTemplate.empty()) {
            RefuseControlCharacters(sTemplate, kMsgFileNameControl);
            if (!FileExists(sTemplate))
                detail::RaiseOwn(kMsgFileMissing, {sTemplate});
            oSend.SetMailTemplate(sTemplate);
        } else {
            if (oSend.MailAction() == 1)
                detail::RaiseOwn(kMsgNoMailTemplate);
            oSend.SetMailTemplate({});
        }
    });
}

void frmAction::StorePrintSettings()
{
    common::Rethrowing(kModule, "StorePrintSettings", [&] {
        Print().SetAutoExecute(m_chkAutoExecute[3]->Value() == 1);
        Print().SetPrintAction(m_optPrint[0]->Value() ? 1 : 0);
    });
}

void frmAction::StoreDeleteSettings()
{
    // Its own handler: a failure here is shown and OK carries on.
    common::Logging(
        kModule, "StoreDeleteSettings",
        [&] { Delete().SetAutoExecute(m_chkAutoExecute[4]->Value() == 1); }, detail::ShowError);
}

} // namespace dialogs
