#pragma once

#include "actions/IExport.h"
#include "common/IChild.h"
#include "platform/runtime/Object.h"

#include <string>

namespace actions {

class ActionSave;

/// Writes the report grid into the save action's HTML template: one column per visible column
/// of some width (outline and item-icon columns included), the caption row, and either every
/// row or, with `PrintSubtotalsOnly`, only the subtotal rows. Cells carry CSS classes named
/// with the add-in's class prefix.
class ExportHTML : public platform::runtime::Object,
                   public common::ChildLink<ActionSave>,
                   public IExport
{
public:
    std::string TypeName() const override { return "ExportHTML"; }

    /// Stores the save action as parent; the key is not kept.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// The writer as its parent link.
    common::IChild& AsIChild() { return *this; }

    /// The prefix of the CSS class names (the add-in settings' "PrefixHtmlClass").
    const std::string& ClassPrefix() const { return m_sClassPrefix; }
    void SetClassPrefix(const std::string& sValue) { m_sClassPrefix = sValue; }

    /// Needs a parent save action (error 91 without one). Writes no file when no column
    /// qualifies. Errors of the writer are raised again with this writer's source.
    void Export(platform::forms::FlexGrid& fg, const std::string& File,
                const platform::runtime::Variant& Args = {}) override;

private:
    std::string m_sClassPrefix = "tlv_";
};

} // namespace actions
