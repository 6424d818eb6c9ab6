#include "platform/mapi/Restriction.h"

#include "platform/mapi/Constants.h"
#include "platform/runtime/Error.h"

namespace platform::mapi {

namespace {

bool KnownKind(long kind)
{
    return kind == RES_AND || kind == RES_OR || kind == RES_NOT || kind == RES_CONTENT ||
           kind == RES_PROPERTY || kind == RES_EXIST;
}

bool IsLeaf(long kind)
{
    return kind == RES_CONTENT || kind == RES_PROPERTY || kind == RES_EXIST;
}

} // namespace

Restriction::Restriction(long kind) : m_kind(kind)
{
    if (!KnownKind(kind))
        runtime::Raise(runtime::errors::InvalidProcedureCall, "Restriction",
                       "Unknown restriction kind " + std::to_string(kind) + ".");
}

void Restriction::Require(bool ok, const char* member) const
{
    if (!ok)
        runtime::Raise(runtime::errors::NotSupported, "Restriction",
                       std::string("A restriction of kind ") + std::to_string(m_kind) + " has no " +
                           member + ".");
}

std::shared_ptr<Restriction> Restriction::Add(long kind)
{
    Require(m_kind == RES_AND || m_kind == RES_OR, "Add");
    auto child = std::make_shared<Restriction>(kind);
    m_children.push_back(child);
    return child;
}

long Restriction::Count() const
{
    return static_cast<long>(m_children.size());
}

std::shared_ptr<Restriction> Restriction::Item(long index) const
{
    Require(m_kind == RES_AND || m_kind == RES_OR, "Item");
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Restriction");
    return m_children[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Restriction> Restriction::SetKind(long kind)
{
    Require(m_kind == RES_NOT, "SetKind");
    auto child = std::make_shared<Restriction>(kind);
    m_children.assign(1, child);
    return child;
}

std::shared_ptr<Restriction> Restriction::Child() const
{
    Require(m_kind == RES_NOT, "Child");
    return m_children.empty() ? nullptr : m_children.front();
}

void Restriction::SetUlPropTag(std::int32_t tag)
{
    Require(IsLeaf(m_kind), "ulPropTag");
    m_tag = tag;
}

void Restriction::SetRelop(long relop)
{
    Require(m_kind == RES_PROPERTY, "relop");
    if (relop < RELOP_LT || relop > RELOP_NE)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "Restriction",
                       "Unknown relational operator " + std::to_string(relop) + ".");
    m_relop = relop;
}

void Restriction::SetUlFuzzyLevel(long level)
{
    Require(m_kind == RES_CONTENT, "ulFuzzyLevel");
    m_fuzzy = level;
}

void Restriction::SetLpProp(const runtime::Variant& value)
{
    Require(m_kind == RES_PROPERTY || m_kind == RES_CONTENT, "lpProp");
    m_value = value;
}

} // namespace platform::mapi
