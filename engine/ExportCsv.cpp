#include "engine/ExportCsv.h"

#include "engine/detail/modWriterErrors.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/Utf8.h"
#include "platform/win/FileComponent.h"

namespace engine {

namespace errs = detail::modWriterErrors;

namespace {

bool NeedsQuotes(const std::string& sCell, const std::string& sDelimiter)
{
    if (!sDelimiter.empty() && sCell.find(sDelimiter) != std::string::npos)
        return true;
    return sCell.find_first_of("\"\r\n") != std::string::npos;
}

// RFC 4180: a quoted cell doubles every quote inside it, so that a reader gets the cell back
// whole, whatever quotes, delimiters or line breaks it holds.
std::string Quote(const std::string& sCell)
{
    std::string sQuoted;
    sQuoted.reserve(sCell.size() + 8);
    sQuoted += '"';
    for (std::size_t i = 0; i < sCell.size(); ++i) {
        const char c = sCell[i];
        if (c == '\r' && i + 1 < sCell.size() && sCell[i + 1] == '\n')
            continue; // CR LF inside a cell becomes a single LF
        if (c == '"')
            sQuoted += '"';
        sQuoted += c;
    }
    sQuoted += '"';
    return sQuoted;
}

} // namespace

ExportCsv::ExportCsv() : m_sDelimiter(errs::CurrentCsvDelimiter()) {}

void ExportCsv::AddRow(std::vector<std::string>& Cols)
{
    common::Rethrowing("ExportCsv", "AddRow", [&](int& nLine) {
        nLine = 1;
        std::string sLine;
        for (std::size_t i = 0; i < Cols.size(); ++i) {
            // Bytes that are no UTF-8 become U+FFFD, so that readers of the file lose nothing
            // around them.
            platform::runtime::MakeValidUtf8(Cols[i]);
            if (!Cols[i].empty() && NeedsQuotes(Cols[i], m_sDelimiter))
                Cols[i] = Quote(Cols[i]);
            if (i > 0)
                sLine += m_sDelimiter;
            sLine += Cols[i];
        }
        nLine = 2;
        m_rows.push_back(std::move(sLine));
    });
}

void ExportCsv::Clear()
{
    m_rows.clear();
}

void ExportCsv::Export(const std::string& Filename)
{
    common::Rethrowing("ExportCsv", "Export", [&](int& nLine) {
        nLine = 1;
        const platform::win::FileComponent oFso;
        m_sPath = errs::PrepareTargetFile(Filename);
        nLine = 2;
        std::size_t nSize = 0;
        for (const auto& sRow : m_rows)
            nSize += sRow.size() + 2;
        std::string sText;
        sText.reserve(nSize);
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (i > 0)
                sText += "\r\n";
            sText += m_rows[i];
        }
        nLine = 3;
        platform::win::TextFile oFile;
        oFile.setPath(Filename);
        oFile.setText(std::move(sText));
        oFso.write(oFile, platform::win::WriteMode::Replace, platform::win::TextFormat::Unicode);
    });
}

} // namespace engine
