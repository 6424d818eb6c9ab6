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
    Entry{HostText::SaveFailedWhy, "The report was not saved as #0: #1",
          "Der Bericht wurde nicht als #0 gespeichert: #1"},
    Entry{HostText::NoRowsToSave, "the report holds no rows.", "der Bericht hat keine Zeilen."},
    Entry{HostText::NotUtf8,
          "The text \"#0\" holds the byte #1, which is not UTF-8: it was not taken. Give it "
          "again in UTF-8 (the terminal's character set must be UTF-8).",
          "Der Text \"#0\" enthält das Byte #1, das kein UTF-8 ist: Er wurde nicht übernommen. "
          "Geben Sie ihn in UTF-8 erneut ein (der Zeichensatz des Terminals muss UTF-8 sein)."},
    Entry{HostText::ControlCharacter,
          "The text \"#0\" holds the control character #1, which is no printable text: it "
          "was not taken. Give it again without it.",
          "Der Text \"#0\" enthält das Steuerzeichen #1, das kein druckbarer Text ist: Er "
          "wurde nicht übernommen. Geben Sie ihn ohne es erneut ein."},
    Entry{HostText::ViewNotKept,
          "Closed the report window, but the template's view was NOT kept: #0 The changes "
          "since the window opened are lost. Say report to open it again.",
          "Das Berichtsfenster ist geschlossen, aber die Ansicht der Vorlage wurde NICHT "
          "behalten: #0 Die Änderungen seit dem Öffnen des Fensters sind verloren. report "
          "öffnet es wieder."},
    Entry{HostText::SettingsNotKept,
          "The report templates' changes (the view of the report window among them) were NOT "
          "kept: #0 They are lost.",
          "Die Änderungen der Berichtvorlagen (die Ansicht des Berichtsfensters darunter) wurden "
          "NICHT behalten: #0 Sie sind verloren."},
    Entry{HostText::FileNotWritten, "#0 was not written (#1).",
          "#0 wurde nicht geschrieben (#1)."},
    Entry{HostText::NotWrittenReason, "the report window did not save it",
          "das Berichtsfenster hat sie nicht gespeichert"},
    Entry{HostText::TemplateUnreadable,
          "The template \"#0\" cannot be read (#1): it stays in #2 as it is; the table below "
          "does not show it. Choose another template: template NAME.",
          "Die Vorlage \"#0\" kann nicht gelesen werden (#1): Sie bleibt unverändert in #2; die "
          "Tabelle darunter zeigt sie nicht. Wählen Sie eine andere Vorlage: template NAME."},
    Entry{HostText::ProfileNotOpened, "The profile #0 cannot be opened: #1",
          "Das Profil #0 kann nicht geöffnet werden: #1"},
    Entry{HostText::ProfileFileEmpty, "its file #0 is empty.", "Seine Datei #0 ist leer."},
    Entry{HostText::ProfileFileDamaged, "its file #0 is damaged or holds no store.",
          "Seine Datei #0 ist beschädigt oder enthält keinen Speicher."},
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
    Entry{HostText::AutoPrinted, "Sent \"#0\" to the printer #1",
          "\"#0\" an den Drucker #1 gegeben"},
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
    Entry{HostText::PrinterLine,
          "Printer: #0 is the default printer for this run; a template that names its own "
          "printer prints there.",
          "Drucker: #0 ist der Standarddrucker für diesen Lauf; eine Vorlage, die ihren eigenen "
          "Drucker nennt, druckt dort."},
    Entry{HostText::OptionNeedsValue, "option #0 needs a value",
          "die Option #0 braucht einen Wert"},
    Entry{HostText::LangTakes, "--lang takes de or en, not #0",
          "--lang nimmt de oder en, nicht #0"},
    Entry{HostText::ClientVersionTakes,
          "--client-version takes a version such as 12.0 or 16.0.0.0, not #0",
          "--client-version nimmt eine Version wie 12.0 oder 16.0.0.0, nicht #0"},
    Entry{HostText::UnknownOption, "unknown option #0", "unbekannte Option #0"},
    Entry{HostText::GuiTakesNot,
          "--gui takes only --profile, --lang and --client-version, not #0: the windows are "
          "worked by hand (run without --gui for #0)",
          "--gui nimmt nur --profile, --lang und --client-version, nicht #0: die Fenster "
          "bedienen Sie selbst (für #0 ohne --gui starten)"},
    Entry{HostText::ExportTypeUnknown,
          "--export saves as #1 only, by the extension of its file; #0 has none of them",
          "--export speichert nur als #1, nach der Endung der Datei; #0 hat keine davon"},
    Entry{HostText::UsageText,
          "Usage: tallyman [--profile DIR] [--lang de|en] [--template NAME] [--folder PATH]...\n"
          "                [--export FILE] [--interactive] [--answers FILE]\n"
          "                [--client-version V] [--printer QUEUE]\n"
          "       tallyman --gui [--profile DIR] [--lang de|en] [--client-version V]\n"
          "\n"
          "Plays the mail client: opens a profile, loads the report add-in, opens an\n"
          "explorer window, clicks the add-in's report button and shows the report window\n"
          "as text.\n"
          "\n"
          "  --profile DIR    the profile folder (default: the sample profile, made on first\n"
          "                   use in the user's data folder)\n"
          "  --lang de|en     user-interface language and locale (default: the language of\n"
          "                   the first of LC_ALL, LC_MESSAGES and LANG that is set:\n"
          "                   German for de*, English otherwise)\n"
          "  --template NAME  the report template to show\n"
          "  --folder PATH    pick this folder for the template, as \"Store/Folder/Subfolder\"\n"
          "                   (repeat it for more folders; \\/ is a slash and \\\\ a\n"
          "                   backslash inside a name), for this run only: the template\n"
          "                   keeps its own folders, unless you pick folders in the folder\n"
          "                   picker during the run (those are kept after exit)\n"
          "  --export FILE    save the report into FILE after the read, in the format of its\n"
          "                   extension (.csv, .htm, .html, .xls, .xlsx, .xlsm); a name\n"
          "                   without one of them is refused, nothing is added to it; the\n"
          "                   template's own save settings stay as they are\n"
          "  --interactive    pick templates, run menu commands and answer the dialogs\n"
          "  --client-version V  the version the client reports (default 16.0.0.0); below\n"
          "                   14 the report button sits on the add-in's toolbar\n"
          "  --answers FILE   read those commands from FILE, one a line (implies\n"
          "                   --interactive); a missing or unfitting answer ends the run\n"
          "  --printer QUEUE  the default printer for this run: a template that names its\n"
          "                   own printer prints there (the user's default stays as it is)\n"
          "  --gui            show the client and the report window as windows on the\n"
          "                   desktop (needs a display)\n"
          "  --help           this text\n"
          "\n"
          "Exit codes (where several apply, a signal's code wins, then the lowest of 3, 4, 5):\n"
          "  0    the run ended as asked and everything asked to be kept was kept\n"
          "  1    the run could not start or go on (a missing or damaged profile, report\n"
          "       definitions that cannot be read, ...)\n"
          "  2    the command line is wrong (an unknown option, a missing or unfitting\n"
          "       value, a control character in any value, an option --gui does not take)\n"
          "  3    the answers file or the input ended while the report window was open, or\n"
          "       held a line that does not fit\n"
          "  4    something asked for was not kept or not done: the view or the templates\n"
          "       could not be written, a save (by a command or automatic) failed, a mail\n"
          "       or a print could not be made or sent\n"
          "  5    a folder of the report could not be read; the others were\n"
          "  128+N  ended by signal N after the clean-up (130 Ctrl+C, 143 SIGTERM, 129\n"
          "       SIGHUP); --folder's folders are put back and sent prints waited for on\n"
          "       every end but kill -9, after which the next start puts them back\n",
          "Aufruf: tallyman [--profile ORDNER] [--lang de|en] [--template NAME]\n"
          "                 [--folder PFAD]... [--export DATEI] [--interactive]\n"
          "                 [--answers DATEI] [--client-version V] [--printer WARTESCHLANGE]\n"
          "        tallyman --gui [--profile ORDNER] [--lang de|en] [--client-version V]\n"
          "\n"
          "Spielt den Mail-Client: öffnet ein Profil, lädt das Berichts-Add-in, öffnet ein\n"
          "Explorer-Fenster, klickt die Berichtsschaltfläche des Add-ins und zeigt das\n"
          "Berichtsfenster als Text.\n"
          "\n"
          "  --profile ORDNER der Profilordner (ohne Angabe: das Beispielprofil, beim ersten\n"
          "                   Start im Datenordner des Benutzers angelegt)\n"
          "  --lang de|en     Sprache der Oberfläche und Gebietsschema (ohne Angabe: die\n"
          "                   Sprache der ersten gesetzten Variable von LC_ALL, LC_MESSAGES\n"
          "                   und LANG: Deutsch für de*, sonst Englisch)\n"
          "  --template NAME  die Berichtsvorlage, die gezeigt wird\n"
          "  --folder PFAD    diesen Ordner für die Vorlage wählen, als\n"
          "                   \"Speicher/Ordner/Unterordner\" (für mehr Ordner wiederholen;\n"
          "                   \\/ ist ein Schrägstrich und \\\\ ein umgekehrter Schrägstrich\n"
          "                   in einem Namen), nur für diesen Lauf: die Vorlage behält ihre\n"
          "                   eigenen Ordner, außer Sie wählen während des Laufs Ordner in\n"
          "                   der Ordnerauswahl (diese bleiben nach exit)\n"
          "  --export DATEI   den Bericht nach dem Lesen in DATEI speichern, im Format ihrer\n"
          "                   Endung (.csv, .htm, .html, .xls, .xlsx, .xlsm); ein Name\n"
          "                   ohne eine davon wird abgelehnt, nichts wird angehängt; die\n"
          "                   eigenen Speichereinstellungen der Vorlage bleiben, wie sie\n"
          "                   sind\n"
          "  --interactive    Vorlagen wählen, Menübefehle ausführen und die Dialoge\n"
          "                   beantworten\n"
          "  --client-version V  die Version, die der Client meldet (ohne Angabe 16.0.0.0);\n"
          "                   unter 14 sitzt die Berichtsschaltfläche auf der Symbolleiste\n"
          "                   des Add-ins\n"
          "  --answers DATEI  die Befehle aus DATEI lesen, einen je Zeile (schließt\n"
          "                   --interactive ein); eine fehlende oder unpassende Antwort\n"
          "                   beendet den Lauf\n"
          "  --printer WARTESCHLANGE  der Standarddrucker für diesen Lauf: eine Vorlage,\n"
          "                   die ihren eigenen Drucker nennt, druckt dort (der\n"
          "                   Standarddrucker des Benutzers bleibt, wie er ist)\n"
          "  --gui            den Client und das Berichtsfenster als Fenster auf dem\n"
          "                   Desktop zeigen (braucht eine Anzeige)\n"
          "  --help           dieser Text\n"
          "\n"
          "Rückgabewerte (treffen mehrere zu, gilt der eines Signals, sonst der kleinste von\n"
          "3, 4, 5):\n"
          "  0    der Lauf endete wie verlangt, und alles zu Behaltende wurde behalten\n"
          "  1    der Lauf konnte nicht beginnen oder weitergehen (ein fehlendes oder\n"
          "       beschädigtes Profil, nicht lesbare Berichtsdefinitionen, ...)\n"
          "  2    die Befehlszeile ist falsch (eine unbekannte Option, ein fehlender oder\n"
          "       unpassender Wert, ein Steuerzeichen in einem Wert, eine Option, die --gui\n"
          "       nicht nimmt)\n"
          "  3    die Antwortdatei oder die Eingabe endete, während das Berichtsfenster\n"
          "       offen war, oder enthielt eine unpassende Zeile\n"
          "  4    Verlangtes wurde nicht behalten oder nicht getan: die Ansicht oder die\n"
          "       Vorlagen konnten nicht geschrieben werden, ein Speichern (per Befehl oder\n"
          "       automatisch) schlug fehl, eine Mail oder ein Druck kam nicht zustande\n"
          "  5    ein Ordner des Berichts konnte nicht gelesen werden; die anderen schon\n"
          "  128+N  durch Signal N beendet, nach dem Aufräumen (130 Strg+C, 143 SIGTERM,\n"
          "       129 SIGHUP); die Ordner von --folder werden zurückgesetzt und an den\n"
          "       Drucker Gegebenes abgewartet, bei jedem Ende außer kill -9, nach dem der\n"
          "       nächste Start sie zurücksetzt\n"},
    Entry{HostText::NoProfileIn, "there is no profile in #0", "in #0 liegt kein Profil"},
    Entry{HostText::NoSettingsFolder,
          "there is no folder for the settings: neither XDG_CONFIG_HOME nor HOME names one and "
          "the account has no home folder",
          "es gibt keinen Ordner für die Einstellungen: weder XDG_CONFIG_HOME noch HOME nennt "
          "einen, und das Konto hat keinen Heimordner"},
    Entry{HostText::SettingsFolderUnusable,
          "the settings folder #0 cannot be used: #1 Set XDG_CONFIG_HOME to a folder you may "
          "write.",
          "der Ordner für die Einstellungen #0 ist nicht nutzbar: #1 Setzen Sie XDG_CONFIG_HOME "
          "auf einen Ordner, den Sie schreiben dürfen."},
    Entry{HostText::FolderHoldsOtherFiles,
          "the folder #0 holds other files and no profile; it is left as it is",
          "der Ordner #0 enthält andere Dateien und kein Profil; er bleibt, wie er ist"},
    Entry{HostText::NoTemplate, "there is no template \"#0\"; the templates are: #1",
          "es gibt keine Vorlage \"#0\"; die Vorlagen sind: #1"},
    Entry{HostText::NoFolderPath, "there is no folder \"#0\"; the folders are: #1",
          "es gibt keinen Ordner \"#0\"; die Ordner sind: #1"},
    Entry{HostText::FolderPathEmptyName, "folder path \"#0\" has an empty name",
          "der Ordnerpfad \"#0\" enthält einen leeren Namen"},
    Entry{HostText::FolderPathQuote,
          "folder path \"#0\": write \\/ for a slash and \\\\ for a backslash",
          "Ordnerpfad \"#0\": schreiben Sie \\/ für einen Schrägstrich und \\\\ für einen "
          "umgekehrten Schrägstrich"},
    Entry{HostText::NoPrintQueue, "there is no print queue #0; the queues are: #1",
          "es gibt keine Druckwarteschlange #0; die Warteschlangen sind: #1"},
    Entry{HostText::LockFileFailed, "the profile cannot be locked: #0",
          "das Profil kann nicht gesperrt werden: #0"},
    Entry{HostText::LockFailed, "cannot lock the profile #0: #1",
          "das Profil #0 kann nicht gesperrt werden: #1"},
    Entry{HostText::ProfileInUse,
          "the profile #0 is open in another tallyman (#1); close that one first or name "
          "another profile",
          "das Profil #0 ist in einem anderen tallyman geöffnet (#1); schließen Sie diesen "
          "zuerst oder nennen Sie ein anderes Profil"},
    Entry{HostText::HolderProcess, "process #0", "Prozess #0"},
    Entry{HostText::HolderUnknown, "process unknown", "Prozess unbekannt"},
    Entry{HostText::NoDisplay,
          "no display could be opened (#0); run tallyman without --gui to see the report as "
          "text.",
          "keine Anzeige konnte geöffnet werden (#0); starten Sie tallyman ohne --gui, um den "
          "Bericht als Text zu sehen."},
    Entry{HostText::NoXcbLibrary, "the X11 client library (libxcb) is not installed",
          "die X11-Client-Bibliothek (libxcb) ist nicht installiert"},
    Entry{HostText::XcbUnusable, "the X11 client library (libxcb) cannot be used",
          "die X11-Client-Bibliothek (libxcb) ist nicht nutzbar"},
    Entry{HostText::NoXServer, "no X server answers on DISPLAY=#0",
          "kein X-Server antwortet auf DISPLAY=#0"},
    Entry{HostText::NoWaylandPlatform,
          "Qt's Wayland platform is not installed, for WAYLAND_DISPLAY=#0",
          "die Wayland-Plattform von Qt ist nicht installiert, für WAYLAND_DISPLAY=#0"},
    Entry{HostText::NoCompositor, "no Wayland compositor listens on WAYLAND_DISPLAY=#0",
          "kein Wayland-Compositor lauscht auf WAYLAND_DISPLAY=#0"},
    Entry{HostText::DisplayNotSet, "DISPLAY is not set", "DISPLAY ist nicht gesetzt"},
    Entry{HostText::ToolbarButtonLine, "Toolbar: \"#0\", button \"#1\"",
          "Symbolleiste: \"#0\", Schaltfläche \"#1\""},
    Entry{HostText::ItemWindowHelp,
          "Commands of the last item window the add-in opened:\n"
          "  mail to NAMES   address its mail (names or addresses, ';' between them)\n"
          "  mail subject T  give its mail the subject T\n"
          "  mail body T     give its mail the text T\n"
          "  mail send       send its mail (into the sent items) and close the window\n"
          "  mail close      close the window without sending\n",
          "Befehle des letzten Elementfensters, das das Add-in öffnete:\n"
          "  mail to NAMEN   seine Nachricht adressieren (Namen oder Adressen, ';'\n"
          "                  dazwischen)\n"
          "  mail subject T  seiner Nachricht den Betreff T geben\n"
          "  mail body T     seiner Nachricht den Text T geben\n"
          "  mail send       seine Nachricht senden (in die gesendeten Elemente) und das\n"
          "                  Fenster schließen\n"
          "  mail close      das Fenster schließen, ohne zu senden\n"},
    Entry{HostText::ComboOf, "#0 of", "#0 von"},
    Entry{HostText::PrintCopiesLine, "copies #0, collate #1, range #2",
          "Exemplare #0, sortiert #1, Bereich #2"},
    Entry{HostText::PrintPageLine,
          "orientation #0, paper #1 (#2 x #3), source #4, colour #5, quality #6, scale #7",
          "Ausrichtung #0, Papier #1 (#2 x #3), Schacht #4, Farbe #5, Qualität #6, "
          "Skalierung #7"},
    Entry{HostText::WordOn, "on", "an"},
    Entry{HostText::WordOff, "off", "aus"},
    Entry{HostText::RangeAll, "all", "alle"},
    Entry{HostText::RangeSelection, "selection", "auswahl"},
    Entry{HostText::RangePages, "pages", "seiten"},
    Entry{HostText::WordPortrait, "portrait", "hochformat"},
    Entry{HostText::WordLandscape, "landscape", "querformat"},
    Entry{HostText::WordMono, "mono", "einfarbig"},
    Entry{HostText::WordColour, "colour", "farbig"},
    Entry{HostText::PopupTitle, "menu #0", "Menü #0"},
    Entry{HostText::AddInNotLoaded, "the report add-in library could not be loaded:#0",
          "die Bibliothek des Berichts-Add-ins konnte nicht geladen werden:#0"},
    Entry{HostText::CommandTakes, "#0 takes this form: #1; for example: #2",
          "#0 hat diese Form: #1; zum Beispiel: #2"},
    Entry{HostText::NothingFound, "Nothing found for \"#0\"; row #1 stays the current row.",
          "Für \"#0\" wurde nichts gefunden; Zeile #1 bleibt die aktuelle Zeile."},
    Entry{HostText::EndedViewNotKept,
          "The input ended: the program ends as quit does; the view's changes since the "
          "window opened were not kept (say exit before the end to keep them).",
          "Die Eingabe ist zu Ende: das Programm endet wie mit quit; die Änderungen der "
          "Ansicht seit dem Öffnen des Fensters wurden nicht behalten (exit vor dem Ende "
          "behält sie)."},
    Entry{HostText::ReasonNoRows,
          "the report holds no rows (pick folders with select, or another template)",
          "der Bericht hat keine Zeilen (wählen Sie Ordner mit select oder eine andere "
          "Vorlage)"},
    Entry{HostText::ReasonNotSaved, "no report file was saved yet (saveas saves one)",
          "noch keine Berichtsdatei wurde gespeichert (saveas speichert eine)"},
    Entry{HostText::ReasonDisabled, "the window has switched it off for now",
          "das Fenster hat ihn zurzeit abgeschaltet"},
    Entry{HostText::QuoteNotClosed,
          "a quote is not closed: #0",
          "ein Anführungszeichen ist nicht geschlossen: #0"},
    Entry{HostText::WordMissing, "missing #0", "es fehlt #0"},
    Entry{HostText::NotANumber,
          "#0 must be a number, not \"#1\"",
          "#0 muss eine Zahl sein, nicht \"#1\""},
    Entry{HostText::NoControl,
          "there is no control \"#0\" on #1",
          "auf #1 gibt es kein Steuerelement \"#0\""},
    Entry{HostText::WrongControlKind, "#0 is a #1, not #2", "#0 ist ein #1, gebraucht wird #2"},
    Entry{HostText::ControlDisabled, "#0 is disabled", "#0 ist gesperrt"},
    Entry{HostText::NoEntry,
          "there is no entry \"#0\"; the entries are: #1",
          "es gibt keinen Eintrag \"#0\"; die Einträge sind: #1"},
    Entry{HostText::NoDate, "\"#0\" is no date", "\"#0\" ist kein Datum"},
    Entry{HostText::KeysAre,
          "the keys are Enter, Escape and F1",
          "die Tasten sind Enter, Escape und F1"},
    Entry{HostText::NoRowReads, "no shown row reads \"#0\"", "keine gezeigte Zeile lautet \"#0\""},
    Entry{HostText::RowNotShown, "row #0 is not shown", "die Zeile #0 wird nicht gezeigt"},
    Entry{HostText::NoRowsGiven, "no rows given", "keine Zeilen angegeben"},
    Entry{HostText::ColumnNotShown, "column #0 is not shown", "die Spalte #0 wird nicht gezeigt"},
    Entry{HostText::SayDrag, "say: drag GRID ROWS to GRID ROW", "so: drag GRID ROWS to GRID ROW"},
    Entry{HostText::RowOutside, "row #0 is outside #1", "die Zeile #0 liegt außerhalb von #1"},
    Entry{HostText::SayPicture, "say: picture NAME FILE.png", "so: picture NAME FILE.png"},
    Entry{HostText::NoPictureBox,
          "there is no picture box \"#0\" on #1",
          "auf #1 gibt es kein Bildfeld \"#0\""},
    Entry{HostText::ColumnHasNoList, "column #0 has no list", "die Spalte #0 hat keine Liste"},
    Entry{HostText::NoCommand,
          "there is no command \"#0\" (help lists them)",
          "es gibt keinen Befehl \"#0\" (help listet sie)"},
    Entry{HostText::WhatCommand, "a command", "ein Befehl"},
    Entry{HostText::WhatControlName, "a control name", "ein Steuerelementname"},
    Entry{HostText::WhatCheckBox, "a check box", "ein Kontrollkästchen"},
    Entry{HostText::WhatKey, "a key", "eine Taste"},
    Entry{HostText::WhatTextBoxName, "a text box name", "der Name eines Textfelds"},
    Entry{HostText::WhatGridName, "a grid name", "ein Rastername"},
    Entry{HostText::WhatRow, "a row", "eine Zeile"},
    Entry{HostText::WhatColumn, "a column", "eine Spalte"},
    Entry{HostText::WhatEntryNumber, "an entry number", "eine Eintragsnummer"},
    Entry{HostText::WhatDragSource, "the grid to drag from", "das Raster, aus dem gezogen wird"},
    Entry{HostText::WhatDragRows, "the rows to drag", "die zu ziehenden Zeilen"},
    Entry{HostText::WhatTo, "\"to\"", "\"to\""},
    Entry{HostText::WhatDropGrid, "the grid to drop on", "das Raster, auf das abgelegt wird"},
    Entry{HostText::WhatDropRow, "the row to drop at", "die Zeile, an der abgelegt wird"},
    Entry{HostText::WhatPictureName,
          "a picture box or the form's name",
          "ein Bildfeld oder der Name des Formulars"},
    Entry{HostText::WhatTextBox, "a text box", "ein Textfeld"},
    Entry{HostText::WhatDatePicker, "a date picker", "eine Datumsauswahl"},
    Entry{HostText::WhatComboBox, "a combo box", "ein Kombinationsfeld"},
    Entry{HostText::WhatOptionOrCombo,
          "an option button or a combo box",
          "ein Optionsfeld oder ein Kombinationsfeld"},
    Entry{HostText::WhatLabel, "a label", "eine Beschriftung"},
    Entry{HostText::WhatImage, "an image", "ein Bild"},
    Entry{HostText::WhatOptionButton, "an option button", "ein Optionsfeld"},
    Entry{HostText::WhatButton, "a button", "eine Schaltfläche"},
    Entry{HostText::DoneSet, "#0 set", "#0 gesetzt"},
    Entry{HostText::DoneLineAdded, "#0: line added", "#0: Zeile angefügt"},
    Entry{HostText::DoneTicked, "#0 ticked", "#0 angehakt"},
    Entry{HostText::DoneCleared, "#0 cleared", "#0 geleert"},
    Entry{HostText::DoneChosen, "#0 chosen", "#0 gewählt"},
    Entry{HostText::DoneClicked, "#0 clicked", "#0 geklickt"},
    Entry{HostText::DonePressed, "#0 pressed", "#0 gedrückt"},
    Entry{HostText::DoneKeyClicked, "#0: #1 clicked", "#0: #1 geklickt"},
    Entry{HostText::DoneClosed, "#0 closed", "#0 geschlossen"},
    Entry{HostText::DoneStaysOpen, "#0 stays open", "#0 bleibt offen"},
    Entry{HostText::DropRefused,
          "#0 does not take the rows there",
          "#0 nimmt die Zeilen dort nicht an"},
    Entry{HostText::DoneDropped, "#0 rows dropped on #1", "#0 Zeilen auf #1 abgelegt"},
    Entry{HostText::DonePictureSaved, "#0 saved as #1", "#0 gespeichert als #1"},
    Entry{HostText::DoneEntryChosen, "#0: entry chosen", "#0: Eintrag gewählt"},
    Entry{HostText::EntryRefused,
          "#0: the form refused the entry",
          "#0: das Formular hat den Eintrag abgelehnt"},
    Entry{HostText::DoneRowsSelected, "#0: rows selected", "#0: Zeilen ausgewählt"},
    Entry{HostText::DoneDoubleClicked,
          "#0: row #1 double-clicked",
          "#0: Zeile #1 doppelt geklickt"},
    Entry{HostText::DoneExpanded, "#0: row #1 expanded", "#0: Zeile #1 aufgeklappt"},
    Entry{HostText::DoneCollapsed, "#0: row #1 collapsed", "#0: Zeile #1 zugeklappt"},
    Entry{HostText::DoneRowTicked, "#0: row ticked or cleared", "#0: Zeile angehakt oder geleert"},
    Entry{HostText::TickKept,
          "#0: the form kept the box as it was",
          "#0: das Formular ließ das Kästchen, wie es war"},
    Entry{HostText::DoneCellEdited, "#0: cell edited", "#0: Zelle bearbeitet"},
    Entry{HostText::EditRefused,
          "#0: the form refused the edit",
          "#0: das Formular hat die Bearbeitung abgelehnt"},
    Entry{HostText::DoneFolderPicked, "folder #0 picked", "Ordner #0 gewählt"},
    Entry{HostText::NoNumber, "\"#0\" is no number", "\"#0\" ist keine Zahl"},
    Entry{HostText::SayOnOff, "say on or off", "sagen Sie an oder aus"},
    Entry{HostText::NoPrinter, "there is no printer \"#0\"", "es gibt keinen Drucker \"#0\""},
    Entry{HostText::RangeIs,
          "the range is all, selection or pages FROM TO",
          "der Bereich ist alle, auswahl oder seiten VON BIS"},
    Entry{HostText::OrientationIs,
          "the orientation is portrait or landscape",
          "die Ausrichtung ist hochformat oder querformat"},
    Entry{HostText::ColourIs, "the colour is mono or colour", "die Farbe ist einfarbig oder farbig"},
    Entry{HostText::NoPrintCommand,
          "there is no print dialog command \"#0\"",
          "der Druckdialog kennt keinen Befehl \"#0\""},
    Entry{HostText::NoFilter, "there is no filter #0", "es gibt keinen Filter #0"},
    Entry{HostText::AnswerFile,
          "answer with file NAME, filter N or cancel",
          "antworten Sie mit file NAME, filter N oder cancel"},
    Entry{HostText::AnswerFolder,
          "answer with folder PATH or cancel",
          "antworten Sie mit folder PFAD oder cancel"},
    Entry{HostText::AnswerButtons,
          "answer with one of the buttons: #0",
          "antworten Sie mit einer der Schaltflächen: #0"},
    Entry{HostText::AnswerPopup,
          "answer with pick KEY (an enabled entry) or dismiss",
          "antworten Sie mit pick KEY (ein freigegebener Eintrag) oder dismiss"},
    Entry{HostText::MessageTitle, "Message", "Meldung"},
    Entry{HostText::NoItemRow,
          "There is no item row #0 (rows #1 to #2).",
          "Es gibt keine Elementzeile #0 (Zeilen #1 bis #2)."},
    Entry{HostText::NoColumn, "There is no column #0.", "Es gibt keine Spalte #0."},
    Entry{HostText::RowLine, "Row #0:", "Zeile #0:"},
    Entry{HostText::NoRowBegins, "No row begins with \"#0\".", "Keine Zeile beginnt mit \"#0\"."},
    Entry{HostText::NoGroupRow, "Row #0 is no group row.", "Die Zeile #0 ist keine Gruppenzeile."},
    Entry{HostText::RowCell, "Row #0, #1: #2", "Zeile #0, #1: #2"},
    Entry{HostText::ContextMenu, "Context menu:", "Kontextmenü:"},
    Entry{HostText::Disabled, " (disabled)", " (gesperrt)"},
    Entry{HostText::TypeEntryKey,
          "Type an entry's key to pick it.",
          "Tippen Sie den Schlüssel eines Eintrags, um ihn zu wählen."},
    Entry{HostText::NoFindBox, "The window has no find box.", "Das Fenster hat kein Suchfeld."},
    Entry{HostText::NoMenuOpened, "No menu opened.", "Kein Menü geöffnet."},
    Entry{HostText::SelectedRows, "Selected rows: #0.", "Ausgewählte Zeilen: #0."},
    Entry{HostText::NoColumnPosition,
          "There is no column position #0.",
          "Es gibt keine Spaltenposition #0."},
    Entry{HostText::ColumnFixed,
          "The column #0 cannot be moved.",
          "Die Spalte #0 kann nicht verschoben werden."},
    Entry{HostText::WidthIsTwips,
          "A width is a number of twips, not #0.",
          "Eine Breite ist eine Zahl von Twips, nicht #0."},
    Entry{HostText::WidthFixed,
          "The column #0 cannot be resized.",
          "Die Breite der Spalte #0 ist fest."},
    Entry{HostText::ColumnWidth,
          "Column #0 is #1 twips wide.",
          "Die Spalte #0 ist #1 Twips breit."},
    Entry{HostText::MenuBarLine, "Menu bar:", "Menüleiste:"},
    Entry{HostText::ToolBarLine, "Tool bar:", "Symbolleiste:"},
    Entry{HostText::MenuNotNow,
          "The menu command \"#0\" is not available now: #1.",
          "Der Menübefehl \"#0\" ist jetzt nicht verfügbar: #1."},
    Entry{HostText::ToolNotNow,
          "The tool bar button \"#0\" is not available now: #1.",
          "Die Symbolleistenschaltfläche \"#0\" ist jetzt nicht verfügbar: #1."},
    Entry{HostText::NoMenuCommand,
          "There is no menu command \"#0\".",
          "Es gibt keinen Menübefehl \"#0\"."},
    Entry{HostText::NoToolbar,
          "This client shows the report button on its ribbon (say report); the add-in's "
          "toolbar exists before version 14 (--client-version 11.0).",
          "Dieser Client zeigt die Berichtsschaltfläche im Menüband (report); die "
          "Symbolleiste des Add-ins gibt es vor Version 14 (--client-version 11.0)."},
    Entry{HostText::GridHelpTitle, "Commands of the report grid:", "Befehle des Berichtsrasters:"},
    Entry{HostText::MailboxTakes,
          "mailbox takes drafts, outbox or sent",
          "mailbox nimmt drafts, outbox oder sent"},
    Entry{HostText::MailCountOne, "#0: 1 mail", "#0: 1 Nachricht"},
    Entry{HostText::MailCountMany, "#0: #1 mails", "#0: #1 Nachrichten"},
    Entry{HostText::WhatGrid, "a grid", "ein Raster"},
    // The help texts of the dialogs' and the report grid's commands: the command words stay,
    // the explanations follow the language.
    Entry{HostText::FormHelp,
          "Form commands (NAME is a control's name as show lists it; an example below each):\n"
          "  set NAME TEXT            type into a text box, a date picker or a combo box;\n"
          "                           quotes keep blanks at the ends\n"
          "                             set txtNew Monthly report     set txtNew \" A \"\n"
          "  line NAME TEXT           type a line break and a further line into a text box\n"
          "                             line txt(0) Second line\n"
          "  tick NAME | check NAME | uncheck NAME   a check box\n"
          "                             check chkAutoExecute(0)\n"
          "  pick NAME [ENTRY|#N]     choose an option button or a combo box entry (by its\n"
          "                           text or its number in the list)\n"
          "                             pick optAutoSave(0)    pick cboFormat #3\n"
          "  click NAME               click a button, a label or an image\n"
          "                             click cmdOK\n"
          "  key enter|escape|f1      press a key\n"
          "                             key escape\n"
          "  close                    close the window with its close box\n"
          "  select GRID ROWS         select rows (3 | 2-5 | 1,4 | the text of a row)\n"
          "                             select fgAll Due Date\n"
          "  tick GRID ROW [COL]      tick or clear a row's check box\n"
          "                             tick fg 2\n"
          "  expand GRID ROW | collapse GRID ROW | dblclick GRID ROW\n"
          "                             expand fg Persönliche Ordner\n"
          "  edit GRID ROW COL TEXT   edit a cell (a row or column text with blanks goes in\n"
          "                           quotes)\n"
          "                             edit fgSelected 0 0 \"Subject line\"\n"
          "  choose GRID ROW COL ENTRY   pick a cell's list entry (a wrong entry lists them)\n"
          "                             choose fg Duration Operation Sum\n"
          "  drag GRID ROWS to GRID ROW  drag rows onto a grid before that row\n"
          "                             drag fgAll 3 to fgSelected 1\n"
          "  picture NAME FILE        save the painting of a picture box (or of the form,\n"
          "                           by its name) as a PNG file\n"
          "                             picture frmAbout about.png\n"
          "  folder STORE/FOLDER/...  in the folder picker: tick that folder and confirm\n"
          "                             folder Persönliche Ordner/Kalender\n"
          "  show | help\n",
          "Formularbefehle (NAME ist der Name eines Steuerelements, wie show ihn listet;\n"
          "darunter je ein Beispiel):\n"
          "  set NAME TEXT            in ein Textfeld, eine Datumsauswahl oder ein\n"
          "                           Kombinationsfeld tippen; Anführungszeichen behalten\n"
          "                           Leerzeichen an den Enden\n"
          "                             set txtNew Monatsbericht     set txtNew \" A \"\n"
          "  line NAME TEXT           einen Zeilenumbruch und eine weitere Zeile in ein\n"
          "                           Textfeld tippen\n"
          "                             line txt(0) Zweite Zeile\n"
          "  tick NAME | check NAME | uncheck NAME   ein Kontrollkästchen\n"
          "                             check chkAutoExecute(0)\n"
          "  pick NAME [ENTRY|#N]     ein Optionsfeld oder einen Eintrag eines\n"
          "                           Kombinationsfelds wählen (nach seinem Text oder\n"
          "                           seiner Nummer in der Liste)\n"
          "                             pick optAutoSave(0)    pick cboFormat #3\n"
          "  click NAME               eine Schaltfläche, eine Beschriftung oder ein Bild\n"
          "                           klicken\n"
          "                             click cmdOK\n"
          "  key enter|escape|f1      eine Taste drücken\n"
          "                             key escape\n"
          "  close                    das Fenster mit seinem Schließfeld schließen\n"
          "  select GRID ROWS         Zeilen auswählen (3 | 2-5 | 1,4 | der Text einer\n"
          "                           Zeile)\n"
          "                             select fgAll Fällig am\n"
          "  tick GRID ROW [COL]      das Kontrollkästchen einer Zeile anhaken oder leeren\n"
          "                             tick fg 2\n"
          "  expand GRID ROW | collapse GRID ROW | dblclick GRID ROW\n"
          "                             expand fg Persönliche Ordner\n"
          "  edit GRID ROW COL TEXT   eine Zelle bearbeiten (ein Zeilen- oder Spaltentext\n"
          "                           mit Leerzeichen steht in Anführungszeichen)\n"
          "                             edit fgSelected 0 0 \"Thema der Nachricht\"\n"
          "  choose GRID ROW COL ENTRY   einen Listeneintrag einer Zelle wählen (ein\n"
          "                           falscher Eintrag listet sie)\n"
          "                             choose fg Dauer Operation Summe\n"
          "  drag GRID ROWS to GRID ROW  Zeilen auf ein Raster vor diese Zeile ziehen\n"
          "                             drag fgAll 3 to fgSelected 1\n"
          "  picture NAME FILE        das Bild eines Bildfelds (oder des Formulars, mit\n"
          "                           seinem Namen) als PNG-Datei speichern\n"
          "                             picture frmAbout about.png\n"
          "  folder STORE/FOLDER/...  in der Ordnerauswahl: diesen Ordner anhaken und\n"
          "                           bestätigen\n"
          "                             folder Persönliche Ordner/Kalender\n"
          "  show | help\n"},
    Entry{HostText::GridHelp,
          "  find TEXT       search the grid's shown columns for TEXT (below the current\n"
          "                  row first, then from the top); says the row it found\n"
          "                    find Jour fixe\n"
          "  row R           make grid row R current (rows count from 0, the header is 0)\n"
          "                    row 5\n"
          "  whole R [COL]   show row R, or its cell in column COL, whole (the table cuts\n"
          "                  long cells with ...); R a number or the start of the row's\n"
          "                  text\n"
          "                    whole 5      whole 5 Subject\n"
          "  collapse R | expand R   close or open one group: R the group row's number or\n"
          "                  the start of its caption (collapse | expand alone: all groups)\n"
          "                    collapse Categories: Privat\n"
          "  open [R]        open the item of row R (double click), else of the selected\n"
          "                  rows (Enter)\n"
          "                    open 5\n"
          "  menu R          right-click row R: shows the context menu; type a key to pick\n"
          "                    menu 5\n"
          "  selectall       select every item row (Ctrl+A)\n"
          "  move COL POS    drag column COL (number or header text) to position POS\n"
          "                    move Location 1\n"
          "  width COL TWIPS resize column COL to TWIPS (1440 twips are an inch)\n"
          "                    width Subject 3000\n",
          "  find TEXT       die gezeigten Spalten des Rasters nach TEXT durchsuchen (erst\n"
          "                  unter der aktuellen Zeile, dann von oben); nennt die\n"
          "                  gefundene Zeile\n"
          "                    find Jour fixe\n"
          "  row R           die Rasterzeile R zur aktuellen machen (Zeilen zählen ab 0,\n"
          "                  die Kopfzeile ist 0)\n"
          "                    row 5\n"
          "  whole R [COL]   die Zeile R, oder ihre Zelle in der Spalte COL, ganz zeigen\n"
          "                  (die Tabelle kürzt lange Zellen mit ...); R eine Nummer oder\n"
          "                  der Anfang des Zeilentexts\n"
          "                    whole 5      whole 5 Betreff\n"
          "  collapse R | expand R   eine Gruppe zu- oder aufklappen: R die Nummer der\n"
          "                  Gruppenzeile oder der Anfang ihrer Beschriftung (collapse |\n"
          "                  expand allein: alle Gruppen)\n"
          "                    collapse Kategorien: Privat\n"
          "  open [R]        das Element der Zeile R öffnen (Doppelklick), sonst das der\n"
          "                  ausgewählten Zeilen (Enter)\n"
          "                    open 5\n"
          "  menu R          Rechtsklick auf die Zeile R: zeigt das Kontextmenü; tippen\n"
          "                  Sie einen Schlüssel, um zu wählen\n"
          "                    menu 5\n"
          "  selectall       jede Elementzeile auswählen (Strg+A)\n"
          "  move COL POS    die Spalte COL (Nummer oder Kopftext) an die Position POS\n"
          "                  ziehen\n"
          "                    move Ort 1\n"
          "  width COL TWIPS die Spalte COL auf TWIPS verbreitern (1440 Twips sind ein\n"
          "                  Zoll)\n"
          "                    width Betreff 3000\n"},
    Entry{HostText::MailboxHelp,
          "  mailbox drafts|outbox|sent   list the mails of that folder\n"
          "                    mailbox sent\n",
          "  mailbox drafts|outbox|sent   die Nachrichten dieses Ordners listen\n"
          "                    mailbox sent\n"},
    Entry{HostText::DateUnchecked, " (unchecked)", " (nicht angehakt)"},
    Entry{HostText::ProgressOf, "#0 of #1", "#0 von #1"},
    Entry{HostText::GridRowCount, "#0 rows", "#0 Zeilen"},
    Entry{HostText::AnswerFolderDialog, "answer: folder PATH | cancel", "Antwort: folder PFAD | cancel"},
    Entry{HostText::DialogPrinters, "printers:", "Drucker:"},
    Entry{HostText::AnswerPrintDialog,
          "answer: printer NAME | copies N | collate on|off | range all|selection|pages F T | "
          "orientation portrait|landscape | paper N | width N | length N | source N | "
          "colour mono|colour | quality N | scale N | ok | cancel",
          "Antwort: printer NAME | copies N | collate an|aus | range alle|auswahl|seiten V B | "
          "orientation hochformat|querformat | paper N | width N | length N | source N | "
          "colour einfarbig|farbig | quality N | scale N | ok | cancel"},
    Entry{HostText::AnswerMenu, "answer: pick KEY | dismiss", "Antwort: pick KEY | dismiss"},
    Entry{HostText::MailSent, "  (sent)", "  (gesendet)"},
    Entry{HostText::MailTo, "to: #0", "an: #0"},
    Entry{HostText::MailAttachment, "attachment: #0 (#1 bytes)", "Anlage: #0 (#1 Bytes)"},
    Entry{HostText::MailboxDrafts, "Drafts", "Entwürfe"},
    Entry{HostText::MailboxOutbox, "Outbox", "Postausgang"},
    Entry{HostText::MailboxSent, "Sent Items", "Gesendete Elemente"},
    Entry{HostText::DefinitionsShutWindow,
          "The report window cannot open, because the report templates in #0 cannot be read "
          "(the message above says why and what to do).",
          "Das Berichtsfenster kann sich nicht öffnen, weil die Berichtvorlagen in #0 nicht "
          "gelesen werden können (die Meldung oben nennt den Grund und die Abhilfe)."},
    Entry{HostText::FoldersUnread,
          "Not every folder of the report could be read: the report shows the folders that "
          "were read and, of each folder below, what its line says. Not read (#0):",
          "Nicht jeder Ordner des Berichts konnte gelesen werden: Der Bericht zeigt die "
          "gelesenen Ordner und von den folgenden Ordnern jeweils die dort genannten Zeilen. "
          "Nicht gelesen (#0):"},
    Entry{HostText::FolderPath, "\"#0\"", "\"#0\""},
    Entry{HostText::FolderInStoreFile, "\"#0\" (store file #1)", "\"#0\" (Speicherdatei #1)"},
    Entry{HostText::FoldersUnreadDetails, "The error log #0 holds the details.",
          "Einzelheiten stehen im Fehlerprotokoll #0."},
    Entry{HostText::UnreadDamaged, "its store file is damaged; restore it from a backup (#0)",
          "seine Speicherdatei ist beschädigt; stellen Sie sie aus einer Sicherung wieder her "
          "(#0)"},
    Entry{HostText::UnreadInUse, "its store is in use by another program; try again later (#0)",
          "sein Speicher wird von einem anderen Programm benutzt; versuchen Sie es später "
          "erneut (#0)"},
    Entry{HostText::UnreadNotOpened, "its store file cannot be opened (#0)",
          "seine Speicherdatei kann nicht geöffnet werden (#0)"},
    Entry{HostText::UnreadDiskError, "the disk could not be read (#0)",
          "der Datenträger konnte nicht gelesen werden (#0)"},
    Entry{HostText::UnreadOther, "reading it failed (#0)", "das Lesen ist fehlgeschlagen (#0)"},
    Entry{HostText::UnreadNoRowsShown, "the report shows none of its rows",
          "der Bericht zeigt keine seiner Zeilen"},
    Entry{HostText::UnreadRowsShown, "the report shows #0 of its rows, read before the failure",
          "der Bericht zeigt #0 seiner Zeilen, vor dem Fehler gelesen"},
    Entry{HostText::NotSaved, "The report was not saved.", "Der Bericht wurde nicht gespeichert."},
    Entry{HostText::NotPrinted, "\"#0\" was NOT printed on #1: #2",
          "\"#0\" wurde NICHT auf #1 gedruckt: #2"},
    Entry{HostText::WaitingForPrints,
          "Waiting until what was sent to the printer has reached it (Ctrl+C again cuts it "
          "off).",
          "Warte, bis das an den Drucker Gegebene dort angekommen ist (ein weiteres Strg+C "
          "bricht ab)."},
    Entry{HostText::EndedBySignal, "ended by #0", "durch #0 beendet"},
    Entry{HostText::FoldersPutBack,
          "The template \"#0\" has its own folders again: the run before, which read other "
          "folders with --folder, ended before it could put them back.",
          "Die Vorlage \"#0\" hat wieder ihre eigenen Ordner: Der Lauf davor, der mit --folder "
          "andere Ordner las, endete, bevor er sie zurücksetzen konnte."},
    Entry{HostText::FoldersNotPutBack,
          "The template \"#0\" could not get its own folders back (#1); the next start tries "
          "again.",
          "Die Vorlage \"#0\" konnte ihre eigenen Ordner nicht zurückbekommen (#1); der "
          "nächste Start versucht es erneut."},
    Entry{HostText::FoldersNotNoted,
          "--folder was not applied: the template's own folders cannot be noted in #0 (#1), "
          "so they could not be put back after the run",
          "--folder wurde nicht angewandt: Die eigenen Ordner der Vorlage können nicht in #0 "
          "vermerkt werden (#1), also könnten sie nach dem Lauf nicht zurückgesetzt werden"},
    Entry{HostText::EndCutShort, "the end was cut short by #0", "das Ende wurde durch #0 abgebrochen"},
    Entry{HostText::PrintCutOff, "the end by #0 cut it off", "das Ende durch #0 hat ihn abgebrochen"},
    Entry{HostText::FoldersOfOtherRun,
          "--folder was not applied: another run of the host on these settings (#0) reads other "
          "folders for a template until it ends",
          "--folder wurde nicht angewandt: Ein anderer Lauf des Hosts mit diesen Einstellungen "
          "(#0) liest bis zu seinem Ende andere Ordner für eine Vorlage"},
    Entry{HostText::TemplateGone, "there is no template of that name any more",
          "es gibt keine Vorlage dieses Namens mehr"},
    Entry{HostText::ExportNoBaseName,
          "--export wants a file name before the extension: #0 is the extension alone (a hidden "
          "file with no name), for example report#1",
          "--export braucht einen Dateinamen vor der Endung: #0 ist nur die Endung (eine "
          "versteckte Datei ohne Namen), zum Beispiel Bericht#1"},
    Entry{HostText::LineTooLong,
          "The line is longer than #0 bytes and was not taken. Give it again shorter.",
          "Die Zeile ist länger als #0 Bytes und wurde nicht übernommen. Geben Sie sie kürzer "
          "erneut ein."},
    Entry{HostText::InputUnreadable, "the input could not be read any further",
          "die Eingabe konnte nicht weiter gelesen werden"},
    Entry{HostText::OutputNotWritten,
          "what the run printed could not all be written to the standard output (a full disk, "
          "a closed pipe or terminal)",
          "die Ausgabe des Laufs konnte nicht ganz auf die Standardausgabe geschrieben werden "
          "(ein voller Datenträger, eine geschlossene Pipe oder ein geschlossenes Terminal)"},
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

std::size_t HostTextCount()
{
    return kTexts.size();
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
