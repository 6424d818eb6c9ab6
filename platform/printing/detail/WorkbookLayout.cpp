#include "platform/printing/detail/WorkbookLayout.h"

#include "platform/excel/PackageParts.h"
#include "platform/printing/detail/PaperSizes.h"
#include "platform/runtime/Error.h"

#include <pugixml.hpp>

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

} // namespace

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
    pugi::xml_document doc;
    if (!doc.load_buffer(sheetXml.data(), sheetXml.size(),
                         pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata))
        return sheetXml;
    pugi::xml_node sheet = doc.document_element();
    if (LocalName(sheet.name()) != "worksheet")
        return sheetXml;
    pugi::xml_node setup = PageSetupOf(sheet);
    if (PaperDimensionsForCode(page.paperSize))
        Set(setup, "paperSize", std::to_string(page.paperSize));
    Set(setup, "orientation", page.orientation == 2 ? "landscape" : "portrait");
    if (page.scale >= 10 && page.scale <= 400)
        Set(setup, "scale", std::to_string(page.scale));
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
    return out.str();
}

void LayOutWorkbook(const std::filesystem::path& workbook, const PageLayout& page)
{
    // The workbook is read as a template is, within the same bounds: the sheets its workbook
    // names, not every part that looks like one, and none beyond what a part may unpack to.
    try {
        platform::excel::EditSheetsAndStyles(
            workbook.string(), [&](const std::string& sheet) { return LaidOutSheet(sheet, page); },
            FontsWithoutLigatures);
    } catch (const rt::Error& error) {
        RaiseUnreadable(workbook, error.Description());
    }
}

} // namespace platform::printing::detail
