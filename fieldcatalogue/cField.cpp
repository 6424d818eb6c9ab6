#include "fieldcatalogue/cField.h"

#include "common/modLanguage.h"
#include "fieldcatalogue/cFields.h"

namespace fieldcatalogue {

std::string cField::Key() const
{
    if (m_sGUID.empty())
        return m_sName;
    return m_sGUID + "/" + m_sName;
}

void cField::InitField(platform::runtime::Object* lParentPtr, FieldInit oInit)
{
    m_oChild.Init(lParentPtr);
    m_vID = std::move(oInit.ID);
    m_sGUID = std::move(oInit.GUID);
    m_sName = std::move(oInit.Name);
    m_lPropTag = oInit.PropTag;
    m_lPropertyType = oInit.PropertyType;
    m_eMapiPropertyType = oInit.MapiPropertyType;
    m_bIsUserDefined = oInit.IsUserDefined;
    m_bHiddenProperty = oInit.HiddenProperty;
    m_lMappingValue = oInit.MappingValue;
    m_bEnumValue = oInit.EnumValue;
    m_lIndex = oInit.Index;
    m_sCaption =
        oInit.lCaptionID == 0 ? m_sName : common::modLanguage::GetResString(oInit.lCaptionID);
}

void cField::ChildLink::Init(platform::runtime::Object* lParentPtr, const std::string&)
{
    // Only a collection held by a shared_ptr can be reached again later; any other parent
    // leaves the field without one.
    auto* pFields = dynamic_cast<cFields*>(lParentPtr);
    m_oField.m_pParent = pFields ? pFields->weak_from_this() : std::weak_ptr<cFields>{};
}

} // namespace fieldcatalogue
