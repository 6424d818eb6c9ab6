#include "engine/ExportCsv.h"

#include "engine/detail/modWriterErrors.h"

#include "common/ErrorHandling.h"
#include "platform/runtime/Utf8.h"
#include "platform/win/FileComponent.h"

namespace engine {

namespace errs = detail::modWriterErrors;

namespace {

// What one look at a cell tells: whether it must be quoted (it holds the delimiter, a double
// quote, CR or LF) and whether it holds bytes beyond ASCII (which may be no UTF-8).
struct CellScan
{
    bool bQuote = false;
    bool bNonAscii = false;
};

CellScan Scan(const std::string& sCell, const std::string& sDelimiter)
{
    CellScan scan;
    const char cDelimiter = sDelimiter.size() == 1 ? sDelimiter[0] : '"';
    for (const char c : sCell) {
        scan.bQuote |= c == '"' || c == '\r' || c == '\n' || c == cDelimiter;
        scan.bNonAscii |= static_cast<unsigned char>(c) >= 0x80;
    }
    if (sDelimiter.size() > 1 && !scan.bQuote)
        scan.bQuote = sCell.find(sDelimiter) != std::string::npos;
    return scan;
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
        // The lines go straight into the file's text, CR LF between them: no string per row
        // and no joining at the end.
        if (m_lCount > 0)
            m_oText.Append("\r\n");
        for (std::size_t i = 0; i < Cols.size(); ++i) {
            const CellScan scan = Scan(Cols[i], m_sDelimiter);
            // Bytes that are no UTF-8 become U+FFFD, so that readers of the file lose nothing
            // around them.
            if (scan.bNonAscii)
                platform::runtime::MakeValidUtf8(Cols[i]);
            if (scan.bQuote)
                Cols[i] = Quote(Cols[i]);
            if (i > 0)
                m_oText.Append(m_sDelimiter);
            m_oText.Append(Cols[i]);
        }
        nLine = 2;
        ++m_lCount;
    });
}

void ExportCsv::Clear()
{
    m_oText.Clear();
    m_lCount = 0;
}

void ExportCsv::Export(const std::string& Filename)
{
    common::Rethrowing("ExportCsv", "Export", [&](int& nLine) {
        nLine = 1;
        const platform::win::FileComponent oFso;
        m_sPath = errs::PrepareTargetFile(Filename);
        nLine = 3;
        oFso.replaceText(Filename, m_oText.Pieces());
    });
}

} // namespace engine
