#pragma once

#include "GridFixture.h"
#include "TestView.h"

#include "engine/Enumerations.h"
#include "engine/Filter.h"
#include "engine/Records.h"
#include "grid/cGrid.h"
#include "grid/detail/IReportView.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Variant.h"
#include "views/GridField.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

/// One value of a record built in a test.
struct Value
{
    std::string sKey;
    engine::PT_PROPERTY_TYPE lType;
    platform::runtime::Variant vValue;
};

/// Builds records and fills a grid from them; dumps the grid row by row.
class ReportFixture : public GridFixture
{
protected:
    /// Appends a record with these values (class 1, an appointment, unless given).
    void AddRecord(const std::vector<Value>& aValues, long lClass = 1);
    /// A multi-valued text value.
    static platform::runtime::Variant List(const std::vector<std::string>& aTexts);
    /// Fills the grid from the records by the view.
    void Fill();
    /// Row r as "<kind>|<text of column 0>|...|<text of the last field column>", kind "D" for
    /// data rows and "S<outline level>" for subtotal rows.
    std::string Row(int r) const;
    /// Every row from the first data row on.
    std::vector<std::string> Rows() const;
    /// The texts of a column (by key) from the first data row on.
    std::vector<std::string> Column(const std::string& sKey) const;

    TestView oView;
    std::shared_ptr<engine::Records> oRecords = std::make_shared<engine::Records>();
    platform::forms::FlexGrid fg;
};
