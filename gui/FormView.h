#pragma once

#include <QDialog>

class QVBoxLayout;

#include <memory>
#include <string>
#include <vector>

namespace platform::forms {
class CommandButton;
class FlexGrid;
class Form;
} // namespace platform::forms

namespace gui {

class ControlBinding;
class GridView;
class SurfaceWatch;

/// A window that mirrors a headless form: its caption, size, window state, visibility and
/// what was painted on it, a widget per control (menu bar on top, tool bar with the unplaced
/// lists and text boxes beside it, controls with a position where it says, controls in a frame
/// or picture box inside it, grids placed on the form below, taking the room that is left,
/// the rest stacked), and the grids the form keeps outside its controls. The person's close, resize
/// and keys reach the form as the driver's calls do (UserClose, SetWidth/SetHeight, UserKeyDown);
/// when the add-in hides or unloads the form, the window hides; when the add-in destroys the form,
/// the window deletes itself.
///
/// A modal form's window is a dialog over its parent (the window that opened it): while it
/// shows, no other window of the application takes input. Escape closes it wherever the focus
/// is: it clicks the form's cancel button, as the runtime does, or closes the window as its
/// close button does when the form has none.
class FormView : public QDialog
{
    Q_OBJECT
public:
    /// How the form is shown: as a window of its own or modally over its parent.
    enum class Showing
    {
        Modeless,
        Modal,
    };

    explicit FormView(platform::forms::Form& form, QWidget* parent = nullptr,
                      Showing showing = Showing::Modeless);
    ~FormView() override;

    platform::forms::Form& Form() const { return m_form; }
    /// Shows a grid the form keeps beside its controls; it takes the room that is left.
    GridView* AddGrid(platform::forms::FlexGrid& grid, const std::string& name);
    /// The widget of the control of that name, or null.
    QWidget* WidgetOf(const std::string& name) const;
    /// Shows the form's state (model to view).
    void Pull();
    /// Shows the form modally until the add-in hides or unloads it (a view made modal).
    void RunModal();
    /// Whether Enter presses a button of the form wherever the focus is: the form has a
    /// visible button marked as its default (Enter does nothing while it is disabled).
    bool HasDefaultButton() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void reject() override;

private:
    void BuildControls();
    /// Puts a control's widget into the widget of its frame or picture box (or back on the
    /// form), where its position counts from the container's corner.
    void PlaceInContainer(ControlBinding& binding);
    /// What the add-in painted on the form shows as the window's background.
    void PullBackground();
    /// Moves the window where the form says, when the form's position changed since the
    /// view last saw it (a form that never had one is placed by the window manager).
    void PullRectangle();
    void PullPosition();
    /// Waits until a window just shown is on the screen and painted.
    void DrawAtOnce();
    /// Tells the form a window state the window took before the form heard of it.
    void PushWindowState();
    bool Shown() const;
    /// The form's visible, enabled button that Escape (`&CommandButton::Cancel`) or Enter
    /// (`&CommandButton::Default`) presses, or null.
    std::shared_ptr<platform::forms::CommandButton>
    KeyButton(bool platform::forms::CommandButton::*role) const;
    /// The form's visible button marked default (enabled or not), or null.
    std::shared_ptr<platform::forms::CommandButton> DefaultButton() const;

    platform::forms::Form& m_form;
    std::vector<ControlBinding*> m_bindings; // owned by their widgets
    QVBoxLayout* m_layout = nullptr;
    QWidget* m_canvas = nullptr; // the positioned controls' area, or null
    double m_scale = 1; // how much larger than its design the form stands (see LayoutScale)
    bool m_pulling = false;
    bool m_pushing = false;
    bool m_modal = false;
    bool m_positionSeen = false; // m_formLeft/m_formTop hold what the view last saw
    int m_formLeft = 0;          // twips
    int m_formTop = 0;           // twips
    bool m_formGone = false;     // the form was destroyed: nothing more is read from it
    std::unique_ptr<SurfaceWatch> m_surfaceWatch; // paintings after the window shows
};

} // namespace gui
