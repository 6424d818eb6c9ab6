#pragma once

#include "platform/runtime/Object.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::outlook {

class CommandBar;
class CommandBarControls;

/// A button on a command bar (the only control type the system adds: type 1).
class CommandBarButton : public runtime::Object
{
public:
    std::string TypeName() const override { return "CommandBarButton"; }

    std::string Caption;
    std::string Tag;
    std::string TooltipText;
    std::string Parameter;
    bool BeginGroup = false;
    /// 0 automatic, 1 icon only, 2 caption only, 3 icon and caption.
    int Style = 0;
    bool Visible = true;
    bool Enabled = true;
    bool Temporary = false;
    std::shared_ptr<runtime::Object> Picture;
    std::shared_ptr<runtime::Object> Mask;

    /// Connects a Click handler (ctrl, cancel default); returns its id for DisconnectClick.
    int OnClick(std::function<void(CommandBarButton&, bool&)> handler);
    void DisconnectClick(int id);
    /// The user clicks the button: raises Click to every handler while it is enabled.
    void Click();
    /// Removes the button from its bar (the temporary flag is accepted and ignored).
    void Delete(bool temporary = false);
    /// The bar the button is on, or null after Delete.
    CommandBar* Parent() const { return m_bar; }

private:
    friend class CommandBarControls;
    CommandBar* m_bar = nullptr; // non-owning: the bar owns its controls
    std::map<int, std::function<void(CommandBarButton&, bool&)>> m_clickHandlers;
    int m_nextHandler = 1;
};

/// The controls of one bar, 1-based.
class CommandBarControls : public runtime::Object
{
public:
    explicit CommandBarControls(CommandBar& bar) : m_bar(&bar) {}
    std::string TypeName() const override { return "CommandBarControls"; }
    /// Adds a control of `type` (1 button; other types raise error 5) with the parameter,
    /// before the 1-based position `before` (0: at the end).
    std::shared_ptr<CommandBarButton> Add(int type = 1, int id = 0,
                                          const std::string& parameter = {}, int before = 0,
                                          bool temporary = false);
    int Count() const { return static_cast<int>(m_items.size()); }
    /// Error 9 outside 1..Count.
    std::shared_ptr<CommandBarButton> Item(int index) const;
    void Remove(const CommandBarButton& button);

private:
    CommandBar* m_bar; // non-owning: the bar owns this list
    std::vector<std::shared_ptr<CommandBarButton>> m_items;
};

class CommandBars;

/// One command bar (toolbar).
class CommandBar : public runtime::Object
{
public:
    CommandBar(CommandBars& owner, std::string name, int position, bool temporary);
    std::string TypeName() const override { return "CommandBar"; }

    const std::string& Name() const { return m_name; }
    bool Visible = true;
    /// 0 left, 1 top, 2 right, 3 bottom, 4 floating.
    int Position = 1;
    int Left = 0;
    int RowIndex = 0;
    bool Temporary = false;
    CommandBarControls& Controls() { return *m_controls; }
    /// The first control with this tag, or null.
    std::shared_ptr<CommandBarButton> FindControl(const std::string& tag) const;
    /// Removes the bar from its collection.
    void Delete();

private:
    friend class CommandBars;
    CommandBars* m_owner; // non-owning: the collection owns its bars
    std::string m_name;
    std::shared_ptr<CommandBarControls> m_controls;
};

/// The command bars of a window (an explorer's), in creation order. OnUpdate fires when a
/// bar's visibility or placement changes through the user (see UserSetVisible).
class CommandBars : public runtime::Object
{
public:
    /// `parent` is the window that owns the bars (an Explorer), held without owning it.
    explicit CommandBars(runtime::Object* parent) : m_parent(parent) {}
    std::string TypeName() const override { return "CommandBars"; }

    runtime::Object* Parent() const { return m_parent; }
    /// Adds a bar; error 5 when a bar of that name (any case) exists.
    std::shared_ptr<CommandBar> Add(const std::string& name, int position = 1, bool menuBar = false,
                                    bool temporary = false);
    /// The bar of that name (any case); error 5 when there is none.
    std::shared_ptr<CommandBar> Item(const std::string& name) const;
    int Count() const { return static_cast<int>(m_bars.size()); }
    const std::vector<std::shared_ptr<CommandBar>>& Bars() const { return m_bars; }

    int OnUpdate(std::function<void()> handler);
    void DisconnectUpdate(int id);
    /// The user shows or hides a bar: sets Visible and raises OnUpdate.
    void UserSetVisible(const std::string& name, bool visible);
    /// Raises OnUpdate.
    void RaiseUpdate();

private:
    friend class CommandBar;
    runtime::Object* m_parent; // non-owning: the window owns its bars
    std::vector<std::shared_ptr<CommandBar>> m_bars;
    std::map<int, std::function<void()>> m_updateHandlers;
    int m_nextHandler = 1;
};

} // namespace platform::outlook
