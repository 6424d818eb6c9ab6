#pragma once

#include "actions/IExport.h"
#include "common/IChild.h"
#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace engine {
class Records;
} // namespace engine
namespace views {
class GridFields;
} // namespace views

namespace actions {

class ActionSave;

/// Turns the report grid into a table of typed values and hands it, with the header and
/// footer and the save action's layout switches, to the engine's workbook writer. Date,
/// number and Boolean columns become typed values; duration and work columns take the raw
/// numbers of the records, and their subtotals the grid's hidden total columns.
class ExportExcel : public platform::runtime::Object,
                    public common::ChildLink<ActionSave>,
                    public IExport
{
public:
    std::string TypeName() const override { return "ExportExcel"; }

    /// Stores the save action as parent; the key is not kept.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// The writer as its parent link.
    common::IChild& AsIChild() { return *this; }

    /// The view's columns the table follows and whether the view groups on a Boolean column
    /// (set by the save action before `Export`).
    void SetColumns(std::shared_ptr<views::GridFields> oFields, bool bBooleanGrouping);
    /// The records of the read the grid shows (set by the save action before `Export`).
    const std::shared_ptr<engine::Records>& Records() const { return m_oRecords; }
    void SetRecords(std::shared_ptr<engine::Records> oRecords) { m_oRecords = std::move(oRecords); }

    /// Needs a parent save action and the columns (error 91 without them). Writes no file when
    /// the grid has no data row or no column or row qualifies. Errors of the writer are
    /// raised again with this writer's source.
    void Export(platform::forms::FlexGrid& fg, const std::string& File,
                const platform::runtime::Variant& Args = {}) override;

private:
    std::shared_ptr<views::GridFields> m_oFields;
    bool m_bBooleanGrouping = false;
    std::shared_ptr<engine::Records> m_oRecords;
};

} // namespace actions
