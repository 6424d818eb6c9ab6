#pragma once

#include <QWidget>

#include <memory>

namespace platform::forms {
class Control;
}

namespace gui {

class ControlBinding;

/// A QToolBar for a forms ToolBar: a picture button per button (the tooltip as its text for
/// the person), separators, the enabled and visible state of each; a click on a button is the
/// bar's Click with the button's key. Null for any other control.
ControlBinding* BindToolBar(const std::shared_ptr<platform::forms::Control>& control,
                            QWidget* parent);

} // namespace gui
