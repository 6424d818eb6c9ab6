#include "platform/forms/CommonDialogs.h"

#include "platform/forms/Driver.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform::forms {
namespace {

namespace fs = std::filesystem;

// A question box with Yes and No and the exclamation icon.
constexpr int kYesNoExclamation = 4 + 48;

bool German(long languageId)
{
    return languageId == 1031;
}

// A name typed into a dialog, taken in the dialog's folder unless it is absolute.
fs::path InFolder(const std::string& folder, const std::string& name)
{
    fs::path path(name);
    if (path.is_absolute())
        return path.lexically_normal();
    fs::path base = folder.empty() ? fs::current_path() : fs::path(folder);
    return (base / path).lexically_normal();
}

// The extension a filter pattern stands for (".csv" for "*.csv"), or "" for "*.*" and "*".
std::string DefaultExtension(const std::string& pattern)
{
    const std::string first = pattern.substr(0, pattern.find(';'));
    const auto dot = first.rfind('.');
    if (first.rfind("*.", 0) != 0 || dot == std::string::npos)
        return {};
    const std::string extension = first.substr(dot);
    return extension == ".*" ? std::string() : extension;
}

bool AsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool SameLetters(const std::string& a, const std::string& b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// A short word of letters and digits that begins with a letter, as file types are: "txt",
// "PDF", "mp4", "docx".
bool LooksLikeFileType(const std::string& word)
{
    constexpr std::size_t kLongestType = 4;
    if (word.size() < 2 || word.size() > kLongestType || !AsciiLetter(word.front()))
        return false;
    return std::all_of(word.begin(), word.end(),
                       [](char c) { return AsciiLetter(c) || (c >= '0' && c <= '9'); });
}

// Whether the text after a name's last dot is a file type the person typed: one of the filter
// list's in any case, or a word that looks like one. The dot-parts of dates, versions and names
// ("11.12.2026", "v1.2", "Dr.Meier", "3. Quartal") belong to the name: such a name gets the
// filter's extension like a name without a dot, since the filter's type is what was meant.
bool TypedFileType(const fs::path& path, const std::vector<FileFilter>& filters)
{
    const std::string extension = path.extension().string();
    if (extension.size() < 2)
        return false;
    const std::string word = extension.substr(1);
    for (const auto& filter : filters)
        if (SameLetters(DefaultExtension(filter.pattern), extension))
            return true;
    return LooksLikeFileType(word);
}

} // namespace

std::string FilterLabel(const FileFilter& filter)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::string description = filter.description;
    if (const auto open = description.rfind('('); open != std::string::npos && open > 0)
        description.erase(open);
    while (!description.empty() && blank(description.back()))
        description.pop_back();
    description.erase(description.begin(),
                      std::find_if_not(description.begin(), description.end(), blank));
    std::string patterns = filter.pattern;
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    return description + " (" + patterns + ")";
}

FileDialog::FileDialog(Request request) : m_request(std::move(request))
{
    m_name = m_request.initialName;
}

std::string FileDialog::Title() const
{
    if (!m_request.title.empty())
        return m_request.title;
    const bool save = m_request.kind == DialogKind::SaveFile;
    if (German(m_request.languageId))
        return save ? "Speichern unter" : "Öffnen";
    return save ? "Save As" : "Open";
}

void FileDialog::SetFilterIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(m_request.filters.size()))
        runtime::Raise(runtime::errors::InvalidPropertyValue, "FileDialog.FilterIndex");
    m_filterIndex = index;
}

std::string FileDialog::ResolvedPath() const
{
    if (m_name.empty())
        return {};
    fs::path path = InFolder(m_request.initialFolder, m_name);
    std::error_code error;
    // A file to open that is there under the name as typed is that file, whatever its name's
    // dots look like.
    if (m_request.kind == DialogKind::OpenFile && fs::is_regular_file(path, error))
        return path.string();
    if (!TypedFileType(path, m_request.filters) && !m_request.filters.empty() &&
        !fs::is_directory(path, error))
        path +=
            DefaultExtension(m_request.filters[static_cast<std::size_t>(m_filterIndex)].pattern);
    return path.string();
}

std::optional<std::string> FileDialog::Check() const
{
    const bool german = German(m_request.languageId);
    if (m_name.empty())
        return german ? "Kein Dateiname angegeben." : "No file name was given.";
    const fs::path path(ResolvedPath());
    std::error_code error;
    if (fs::is_directory(path, error))
        return (german ? "Das ist ein Ordner: " : "This is a folder: ") + path.string();
    if (m_request.kind == DialogKind::OpenFile && m_request.firstOption &&
        !fs::is_regular_file(path, error))
        return (german ? "Die Datei gibt es nicht: " : "The file does not exist: ") + path.string();
    if (m_request.kind == DialogKind::SaveFile && m_request.secondOption &&
        !fs::is_directory(path.parent_path(), error))
        return (german ? "Den Ordner gibt es nicht: " : "The folder does not exist: ") +
               path.parent_path().string();
    return std::nullopt;
}

namespace {

// The folder and print dialogs speak the language of the user's locale.
bool GermanLocale()
{
    return platform::locale::Current().languageCode == "de";
}

std::string Say(const char* english, const char* german)
{
    return GermanLocale() ? german : english;
}

} // namespace

std::optional<std::string> FolderDialog::Check() const
{
    if (m_path.empty())
        return Say("No folder was given.", "Kein Ordner angegeben.");
    std::error_code error;
    if (!fs::is_directory(ResolvedPath(), error))
        return Say("The folder does not exist: ", "Den Ordner gibt es nicht: ") + ResolvedPath();
    return std::nullopt;
}

std::string FolderDialog::ResolvedPath() const
{
    return m_path.empty() ? std::string() : InFolder(m_request.initialFolder, m_path).string();
}

void PrintDialog::SelectPrinter(const std::string& name)
{
    printer = name;
    if (OnPrinterChanged)
        OnPrinterChanged(*this);
}

std::string PrintDialog::Title() const
{
    return Say("Print", "Drucken");
}

std::optional<std::string> PrintDialog::Check() const
{
    bool known = false;
    for (const auto& name : printers)
        known = known || name == printer;
    if (!known)
        return Say("There is no printer \"", "Es gibt keinen Drucker \"") + printer + "\".";
    if (copies < 1 || copies > 9999)
        return Say("The number of copies must lie between 1 and 9999.",
                   "Die Anzahl der Exemplare muss zwischen 1 und 9999 liegen.");
    if (range == PrintRange::Pages) {
        if (minPage == 0 && maxPage == 0)
            return Say("This dialog takes no page range.",
                       "Dieser Dialog nimmt keinen Seitenbereich.");
        if (fromPage < minPage || toPage > maxPage || fromPage < 1 || fromPage > toPage)
            return Say("The pages must run from ", "Die Seiten müssen von ") +
                   std::to_string(std::max(minPage, 1)) + Say(" to ", " bis ") +
                   std::to_string(maxPage) +
                   Say(", the first not after the last.",
                       " reichen, die erste nicht nach der letzten.");
    }
    if (orientation != 1 && orientation != 2)
        return Say("The orientation is 1 (portrait) or 2 (landscape).",
                   "Die Ausrichtung ist 1 (Hochformat) oder 2 (Querformat).");
    if (color != 1 && color != 2)
        return Say("The colour is 1 (monochrome) or 2 (colour).",
                   "Die Farbe ist 1 (einfarbig) oder 2 (farbig).");
    if (scale < 1 || scale > 1000)
        return Say("The scale must lie between 1 and 1000 percent.",
                   "Die Skalierung muss zwischen 1 und 1000 Prozent liegen.");
    if (paperLength < 0 || paperWidth < 0)
        return Say("The paper length and width cannot be negative.",
                   "Länge und Breite des Papiers können nicht negativ sein.");
    return std::nullopt;
}

FileDialogResult ShowFileDialog(FileDialog::Request request)
{
    if (request.kind != DialogKind::SaveFile && request.kind != DialogKind::OpenFile)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "ShowFileDialog");
    FileDialog dialog(std::move(request));
    const auto& asked = dialog.GetRequest();
    const bool german = German(asked.languageId);
    while (Driver::current().RunDialog(dialog)) {
        const std::string path = dialog.ResolvedPath();
        std::error_code error;
        if (asked.kind == DialogKind::SaveFile && asked.firstOption && fs::exists(path, error)) {
            const std::string question =
                german ? path + " ist bereits vorhanden.\nMöchten Sie sie ersetzen?"
                       : path + " already exists.\nDo you want to replace it?";
            if (MsgBox(question, kYesNoExclamation, dialog.Title()) != vbYes)
                continue; // the dialog stays open for another name
        }
        return {path, dialog.FilterIndex()};
    }
    return {};
}

std::string ShowFolderDialog(FolderDialog::Request request)
{
    FolderDialog dialog(std::move(request));
    if (!Driver::current().RunDialog(dialog))
        return {};
    return dialog.ResolvedPath();
}

bool ShowPrintDialog(PrintDialog& dialog)
{
    return Driver::current().RunDialog(dialog);
}

} // namespace platform::forms
