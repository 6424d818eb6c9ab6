#include "shell/cExplorers.h"

#include "common/ErrorHandling.h"
#include "platform/outlook/Explorers.h"
#include "platform/runtime/ResumeNext.h"
#include "shell/Application.h"
#include "shell/cExplorer.h"

namespace shell {

namespace rt = platform::runtime;

cExplorers::~cExplorers()
{
    UnbindExplorers();
    // Each wrapper ends with the collection and releases its explorer and toolbar first.
    rt::ResumeNext ignore;
    for (auto& oItem : m_colItems)
        ignore([&] { oItem->AsIChild().ResetParentPtr(); });
}

void cExplorers::Init(rt::Object* lParentPtr, const std::string&)
{
    m_pParent = lParentPtr;
}

Application* cExplorers::Parent() const
{
    return dynamic_cast<Application*>(m_pParent);
}

std::shared_ptr<cExplorer>
cExplorers::Add(const std::shared_ptr<platform::outlook::Explorer>& oExplorer)
{
    return common::Rethrowing("cExplorers", "Add", [&] {
        auto oItem = std::make_shared<cExplorer>();
        oItem->AsIChild().Init(this, {});
        oItem->Init(oExplorer, m_lNextKey);
        m_colItems.Add(oItem, std::to_string(m_lNextKey));
        ++m_lNextKey;
        return oItem;
    });
}

void cExplorers::BindExplorers(const std::shared_ptr<platform::outlook::Explorers>& oExplorers)
{
    UnbindExplorers();
    m_colExplorers = oExplorers;
    if (m_colExplorers)
        m_iNewExplorerId = m_colExplorers->OnNewExplorer(
            [this](const std::shared_ptr<platform::outlook::Explorer>& o) {
                Explorers_NewExplorer(o);
            });
}

void cExplorers::UnbindExplorers()
{
    if (m_colExplorers && m_iNewExplorerId)
        m_colExplorers->DisconnectNewExplorer(m_iNewExplorerId);
    m_iNewExplorerId = 0;
    m_colExplorers.reset();
}

void cExplorers::Explorers_NewExplorer(
    const std::shared_ptr<platform::outlook::Explorer>& oExplorer)
{
    rt::ResumeNext ignore;
    ignore([&] { Add(oExplorer); });
}

std::shared_ptr<cExplorer> cExplorers::Item(const std::string& sKey) const
{
    if (const auto* pItem = const_cast<cExplorers*>(this)->m_colItems.TryItem(sKey))
        return *pItem;
    return nullptr;
}

std::vector<std::shared_ptr<cExplorer>> cExplorers::Items() const
{
    return {m_colItems.begin(), m_colItems.end()};
}

void cExplorers::Remove(std::int32_t lKey, const std::shared_ptr<cExplorer>& oExplorer)
{
    if (!oExplorer)
        return;
    rt::ResumeNext ignore;
    const std::string sKey = std::to_string(lKey);
    auto oEntry = Item(sKey);
    if (!oEntry || oEntry != oExplorer)
        return;
    ignore([&] { oEntry->AsIChild().ResetParentPtr(); });
    // The release may have shut the add-in down and dropped the collection's other owners;
    // the entry still goes only after the wrapper's release has finished.
    ignore([&] {
        if (m_colItems.Contains(sKey))
            m_colItems.Remove(sKey);
    });
}

void cExplorers::RemoveToolbars()
{
    rt::ResumeNext ignore;
    for (const auto& oItem : Items())
        ignore([&] { oItem->RemoveToolbar(); });
}

} // namespace shell
