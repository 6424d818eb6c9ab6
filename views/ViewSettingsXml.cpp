// The view's members that read and write its `Report` element of "reports.xml".
#include "views/ViewSettings.h"

#include "actions/Action.h"
#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "fieldcatalogue/cField.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/xml/Document.h"
#include "views/XmlHandler.h"
#include "views/cMapiProps.h"

namespace views {

namespace rt = platform::runtime;
namespace px = platform::xml;

namespace {

constexpr const char* kModule = "ViewSettings";

// The child at a position of an element, as the reader takes it: a missing child reads as
// the empty value.
rt::Variant At(const px::NodeList& oList, long lPosition)
{
    return XmlHandler::GetChildValue(oList, lPosition);
}

px::Node RequireChild(const px::NodeList& oList, long lPosition)
{
    px::Node oNode = oList.Item(lPosition);
    if (!oNode)
        rt::Raise(rt::errors::ObjectNotSet);
    return oNode;
}

// Twips per pixel of the screen the columns are shown on.
constexpr std::int32_t kTwipsPerPixelX = 15;

} // namespace

void ViewSettings::LoadPartly(const px::Node& oElement)
{
    common::Rethrowing(kModule, "LoadPartly", [&] {
        if (!oElement)
            rt::Raise(rt::errors::ObjectNotSet);
        Init();
        m_bInMemory = false;
        m_oXmlNode = oElement;
        m_lFileVersion = common::modMain::G().g_lReportFileVersion;
        const px::Node oName = RequireChild(oElement.ChildNodes(), 0);
        m_sName = oName.Text();
    });
}

void ViewSettings::LoadCompletely()
{
    if (m_bLoading)
        return;
    m_bLoading = true;
    try {
        common::Rethrowing(kModule, "LoadCompletely", [&] {
            if (!m_oXmlNode || m_oXmlNode.Type() != px::NodeType::Element)
                rt::Raise(rt::errors::ObjectNotSet);
            ReadReport(m_oXmlNode);
        });
        m_bInMemory = true;
        m_bLoading = false;
    } catch (...) {
        m_bLoading = false;
        throw;
    }
}

void ViewSettings::ReadReport(const px::Node& oReport)
{
    const auto oMapiProps = RootMapiProps();
    if (!oMapiProps)
        rt::Raise(rt::errors::ObjectNotSet);
    LoadDefaultProperties();
    const px::NodeList oChildren = oReport.ChildNodes();
    long lPos = 0;
    m_bCalculateItemsCount = XmlHandler::ReadBool(At(oChildren, ++lPos));
    m_bDisplayFunctionName = XmlHandler::ReadBool(At(oChildren, ++lPos));
    m_bDisplayResultsOnly = XmlHandler::ReadBool(At(oChildren, ++lPos));
    if (m_lFileVersion >= kDontShowTimeVersion)
        m_bDontShowTime = XmlHandler::ReadBool(At(oChildren, ++lPos));
    ReadActions(RequireChild(oChildren, ++lPos));

    const px::NodeList oFolders = RequireChild(oChildren, ++lPos).ChildNodes();
    m_colFolders = std::make_shared<engine::FolderDataList>();
    for (const px::Node& oFolder : oFolders) {
        const px::NodeList oIds = oFolder.ChildNodes();
        const std::string sEntry = XmlHandler::ReadText(At(oIds, 0));
        const std::string sStore = XmlHandler::ReadText(At(oIds, 1));
        if (sEntry.empty() || sStore.empty())
            continue;
        auto oData = std::make_shared<engine::FolderData>();
        oData->Init(sEntry, sStore, {}, 0, false);
        m_colFolders->Add(oData);
    }

    const px::NodeList oGroups = RequireChild(oChildren, ++lPos).ChildNodes();
    for (long i = 0; i < oGroups.Length() && i < 3; ++i) {
        const px::NodeList o = oGroups.Item(i).ChildNodes();
        GroupBy& oLevel = *m_aGroupBy[static_cast<std::size_t>(i)];
        oLevel.SetApply(XmlHandler::ReadBool(At(o, 0)));
        oLevel.ColKey = XmlHandler::ReadText(At(o, 1));
        oLevel.DateGroupBy = XmlHandler::ReadLong(At(o, 2));
        oLevel.SortOrder = XmlHandler::ReadLong(At(o, 3));
    }
    const px::NodeList oSorts = RequireChild(oChildren, ++lPos).ChildNodes();
    for (long i = 0; i < oSorts.Length() && i < 3; ++i) {
        const px::NodeList o = oSorts.Item(i).ChildNodes();
        SortBy& oLevel = *m_aSortBy[static_cast<std::size_t>(i)];
        oLevel.Apply = XmlHandler::ReadBool(At(o, 0));
        oLevel.ColKey = XmlHandler::ReadText(At(o, 1));
        oLevel.SortOrder = XmlHandler::ReadLong(At(o, 2));
    }

    // The user-defined fields of the view's folders; a failure here does not stop the load.
    rt::ResumeNext oSteps;
    oSteps([&] { oMapiProps->LoadUserProperties(*m_colFolders); });
    InitNewGridFields();
    oMapiProps->PrepareViewFields(*this);

    ReadFields(RequireChild(oChildren, ++lPos));
    ReadFilter(RequireChild(oChildren, ++lPos));
}

void ViewSettings::ReadFields(const px::Node& oFieldsElement)
{
    const auto oMapiProps = RootMapiProps();
    for (const px::Node& oFieldElement : oFieldsElement.ChildNodes()) {
        const px::NodeList o = oFieldElement.ChildNodes();
        const auto oField = oMapiProps->FindField(XmlHandler::ReadText(At(o, 0)));
        if (!oField)
            continue;
        auto oColumn = std::make_shared<GridField>();
        oColumn->InitField(oField->Key(), oField->Name(), oField->Caption(),
                           oField->IsUserDefined(), oField->HiddenProperty(),
                           MapiTypeToVarType(static_cast<std::int32_t>(oField->MapiPropertyType())),
                           oField->PropertyType(), 4, 32 * kTwipsPerPixelX, true, {},
                           oField->MappingValue(), oField->EnumValue(), 0, {});
        oColumn->SetCaption(XmlHandler::ReadText(At(o, 1)));
        oColumn->SetAlignmentSettings(XmlHandler::ReadLong(At(o, 2)));
        oColumn->SetFormat(XmlHandler::ReadText(At(o, 3)));
        oColumn->SetVisible(XmlHandler::ReadBool(At(o, 4)));
        oColumn->SetWidth(XmlHandler::ReadLong(At(o, 5)));
        oColumn->SetCalculation(XmlHandler::ReadLong(At(o, 6)));
        oColumn->SetCalculatedColKey(XmlHandler::ReadText(At(o, 7)));
        m_oFields->Add(oColumn);
    }
}

px::Node ViewSettings::Update(px::Document& oDoc, XmlHandler& oHandler, px::Node oElement)
{
    return common::Rethrowing(kModule, "Update", [&] {
        if (!m_bInMemory) {
            if (!m_oXmlNode || m_lFileVersion >= kDontShowTimeVersion || !oElement)
                return m_oXmlNode;
            // The file is written as the current version, whose readers expect DontShowTime
            // at position 4: an older element gets it, False, so that it stays readable.
            long lPos = 0;
            for (const px::Node& oChild : m_oXmlNode.ChildNodes()) {
                if (lPos++ == 4)
                    oHandler.AddElement(oElement, "DontShowTime", rt::Variant(false));
                oElement.AppendChild(oChild);
            }
            return oElement;
        }
        if (!oDoc || !oElement)
            rt::Raise(rt::errors::ObjectNotSet);
        oHandler.AddElement(oElement, "Name", rt::Variant(m_sName));
        oHandler.AddElement(oElement, "CountItems", rt::Variant(m_bCalculateItemsCount));
        oHandler.AddElement(oElement, "DisplayFunctionName", rt::Variant(m_bDisplayFunctionName));
        oHandler.AddElement(oElement, "DisplayOnlyResults", rt::Variant(m_bDisplayResultsOnly));
        oHandler.AddElement(oElement, "DontShowTime", rt::Variant(m_bDontShowTime));
        WriteActions(oHandler, oElement);

        px::Node oFolders = oHandler.AddElement(oElement, "Folders", {});
        for (const auto& oData : *m_colFolders) {
            px::Node oFolder = oHandler.AddElement(oFolders, "Folder", {});
            if (!oData)
                continue;
            oHandler.AddElement(oFolder, "EntryID", rt::Variant(oData->EntryID()));
            oHandler.AddElement(oFolder, "StoreID", rt::Variant(oData->StoreID()));
        }
        px::Node oGroups = oHandler.AddElement(oElement, "Groups", {});
        for (const auto& oLevel : m_aGroupBy) {
            px::Node o = oHandler.AddElement(oGroups, "GroupBy", {});
            oHandler.AddElement(o, "Apply", rt::Variant(oLevel->Apply()));
            oHandler.AddElement(o, "ColKey", rt::Variant(oLevel->ColKey));
            oHandler.AddElement(o, "DateGroupBy", rt::Variant(oLevel->DateGroupBy));
            oHandler.AddElement(o, "SortOrdner", rt::Variant(oLevel->SortOrder));
        }
        px::Node oSorts = oHandler.AddElement(oElement, "Sorts", {});
        for (const auto& oLevel : m_aSortBy) {
            px::Node o = oHandler.AddElement(oSorts, "SortBy", {});
            oHandler.AddElement(o, "Apply", rt::Variant(oLevel->Apply));
            oHandler.AddElement(o, "ColKey", rt::Variant(oLevel->ColKey));
            oHandler.AddElement(o, "SortOrdner", rt::Variant(oLevel->SortOrder));
        }
        if (!m_oFields)
            rt::Raise(rt::errors::ObjectNotSet);
        px::Node oFields = oHandler.AddElement(oElement, "Fields", {});
        for (const auto& oColumn : *m_oFields) {
            px::Node o = oHandler.AddElement(oFields, "Field", {});
            oHandler.AddElement(o, "Key", rt::Variant(oColumn->Key()));
            oHandler.AddElement(o, "Caption", rt::Variant(oColumn->Caption()));
            oHandler.AddElement(o, "Alignment", rt::Variant(oColumn->AlignmentSettings()));
            oHandler.AddElement(o, "Format", rt::Variant(oColumn->Format()));
            oHandler.AddElement(o, "Visible", rt::Variant(oColumn->Visible()));
            oHandler.AddElement(o, "Width", rt::Variant(oColumn->Width()));
            oHandler.AddElement(o, "Calculation", rt::Variant(oColumn->Calculation()));
            oHandler.AddElement(o, "CalculatedColKey", rt::Variant(oColumn->CalculatedColKey()));
        }
        WriteFilter(oHandler, oElement);
        m_oXmlNode = oElement;
        m_lFileVersion = kReportFileVersion;
        return oElement;
    });
}

} // namespace views
