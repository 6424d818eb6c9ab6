#pragma once

#include "engine/Filter.h"
#include "grid/detail/IReportView.h"
#include "views/GridField.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

#include <array>
#include <memory>
#include <string>

/// A view assembled in the test from real columns, levels and filter.
class TestView : public grid::detail::IReportView
{
public:
    TestView();
    std::shared_ptr<views::GridFields> Fields() override { return oFields; }
    views::GroupBy* GroupByLevel(std::int32_t l) override;
    views::SortBy* SortByLevel(std::int32_t l) override;
    bool DontShowTime() override { return bDontShowTime; }
    bool DisplayResultsOnly() override { return bDisplayResultsOnly; }
    bool DisplayFunctionName() override { return bDisplayFunctionName; }
    bool CalculateItemsCount() override { return bCalculateItemsCount; }
    std::int32_t CalculatedFieldsCount() override;
    std::shared_ptr<engine::Filter> Filter() override { return oFilter; }

    /// Adds a column; returns it.
    std::shared_ptr<views::GridField>
    AddColumn(const std::string& sKey, const std::string& sCaption, std::int32_t lDataType,
              std::int32_t lPropertyType = 1, std::int32_t lCalculation = 0, bool bEnum = false,
              std::int32_t lMapping = 0, const std::string& sFormat = {});
    /// Applies group level l on a column key.
    void Group(int l, const std::string& sKey, std::int32_t lDateGroupBy = 0,
               std::int32_t lSortOrder = 0);
    /// Applies sort level l on a column key.
    void Sort(int l, const std::string& sKey, std::int32_t lSortOrder = 0);

    std::shared_ptr<views::GridFields> oFields;
    std::array<views::GroupBy, 3> aGroups;
    std::array<views::SortBy, 3> aSorts;
    std::shared_ptr<engine::Filter> oFilter;
    bool bDontShowTime = false;
    bool bDisplayResultsOnly = false;
    bool bDisplayFunctionName = false;
    bool bCalculateItemsCount = false;
};
