#include "platform/forms/Control.h"

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

void Control::Move(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    SetWidth(width);
    SetHeight(height);
}

} // namespace platform::forms
