#include "gui/InspectorView.h"

#include "gui/DesktopAnswers.h"
#include "gui/Pictures.h"
#include "gui/Units.h"
#include "platform/forms/Driver.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Inspector.h"
#include "platform/outlook/ItemBase.h"

#include <QAction>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <exception>

namespace gui {

namespace ol = platform::outlook;

namespace {

// Style of a button that shows its caption only (1 icon only, 2 caption only, 3 both).
constexpr int kCaptionOnly = 2;
constexpr int kIconOnly = 1;

void AddButton(QToolBar& bar, const std::shared_ptr<ol::CommandBarButton>& button)
{
    if (!button->Visible)
        return;
    if (button->BeginGroup && !bar.actions().isEmpty())
        bar.addSeparator();
    const QIcon icon = button->Style == kCaptionOnly ? QIcon() : IconOf(button->Picture.get());
    const QString caption =
        button->Style == kIconOnly && !icon.isNull() ? QString() : ToQ(button->Caption);
    QAction* action = bar.addAction(icon, caption);
    action->setObjectName(ToQ(button->Tag));
    action->setToolTip(ToQ(button->TooltipText.empty() ? button->Caption : button->TooltipText));
    action->setEnabled(button->Enabled);
    // The button stays alive while the action may still be clicked.
    QObject::connect(action, &QAction::triggered, &bar, [button] {
        try {
            button->Click();
        } catch (const std::exception& e) {
            qWarning("item window: %s", e.what());
        }
    });
}

} // namespace

InspectorView::InspectorView(std::shared_ptr<ol::Inspector> inspector,
                             std::function<ItemContent()> content,
                             std::function<void(const MailEdits&)> send, ItemWords words,
                             QWidget* parent)
    : QDialog(parent), m_inspector(std::move(inspector)), m_contentOf(std::move(content)),
      m_send(std::move(send)), m_words(std::move(words)), m_bars(new QVBoxLayout),
      m_fields(new QFormLayout), m_to(new QLineEdit(this)), m_subject(new QLineEdit(this)),
      m_attachments(new QListWidget(this)), m_body(new QPlainTextEdit(this)),
      m_error(new QLabel(this)), m_sendButton(new QPushButton(this)),
      m_closeButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("itemWindow"));
    setWindowFlags(Qt::Window);
    m_to->setObjectName(QStringLiteral("to"));
    m_subject->setObjectName(QStringLiteral("subject"));
    m_attachments->setObjectName(QStringLiteral("attachments"));
    m_attachments->setMaximumHeight(4 * fontMetrics().height() + 8);
    m_body->setObjectName(QStringLiteral("body"));
    m_error->setObjectName(QStringLiteral("error"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));
    m_error->hide();
    m_sendButton->setObjectName(QStringLiteral("send"));
    m_sendButton->setText(Word("&Send"));
    m_closeButton->setObjectName(QStringLiteral("close"));
    m_closeButton->setText(Word("Close"));
    // Enter in a field never sends: a mail goes only by Send (its button or its access key)
    // or by Ctrl+Enter, as in a mail client. A dialog would make its first button the default
    // one, which takes Enter from every line of the window.
    for (QPushButton* button : {m_sendButton, m_closeButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    for (const QKeyCombination keys :
         {QKeyCombination(Qt::ControlModifier, Qt::Key_Return),
          QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_sendButton->isVisible())
                Send();
        });
    }
    m_fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    auto* layout = new QVBoxLayout(this);
    m_bars->setSpacing(0);
    layout->addLayout(m_bars);
    layout->addLayout(m_fields);
    layout->addWidget(m_body, 1);
    layout->addWidget(m_error);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_sendButton);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    layout->addLayout(buttons);
    // The title follows the subject as the person types it, as a mail client's does.
    connect(m_subject, &QLineEdit::textEdited, this, [this] { PullTitle(); });
    connect(m_sendButton, &QPushButton::clicked, this, [this] { Send(); });
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);
    resize(720, 520);
    m_updateHandler = m_inspector->CommandBars()->OnUpdate([this] { PullBars(); });
    Pull();
    // The add-in fills the item in after it asked for the window.
    QTimer::singleShot(0, this, [this] { Pull(); });
}

InspectorView::~InspectorView()
{
    m_inspector->CommandBars()->DisconnectUpdate(m_updateHandler);
}

QString InspectorView::Word(const char* english) const
{
    return ToQ(m_words ? m_words(english) : std::string(english));
}

void InspectorView::PullBars()
{
    // A bar may go while one of its buttons' clicks is still running: it leaves from the loop.
    while (QLayoutItem* item = m_bars->takeAt(0)) {
        if (QWidget* bar = item->widget()) {
            bar->hide();
            bar->deleteLater();
        }
        delete item;
    }
    for (const auto& bar : m_inspector->CommandBars()->Bars()) {
        if (!bar->Visible || bar->Controls().Count() == 0)
            continue;
        auto* toolBar = new QToolBar(ToQ(bar->Name()), this);
        toolBar->setObjectName(ToQ(bar->Name()));
        toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        for (int i = 1; i <= bar->Controls().Count(); ++i)
            AddButton(*toolBar, bar->Controls().Item(i));
        m_bars->addWidget(toolBar);
        toolBar->show(); // at once, also when the window shows already
    }
}

void InspectorView::PullItem(const ItemContent& content)
{
    // The editors keep the lines the person typed; the rest shows the item as it is now.
    const auto pull = [](QLineEdit* edit, const std::string& text) {
        if (!edit->isModified())
            edit->setText(ToQ(text));
    };
    m_sendable = content.bSendable;
    m_unsaved = content.bUnsaved;
    while (m_fields->rowCount() > 0) {
        const QFormLayout::TakeRowResult row = m_fields->takeRow(0);
        for (QLayoutItem* item : {row.labelItem, row.fieldItem})
            if (item) {
                if (QWidget* widget = item->widget();
                    widget && widget != m_to && widget != m_subject && widget != m_attachments)
                    widget->deleteLater();
                delete item;
            }
    }
    const auto addRow = [this](const QString& label, QWidget* field) {
        auto* caption = new QLabel(label + QLatin1Char(':'), this);
        caption->setBuddy(field);
        m_fields->addRow(caption, field);
        field->show();
    };
    if (content.bMail) {
        pull(m_to, content.sTo);
        addRow(Word("To"), m_to);
    }
    pull(m_subject, content.sSubject);
    addRow(Word("Subject"), m_subject);
    for (const auto& field : content.vFields) {
        auto* value = new QLineEdit(ToQ(field.sValue), this);
        value->setReadOnly(true);
        addRow(ToQ(field.sLabel), value);
    }
    m_attachments->clear();
    for (const auto& attachment : content.vAttachments)
        m_attachments->addItem(ToQ(attachment));
    if (!content.vAttachments.empty())
        addRow(Word("Attachments"), m_attachments);
    else
        m_attachments->hide();
    if (!m_body->document()->isModified()) {
        m_body->setPlainText(ToQ(content.sBody));
        m_body->document()->setModified(false);
    }
    m_to->setVisible(content.bMail);
    m_to->setReadOnly(!m_sendable);
    m_subject->setReadOnly(!m_sendable);
    m_body->setReadOnly(!m_sendable);
    m_body->setVisible(content.bMail || !content.sBody.empty());
    m_sendButton->setVisible(m_sendable);
}

void InspectorView::Pull()
{
    // The title follows the item's subject, which the add-in may set after the window opened.
    const auto& item = m_inspector->CurrentItem();
    m_itemTitle = ToQ(item ? item->Subject() : m_inspector->Caption);
    PullBars();
    if (m_contentOf) {
        try {
            const ItemContent content = m_contentOf();
            PullItem(content);
            m_mail = content.bMail;
        } catch (const std::exception& e) {
            m_error->setText(QString::fromUtf8(e.what()));
            m_error->show();
        }
    }
    PullTitle();
}

void InspectorView::PullTitle()
{
    // A subject the person typed names the window; else the item's.
    QString title = m_subject->isModified() ? m_subject->text() : m_itemTitle;
    // A mail without a subject is named as a client names it, not by the program.
    if (m_mail && title.trimmed().isEmpty())
        title = Word("Untitled") + QStringLiteral(" - ") + Word("Message");
    setWindowTitle(title);
}

QString InspectorView::Text() const
{
    QString text;
    for (int r = 0; r < m_fields->rowCount(); ++r) {
        const auto* label = m_fields->itemAt(r, QFormLayout::LabelRole);
        const auto* field = m_fields->itemAt(r, QFormLayout::FieldRole);
        if (!label || !field)
            continue;
        text += qobject_cast<QLabel*>(label->widget())->text() + QLatin1Char(' ');
        if (auto* edit = qobject_cast<QLineEdit*>(field->widget()))
            text += edit->text();
        else if (auto* list = qobject_cast<QListWidget*>(field->widget()))
            for (int i = 0; i < list->count(); ++i)
                text += (i ? QStringLiteral("; ") : QString()) + list->item(i)->text();
        text += QLatin1Char('\n');
    }
    if (m_body->isVisibleTo(this))
        text += m_body->toPlainText();
    return text;
}

bool InspectorView::Send()
{
    if (!m_sendable || !m_send)
        return false;
    try {
        m_send(Edits());
    } catch (const std::exception& e) {
        // The person sees why, and keeps what they typed to mend it.
        m_error->setText(Word("The mail cannot be sent") + QStringLiteral(": ") +
                         QString::fromUtf8(e.what()));
        m_error->show();
        return false;
    }
    m_error->hide();
    m_leaving = true; // sent: nothing is left to save
    close();
    return true;
}

MailEdits InspectorView::Edits() const
{
    return {m_to->text().toStdString(), m_subject->text().toStdString(),
            m_body->toPlainText().toStdString()};
}

bool InspectorView::HasUnsavedContent() const
{
    if (!m_sendable || !OnSave)
        return false;
    return m_unsaved || m_to->isModified() || m_subject->isModified() ||
           m_body->document()->isModified();
}

bool InspectorView::ConfirmClose()
{
    if (m_leaving || !HasUnsavedContent())
        return true;
    constexpr int kYesNoCancelQuestion = 3 | 32;
    const int answer = ShowMessageBox(Word("Do you want to save the changes?").toStdString(),
                                      kYesNoCancelQuestion, windowTitle().toStdString());
    if (answer == platform::forms::vbNo) {
        m_leaving = true;
        return true;
    }
    if (answer != platform::forms::vbYes)
        return false;
    try {
        OnSave(Edits());
    } catch (const std::exception& e) {
        // The window stays open with the edits, so that nothing the person typed is lost.
        m_error->setText(Word("The mail cannot be saved") + QStringLiteral(": ") +
                         QString::fromUtf8(e.what()));
        m_error->show();
        return false;
    }
    m_leaving = true;
    return true;
}

void InspectorView::closeEvent(QCloseEvent* event)
{
    if (!ConfirmClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void InspectorView::reject()
{
    // Escape comes here without a close event.
    if (ConfirmClose())
        QDialog::reject();
}

} // namespace gui
