#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/TextBuffer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

/// Builds the rows of an HTML table element by element and writes a report file by filling an
/// HTML template. The template holds the page and the table element; the writer replaces its
/// placeholders (the engine's "PrefixHtmlVariable", "@tlv_" by default, followed by
/// "reportheader", "reportfooter", "title", "tablewidth" and "report") with the header, the
/// footer, the title, the table width and the table rows.
///
/// Texts of items (cells, the title) are made safe for the page: "&" (unless it starts a
/// character reference such as "&nbsp;" or "&lt;"), "<" and ">" are escaped, the German and
/// French accented letters become their named entities, and line breaks (CR LF, CR, LF, and
/// the add-in's "<br>" marker) become "<br />". The header and the footer are the user's own
/// markup: they are encoded alike except that "<" and ">" stay, so that a "<b>" the user wrote
/// shows bold; values put into them (placeholders) must be escaped with EncodeHtml first.
/// Bytes that are not UTF-8 become U+FFFD.
class ExportHtml : public platform::runtime::Object
{
public:
    std::string TypeName() const override { return "ExportHtml"; }

    /// Adds one cell "<td Attr>Value</td>", opening a plain row when none is open; Value is
    /// encoded in place.
    void AddCol(std::string& Value, const std::string& Attr = {});
    /// Adds one "<col Attr />" entry, opening the column group; ignored once a row is open.
    void AddColGroup(const std::string& Attr);
    /// Closes an open column group and row and opens a row "<tr Attr>".
    void AddRow(const std::string& Attr = {});
    /// Fills TemplateFile and writes the result to Filename (UTF-8), replacing an existing file
    /// through a temporary file. ERR_INVALID_TEMPLATE (-44942822) when the template is missing,
    /// unreadable or empty; ERR_TEMPLATE_REPEATS (-44942812) when a placeholder stands in
    /// the page (with the values it brings in) more often than the writer fills, the table
    /// more than 10 times, any other more than 100 (nothing is written); ERR_CREATE_FILE
    /// (-44942832) when the target folder cannot be made.
    void Export(const std::string& Filename, const std::string& TemplateFile);
    /// Starts an empty table; clears title, header and footer. Rows is the caller's size
    /// hint, which the table does not need: it grows block by block (0 rows work as well).
    void Init(long Rows);
    /// footer := "<p>" + Value + "</p>", Value encoded as the user's markup (see the class).
    void SetFooter(std::string Value);
    /// header := "<p>" + Value + "</p>", Value encoded in place as the user's markup.
    void SetHeader(std::string& Value);
    /// The width that replaces the table-width placeholder.
    void SetTableWidth(long Value) { m_lTableWidth = Value; }
    /// title := encoded Value.
    void SetTitle(std::string Value);

    /// Encodes a text for the page in place, markup escaped (see the class comment); also
    /// what a placeholder value needs before it goes into the header or footer.
    static void EncodeHtml(std::string& sText);

private:
    enum class Markup
    {
        Escape, // a text from items: shown as it is
        Keep    // the user's own header or footer: its tags stay tags
    };
    static void Encode(std::string& sText, Markup eMarkup);
    void AppendText(std::string_view sText);
    void CloseColGroup();
    void CloseRow();
    std::vector<std::string_view> GetTableText();

    std::string m_sTitle;
    std::string m_sHeader;
    std::string m_sFooter;
    long m_lTableWidth = 0;
    platform::runtime::TextBuffer m_oBuffer;
    bool m_bRowOpen = false;
    bool m_bColGroupOpen = false;
    // The full path of the last file given to Export.
    std::string m_sPath;
};

} // namespace engine
