#include "gui/QtTranslations.h"

#include "platform/locale/Locale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace gui {

QtTranslations::QtTranslations() : m_sPreviousLocale(QLocale().name())
{
    const std::string locale = platform::locale::CurrentName();
    // Qt would take the process's environment, which need not be the run's language.
    QLocale::setDefault(
        QLocale(QString::fromStdString(locale).replace(QLatin1Char('-'), QLatin1Char('_'))));
    const QString language = QString::fromStdString(locale.substr(0, locale.find('-')));
    if (language.isEmpty() || language == QLatin1String("en"))
        return;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qtbase holds the widgets' words; "qt" bundles it where it is shipped whole.
    for (const char* module : {"qtbase", "qt"}) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QLatin1String(module) + QLatin1Char('_') + language, folder))
            continue;
        QCoreApplication::installTranslator(translator.get());
        m_translators.push_back(std::move(translator));
        break;
    }
}

QtTranslations::~QtTranslations()
{
    QLocale::setDefault(QLocale(m_sPreviousLocale));
    for (const auto& translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
}

} // namespace gui
