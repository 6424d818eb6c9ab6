#include "platform/outlook/CommandBars.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"

#include <algorithm>

namespace platform::outlook {
namespace {

template <class Handlers, class... Args> void RaiseAll(const Handlers& handlers, Args&... args)
{
    // Copy first: a handler may disconnect itself or others while the event runs.
    const auto copy = handlers;
    for (const auto& [id, handler] : copy)
        handler(args...);
}

} // namespace

int CommandBarButton::OnClick(std::function<void(CommandBarButton&, bool&)> handler)
{
    m_clickHandlers.emplace(m_nextHandler, std::move(handler));
    return m_nextHandler++;
}

void CommandBarButton::DisconnectClick(int id)
{
    m_clickHandlers.erase(id);
}

void CommandBarButton::Click()
{
    if (!Enabled || !Visible)
        return;
    bool cancel = false;
    RaiseAll(m_clickHandlers, *this, cancel);
}

void CommandBarButton::Delete(bool)
{
    if (m_bar != nullptr)
        m_bar->Controls().Remove(*this);
}

std::shared_ptr<CommandBarButton>
CommandBarControls::Add(int type, int, const std::string& parameter, int before, bool temporary)
{
    if (type != 1)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "CommandBarControls.Add",
                       "Only buttons can be added to a command bar here.");
    auto button = std::make_shared<CommandBarButton>();
    button->Parameter = parameter;
    button->Temporary = temporary;
    button->m_bar = m_bar;
    const auto at =
        (before >= 1 && before <= Count()) ? m_items.begin() + (before - 1) : m_items.end();
    m_items.insert(at, button);
    return button;
}

std::shared_ptr<CommandBarButton> CommandBarControls::Item(int index) const
{
    if (index < 1 || index > Count())
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "CommandBarControls.Item");
    return m_items[static_cast<std::size_t>(index - 1)];
}

void CommandBarControls::Remove(const CommandBarButton& button)
{
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [&](const auto& item) { return item.get() == &button; });
    if (it == m_items.end())
        return;
    (*it)->m_bar = nullptr;
    m_items.erase(it);
}

CommandBar::CommandBar(CommandBars& owner, std::string name, int position, bool temporary)
    : Position(position), Temporary(temporary), m_owner(&owner), m_name(std::move(name)),
      m_controls(std::make_shared<CommandBarControls>(*this))
{
}

std::shared_ptr<CommandBarButton> CommandBar::FindControl(const std::string& tag) const
{
    for (int i = 1; i <= m_controls->Count(); ++i)
        if (auto button = m_controls->Item(i); button->Tag == tag)
            return button;
    return nullptr;
}

void CommandBar::Delete()
{
    if (m_owner == nullptr)
        return;
    auto& bars = m_owner->m_bars;
    bars.erase(std::remove_if(bars.begin(), bars.end(),
                              [this](const auto& bar) { return bar.get() == this; }),
               bars.end());
    m_owner = nullptr;
}

std::shared_ptr<CommandBar> CommandBars::Add(const std::string& name, int position, bool,
                                             bool temporary)
{
    for (const auto& bar : m_bars)
        if (runtime::TextEquals(bar->Name(), name))
            runtime::Raise(runtime::errors::InvalidProcedureCall, "CommandBars.Add",
                           "A command bar named " + name + " exists already.");
    auto bar = std::make_shared<CommandBar>(*this, name, position, temporary);
    m_bars.push_back(bar);
    return bar;
}

std::shared_ptr<CommandBar> CommandBars::Item(const std::string& name) const
{
    for (const auto& bar : m_bars)
        if (runtime::TextEquals(bar->Name(), name))
            return bar;
    runtime::Raise(runtime::errors::InvalidProcedureCall, "CommandBars.Item",
                   "There is no command bar named " + name + ".");
}

int CommandBars::OnUpdate(std::function<void()> handler)
{
    m_updateHandlers.emplace(m_nextHandler, std::move(handler));
    return m_nextHandler++;
}

void CommandBars::DisconnectUpdate(int id)
{
    m_updateHandlers.erase(id);
}

void CommandBars::UserSetVisible(const std::string& name, bool visible)
{
    Item(name)->Visible = visible;
    RaiseUpdate();
}

void CommandBars::RaiseUpdate()
{
    RaiseAll(m_updateHandlers);
}

} // namespace platform::outlook
