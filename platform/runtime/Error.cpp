#include "platform/runtime/Error.h"

#include "platform/locale/Locale.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace platform::runtime {

namespace {

struct ErrorEntry
{
    std::int32_t number;
    std::string_view text;
    std::string_view german;
};

// The runtime's own error texts, in English and German, sorted by number.
constexpr std::array kErrorTexts{
    ErrorEntry{3, "Return without GoSub", "Return ohne GoSub"},
    ErrorEntry{5, "Invalid procedure call or argument",
               "Unzulässiger Prozeduraufruf oder unzulässiges Argument"},
    ErrorEntry{6, "Overflow", "Überlauf"},
    ErrorEntry{7, "Out of memory", "Nicht genügend Speicher"},
    ErrorEntry{9, "Subscript out of range", "Index außerhalb des gültigen Bereichs"},
    ErrorEntry{10, "This array is fixed or temporarily locked",
               "Datenfeld ist unveränderlich oder momentan gesperrt"},
    ErrorEntry{11, "Division by zero", "Division durch Null"},
    ErrorEntry{13, "Type mismatch", "Typen unverträglich"},
    ErrorEntry{14, "Out of string space", "Nicht genügend Zeichenfolgenspeicher"},
    ErrorEntry{16, "Expression too complex", "Ausdruck zu komplex"},
    ErrorEntry{17, "Can't perform requested operation",
               "Angeforderte Operation kann nicht ausgeführt werden"},
    ErrorEntry{18, "User interrupt occurred", "Unterbrechung durch Benutzer"},
    ErrorEntry{20, "Resume without error", "Resume ohne Fehler"},
    ErrorEntry{28, "Out of stack space", "Nicht genügend Stapelspeicher"},
    ErrorEntry{35, "Sub or Function not defined", "Sub oder Function nicht definiert"},
    ErrorEntry{48, "Error in loading DLL", "Fehler beim Laden der DLL"},
    ErrorEntry{49, "Bad DLL calling convention", "Falsche Aufrufkonvention für DLL"},
    ErrorEntry{51, "Internal error", "Interner Fehler"},
    ErrorEntry{52, "Bad file name or number", "Dateiname oder -nummer falsch"},
    ErrorEntry{53, "File not found", "Datei nicht gefunden"},
    ErrorEntry{54, "Bad file mode", "Dateimodus falsch"},
    ErrorEntry{55, "File already open", "Datei bereits geöffnet"},
    ErrorEntry{57, "Device I/O error", "Fehler beim Lesen oder Schreiben des Geräts"},
    ErrorEntry{58, "File already exists", "Datei existiert bereits"},
    ErrorEntry{59, "Bad record length", "Falsche Datensatzlänge"},
    ErrorEntry{61, "Disk full", "Datenträger voll"},
    ErrorEntry{62, "Input past end of file", "Einlesen hinter Dateiende"},
    ErrorEntry{63, "Bad record number", "Falsche Datensatznummer"},
    ErrorEntry{67, "Too many files", "Zu viele Dateien"},
    ErrorEntry{68, "Device unavailable", "Gerät nicht verfügbar"},
    ErrorEntry{70, "Permission denied", "Zugriff verweigert"},
    ErrorEntry{71, "Disk not ready", "Datenträger nicht bereit"},
    ErrorEntry{74, "Can't rename with different drive",
               "Umbenennen auf ein anderes Laufwerk nicht möglich"},
    ErrorEntry{75, "Path/File access error", "Fehler beim Zugriff auf Pfad oder Datei"},
    ErrorEntry{76, "Path not found", "Pfad nicht gefunden"},
    ErrorEntry{91, "Object variable or With block variable not set",
               "Objektvariable oder With-Blockvariable nicht festgelegt"},
    ErrorEntry{92, "For loop not initialized", "For-Schleife nicht initialisiert"},
    ErrorEntry{93, "Invalid pattern string", "Ungültige Musterzeichenfolge"},
    ErrorEntry{94, "Invalid use of Null", "Unzulässige Verwendung von Null"},
    ErrorEntry{321, "Invalid file format", "Ungültiges Dateiformat"},
    ErrorEntry{322, "Can't create necessary temporary file",
               "Erforderliche temporäre Datei kann nicht angelegt werden"},
    ErrorEntry{335, "Could not access system registry", "Kein Zugriff auf die Systemregistrierung"},
    ErrorEntry{336, "Component not correctly registered", "Komponente nicht korrekt registriert"},
    ErrorEntry{337, "Component not found", "Komponente nicht gefunden"},
    ErrorEntry{360, "Object already loaded", "Objekt bereits geladen"},
    ErrorEntry{361, "Can't load or unload this object",
               "Dieses Objekt kann nicht geladen oder entladen werden"},
    ErrorEntry{364, "Object was unloaded", "Objekt wurde entladen"},
    ErrorEntry{365, "Unable to unload within this context",
               "In diesem Zusammenhang kann nicht entladen werden"},
    ErrorEntry{380, "Invalid property value", "Unzulässiger Eigenschaftswert"},
    ErrorEntry{381, "Invalid property-array index", "Unzulässiger Index des Eigenschaftenfelds"},
    ErrorEntry{383, "Property Set can't be used with a read-only property",
               "Property Set kann bei einer schreibgeschützten Eigenschaft nicht verwendet werden"},
    ErrorEntry{387, "Property Set not permitted", "Property Set nicht erlaubt"},
    ErrorEntry{394, "Property Get can't be executed on write-only property",
               "Property Get kann bei einer nur schreibbaren Eigenschaft nicht ausgeführt werden"},
    ErrorEntry{400, "Form already displayed; can't show modally",
               "Formular wird bereits angezeigt; modale Anzeige nicht möglich"},
    ErrorEntry{402, "Code must close topmost modal form first",
               "Erst muss das oberste modale Formular geschlossen werden"},
    ErrorEntry{422, "Property not found", "Eigenschaft nicht gefunden"},
    ErrorEntry{423, "Property or method not found", "Eigenschaft oder Methode nicht gefunden"},
    ErrorEntry{424, "Object required", "Objekt erforderlich"},
    ErrorEntry{425, "Invalid object use", "Unzulässige Verwendung eines Objekts"},
    ErrorEntry{429, "ActiveX component can't create object",
               "Objekterstellung durch die Komponente nicht möglich"},
    ErrorEntry{430, "Class does not support Automation or does not support expected interface",
               "Klasse unterstützt keine Automatisierung oder nicht die erwartete Schnittstelle"},
    ErrorEntry{438, "Object doesn't support this property or method",
               "Objekt unterstützt diese Eigenschaft oder Methode nicht"},
    ErrorEntry{440, "Automation error", "Automatisierungsfehler"},
    ErrorEntry{445, "Object doesn't support this action", "Objekt unterstützt diese Aktion nicht"},
    ErrorEntry{446, "Object doesn't support named arguments",
               "Objekt unterstützt keine benannten Argumente"},
    ErrorEntry{448, "Named argument not found", "Benanntes Argument nicht gefunden"},
    ErrorEntry{449, "Argument not optional", "Argument ist nicht optional"},
    ErrorEntry{450, "Wrong number of arguments or invalid property assignment",
               "Falsche Anzahl an Argumenten oder ungültige Eigenschaftszuweisung"},
    ErrorEntry{457, "This key is already associated with an element of this collection",
               "Dieser Schlüssel ist bereits einem Element dieser Auflistung zugeordnet"},
    ErrorEntry{461, "Method or data member not found", "Methode oder Datenobjekt nicht gefunden"},
    ErrorEntry{462, "The remote server machine does not exist or is unavailable",
               "Der Remote-Server existiert nicht oder ist nicht verfügbar"},
    ErrorEntry{463, "Class not registered on local machine",
               "Klasse auf dem lokalen Rechner nicht registriert"},
    ErrorEntry{481, "Invalid picture", "Ungültiges Bild"},
    ErrorEntry{482, "Printer error", "Druckerfehler"},
    ErrorEntry{483, "Printer driver does not support specified property",
               "Der Druckertreiber unterstützt die angegebene Eigenschaft nicht"},
    ErrorEntry{484,
               "Problem getting printer information from the system. Make sure the printer "
               "is set up correctly",
               "Die Druckerinformationen konnten nicht vom System gelesen werden. Prüfen Sie, ob "
               "der Drucker richtig eingerichtet ist"},
    ErrorEntry{520, "Can't empty Clipboard", "Zwischenablage kann nicht geleert werden"},
    ErrorEntry{521, "Can't open Clipboard", "Zwischenablage kann nicht geöffnet werden"},
    ErrorEntry{735, "Can't save file to TEMP", "Datei kann nicht in TEMP gespeichert werden"},
    ErrorEntry{744, "Search text not found", "Suchtext nicht gefunden"},
};

static_assert(std::is_sorted(kErrorTexts.begin(), kErrorTexts.end(),
                             [](const ErrorEntry& a, const ErrorEntry& b) {
                                 return a.number < b.number;
                             }),
              "the error table is searched by halving and must stay sorted");

constexpr std::string_view kApplicationDefined = "Application-defined or object-defined error";
constexpr std::string_view kApplicationDefinedGerman = "Anwendungs- oder objektdefinierter Fehler";

// A German system's runtime speaks German.
bool German()
{
    return platform::locale::Current().languageCode == "de";
}

const ErrorEntry* Find(std::int32_t number)
{
    auto it = std::lower_bound(kErrorTexts.begin(), kErrorTexts.end(), number,
                               [](const ErrorEntry& e, std::int32_t n) { return e.number < n; });
    if (it == kErrorTexts.end() || it->number != number) {
        return nullptr;
    }
    return &*it;
}

} // namespace

std::string_view ErrorText(std::int32_t number)
{
    const ErrorEntry* entry = Find(number);
    if (German())
        return entry ? entry->german : kApplicationDefinedGerman;
    return entry ? entry->text : kApplicationDefined;
}

bool HasErrorText(std::int32_t number)
{
    return Find(number) != nullptr;
}

Error::Error(std::int32_t number, std::string source, std::string description, std::string helpFile,
             std::int32_t helpContext)
    : number_(number), source_(std::move(source)), description_(std::move(description)),
      helpFile_(std::move(helpFile)), helpContext_(helpContext), lastDllError_(errno)
{
    if (description_.empty()) {
        description_ = std::string(ErrorText(number_));
    }
}

void Raise(std::int32_t number, std::string source, std::string description, std::string helpFile,
           std::int32_t helpContext)
{
    if (number == 0) {
        throw Error(errors::InvalidProcedureCall, std::move(source));
    }
    throw Error(number, std::move(source), std::move(description), std::move(helpFile),
                helpContext);
}

} // namespace platform::runtime
