#pragma once

#include "fieldcatalogue/cField.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>

namespace platform::mapi {
class Folder;
}

namespace fieldcatalogue {

class Application;

/// The fields of one answer of the catalogue, sorted by caption, each under its `Key`
/// (compared without regard to case). Made by `Application` only, always held by a shared_ptr.
class cFields : public platform::runtime::Object, public std::enable_shared_from_this<cFields>
{
public:
    using FieldCollection = platform::runtime::Collection<std::shared_ptr<cField>>;

    std::string TypeName() const override { return "cFields"; }

    /// The number of fields.
    std::int32_t Count() const { return m_colFields.Count(); }
    /// The field at a 1-based position or with a key (a String); null when there is none.
    /// Never throws.
    std::shared_ptr<cField> Item(const platform::runtime::Variant& Index) const;

    /// Iterates the fields in collection order.
    FieldCollection::const_iterator begin() const { return m_colFields.begin(); }
    FieldCollection::const_iterator end() const { return m_colFields.end(); }

private:
    friend class Application;

    // Fills the collection from the built-in table of the folder's item type (bStandard) or
    // from the folder's user-defined fields, then sorts it by caption. Never throws: what
    // cannot be read is left out.
    void LoadFields(const std::shared_ptr<platform::mapi::Folder>& Folder, bool bStandard);
    // Orders the fields by caption, as the grid's generic ascending sort orders texts.
    void SortByCaption();

    FieldCollection m_colFields;
};

} // namespace fieldcatalogue
