#include "TestView.h"

TestView::TestView()
    : oFields(std::make_shared<views::GridFields>()), oFilter(std::make_shared<engine::Filter>())
{
}

views::GroupBy* TestView::GroupByLevel(std::int32_t l)
{
    return l >= 0 && l < 3 ? &aGroups[size_t(l)] : nullptr;
}

views::SortBy* TestView::SortByLevel(std::int32_t l)
{
    return l >= 0 && l < 3 ? &aSorts[size_t(l)] : nullptr;
}

std::int32_t TestView::CalculatedFieldsCount()
{
    std::int32_t n = 0;
    for (const auto& f : *oFields) {
        n += f->Calculation() != 0 ? 1 : 0;
    }
    return n;
}

std::shared_ptr<views::GridField>
TestView::AddColumn(const std::string& sKey, const std::string& sCaption, std::int32_t lDataType,
                    std::int32_t lPropertyType, std::int32_t lCalculation, bool bEnum,
                    std::int32_t lMapping, const std::string& sFormat)
{
    auto f = std::make_shared<views::GridField>();
    f->InitField(sKey, sKey, sCaption, false, false, lDataType, lPropertyType, 1, 1000, true,
                 sFormat, lMapping, bEnum, lCalculation, {});
    oFields->Add(f);
    return f;
}

void TestView::Group(int l, const std::string& sKey, std::int32_t lDateGroupBy,
                     std::int32_t lSortOrder)
{
    auto& g = aGroups[size_t(l)];
    g.SetApply(true);
    g.ColKey = sKey;
    g.DateGroupBy = lDateGroupBy;
    g.SortOrder = lSortOrder;
}

void TestView::Sort(int l, const std::string& sKey, std::int32_t lSortOrder)
{
    auto& s = aSorts[size_t(l)];
    s.Apply = true;
    s.ColKey = sKey;
    s.SortOrder = lSortOrder;
}
