#include "gui/ControlBinding.h"

#include "gui/DesktopWindows.h"
#include "gui/MenuView.h"
#include "gui/Pictures.h"
#include "gui/SurfaceBinding.h"
#include "gui/ToolBarView.h"
#include "gui/Units.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace gui {

namespace pf = platform::forms;

ControlBinding::ControlBinding(std::shared_ptr<pf::Control> control, QWidget* widget)
    : QObject(widget), m_control(std::move(control)), m_widget(widget)
{
    m_control->SetObserver([this](pf::Control&) { Pull(); });
}

ControlBinding::~ControlBinding()
{
    m_control->SetObserver({});
}

void ControlBinding::Pull()
{
    if (!m_widget)
        return;
    m_pulling = true;
    const QSignalBlocker block(m_widget);
    m_widget->setEnabled(m_control->Enabled());
    m_widget->setVisible(m_control->Visible());
    // A pull comes with every change of the control (a progress window's, once per item
    // read): what did not change is not set again, as each set costs Qt an event round.
    if (const QString tip = ToQ(m_control->ToolTipText()); tip != m_widget->toolTip())
        m_widget->setToolTip(tip);
    if (const double size = std::max(m_control->FontSize(), 6.0);
        size != m_widget->font().pointSizeF()) {
        QFont font = m_widget->font();
        font.setPointSizeF(size);
        m_widget->setFont(font);
    }
    if (m_control->Container() != m_container) {
        m_container = m_control->Container();
        if (OnContainerChanged)
            OnContainerChanged(*this);
    }
    if (m_placed) {
        // Both edges scale, so that controls that touch in the design still only touch.
        const int left = Pixels(m_control->Left(), m_scale);
        const int top = Pixels(m_control->Top(), m_scale);
        const int right = Pixels(m_control->Left() + m_control->Width(), m_scale);
        const int bottom = Pixels(m_control->Top() + m_control->Height(), m_scale);
        m_widget->setGeometry(left, top, std::max(right - left, m_fitWidth), bottom - top);
    }
    PullKind();
    m_pulling = false;
}

namespace {

// Labels, frames and buttons: a caption and, for buttons, the click.
template <class W> class CaptionBinding : public ControlBinding
{
public:
    CaptionBinding(std::shared_ptr<pf::Control> control, W* widget)
        : ControlBinding(std::move(control), widget), m_typed(widget)
    {
    }

protected:
    void PullKind() override
    {
        if constexpr (std::is_same_v<W, QGroupBox>)
            m_typed->setTitle(ToQ(Control().Caption()));
        else
            m_typed->setText(ToQ(Control().Caption()));
    }
    W* m_typed;
};

class ButtonBinding : public CaptionBinding<QPushButton>
{
public:
    ButtonBinding(std::shared_ptr<pf::CommandButton> button, QPushButton* widget)
        : CaptionBinding(button, widget)
    {
        widget->setDefault(button->Default);
        connect(widget, &QPushButton::clicked, this,
                [button] { CallModel([&] { button->Click(); }); });
    }
};

class CheckBinding : public CaptionBinding<QCheckBox>
{
public:
    CheckBinding(std::shared_ptr<pf::CheckBox> box, QCheckBox* widget)
        : CaptionBinding(box, widget), m_box(box)
    {
        widget->setTristate(false);
        // The person's click sets the value; a greyed box becomes ticked.
        connect(widget, &QCheckBox::clicked, this,
                [this](bool checked) { CallModel([&] { m_box->SetValue(checked ? 1 : 0); }); });
    }

protected:
    void PullKind() override
    {
        CaptionBinding::PullKind();
        m_typed->setCheckState(m_box->Value() == 1   ? Qt::Checked
                               : m_box->Value() == 2 ? Qt::PartiallyChecked
                                                     : Qt::Unchecked);
    }

private:
    std::shared_ptr<pf::CheckBox> m_box;
};

class OptionBinding : public CaptionBinding<QRadioButton>
{
public:
    OptionBinding(std::shared_ptr<pf::OptionButton> option, QRadioButton* widget)
        : CaptionBinding(option, widget), m_option(option)
    {
        // The model turns the siblings off; each sibling's widget follows its own control.
        widget->setAutoExclusive(false);
        connect(widget, &QRadioButton::clicked, this, [this] {
            CallModel([&] { m_option->SetValue(true); });
            Pull();
        });
    }

protected:
    void PullKind() override
    {
        CaptionBinding::PullKind();
        m_typed->setChecked(m_option->Value());
    }

private:
    std::shared_ptr<pf::OptionButton> m_option;
};

class TextBinding : public ControlBinding
{
public:
    TextBinding(std::shared_ptr<pf::TextBox> box, QLineEdit* widget)
        : ControlBinding(box, widget), m_box(box), m_edit(widget)
    {
        connect(widget, &QLineEdit::textEdited, this,
                [this](const QString& text) { CallModel([&] { m_box->SetText(FromQ(text)); }); });
        connect(widget, &QLineEdit::returnPressed, this,
                [this] { CallModel([&] { m_box->UserKeyDown(13); }); });
    }

protected:
    void PullKind() override
    {
        if (m_edit->text() != ToQ(m_box->Text()))
            m_edit->setText(ToQ(m_box->Text()));
        QPalette palette = m_edit->palette();
        palette.setColor(QPalette::Base, ColourOf(m_box->BackColor()));
        m_edit->setPalette(palette);
    }

private:
    std::shared_ptr<pf::TextBox> m_box;
    QLineEdit* m_edit;
};

class ComboBinding : public ControlBinding
{
public:
    ComboBinding(std::shared_ptr<pf::ComboBox> box, QComboBox* widget)
        : ControlBinding(box, widget), m_box(box), m_combo(widget)
    {
        // The person picks an entry: the list's text is set, as the driver sets it, which
        // selects the entry and raises Click (also for the entry already chosen).
        connect(widget, &QComboBox::activated, this, [this](int index) {
            if (index >= 0 && index < m_box->ListCount())
                CallModel([&] { m_box->SetText(m_box->List(index)); });
        });
    }

protected:
    void PullKind() override
    {
        // A combo the form places keeps its width whatever its entries; one in a layout
        // takes the width its entries need.
        m_combo->setSizeAdjustPolicy(Placed() ? QComboBox::AdjustToMinimumContentsLengthWithIcon
                                              : QComboBox::AdjustToContents);
        bool same = m_combo->count() == m_box->ListCount();
        for (int i = 0; same && i < m_box->ListCount(); ++i)
            same = m_combo->itemText(i) == ToQ(m_box->List(i));
        if (!same) {
            m_combo->clear();
            for (int i = 0; i < m_box->ListCount(); ++i)
                m_combo->addItem(ToQ(m_box->List(i)));
        }
        m_combo->setCurrentIndex(m_box->ListIndex());
        QPalette palette = m_combo->palette();
        palette.setColor(QPalette::Base, ColourOf(m_box->BackColor()));
        palette.setColor(QPalette::Button, ColourOf(m_box->BackColor()));
        m_combo->setPalette(palette);
    }

private:
    std::shared_ptr<pf::ComboBox> m_box;
    QComboBox* m_combo;
};

class ProgressBinding : public ControlBinding
{
public:
    // The bar counts in thousandths of its range, so that fractional values move it.
    static constexpr int kSteps = 1000;

    ProgressBinding(std::shared_ptr<pf::ProgressBar> bar, QProgressBar* widget)
        : ControlBinding(bar, widget), m_bar(bar), m_widget(widget)
    {
        widget->setRange(0, kSteps);
    }

protected:
    void PullKind() override
    {
        const double span = m_bar->Max() - m_bar->Min();
        const double share = span > 0 ? (m_bar->Value() - m_bar->Min()) / span : 0;
        m_widget->setValue(static_cast<int>(std::lround(share * kSteps)));
    }

private:
    std::shared_ptr<pf::ProgressBar> m_bar;
    QProgressBar* m_widget;
};

// A date field that takes a date typed in the regional settings' order, with or without its
// separators, however the person came into it (a click anywhere in it, a double click, Tab,
// Shift+Tab, an access key) and whatever keys came before the digits. The field keeps what
// was typed itself and shows it by replaying it through Qt's section typing from the date the
// field held, so that no other key can leave Qt's sections half edited:
// - text with a separator in it, or eight digits, is a date written from its first section
//   ("15.03" is the 15th of March of the year shown); digits alone fill the section the typing
//   began in and run on into the next ones once a section is full;
// - Tab and Shift+Tab leave the field, as they leave every other field; Home, End, Left and
//   Right go to a section and Ctrl+A selects the whole date, and the digits typed next start
//   afresh there; Backspace takes back the last key typed; Up and Down step the section;
// - the date reaches the picker only when it is whole: at the last digit of its last section,
//   at Enter or when the focus leaves; a half-typed one never does, as the form acts on each
//   change of the picker (the filter's other date follows it);
// - what names no date the field can hold (31.02., a fifth digit of the year, a year before
//   the field's first) is not taken: the field shows the date it held before the typing.
class DateField : public QDateEdit
{
public:
    explicit DateField(QWidget* parent) : QDateEdit(parent)
    {
        lineEdit()->installEventFilter(this);
        // A step (Up, Down, the wheel, the calendar) is a whole date: it goes on at once.
        connect(this, &QDateEdit::dateChanged, this, [this](QDate date) {
            if (!m_quiet && m_typed.isEmpty() && OnDate)
                OnDate(date);
        });
    }
    /// Called with each date the person settled on.
    std::function<void(QDate)> OnDate;
    /// True while the person types a date that is not handed on yet.
    bool Typing() const { return !m_typed.isEmpty(); }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (Order().empty()) { // names of months or days: Qt's own typing
            QDateEdit::keyPressEvent(event);
            return;
        }
        const int key = event->key();
        const QString text = event->text();
        const bool control = event->modifiers() & Qt::ControlModifier;
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Finish();
            // Qt ends its edit and leaves Enter to the window (its default button).
            QDateEdit::keyPressEvent(event);
            return;
        }
        if (control && key == Qt::Key_A) {
            Settle();
            lineEdit()->selectAll();
            m_start = 0;
            return;
        }
        switch (key) {
        case Qt::Key_Home:
            return GoTo(0);
        case Qt::Key_End:
            return GoTo(sectionCount() - 1);
        case Qt::Key_Left:
            return GoTo(currentSectionIndex() - 1);
        case Qt::Key_Right:
            return GoTo(currentSectionIndex() + 1);
        case Qt::Key_Backspace:
            if (!m_typed.isEmpty()) {
                m_typed.chop(1);
                Show();
            }
            return;
        case Qt::Key_Delete: // nothing typed stands after the cursor
            return;
        default:
            break;
        }
        if (!control && text.size() == 1 && text[0].isPrint()) {
            if (!text[0].isLetter()) // no letter belongs to a date written in figures
                Type(text[0]);
            return;
        }
        if (!IsModifier(key))
            Settle();
        QDateEdit::keyPressEvent(event);
    }
    void stepBy(int steps) override
    {
        Settle();
        QDateEdit::stepBy(steps);
    }
    // Tab and Shift+Tab go to the window's next and previous control, not to a section.
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
    void focusInEvent(QFocusEvent* event) override
    {
        Enter();
        QDateEdit::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        Finish();
        QDateEdit::focusOutEvent(event);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != lineEdit())
            return QDateEdit::eventFilter(watched, event);
        if (event->type() == QEvent::MouseButtonPress) {
            Enter();
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            // The line places its cursor (or ends a drag) first; the section is selected then.
            static_cast<QObject*>(lineEdit())->event(event);
            if (!lineEdit()->hasSelectedText())
                setSelectedSection(currentSection());
            return true;
        }
        return false;
    }

private:
    // The person comes into the field, or clicks into it: typing starts afresh where the
    // cursor stands, and what was typed so far stays in the field.
    void Enter()
    {
        Settle();
        m_start = -1;
    }
    static bool IsModifier(int key)
    {
        return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
               key == Qt::Key_AltGr || key == Qt::Key_Meta;
    }
    // Day 0, month 1, year 2 in the order the format shows them; empty for a format the typing
    // does not read (names of months or days, a section missing).
    std::vector<int> Order() const
    {
        const QString format = displayFormat();
        if (format.contains(QStringLiteral("MMM")) || format.contains(QStringLiteral("ddd")) ||
            sectionCount() != 3)
            return {};
        std::vector<std::pair<qsizetype, int>> at;
        for (const auto& [letter, which] :
             std::initializer_list<std::pair<char, int>>{{'d', 0}, {'M', 1}, {'y', 2}})
            at.emplace_back(format.indexOf(QLatin1Char(letter)), which);
        std::sort(at.begin(), at.end());
        if (at.front().first < 0)
            return {};
        std::vector<int> order;
        for (const auto& section : at)
            order.push_back(section.second);
        return order;
    }
    // The digits a section takes at most, given its first digit: a day from 4 and a month
    // from 2 have one digit, so that "5" or "3" typed alone fill their section.
    static qsizetype Width(int which, QChar first, bool fixed)
    {
        if (which == 2)
            return 4;
        if (!fixed && first > QLatin1Char(which == 0 ? '3' : '1'))
            return 1;
        return 2;
    }
    struct Reading
    {
        QDate date;             // invalid where the digits name no date
        bool fromFirst = false; // read from the first section, not from where the typing began
        bool whole = false;     // every section was typed, the last one to its end
    };
    // What the typed text names: each section typed, the others as the field held them.
    Reading Read() const
    {
        Reading reading;
        const std::vector<int> order = Order();
        const QStringList parts =
            m_typed.split(QRegularExpression(QStringLiteral("\\D+")), Qt::SkipEmptyParts);
        if (order.empty() || parts.isEmpty())
            return reading;
        const bool eight = parts.size() == 1 && parts[0].size() == 8;
        reading.fromFirst = eight || m_typed.contains(QRegularExpression(QStringLiteral("\\D")));
        int value[3] = {m_entered.day(), m_entered.month(), m_entered.year()};
        qsizetype yearDigits = 4;
        size_t at = reading.fromFirst ? 0 : size_t(std::max(m_start, 0));
        bool typed[3] = {};
        bool lastFull = false;
        for (const QString& part : parts) {
            // Digits alone run on into the next sections; a separator ends a section.
            for (qsizetype from = 0; from < part.size(); ++at) {
                if (at >= order.size())
                    return reading; // more digits than the date has sections
                const int which = order[at];
                const qsizetype width = Width(which, part[from], eight);
                const QString digits = part.mid(from, width);
                from += digits.size();
                value[which] = digits.toInt();
                typed[which] = true;
                if (which == 2)
                    yearDigits = digits.size();
                lastFull = at + 1 == order.size() && digits.size() == width;
            }
        }
        // Two digits of a year: 1930 to 2029; one or three name no year.
        if (yearDigits == 2)
            value[2] += value[2] < 30 ? 2000 : 1900;
        else if (yearDigits != 4)
            return reading;
        const QDate date(value[2], value[1], value[0]);
        if (date.isValid() && date >= minimumDate() && date <= maximumDate())
            reading.date = date;
        reading.whole = typed[0] && typed[1] && typed[2] && lastFull;
        return reading;
    }
    // One more key of the date typed.
    void Type(QChar key)
    {
        if (m_typed.isEmpty()) {
            m_entered = date();
            if (m_start < 0)
                m_start = currentSectionIndex();
        }
        m_typed += key;
        Show();
        if (Read().whole)
            Finish();
    }
    // Shows what was typed: the date held before, with the typed digits put into their
    // sections by Qt's section typing; a separator moves on to the next section, unless
    // the digit before it filled its section and Qt moved on already.
    void Show()
    {
        const QScopedValueRollback quiet(m_quiet, true);
        setDate(m_entered);
        setCurrentSectionIndex(Read().fromFirst ? 0 : std::max(m_start, 0));
        setSelectedSection(currentSection());
        bool movedOn = false;
        for (const QChar key : std::as_const(m_typed)) {
            const int section = currentSectionIndex();
            if (!key.isDigit()) {
                if (!movedOn && section + 1 < sectionCount()) {
                    setCurrentSectionIndex(section + 1);
                    setSelectedSection(currentSection());
                }
                movedOn = false;
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + key.digitValue(), Qt::NoModifier,
                            QString(key));
            QDateEdit::keyPressEvent(&press);
            movedOn = currentSectionIndex() != section;
        }
    }
    // Ends the typing in the field, without handing the date on: the date typed, or the date
    // held before where it names none.
    void Settle()
    {
        if (m_typed.isEmpty())
            return;
        const QDate typed = Read().date;
        m_typed.clear();
        m_start = -1;
        const QScopedValueRollback quiet(m_quiet, true);
        setDate(typed.isValid() ? typed : m_entered);
    }
    // Ends the typing and hands the field's date on.
    void Finish()
    {
        const bool typed = Typing();
        Settle();
        if (typed)
            setSelectedSection(sectionAt(sectionCount() - 1));
        if (OnDate)
            OnDate(date());
    }
    // Goes to a section (clamped to the first and last): digits typed next replace it.
    void GoTo(int index)
    {
        Settle();
        setCurrentSectionIndex(std::clamp(index, 0, sectionCount() - 1));
        setSelectedSection(currentSection());
        m_start = -1;
    }

    QString m_typed;      // the digits and separators typed since the typing began
    int m_start = -1;     // the section the typing began in; -1: the current one then
    QDate m_entered;      // the date the field held when the typing began
    bool m_quiet = false; // the field changes its own date: no step of the person's
};

class DateBinding : public ControlBinding
{
public:
    static constexpr int kLongDate = 0;
    // Day serial 0 is 1899-12-30.
    static QDate Epoch() { return QDate(1899, 12, 30); }

    DateBinding(std::shared_ptr<pf::DTPicker> picker, DateField* widget)
        : ControlBinding(picker, widget), m_picker(picker), m_edit(widget)
    {
        widget->setCalendarPopup(true);
        // Qt reads the text only at Enter and when the focus leaves: the field reads the
        // typing itself and tells the date it settled on (OnDate).
        widget->setKeyboardTracking(false);
        widget->OnDate = [this](const QDate& date) {
            if (date == Shown())
                return;
            const double time = m_picker->Value().Serial() - std::floor(m_picker->Value().Serial());
            CallModel([&] {
                m_picker->SetValue(
                    platform::runtime::Date(static_cast<double>(Epoch().daysTo(date)) + time));
            });
        };
    }

protected:
    void PullKind() override
    {
        // The date reads as the regional settings write it, with their names of months.
        namespace pl = platform::locale;
        const QLocale locale(ToQ(pl::CurrentName()).replace(QLatin1Char('-'), QLatin1Char('_')));
        // Each change of the picker comes here, also while the person types into the field:
        // setting the format again would put the cursor back to the first section of the date,
        // and setting the date again would drop the digits typed so far.
        if (m_edit->locale() != locale)
            m_edit->setLocale(locale);
        const QString format =
            ToQ(m_picker->Format() == kLongDate ? pl::LongDatePattern() : pl::ShortDatePattern());
        if (m_edit->displayFormat() != format)
            m_edit->setDisplayFormat(format);
        if (QCalendarWidget* calendar = m_edit->calendarWidget()) {
            calendar->setLocale(locale);
            // The forms count 0 Monday .. 6 Sunday, -1 for the regional settings' own.
            const int day = m_picker->FirstDayOfWeek() >= 0 ? m_picker->FirstDayOfWeek() + 1
                                                            : (pl::FirstDayOfWeek() + 5) % 7 + 1;
            calendar->setFirstDayOfWeek(static_cast<Qt::DayOfWeek>(day));
        }
        if (const QDate date = Shown(); m_edit->date() != date && !m_edit->Typing())
            m_edit->setDate(date);
    }

private:
    // The picker's day.
    QDate Shown() const
    {
        return Epoch().addDays(static_cast<qint64>(std::floor(m_picker->Value().Serial())));
    }

    std::shared_ptr<pf::DTPicker> m_picker;
    DateField* m_edit;
};

template <class Model, class W, class Binding>
ControlBinding* Make(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    auto typed = std::dynamic_pointer_cast<Model>(control);
    if (!typed)
        return nullptr;
    auto* widget = new W(parent);
    return new Binding(typed, widget);
}

} // namespace

ControlBinding* BindControl(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    using Maker = ControlBinding* (*)(const std::shared_ptr<pf::Control>&, QWidget*);
    static const Maker kMakers[] = {
        &BindLabel,
        &BindImage,
        &Make<pf::Frame, QGroupBox, CaptionBinding<QGroupBox>>,
        &Make<pf::CommandButton, QPushButton, ButtonBinding>,
        &Make<pf::CheckBox, QCheckBox, CheckBinding>,
        &Make<pf::OptionButton, QRadioButton, OptionBinding>,
        &Make<pf::TextBox, QLineEdit, TextBinding>,
        &Make<pf::ComboBox, QComboBox, ComboBinding>,
        &Make<pf::ProgressBar, QProgressBar, ProgressBinding>,
        &BindPictureBox,
        &BindGrid,
        &Make<pf::DTPicker, DateField, DateBinding>,
        &BindToolBar,
        &BindMenuBar,
    };
    for (Maker make : kMakers)
        if (ControlBinding* binding = make(control, parent)) {
            binding->Widget()->setObjectName(ToQ(control->Name()));
            binding->Pull();
            return binding;
        }
    return nullptr;
}

} // namespace gui
