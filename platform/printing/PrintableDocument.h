#pragma once

#include "platform/printing/DeviceMode.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace platform::printing {

namespace detail {
class PrintFolder;
}

/// The page a document is laid out on when it is rendered for a print queue, in the host's
/// device-mode terms (see DeviceMode).
struct PageLayout
{
    std::int16_t paperSize = 9;   ///< host paper-size code
    std::int16_t paperWidth = 0;  ///< tenths of a millimetre; 0 = as the paper size says
    std::int16_t paperLength = 0; ///< tenths of a millimetre; 0 = as the paper size says
    std::int16_t orientation = 1; ///< 1 portrait, 2 landscape
    std::int16_t scale = 100;     ///< percent

    /// The layout that a printer's settings give (all their fields, flagged or not).
    static PageLayout Of(const DeviceMode& deviceMode);
};

/// A document in the form it goes to a print queue: as a person sees it on the screen.
/// Plain text (delimited text included) and PDF go as they are; a workbook (".xls", ".xlsx",
/// ".xlsm", ".ods") is rendered to PDF by the office suite and an HTML page (".html",
/// ".htm") by an HTML renderer, both run headless, so that the queue never gets a file's raw
/// bytes. Both are rendered on the paper and in the orientation of the page layout, workbooks
/// also at its scale (the HTML renderer has none), so that as many columns go on a page as fit
/// there; the office suite shows numbers and dates of built-in formats as the locale writes
/// them; HTML pages draw each letter as a glyph of its own (no "ff" or "fi" ligatures), as
/// workbooks do (WorkbookLayout.h). The rendered PDF lies in a temporary folder of its own,
/// for the user alone, that goes with the object (also when the constructor throws).
/// Rendering takes seconds: the caller chooses the thread.
class PrintableDocument
{
public:
    /// Prepares the document at `path` for an A4 portrait page in the locale en-US.
    explicit PrintableDocument(const std::string& path);
    /// Prepares the document at `path` for the page layout, in the locale `localeName` (BCP
    /// 47, "de-DE"). Throws platform::runtime::Error 53 when the file is missing, 75 when no
    /// temporary folder can be made, and errors::JobNotAccepted (Spooler.h) when its program
    /// cannot render it. The errors say why in the locale's language (German for "de-...",
    /// else English) and name the document `shownName` (the file the user asked to print when
    /// `path` is a copy of it; `path` when empty). The file itself is not changed.
    PrintableDocument(const std::string& path, const PageLayout& page,
                      const std::string& localeName, const std::string& shownName = {});
    /// Removes the rendered PDF and its folder.
    ~PrintableDocument();
    PrintableDocument(const PrintableDocument&) = delete;
    PrintableDocument& operator=(const PrintableDocument&) = delete;

    /// The file to hand to the queue: the document itself or its rendered PDF.
    const std::string& path() const { return path_; }
    /// Whether the document was rendered to PDF first.
    bool rendered() const { return folder_ != nullptr; }

private:
    void RenderWorkbook(const std::filesystem::path& source, const PageLayout& page,
                        const std::string& localeName, const std::string& shownName);
    void RenderPage(const std::filesystem::path& source, const PageLayout& page,
                    const std::string& localeName, const std::string& shownName);

    std::string path_;
    std::unique_ptr<detail::PrintFolder> folder_;
};

} // namespace platform::printing
