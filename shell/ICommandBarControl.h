#pragma once

#include <memory>
#include <string>

namespace platform::outlook {
class CommandBar;
}

namespace shell {

/// A control that the add-in's toolbar holds; the toolbar knows its controls only through
/// this interface. The defaults answer the empty text and False and do nothing.
class ICommandBarControl
{
public:
    virtual ~ICommandBarControl() = default;
    /// Whether the control is enabled.
    virtual bool Enabled() const { return false; }
    virtual void SetEnabled(bool) {}
    /// Whether the control is shown.
    virtual bool Visible() const { return false; }
    virtual void SetVisible(bool) {}
    /// The text shown on the control.
    virtual std::string Caption() const { return {}; }
    /// Adds or finds the control on the given bar and binds to it.
    virtual void Create(const std::shared_ptr<platform::outlook::CommandBar>&) {}
    /// The control's name, unique within one toolbar.
    virtual std::string Name() const { return {}; }
};

} // namespace shell
