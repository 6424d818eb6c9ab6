#include "gui/ClientWindow.h"

#include "gui/Pictures.h"
#include "gui/Units.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
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

    auto* panes = new QSplitter(Qt::Horizontal, this);
    m_folders = new QTreeWidget(panes);
    m_folders->setObjectName(QStringLiteral("folders"));
    m_folders->header()->hide();
    AddFolders(nullptr, folders);
    m_folders->expandToDepth(0);
    m_items = new QTreeWidget(panes);
    m_items->setObjectName(QStringLiteral("items"));
    m_items->setRootIsDecorated(false);
    m_items->setColumnCount(3);
    m_items->setHeaderLabels(
        {QStringLiteral("Subject"), QStringLiteral("Date"), QStringLiteral("To")});
    panes->addWidget(m_folders);
    panes->addWidget(m_items);
    panes->setStretchFactor(0, 1);
    panes->setStretchFactor(1, 2);
    layout->addWidget(panes, 1);
    resize(760, 480);

    // A click opens the folder as a client does; so do Enter and moving onto it by the keys.
    connect(m_folders, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OpenFolder(item); });
    connect(m_folders, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { OpenFolder(item); });
    connect(m_folders, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { OpenFolder(item); });
    connect(m_items, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (OnItemOpened && item)
            OnItemOpened(m_items->indexOfTopLevelItem(item));
    });

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

void ClientWindow::SetItemHeaders(const std::string& subject, const std::string& date,
                                  const std::string& to)
{
    m_items->setHeaderLabels({ToQ(subject), ToQ(date), ToQ(to)});
}

void ClientWindow::ShowItems(const std::vector<ItemRow>& rows)
{
    m_items->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows)
        items.append(new QTreeWidgetItem({ToQ(row.sSubject), ToQ(row.sDate), ToQ(row.sTo)}));
    m_items->addTopLevelItems(items);
    for (int c = 0; c < m_items->columnCount(); ++c)
        m_items->resizeColumnToContents(c);
}

void ClientWindow::OpenFolder(QTreeWidgetItem* item)
{
    if (!item || !OnFolderOpened)
        return;
    std::vector<int> place;
    for (QTreeWidgetItem* at = item; at; at = at->parent())
        place.insert(place.begin(), at->parent() ? at->parent()->indexOfChild(at)
                                                 : m_folders->indexOfTopLevelItem(at));
    OnFolderOpened(place);
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
