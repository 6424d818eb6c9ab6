#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/TextBuffer.h"

#include <string>
#include <vector>

namespace engine {

/// Collects report rows as delimited text lines and writes them to a file in one piece. The
/// delimiter is the engine's "CSVDelimiter" setting when a root is initialised on this thread
/// at creation, ";" otherwise; it never changes afterwards.
class ExportCsv : public platform::runtime::Object
{
public:
    ExportCsv();

    std::string TypeName() const override { return "ExportCsv"; }

    /// Quotes every cell that holds the delimiter, a double quote, CR or LF (wrapped in double
    /// quotes, inner quotes doubled, CR LF inside a cell made a single LF), writes the quoted
    /// texts back into Cols and appends the joined line.
    void AddRow(std::vector<std::string>& Cols);
    /// Forgets every row; the delimiter stays.
    void Clear();
    /// The number of rows.
    long Count() const { return m_lCount; }
    /// Writes every row, each ended by CR LF except the last, to Filename (UTF-8), replacing an
    /// existing file through a temporary file. A missing folder is created first; when that
    /// fails, ERR_CREATE_FILE (-44942832). Write failures reach the caller. The rows stay.
    void Export(const std::string& Filename);

    /// The delimiter fixed at creation.
    const std::string& Delimiter() const { return m_sDelimiter; }

private:
    // The lines so far, each but the last followed by CR LF: the file's text as it will be.
    platform::runtime::TextBuffer m_oText;
    long m_lCount = 0;
    std::string m_sDelimiter;
    // The full path of the last file given to Export.
    std::string m_sPath;
};

} // namespace engine
