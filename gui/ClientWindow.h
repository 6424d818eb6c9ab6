#pragma once

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

/// The mail client's main window as the host shows it: the profile's folder list on the left
/// and a ribbon with the add-in's tab and button on top. The button's click goes to
/// OnRibbonButton; closing the window ends the client.
class ClientWindow : public QWidget
{
    Q_OBJECT
public:
    /// title: the window caption; tab and button: the labels the add-in's ribbon gives.
    ClientWindow(const std::string& title, const std::string& tab, const std::string& button,
                 const std::vector<FolderNode>& folders);

    /// The add-in's ribbon button.
    QToolButton* RibbonButton() const { return m_button; }
    /// The folder list.
    QTreeWidget* FolderList() const { return m_folders; }
    /// Raised when the person clicks the ribbon button.
    std::function<void()> OnRibbonButton;
    /// Raised when the person closes the window.
    std::function<void()> OnClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void AddFolders(QTreeWidgetItem* parent, const std::vector<FolderNode>& folders);
    QToolButton* m_button;
    QTreeWidget* m_folders;
};

} // namespace gui
