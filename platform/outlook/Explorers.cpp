#include "platform/outlook/Explorers.h"

#include "platform/outlook/CommandBars.h"
#include "platform/runtime/Error.h"

#include <algorithm>

namespace platform::outlook {
namespace {

template <class Handlers, class... Args>
void RaiseAll(const Handlers& handlers, const Args&... args)
{
    const auto copy = handlers; // a handler may disconnect handlers while the event runs
    for (const auto& [id, handler] : copy)
        handler(args...);
}

} // namespace

Explorer::Explorer() = default;
Explorer::~Explorer() = default;

std::shared_ptr<outlook::CommandBars> Explorer::CommandBars()
{
    if (!m_commandBars)
        m_commandBars = std::make_shared<outlook::CommandBars>(this);
    return m_commandBars;
}

int Explorer::OnActivate(std::function<void()> handler)
{
    m_activateHandlers.emplace(m_nextHandler, std::move(handler));
    return m_nextHandler++;
}

int Explorer::OnClose(std::function<void()> handler)
{
    m_closeHandlers.emplace(m_nextHandler, std::move(handler));
    return m_nextHandler++;
}

void Explorer::Disconnect(int id)
{
    m_activateHandlers.erase(id);
    m_closeHandlers.erase(id);
}

void Explorer::Activate()
{
    if (!m_closed)
        RaiseAll(m_activateHandlers);
}

void Explorer::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    // Keep this window alive while its handlers and the collection let go of it.
    auto self = shared_from_this();
    // The window has left the client's list by the time its Close handlers look at it.
    if (m_explorers != nullptr)
        m_explorers->Closed(*this);
    RaiseAll(m_closeHandlers);
}

std::shared_ptr<Explorer> Explorers::Item(int index) const
{
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Explorers.Item");
    return m_items[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Explorer> Explorers::Add()
{
    auto explorer = std::make_shared<Explorer>();
    explorer->m_explorers = this;
    m_items.push_back(explorer);
    RaiseAll(m_newHandlers, explorer);
    return explorer;
}

int Explorers::OnNewExplorer(std::function<void(const std::shared_ptr<Explorer>&)> handler)
{
    m_newHandlers.emplace(m_nextHandler, std::move(handler));
    return m_nextHandler++;
}

void Explorers::DisconnectNewExplorer(int id)
{
    m_newHandlers.erase(id);
}

void Explorers::Closed(Explorer& explorer)
{
    explorer.m_explorers = nullptr;
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [&](const auto& item) { return item.get() == &explorer; }),
                  m_items.end());
}

} // namespace platform::outlook
