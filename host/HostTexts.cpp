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
    // The report window's commands for help: the keywords stay, the explanations follow the
    // language.
    Entry{HostText::WindowHelp,
    "Commands of the report window (an example below each):\n"
    "  template NAME   show another template of the list in the Templates: line\n"
    "                    template Tasks by Status\n"
    "  KEY             click the menu or tool bar command of that key (menu lists\n"
    "                  them): refresh reads again, select opens the folder picker,\n"
    "                  saveas the save dialog, setview the view dialogs, templates\n"
    "                  the template manager with the automatic actions, print,\n"
    "                  sendreport, info\n"
    "                    refresh\n"
    "  menu            list the menu bar and the tool bar with their keys\n"
    "  show            print the report window again\n"
    "  report          click the report button (opens the window again after exit)\n"
    "  toolbar         click the button on the add-in's toolbar (clients before 14.0)\n"
    "  exit            close the report window (the menu's Close). Closing saves the\n"
    "                  template's view: column order and widths, sorting, grouping\n"
    "                  and the folders picked in the folder picker; the next run\n"
    "                  shows it so. Folders given with --folder hold for the run\n"
    "                  only.\n"
    "  quit            leave the program at once; the window is not closed, so\n"
    "                  changes to the view since it opened (setview's dialogs,\n"
    "                  columns moved or resized, folders picked) are not saved: say\n"
    "                  exit first to keep them. The template manager (templates)\n"
    "                  saves its changes when you click its OK, whether you leave by\n"
    "                  exit or by quit.\n"
    "  help            this text\n"
    "Dialogs the add-in opens are shown as text and answered by their own commands\n"
    "(help inside a dialog lists them): set NAME TEXT types into a box, pick NAME\n"
    "ENTRY chooses a list entry, click NAME clicks a button, folder STORE/FOLDER\n"
    "ticks a folder in the folder picker. A text with blanks at its ends goes in\n"
    "quotes: set txtNew \" A \".\n"
    "\n"
    "A template from scratch, saved as a workbook every time it is read:\n"
    "    templates                   the template manager\n"
    "    select fg 0                 the first template ...\n"
    "    click cmdCopy               ... copied under a new name:\n"
    "    set txtNew My report\n"
    "    click cmdFolder             its folders, in the folder picker:\n"
    "    folder Persönliche Ordner/Kalender   (a path of the picker's tree)\n"
    "    click cmdAutoAction         the automatic actions after each read:\n"
    "    check chkAutoExecute(0)     save automatically ...\n"
    "    pick optAutoSave(0)\n"
    "    set txtSavePath /home/me/reports\n"
    "    pick cboFormat #3           ... in the list's third format (show lists them)\n"
    "    set txtFileName Month\n"
    "    click cmdOK                 (and cmdOK until the manager is closed)\n"
    "  Each automatic save, mail and print after a read says so in one line. To save\n"
    "  once in any format: saveas, then file NAME.xlsx (or .csv, .html, .xls, .xlsm),\n"
    "  or start with --export NAME.xlsx. setview changes columns, grouping, sorting,\n"
    "  totals.\n",
    "Befehle des Berichtsfensters (darunter je ein Beispiel):\n"
    "  template NAME   eine andere Vorlage der Liste in der Zeile Vorlagen: zeigen\n"
    "                    template Aufgaben nach Status\n"
    "  KEY             den Menü- oder Symbolleistenbefehl dieses Schlüssels klicken\n"
    "                  (menu listet sie): refresh liest neu, select öffnet die\n"
    "                  Ordnerauswahl, saveas den Speichern-Dialog, setview die\n"
    "                  Ansichtsdialoge, templates die Vorlagenverwaltung mit den\n"
    "                  automatischen Aktionen, print, sendreport, info\n"
    "                    refresh\n"
    "  menu            die Menüleiste und die Symbolleiste mit ihren Schlüsseln\n"
    "                  listen\n"
    "  show            das Berichtsfenster noch einmal zeigen\n"
    "  report          die Berichtsschaltfläche klicken (öffnet das Fenster nach exit\n"
    "                  wieder)\n"
    "  toolbar         die Schaltfläche der Symbolleiste des Add-ins klicken (Clients\n"
    "                  vor 14.0)\n"
    "  exit            das Berichtsfenster schließen (Schließen im Menü). Das\n"
    "                  Schließen speichert die Ansicht der Vorlage: Reihenfolge und\n"
    "                  Breite der Spalten, Sortierung, Gruppierung und die in der\n"
    "                  Ordnerauswahl gewählten Ordner; der nächste Lauf zeigt sie so.\n"
    "                  Mit --folder genannte Ordner gelten nur für den Lauf.\n"
    "  quit            das Programm sofort verlassen; das Fenster wird nicht\n"
    "                  geschlossen, also werden Änderungen der Ansicht seit dem\n"
    "                  Öffnen (Dialoge von setview, verschobene oder verbreiterte\n"
    "                  Spalten, gewählte Ordner) nicht gespeichert: erst exit behält\n"
    "                  sie. Die Vorlagenverwaltung (templates) speichert ihre\n"
    "                  Änderungen beim Klick auf OK, ob Sie mit exit oder mit quit\n"
    "                  gehen.\n"
    "  help            dieser Text\n"
    "Dialoge des Add-ins erscheinen als Text und werden mit ihren eigenen Befehlen\n"
    "beantwortet (help im Dialog listet sie): set NAME TEXT tippt in ein Feld, pick\n"
    "NAME EINTRAG wählt einen Listeneintrag, click NAME klickt eine Schaltfläche,\n"
    "folder SPEICHER/ORDNER hakt einen Ordner in der Ordnerauswahl an. Ein Text mit\n"
    "Leerzeichen an den Enden steht in Anführungszeichen: set txtNew \" A \".\n"
    "\n"
    "Eine neue Vorlage, nach jedem Lesen als Arbeitsmappe gespeichert:\n"
    "    templates                   die Vorlagenverwaltung\n"
    "    select fg 0                 die erste Vorlage ...\n"
    "    click cmdCopy               ... unter neuem Namen kopiert:\n"
    "    set txtNew Mein Bericht\n"
    "    click cmdFolder             ihre Ordner, in der Ordnerauswahl:\n"
    "    folder Persönliche Ordner/Kalender   (ein Pfad des Ordnerbaums)\n"
    "    click cmdAutoAction         die automatischen Aktionen nach jedem Lesen:\n"
    "    check chkAutoExecute(0)     automatisch speichern ...\n"
    "    pick optAutoSave(0)\n"
    "    set txtSavePath /home/ich/berichte\n"
    "    pick cboFormat #3           ... im dritten Format der Liste (show zeigt sie)\n"
    "    set txtFileName Monat\n"
    "    click cmdOK                 (und cmdOK, bis die Verwaltung geschlossen ist)\n"
    "  Jedes automatische Speichern, Senden und Drucken nach dem Lesen meldet sich\n"
    "  mit einer Zeile. Einmal in einem beliebigen Format speichern: saveas, dann\n"
    "  file NAME.xlsx (oder .csv, .html, .xls, .xlsm), oder mit --export NAME.xlsx\n"
    "  starten. setview ändert Spalten, Gruppierung, Sortierung und Summen.\n"},
    Entry{HostText::ItemWindowNone, "No item window is open.", "Kein Elementfenster ist offen."},
    Entry{HostText::ItemWindowNoMail, "The last item window shows no mail to send.",
          "Das letzte Elementfenster zeigt keine Nachricht zum Senden."},
    Entry{HostText::ItemWindowClosed, "The item window was closed.",
          "Das Elementfenster ist geschlossen."},
    Entry{HostText::ItemWindowUsage, "mail takes to, subject, body, send or close.",
          "mail nimmt to, subject, body, send oder close."},
    Entry{HostText::AnswersLine, "the answers file #0, line #1: #2",
          "Antwortdatei #0, Zeile #1: #2"},
    Entry{HostText::AnswersEnded, "the answers file #0 ended while #1 waited for an answer",
          "die Antwortdatei #0 endete, während #1 auf eine Antwort wartete"},
    Entry{HostText::InputEnded, "the input ended while #0 waited for an answer",
          "die Eingabe endete, während #0 auf eine Antwort wartete"},
    Entry{HostText::WaitingWindow, "the window #0", "das Fenster #0"},
    Entry{HostText::WaitingQuestion, "the question \"#0\"", "die Frage \"#0\""},
    Entry{HostText::WaitingDialog, "the dialog #0", "der Dialog #0"},
    Entry{HostText::WaitingMenu, "the menu #0", "das Menü #0"},
    Entry{HostText::HelpNotShown, "The help page #0 could not be shown: #1.",
          "Die Hilfeseite #0 konnte nicht angezeigt werden: #1."},
    Entry{HostText::ProfileLine, "Profile: #0", "Profil: #0"},
    Entry{HostText::AddInConnected, "Connected the add-in #0", "Das Add-in #0 ist verbunden."},
    Entry{HostText::AddInDisconnected, "Disconnected the add-in.",
          "Die Verbindung zum Add-in ist getrennt."},
    Entry{HostText::RibbonLine, "Ribbon: tab \"#0\", button \"#1\"",
          "Menüband: Registerkarte \"#0\", Schaltfläche \"#1\""},
    Entry{HostText::SampleGenerated, "Generated the sample profile in #0",
          "Das Beispielprofil ist angelegt in #0"},
    Entry{HostText::PrinterLine, "Printer: #0", "Drucker: #0"},
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
            // A number the call gives no argument for is text ("pick cboFormat #3").
            const auto n = static_cast<std::size_t>(sText[i + 1] - '0');
            if (n >= vArgs.size()) {
                sOut += sText[i];
                continue;
            }
            sOut += vArgs[n];
            ++i;
        } else {
            sOut += sText[i];
        }
    }
    return sOut;
}

} // namespace host
