// The action settings dialog: loading the controls from the working copy, the value maps and
// the enabling rules.
#include "dialogs/frmAction.h"

#include "actions/Action.h"
#include "actions/ReportFormats.h"
#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "common/modOLVersion.h"
#include "dialogs/detail/DialogSupport.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "views/ViewSettings.h"

#include <array>
#include <vector>

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {

constexpr const char* kModule = "frmAction";
constexpr int kGroupedFormatsVersion = 12;
constexpr long kFirstEditorText = 2205;

using enum actions::ReportFormats;

bool IsWorkbook(std::int32_t lFormat)
{
    return lFormat == kXls || lFormat == kXlsx || lFormat == kXlsm;
}

// The format list's entries in order, by the client's version.
const std::vector<std::int32_t>& FormatsOfList()
{
    static const std::vector<std::int32_t> aOld = {kHtml, kXls, kCsv};
    static const std::vector<std::int32_t> aNew = {kHtml, kXlsx, kXlsm, kXls, kCsv};
    return common::modOLVersion::GetOutlookVersion() < kGroupedFormatsVersion ? aOld : aNew;
}

// The if-exists list's entries in order; a stored 1 (append) is not offered.
constexpr std::array<std::int32_t, 4> kExistsRules = {0, 2, 3, 4};

int Checked(bool b)
{
    return b ? 1 : 0;
}

} // namespace

std::int32_t frmAction::GetReportFormatByListindex(int lIndex) const
{
    return common::Rethrowing(kModule, "GetReportFormatByListindex", [&] {
        const auto& aFormats = FormatsOfList();
        if (lIndex < 0 || lIndex >= static_cast<int>(aFormats.size()))
            rt::Raise(rt::errors::InvalidProcedureCall);
        return aFormats[static_cast<std::size_t>(lIndex)];
    });
}

int frmAction::GetListindexByReportFormat(std::int32_t lFormat) const
{
    return common::Rethrowing(kModule, "GetListindexByReportFormat", [&] {
        const auto& aFormats = FormatsOfList();
        for (std::size_t i = 0; i < aFormats.size(); ++i)
            if (aFormats[i] == lFormat)
                return static_cast<int>(i);
        rt::Raise(rt::errors::InvalidProcedureCall);
    });
}

void frmAction::LoadSaveSettings()
{
    m_bLoading = true;
    common::Logging(
        kModule, "LoadSaveSettings",
        [&] {
            auto& oSave = Save();
            m_chkAutoExecute[0]->SetValue(Checked(oSave.AutoExecute()));
            m_optAutoSave[oSave.Action() != 0 ? 0 : 1]->SetValue(true);
            m_txtSavePath->SetText(oSave.Path());
            m_cboFormat->SetListIndex(GetListindexByReportFormat(oSave.ReportFormat()));
            m_txtFileName->SetText(oSave.Filename());
            const std::int32_t lExists = oSave.ReportExists();
            if (lExists == 0 || lExists == 1)
                m_cboFileExist->SetListIndex(0);
            else if (lExists >= 2 && lExists <= 4)
                m_cboFileExist->SetListIndex(lExists - 1);
            ShowSaveFormatSettings();
        },
        detail::ShowError);
    m_bLoading = false;
}

void frmAction::ShowSaveFormatSettings()
{
    auto& oSave = Save();
    const std::int32_t lFormat = oSave.ReportFormat();
    if (lFormat == kCsv) {
        m_txtReportTemplate->SetText({});
        m_txtFirstExcelCell->SetText({});
        m_chkPrintHeader->SetValue(0);
        m_chkPrintTotal->SetValue(0);
        m_chkExportTotalsOnly->SetValue(0);
    } else if (lFormat == kHtml || lFormat == kPdf) {
        m_txtReportTemplate->SetText(lFormat == kHtml ? oSave.ReportTemplate() : std::string());
        m_txtFirstExcelCell->SetText({});
        m_chkPrintHeader->SetValue(1);
        m_chkPrintTotal->SetValue(1);
        m_chkExportTotalsOnly->SetValue(Checked(oSave.PrintSubtotalsOnly()));
    } else if (IsWorkbook(lFormat)) {
        m_txtReportTemplate->SetText(oSave.ReportTemplate());
        m_txtFirstExcelCell->SetText(oSave.TemplateExcelFirstCell());
        m_chkPrintHeader->SetValue(Checked(oSave.PrintHeader()));
        m_chkPrintTotal->SetValue(Checked(oSave.PrintSubtotals()));
        m_chkExportTotalsOnly->SetValue(Checked(oSave.PrintSubtotalsOnly()));
    }
}

void frmAction::FillOpenWithList()
{
    rt::ResumeNext ignore;
    ignore([&] {
        switch (Save().ReportFormat()) {
        case kCsv:
            m_cboOpenWithApp->SetTag("2205,2207");
            break;
        case kHtml:
            m_cboOpenWithApp->SetTag("2205,2206,2207");
            break;
        case kXls:
        case kXlsx:
        case kXlsm:
            m_cboOpenWithApp->SetTag("2207");
            break;
        case kPdf:
            m_cboOpenWithApp->SetTag("2208");
            break;
        default:
            break; // an unknown format keeps the list it had
        }
    });
    ignore([&] { m_cboOpenWithApp->Clear(); });
    ignore([&] { common::modLabelControls::LocalizeComboItems(*m_cboOpenWithApp); });
    // Each entry carries the editor it stands for: its text's id less the first one's.
    const auto aIds = rt::Split(m_cboOpenWithApp->Tag(), ",");
    for (std::size_t i = 0; i < aIds.size() && static_cast<int>(i) < m_cboOpenWithApp->ListCount();
         ++i)
        ignore([&] {
            m_cboOpenWithApp->SetItemData(
                static_cast<int>(i),
                static_cast<std::int32_t>(std::stol(aIds[i]) - kFirstEditorText));
        });
}

int frmAction::GetListindexByEditor(std::int32_t lEditor) const
{
    std::string sText;
    rt::ResumeNext ignore;
    if (lEditor >= 0 && lEditor <= 3)
        sText = common::modLabelControls::GetResText(kFirstEditorText + lEditor);
    for (int i = 0; i < m_cboOpenWithApp->ListCount(); ++i)
        if (m_cboOpenWithApp->List(i) == sText)
            return i;
    return 0;
}

void frmAction::LoadOpenSettings()
{
    common::Logging(
        kModule, "LoadOpenSettings",
        [&] {
            m_chkAutoExecute[1]->SetValue(Checked(Open().AutoExecute()));
            m_cboOpenWithApp->SetListIndex(GetListindexByEditor(Open().Editor()));
        },
        detail::ShowError);
}

void frmAction::LoadSendSettings()
{
    common::Rethrowing(kModule, "LoadSendSettings", [&] {
        m_chkAutoExecute[2]->SetValue(Checked(Send().AutoExecute()));
        m_optMail[Send().MailAction() == 1 ? 0 : 1]->SetValue(true);
        m_txtMailTemplate->SetText(Send().MailTemplate());
    });
}

void frmAction::LoadPrintSettings()
{
    common::Logging(
        kModule, "LoadPrintSettings",
        [&] {
            m_chkAutoExecute[3]->SetValue(Checked(Print().AutoExecute()));
            m_optPrint[Print().PrintAction() == 1 ? 0 : 1]->SetValue(true);
            ShowPrinterName();
        },
        detail::ShowError);
}

void frmAction::ShowPrinterName()
{
    if (const auto& oSettings = Print().PrinterSettings())
        m_lblPrinter->SetCaption(oSettings->PrinterName());
}

void frmAction::LoadDeleteSettings()
{
    common::Logging(
        kModule, "LoadDeleteSettings",
        [&] { m_chkAutoExecute[4]->SetValue(Checked(Delete().AutoExecute())); }, detail::ShowError);
}

void frmAction::EnableControls()
{
    rt::ResumeNext ignore;
    std::int32_t lFormat = kCsv;
    ignore([&] { lFormat = GetReportFormatByListindex(m_cboFormat->ListIndex()); });
    EnableFormatControls(lFormat);
    ignore([&] { m_cboFileExist->SetEnabled(!m_optAutoSave[1]->Value()); });
    EnableAutomaticActions();
}

void frmAction::EnableFormatControls(std::int32_t lFormat)
{
    if (lFormat != kCsv && lFormat != kHtml && lFormat != kPdf && !IsWorkbook(lFormat))
        return;
    rt::ResumeNext ignore;
    const bool bWorkbook = IsWorkbook(lFormat);
    ignore([&] { m_fraExcel->SetEnabled(bWorkbook); });
    const bool bTemplate = bWorkbook || lFormat == kHtml;
    ignore([&] { m_cmdReportTemplate->SetEnabled(bTemplate); });
    ignore([&] { m_txtReportTemplate->SetEnabled(bTemplate); });
    ignore([&] { m_txtFirstExcelCell->SetEnabled(bWorkbook); });
    ignore([&] { m_lblExcelCell->SetEnabled(bWorkbook); });
    ignore([&] { m_chkPrintHeader->SetEnabled(bWorkbook); });
    ignore([&] { m_chkPrintTotal->SetEnabled(bWorkbook); });
    ignore([&] { m_chkExportTotalsOnly->SetEnabled(lFormat != kCsv); });
    if (lFormat == kCsv) {
        ignore([&] { m_chkPrintHeader->SetValue(0); });
        ignore([&] { m_chkPrintTotal->SetValue(0); });
        ignore([&] { m_chkExportTotalsOnly->SetValue(0); });
    } else if (!bWorkbook) {
        ignore([&] { m_chkPrintHeader->SetValue(1); });
        ignore([&] { m_chkPrintTotal->SetValue(1); });
    }
}

// An automatic open runs alone; an automatic delete only follows a send or a print.
void frmAction::EnableAutomaticActions()
{
    rt::ResumeNext ignore;
    ignore([&] { m_chkAutoExecute[1]->SetEnabled(true); });
    ignore([&] { m_cboOpenWithApp->SetEnabled(true); });
    const bool bOpen = m_chkAutoExecute[1]->Value() == 1;
    if (bOpen) {
        ignore([&] { m_chkAutoExecute[2]->SetValue(0); });
        ignore([&] { m_chkAutoExecute[3]->SetValue(0); });
        ignore([&] { m_chkAutoExecute[4]->SetValue(0); });
        ignore([&] { m_chkAutoExecute[4]->SetEnabled(false); });
    } else {
        ignore([&] { m_chkAutoExecute[4]->SetEnabled(true); });
    }
    ignore([&] { m_chkAutoExecute[2]->SetEnabled(!bOpen); });
    for (pf::Control* p :
         std::initializer_list<pf::Control*>{m_optMail[0].get(), m_optMail[1].get(),
                                             m_cmdMailTemplate.get(), m_txtMailTemplate.get()})
        ignore([&] { p->SetEnabled(true); });
    ignore([&] { m_chkAutoExecute[3]->SetEnabled(!bOpen); });
    for (pf::Control* p : std::initializer_list<pf::Control*>{
             m_cmdPrinter.get(), m_optPrint[0].get(), m_optPrint[1].get()})
        ignore([&] { p->SetEnabled(true); });
    if (bOpen)
        return;
    const bool bFollowed = m_chkAutoExecute[2]->Value() == 1 || m_chkAutoExecute[3]->Value() == 1;
    if (!bFollowed)
        ignore([&] { m_chkAutoExecute[4]->SetValue(0); });
    ignore([&] { m_chkAutoExecute[4]->SetEnabled(bFollowed); });
}

void frmAction::cboFormat_Click()
{
    rt::ResumeNext ignore;
    ignore([&] {
        auto& oSave = Save();
        const std::int32_t lOld = oSave.ReportFormat();
        const std::int32_t lNew = GetReportFormatByListindex(m_cboFormat->ListIndex());
        if (lOld == lNew)
            return;
        oSave.SetReportFormat(lNew);
        // A workbook template and its first cell only carry over to another workbook format.
        if (!(IsWorkbook(lOld) && IsWorkbook(lNew))) {
            ignore([&] { oSave.SetReportTemplate({}); });
            ignore([&] { m_txtReportTemplate->SetText({}); });
            ignore([&] { m_txtFirstExcelCell->SetText({}); });
        }
        FillOpenWithList();
        ignore([&] {
            const std::int32_t f = oSave.ReportFormat();
            Open().SetEditor(f == kHtml ? 1 : IsWorkbook(f) ? 2 : f == kPdf ? 3 : 0);
        });
        ignore([&] { m_cboOpenWithApp->SetListIndex(GetListindexByEditor(Open().Editor())); });
    });
    EnableControls();
}

void frmAction::chkAutoExecute_Click(int /*Index*/)
{
    common::Logging(
        kModule, "chkAutoExecute_Click", [&] { EnableControls(); }, detail::ShowError);
}

void frmAction::optAutoSave_Click(int /*Index*/)
{
    common::Logging(
        kModule, "optAutoSave_Click",
        [&] {
            if (m_optAutoSave[1]->Value())
                m_cboFileExist->SetListIndex(0);
            EnableControls();
        },
        detail::ShowError);
}

void frmAction::chkExportTotalsOnly_Click()
{
    if (m_bLoading)
        return;
    common::Logging(
        kModule, "chkExportTotalsOnly_Click",
        [&] {
            Save().SetPrintSubtotalsOnly(m_chkExportTotalsOnly->Value() == 1);
            m_bLoading = true;
            rt::ResumeNext ignore;
            ignore([&] { m_chkPrintTotal->SetValue(Checked(Save().PrintSubtotals())); });
            m_bLoading = false;
            EnableControls();
        },
        detail::ShowError);
}

void frmAction::chkPrintTotal_Click()
{
    if (m_bLoading)
        return;
    common::Logging(
        kModule, "chkPrintTotal_Click",
        [&] {
            Save().SetPrintSubtotals(m_chkPrintTotal->Value() == 1);
            m_bLoading = true;
            rt::ResumeNext ignore;
            ignore([&] { m_chkExportTotalsOnly->SetValue(Checked(Save().PrintSubtotalsOnly())); });
            m_bLoading = false;
            EnableControls();
        },
        detail::ShowError);
}

} // namespace dialogs
