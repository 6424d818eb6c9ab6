#include "platform/forms/Form.h"

#include "platform/forms/Driver.h"
#include "platform/forms/MenuBar.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "platform/win/Desktop.h"

#include <algorithm>

namespace platform::forms {
namespace {

// The frame around a form's inner area, in twips: borders left and right, caption bar and
// border at the top and the bottom.
constexpr int kFrameWidth = 2 * 60;
constexpr int kFrameHeight = 390 + 60;

double TwipsPer(ScaleMode mode)
{
    switch (mode) {
    case ScaleMode::User:
        break;
    case ScaleMode::Twips:
        return 1.0;
    case ScaleMode::Points:
        return 20.0;
    case ScaleMode::Pixels:
        return 15.0;
    case ScaleMode::Inches:
        return 1440.0;
    case ScaleMode::Millimeters:
        return 1440.0 / 25.4;
    case ScaleMode::Centimeters:
        return 1440.0 / 2.54;
    }
    runtime::Raise(runtime::errors::InvalidProcedureCall, "ScaleX");
}

win::ScreenRect PixelRect(const Form& form)
{
    return {form.Left() / 15, form.Top() / 15, (form.Left() + form.Width()) / 15,
            (form.Top() + form.Height()) / 15};
}

Form::ShowObserver& ShowObserverSlot()
{
    static Form::ShowObserver observer;
    return observer;
}

} // namespace

void Form::SetShowObserver(ShowObserver observer)
{
    ShowObserverSlot() = std::move(observer);
}

Form::Form(std::string name)
    : CaptionControl(std::move(name)),
      m_surface([this] { return std::pair(ScaleWidth(), ScaleHeight()); })
{
    SetVisible(false);
    Control::SetWidth(6000);
    Control::SetHeight(4500);
}

Form::~Form()
{
    if (m_hwnd != 0)
        win::Desktop::current().destroyWindow(m_hwnd);
    for (auto& control : m_controls) {
        control->m_parent = nullptr;
        control->m_container = nullptr;
    }
}

std::shared_ptr<Control> Form::FindControl(const std::string& name) const
{
    const std::string wanted = runtime::LCase(name);
    for (const auto& control : m_controls)
        if (runtime::LCase(control->Name()) == wanted)
            return control;
    return nullptr;
}

void Form::Adopt(std::shared_ptr<Control> control)
{
    if (!control)
        runtime::Raise(runtime::errors::ObjectNotSet, "Form.Controls.Add");
    if (FindControl(control->Name()))
        runtime::Raise(360, "Form.Controls.Add",
                       "Object already loaded: " + control->Name() + " is on the form already.");
    control->m_parent = this;
    m_controls.push_back(std::move(control));
}

void Form::Load()
{
    if (m_loaded || m_loading)
        return;
    m_loading = true;
    m_hwnd = win::Desktop::current().createWindow(PixelRect(*this));
    m_loaded = true;
    try {
        Form_Load();
    } catch (...) {
        m_loading = false;
        throw;
    }
    m_loading = false;
}

void Form::Show(ShowStyle style, Form* owner)
{
    Load();
    if (!m_loaded)
        return; // Form_Load unloaded it again
    if (style == ShowStyle::Modal && m_modalDepth > 0)
        runtime::Raise(400, "Form.Show", "Form already displayed; can't show modally");
    m_owner = owner;
    SetVisible(true);
    Form_Activate();
    if (style == ShowStyle::Modeless) {
        if (const auto& observer = ShowObserverSlot(); observer && m_loaded && Visible())
            observer(*this);
        return;
    }
    ++m_modalDepth;
    try {
        Driver::current().RunModal(*this);
    } catch (...) {
        --m_modalDepth;
        throw;
    }
    --m_modalDepth;
    // Whoever answered left it open: it is closed as by its close button.
    if (m_loaded && Visible() && !Unload(UnloadMode::FormControlMenu))
        Hide();
}

void Form::Hide()
{
    SetVisible(false);
}

bool Form::Unload(UnloadMode mode)
{
    if (!m_loaded)
        return true;
    int cancel = 0;
    Form_QueryUnload(cancel, static_cast<int>(mode));
    if (cancel != 0)
        return false;
    Form_Unload(cancel);
    if (cancel != 0)
        return false;
    SetVisible(false);
    win::Desktop::current().destroyWindow(m_hwnd);
    m_hwnd = 0;
    m_loaded = false;
    m_owner = nullptr;
    NotifyChanged();
    return true;
}

void Form::SetVisible(bool visible)
{
    Control::SetVisible(visible);
}

void Form::SetWidth(int twips)
{
    Control::SetWidth(std::max(twips, 0));
    RaiseResize();
}

void Form::SetHeight(int twips)
{
    Control::SetHeight(std::max(twips, 0));
    RaiseResize();
}

void Form::SetWindowState(forms::WindowState state)
{
    m_windowState = state;
    NotifyChanged();
    RaiseResize();
}

void Form::RaiseResize()
{
    if (m_hwnd != 0)
        win::Desktop::current().setWindowRect(m_hwnd, PixelRect(*this));
    if (m_loaded && !m_loading)
        Form_Resize();
}

int Form::ScaleWidth() const
{
    return std::max(Width() - kFrameWidth, 0);
}

int Form::ScaleHeight() const
{
    return std::max(Height() - kFrameHeight, 0);
}

forms::ScaleMode Form::GetScaleMode() const
{
    return m_surface.ScaleMode() == 0 ? ScaleMode::User : ScaleMode::Twips;
}

void Form::PopupMenu(const std::shared_ptr<MenuItem>& menu, int /*flags*/, std::optional<double> x,
                     std::optional<double> y, const std::shared_ptr<MenuItem>& /*defaultMenu*/)
{
    MenuBar* bar = nullptr;
    for (const auto& control : m_controls) {
        auto* candidate = dynamic_cast<MenuBar*>(control.get());
        if (menu && candidate && candidate->Items().Find(menu->Key()) == menu)
            bar = candidate;
    }
    if (!bar)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "Form.PopupMenu",
                       "That is no menu of a menu bar on " + Name() + ".");
    const std::string picked =
        Driver::current().AnswerPopup(Name(), *menu, x.value_or(0), y.value_or(0));
    if (picked.empty())
        return;
    auto item = bar->Items().Find(picked);
    bool below = false;
    for (const MenuItem* step = item ? item->Parent() : nullptr; step; step = step->Parent())
        below = below || step == menu.get();
    if (!below)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "Form.PopupMenu",
                       "The pop-up menu " + menu->Key() + " has no entry " + picked + ".");
    bar->ClickPopupEntry(*menu, picked);
}

double Form::ScaleX(double value, forms::ScaleMode from, forms::ScaleMode to)
{
    return value * TwipsPer(from) / TwipsPer(to);
}

double Form::ScaleY(double value, forms::ScaleMode from, forms::ScaleMode to)
{
    return ScaleX(value, from, to);
}

int Form::UserKeyDown(int keyCode, int shift)
{
    if (m_keyPreview)
        Form_KeyDown(keyCode, shift);
    return keyCode;
}

} // namespace platform::forms
