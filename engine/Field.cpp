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
    m_lPR = lPropTag;
    m_def = std::make_shared<const Definition>(
        Definition{sKey, lMapiPropType, lID, sGUID, sName, lMappingValue});
}

const Field::Definition& Field::Def() const
{
    static const Definition kNone;
    return m_def ? *m_def : kNone;
}

std::shared_ptr<Field> Field::CloneField() const
{
    auto oClone = std::make_shared<Field>();
    oClone->m_bInitialise = false; // as after Init: a copy is never initialised again
    oClone->m_lPR = m_lPR;
    oClone->m_def = m_def;
    return oClone;
}

} // namespace engine
