#include "platform/forms/Control.h"

#include "platform/forms/Form.h"
#include "platform/runtime/Error.h"

namespace platform::forms {

Control::Control(std::string name) : m_name(std::move(name)) {}

Control::~Control()
{
    m_destroyed = true;
    NotifyChanged();
}

std::string Control::Caption() const
{
    runtime::Raise(runtime::errors::NotSupported, m_name);
}

void Control::SetCaption(const std::string&)
{
    runtime::Raise(runtime::errors::NotSupported, m_name);
}

Control* Control::Container() const
{
    if (m_container)
        return m_container;
    return m_parent;
}

void Control::SetContainer(Control* container)
{
    if (container && (container == this || !m_parent || container->Parent() != m_parent))
        runtime::Raise(runtime::errors::InvalidProcedureCall, m_name + ".Container");
    m_container = container;
    NotifyChanged();
}

void Control::Move(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    SetWidth(width);
    SetHeight(height);
}

} // namespace platform::forms
