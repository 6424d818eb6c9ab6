#pragma once

#include "fieldcatalogue/detail/IFolderFieldSource.h"

#include <string>

namespace fieldcatalogue::detail {

/// What every field source shares: the owner's pointer and the working collection that
/// `AddField` fills.
class FieldSource : public IFolderFieldSource
{
public:
    platform::runtime::Object* ParentPtr() const override { return m_lParentPtr; }
    void SetParentPtr(platform::runtime::Object* lParentPtr) override { m_lParentPtr = lParentPtr; }

protected:
    /// Makes a field with the next `Index` and adds it under its `Key`. Throws when the field
    /// cannot be made (a caption id without text) or its key is already there; the collection
    /// is then unchanged.
    void AddField(platform::runtime::Variant ID, std::string GUID, std::string Name,
                  std::int32_t PropTag, std::int32_t PropertyType,
                  PT_PROPERTY_TYPE MapiPropertyType, bool IsUserDefined, std::int32_t lCaptionID,
                  bool HiddenProperty, std::int32_t MappingValue, bool EnumValue);

    /// Hands the working collection to the caller and starts a new empty one.
    cFields::FieldCollection TakeFields();

private:
    platform::runtime::Object* m_lParentPtr = nullptr;
    cFields::FieldCollection m_colFields;
};

} // namespace fieldcatalogue::detail
