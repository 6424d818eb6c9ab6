#include "gui/InspectorView.h"

#include "gui/Pictures.h"
#include "gui/Units.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Inspector.h"
#include "platform/outlook/ItemBase.h"

#include <QAction>
#include <QFontDatabase>
#include <QPlainTextEdit>
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
                             std::function<QString()> text, QWidget* parent)
    : QDialog(parent), m_inspector(std::move(inspector)), m_textOf(std::move(text)),
      m_bars(new QVBoxLayout), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("itemWindow"));
    setWindowFlags(Qt::Window);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    m_bars->setSpacing(0);
    layout->addLayout(m_bars);
    layout->addWidget(m_text, 1);
    resize(720, 480);
    m_updateHandler = m_inspector->CommandBars()->OnUpdate([this] { PullBars(); });
    Pull();
    // The add-in fills the item in after it asked for the window.
    QTimer::singleShot(0, this, [this] { Pull(); });
}

InspectorView::~InspectorView()
{
    m_inspector->CommandBars()->DisconnectUpdate(m_updateHandler);
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

void InspectorView::Pull()
{
    // The title follows the item's subject, which the add-in may set after the window opened.
    const auto& item = m_inspector->CurrentItem();
    setWindowTitle(ToQ(item ? item->Subject() : m_inspector->Caption));
    PullBars();
    try {
        m_text->setPlainText(m_textOf ? m_textOf() : QString());
    } catch (const std::exception& e) {
        m_text->setPlainText(QString::fromUtf8(e.what()));
    }
}

QString InspectorView::Text() const
{
    return m_text->toPlainText();
}

} // namespace gui
