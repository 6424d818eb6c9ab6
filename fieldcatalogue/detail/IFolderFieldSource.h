#pragma once

#include "fieldcatalogue/cFields.h"

#include <memory>

namespace platform::mapi {
class Folder;
}

namespace fieldcatalogue::detail {

/// A source of the fields of one answer: a built-in table or a folder's user-defined fields.
/// A source lives for one `cFields::LoadFields` call.
class IFolderFieldSource
{
public:
    virtual ~IFolderFieldSource() = default;
    /// A new collection of new fields, each under its `Key`, in the source's order. Never
    /// throws: a field that cannot be made or added is left out.
    virtual cFields::FieldCollection
    GetFields(const std::shared_ptr<platform::mapi::Folder>& Folder) = 0;
    /// The collection that will own the fields; every new field gets it as its parent.
    virtual platform::runtime::Object* ParentPtr() const = 0;
    /// Sets the collection that will own the fields.
    virtual void SetParentPtr(platform::runtime::Object* lParentPtr) = 0;
};

} // namespace fieldcatalogue::detail
