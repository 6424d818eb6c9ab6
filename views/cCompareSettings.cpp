#include "views/cCompareSettings.h"

#include "platform/runtime/ResumeNext.h"
#include "views/cMapiProps.h"

namespace views {

namespace rt = platform::runtime;

void cCompareSettings::Compare(ViewSettings& oOldView, ViewSettings& oNewView)
{
    m_bUpdateRecords = false;
    m_oOldView = &oOldView;
    m_oNewView = &oNewView;
    rt::ResumeNext oSteps;
    oSteps([&] { m_oOldFields = oOldView.Fields(); });
    oSteps([&] { m_oNewFields = oNewView.Fields(); });
    m_oMapiProps = RootMapiProps();
    oSteps([&] { CompareColumns(); });
    oSteps([&] { CompareSortLevels(); });
    oSteps([&] { CompareGroupLevels(); });
    oSteps([&] { CompareFilter(); });
    oSteps([&] {
        if (oNewView.DisplayFunctionName() != oOldView.DisplayFunctionName())
            m_bUpdateRecords = true;
    });
}

void cCompareSettings::CompareColumns()
{
    if (m_oNewFields->Count() > m_oOldFields->Count()) {
        m_bUpdateRecords = true;
        return;
    }
    for (const auto& oColumn : *m_oNewFields) {
        if (!m_oOldFields->Item(rt::Variant(oColumn->Key()))) {
            m_bUpdateRecords = true;
            return;
        }
    }
}

void cCompareSettings::CompareLevel(bool bApply, const std::string& sColKey)
{
    if (!bApply)
        return;
    const auto oOldColumn = m_oOldFields->Item(rt::Variant(sColKey));
    if (!oOldColumn)
        m_bUpdateRecords = true;
    if (m_oNewFields->Item(rt::Variant(sColKey)))
        return;
    if (oOldColumn) {
        // The two views share the column object from here on.
        oOldColumn->SetVisible(false);
        m_oNewFields->Add(oOldColumn);
        return;
    }
    const auto oField = m_oMapiProps ? m_oMapiProps->FindField(sColKey) : nullptr;
    if (!oField)
        return;
    m_oNewView->AddField(oField);
    if (const auto oNew = m_oNewFields->Item(rt::Variant(sColKey)))
        oNew->SetVisible(false);
}

void cCompareSettings::CompareSortLevels()
{
    for (std::int32_t l = 0; l <= 2; ++l) {
        rt::ResumeNext oSteps;
        oSteps([&] {
            const SortBy* oLevel = m_oNewView->SortByLevel(l);
            CompareLevel(oLevel->Apply, oLevel->ColKey);
        });
    }
}

void cCompareSettings::CompareGroupLevels()
{
    for (std::int32_t l = 0; l <= 2; ++l) {
        rt::ResumeNext oSteps;
        oSteps([&] {
            const GroupBy* oLevel = m_oNewView->GroupByLevel(l);
            CompareLevel(oLevel->Apply(), oLevel->ColKey);
        });
    }
}

void cCompareSettings::CompareFilter()
{
    const engine::Filter& o = *m_oOldView->Filter();
    const engine::Filter& n = *m_oNewView->Filter();
    const auto differs = [&](long lOld, long lNew, auto&& valuesDiffer) {
        return lOld != lNew || (lNew != 0 && valuesDiffer());
    };
    const bool bDiffers = differs(o.CategoryCompare(), n.CategoryCompare(),
                                  [&] {
                                      return o.CategoryAND() != n.CategoryAND() ||
                                             o.CategoryString() != n.CategoryString();
                                  }) ||
                          differs(o.RestrictTime(), n.RestrictTime(),
                                  [&] {
                                      return o.FilterOnField() != n.FilterOnField() ||
                                             o.FromDate().Serial() != n.FromDate().Serial() ||
                                             o.ToDate().Serial() != n.ToDate().Serial();
                                  }) ||
                          differs(o.SubjectCompare(), n.SubjectCompare(),
                                  [&] { return o.Subject() != n.Subject(); }) ||
                          differs(o.ContactCompare(), n.ContactCompare(),
                                  [&] {
                                      return o.ContactAND() != n.ContactAND() ||
                                             o.ContactString() != n.ContactString();
                                  }) ||
                          differs(o.CompanyCompare(), n.CompanyCompare(),
                                  [&] {
                                      return o.CompanyAND() != n.CompanyAND() ||
                                             o.CompanyString() != n.CompanyString();
                                  }) ||
                          differs(o.LocationCompare(), n.LocationCompare(),
                                  [&] { return o.Location() != n.Location(); }) ||
                          differs(o.TaskStatusCompare(), n.TaskStatusCompare(),
                                  [&] { return o.TaskStatus() != n.TaskStatus(); });
    if (bDiffers)
        m_bUpdateRecords = true;
}

} // namespace views
