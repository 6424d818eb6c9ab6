// The view copy: a working copy for a dialog, and writing it back.
#include "views/ViewSettings.h"

#include "actions/Action.h"
#include "common/ErrorHandling.h"
#include "platform/runtime/Error.h"

namespace views {

namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "ViewSettings";
}

std::shared_ptr<engine::FolderDataList>
ViewSettings::CopyFolderDataCollection(const engine::FolderDataList& colFolders)
{
    return common::Rethrowing(kModule, "CopyFolderDataCollection", [&] {
        auto colCopy = std::make_shared<engine::FolderDataList>();
        for (std::int32_t i = 1; i <= colFolders.Count(); ++i) {
            const auto& oData = colFolders.Item(i);
            auto oNew = std::make_shared<engine::FolderData>();
            if (!oData)
                rt::Raise(rt::errors::ObjectNotSet);
            oNew->Init(oData->EntryID(), oData->StoreID(), oData->Name(), oData->ItemsCount(),
                       oData->HasChilds());
            colCopy->Add(oNew);
        }
        return colCopy;
    });
}

void ViewSettings::Copy(ViewSettings& oSource)
{
    m_bLoading = true;
    try {
        common::Rethrowing(kModule, "Copy", [&] {
            if (!m_bInitialised)
                Init();
            // The link names the source's template collection, or nothing.
            m_pParent = oSource.Parent() ? oSource.m_pParent : nullptr;
            m_oXmlNode = oSource.XmlNode();
            m_lFileVersion = oSource.m_lFileVersion;
            m_colFolders = CopyFolderDataCollection(*oSource.Folders());
            m_bCalculateItemsCount = oSource.CalculateItemsCount();
            m_bDisplayFunctionName = oSource.DisplayFunctionName();
            m_bDisplayResultsOnly = oSource.DisplayResultsOnly();
            m_bDontShowTime = oSource.DontShowTime();
            for (std::int32_t l = 0; l <= 2; ++l) {
                const GroupBy* oFrom = oSource.GroupByLevel(l);
                GroupBy& oTo = *m_aGroupBy[static_cast<std::size_t>(l)];
                oTo.SetApply(oFrom->Apply());
                oTo.SortOrder = oFrom->SortOrder;
                oTo.ColKey = oFrom->ColKey;
                oTo.DateGroupBy = oFrom->DateGroupBy;
                const SortBy* oSortFrom = oSource.SortByLevel(l);
                *m_aSortBy[static_cast<std::size_t>(l)] = *oSortFrom;
            }
            ReplaceFields();
            const auto oSourceFields = oSource.Fields();
            if (!oSourceFields)
                rt::Raise(rt::errors::ObjectNotSet);
            for (const auto& f : *oSourceFields) {
                auto oNew = std::make_shared<GridField>();
                oNew->InitField(f->Key(), f->Name(), f->Caption(), f->IsUserDefined(),
                                f->HiddenProperty(), f->DataType(), f->PropertyType(),
                                f->AlignmentSettings(), f->Width(), f->Visible(), f->Format(),
                                f->MappingValue(), f->EnumValue(), f->Calculation(),
                                f->CalculatedColKey());
                m_oFields->Add(oNew);
            }
            CopyFilter(oSource);
            CopyActions(oSource);
            m_bInMemory = oSource.IsLoaded();
        });
    } catch (...) {
        m_bLoading = false;
        throw;
    }
    m_bLoading = false;
}

void ViewSettings::CopyFilter(ViewSettings& oSource)
{
    const auto oFrom = oSource.Filter();
    auto oNew = std::make_shared<engine::Filter>();
    oNew->SetCategoryCondition(oFrom->CategoryCompare(), oFrom->Category(), oFrom->CategoryAND());
    oNew->SetCompanyCondition(oFrom->CompanyCompare(), oFrom->Company(), oFrom->CompanyAND());
    oNew->SetContactCondition(oFrom->ContactCompare(), oFrom->Contact(), oFrom->ContactAND());
    oNew->SetLocationCondition(oFrom->LocationCompare(), oFrom->Location());
    oNew->SetSubjectCondition(oFrom->SubjectCompare(), oFrom->Subject());
    oNew->SetTaskStatusCondition(oFrom->TaskStatusCompare(), oFrom->TaskStatus());
    oNew->SetTimeCondition(oFrom->FilterOnField(), oFrom->RestrictTime(),
                           rt::Variant(oFrom->FromDate()), rt::Variant(oFrom->ToDate()));
    m_oFilter = std::move(oNew);
    m_oUnreadFromDate = oSource.m_oUnreadFromDate;
    m_oUnreadToDate = oSource.m_oUnreadToDate;
}

void ViewSettings::CopyActions(ViewSettings& oSource)
{
    const auto oFrom = oSource.Action();
    const auto& s = *oFrom->GetSaveAction();
    auto& t = *m_oAction->GetSaveAction();
    t.SetAction(s.Action());
    t.SetAutoExecute(s.AutoExecute());
    t.SetPath(s.Path());
    t.SetReportFormat(s.ReportFormat());
    t.SetReportExists(s.ReportExists());
    t.SetFilename(s.Filename());
    t.SetReportTemplate(s.ReportTemplate());
    t.SetTemplateExcelFirstCell(s.TemplateExcelFirstCell());
    t.SetPrintHeader(s.PrintHeader());
    t.SetPrintSubtotals(s.PrintSubtotals());
    t.SetPrintSubtotalsOnly(s.PrintSubtotalsOnly());
    t.SetReportHeader(s.ReportHeader());
    t.SetReportFooter(s.ReportFooter());

    const auto& so = *oFrom->GetOpenAction();
    auto& to = *m_oAction->GetOpenAction();
    to.SetActive(so.Active());
    to.SetAutoExecute(so.AutoExecute());
    to.SetEditor(so.Editor());

    const auto& ss = *oFrom->GetSendAction();
    auto& ts = *m_oAction->GetSendAction();
    ts.SetActive(ss.Active());
    ts.SetAutoExecute(ss.AutoExecute());
    ts.SetMailAction(ss.MailAction());
    ts.SetMailTemplate(ss.MailTemplate());
    ts.SetTemplateSource(ss.TemplateSource());
    ts.SetTemplateSubject(ss.TemplateSubject());

    const auto& sp = *oFrom->GetPrintAction();
    auto& tp = *m_oAction->GetPrintAction();
    tp.SetActive(sp.Active());
    tp.SetAutoExecute(sp.AutoExecute());
    tp.SetPrintAction(sp.PrintAction());
    tp.SetPrinterSettings(sp.PrinterSettings());

    m_oAction->GetDeleteAction()->SetAutoExecute(oFrom->GetDeleteAction()->AutoExecute());
}

} // namespace views
