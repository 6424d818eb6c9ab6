#include "host/HostTexts.h"

#include <array>
#include <atomic>
#include <cstddef>

namespace host {

namespace {

struct Entry
{
    HostText id;
    const char* pEnglish;
    const char* pGerman;
};

// One row per text, in the order of HostText.
constexpr std::array kTexts = {
    Entry{HostText::WindowNotOpen,
          "The report window is not open (say report to open it).",
          "Das Berichtsfenster ist nicht geöffnet (report öffnet es)."},
    Entry{HostText::WindowClosed,
          "Closed the report window; the template keeps its view (columns, widths, sorting, "
          "folders). Say report to open it again.",
          "Das Berichtsfenster ist geschlossen; die Vorlage behält ihre Ansicht (Spalten, "
          "Breiten, Sortierung, Ordner). report öffnet es wieder."},
    Entry{HostText::Templates, "Templates:", "Vorlagen:"},
    Entry{HostText::ReadCount, "Read: #0 of #1", "Gelesen: #0 von #1"},
    Entry{HostText::ReadFolders, "Folders: #0", "Ordner: #0"},
    Entry{HostText::NoFolder,
          "No folder is chosen for the template \"#0\", so nothing was read. Choose one: say "
          "select (the folder picker shows the folder tree), then folder Store/Folder, for "
          "example folder #1; the template keeps it after exit. Or start with --folder "
          "\"#1\" for this run only.",
          "Für die Vorlage \"#0\" ist kein Ordner gewählt, darum wurde nichts gelesen. Wählen "
          "Sie einen: select (die Ordnerauswahl zeigt den Ordnerbaum), dann folder "
          "Speicher/Ordner, zum Beispiel folder #1; die Vorlage behält ihn nach exit. Oder "
          "starten Sie mit --folder \"#1\" nur für diesen Lauf."},
    Entry{HostText::SavedAs, "Saved the report as #0", "Der Bericht ist gespeichert als #0"},
    Entry{HostText::SaveFailed, "The report was not saved as #0.",
          "Der Bericht wurde nicht als #0 gespeichert."},
    Entry{HostText::ExportFolderMissing,
          "The folder #0 does not exist; make it first (mkdir -p) or name another one.",
          "Der Ordner #0 existiert nicht; legen Sie ihn zuerst an (mkdir -p) oder nennen Sie "
          "einen anderen."},
    Entry{HostText::AnswersIsFolder,
          "The answers file #0 is a folder; name a text file with one command a line.",
          "Die Antwortdatei #0 ist ein Ordner; nennen Sie eine Textdatei mit einem Befehl je "
          "Zeile."},
    Entry{HostText::AnswersUnreadable, "cannot read the answers file #0",
          "Die Antwortdatei #0 kann nicht gelesen werden."},
    Entry{HostText::DialogFolder, "folder:", "Ordner:"},
    Entry{HostText::DialogName, "name:  ", "Name:  "},
    Entry{HostText::DialogAnswerFile, "answer: file NAME | filter N | cancel",
          "Antwort: file NAME | filter N | cancel"},
    Entry{HostText::ReadProgress, "Reading: #0 of #1", "Lese: #0 von #1"},
    Entry{HostText::AutoSaved, "Automatic save: the report is saved as #0",
          "Automatisches Speichern: Der Bericht ist gespeichert als #0"},
    Entry{HostText::AutoMailed, "Mailed \"#1\" to #0", "Mail \"#1\" an #0 gesendet"},
    Entry{HostText::AutoPrinted, "Printed \"#0\" on #1", "\"#0\" auf #1 gedruckt"},
    Entry{HostText::AutoDeleted, "Automatic delete: removed #0",
          "Automatisches Löschen: #0 entfernt"},
    Entry{HostText::TypeHelp, "Type help for the commands.",
          "help zeigt die Befehle."},
    Entry{HostText::LeftoversRemoved,
          "Removed #0 temporary file(s) that an interrupted run left in #1",
          "#0 temporäre Datei(en) entfernt, die ein abgebrochener Lauf in #1 hinterließ"},
    Entry{HostText::ItemWindowNone, "No item window is open.", "Kein Elementfenster ist offen."},
    Entry{HostText::ItemWindowNoMail, "The last item window shows no mail to send.",
          "Das letzte Elementfenster zeigt keine Nachricht zum Senden."},
    Entry{HostText::ItemWindowClosed, "The item window was closed.",
          "Das Elementfenster ist geschlossen."},
    Entry{HostText::ItemWindowUsage, "mail takes to, subject, body, send or close.",
          "mail nimmt to, subject, body, send oder close."},
    Entry{HostText::HelpNotShown, "The help page #0 could not be shown: #1.",
          "Die Hilfeseite #0 konnte nicht angezeigt werden: #1."},
};

constexpr bool InOrder()
{
    for (std::size_t i = 0; i < kTexts.size(); ++i)
        if (static_cast<std::size_t>(kTexts[i].id) != i)
            return false;
    return true;
}
static_assert(InOrder(), "the rows of kTexts follow the order of HostText");

std::atomic<bool> g_bGerman{false};

} // namespace

void SetTextLanguage(const std::string& sLanguage)
{
    g_bGerman = sLanguage == "de";
}

bool TextsAreGerman()
{
    return g_bGerman;
}

std::string Say(HostText id, const std::vector<std::string>& vArgs)
{
    const Entry& oEntry = kTexts[static_cast<std::size_t>(id)];
    const std::string sText = g_bGerman ? oEntry.pGerman : oEntry.pEnglish;
    std::string sOut;
    for (std::size_t i = 0; i < sText.size(); ++i) {
        if (sText[i] == '#' && i + 1 < sText.size() && sText[i + 1] >= '0' &&
            sText[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(sText[i + 1] - '0');
            sOut += n < vArgs.size() ? vArgs[n] : std::string();
            ++i;
        } else {
            sOut += sText[i];
        }
    }
    return sOut;
}

} // namespace host
