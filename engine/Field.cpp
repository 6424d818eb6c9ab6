#include "engine/Field.h"

#include <utility>

namespace engine {

Field::SharedDefinition::SharedDefinition(std::unique_ptr<const Definition> def) noexcept
    : m_pDef(def.release())
{
    if (m_pDef)
        m_pDef->users.fetch_add(1, std::memory_order_relaxed);
}

Field::SharedDefinition::SharedDefinition(const SharedDefinition& other) noexcept
    : m_pDef(other.m_pDef)
{
    if (m_pDef)
        m_pDef->users.fetch_add(1, std::memory_order_relaxed);
}

Field::SharedDefinition::SharedDefinition(SharedDefinition&& other) noexcept
    : m_pDef(std::exchange(other.m_pDef, nullptr))
{
}

Field::SharedDefinition& Field::SharedDefinition::operator=(SharedDefinition other) noexcept
{
    std::swap(m_pDef, other.m_pDef);
    return *this;
}

Field::SharedDefinition::~SharedDefinition()
{
    // The last field sharing the definition deletes it.
    if (m_pDef && m_pDef->users.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete m_pDef;
}

void Field::Init(const std::string& sKey, std::int32_t lPropTag, PT_PROPERTY_TYPE lMapiPropType,
                 const platform::runtime::Variant& lID, const std::string& sGUID,
                 const std::string& sName, long lMappingValue)
{
    // A column definition is fixed once made: the view hands the same Field to every read.
    if (!m_bInitialise)
        return;
    m_bInitialise = false;
    m_lPR = lPropTag;
    // Made in place: the definition's counter cannot be moved.
    m_def = SharedDefinition(std::unique_ptr<const Definition>(
        new Definition{sKey, lMapiPropType, lID, sGUID, sName, lMappingValue}));
}

const Field::Definition& Field::Def() const
{
    static const Definition kNone;
    return m_def.get() ? *m_def.get() : kNone;
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
    if (target.m_def.get() != m_def.get())
        target.m_def = m_def;
    target.m_vValue = {};
}

} // namespace engine
