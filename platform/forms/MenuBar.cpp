#include "platform/forms/MenuBar.h"

#include "platform/forms/ImageList.h"
#include "platform/forms/detail/KeyCompare.h"
#include "platform/runtime/Error.h"

#include <algorithm>

namespace platform::forms {

MenuItem::MenuItem(std::string caption, std::string key, MenuItem* parent,
                   std::shared_ptr<ListImage> picture)
    : m_caption(std::move(caption)), m_key(std::move(key)), m_parent(parent),
      m_picture(std::move(picture))
{
}

bool MenuItems::Owns(const MenuItem* item) const
{
    return std::any_of(m_all.begin(), m_all.end(),
                       [item](const auto& own) { return own.get() == item; });
}

std::shared_ptr<MenuItem> MenuItems::Find(const std::string& key) const
{
    if (key.empty())
        return nullptr;
    for (const auto& item : m_all)
        if (detail::SameKey(item->Key(), key))
            return item;
    return nullptr;
}

std::shared_ptr<MenuItem> MenuItems::Item(const std::string& key) const
{
    auto item = Find(key);
    if (!item)
        throw runtime::Error(35601, "MenuItems", "Element not found");
    return item;
}

std::shared_ptr<MenuItem> MenuItems::Add(const std::string& caption, const std::string& key,
                                         const std::shared_ptr<MenuItem>& parent,
                                         const std::shared_ptr<ListImage>& picture)
{
    if (key.empty() && caption != "-")
        throw runtime::Error(5, "MenuItems", "A menu item needs a key.");
    if (Find(key))
        throw runtime::Error(35602, "MenuItems", "Key is not unique in collection");
    if (parent && !Owns(parent.get()))
        throw runtime::Error(5, "MenuItems", "The parent menu belongs to another menu bar.");
    auto item = std::make_shared<MenuItem>(caption, key, parent.get(), picture);
    m_all.push_back(item);
    if (parent)
        parent->m_children.push_back(item);
    else
        m_topLevel.push_back(item);
    return item;
}

std::shared_ptr<MenuItem> MenuItems::CreatePopupMenu(const std::string& key)
{
    if (key.empty())
        throw runtime::Error(5, "MenuItems", "A pop-up menu needs a key.");
    if (Find(key))
        throw runtime::Error(35602, "MenuItems", "Key is not unique in collection");
    auto popup = std::make_shared<MenuItem>(std::string(), key, nullptr, nullptr);
    popup->m_popup = true;
    m_all.push_back(popup);
    return popup;
}

void MenuItems::Clear()
{
    m_all.clear();
    m_topLevel.clear();
}

MenuBar::MenuBar(std::string name) : Control(std::move(name)) {}

bool MenuBar::Click(const std::string& key)
{
    auto item = m_items.Find(key);
    if (!item || item->IsSeparator() || item->IsPopup() || !item->Children().empty())
        return false;
    const MenuItem* root = item.get();
    for (const MenuItem* step = item.get(); step; step = step->Parent()) {
        if (!step->Enabled() || !step->Visible())
            return false;
        root = step;
    }
    if (root->IsPopup()) {
        if (m_openPopup.get() != root)
            return false;
        m_openPopup.reset();
    } else if (!Enabled() || !Visible()) {
        return false;
    }
    if (OnItemClick)
        OnItemClick(*item);
    return true;
}

bool MenuBar::ClickPopupEntry(const MenuItem& menu, const std::string& key)
{
    auto item = m_items.Find(key);
    if (!item || item->IsSeparator() || !item->Children().empty() || item.get() == &menu)
        return false;
    const MenuItem* step = item.get();
    for (; step && step != &menu; step = step->Parent())
        if (!step->Enabled() || !step->Visible())
            return false;
    if (step != &menu)
        return false;
    if (OnItemClick)
        OnItemClick(*item);
    return true;
}

void MenuBar::PopupMenu(const std::shared_ptr<MenuItem>& popup, int xPixels, int yPixels)
{
    if (!popup || !popup->IsPopup() || m_items.Find(popup->Key()) != popup)
        throw runtime::Error(5, "MenuBar", "That is no pop-up menu of this menu bar.");
    m_openPopup = popup;
    m_popupX = xPixels;
    m_popupY = yPixels;
    NotifyChanged();
}

} // namespace platform::forms
