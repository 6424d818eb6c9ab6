#include "platform/excel/Workbook.h"

#include "platform/excel/FileFormat.h"
#include "platform/excel/Worksheet.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/State.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/Strings.h"

#include <algorithm>
#include <filesystem>

namespace platform::excel {

Workbook::Workbook(std::weak_ptr<detail::AppState> app, std::unique_ptr<detail::BookState> state)
    : app_(std::move(app)), state_(std::move(state))
{
}

Workbook::~Workbook() = default;

std::string Workbook::Name() const
{
    return state_->name;
}

std::string Workbook::FullName() const
{
    return state_->fullName;
}

std::shared_ptr<Worksheet> Workbook::Worksheets(long index)
{
    if (state_->source == detail::BookSource::Binary) {
        detail::Raise(detail::kNotSupported,
                      "\"" + state_->name +
                          detail::Say("\" is in the 97-2003 binary format, which can be opened "
                                      "for the user but not filled; use a template saved as "
                                      ".xltx, .xlsx or .xlsm",
                                      "\" ist im Binärformat 97-2003, das sich für den Benutzer "
                                      "öffnen, aber nicht füllen lässt; nehmen Sie eine als "
                                      ".xltx, .xlsx oder .xlsm gespeicherte Vorlage"));
    }
    if (index < 1 || index > WorksheetCount()) {
        detail::Raise(9, detail::Say("there is no worksheet ", "Es gibt kein Arbeitsblatt ") +
                             std::to_string(index));
    }
    return state_->sheets[static_cast<std::size_t>(index - 1)];
}

long Workbook::WorksheetCount() const
{
    return static_cast<long>(state_->sheets.size());
}

void Workbook::SaveAs(const std::string& path, long fileFormat)
{
    const auto app = app_.lock();
    const long major = detail::MajorVersion(app ? app->version : std::string("16.0"));
    const bool package = fileFormat == FileFormat::OpenXmlWorkbook ||
                         fileFormat == FileFormat::OpenXmlWorkbookMacroEnabled;
    const bool binary =
        fileFormat == FileFormat::Excel8 || fileFormat == FileFormat::WorkbookNormal;
    if (!package && !binary) {
        detail::Raise(detail::kMethodFailed,
                      detail::Say("the file format ", "Das Dateiformat ") +
                          std::to_string(fileFormat) +
                          detail::Say(" is not supported", " wird nicht unterstützt"));
    }
    if ((package || fileFormat == FileFormat::Excel8) && major < 12) {
        detail::Raise(detail::kMethodFailed, detail::Say("the file format ", "Das Dateiformat ") +
                                                 std::to_string(fileFormat) +
                                                 detail::Say(" needs version 12 or later",
                                                             " braucht Version 12 oder neuer"));
    }
    if (state_->source == detail::BookSource::Binary) {
        detail::Raise(detail::kNotSupported,
                      "\"" + state_->name +
                          detail::Say("\" was opened for the user only and cannot be saved",
                                      "\" wurde nur für den Benutzer geöffnet und kann nicht "
                                      "gespeichert werden"));
    }
    if (state_->source == detail::BookSource::Package && binary) {
        detail::Raise(detail::kNotSupported,
                      detail::Say("a workbook filled from a template can be saved as .xlsx or "
                                  ".xlsm only",
                                  "Eine aus einer Vorlage gefüllte Arbeitsmappe lässt sich nur als "
                                  ".xlsx oder .xlsm speichern"));
    }
    std::error_code error;
    if (app && app->displayAlerts && std::filesystem::exists(path, error)) {
        detail::Raise(
            detail::kMethodFailed,
            "\"" + path +
                detail::Say(
                    "\" exists; it is replaced only while alerts are off",
                    "\" existiert bereits; die Datei wird nur bei ausgeschalteten Warnungen "
                    "ersetzt"));
    }
    detail::SheetList sheets;
    for (const auto& sheet : state_->sheets) {
        sheets.push_back(std::cref(*sheet->Contents()));
    }
    const std::string contentType = fileFormat == FileFormat::OpenXmlWorkbookMacroEnabled
                                        ? detail::kMacroWorkbookContentType
                                        : detail::kWorkbookContentType;
    platform::runtime::ReplacingFile file(path, "Excel");
    try {
        if (state_->source == detail::BookSource::Package) {
            detail::FillTemplate(state_->sourcePath, file.Path(), state_->templateSheets, sheets,
                                 contentType);
        } else if (package) {
            detail::WriteXlsx(sheets, file.Path());
            if (fileFormat == FileFormat::OpenXmlWorkbookMacroEnabled) {
                // The writer marks a workbook macro-enabled only together with a macro
                // project; a report has none, so the package's content type is set here.
                detail::SetWorkbookContentType(file.Path(), contentType);
            }
        } else {
            detail::WriteXls(sheets, file.Path());
        }
    } catch (const platform::runtime::Error& error) {
        // The user knows the file they saved, not the temporary one it is written through.
        platform::runtime::Error named(
            error.Number(), error.Source(),
            platform::runtime::Replace(error.Description(), file.Path(), path));
        named.SetLastDllError(error.LastDllError());
        throw named;
    }
    file.Commit();
    const std::filesystem::path full = std::filesystem::absolute(path, error).lexically_normal();
    state_->fullName = full.string();
    state_->name = full.filename().string();
}

void Workbook::Close(bool saveChanges)
{
    if (saveChanges) {
        detail::Raise(detail::kNotSupported,
                      detail::Say("closing with saving is not supported; use SaveAs",
                                  "Schließen mit Speichern wird nicht unterstützt; nehmen Sie "
                                  "SaveAs"));
    }
    if (const auto app = app_.lock()) {
        auto& books = app->books;
        const auto it = std::find_if(books.begin(), books.end(),
                                     [this](const auto& book) { return book.get() == this; });
        if (it != books.end()) {
            // Kept until the end of this call: the list may hold the last reference.
            const std::shared_ptr<Workbook> self = *it;
            books.erase(it);
        }
    }
}

} // namespace platform::excel
