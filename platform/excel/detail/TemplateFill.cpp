// Filling a template workbook by editing a copy of its package: the values go into the sheet
// XML as they are (texts as inline strings), and every style, width and other part of the
// template stays untouched.
#include "platform/excel/detail/Address.h"
#include "platform/excel/detail/HeaderFooter.h"
#include "platform/excel/detail/Package.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/Relationships.h"
#include "platform/excel/detail/Writers.h"
#include "platform/excel/detail/Xstring.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::excel::detail {
namespace {

// Children of a worksheet that follow "headerFooter", in the schema's order.
constexpr const char* kAfterHeaderFooter[] = {
    "rowBreaks",       "colBreaks",       "customProperties", "cellWatches",
    "ignoredErrors",   "smartTags",       "drawing",          "legacyDrawing",
    "legacyDrawingHF", "drawingHF",       "picture",          "oleObjects",
    "controls",        "webPublishItems", "tableParts",       "extLst"};

std::string WorkbookPart(const Package& package)
{
    const pugi::xml_document rels = LoadRequired(package, "_rels/.rels");
    for (pugi::xml_node rel : rels.child("Relationships").children("Relationship")) {
        const std::string type = rel.attribute("Type").value();
        if (type.ends_with("/officeDocument")) {
            return ResolveTarget("", rel.attribute("Target").value());
        }
    }
    Raise(kMethodFailed, Say("the workbook package names no workbook part",
                             "Das Arbeitsmappenpaket nennt keinen Arbeitsmappenteil"));
}

std::string RelationshipId(pugi::xml_node sheet)
{
    for (pugi::xml_attribute attr : sheet.attributes()) {
        if (std::string_view(attr.name()).ends_with(":id")) {
            return attr.value();
        }
    }
    return {};
}

std::string FormatNumber(double value)
{
    if (!std::isfinite(value)) {
        Raise(kMethodFailed,
              Say("a cell value is not a finite number", "Ein Zellwert ist keine endliche Zahl"));
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Positions of rows and cells, explicit ("r") or implied by their order; CheckSheetData has
// made sure that each explicit one is read as every reader reads it.
std::map<long, pugi::xml_node> IndexRows(pugi::xml_node sheetData)
{
    std::map<long, pugi::xml_node> rows;
    long next = 1;
    for (pugi::xml_node row : sheetData.children("row")) {
        const long r = row.attribute("r").as_int(static_cast<int>(next));
        rows[r] = row;
        next = r + 1;
    }
    return rows;
}

std::map<long, pugi::xml_node> IndexCells(pugi::xml_node row)
{
    std::map<long, pugi::xml_node> cells;
    long next = 1;
    for (pugi::xml_node c : row.children("c")) {
        long column = next;
        if (const auto area = ParseAddress(c.attribute("r").value())) {
            column = area->firstColumn;
        }
        cells[column] = c;
        next = column + 1;
    }
    return cells;
}

[[noreturn]] void RefuseReference(const std::string& sheetName, const std::string& what,
                                  const std::string& reference)
{
    Raise(kMethodFailed, Say("the template's worksheet \"", "Das Arbeitsblatt \"") + sheetName +
                             Say("\" holds the ", "\" der Vorlage enthält ") + what + " \"" +
                             reference +
                             Say("\", which cannot be read as a place on the sheet",
                                 "\", der sich nicht als Platz auf dem Blatt lesen lässt"));
}

// The fill places the report's values by the positions of the template's rows and cells. A
// reference the fill would read otherwise than other readers ("$A$1", "a1", a column or row
// beyond the sheet, a cell of another row, one out of order) would leave the report where
// they do not look, and a second "sheetData" hides the first from some of them: such a
// sheet is refused.
void CheckSheetData(pugi::xml_node worksheet, const std::string& sheetName)
{
    pugi::xml_node sheetData = worksheet.child("sheetData");
    if (sheetData.next_sibling("sheetData")) {
        Raise(kMethodFailed, Say("the template's worksheet \"", "Das Arbeitsblatt \"") + sheetName +
                                 Say("\" holds its cell data more than once",
                                     "\" der Vorlage enthält seine Zelldaten mehr als einmal"));
    }
    long lastRow = 0;
    for (pugi::xml_node row : sheetData.children("row")) {
        long number = lastRow + 1;
        if (const pugi::xml_attribute r = row.attribute("r")) {
            number = r.as_int(0);
            if (std::to_string(number) != r.value() || number <= lastRow || number > kMaxRows) {
                RefuseReference(sheetName, Say("row number", "Zeilennummer"), r.value());
            }
        }
        lastRow = number;
        long lastColumn = 0;
        for (pugi::xml_node c : row.children("c")) {
            long column = lastColumn + 1;
            if (const pugi::xml_attribute r = c.attribute("r")) {
                const auto area = ParseAddress(r.value());
                if (!area || CellName(area->firstRow, area->firstColumn) != r.value() ||
                    area->firstRow != number || area->firstColumn <= lastColumn) {
                    RefuseReference(sheetName, Say("cell reference", "Zellbezug"), r.value());
                }
                column = area->firstColumn;
            }
            if (column > kMaxColumns) {
                RefuseReference(sheetName, Say("cell reference", "Zellbezug"),
                                CellName(number, column));
            }
            lastColumn = column;
        }
    }
    if (lastRow > kMaxRows) {
        RefuseReference(sheetName, Say("row number", "Zeilennummer"), std::to_string(lastRow));
    }
}

pugi::xml_node InsertOrdered(pugi::xml_node parent, std::map<long, pugi::xml_node>& index, long key,
                             const char* name)
{
    if (auto it = index.find(key); it != index.end()) {
        return it->second;
    }
    const auto next = index.upper_bound(key);
    pugi::xml_node node = next == index.end() ? parent.append_child(name)
                                              : parent.insert_child_before(name, next->second);
    index[key] = node;
    return node;
}

// Appends a date format to the template's cell formats once per kind; gives its index.
class DateStyles
{
public:
    explicit DateStyles(Package& package, const std::string& workbookPart)
        : package_(package), part_(Folder(workbookPart) + "styles.xml")
    {
    }

    long Index(WorkbookDate::Form form)
    {
        auto& slot = form == WorkbookDate::Form::DateTime ? dateTime_
                     : form == WorkbookDate::Form::Time   ? time_
                                                          : date_;
        if (!slot) {
            if (!loaded_) {
                doc_ = LoadRequired(package_, part_);
                loaded_ = true;
            }
            pugi::xml_node xfs = doc_.child("styleSheet").child("cellXfs");
            if (!xfs) {
                Raise(kMethodFailed, Say("the template's styles have no cell formats",
                                         "Den Formatvorlagen der Vorlage fehlen die Zellformate"));
            }
            long count = 0;
            for ([[maybe_unused]] pugi::xml_node xf : xfs.children("xf")) {
                ++count;
            }
            pugi::xml_node xf = xfs.append_child("xf");
            // Built-in number formats: 22 date and time, 21 time of day, 14 date.
            xf.append_attribute("numFmtId") = form == WorkbookDate::Form::DateTime ? 22
                                              : form == WorkbookDate::Form::Time   ? 21
                                                                                   : 14;
            for (const char* a : {"fontId", "fillId", "borderId", "xfId"}) {
                xf.append_attribute(a) = 0;
            }
            xf.append_attribute("applyNumberFormat") = 1;
            xfs.remove_attribute("count");
            xfs.append_attribute("count") = count + 1;
            slot = count;
        }
        return *slot;
    }

    void Store()
    {
        if (loaded_) {
            package_.Write(part_, SavePart(doc_));
        }
    }

private:
    Package& package_;
    std::string part_;
    pugi::xml_document doc_;
    bool loaded_ = false;
    std::optional<long> date_;
    std::optional<long> dateTime_;
    std::optional<long> time_;
};

// A text as an inline string: a lone CR and other control characters, and a literal
// "_xHHHH_", escaped so that a reader gets the text back as it was.
void WriteInlineText(pugi::xml_node c, std::string_view view)
{
    const std::string text(view);
    c.append_attribute("t") = "inlineStr";
    pugi::xml_node t = c.append_child("is").append_child("t");
    t.append_attribute("xml:space") = "preserve";
    t.text().set(NeedsXstringEscape(text) ? EscapeXstring(text).c_str() : text.c_str());
}

void WriteValue(pugi::xml_node c, const Cell& cell, DateStyles& styles)
{
    while (c.first_child()) {
        c.remove_child(c.first_child());
    }
    c.remove_attribute("t");
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return;
    case Cell::Kind::Text:
        WriteInlineText(c, cell.text);
        return;
    case Cell::Kind::Boolean:
        c.append_attribute("t") = "b";
        c.append_child("v").text().set(cell.number != 0 ? "1" : "0");
        return;
    case Cell::Kind::Date: {
        const WorkbookDate date = ToWorkbookDate(cell.number);
        if (date.form == WorkbookDate::Form::Text) {
            WriteInlineText(c, DateText(cell.number));
            return;
        }
        // A date needs a date format to read as one; the template's own format wins.
        const std::string_view s = c.attribute("s").value();
        if (s.empty() || s == "0") {
            c.remove_attribute("s");
            c.append_attribute("s") = styles.Index(date.form);
        }
        c.append_child("v").text().set(FormatNumber(date.serial).c_str());
        return;
    }
    case Cell::Kind::Number:
        c.append_child("v").text().set(FormatNumber(cell.number).c_str());
        return;
    }
}

void FillCells(pugi::xml_node worksheet, const Sheet& sheet, const std::string& sheetName,
               DateStyles& styles)
{
    pugi::xml_node sheetData = worksheet.child("sheetData");
    if (!sheetData) {
        Raise(kMethodFailed, Say("the template's worksheet has no cell data",
                                 "Dem Arbeitsblatt der Vorlage fehlen die Zelldaten"));
    }
    CheckSheetData(worksheet, sheetName);
    std::map<long, pugi::xml_node> rows = IndexRows(sheetData);
    for (long row = 1; row <= sheet.LastRow(); ++row) {
        const auto& cells = sheet.Row(row);
        bool any = false;
        for (const Cell& cell : cells) {
            any = any || cell.written;
        }
        if (!any) {
            continue;
        }
        pugi::xml_node rowNode = InsertOrdered(sheetData, rows, row, "row");
        rowNode.remove_attribute("spans"); // an optional hint that may no longer hold
        if (!rowNode.attribute("r")) {
            rowNode.prepend_attribute("r") = row;
        }
        std::map<long, pugi::xml_node> index = IndexCells(rowNode);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (!cells[i].written) {
                continue;
            }
            const long column = static_cast<long>(i) + 1;
            pugi::xml_node c = InsertOrdered(rowNode, index, column, "c");
            if (!c.attribute("r")) {
                c.prepend_attribute("r") = CellName(row, column).c_str();
            }
            WriteValue(c, cells[i], styles);
        }
    }
}

void SetHeaderFooterText(pugi::xml_node worksheet, const char* name, const std::string& text)
{
    pugi::xml_node hf = worksheet.child("headerFooter");
    if (!hf) {
        pugi::xml_node before;
        for (const char* later : kAfterHeaderFooter) {
            if ((before = worksheet.child(later))) {
                break;
            }
        }
        hf = before ? worksheet.insert_child_before("headerFooter", before)
                    : worksheet.append_child("headerFooter");
    }
    pugi::xml_node node = hf.child(name);
    if (text.empty()) {
        hf.remove_child(node);
        return;
    }
    if (!node) {
        // oddHeader comes before oddFooter, and both before the even and first pages' texts.
        node = std::string_view(name) == "oddHeader" ? hf.prepend_child(name)
               : hf.child("oddHeader") ? hf.insert_child_after(name, hf.child("oddHeader"))
                                       : hf.prepend_child(name);
    }
    node.text().set(StoredHeaderFooter(text).c_str());
}

struct SheetPart
{
    std::string name;
    std::string part;
};

// The sheets the workbook part lists, in its order, each with the part that holds it. Raises
// 1004 for more than kMaxSheets, and for two sheets held in one part: the fill would write
// the second's values over the first's.
std::vector<SheetPart> SheetParts(const Package& package, const std::string& workbookPart)
{
    const pugi::xml_document workbook = LoadRequired(package, workbookPart);
    const pugi::xml_document rels = LoadRequired(package, RelsOf(workbookPart));
    const pugi::xml_node list = workbook.child("workbook").child("sheets");
    std::uint64_t count = 0;
    for ([[maybe_unused]] pugi::xml_node sheet : list.children("sheet")) {
        if (++count > kMaxSheets) {
            Raise(kMethodFailed,
                  Say("the template holds more than ", "Die Vorlage enthält mehr als ") +
                      std::to_string(kMaxSheets) + Say(" worksheets", " Arbeitsblätter"));
        }
    }
    // The first relationship of an id, as readers take it.
    std::unordered_map<std::string, std::string> targets;
    for (pugi::xml_node rel : rels.child("Relationships").children("Relationship")) {
        targets.emplace(rel.attribute("Id").value(), rel.attribute("Target").value());
    }
    std::vector<SheetPart> sheets;
    std::unordered_map<std::string, std::string> holders; // folded part, its sheet's name
    for (pugi::xml_node sheet : list.children("sheet")) {
        const auto target = targets.find(RelationshipId(sheet));
        if (target == targets.end()) {
            Raise(kMethodFailed, Say("the template's sheet \"", "Das Blatt \"") +
                                     sheet.attribute("name").value() +
                                     Say("\" has no part", "\" der Vorlage hat keinen Teil"));
        }
        SheetPart part{sheet.attribute("name").value(),
                       ResolveTarget(workbookPart, target->second)};
        const auto [holder, first] = holders.emplace(FoldedName(part.part), part.name);
        if (!first) {
            Raise(kMethodFailed,
                  Say("the template's sheets \"", "Die Blätter \"") + holder->second +
                      Say("\" and \"", "\" und \"") + part.name +
                      Say("\" are held in one part \"", "\" der Vorlage stehen in einem Teil \"") +
                      part.part + "\"");
        }
        sheets.push_back(std::move(part));
    }
    return sheets;
}

// Raises 1004 when the content-type list holds more than kMaxContentTypes entries.
void RefuseManyContentTypes(const Package& package)
{
    const pugi::xml_document types = LoadRequired(package, "[Content_Types].xml");
    std::uint64_t count = 0;
    for ([[maybe_unused]] pugi::xml_node entry : types.child("Types").children()) {
        ++count;
    }
    if (count > kMaxContentTypes) {
        Raise(kMethodFailed, Say("the template's content-type list holds more than ",
                                 "Die Liste der Inhaltstypen der Vorlage enthält mehr als ") +
                                 std::to_string(kMaxContentTypes) + Say(" entries", " Einträge"));
    }
}

// The parts the fill reads or changes go through a parser that reads past some faults of
// well-formedness, and are written back as it read them; such a template is refused before
// anything is written. Every other part is copied as it stands and is none of the fill's
// business: spreadsheet programs write the drawings of cell notes with HTML-style "<br>"
// tags, which are no XML, and readers of workbooks accept them so.
void CheckXmlParts(const Package& package, const std::string& path)
{
    const auto check = [&](const std::string& name) {
        const auto data = package.Read(name);
        if (!data) {
            return; // a missing part is reported by the step that needs it
        }
        const XmlSurvey survey = SurveyXml(*data);
        if (survey.fault) {
            Raise(kMethodFailed,
                  Say("the template \"", "Die Vorlage \"") + path +
                      Say("\" is not a well-formed workbook: its part \"",
                          "\" ist keine wohlgeformte Arbeitsmappe: ihr Teil \"") +
                      name + Say("\" is not well-formed XML: ", "\" ist kein wohlgeformtes XML: ") +
                      *survey.fault);
        }
        // The fill holds a part it reads as a tree, of about 64 bytes a node; a part of a few
        // megabytes of empty elements would take gigabytes.
        if (survey.nodes > kMaxPartNodes) {
            Raise(kMethodFailed, Say("the template \"", "Die Vorlage \"") + path +
                                     Say("\" is too large once unpacked: its part \"",
                                         "\" ist entpackt zu groß: ihr Teil \"") +
                                     name + Say("\" holds ", "\" enthält ") +
                                     std::to_string(survey.nodes) +
                                     Say(" XML elements and attributes; a part may hold ",
                                         " XML-Elemente und -Attribute; ein Teil darf ") +
                                     std::to_string(kMaxPartNodes) + Say("", " enthalten"));
        }
    };
    // The relationships are how the fill, and every reader, finds the parts.
    for (const std::string& name : package.PartNames()) {
        if (name.ends_with(".rels")) {
            check(name);
        }
    }
    check("[Content_Types].xml");
    if (package.Read("[Content_Types].xml")) {
        RefuseManyContentTypes(package);
    }
    const std::string workbookPart = WorkbookPart(package);
    check(workbookPart);
    check(Folder(workbookPart) + "styles.xml");
    for (const SheetPart& sheet : SheetParts(package, workbookPart)) {
        check(sheet.part);
    }
    RefuseMissingTargets(package, path);
}

} // namespace

std::vector<TemplateSheet> ReadTemplate(const std::string& path)
{
    const Package package(path);
    CheckXmlParts(package, path);
    std::vector<TemplateSheet> sheets;
    for (SheetPart& sheet : SheetParts(package, WorkbookPart(package))) {
        TemplateSheet entry;
        entry.name = std::move(sheet.name);
        entry.part = std::move(sheet.part);
        const pugi::xml_document xml = LoadRequired(package, entry.part);
        const pugi::xml_node hf = xml.child("worksheet").child("headerFooter");
        entry.header = SplitHeaderFooter(DecodeXstring(hf.child("oddHeader").text().get()));
        entry.footer = SplitHeaderFooter(DecodeXstring(hf.child("oddFooter").text().get()));
        sheets.push_back(std::move(entry));
    }
    if (sheets.empty()) {
        Raise(kMethodFailed, Say("the template \"", "Die Vorlage \"") + path +
                                 Say("\" holds no worksheet", "\" enthält kein Arbeitsblatt"));
    }
    return sheets;
}

void FillTemplate(const std::string& templatePath, const std::string& target,
                  const std::vector<TemplateSheet>& parts, const SheetList& sheets,
                  const std::string& contentType)
{
    std::error_code error;
    std::filesystem::copy_file(templatePath, target,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        Raise(kMethodFailed, Say("cannot copy the template \"", "Die Vorlage \"") + templatePath +
                                 Say("\": ", "\" kann nicht kopiert werden: ") + error.message());
    }
    Package package(target);
    package.ShowAs(templatePath);
    // The template may have changed since it was opened.
    CheckXmlParts(package, templatePath);
    const std::string workbookPart = WorkbookPart(package);
    DateStyles styles(package, workbookPart);
    for (std::size_t i = 0; i < parts.size() && i < sheets.size(); ++i) {
        const Sheet& sheet = sheets[i];
        const std::string header = ComposeHeaderFooter(sheet.header);
        const std::string footer = ComposeHeaderFooter(sheet.footer);
        const bool newHeader = header != ComposeHeaderFooter(parts[i].header);
        const bool newFooter = footer != ComposeHeaderFooter(parts[i].footer);
        if (sheet.LastRow() == 0 && !newHeader && !newFooter) {
            continue; // an untouched sheet keeps its part byte for byte
        }
        pugi::xml_document xml = LoadRequired(package, parts[i].part);
        pugi::xml_node worksheet = xml.child("worksheet");
        if (!worksheet) {
            Raise(kNotSupported,
                  Say("the template's worksheet \"", "Das Arbeitsblatt \"") + parts[i].name +
                      Say("\" uses a layout that cannot be filled",
                          "\" der Vorlage hat einen Aufbau, der sich nicht füllen lässt"));
        }
        FillCells(worksheet, sheet, parts[i].name, styles);
        if (newHeader) {
            SetHeaderFooterText(worksheet, "oddHeader", header);
        }
        if (newFooter) {
            SetHeaderFooterText(worksheet, "oddFooter", footer);
        }
        package.Write(parts[i].part, SavePart(xml));
    }
    styles.Store();
    // The calculation chain lists formula cells; values written over them would make it
    // stale, and the program rebuilds it when it is missing.
    RemoveRelatedPart(package, workbookPart, kCalcChain);
    if (contentType != kMacroWorkbookContentType) {
        // A workbook saved without macros loses a macro template's project, as the
        // program drops it too; the package would otherwise not match its content type.
        RemoveRelatedPart(package, workbookPart, kVbaProject);
    }
    SetContentType(package, "/" + workbookPart, contentType);
    // Every part that a relationship names is still there: nothing above removed one that
    // is named, and a template that named a missing one is refused before it is filled.
    RefuseMissingTargets(package, templatePath);
    package.Commit();
}

void EditWorkbookParts(const std::string& path,
                       const std::function<std::string(const std::string&)>& sheet,
                       const std::function<std::string(const std::string&)>& styles)
{
    Package package(path);
    CheckXmlParts(package, path);
    const std::string workbookPart = WorkbookPart(package);
    const std::string stylesPart = Folder(workbookPart) + "styles.xml";
    if (const auto data = package.Read(stylesPart)) {
        package.Write(stylesPart, styles(*data));
    }
    for (const SheetPart& part : SheetParts(package, workbookPart)) {
        if (const auto data = package.Read(part.part)) {
            package.Write(part.part, sheet(*data));
        }
    }
    package.Commit();
}

} // namespace platform::excel::detail
