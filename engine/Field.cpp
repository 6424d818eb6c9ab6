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
    CloneInto(*oClone);
    return oClone;
}

void Field::CloneInto(Field& target) const
{
    target.m_bInitialise = false; // as after Init: a copy is never initialised again
    target.m_lPR = m_lPR;
    target.m_def = m_def;
    target.m_vValue = {};
}

} // namespace engine
