#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace platform::forms {
class Control;
}

namespace gui {

/// Keeps one widget in step with one headless control, both ways: the control's changes
/// (by the add-in) show at once through its observer, and the person's input reaches the
/// control as the same call the forms driver makes (Click, SetValue, SetText, ...).
/// The binding is a child of the widget and stops observing when it goes.
class ControlBinding : public QObject
{
    Q_OBJECT
public:
    ControlBinding(std::shared_ptr<platform::forms::Control> control, QWidget* widget);
    ~ControlBinding() override;

    platform::forms::Control& Control() const { return *m_control; }
    QWidget* Widget() const { return m_widget; }
    /// Shows the control's state on the widget (model to view).
    void Pull();
    /// Whether the widget stands where the control's position says (else a layout places it).
    void SetPlaced(bool placed) { m_placed = placed; }
    bool Placed() const { return m_placed; }
    /// The width in pixels the placed widget takes at least, so that its text shows whole
    /// where the desktop's font is wider than the one the form was made for (0: none).
    void SetFitWidth(int pixels) { m_fitWidth = pixels; }
    /// How much larger than the form's design the placed widget stands (1: as designed), so
    /// that the form's captions fit the desktop's font; the font keeps its size.
    void SetScale(double scale) { m_scale = scale; }
    /// Called when the add-in puts the control into another frame or picture box.
    std::function<void(ControlBinding&)> OnContainerChanged;

protected:
    /// The kind's own properties; the common ones (enabled, visible, font) come first.
    virtual void PullKind() {}
    /// True while the widget is being updated from the control: the widget's signals then
    /// are no input of the person's.
    bool Pulling() const { return m_pulling; }

private:
    std::shared_ptr<platform::forms::Control> m_control;
    QPointer<QWidget> m_widget;
    bool m_pulling = false;
    bool m_placed = false;
    int m_fitWidth = 0;
    double m_scale = 1;
    const platform::forms::Control* m_container = nullptr;
};

/// Makes the widget of a control and its binding, as a child of parent: labels, frames,
/// buttons, check and option boxes, text and combo boxes, images, picture boxes (with what
/// was painted on them), grids, progress bars, date pickers, tool bars. Null for controls without a widget of their own (timers, image lists,
/// menu bars, which the form view shows as its menu bar).
ControlBinding* BindControl(const std::shared_ptr<platform::forms::Control>& control,
                            QWidget* parent);

} // namespace gui
