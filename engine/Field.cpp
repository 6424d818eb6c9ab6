#include "engine/Field.h"

namespace engine {

void Field::Init(const std::string& sKey, std::int32_t lPropTag, PT_PROPERTY_TYPE lMapiPropType,
                 const platform::runtime::Variant& lID, const std::string& sGUID,
                 const std::string& sName, long lMappingValue)
{
    // A column definition is fixed once made: the view hands the same Field to every read.
    if (!m_bInitialise)
        return;
    m_bInitialise = false;
    m_sKey = sKey;
    m_lPR = lPropTag;
    m_lMapiPropertyType = lMapiPropType;
    m_vID = lID;
    m_sGUID = sGUID;
    m_sName = sName;
    m_lMappingValue = lMappingValue;
}

std::shared_ptr<Field> Field::CloneField() const
{
    auto oClone = std::make_shared<Field>();
    oClone->Init(m_sKey, m_lPR, m_lMapiPropertyType, m_vID, m_sGUID, m_sName, m_lMappingValue);
    return oClone;
}

} // namespace engine
