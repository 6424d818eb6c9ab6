#include "platform/forms/ToolBar.h"

#include "platform/forms/detail/KeyCompare.h"
#include "platform/runtime/Error.h"
#include "platform/win/Desktop.h"

namespace platform::forms {

ToolBarButton::ToolBarButton(ButtonKind kind, std::string key, std::shared_ptr<ListImage> picture,
                             std::string tooltip)
    : m_kind(kind), m_key(std::move(key)), m_picture(std::move(picture)),
      m_tooltip(std::move(tooltip))
{
}

ToolBar::ToolBar(std::string name) : Control(std::move(name)) {}

std::shared_ptr<ToolBarButton> ToolBar::AddButton(const std::string& key,
                                                  const std::shared_ptr<ListImage>& picture,
                                                  const std::string& tooltip)
{
    if (key.empty())
        throw runtime::Error(5, "ToolBar", "A button needs a key.");
    for (const auto& button : m_buttons)
        if (detail::SameKey(button->Key(), key))
            throw runtime::Error(35602, "ToolBar", "Key is not unique in collection");
    auto button = std::make_shared<ToolBarButton>(ButtonKind::Button, key, picture, tooltip);
    m_buttons.push_back(button);
    NotifyChanged();
    return button;
}

void ToolBar::AddSeparator()
{
    m_buttons.push_back(std::make_shared<ToolBarButton>(ButtonKind::Separator, std::string(),
                                                        nullptr, std::string()));
    NotifyChanged();
}

std::shared_ptr<ToolBarButton> ToolBar::Button(const std::string& key) const
{
    if (!key.empty())
        for (const auto& button : m_buttons)
            if (detail::SameKey(button->Key(), key))
                return button;
    throw runtime::Error(35601, "ToolBar", "Element not found");
}

int ToolBar::ButtonsWidth() const
{
    int pixels = 0;
    for (const auto& button : m_buttons)
        if (button->Visible())
            pixels += button->Kind() == ButtonKind::Separator ? kSeparatorPixels : kButtonPixels;
    return pixels * win::Desktop::kTwipsPerPixel;
}

bool ToolBar::Click(const std::string& key)
{
    if (!Enabled() || !Visible() || key.empty())
        return false;
    for (const auto& button : m_buttons) {
        if (!detail::SameKey(button->Key(), key))
            continue;
        if (!button->Enabled() || !button->Visible())
            return false;
        if (OnButtonClick)
            OnButtonClick(button->Key());
        return true;
    }
    return false;
}

} // namespace platform::forms
