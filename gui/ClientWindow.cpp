#include "gui/ClientWindow.h"

#include "gui/Pictures.h"
#include "gui/Units.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace gui {

ClientWindow::ClientWindow(const std::string& title, const std::string& tab,
                           const std::string& button, const std::vector<FolderNode>& folders,
                           ButtonPlace place)
{
    setObjectName(QStringLiteral("ClientWindow"));
    setWindowTitle(ToQ(title));
    auto* layout = new QVBoxLayout(this);

    if (place == ButtonPlace::Toolbar) {
        // A command bar of the old clients: the add-in's toolbar, its button with a caption.
        auto* toolbar = new QToolBar(ToQ(tab), this);
        toolbar->setObjectName(QStringLiteral("toolbar"));
        toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        m_button = new QToolButton(toolbar);
        m_button->setText(ToQ(button));
        m_button->setIcon(IconForKey("openreport"));
        m_button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        toolbar->addWidget(m_button);
        layout->addWidget(toolbar);
    } else {
        auto* ribbon = new QTabWidget(this);
        ribbon->setObjectName(QStringLiteral("ribbon"));
        auto* page = new QWidget(ribbon);
        auto* row = new QHBoxLayout(page);
        m_button = new QToolButton(page);
        m_button->setText(ToQ(button));
        m_button->setIcon(IconForKey("openreport"));
        m_button->setIconSize(QSize(32, 32));
        m_button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        row->addWidget(m_button);
        row->addStretch(1);
        ribbon->addTab(page, ToQ(tab));
        ribbon->setMaximumHeight(ribbon->sizeHint().height());
        layout->addWidget(ribbon);
    }
    m_button->setObjectName(QStringLiteral("ribbonButton"));

    m_folders = new QTreeWidget(this);
    m_folders->setObjectName(QStringLiteral("folders"));
    m_folders->header()->hide();
    AddFolders(nullptr, folders);
    m_folders->expandToDepth(0);
    layout->addWidget(m_folders, 1);
    resize(420, 480);

    connect(m_button, &QToolButton::clicked, this, [this] {
        if (OnRibbonButton)
            OnRibbonButton();
    });
}

void ClientWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (OnClose)
        OnClose();
}

void ClientWindow::AddFolders(QTreeWidgetItem* parent, const std::vector<FolderNode>& folders)
{
    for (const auto& folder : folders) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_folders);
        item->setText(0, ToQ(folder.name));
        AddFolders(item, folder.children);
    }
}

} // namespace gui
