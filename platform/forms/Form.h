#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/DrawingSurface.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::forms {

/// How a form is shown.
enum class ShowStyle
{
    Modeless = 0,
    Modal = 1,
};

/// The window states of a form.
enum class WindowState
{
    Normal = 0,
    Minimized = 1,
    Maximized = 2,
};

/// Why a form is being unloaded, as QueryUnload reports it.
enum class UnloadMode
{
    FormControlMenu = 0, ///< the user closed the window
    FormCode = 1,        ///< the program unloaded it
    AppWindows = 2,
    AppTaskManager = 3,
    FormMDIForm = 4,
    FormOwner = 5,
};

/// Scale modes for ScaleX and ScaleY.
enum class ScaleMode
{
    User = 0,
    Twips = 1,
    Points = 2,
    Pixels = 3,
    Inches = 5,
    Millimeters = 6,
    Centimeters = 7,
};

/// A headless form: it has controls, a caption, a placement in twips and a window state,
/// and raises its events synchronously, inside the call that causes them, through virtual
/// members that a form class overrides (Form_Load, Form_Resize, Form_QueryUnload, ...).
///
/// Life cycle: constructed (not loaded) → Load() raises Form_Load once → Show() makes it
/// visible (loading it first) → Hide() → Unload() asks Form_QueryUnload and Form_Unload,
/// either of which may cancel, then forgets the window. A form shown modally returns from
/// Show() only once it is hidden or unloaded: the forms driver (Driver.h) runs whoever
/// answers modal forms (a test's queued answer or the host's person) while it is shown.
class MenuItem;

class Form : public CaptionControl
{
public:
    explicit Form(std::string name);
    ~Form() override;
    std::string TypeName() const override { return Name(); }

    /// The form's controls in the order they were added.
    const std::vector<std::shared_ptr<Control>>& Controls() const { return m_controls; }
    /// The control of that name (letter case ignored), or null.
    std::shared_ptr<Control> FindControl(const std::string& name) const;
    /// Creates a control of type T named `name` on this form and returns it.
    template <class T, class... Args>
    std::shared_ptr<T> Add(const std::string& name, Args&&... args)
    {
        auto control = std::make_shared<T>(name, std::forward<Args>(args)...);
        Adopt(control);
        return control;
    }
    /// Puts an existing control on this form.
    void Adopt(std::shared_ptr<Control> control);

    /// Loads the form (raises Form_Load once); does nothing when it is loaded.
    void Load();
    bool IsLoaded() const { return m_loaded; }
    /// Shows the form, loading it first. A modal show returns when the form is hidden or
    /// unloaded; error 400 when the form is already shown modally.
    void Show(ShowStyle style = ShowStyle::Modeless, Form* owner = nullptr);
    /// Who shows forms on a screen (a view): called whenever a form is shown modelessly, after
    /// it became visible; modal shows go to the driver. One for the process; empty to stop.
    using ShowObserver = std::function<void(Form&)>;
    static void SetShowObserver(ShowObserver observer);
    /// Hides the form; it stays loaded.
    void Hide();
    /// Unloads the form unless Form_QueryUnload or Form_Unload cancels; true when unloaded.
    bool Unload(UnloadMode mode = UnloadMode::FormCode);
    /// Whether the form is shown modally right now.
    bool IsModal() const { return m_modalDepth > 0; }
    /// The form this one was shown over, or null.
    Form* Owner() const { return m_owner; }

    void SetVisible(bool visible) override;
    void SetWidth(int twips) override;
    void SetHeight(int twips) override;
    forms::WindowState GetWindowState() const { return m_windowState; }
    void SetWindowState(forms::WindowState state);

    /// The inner area in twips (the window less its border and caption bar).
    int ScaleWidth() const;
    int ScaleHeight() const;
    int ScaleLeft() const { return 0; }
    int ScaleTop() const { return 0; }
    /// Twips, or User once the drawing surface has a user scale.
    forms::ScaleMode GetScaleMode() const;
    /// Converts a width or a height between scale modes; error 5 for the user scale.
    static double ScaleX(double value, forms::ScaleMode from, forms::ScaleMode to);
    static double ScaleY(double value, forms::ScaleMode from, forms::ScaleMode to);

    /// The window handle while loaded (a live handle of the desktop), else 0.
    std::int64_t hWnd() const { return m_hwnd; }
    /// 0 default, 11 hourglass.
    int MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int pointer) { m_mousePointer = pointer; }
    /// Whether the form sees key presses before its controls.
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool preview) { m_keyPreview = preview; }

    /// A key pressed while the form is active (the host's or a test's user action): the form
    /// sees it first when KeyPreview is on. Returns the key code after the handlers, 0 when a
    /// handler swallowed it.
    int UserKeyDown(int keyCode, int shift);
    /// The user closes the window with its close button.
    bool UserClose() { return Unload(UnloadMode::FormControlMenu); }

    /// The drawing side of the form's inner area (see DrawingSurface): its user scale applies
    /// to drawing; placement and the ScaleWidth/ScaleHeight above stay in twips.
    DrawingSurface& Surface() { return m_surface; }
    const DrawingSurface& Surface() const { return m_surface; }

    /// Shows a menu of a menu bar on this form as a pop-up menu at x, y in the form's scale
    /// units (at the mouse, 0/0 here, when left out) and waits for the person's pick through
    /// the forms Driver; a picked entry raises the bar's item click, as on the bar. Nothing is
    /// picked when the menu is dismissed. `flags` and `defaultMenu` are kept for the host.
    /// Error 5 for a menu of no menu bar on this form, or a pick that is no entry of the menu.
    void PopupMenu(const std::shared_ptr<MenuItem>& menu, int flags = 0,
                   std::optional<double> x = std::nullopt, std::optional<double> y = std::nullopt,
                   const std::shared_ptr<MenuItem>& defaultMenu = nullptr);

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}
    virtual void Form_Unload(int& /*Cancel*/) {}
    virtual void Form_KeyDown(int& /*KeyCode*/, int /*Shift*/) {}

private:
    void RaiseResize();

    std::vector<std::shared_ptr<Control>> m_controls;
    DrawingSurface m_surface;
    bool m_loaded = false;
    bool m_loading = false;
    int m_modalDepth = 0;
    Form* m_owner = nullptr; // non-owning: the owner outlives the forms shown over it
    forms::WindowState m_windowState = WindowState::Normal;
    std::int64_t m_hwnd = 0;
    int m_mousePointer = 0;
    bool m_keyPreview = false;
};

} // namespace platform::forms
