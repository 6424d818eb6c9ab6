#include "dialogs/detail/ActionTexts.h"

namespace dialogs::detail {

const OwnTexts& ActionTexts()
{
    static const OwnTexts aTexts = {
        {2221, {"Datei speichern", "Save file"}},
        {2222, {" Aktionen festlegen", " Determine actions"}},
        {2223, {"&Diese Aktion automatisch ausführen", "&Execute this action automatically"}},
        {2224, {"&Bericht sofort speichern", "&Save report immediately"}},
        {2225, {"Dialog an&zeigen", "&Display dialog"}},
        {2226, {"S&peichern in…", "S&ave as…"}},
        {2227, {"Datei&format:", "&File format:"}},
        {2228, {"Datei&name:", "File &name:"}},
        {2229, {"Pla&tzhalter:", "&Placeholder:"}},
        {2230, {"&Wenn die Datei schon existiert:", "If the file already e&xists:"}},
        {2231, {"&Vorlage…", "&Template..."}},
        {2232, {"Excel", "Excel"}},
        {2233, {"Erste Zelle (z.B. A&1):", "First cell (e.g. A&1):"}},
        {2234, {"&Spaltenbezeichnungen drucken", "P&rint column headers"}},
        {2235, {"Su&mmenzeilen drucken", "Print s&ubtotals"}},
        {2236, {"Weitere Aktionen", "Extended actions"}},
        {2237,
         {"Was möchten Sie mit der gespeicherten Berichtdatei machen?",
          "What do you want to do with the saved report file?"}},
        {2238, {"Mit einer bestimmten Anwendung öffnen…", "Open with a specific application…"}},
        {2239, {"Als Anlage an eine EMail anhängen...", "Attach to an e-mail…"}},
        {2240, {"EMail sofo&rt senden", "Send email i&mmediately"}},
        {2241, {"EMail anzei&gen", "&Display email"}},
        {2242, {"EMail-Vorlage…", "EMail &template…"}},
        {2243, {"O&utlookordner", "Outlook folder"}},
        {2244, {"Dateis&ystem", "File system"}},
        {2245, {"An einen Drucker senden..", "Send to printer…"}},
        {2246, {"Dru&cker...", "Pr&inter..."}},
        {2247, {"Datei abschlie&ßend löschen", "Eventually delete file"}},
        {2248,
         {"Nachdem alle automatischen Aktionen durchgeführt wurden, wird die Berichtdatei "
          "wieder gelöscht.",
          "After all of the automatic actions have been executed the report file will be "
          "deleted."}},
        {2249, {"Sofort drucken", "Print immediately"}},
        {2250, {"(Keine Angabe)", "(None)"}},
        {2251, {"&OK", "&OK"}},
        {2252, {"Abbrechen", "Cancel"}},
        {2253, {"Alles &löschen", "&Clear all"}},
        {2254, {"Bericht&name:", "Report &name:"}},
        {2255, {"Kopf-/ Fu&ßzeile...", "&Header/Footer..."}},
        {2256, {"Nur Su&mmenzeilen exportieren", "Export s&ubtotals only"}},
    };
    return aTexts;
}

} // namespace dialogs::detail
