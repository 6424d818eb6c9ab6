#pragma once

#include "gui/ItemContent.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace gui {

/// A folder of the client's folder list, with the folders under it.
struct FolderNode
{
    std::string name;
    std::vector<FolderNode> children;
};

/// Where a client shows the add-in's report button: on the add-in's ribbon tab, or (clients
/// before ribbons) on the toolbar the add-in put into the window.
enum class ButtonPlace
{
    Ribbon,
    Toolbar,
};

/// The mail client's main window as the host shows it: the profile's folder list on the left,
/// the items of the folder the person opened beside it, and a ribbon with the add-in's tab and
/// button on top (or the add-in's toolbar with its button, as older clients show it). The button's
/// click goes to OnRibbonButton; closing the window ends the client.
class ClientWindow : public QWidget
{
    Q_OBJECT
public:
    /// title: the window caption; tab and button: the labels the add-in's ribbon gives (on a
    /// toolbar: the toolbar's name and the button's caption).
    ClientWindow(const std::string& title, const std::string& tab, const std::string& button,
                 const std::vector<FolderNode>& folders, ButtonPlace place = ButtonPlace::Ribbon);

    /// The add-in's report button (on its ribbon or toolbar).
    QToolButton* RibbonButton() const { return m_button; }
    /// The folder list.
    QTreeWidget* FolderList() const { return m_folders; }
    /// The list of the opened folder's items.
    QTreeWidget* ItemList() const { return m_items; }
    /// The item list's column captions, in the user's language.
    void SetItemHeaders(const std::string& subject, const std::string& date, const std::string& to);
    /// Shows the items of the folder opened last.
    void ShowItems(const std::vector<ItemRow>& rows);
    /// Raised when the person opens a folder of the list (a click, Enter, or moving onto it
    /// by the keys): the folder's place as 0-based indexes from the top level down.
    std::function<void(const std::vector<int>& place)> OnFolderOpened;
    /// Raised when the person opens an item of the item list (double click or Enter): its
    /// 0-based index in the rows shown.
    std::function<void(int index)> OnItemOpened;
    /// Raised when the person clicks the ribbon button.
    std::function<void()> OnRibbonButton;
    /// Raised when the person closes the window.
    std::function<void()> OnClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void AddFolders(QTreeWidgetItem* parent, const std::vector<FolderNode>& folders);
    void OpenFolder(QTreeWidgetItem* item);
    QToolButton* m_button;
    QTreeWidget* m_folders;
    QTreeWidget* m_items;
};

} // namespace gui
