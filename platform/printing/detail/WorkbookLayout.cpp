#include "platform/printing/detail/WorkbookLayout.h"

#include "platform/excel/PackageParts.h"
#include "platform/printing/detail/DigitWidth.h"
#include "platform/printing/detail/PaperSizes.h"
#include "platform/runtime/CNotation.h"
#include "platform/runtime/Error.h"

#include <pugixml.hpp>

#include <charconv>
#include <cmath>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

namespace platform::printing::detail {

namespace {

namespace rt = platform::runtime;

constexpr const char* kSource = "PrintableDocument";

// The elements that follow the page setup in a worksheet, in the order the format fixes.
constexpr const char* kAfterPageSetup[] = {
    "headerFooter",  "rowBreaks", "colBreaks",  "customProperties", "cellWatches",
    "ignoredErrors", "smartTags", "drawing",    "legacyDrawing",    "legacyDrawingHF",
    "drawingHF",     "picture",   "oleObjects", "controls",         "webPublishItems",
    "tableParts",    "extLst"};

// A name without its namespace prefix.
std::string LocalName(const char* name)
{
    const std::string text(name);
    const auto colon = text.find(':');
    return colon == std::string::npos ? text : text.substr(colon + 1);
}

std::string Prefix(const pugi::xml_node& node)
{
    const std::string text(node.name());
    const auto colon = text.find(':');
    return colon == std::string::npos ? std::string() : text.substr(0, colon + 1);
}

pugi::xml_node PageSetupOf(pugi::xml_node sheet)
{
    const std::string prefix = Prefix(sheet);
    for (pugi::xml_node child : sheet.children())
        if (LocalName(child.name()) == "pageSetup")
            return child;
    for (pugi::xml_node child : sheet.children())
        for (const char* after : kAfterPageSetup)
            if (LocalName(child.name()) == after)
                return sheet.insert_child_before((prefix + "pageSetup").c_str(), child);
    return sheet.append_child((prefix + "pageSetup").c_str());
}

void Set(pugi::xml_node node, const char* name, const std::string& value)
{
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        attribute = node.append_attribute(name);
    attribute.set_value(value.c_str());
}

[[noreturn]] void RaiseUnreadable(const std::filesystem::path& workbook, const std::string& why)
{
    rt::Raise(rt::errors::PathFileAccess, kSource,
              "The page setup of \"" + workbook.string() + "\" cannot be written: " + why);
}

// The feature that turns a font's ligatures off, as the office suite reads it behind a
// font's name.
constexpr const char* kNoLigatures = ":-liga";

// A column width the workbook gives in characters, in the screen pixels the spreadsheet draws
// it with: `digitPixels` to a character, the width rounded down to whole pixels.
double ColumnPixels(double characters, int digitPixels)
{
    return std::trunc((std::trunc(characters * 256.0) + std::trunc(128.0 / digitPixels)) / 256.0 *
                      digitPixels);
}

std::optional<double> NumberAttribute(const pugi::xml_node& node, const char* name)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        return std::nullopt;
    const auto value = rt::ParseNotation(attribute.value());
    if (!value || !std::isfinite(*value) || *value < 0 || *value > 65535)
        return std::nullopt;
    return value;
}

void SetNumber(pugi::xml_node node, const char* name, double value)
{
    // Shortest text that reads back as the value, with a point whatever the locale.
    char text[32];
    const auto end = std::to_chars(std::begin(text), std::end(text), value).ptr;
    Set(node, name, std::string(text, end));
}

pugi::xml_node ChildNamed(const pugi::xml_node& parent, const char* local)
{
    for (pugi::xml_node child : parent.children())
        if (LocalName(child.name()) == local)
            return child;
    return {};
}

// The worksheet XML as `edit` changes its root; the text as it is when it is no worksheet.
std::string EditedWorksheet(const std::string& sheetXml,
                            const std::function<void(pugi::xml_node)>& edit)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(sheetXml.data(), sheetXml.size(),
                         pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata))
        return sheetXml;
    pugi::xml_node sheet = doc.document_element();
    if (LocalName(sheet.name()) != "worksheet")
        return sheetXml;
    edit(sheet);
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

} // namespace

std::optional<StandardFont> StandardFontOf(const std::string& stylesXml)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(stylesXml.data(), stylesXml.size()))
        return std::nullopt;
    const pugi::xml_node sheet = doc.document_element();
    // The standard width counts characters of the font of the first cell style (Normal).
    std::size_t fontId = 0;
    if (const pugi::xml_node xf = ChildNamed(ChildNamed(sheet, "cellStyleXfs"), "xf"))
        fontId = xf.attribute("fontId").as_uint(0);
    std::size_t at = 0;
    for (pugi::xml_node font : ChildNamed(sheet, "fonts").children()) {
        if (LocalName(font.name()) != "font" || at++ != fontId)
            continue;
        StandardFont standard;
        std::string name = ChildNamed(font, "name").attribute("val").value();
        // Features asked for behind a colon are no part of the family's name.
        standard.family = name.substr(0, name.find(':'));
        if (const auto size = NumberAttribute(ChildNamed(font, "sz"), "val"); size && *size >= 1)
            standard.points = *size;
        if (standard.family.empty())
            return std::nullopt;
        return standard;
    }
    return std::nullopt;
}

std::string PrintedColumnWidths(const std::string& sheetXml, double digitPixels)
{
    // The spreadsheet draws a character as wide as its standard font's widest digit rounded
    // to whole pixels at 96 an inch, and so makes a column; the office suite that prints
    // counts the digit's exact width. Each width is given anew in the exact digits that
    // make the spreadsheet's pixels, so the columns print as wide as they show.
    if (!(digitPixels >= 1 && digitPixels < 1000))
        return sheetXml;
    return EditedWorksheet(sheetXml, [&](pugi::xml_node sheet) {
        const int screenDigit = static_cast<int>(std::lround(digitPixels));
        for (pugi::xml_node cols : sheet.children()) {
            if (LocalName(cols.name()) != "cols")
                continue;
            for (pugi::xml_node col : cols.children())
                if (const auto width = NumberAttribute(col, "width"))
                    SetNumber(col, "width", ColumnPixels(*width, screenDigit) / digitPixels);
        }
        if (pugi::xml_node format = ChildNamed(sheet, "sheetFormatPr")) {
            double pixels = 0;
            if (const auto width = NumberAttribute(format, "defaultColWidth")) {
                pixels = ColumnPixels(*width, screenDigit);
            } else {
                // Without a default width the standard one is the base width in characters and
                // the cell margins, rounded up to a multiple of 8 pixels.
                const double base = NumberAttribute(format, "baseColWidth").value_or(8);
                pixels = std::ceil((std::trunc(base) * screenDigit + 5) / 8.0) * 8;
            }
            SetNumber(format, "defaultColWidth", pixels / digitPixels);
        }
    });
}

std::string FontsWithoutLigatures(const std::string& stylesXml)
{
    // A font name may carry the features its text is drawn with after a colon; one that
    // carries some already is left as it is.
    const std::string tag = "<name val=\"";
    std::string out = stylesXml;
    for (std::size_t at = out.find(tag); at != std::string::npos; at = out.find(tag, at)) {
        at += tag.size();
        const std::size_t end = out.find('"', at);
        if (end == std::string::npos)
            break;
        if (out.find(':', at) > end && end > at)
            out.insert(end, kNoLigatures);
        at = end;
    }
    return out;
}

std::string LaidOutSheet(const std::string& sheetXml, const PageLayout& page)
{
    return EditedWorksheet(sheetXml, [&](pugi::xml_node sheet) {
        pugi::xml_node setup = PageSetupOf(sheet);
        if (PaperDimensionsForCode(page.paperSize))
            Set(setup, "paperSize", std::to_string(page.paperSize));
        Set(setup, "orientation", page.orientation == 2 ? "landscape" : "portrait");
        if (page.scale >= 10 && page.scale <= 400)
            Set(setup, "scale", std::to_string(page.scale));
    });
}

void LayOutWorkbook(const std::filesystem::path& workbook, const PageLayout& page)
{
    // The workbook is read as a template is, within the same bounds: the sheets its workbook
    // names, not every part that looks like one, and none beyond what a part may unpack to.
    // The styles come first: the sheets' widths are counted in their standard font.
    std::optional<double> digitPixels;
    const auto styles = [&](const std::string& xml) {
        if (const auto font = StandardFontOf(xml))
            if (const auto em = DigitEmWidth(font->family))
                digitPixels = *em * font->points * 96.0 / 72.0;
        return FontsWithoutLigatures(xml);
    };
    const auto sheet = [&](const std::string& xml) {
        const std::string laidOut = LaidOutSheet(xml, page);
        return digitPixels ? PrintedColumnWidths(laidOut, *digitPixels) : laidOut;
    };
    try {
        platform::excel::EditSheetsAndStyles(workbook.string(), sheet, styles);
    } catch (const rt::Error& error) {
        RaiseUnreadable(workbook, error.Description());
    }
}

} // namespace platform::printing::detail
