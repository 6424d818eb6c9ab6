#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class QPlainTextEdit;
class QToolBar;
class QVBoxLayout;

namespace platform::outlook {
class Inspector;
}

namespace gui {

/// The client's item window on the desktop, over an Inspector: the caption as its title, the
/// command bars the add-in put on it as tool bars (a click reaches the button as the person's
/// click), and the item as the text the host writes of it. The add-in may still change the
/// item or the bars after the window opened; Pull reads them again.
class InspectorView : public QDialog
{
    Q_OBJECT
public:
    /// `text` writes the item the window shows; it is called on each Pull.
    InspectorView(std::shared_ptr<platform::outlook::Inspector> inspector,
                  std::function<QString()> text, QWidget* parent = nullptr);
    ~InspectorView() override;

    platform::outlook::Inspector& Inspector() const { return *m_inspector; }
    /// Reads the caption, the bars and the item again.
    void Pull();
    /// The text the window shows.
    QString Text() const;

private:
    void PullBars();

    std::shared_ptr<platform::outlook::Inspector> m_inspector;
    std::function<QString()> m_textOf;
    QVBoxLayout* m_bars;
    QPlainTextEdit* m_text;
    int m_updateHandler = 0;
};

} // namespace gui
