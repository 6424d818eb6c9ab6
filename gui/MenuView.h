#pragma once

#include <QWidget>

#include <memory>

namespace platform::forms {
class Control;
}

namespace gui {

class ControlBinding;

/// A QMenuBar for a forms MenuBar: its top-level menus, each filled from the model when it
/// opens (captions, pictures, separators, enabled and visible items, sub-menus), and the
/// bar's pop-up menu shown where the add-in opened it. Choosing an item is the bar's Click
/// with the item's key. Null for any other control.
ControlBinding* BindMenuBar(const std::shared_ptr<platform::forms::Control>& control,
                            QWidget* parent);

} // namespace gui
