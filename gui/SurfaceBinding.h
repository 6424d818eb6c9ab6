#pragma once

#include <QImage>

#include <memory>

class QWidget;

namespace platform::forms {
class Control;
class DrawingSurface;
} // namespace platform::forms

namespace gui {

class ControlBinding;

/// The persistent image of a drawing surface (what the add-in painted with AutoRedraw on) as
/// a Qt image; a null image while nothing was painted that way.
QImage SurfaceImage(const platform::forms::DrawingSurface& surface);

/// Labels that the person may click, image controls (a picture that raises Click) and picture
/// boxes (their picture, or what was painted on them): the widget and its binding, or null
/// for another kind of control.
ControlBinding* BindLabel(const std::shared_ptr<platform::forms::Control>& control,
                          QWidget* parent);
ControlBinding* BindImage(const std::shared_ptr<platform::forms::Control>& control,
                          QWidget* parent);
ControlBinding* BindPictureBox(const std::shared_ptr<platform::forms::Control>& control,
                               QWidget* parent);
/// A grid placed on a form: its grid view, found by the control's name.
ControlBinding* BindGrid(const std::shared_ptr<platform::forms::Control>& control, QWidget* parent);

} // namespace gui
