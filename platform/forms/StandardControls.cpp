#include "platform/forms/StandardControls.h"

#include "platform/forms/Form.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "platform/win/MessageLoop.h"

#include <algorithm>

namespace platform::forms {
namespace {

void RequireIndex(int index, int count, const char* source)
{
    if (index < 0 || index >= count)
        runtime::Raise(381, source, "Invalid property array index");
}

} // namespace

void CommandButton::Click()
{
    if (Enabled() && OnClick)
        OnClick();
}

void Label::Click()
{
    if (Enabled() && OnClick)
        OnClick();
}

void Image::Click()
{
    if (Enabled() && OnClick)
        OnClick();
}

PictureBox::PictureBox(std::string name)
    : Control(std::move(name)), m_surface([this] { return std::pair(Width(), Height()); })
{
}

void CheckBox::SetValue(int value)
{
    if (value < 0 || value > 2)
        runtime::Raise(runtime::errors::InvalidPropertyValue, "CheckBox.Value");
    if (value == m_value)
        return;
    m_value = value;
    NotifyChanged();
    if (OnClick)
        OnClick();
}

void OptionButton::SetValue(bool value)
{
    if (value == m_value)
        return;
    m_value = value;
    NotifyChanged();
    if (!value)
        return;
    if (Form* form = Parent())
        for (const auto& control : form->Controls())
            if (auto* other = dynamic_cast<OptionButton*>(control.get());
                other != nullptr && other != this && other->Group == Group)
            {
                other->m_value = false;
                other->NotifyChanged();
            }
    if (OnClick)
        OnClick();
}

void TextBox::SetText(const std::string& text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_selStart = std::min(m_selStart, static_cast<int>(runtime::Len(m_text)));
    m_selLength = 0;
    NotifyChanged();
    if (OnChange)
        OnChange();
}

void TextBox::SetSelStart(int start)
{
    m_selStart = std::clamp(start, 0, static_cast<int>(runtime::Len(m_text)));
    m_selLength = 0;
}

void TextBox::SetSelLength(int length)
{
    m_selLength = std::clamp(length, 0, static_cast<int>(runtime::Len(m_text)) - m_selStart);
}

void TextBox::SetFocus()
{
    if (!Enabled() || !Visible())
        runtime::Raise(5, "TextBox.SetFocus", "Invalid procedure call or argument");
    if (OnGotFocus)
        OnGotFocus();
}

void TextBox::UserKeyDown(int keyCode, int shift)
{
    if (Form* form = Parent())
        keyCode = form->UserKeyDown(keyCode, shift);
    if (keyCode != 0 && OnKeyDown)
        OnKeyDown(keyCode, shift);
}

void ComboBox::Clear()
{
    m_items.clear();
    m_itemData.clear();
    m_listIndex = -1;
    m_text.clear();
    NotifyChanged();
}

void ComboBox::AddItem(const std::string& item, std::optional<int> index)
{
    const int at = index.value_or(ListCount());
    if (at < 0 || at > ListCount())
        runtime::Raise(5, "ComboBox.AddItem", "Invalid procedure call or argument");
    m_items.insert(m_items.begin() + at, item);
    m_itemData.insert(m_itemData.begin() + at, 0);
    if (m_listIndex >= at)
        ++m_listIndex;
    NotifyChanged();
}

void ComboBox::RemoveItem(int index)
{
    RequireIndex(index, ListCount(), "ComboBox.RemoveItem");
    m_items.erase(m_items.begin() + index);
    m_itemData.erase(m_itemData.begin() + index);
    if (m_listIndex == index)
        m_listIndex = -1;
    else if (m_listIndex > index)
        --m_listIndex;
    NotifyChanged();
}

const std::string& ComboBox::List(int index) const
{
    RequireIndex(index, ListCount(), "ComboBox.List");
    return m_items[static_cast<std::size_t>(index)];
}

std::int32_t ComboBox::ItemData(int index) const
{
    RequireIndex(index, ListCount(), "ComboBox.ItemData");
    return m_itemData[static_cast<std::size_t>(index)];
}

void ComboBox::SetItemData(int index, std::int32_t data)
{
    RequireIndex(index, ListCount(), "ComboBox.ItemData");
    m_itemData[static_cast<std::size_t>(index)] = data;
}

void ComboBox::SetListIndex(int index)
{
    if (index < -1 || index >= ListCount())
        runtime::Raise(380, "ComboBox.ListIndex", "Invalid property value");
    if (index == m_listIndex)
        return;
    m_listIndex = index;
    m_text = index < 0 ? std::string{} : m_items[static_cast<std::size_t>(index)];
    NotifyChanged();
    if (OnClick)
        OnClick();
}

std::string ComboBox::Text() const
{
    return m_text;
}

void ComboBox::SetText(const std::string& text)
{
    for (int i = 0; i < ListCount(); ++i)
        if (runtime::StrComp(m_items[static_cast<std::size_t>(i)], text,
                             runtime::CompareMethod::Text) == 0) {
            if (i == m_listIndex)
                m_text = m_items[static_cast<std::size_t>(i)];
            m_listIndex = -1; // re-selecting the same entry raises Click again
            SetListIndex(i);
            return;
        }
    m_listIndex = -1;
    m_text = text;
    NotifyChanged();
}

void ProgressBar::SetValue(double value)
{
    if (value < m_min || value > m_max)
        runtime::Raise(380, "ProgressBar.Value", "Invalid property value");
    m_value = value;
    NotifyChanged();
}

void DTPicker::SetValue(runtime::Date value)
{
    if (value.Serial() == m_value.Serial())
        return;
    m_value = value;
    NotifyChanged();
    if (OnChange)
        OnChange();
}

void DTPicker::SetFirstDayOfWeek(int day)
{
    if (day < -1 || day > 6)
        runtime::Raise(runtime::errors::InvalidPropertyValue, "DTPicker.FirstDayOfWeek");
    m_firstDayOfWeek = day;
}

void DTPicker::SetFormat(int format)
{
    if (format < 0 || format > 3)
        runtime::Raise(runtime::errors::InvalidPropertyValue, "DTPicker.Format");
    m_format = format;
}

void DTPicker::UserDropDown()
{
    if (!Enabled() || m_droppedDown)
        return;
    m_droppedDown = true;
    if (OnDropDown)
        OnDropDown();
}

void DTPicker::UserPick(runtime::Date value)
{
    if (!Enabled())
        return;
    UserDropDown();
    SetValue(value);
    UserCloseUp();
}

void DTPicker::UserCloseUp()
{
    if (!m_droppedDown)
        return;
    m_droppedDown = false;
    if (OnCloseUp)
        OnCloseUp();
}

Timer::~Timer()
{
    if (m_timerId != 0)
        win::MessageLoop::main().killTimer(static_cast<win::TimerId>(m_timerId));
}

void Timer::SetInterval(int milliseconds)
{
    m_interval = std::max(milliseconds, 0);
    Restart();
}

void Timer::SetTimerEnabled(bool enabled)
{
    m_enabled = enabled;
    Restart();
}

void Timer::Restart()
{
    auto& loop = win::MessageLoop::main();
    if (m_timerId != 0)
        loop.killTimer(static_cast<win::TimerId>(m_timerId));
    m_timerId = 0;
    if (!m_enabled || m_interval == 0)
        return;
    m_timerId = loop.setTimer(std::chrono::milliseconds(m_interval), [this](win::TimerId) {
        if (OnTimer)
            OnTimer();
    });
}

} // namespace platform::forms
