#include "fieldcatalogue/detail/FieldSource.h"

#include <utility>

namespace fieldcatalogue::detail {

void FieldSource::AddField(platform::runtime::Variant ID, std::string GUID, std::string Name,
                           std::int32_t PropTag, std::int32_t PropertyType,
                           PT_PROPERTY_TYPE MapiPropertyType, bool IsUserDefined,
                           std::int32_t lCaptionID, bool HiddenProperty, std::int32_t MappingValue,
                           bool EnumValue)
{
    auto oField = std::make_shared<cField>();
    oField->InitField(m_lParentPtr,
                      {std::move(ID), std::move(GUID), std::move(Name), PropTag, PropertyType,
                       MapiPropertyType, IsUserDefined, lCaptionID, HiddenProperty, MappingValue,
                       EnumValue, m_colFields.Count() + 1});
    std::string sKey = oField->Key();
    m_colFields.Add(std::move(oField), std::move(sKey));
}

cFields::FieldCollection FieldSource::TakeFields()
{
    return std::exchange(m_colFields, {});
}

} // namespace fieldcatalogue::detail
