// The `Actions` and `Filter` elements of a view's `Report` element.
#include "views/ViewSettings.h"

#include "actions/Action.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "printer/PrinterObject.h"
#include "views/XmlHandler.h"

namespace views {

namespace rt = platform::runtime;
namespace px = platform::xml;
using X = XmlHandler;

namespace {

rt::Variant At(const px::NodeList& oList, long lPosition)
{
    return X::GetChildValue(oList, lPosition);
}

px::NodeList ChildrenOf(const px::NodeList& oList, long lPosition)
{
    const px::Node oNode = oList.Item(lPosition);
    if (!oNode)
        rt::Raise(rt::errors::ObjectNotSet);
    return oNode.ChildNodes();
}

// A stored list: entries separated by ";", empty entries between two separators kept.
std::vector<std::string> SplitList(const std::string& sText)
{
    if (sText.empty())
        return {};
    return rt::Split(sText, ";");
}

void ReadPrinterSettings(actions::ActionPrint& oPrint, const px::NodeList& o)
{
    const std::string sName = X::ReadText(At(o, 12));
    if (sName.empty())
        return;
    printer::PrinterObject oPrinter;
    std::shared_ptr<printer::PrinterSettings> oSettings;
    rt::ResumeNext oSteps;
    oSteps([&] { oSettings = oPrinter.GetPrinterSettings(sName); });
    oPrint.SetPrinterSettings(oSettings);
    if (!oSettings)
        return;
    oSettings->SetCollate(X::ReadBool(At(o, 3)));
    oSettings->SetColor(static_cast<printer::DMColor>(X::ReadLong(At(o, 4))));
    oSettings->SetCopies(X::ReadInt(At(o, 5)));
    oSettings->SetFromPage(X::ReadInt(At(o, 6)));
    oSettings->SetOrientation(static_cast<printer::DMOrientation>(X::ReadLong(At(o, 7))));
    oSettings->SetPaperBin(static_cast<printer::DMPaperBin>(X::ReadLong(At(o, 8))));
    oSettings->SetPaperLength(X::ReadInt(At(o, 9)));
    oSettings->SetPaperSize(static_cast<printer::DMPaperSize>(X::ReadLong(At(o, 10))));
    oSettings->SetPaperWidth(X::ReadInt(At(o, 11)));
    oSettings->SetPrintWhat(static_cast<printer::DMPages>(X::ReadLong(At(o, 13))));
    oSettings->SetQuality(static_cast<printer::DMQuality>(X::ReadLong(At(o, 14))));
    oSettings->SetScaleOutput(X::ReadInt(At(o, 15)));
    oSettings->SetToPage(X::ReadInt(At(o, 16)));
}

} // namespace

void ViewSettings::ReadActions(const px::Node& oActions)
{
    const px::NodeList oList = oActions.ChildNodes();
    actions::Action& oAction = *m_oAction;

    px::NodeList o = ChildrenOf(oList, 0);
    oAction.GetDeleteAction()->SetAutoExecute(X::ReadBool(At(o, 0)));

    o = ChildrenOf(oList, 1);
    auto& oOpen = *oAction.GetOpenAction();
    oOpen.SetActive(X::ReadBool(At(o, 0)));
    oOpen.SetAutoExecute(X::ReadBool(At(o, 1)));
    oOpen.SetEditor(X::ReadLong(At(o, 2)));

    o = ChildrenOf(oList, 2);
    auto& oPrint = *oAction.GetPrintAction();
    oPrint.SetActive(X::ReadBool(At(o, 0)));
    oPrint.SetAutoExecute(X::ReadBool(At(o, 1)));
    oPrint.SetPrintAction(X::ReadLong(At(o, 2)));
    ReadPrinterSettings(oPrint, o);

    o = ChildrenOf(oList, 3);
    auto& oSave = *oAction.GetSaveAction();
    oSave.SetAutoExecute(X::ReadBool(At(o, 0)));
    oSave.SetAction(X::ReadLong(At(o, 1)));
    oSave.SetFilename(X::ReadText(At(o, 2)));
    oSave.SetPath(X::ReadText(At(o, 3)));
    oSave.SetPrintHeader(X::ReadBool(At(o, 4)));
    oSave.SetPrintSubtotals(X::ReadBool(At(o, 5)));
    oSave.SetReportExists(X::ReadLong(At(o, 6)));
    oSave.SetReportFormat(X::ReadLong(At(o, 7)));
    oSave.SetReportTemplate(X::ReadText(At(o, 8)));
    oSave.SetTemplateExcelFirstCell(X::ReadText(At(o, 9)));
    oSave.SetReportHeader(X::ReadText(At(o, 10)));
    oSave.SetReportFooter(X::ReadText(At(o, 11)));
    oSave.SetPrintSubtotalsOnly(X::ReadBool(At(o, 12)));

    o = ChildrenOf(oList, 4);
    auto& oSend = *oAction.GetSendAction();
    oSend.SetActive(X::ReadBool(At(o, 0)));
    oSend.SetAutoExecute(X::ReadBool(At(o, 1)));
    oSend.SetMailAction(X::ReadLong(At(o, 2)));
    oSend.SetMailTemplate(X::ReadText(At(o, 3)));
    oSend.SetTemplateEntryID(X::ReadText(At(o, 4)));
    oSend.SetTemplateSource(X::ReadLong(At(o, 5)));
    oSend.SetTemplateStoreID(X::ReadText(At(o, 6)));
    oSend.SetTemplateSubject(X::ReadText(At(o, 7)));
}

void ViewSettings::WriteActions(XmlHandler& oHandler, px::Node& oReport)
{
    const actions::Action& oAction = *m_oAction;
    px::Node oActions = oHandler.AddElement(oReport, "Actions", {});

    px::Node o = oHandler.AddElement(oActions, "ActionDelete", {});
    oHandler.AddElement(o, "AutoExec", oAction.GetDeleteAction()->AutoExecute());

    const auto& oOpen = *oAction.GetOpenAction();
    o = oHandler.AddElement(oActions, "ActionOpen", {});
    oHandler.AddElement(o, "Active", oOpen.Active());
    oHandler.AddElement(o, "AutoExec", oOpen.AutoExecute());
    oHandler.AddElement(o, "Editor", oOpen.Editor());

    const auto& oPrint = *oAction.GetPrintAction();
    o = oHandler.AddElement(oActions, "ActionPrint", {});
    oHandler.AddElement(o, "Active", oPrint.Active());
    oHandler.AddElement(o, "AutoExec", oPrint.AutoExecute());
    oHandler.AddElement(o, "PrintAction", oPrint.PrintAction());
    if (const auto& s = oPrint.PrinterSettings()) {
        oHandler.AddElement(o, "Collate", s->Collate());
        oHandler.AddElement(o, "Color", static_cast<std::int32_t>(s->Color()));
        oHandler.AddElement(o, "Copies", s->Copies());
        oHandler.AddElement(o, "FromPage", s->FromPage());
        oHandler.AddElement(o, "Orientation", static_cast<std::int32_t>(s->Orientation()));
        oHandler.AddElement(o, "PaperBin", static_cast<std::int32_t>(s->PaperBin()));
        oHandler.AddElement(o, "PaperLength", s->PaperLength());
        oHandler.AddElement(o, "PaperSize", static_cast<std::int32_t>(s->PaperSize()));
        oHandler.AddElement(o, "PaperWidth", s->PaperWidth());
        oHandler.AddElement(o, "PrinterName", s->PrinterName());
        oHandler.AddElement(o, "PrintWhat", static_cast<std::int32_t>(s->PrintWhat()));
        oHandler.AddElement(o, "Quality", static_cast<std::int32_t>(s->Quality()));
        oHandler.AddElement(o, "ScaleOutput", s->ScaleOutput());
        oHandler.AddElement(o, "ToPage", s->ToPage());
    }

    const auto& oSave = *oAction.GetSaveAction();
    o = oHandler.AddElement(oActions, "ActionSave", {});
    oHandler.AddElement(o, "AutoExec", oSave.AutoExecute());
    oHandler.AddElement(o, "Action", oSave.Action());
    oHandler.AddElement(o, "FileName", oSave.Filename());
    oHandler.AddElement(o, "Path", oSave.Path());
    oHandler.AddElement(o, "PrintHeader", oSave.PrintHeader());
    oHandler.AddElement(o, "PrintSubtotals", oSave.PrintSubtotals());
    oHandler.AddElement(o, "ReportExists", oSave.ReportExists());
    oHandler.AddElement(o, "ReportFormat", oSave.ReportFormat());
    oHandler.AddElement(o, "ReportTemplate", oSave.ReportTemplate());
    oHandler.AddElement(o, "TemplateExcelFirstCell", oSave.TemplateExcelFirstCell());
    oHandler.AddElement(o, "ReportHeader", oSave.ReportHeader());
    oHandler.AddElement(o, "ReportFooter", oSave.ReportFooter());
    oHandler.AddElement(o, "PrintSubtotalsOnly", oSave.PrintSubtotalsOnly());

    const auto& oSend = *oAction.GetSendAction();
    o = oHandler.AddElement(oActions, "ActionSend", {});
    oHandler.AddElement(o, "Active", oSend.Active());
    oHandler.AddElement(o, "AutoExec", oSend.AutoExecute());
    oHandler.AddElement(o, "MailAction", oSend.MailAction());
    oHandler.AddElement(o, "MailTemplate", oSend.MailTemplate());
    oHandler.AddElement(o, "TemplateEntryID", oSend.TemplateEntryID());
    oHandler.AddElement(o, "TemplateSource", oSend.TemplateSource());
    oHandler.AddElement(o, "TemplateStoreID", oSend.TemplateStoreID());
    oHandler.AddElement(o, "TemplateSubject", oSend.TemplateSubject());
}

void ViewSettings::ReadFilter(const px::Node& oFilterElement)
{
    const px::NodeList o = oFilterElement.ChildNodes();
    engine::Filter& f = *m_oFilter;
    f.SetCategoryCondition(static_cast<engine::trCompareValue>(X::ReadLong(At(o, 1))),
                           SplitList(X::ReadText(At(o, 0))), X::ReadBool(At(o, 2)));
    const std::string sFrom = X::ReadText(At(o, 5));
    const std::string sTo = X::ReadText(At(o, 6));
    f.SetTimeCondition(static_cast<engine::trDateField>(X::ReadLong(At(o, 3))),
                       static_cast<engine::trTimeFilter>(X::ReadLong(At(o, 4))),
                       X::ReadDateValue(sFrom), X::ReadDateValue(sTo));
    m_oUnreadFromDate.reset();
    m_oUnreadToDate.reset();
    if (!X::DateConverts(sFrom))
        m_oUnreadFromDate = UnreadDate{f.FromDate(), sFrom};
    if (!X::DateConverts(sTo))
        m_oUnreadToDate = UnreadDate{f.ToDate(), sTo};
    f.SetSubjectCondition(static_cast<engine::trCompareValue>(X::ReadLong(At(o, 8))),
                          X::ReadText(At(o, 7)));
    f.SetTaskStatusCondition(X::ReadLong(At(o, 10)), X::ReadLong(At(o, 9)));
    f.SetCompanyCondition(static_cast<engine::trCompareValue>(X::ReadLong(At(o, 12))),
                          SplitList(X::ReadText(At(o, 11))), X::ReadBool(At(o, 13)));
    f.SetContactCondition(static_cast<engine::trCompareValue>(X::ReadLong(At(o, 15))),
                          SplitList(X::ReadText(At(o, 14))), X::ReadBool(At(o, 16)));
    f.SetLocationCondition(static_cast<engine::trCompareValue>(X::ReadLong(At(o, 18))),
                           X::ReadText(At(o, 17)));
}

void ViewSettings::WriteFilter(XmlHandler& oHandler, px::Node& oReport)
{
    const engine::Filter& f = *m_oFilter;
    px::Node o = oHandler.AddElement(oReport, "Filter", {});
    const auto num = [](long l) { return rt::Variant(static_cast<std::int32_t>(l)); };
    oHandler.AddElement(o, "Cats", f.CategoryString());
    oHandler.AddElement(o, "CatCompare", num(f.CategoryCompare()));
    oHandler.AddElement(o, "CatAnd", f.CategoryAND());
    oHandler.AddElement(o, "DateField", num(f.FilterOnField()));
    oHandler.AddElement(o, "RestrictTime", num(f.RestrictTime()));
    // A date that did not convert keeps its stored text until the filter's date is changed.
    const auto dateValue = [](rt::Date dt, const std::optional<UnreadDate>& oUnread) {
        return oUnread && oUnread->dtAsRead == dt ? rt::Variant(oUnread->sStored) : rt::Variant(dt);
    };
    oHandler.AddElement(o, "FromDate", dateValue(f.FromDate(), m_oUnreadFromDate));
    oHandler.AddElement(o, "ToDate", dateValue(f.ToDate(), m_oUnreadToDate));
    oHandler.AddElement(o, "SubjectName", f.Subject());
    oHandler.AddElement(o, "SubjectCompare", num(f.SubjectCompare()));
    oHandler.AddElement(o, "TaskStatus", num(f.TaskStatus()));
    oHandler.AddElement(o, "TaskStatusCompare", num(f.TaskStatusCompare()));
    oHandler.AddElement(o, "Companies", f.CompanyString());
    oHandler.AddElement(o, "CompanyCompare", num(f.CompanyCompare()));
    oHandler.AddElement(o, "CompanyAnd", f.CompanyAND());
    oHandler.AddElement(o, "Contacts", f.ContactString());
    oHandler.AddElement(o, "ContactCompare", num(f.ContactCompare()));
    oHandler.AddElement(o, "ContactAnd", f.ContactAND());
    oHandler.AddElement(o, "LocationName", f.Location());
    oHandler.AddElement(o, "LocationCompare", num(f.LocationCompare()));
}

} // namespace views
