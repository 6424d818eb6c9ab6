#include "views/ViewSettings.h"

#include "actions/Action.h"
#include "common/ErrorHandling.h"
#include "fieldcatalogue/cField.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "views/Templates.h"
#include "views/cMapiProps.h"

namespace views {

namespace rt = platform::runtime;

namespace {

constexpr const char* kModule = "ViewSettings";

struct DefaultColumn
{
    const char* sKey;
    std::int32_t lAlignment;
    std::int32_t lWidth;
};

constexpr DefaultColumn kDefaultColumns[] = {
    {"{00020328-0000-0000-C000-000000000046}/PR_SUBJECT", 1, 2025},
    {"Start", 1, 1440},
    {"End", 1, 1440},
    {"Duration", 7, 735},
    {"{00020329-0000-0000-C000-000000000046}/Keywords", 1, 1605},
};

std::shared_ptr<cMapiProps> RequireMapiProps()
{
    auto oMapiProps = RootMapiProps();
    if (!oMapiProps)
        rt::Raise(rt::errors::ObjectNotSet);
    return oMapiProps;
}

} // namespace

ViewSettings::ViewSettings() = default;

ViewSettings::~ViewSettings()
{
    if (m_oAction)
        m_oAction->AsIChild().ResetParentPtr();
    if (m_oFields)
        m_oFields->AsIChild().ResetParentPtr();
}

void ViewSettings::EnsureLoaded()
{
    if (!m_bLoading && !m_bInMemory)
        LoadCompletely();
}

std::shared_ptr<actions::Action> ViewSettings::Action()
{
    return common::Rethrowing(kModule, "Action", [&] {
        EnsureLoaded();
        return m_oAction;
    });
}

#define TV_VIEW_FLAG(Getter, Setter, Member)                                                       \
    bool ViewSettings::Getter()                                                                    \
    {                                                                                              \
        return common::Rethrowing(kModule, #Getter, [&] {                                          \
            EnsureLoaded();                                                                        \
            return Member;                                                                         \
        });                                                                                        \
    }                                                                                              \
    void ViewSettings::Setter(bool bValue)                                                         \
    {                                                                                              \
        common::Rethrowing(kModule, #Getter, [&] {                                                 \
            EnsureLoaded();                                                                        \
            Member = bValue;                                                                       \
        });                                                                                        \
    }

TV_VIEW_FLAG(DisplayFunctionName, SetDisplayFunctionName, m_bDisplayFunctionName)
TV_VIEW_FLAG(DisplayResultsOnly, SetDisplayResultsOnly, m_bDisplayResultsOnly)
TV_VIEW_FLAG(DontShowTime, SetDontShowTime, m_bDontShowTime)
TV_VIEW_FLAG(CalculateItemsCount, SetCalculateItemsCount, m_bCalculateItemsCount)

#undef TV_VIEW_FLAG

Templates* ViewSettings::Parent() const
{
    return dynamic_cast<Templates*>(m_pParent);
}

std::shared_ptr<engine::FolderDataList> ViewSettings::Folders()
{
    return common::Rethrowing(kModule, "Folders", [&] {
        EnsureLoaded();
        return m_colFolders;
    });
}

void ViewSettings::SetFolders(std::shared_ptr<engine::FolderDataList> colFolders)
{
    common::Rethrowing(kModule, "Folders", [&] {
        EnsureLoaded();
        m_colFolders =
            colFolders ? std::move(colFolders) : std::make_shared<engine::FolderDataList>();
    });
}

void ViewSettings::CreateNew(const std::string& sName)
{
    common::Rethrowing(kModule, "CreateNew", [&] {
        Init();
        m_sName = sName;
        LoadDefaultProperties();
        m_bInMemory = true;
    });
}

std::int32_t ViewSettings::CalculatedFieldsCount()
{
    std::int32_t lCount = 0;
    rt::ResumeNext oSteps;
    oSteps([&] {
        for (const auto& oField : *Fields())
            if (oField->Calculation() != 0)
                ++lCount;
    });
    return lCount;
}

std::int32_t ViewSettings::MapiTypeToVarType(std::int32_t lPropertyType)
{
    switch (lPropertyType) {
    case 3:
        return 3;
    case 5:
        return 5;
    case 6:
        return 6;
    case 11:
        return 11;
    case 13:
        return 9;
    case 30:
        return 8;
    case 64:
        return 7;
    case 258:
    case 4126:
        return 12;
    default:
        return 0;
    }
}

void ViewSettings::ReplaceFields()
{
    if (m_oFields)
        m_oFields->AsIChild().ResetParentPtr();
    m_oFields = std::make_shared<GridFields>();
    m_oFields->AsIChild().Init(this, {});
}

void ViewSettings::LoadDefaultProperties()
{
    common::Rethrowing(kModule, "LoadDefaultProperties", [&] {
        ReplaceFields();
        const auto oMapiProps = RequireMapiProps();
        oMapiProps->LoadStandardProperties();
        for (const auto& oColumn : kDefaultColumns) {
            const auto oField = oMapiProps->FindField(oColumn.sKey);
            if (!oField)
                continue;
            auto oNew = std::make_shared<GridField>();
            oNew->InitField(
                oField->Key(), oField->Name(), oField->Caption(), oField->IsUserDefined(),
                oField->HiddenProperty(),
                MapiTypeToVarType(static_cast<std::int32_t>(oField->MapiPropertyType())),
                oField->PropertyType(), oColumn.lAlignment, oColumn.lWidth, true, {},
                oField->MappingValue(), oField->EnumValue(), 0, {});
            m_oFields->Add(oNew);
        }
    });
}

std::shared_ptr<GridField> ViewSettings::NewColumnFor(const fieldcatalogue::cField& oField,
                                                      const std::string& sCaption) const
{
    auto oNew = std::make_shared<GridField>();
    oNew->InitField(
        oField.Key(), oField.Name(), sCaption, oField.IsUserDefined(), oField.HiddenProperty(),
        MapiTypeToVarType(static_cast<std::int32_t>(oField.MapiPropertyType())),
        oField.PropertyType(), 9, -1, true, {}, oField.MappingValue(), oField.EnumValue(), 0, {});
    return oNew;
}

void ViewSettings::ApplyFieldSelection(const FieldSelection& aSelection)
{
    rt::ResumeNext oSteps;
    oSteps([&] {
        const auto oCurrent = Fields();
        std::vector<std::shared_ptr<GridField>> aColumns;
        for (const auto& [oField, sCaption] : aSelection) {
            oSteps([&] {
                auto oColumn = oCurrent->Item(rt::Variant(oField->Key()));
                if (!oColumn) {
                    oColumn = NewColumnFor(*oField, sCaption);
                } else {
                    oColumn->SetVisible(true);
                    oColumn->SetCaption(sCaption);
                }
                aColumns.push_back(oColumn);
            });
        }
        // Hidden, internal and calculated columns stay behind the selection.
        for (const auto& oColumn : *oCurrent)
            if (!oColumn->Visible() || oColumn->HiddenProperty() || oColumn->Calculation() != 0)
                aColumns.push_back(oColumn);
        ReplaceFields();
        for (const auto& oColumn : aColumns)
            m_oFields->Add(oColumn);
    });
}

void ViewSettings::AddField(const std::shared_ptr<fieldcatalogue::cField>& oField)
{
    rt::ResumeNext oSteps;
    oSteps([&] {
        const auto oFields = Fields();
        if (oField && !oFields->Item(rt::Variant(oField->Key())))
            oFields->Add(NewColumnFor(*oField, oField->Caption()));
    });
}

std::shared_ptr<GridFields> ViewSettings::Fields()
{
    return common::Rethrowing(kModule, "Fields", [&] {
        EnsureLoaded();
        return m_oFields;
    });
}

void ViewSettings::InitNewGridFields()
{
    common::Rethrowing(kModule, "InitNewGridFields", [&] { ReplaceFields(); });
}

bool ViewSettings::HasKeywordGrouping()
{
    bool bResult = false;
    rt::ResumeNext oSteps;
    oSteps([&] {
        for (std::int32_t l = 0; l <= 2; ++l) {
            const GroupBy* oLevel = GroupByLevel(l);
            if (!oLevel || !oLevel->Apply())
                continue;
            const auto oColumn = Fields()->Item(rt::Variant(oLevel->ColKey));
            if (oColumn && oColumn->PropertyType() == 11) {
                bResult = true;
                return;
            }
        }
    });
    return bResult;
}

std::shared_ptr<engine::Filter> ViewSettings::Filter()
{
    return common::Rethrowing(kModule, "Filter", [&] {
        EnsureLoaded();
        return m_oFilter;
    });
}

GroupBy* ViewSettings::GroupByLevel(std::int32_t lIndex)
{
    GroupBy* oLevel = nullptr;
    rt::ResumeNext oSteps;
    oSteps([&] {
        EnsureLoaded();
        if (lIndex >= 0 && lIndex <= 2)
            oLevel = m_aGroupBy[static_cast<std::size_t>(lIndex)].get();
    });
    return oLevel;
}

SortBy* ViewSettings::SortByLevel(std::int32_t lIndex)
{
    SortBy* oLevel = nullptr;
    rt::ResumeNext oSteps;
    oSteps([&] {
        EnsureLoaded();
        if (lIndex >= 0 && lIndex <= 2)
            oLevel = m_aSortBy[static_cast<std::size_t>(lIndex)].get();
    });
    return oLevel;
}

void ViewSettings::SortSettings()
{
    common::Rethrowing(kModule, "SortSettings", [&] {
        EnsureLoaded();
        for (std::size_t i = 2; i >= 1; --i) {
            GroupBy& oUpper = *m_aGroupBy[i - 1];
            GroupBy& oLower = *m_aGroupBy[i];
            if (!oUpper.Apply() && oLower.Apply()) {
                oUpper.SetApply(true);
                oUpper.SortOrder = oLower.SortOrder;
                oUpper.ColKey = oLower.ColKey;
                oLower.SetApply(false);
            }
        }
        for (std::size_t i = 2; i >= 1; --i) {
            SortBy& oUpper = *m_aSortBy[i - 1];
            SortBy& oLower = *m_aSortBy[i];
            if (!oUpper.Apply && oLower.Apply) {
                oUpper.Apply = true;
                oUpper.SortOrder = oLower.SortOrder;
                oUpper.ColKey = oLower.ColKey;
                oLower.Apply = false;
            }
        }
    });
}

void ViewSettings::SetName(const std::string& sName)
{
    common::Rethrowing(kModule, "Name", [&] {
        EnsureLoaded();
        m_sName = sName;
    });
}

void ViewSettings::Init()
{
    common::Rethrowing(kModule, "Init", [&] {
        m_colFolders = std::make_shared<engine::FolderDataList>();
        for (std::size_t i = 0; i < 3; ++i) {
            m_aGroupBy[i] = std::make_unique<GroupBy>();
            m_aSortBy[i] = std::make_unique<SortBy>();
        }
        if (m_oAction)
            m_oAction->AsIChild().ResetParentPtr();
        m_oAction = std::make_shared<actions::Action>();
        m_oAction->AsIChild().Init(this, {});
        ReplaceFields();
        m_oFilter = std::make_shared<engine::Filter>();
        m_oUnreadFromDate.reset();
        m_oUnreadToDate.reset();
        m_bDisplayResultsOnly = false;
        m_bDontShowTime = false;
        m_bInitialised = true;
    });
}

void ViewSettings::Init(rt::Object* lParentPtr, const std::string&)
{
    m_pParent = lParentPtr;
}

} // namespace views
