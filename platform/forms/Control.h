#pragma once

#include "platform/runtime/Object.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::forms {

class Form;

/// The base of every control on a headless form: name, tag, caption (where the control has
/// one), enabled and visible flags, position and size in twips, font size.
/// A control without a caption raises error 438 when its caption is read or set: the error
/// for any property an object lacks.
class Control : public runtime::Object
{
public:
    explicit Control(std::string name);
    /// Tells the observer, if any, that the control goes (Destroyed() is then true).
    ~Control() override;
    std::string TypeName() const override { return "Control"; }

    /// The control's name on its form (unique on the form).
    const std::string& Name() const { return m_name; }
    /// Free text; the system keeps resource ids of captions here.
    const std::string& Tag() const { return m_tag; }
    void SetTag(std::string tag) { m_tag = std::move(tag); }

    /// Whether the control has a caption (labels, buttons, frames, check and option boxes).
    virtual bool HasCaption() const { return false; }
    /// The caption; error 438 when the control has none.
    virtual std::string Caption() const;
    /// Sets the caption; error 438 when the control has none.
    virtual void SetCaption(const std::string& caption);

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled)
    {
        m_enabled = enabled;
        NotifyChanged();
    }
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool visible)
    {
        m_visible = visible;
        NotifyChanged();
    }

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetLeft(int twips)
    {
        m_left = twips;
        NotifyChanged();
    }
    void SetTop(int twips)
    {
        m_top = twips;
        NotifyChanged();
    }
    virtual void SetWidth(int twips)
    {
        m_width = twips;
        NotifyChanged();
    }
    virtual void SetHeight(int twips)
    {
        m_height = twips;
        NotifyChanged();
    }
    /// Moves and sizes the control in one step.
    void Move(int left, int top, int width, int height);

    /// The text a view shows while the pointer rests on the control; empty: none.
    const std::string& ToolTipText() const { return m_toolTipText; }
    void SetToolTipText(std::string text)
    {
        m_toolTipText = std::move(text);
        NotifyChanged();
    }

    double FontSize() const { return m_fontSize; }
    void SetFontSize(double points)
    {
        m_fontSize = points;
        NotifyChanged();
    }

    /// The form the control sits on, or null before it is added to one.
    Form* Parent() const { return m_parent; }
    /// The control it sits in: a frame or picture box when one was set, else its form; null
    /// before it is on a form.
    Control* Container() const;
    /// Puts the control into a frame or picture box of the same form (null: the form itself).
    /// Error 5 for a container on another form or the control itself.
    void SetContainer(Control* container);

    /// Who mirrors the control on a screen (a view): called after anything that shows has
    /// changed, by code or by the user. One observer per control; an empty one stops it.
    using ChangeObserver = std::function<void(Control&)>;
    void SetObserver(ChangeObserver observer) { m_observer = std::move(observer); }
    /// True only while the observer hears of the control's end: a view then lets go of it
    /// and reads nothing more from it.
    bool Destroyed() const { return m_destroyed; }
    /// Tells the observer, if any, that something that shows has changed.
    void NotifyChanged()
    {
        if (m_observer)
            m_observer(*this);
    }

private:
    friend class Form;
    std::string m_name;
    std::string m_tag;
    std::string m_toolTipText;
    bool m_enabled = true;
    bool m_visible = true;
    int m_left = 0;
    int m_top = 0;
    int m_width = 1200;
    int m_height = 375;
    double m_fontSize = 8.25;
    Form* m_parent = nullptr;       // non-owning: the form owns its controls
    Control* m_container = nullptr; // non-owning: a sibling on the same form
    ChangeObserver m_observer;
    bool m_destroyed = false;
};

/// A control with a caption of its own.
class CaptionControl : public Control
{
public:
    using Control::Control;
    bool HasCaption() const override { return true; }
    std::string Caption() const override { return m_caption; }
    void SetCaption(const std::string& caption) override
    {
        m_caption = caption;
        NotifyChanged();
    }

private:
    std::string m_caption;
};

} // namespace platform::forms
