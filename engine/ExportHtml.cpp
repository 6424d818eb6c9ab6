#include "engine/ExportHtml.h"

#include "engine/detail/modWriterErrors.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/Utf8.h"
#include "platform/win/FileComponent.h"

#include <algorithm>
#include <cctype>

namespace engine {

namespace errs = detail::modWriterErrors;

namespace {

constexpr std::size_t kCharsPerRow = 150;

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

void ReplaceAll(std::string& sText, const std::string& sFind, const std::string& sWith)
{
    if (sFind.empty())
        return;
    std::string sResult;
    std::size_t nFrom = 0;
    for (auto pos = sText.find(sFind); pos != std::string::npos; pos = sText.find(sFind, nFrom)) {
        sResult.append(sText, nFrom, pos - nFrom);
        sResult += sWith;
        nFrom = pos + sFind.size();
    }
    if (nFrom == 0)
        return;
    sResult.append(sText, nFrom, std::string::npos);
    sText = std::move(sResult);
}

} // namespace

void ExportHtml::EncodeHtml(std::string& sText)
{
    Encode(sText, Markup::Escape);
}

void ExportHtml::Encode(std::string& sText, Markup eMarkup)
{
    platform::runtime::MakeValidUtf8(sText);
    if (sText.find_first_of("&<>\r\n\xC3") == std::string::npos)
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

void ExportHtml::Init(long Rows)
{
    m_sBuffer.clear();
    m_sBuffer.reserve(static_cast<std::size_t>(std::max(Rows, 0L)) * kCharsPerRow);
    m_bRowOpen = false;
    m_bColGroupOpen = false;
    m_sTitle.clear();
    m_sHeader.clear();
    m_sFooter.clear();
}

void ExportHtml::AppendText(std::string_view sText)
{
    // The string grows geometrically, so a cell never costs a copy of the whole table and no
    // row count (0 included) can stall the growth.
    m_sBuffer.append(sText);
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

std::string ExportHtml::GetTableText()
{
    CloseColGroup();
    CloseRow();
    return m_sBuffer;
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
        m_sPath = errs::PrepareTargetFile(Filename);
        nLine = 4;
        const std::string sPrefix = errs::CurrentHtmlPrefix();
        nLine = 5;
        const std::string sTable = GetTableText();
        nLine = 6;
        // The two longer names go first: "report" is the start of both.
        ReplaceAll(sPage, sPrefix + "reportheader", m_sHeader);
        ReplaceAll(sPage, sPrefix + "reportfooter", m_sFooter);
        ReplaceAll(sPage, sPrefix + "title", m_sTitle);
        ReplaceAll(sPage, sPrefix + "tablewidth", std::to_string(m_lTableWidth));
        ReplaceAll(sPage, sPrefix + "report", sTable);
        nLine = 7;
        platform::win::TextFile oFile;
        oFile.setPath(Filename);
        oFile.setText(std::move(sPage));
        oFso.write(oFile, platform::win::WriteMode::Replace, platform::win::TextFormat::Unicode);
    });
}

} // namespace engine
