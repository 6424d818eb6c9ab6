#pragma once

#include <filesystem>
#include <string>

namespace platform::printing {

/// A document in the form it goes to a print queue: as a person sees it on the screen.
/// Plain text (delimited text included) and PDF go as they are; a workbook (".xls", ".xlsx",
/// ".xlsm", ".ods") is rendered to PDF by the office suite and an HTML page (".html",
/// ".htm") by an HTML renderer, both run headless, so that the queue never gets a file's raw
/// bytes. The rendered PDF lies in a temporary folder of its own that goes with the object.
class PrintableDocument
{
public:
    /// Prepares the document at `path`. Throws platform::runtime::Error 53 when the file is
    /// missing, and errors::JobNotAccepted (Spooler.h) when its program cannot render it
    /// (the detail says why: program missing, failed, or no PDF made).
    explicit PrintableDocument(const std::string& path);
    /// Removes the rendered PDF and its folder.
    ~PrintableDocument();
    PrintableDocument(const PrintableDocument&) = delete;
    PrintableDocument& operator=(const PrintableDocument&) = delete;

    /// The file to hand to the queue: the document itself or its rendered PDF.
    const std::string& path() const { return path_; }
    /// Whether the document was rendered to PDF first.
    bool rendered() const { return !folder_.empty(); }

private:
    std::string path_;
    std::filesystem::path folder_;
};

} // namespace platform::printing
