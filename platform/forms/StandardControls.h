#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/DrawingSurface.h"
#include "platform/runtime/Date.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::forms {

/// A label: a caption, and a Click event when the user clicks it.
class Label : public CaptionControl
{
public:
    using CaptionControl::CaptionControl;
    std::string TypeName() const override { return "Label"; }
    std::function<void()> OnClick;
    /// The user's click: raised only while the label is enabled.
    void Click();
};

/// A small image control: shows a picture and raises Click when the user clicks it.
class Image : public Control
{
public:
    using Control::Control;
    std::string TypeName() const override { return "Image"; }
    std::shared_ptr<runtime::Object> Picture;
    /// Whether the picture is stretched to the control's size.
    bool Stretch = false;
    std::function<void()> OnClick;
    /// The user's click: raised only while the image is enabled.
    void Click();
};

/// A frame grouping other controls; its caption is the group's title.
class Frame : public CaptionControl
{
public:
    using CaptionControl::CaptionControl;
    std::string TypeName() const override { return "Frame"; }
};

/// A push button. Click() raises the Click event, as the user's click does.
class CommandButton : public CaptionControl
{
public:
    using CaptionControl::CaptionControl;
    std::string TypeName() const override { return "CommandButton"; }
    std::function<void()> OnClick;
    /// The user's click: raised only while the button is enabled.
    void Click();
    bool Default = false;
    bool Cancel = false;
};

/// A check box with the values 0 unchecked, 1 checked, 2 greyed; setting a new value raises
/// Click.
class CheckBox : public CaptionControl
{
public:
    using CaptionControl::CaptionControl;
    std::string TypeName() const override { return "CheckBox"; }
    int Value() const { return m_value; }
    void SetValue(int value);
    std::function<void()> OnClick;

private:
    int m_value = 0;
};

/// An option button; setting it on turns its siblings of the same group off and raises Click.
class OptionButton : public CaptionControl
{
public:
    using CaptionControl::CaptionControl;
    std::string TypeName() const override { return "OptionButton"; }
    bool Value() const { return m_value; }
    void SetValue(bool value);
    /// Option buttons with the same group (their container, a frame's name) exclude each other.
    std::string Group;
    std::function<void()> OnClick;

private:
    bool m_value = false;
};

/// A single-line or multi-line text box.
class TextBox : public Control
{
public:
    using Control::Control;
    std::string TypeName() const override { return "TextBox"; }
    const std::string& Text() const { return m_text; }
    /// Sets the text and raises Change when it differs.
    void SetText(const std::string& text);
    int SelStart() const { return m_selStart; }
    int SelLength() const { return m_selLength; }
    void SetSelStart(int start);
    void SetSelLength(int length);
    std::uint32_t BackColor() const { return m_backColor; }
    void SetBackColor(std::uint32_t colour)
    {
        m_backColor = colour;
        NotifyChanged();
    }
    /// Gives the box the focus (raises GotFocus).
    void SetFocus();
    std::function<void()> OnChange;
    std::function<void()> OnGotFocus;
    std::function<void(int& keyCode, int shift)> OnKeyDown;
    /// The user types a key into the box.
    void UserKeyDown(int keyCode, int shift = 0);

private:
    std::string m_text;
    int m_selStart = 0;
    int m_selLength = 0;
    std::uint32_t m_backColor = 0xFFFFFF;
};

/// A drop-down list. Setting Text to an entry of the list (letter case ignored) selects it and
/// raises Click, as a pick from the list does; ListIndex -1 means no entry.
class ComboBox : public Control
{
public:
    using Control::Control;
    std::string TypeName() const override { return "ComboBox"; }
    void Clear();
    /// Adds an entry at the end, or before `index`.
    void AddItem(const std::string& item, std::optional<int> index = std::nullopt);
    void RemoveItem(int index);
    int ListCount() const { return static_cast<int>(m_items.size()); }
    /// The entry at index; error 381 outside the list.
    const std::string& List(int index) const;
    std::int32_t ItemData(int index) const;
    void SetItemData(int index, std::int32_t data);
    int ListIndex() const { return m_listIndex; }
    /// Selects an entry (-1: none) and raises Click when the selection changes.
    void SetListIndex(int index);
    /// The selected entry's text (or the typed text of an editable box).
    std::string Text() const;
    void SetText(const std::string& text);
    std::uint32_t BackColor() const { return m_backColor; }
    /// The colour behind the text (&HBBGGRR).
    void SetBackColor(std::uint32_t colour)
    {
        m_backColor = colour & 0xFFFFFF;
        NotifyChanged();
    }
    std::function<void()> OnClick;

private:
    std::uint32_t m_backColor = 0xFFFFFF;
    std::vector<std::string> m_items;
    std::vector<std::int32_t> m_itemData;
    int m_listIndex = -1;
    std::string m_text;
};

/// A picture box: a place for a picture and for painting (its drawing surface covers the
/// whole box, which has no border here); it can contain other controls.
class PictureBox : public Control
{
public:
    explicit PictureBox(std::string name);
    std::string TypeName() const override { return "PictureBox"; }
    std::shared_ptr<runtime::Object> Picture;
    DrawingSurface& Surface() { return m_surface; }
    const DrawingSurface& Surface() const { return m_surface; }

private:
    DrawingSurface m_surface;
};

/// A progress bar from Min to Max.
class ProgressBar : public Control
{
public:
    using Control::Control;
    std::string TypeName() const override { return "ProgressBar"; }
    double Min() const { return m_min; }
    double Max() const { return m_max; }
    double Value() const { return m_value; }
    void SetMin(double value)
    {
        m_min = value;
        NotifyChanged();
    }
    void SetMax(double value)
    {
        m_max = value;
        NotifyChanged();
    }
    /// Error 380 for a value outside Min..Max.
    void SetValue(double value);

private:
    double m_min = 0;
    double m_max = 100;
    double m_value = 0;
};

/// A date picker with an optional check box (Checked), a date value and a drop-down calendar.
/// Setting the value from code raises Change when it differs, as the user's choice does.
class DTPicker : public Control
{
public:
    using Control::Control;
    std::string TypeName() const override { return "DTPicker"; }
    runtime::Date Value() const { return m_value; }
    void SetValue(runtime::Date value);
    bool Checked = true;

    /// The calendar's first day of the week: 0 Monday ... 6 Sunday, -1 the system's default.
    /// Error 380 outside.
    int FirstDayOfWeek() const { return m_firstDayOfWeek; }
    void SetFirstDayOfWeek(int day);
    /// How the date is shown: 0 long date, 1 short date, 2 time, 3 custom. Error 380 outside.
    int Format() const { return m_format; }
    void SetFormat(int format);
    /// Redraws the control (after its calendar changed while closed); counted for the host.
    void Refresh() { ++m_refreshCount; }
    int RefreshCount() const { return m_refreshCount; }
    /// Whether the calendar is dropped down now.
    bool IsDroppedDown() const { return m_droppedDown; }

    std::function<void()> OnChange;
    std::function<void()> OnDropDown;
    std::function<void()> OnCloseUp;

    /// The user opens the calendar (raises DropDown) while the picker is enabled.
    void UserDropDown();
    /// The user picks a day: opens the calendar if it is closed, sets the value (raising
    /// Change) and closes it (raising CloseUp). Nothing while the picker is disabled.
    void UserPick(runtime::Date value);
    /// The user closes the calendar without a choice (raises CloseUp).
    void UserCloseUp();

private:
    runtime::Date m_value;
    int m_firstDayOfWeek = -1;
    int m_format = 0;
    int m_refreshCount = 0;
    bool m_droppedDown = false;
};

/// A timer control: raises OnTimer every Interval milliseconds while enabled, from the
/// host's message loop.
class Timer : public Control
{
public:
    using Control::Control;
    ~Timer() override;
    std::string TypeName() const override { return "Timer"; }
    int Interval() const { return m_interval; }
    void SetInterval(int milliseconds);
    bool TimerEnabled() const { return m_enabled; }
    void SetTimerEnabled(bool enabled);
    std::function<void()> OnTimer;

private:
    void Restart();
    int m_interval = 0;
    bool m_enabled = true;
    std::uint64_t m_timerId = 0;
};

} // namespace platform::forms
