#pragma once

#include <QWidget>

#include <memory>

class QComboBox;

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

/// Keeps a list box that stands beside a form's tool bar to a bounded width, so that a long
/// entry (a template's name of hundreds of characters) does not push the bar's buttons and the
/// boxes beside it aside; its drop-down shows every entry whole, on more lines where the
/// screen is narrower than the entry.
void BoundBesideToolBar(QComboBox& box);

} // namespace gui
