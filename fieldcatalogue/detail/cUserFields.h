#pragma once

#include "fieldcatalogue/detail/FieldSource.h"

namespace fieldcatalogue::detail {

/// The field source of a folder's user-defined fields, in the folder's order.
class cUserFields : public FieldSource
{
public:
    /// The folder's user fields; empty when the folder has no user-field collection or it
    /// cannot be read. A later field with the key of an earlier one is left out.
    cFields::FieldCollection
    GetFields(const std::shared_ptr<platform::mapi::Folder>& Folder) override;

    /// The MAPI type of a client user-property type code; text for a code it does not know.
    static PT_PROPERTY_TYPE MapiTypeOf(long lType);
};

} // namespace fieldcatalogue::detail
