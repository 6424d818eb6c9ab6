#pragma once

#include "platform/forms/Control.h"
#include "platform/runtime/Object.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::forms {

class ImageList;
class ListImage;

/// The kinds of tool bar entries, by the values the add operation takes.
enum class ButtonKind
{
    Separator = 0,
    Button = 1,
};

/// One entry of a tool bar: a keyed picture button or a separator.
class ToolBarButton : public runtime::Object
{
public:
    ToolBarButton(ButtonKind kind, std::string key, std::shared_ptr<ListImage> picture,
                  std::string tooltip);
    std::string TypeName() const override { return "ToolBarButton"; }
    ButtonKind Kind() const { return m_kind; }
    const std::string& Key() const { return m_key; }
    const std::shared_ptr<ListImage>& Picture() const { return m_picture; }
    const std::string& ToolTipText() const { return m_tooltip; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }

private:
    ButtonKind m_kind;
    std::string m_key;
    std::shared_ptr<ListImage> m_picture;
    std::string m_tooltip;
    bool m_enabled = true;
    bool m_visible = true;
};

/// A tool bar host with keyed picture buttons and separators, an image list for the pictures,
/// an appearance style and a click event that carries the button's key.
class ToolBar : public Control
{
public:
    /// Pixels a button and a separator take across the bar.
    static constexpr int kButtonPixels = 23;
    static constexpr int kSeparatorPixels = 8;

    explicit ToolBar(std::string name);
    std::string TypeName() const override { return "ToolBar"; }

    void SetImageList(std::shared_ptr<ImageList> images) { m_images = std::move(images); }
    const std::shared_ptr<ImageList>& Images() const { return m_images; }
    int Style() const { return m_style; }
    void SetStyle(int style) { m_style = style; }

    /// Adds a button. Error 35602 for a key already used; error 5 for an empty key.
    std::shared_ptr<ToolBarButton> AddButton(const std::string& key,
                                             const std::shared_ptr<ListImage>& picture,
                                             const std::string& tooltip);
    /// Removes every button and separator (a window that builds its bar anew on each load).
    void Clear()
    {
        m_buttons.clear();
        NotifyChanged();
    }
    /// Adds a separator line.
    void AddSeparator();
    /// The button of the key; error 35601 when there is none.
    std::shared_ptr<ToolBarButton> Button(const std::string& key) const;
    /// Every entry in order, separators included.
    const std::vector<std::shared_ptr<ToolBarButton>>& Buttons() const { return m_buttons; }

    /// The width the entries need, in twips.
    int ButtonsWidth() const;

    /// Raised with the key of the clicked button.
    std::function<void(const std::string&)> OnButtonClick;
    /// The user clicks the button of the key; false when the click does not reach the
    /// handler (no such button, or it or the bar is disabled or hidden).
    bool Click(const std::string& key);

private:
    std::shared_ptr<ImageList> m_images;
    int m_style = 0;
    std::vector<std::shared_ptr<ToolBarButton>> m_buttons;
};

} // namespace platform::forms
