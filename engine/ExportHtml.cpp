#include "engine/ExportHtml.h"

#include "engine/detail/modWriterErrors.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/Utf8.h"
#include "platform/win/FileComponent.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace engine {

namespace errs = detail::modWriterErrors;

namespace {

// The accented letters that keep their named entities (the second byte of their UTF-8 form,
// all behind the lead byte 0xC3).
const char* AccentEntity(unsigned char cSecond)
{
    switch (cSecond) {
    case 0xBC:
        return "&uuml;";
    case 0xB6:
        return "&ouml;";
    case 0xA4:
        return "&auml;";
    case 0x9F:
        return "&szlig;";
    case 0x9C:
        return "&Uuml;";
    case 0x96:
        return "&Ouml;";
    case 0x84:
        return "&Auml;";
    case 0xA9:
        return "&eacute;";
    case 0xA0:
        return "&agrave;";
    case 0xAA:
        return "&ecirc;";
    default:
        return nullptr;
    }
}

// Whether the text at pos starts a character reference ("&nbsp;", "&#160;", "&#xA0;"), which
// the add-in passes for empty cells and escaped brackets and must not be escaped twice.
bool StartsReference(const std::string& s, std::size_t pos)
{
    std::size_t i = pos + 1;
    const auto isAlnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    if (i < s.size() && s[i] == '#') {
        ++i;
        const bool bHex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
        if (bHex)
            ++i;
        const std::size_t nStart = i;
        while (i < s.size() && (bHex ? std::isxdigit(static_cast<unsigned char>(s[i])) != 0
                                     : std::isdigit(static_cast<unsigned char>(s[i])) != 0))
            ++i;
        return i > nStart && i - nStart <= 8 && i < s.size() && s[i] == ';';
    }
    const std::size_t nStart = i;
    if (i >= s.size() || std::isalpha(static_cast<unsigned char>(s[i])) == 0)
        return false;
    while (i < s.size() && isAlnum(s[i]) && i - nStart < 32)
        ++i;
    return i < s.size() && s[i] == ';';
}

// The add-in marks line breaks in header and footer texts with "<br>".
std::size_t LineBreakMarkerLength(const std::string& s, std::size_t pos)
{
    if (s.compare(pos, 4, "<br>") == 0)
        return 4;
    if (s.compare(pos, 6, "<br />") == 0)
        return 6;
    return 0;
}

// The placeholders in the order their values go in: a value put in earlier is itself searched
// for the later names (a header may name the title), never for its own or earlier ones.
enum class Fill
{
    Header,
    Footer,
    Title,
    TableWidth,
    Table,
    None
};

constexpr std::string_view kFillNames[] = {"reportheader", "reportfooter", "title", "tablewidth",
                                           "report"};

// How often each placeholder may stand in a page, counted also where a value brings it in:
// a template that repeats one more often is refused before anything is written, as the page
// would grow by the table (or a value) with every repeat. A page shows its table once or a
// few times (a print and a screen part) and its title in a few places.
constexpr std::size_t kMaxFills[] = {100, 100, 100, 100, 10};

// A page is assembled as a list of pieces that point into the template, the values and the
// table, and written in one pass without joining them.
class PageBuilder
{
public:
    // The values of the placeholders before the table, and the table as its pieces.
    PageBuilder(std::string_view sPrefix, const std::array<std::string_view, 4>& vValues,
                const std::vector<std::string_view>& vTable)
        : m_sPrefix(sPrefix), m_vValues(vValues), m_vTable(vTable)
    {
    }

    // Adds `sText` with every placeholder from eFirst on replaced by its value; stops at the
    // first placeholder that stands more often than kMaxFills allows (see Overflow).
    void Add(std::string_view sText, Fill eFirst)
    {
        std::size_t nFrom = 0;
        std::size_t nPos = 0;
        while (eFirst != Fill::None && m_eOverflow == Fill::None &&
               (nPos = sText.find(m_sPrefix, nPos)) != npos) {
            const Fill eFound = NameAt(sText, nPos + m_sPrefix.size(), eFirst);
            if (eFound == Fill::None) {
                ++nPos;
                continue;
            }
            const auto i = static_cast<std::size_t>(eFound);
            if (++m_aFills[i] > kMaxFills[i]) {
                m_eOverflow = eFound;
                return;
            }
            Piece(sText.substr(nFrom, nPos - nFrom));
            if (eFound == Fill::Table)
                m_vPieces.insert(m_vPieces.end(), m_vTable.begin(), m_vTable.end());
            else
                Add(m_vValues[i], static_cast<Fill>(i + 1));
            nPos += m_sPrefix.size() + kFillNames[i].size();
            nFrom = nPos;
        }
        Piece(sText.substr(nFrom));
    }

    const std::vector<std::string_view>& Pieces() const { return m_vPieces; }
    // The placeholder that stood too often, Fill::None when the page is whole.
    Fill Overflow() const { return m_eOverflow; }

private:
    static constexpr auto npos = std::string_view::npos;

    Fill NameAt(std::string_view sText, std::size_t nAt, Fill eFirst) const
    {
        for (auto i = static_cast<std::size_t>(eFirst); i < std::size(kFillNames); ++i)
            if (sText.substr(nAt, kFillNames[i].size()) == kFillNames[i])
                return static_cast<Fill>(i);
        return Fill::None;
    }

    void Piece(std::string_view sText)
    {
        if (!sText.empty())
            m_vPieces.push_back(sText);
    }

    std::string_view m_sPrefix;
    std::array<std::string_view, 4> m_vValues;
    const std::vector<std::string_view>& m_vTable;
    std::vector<std::string_view> m_vPieces;
    std::array<std::size_t, std::size(kFillNames)> m_aFills{};
    Fill m_eOverflow = Fill::None;
};

} // namespace

void ExportHtml::EncodeHtml(std::string& sText)
{
    Encode(sText, Markup::Escape);
}

void ExportHtml::Encode(std::string& sText, Markup eMarkup)
{
    // One look at the text: most cells hold nothing to encode.
    bool bSpecial = false;
    bool bNonAscii = false;
    for (const char c : sText) {
        bSpecial |= c == '&' || c == '<' || c == '>' || c == '\r' || c == '\n';
        bNonAscii |= static_cast<unsigned char>(c) >= 0x80;
    }
    if (bNonAscii) {
        platform::runtime::MakeValidUtf8(sText);
        bSpecial = bSpecial || sText.find('\xC3') != std::string::npos;
    }
    if (!bSpecial)
        return;
    const bool bKeep = eMarkup == Markup::Keep;
    std::string sOut;
    sOut.reserve(sText.size() + 16);
    for (std::size_t i = 0; i < sText.size(); ++i) {
        const char c = sText[i];
        switch (c) {
        case '&':
            sOut += StartsReference(sText, i) ? "&" : "&amp;";
            break;
        case '<':
            if (const auto n = LineBreakMarkerLength(sText, i); n > 0) {
                sOut += "<br />";
                i += n - 1;
            } else {
                sOut += bKeep ? "<" : "&lt;";
            }
            break;
        case '>':
            sOut += bKeep ? ">" : "&gt;";
            break;
        case '\r':
            sOut += "<br />";
            if (i + 1 < sText.size() && sText[i + 1] == '\n')
                ++i;
            break;
        case '\n':
            sOut += "<br />";
            break;
        case '\xC3':
            if (i + 1 < sText.size()) {
                if (const char* sEntity = AccentEntity(static_cast<unsigned char>(sText[i + 1]))) {
                    sOut += sEntity;
                    ++i;
                    break;
                }
            }
            sOut += c;
            break;
        default:
            sOut += c;
        }
    }
    sText = std::move(sOut);
}

void ExportHtml::Init(long /*Rows*/)
{
    // The buffer grows block by block, so it needs no size hint and no row count (0
    // included) can stall its growth.
    m_oBuffer.Clear();
    m_bRowOpen = false;
    m_bColGroupOpen = false;
    m_sTitle.clear();
    m_sHeader.clear();
    m_sFooter.clear();
}

void ExportHtml::AppendText(std::string_view sText)
{
    m_oBuffer.Append(sText);
}

void ExportHtml::CloseColGroup()
{
    if (!m_bColGroupOpen)
        return;
    AppendText("</colgroup>");
    m_bColGroupOpen = false;
}

void ExportHtml::CloseRow()
{
    if (!m_bRowOpen)
        return;
    AppendText("</tr>");
    m_bRowOpen = false;
}

void ExportHtml::AddColGroup(const std::string& Attr)
{
    if (m_bRowOpen)
        return;
    if (!m_bColGroupOpen) {
        AppendText("\r\n\t\t<colgroup>");
        m_bColGroupOpen = true;
    }
    AppendText("\r\n\t\t\t<col ");
    AppendText(Attr);
    AppendText(" />");
}

void ExportHtml::AddRow(const std::string& Attr)
{
    CloseColGroup();
    CloseRow();
    if (Attr.empty()) {
        AppendText("\r\n\t\t<tr>");
    } else {
        AppendText("\r\n\t\t<tr ");
        AppendText(Attr);
        AppendText(">");
    }
    m_bRowOpen = true;
}

void ExportHtml::AddCol(std::string& Value, const std::string& Attr)
{
    CloseColGroup();
    if (!m_bRowOpen)
        AddRow();
    EncodeHtml(Value);
    if (Attr.empty()) {
        AppendText("\r\n\t\t\t<td>");
    } else {
        AppendText("\r\n\t\t\t<td ");
        AppendText(Attr);
        AppendText(">");
    }
    AppendText(Value);
    AppendText("</td>");
}

void ExportHtml::SetFooter(std::string Value)
{
    Encode(Value, Markup::Keep);
    m_sFooter = "<p>" + Value + "</p>";
}

void ExportHtml::SetHeader(std::string& Value)
{
    Encode(Value, Markup::Keep);
    m_sHeader = "<p>" + Value + "</p>";
}

void ExportHtml::SetTitle(std::string Value)
{
    EncodeHtml(Value);
    m_sTitle = std::move(Value);
}

std::vector<std::string_view> ExportHtml::GetTableText()
{
    CloseColGroup();
    CloseRow();
    return m_oBuffer.Pieces();
}

void ExportHtml::Export(const std::string& Filename, const std::string& TemplateFile)
{
    common::Rethrowing("ExportHtml", "Export", [&](int& nLine) {
        nLine = 1;
        const platform::win::FileComponent oFso;
        std::string sPage;
        try {
            sPage = oFso.fileObject(TemplateFile)->readText();
        } catch (const std::exception&) {
            // A template that cannot be read counts as missing (next step).
            sPage.clear();
        }
        nLine = 2;
        if (sPage.empty())
            errs::RaiseEngineError(errs::ERR_INVALID_TEMPLATE, {TemplateFile});
        nLine = 3;
        const std::string sPrefix = errs::CurrentHtmlPrefix();
        nLine = 4;
        const std::vector<std::string_view> vTable = GetTableText();
        nLine = 5;
        // One pass over the template puts every value in its place; the page is written as
        // the pieces of template, values and table it is made of, never joined in memory.
        // It is made before the target's folder, so that a refused template leaves nothing.
        const std::string sWidth = std::to_string(m_lTableWidth);
        PageBuilder oPage(sPrefix, {m_sHeader, m_sFooter, m_sTitle, sWidth}, vTable);
        oPage.Add(sPage, Fill::Header);
        if (const Fill eOverflow = oPage.Overflow(); eOverflow != Fill::None) {
            const auto i = static_cast<std::size_t>(eOverflow);
            errs::RaiseEngineError(
                errs::ERR_TEMPLATE_REPEATS,
                {TemplateFile, sPrefix + std::string(kFillNames[i]), std::to_string(kMaxFills[i])});
        }
        nLine = 6;
        m_sPath = errs::PrepareTargetFile(Filename);
        nLine = 7;
        oFso.replaceText(Filename, oPage.Pieces());
    });
}

} // namespace engine
