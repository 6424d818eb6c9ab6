#pragma once

#include "actions/IExport.h"
#include "common/IChild.h"
#include "platform/runtime/Object.h"

#include <string>

namespace actions {

class ActionSave;

/// The writer chosen for the PDF report format. It produces no file: the report is printed
/// to a PDF printer instead.
class ExportPDF : public platform::runtime::Object,
                  public common::ChildLink<ActionSave>,
                  public IExport
{
public:
    std::string TypeName() const override { return "ExportPDF"; }

    /// Stores the save action as parent; the key is not kept.
    void Init(platform::runtime::Object* lParentPtr, const std::string& = {}) override
    {
        common::ChildLink<ActionSave>::Init(lParentPtr);
    }
    /// The writer as its parent link.
    common::IChild& AsIChild() { return *this; }

    /// Writes nothing.
    void Export(platform::forms::FlexGrid&, const std::string&,
                const platform::runtime::Variant& = {}) override
    {
    }
};

} // namespace actions
