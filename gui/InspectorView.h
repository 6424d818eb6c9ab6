#pragma once

#include "gui/ItemContent.h"

#include <QDialog>

#include <functional>
#include <memory>

class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace platform::outlook {
class Inspector;
}

namespace gui {

/// The client's item window on the desktop, over an Inspector: the caption as its title, the
/// command bars the add-in put on it as tool bars (a click reaches the button as the person's
/// click), and the item in fields. A mail not sent yet shows its recipients, subject and body
/// in fields the person edits, its attachments, and Send and Close; other items show their
/// fields read-only, with Close. The add-in may still change the item or the bars after the
/// window opened; Pull reads them again, leaving what the person edited as edited.
class InspectorView : public QDialog
{
    Q_OBJECT
public:
    /// `content` reads the item as the window shows it (called on each Pull); `send` sends a
    /// mail with the person's edits and throws std::exception with a message when it cannot;
    /// `words` gives the window's own words in the user's language.
    InspectorView(std::shared_ptr<platform::outlook::Inspector> inspector,
                  std::function<ItemContent()> content, std::function<void(const MailEdits&)> send,
                  ItemWords words, QWidget* parent = nullptr);
    ~InspectorView() override;

    platform::outlook::Inspector& Inspector() const { return *m_inspector; }
    /// Reads the caption, the bars and the item again.
    void Pull();
    /// What the window shows, as lines of text ("Label: value", the body last).
    QString Text() const;
    /// The person's Send: false (and the window stays open with its edits and shows why) when
    /// the mail could not be sent.
    bool Send();
    /// Saves a mail with the person's edits where it lies (a new mail into the drafts); throws
    /// std::exception with a message when it cannot. Without it, closing asks nothing.
    std::function<void(const MailEdits&)> OnSave;

protected:
    /// Closing (the close box, Close or Escape) a mail that holds unsaved content asks whether
    /// to save it: Yes saves, No drops it, Cancel keeps the window open.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    bool ConfirmClose();
    bool HasUnsavedContent() const;
    MailEdits Edits() const;
    void PullBars();
    void PullItem(const ItemContent& content);
    void PullTitle();
    QString Word(const char* english) const;

    std::shared_ptr<platform::outlook::Inspector> m_inspector;
    std::function<ItemContent()> m_contentOf;
    std::function<void(const MailEdits&)> m_send;
    ItemWords m_words;
    QVBoxLayout* m_bars;
    QFormLayout* m_fields;
    QLineEdit* m_to;
    QLineEdit* m_subject;
    QListWidget* m_attachments;
    QPlainTextEdit* m_body;
    QLabel* m_error;
    QPushButton* m_sendButton;
    QPushButton* m_closeButton;
    bool m_sendable = false;
    bool m_mail = false;
    QString m_itemTitle; // the item's subject, or the window's caption
    bool m_unsaved = false;
    // Set once the person chose how to leave (or the mail was sent): a close asks only once.
    bool m_leaving = false;
    int m_updateHandler = 0;
};

} // namespace gui
