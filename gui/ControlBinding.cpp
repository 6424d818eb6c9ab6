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
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <optional>
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
// separators, however the person came into it (a click anywhere in it, Tab, an access key):
// - once a section is full ("01" of the day) the field moves on to the next section by itself,
//   and the separator the person types next is passed over; taken as a move on, it would skip
//   the month;
// - a click selects the section under the pointer, so that digits typed there replace it; a
//   cursor left inside a section would refuse them;
// - what was typed since the person came in, when it is a whole date (day, month and year in
//   the regional order), is the date when the edit ends (Enter, the focus leaving), whichever
//   section the typing began in. A whole date that does not exist (31.02.) is not taken: the
//   field goes back to the date it held, rather than keep a date made of parts of both.
class DateField : public QDateEdit
{
public:
    explicit DateField(QWidget* parent) : QDateEdit(parent)
    {
        lineEdit()->installEventFilter(this);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const QString text = event->text();
        const bool printable = text.size() == 1 && text[0].isPrint();
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            TakeTyped();
        else if (printable && !text[0].isLetter())
            m_typed += text;
        else if (!IsModifier(event->key()))
            m_typing = false; // a section changed by other keys: the sections hold the date
        const bool separator = printable && !text[0].isLetterOrNumber();
        if (separator && m_movedOn) {
            m_movedOn = false;
            event->accept();
            return;
        }
        const int section = currentSectionIndex();
        QDateEdit::keyPressEvent(event);
        m_movedOn = printable && text[0].isDigit() && currentSectionIndex() != section;
        // The year's last digit: the date is whole, wherever the typing began.
        if (const auto typed = Typed(); typed && typed->yearWhole)
            TakeTyped();
    }
    void focusInEvent(QFocusEvent* event) override
    {
        Enter();
        QDateEdit::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        TakeTyped();
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
    // The person comes into the field: typing starts afresh.
    void Enter()
    {
        m_movedOn = false;
        m_typed.clear();
        m_typing = true;
        m_entered = date();
    }
    static bool IsModifier(int key)
    {
        return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
               key == Qt::Key_AltGr || key == Qt::Key_Meta;
    }
    // A whole date typed: the date it names (invalid where no such day exists), and whether
    // its year is whole (four digits) so that no further digit can belong to it.
    struct TypedDate
    {
        QDate date;
        bool yearWhole = false;
    };
    // The date the typed text names in the regional order; none when it is no whole date.
    std::optional<TypedDate> Typed() const
    {
        const QString format = displayFormat();
        // The sections in the order the format shows them: day 0, month 1, year 2.
        std::vector<std::pair<qsizetype, int>> order;
        for (const auto& [letter, which] :
             std::initializer_list<std::pair<char, int>>{{'d', 0}, {'M', 1}, {'y', 2}})
            order.emplace_back(format.indexOf(QLatin1Char(letter)), which);
        std::sort(order.begin(), order.end());
        if (!m_typing || order.front().first < 0 || format.contains(QStringLiteral("MMM")) ||
            format.contains(QStringLiteral("ddd")))
            return std::nullopt;
        QStringList parts =
            m_typed.split(QRegularExpression(QStringLiteral("\\D+")), Qt::SkipEmptyParts);
        if (parts.size() == 1 && parts[0].size() == 8) {
            // Digits only: two for the day and the month, four for the year.
            const QString digits = parts.takeFirst();
            for (qsizetype at = 0; const auto& section : order) {
                const qsizetype length = section.second == 2 ? 4 : 2;
                parts << digits.mid(at, length);
                at += length;
            }
        }
        if (parts.size() != 3)
            return std::nullopt;
        int value[3] = {};
        qsizetype yearDigits = 0;
        for (qsizetype i = 0; i < 3; ++i) {
            const int which = order[size_t(i)].second;
            value[which] = parts[i].size() <= 4 ? parts[i].toInt() : -1;
            if (which == 2)
                yearDigits = parts[i].size();
        }
        // Two digits of a year: 1930 to 2029; one or three name no year.
        if (yearDigits == 2)
            value[2] += value[2] < 30 ? 2000 : 1900;
        else if (yearDigits != 4)
            value[2] = -1;
        return TypedDate{QDate(value[2], value[1], value[0]), yearDigits >= 4};
    }
    // Ends the typing: a whole date typed is the field's date, and Tab leaves the field from
    // there as after a date typed from its first section.
    void TakeTyped()
    {
        const std::optional<TypedDate> typed = Typed();
        m_typed.clear();
        m_typing = true;
        if (!typed)
            return;
        setDate(typed->date.isValid() ? typed->date : m_entered);
        m_entered = date();
        setSelectedSection(sectionAt(sectionCount() - 1));
    }

    bool m_movedOn = false; // the last digit filled a section and the field moved on
    QString m_typed;        // the digits and separators typed since the person came in
    bool m_typing = true;   // only digits and separators were typed since then
    QDate m_entered;        // the date the field held when the person came in
};

class DateBinding : public ControlBinding
{
public:
    static constexpr int kLongDate = 0;
    // Day serial 0 is 1899-12-30.
    static QDate Epoch() { return QDate(1899, 12, 30); }

    DateBinding(std::shared_ptr<pf::DTPicker> picker, QDateEdit* widget)
        : ControlBinding(picker, widget), m_picker(picker), m_edit(widget)
    {
        widget->setCalendarPopup(true);
        // A date typed digit by digit reaches the picker once it is whole (Enter, Tab, the
        // focus leaving), not each half-typed year on the way: the form would act on those.
        widget->setKeyboardTracking(false);
        connect(widget, &QDateEdit::dateChanged, this, [this](const QDate& date) {
            const double time = m_picker->Value().Serial() - std::floor(m_picker->Value().Serial());
            CallModel([&] {
                m_picker->SetValue(
                    platform::runtime::Date(static_cast<double>(Epoch().daysTo(date)) + time));
            });
        });
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
        const QDate date =
            Epoch().addDays(static_cast<qint64>(std::floor(m_picker->Value().Serial())));
        if (m_edit->date() != date)
            m_edit->setDate(date);
    }

private:
    std::shared_ptr<pf::DTPicker> m_picker;
    QDateEdit* m_edit;
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
