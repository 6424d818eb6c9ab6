#pragma once

#include "common/IChild.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::outlook {
class Explorer;
class Explorers;
} // namespace platform::outlook

namespace shell {

class Application;
class cExplorer;

/// The wrappers of the client's explorer windows, keyed by the decimal text of a running
/// number that is never reused; listens to NewExplorer while bound.
class cExplorers : public platform::runtime::Object,
                   public common::IChild,
                   public std::enable_shared_from_this<cExplorers>
{
public:
    cExplorers() = default;
    ~cExplorers() override;
    cExplorers(const cExplorers&) = delete;
    cExplorers& operator=(const cExplorers&) = delete;
    std::string TypeName() const override { return "cExplorers"; }

    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    std::string Key() const override { return {}; }
    void ResetParentPtr() override { m_pParent = nullptr; }

    /// Wraps the explorer under the next key. Errors are raised to the caller.
    std::shared_ptr<cExplorer> Add(const std::shared_ptr<platform::outlook::Explorer>& oExplorer);
    /// Hears of new explorer windows from now on.
    void BindExplorers(const std::shared_ptr<platform::outlook::Explorers>& oExplorers);
    /// Hears no more of new explorer windows.
    void UnbindExplorers();
    /// The wrapper under the key, or null.
    std::shared_ptr<cExplorer> Item(const std::string& sKey) const;
    /// The wrappers in insertion order.
    std::vector<std::shared_ptr<cExplorer>> Items() const;
    int Count() const { return m_colItems.Count(); }
    /// Releases and drops the wrapper under the key, when the entry is that very wrapper.
    void Remove(std::int32_t lKey, const std::shared_ptr<cExplorer>& oExplorer);
    /// Removes the toolbar of every wrapper; errors are ignored.
    void RemoveToolbars();
    /// The root object, or null when the link was reset.
    Application* Parent() const;
    common::IChild& AsIChild() { return *this; }

private:
    void Explorers_NewExplorer(const std::shared_ptr<platform::outlook::Explorer>& oExplorer);

    platform::runtime::Object* m_pParent = nullptr; // non-owning: the root object owns this
    platform::runtime::Collection<std::shared_ptr<cExplorer>> m_colItems;
    std::int32_t m_lNextKey = 0;
    std::shared_ptr<platform::outlook::Explorers> m_colExplorers;
    int m_iNewExplorerId = 0;
};

} // namespace shell
