#include "gui/DesktopTexts.h"

#include "platform/locale/Locale.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include <cstring>
#include <utility>

namespace gui {

namespace {

struct Words
{
    const char* english;
    const char* german;
};

constexpr Words kWords[] = {
    {"OK", "OK"},
    {"Cancel", "Abbrechen"},
    {"Yes", "Ja"},
    {"No", "Nein"},
    {"Abort", "Abbrechen"},
    {"Retry", "Wiederholen"},
    {"Ignore", "Ignorieren"},
    {"Printer", "Drucker"},
    {"Copies", "Exemplare"},
    {"Collate", "Sortieren"},
    {"Print range", "Druckbereich"},
    {"All", "Alles"},
    {"Selection", "Markierung"},
    {"Pages", "Seiten"},
    {"to", "bis"},
    {"Landscape", "Querformat"},
    {"Print", "Drucken"},
    // The message boxes' buttons, with their access keys.
    {"&Yes", "&Ja"},
    {"&No", "&Nein"},
    {"&Cancel", "&Abbrechen"},
    {"&Abort", "&Abbrechen"},
    {"&Retry", "&Wiederholen"},
    {"&Ignore", "&Ignorieren"},
};

bool German()
{
    return platform::locale::CurrentName().rfind("de", 0) == 0;
}

} // namespace

QString DesktopText(const char* english)
{
    if (German())
        for (const Words& words : kWords)
            if (std::strcmp(words.english, english) == 0)
                return QString::fromUtf8(words.german);
    return QString::fromUtf8(english);
}

void NameStandardButtons(QDialogButtonBox& box)
{
    static const std::pair<QDialogButtonBox::StandardButton, const char*> kButtons[] = {
        {QDialogButtonBox::Ok, "OK"},         {QDialogButtonBox::Cancel, "Cancel"},
        {QDialogButtonBox::Yes, "Yes"},       {QDialogButtonBox::No, "No"},
        {QDialogButtonBox::Abort, "Abort"},   {QDialogButtonBox::Retry, "Retry"},
        {QDialogButtonBox::Ignore, "Ignore"},
    };
    for (const auto& [which, english] : kButtons)
        if (QPushButton* button = box.button(which))
            button->setText(DesktopText(english));
}

} // namespace gui
