#pragma once

#include <QString>

#include <memory>
#include <vector>

class QTranslator;

namespace gui {

/// Qt's own words (the file dialogs' labels and buttons, the standard buttons, the context
/// menus of text boxes) in the language of the regional settings while the object lives:
/// installs Qt's translations as the system ships them (Debian's qt6-translations-l10n) into
/// the application. Where they are missing Qt stays English; nothing fails. Qt's own dates and
/// numbers (the file dialogs' date column, the month names of its calendars) follow the same
/// locale meanwhile.
class QtTranslations
{
public:
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    /// Whether translations were found and installed (never for English).
    bool Loaded() const { return !m_translators.empty(); }

private:
    std::vector<std::unique_ptr<QTranslator>> m_translators;
    QString m_sPreviousLocale;
};

} // namespace gui
