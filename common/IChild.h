#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace common {

/// The parent link of a child object: the child knows its parent without owning it, so that
/// trees of objects never form reference cycles. The parent must outlive the child or call
/// `ResetParentPtr` before it goes.
class IChild
{
public:
    virtual ~IChild() = default;
    /// Gives the child its parent (not owned) and, in a keyed collection, its key.
    virtual void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) = 0;
    /// The key given at `Init`.
    virtual std::string Key() const = 0;
    /// Forgets the parent: `Parent` is null afterwards.
    virtual void ResetParentPtr() = 0;
};

/// The usual implementation of `IChild` for a child whose parent is a TParent.
template <class TParent> class ChildLink : public IChild
{
public:
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override
    {
        m_pParent = lParentPtr;
        m_sKey = sKey;
    }
    std::string Key() const override { return m_sKey; }
    void ResetParentPtr() override { m_pParent = nullptr; }

    /// The parent for the duration of a call, or null when there is none (or it is not a
    /// TParent).
    TParent* Parent() const { return dynamic_cast<TParent*>(m_pParent); }

private:
    platform::runtime::Object* m_pParent = nullptr;
    std::string m_sKey;
};

} // namespace common
