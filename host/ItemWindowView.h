#pragma once

#include <QDialog>

#include <memory>

class QPlainTextEdit;

namespace platform::mapi {
class Message;
}

namespace host {

/// The client's item window on the desktop: the item as its text shows it (subject, dates,
/// categories; a mail's recipients, attachments and body). The add-in may fill an item in
/// after it opened the window, so the text is read once the add-in's call has returned.
class ItemWindowView : public QDialog
{
public:
    explicit ItemWindowView(std::shared_ptr<platform::mapi::Message> oItem,
                            QWidget* parent = nullptr);
    ~ItemWindowView() override;

    /// Reads the item again into the window.
    void Pull();
    /// The text the window shows.
    QString Text() const;

private:
    std::shared_ptr<platform::mapi::Message> m_oItem;
    QPlainTextEdit* m_text;
};

} // namespace host
