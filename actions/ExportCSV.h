#pragma once

#include "actions/IExport.h"
#include "common/IChild.h"
#include "platform/runtime/Object.h"

namespace actions {

class ActionSave;

/// Writes the report grid as delimited text: the caption row and the data rows of every
/// visible column except the outline column and the item-icon column ("Icon"); never subtotal
/// rows, header or footer.
class ExportCSV : public platform::runtime::Object,
                  public common::ChildLink<ActionSave>,
                  public IExport
{
public:
    std::string TypeName() const override { return "ExportCSV"; }

    /// Stores the save action as parent; the key is not kept.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// The writer as its parent link.
    common::IChild& AsIChild() { return *this; }

    /// Writes no file when no column qualifies or no row was kept. Errors of the writer are
    /// raised again with this writer's source.
    void Export(platform::forms::FlexGrid& fg, const std::string& File,
                const platform::runtime::Variant& Args = {}) override;
};

} // namespace actions
