#include "host/ItemWindowView.h"

#include "gui/Units.h"
#include "host/ItemWindow.h"
#include "platform/mapi/Message.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace host {

namespace {
// Wide enough that the window never cuts a line; the window scrolls instead.
constexpr int kUncut = 100000;
} // namespace

ItemWindowView::ItemWindowView(std::shared_ptr<platform::mapi::Message> oItem, QWidget* parent)
    : QDialog(parent), m_oItem(std::move(oItem)), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("itemWindow"));
    setWindowFlags(Qt::Window);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    resize(720, 480);
    Pull();
    // The add-in fills the item in after it asked for the window.
    QTimer::singleShot(0, this, [this] { Pull(); });
}

ItemWindowView::~ItemWindowView() = default;

void ItemWindowView::Pull()
{
    try {
        setWindowTitle(gui::ToQ(m_oItem->Subject()));
        m_text->setPlainText(gui::ToQ(ItemWindowText(*m_oItem, kUncut)));
    } catch (const std::exception& e) {
        m_text->setPlainText(QString::fromUtf8(e.what()));
    }
}

QString ItemWindowView::Text() const
{
    return m_text->toPlainText();
}

} // namespace host
