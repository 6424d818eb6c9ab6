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
class MenuBar;

/// One entry of a menu bar: a top-level menu, an item of a menu, a free-standing pop-up menu
/// or a separator line (caption "-").
class MenuItem : public runtime::Object
{
public:
    MenuItem(std::string caption, std::string key, MenuItem* parent,
             std::shared_ptr<ListImage> picture);
    std::string TypeName() const override { return "MenuItem"; }

    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption) { m_caption = std::move(caption); }
    /// The item's key; empty for separators.
    const std::string& Key() const { return m_key; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    /// The icon shown beside the caption, or null.
    const std::shared_ptr<ListImage>& Picture() const { return m_picture; }
    /// The menu the item sits in, or null for top-level menus and pop-up menus.
    MenuItem* Parent() const { return m_parent; }
    bool IsSeparator() const { return m_caption == "-"; }
    /// Whether the item was made as a free-standing pop-up menu.
    bool IsPopup() const { return m_popup; }
    /// The items of this menu, in the order they were added.
    const std::vector<std::shared_ptr<MenuItem>>& Children() const { return m_children; }

private:
    friend class MenuItems;
    std::string m_caption;
    std::string m_key;
    MenuItem* m_parent; // non-owning: the parent menu owns its items through the bar
    std::shared_ptr<ListImage> m_picture;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_popup = false;
    std::vector<std::shared_ptr<MenuItem>> m_children;
};

/// Every item of one menu bar, found by key without regard to letter case.
class MenuItems
{
public:
    /// Adds an item under a parent (null: a top-level menu). Caption "-" with an empty key
    /// makes a separator. Error 35602 for a key already used; error 5 for an empty key that is
    /// no separator, or a parent of another bar.
    std::shared_ptr<MenuItem> Add(const std::string& caption, const std::string& key,
                                  const std::shared_ptr<MenuItem>& parent = nullptr,
                                  const std::shared_ptr<ListImage>& picture = nullptr);
    /// A free-standing pop-up menu (not on the bar), to be filled through Add and shown with
    /// `MenuBar::PopupMenu`.
    std::shared_ptr<MenuItem> CreatePopupMenu(const std::string& key);
    /// The item of the key; error 35601 when there is none.
    std::shared_ptr<MenuItem> Item(const std::string& key) const;
    /// The item of the key or null.
    std::shared_ptr<MenuItem> Find(const std::string& key) const;
    /// The top-level menus in order (pop-up menus are not among them).
    const std::vector<std::shared_ptr<MenuItem>>& TopLevel() const { return m_topLevel; }
    /// Every item ever added, in order.
    int Count() const { return static_cast<int>(m_all.size()); }
    /// Removes every item.
    void Clear();

private:
    bool Owns(const MenuItem* item) const;
    std::vector<std::shared_ptr<MenuItem>> m_all;
    std::vector<std::shared_ptr<MenuItem>> m_topLevel;
};

/// A menu bar on a form, with an image list for the item icons, an appearance style, pop-up
/// menus shown at screen pixels and an item-click event. A click reaches the handler only for
/// a visible, enabled item that is no separator and whose menus are enabled too.
class MenuBar : public Control
{
public:
    explicit MenuBar(std::string name);
    std::string TypeName() const override { return "MenuBar"; }

    MenuItems& Items() { return m_items; }
    const MenuItems& Items() const { return m_items; }
    void SetImageList(std::shared_ptr<ImageList> images) { m_images = std::move(images); }
    const std::shared_ptr<ImageList>& Images() const { return m_images; }
    int Style() const { return m_style; }
    void SetStyle(int style) { m_style = style; }

    /// Raised with the clicked item.
    std::function<void(MenuItem&)> OnItemClick;

    /// The user clicks the item of the key. False when the click did not reach the handler
    /// (no such item, a separator, a menu with items, or disabled or hidden on its way). A
    /// click on an item of the pop-up menu that is open closes that menu.
    bool Click(const std::string& key);

    /// Opens a pop-up menu made by `CreatePopupMenu` at a position in screen pixels. The menu
    /// stays open until an item of it is clicked or `ClosePopup` runs. Error 5 for a menu that
    /// is no pop-up menu of this bar.
    void PopupMenu(const std::shared_ptr<MenuItem>& popup, int xPixels, int yPixels);
    void ClosePopup() { m_openPopup.reset(); }
    /// The user picks an entry of a menu shown as a pop-up menu over the form (any menu of
    /// this bar, shown or hidden on the bar): the item of the key must lie below `menu` and
    /// it and its menus below `menu` must be visible and enabled. False when the click did not
    /// reach the handler.
    bool ClickPopupEntry(const MenuItem& menu, const std::string& key);
    /// The pop-up menu open now, or null.
    const std::shared_ptr<MenuItem>& OpenPopup() const { return m_openPopup; }
    int PopupX() const { return m_popupX; }
    int PopupY() const { return m_popupY; }

private:
    MenuItems m_items;
    std::shared_ptr<ImageList> m_images;
    int m_style = 0;
    std::shared_ptr<MenuItem> m_openPopup;
    int m_popupX = 0;
    int m_popupY = 0;
};

} // namespace platform::forms
