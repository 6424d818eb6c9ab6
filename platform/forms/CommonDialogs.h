#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform::forms {

/// The kinds of the host's common dialogs.
enum class DialogKind
{
    SaveFile,
    OpenFile,
    Folder,
    Print,
};

/// What the person chose in a common dialog, checked by the dialog itself before it closes:
/// the dialog's `Check` names what does not fit, and a dialog closes with OK only on an
/// answer that fits.
class CommonDialog
{
public:
    virtual ~CommonDialog() = default;
    virtual DialogKind Kind() const = 0;
    /// Why the current answer cannot close the dialog with OK, or nothing when it can.
    virtual std::optional<std::string> Check() const = 0;
    /// The dialog's title as shown to the person.
    virtual std::string Title() const = 0;
};

/// One entry of a file dialog's filter list: a description ("Web Page (*.htm, *.html)") and
/// its pattern ("*.html"; several patterns separated by ";").
struct FileFilter
{
    std::string description;
    std::string pattern;
};

/// How a filter is listed to the person: its description without the patterns it names itself
/// (the resource texts hold them), then the patterns the filter takes, blank-separated, in
/// parentheses: "Web Page (*.html)", each pattern once and only those the filter takes.
std::string FilterLabel(const FileFilter& filter);

/// The save-file and open-file dialogs. The host promises:
/// - the dialog starts in the initial folder (the current folder when empty) with the initial
///   name in its name box and the filter list's first entry chosen;
/// - a relative name is taken in the initial folder; a name without a file type gets the
///   extension of the chosen filter's first pattern (unless that pattern is "*.*"). The text
///   after the last dot is a file type when it is one of the filters' extensions (any case) or
///   a word of 2 to 4 ASCII letters and digits that begins with a letter ("txt", "PDF");
///   the dots of a date, a version or a phrase ("Bericht 11.12.2026",
///   "Plan v1.2", "Dr.Meier") are part of the name, which gets the extension all the same;
/// - open dialog, option on: the file must exist;
/// - save dialog, first option on: an existing file is replaced only after the person said
///   Yes to a question box (the question goes through MsgBox, so a test or the host answers
///   it); second option on: the folder must exist;
/// - cancel returns an empty path; nothing else is an error.
class FileDialog : public CommonDialog
{
public:
    /// What the caller sets before showing the dialog.
    struct Request
    {
        DialogKind kind = DialogKind::OpenFile;
        std::string initialFolder;
        std::string initialName;
        std::vector<FileFilter> filters;
        /// 1031 German, 1033 English: the language of the dialog's own texts.
        long languageId = 1033;
        /// Save dialog: ask before replacing an existing file. Open dialog: the file must exist.
        bool firstOption = false;
        /// Save dialog: the folder must exist. Unused by the open dialog.
        bool secondOption = false;
        /// The caption; empty: "Save As"/"Open" in the dialog's language.
        std::string title;
    };

    explicit FileDialog(Request request);
    DialogKind Kind() const override { return m_request.kind; }
    std::optional<std::string> Check() const override;
    std::string Title() const override;
    const Request& GetRequest() const { return m_request; }

    /// The name the person typed or picked (relative to the initial folder, or absolute).
    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    /// The chosen filter, 0-based; error 380 outside the list.
    int FilterIndex() const { return m_filterIndex; }
    void SetFilterIndex(int index);
    /// The full path the current answer stands for (folder, name and default extension
    /// applied); empty for an empty name.
    std::string ResolvedPath() const;

private:
    Request m_request;
    std::string m_name;
    int m_filterIndex = 0;
};

/// The folder dialog. The host promises: it starts at the initial folder below the root
/// (0: the whole file system), shows the title and the prompt, and closes with OK only on an
/// existing folder; cancel returns an empty path.
class FolderDialog : public CommonDialog
{
public:
    struct Request
    {
        /// 0: the desktop, i.e. the whole file system.
        int root = 0;
        std::string initialFolder;
        std::string title;
        std::string prompt;
    };

    explicit FolderDialog(Request request) : m_request(std::move(request)) {}
    DialogKind Kind() const override { return DialogKind::Folder; }
    std::optional<std::string> Check() const override;
    std::string Title() const override { return m_request.title; }
    const Request& GetRequest() const { return m_request; }

    /// The folder the person chose (absolute, or relative to the initial folder).
    const std::string& Path() const { return m_path; }
    void SetPath(std::string path) { m_path = std::move(path); }
    /// The absolute folder of the answer; empty for an empty answer.
    std::string ResolvedPath() const;

private:
    Request m_request;
    std::string m_path;
};

/// Which pages the print dialog prints.
enum class PrintRange
{
    All,
    Selection,
    Pages,
};

/// The print dialog's fields, as the person sees and changes them: the printer (one of the
/// print queues), copies and collation, the range, and the page settings of the chosen
/// printer, in the host's device-mode codes (see platform/printing DeviceMode). The print
/// dialog service fills it from the printer's stored settings and the caller's presets and
/// reads it back after OK.
class PrintDialog : public CommonDialog
{
public:
    DialogKind Kind() const override { return DialogKind::Print; }
    std::optional<std::string> Check() const override;
    /// "Print" or "Drucken", by the language of the current locale.
    std::string Title() const override;

    /// The person picks another printer: sets `printer` and lets the dialog load that
    /// printer's page settings (OnPrinterChanged), as the host's dialog does.
    void SelectPrinter(const std::string& name);
    /// Loads the page settings of the printer just selected (set by the print dialog service).
    std::function<void(PrintDialog&)> OnPrinterChanged;

    /// The installed printers to choose from, in the server's order.
    std::vector<std::string> printers;
    std::string printer;
    int copies = 1;
    bool collate = false;
    PrintRange range = PrintRange::All;
    int fromPage = 0;
    int toPage = 0;
    /// The page numbers the range may take; both 0: no page range can be entered.
    int minPage = 0;
    int maxPage = 0;
    /// Printing to a file is offered (the system always disables it).
    bool printToFileEnabled = false;
    int orientation = 1;
    int paperSize = 9;
    int paperLength = 0;
    int paperWidth = 0;
    int paperSource = 7;
    int color = 2;
    int quality = -3;
    int scale = 100;
};

/// What a file dialog returns: the chosen path (empty on cancel) and the chosen filter.
struct FileDialogResult
{
    std::string path;
    int filterIndex = 0;
};

/// Shows a save-file or open-file dialog (request.kind) and waits for the person's answer
/// through the forms Driver. Error 5 for another kind.
FileDialogResult ShowFileDialog(FileDialog::Request request);

/// Shows the folder dialog; the chosen folder, or "" on cancel.
std::string ShowFolderDialog(FolderDialog::Request request);

/// Shows the print dialog with the fields as the caller filled them; true on OK, with the
/// fields as the person left them.
bool ShowPrintDialog(PrintDialog& dialog);

} // namespace platform::forms
