#include "platform/excel/Workbooks.h"

#include "platform/excel/Workbook.h"
#include "platform/excel/Worksheet.h"
#include "platform/excel/detail/Raise.h"
#include "platform/excel/detail/State.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace platform::excel {
namespace {

bool SameName(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string Signature(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes(8, '\0');
    in.read(bytes.data(), 8);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace

Workbooks::Workbooks(std::shared_ptr<detail::AppState> state) : state_(std::move(state)) {}

long Workbooks::Count() const
{
    return static_cast<long>(state_->books.size());
}

std::shared_ptr<Workbook> Workbooks::Item(long index) const
{
    if (index < 1 || index > Count()) {
        detail::Raise(9, detail::Say("there is no workbook ", "Es gibt keine Arbeitsmappe ") +
                             std::to_string(index));
    }
    return state_->books[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<Workbook> Workbooks::Item(const std::string& name) const
{
    for (const auto& book : state_->books) {
        if (SameName(book->Name(), name)) {
            return book;
        }
    }
    detail::Raise(9, detail::Say("no workbook named \"", "Keine Arbeitsmappe namens \"") + name +
                         detail::Say("\" is open", "\" ist geöffnet"));
}

std::shared_ptr<Workbook> Workbooks::Open(const std::string& path)
{
    std::error_code error;
    const std::string full = std::filesystem::absolute(path, error).lexically_normal().string();
    for (const auto& book : state_->books) {
        if (book->FullName() == full) {
            return book;
        }
    }
    if (!std::filesystem::is_regular_file(full, error)) {
        detail::Raise(detail::kMethodFailed,
                      "\"" + path + "\"" +
                          detail::Say(" could not be found", " wurde nicht gefunden"));
    }
    auto state = std::make_unique<detail::BookState>();
    state->fullName = full;
    state->name = std::filesystem::path(full).filename().string();
    state->sourcePath = full;
    const std::string signature = Signature(full);
    if (signature.starts_with("PK\x03\x04")) {
        state->source = detail::BookSource::Package;
        state->templateSheets = detail::ReadTemplate(full);
        for (const detail::TemplateSheet& t : state->templateSheets) {
            auto sheet = std::make_shared<detail::Sheet>(t.name);
            sheet->header = t.header;
            sheet->footer = t.footer;
            state->sheets.push_back(std::make_shared<Worksheet>(sheet, true));
        }
    } else if (signature == std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        state->source = detail::BookSource::Binary;
    } else {
        detail::Raise(detail::kMethodFailed,
                      "\"" + path + "\"" +
                          detail::Say(" is not a workbook", " ist keine Arbeitsmappe"));
    }
    auto book = std::make_shared<Workbook>(state_, std::move(state));
    if (state_->visible) {
        detail::ShowFile(full);
    }
    state_->books.push_back(book);
    return book;
}

std::shared_ptr<Workbook> Workbooks::Add()
{
    auto state = std::make_unique<detail::BookState>();
    state->name = "Book" + std::to_string(state_->nextBookNumber++);
    state->fullName = state->name;
    state->sheets.push_back(
        std::make_shared<Worksheet>(std::make_shared<detail::Sheet>("Sheet1"), false));
    auto book = std::make_shared<Workbook>(state_, std::move(state));
    state_->books.push_back(book);
    return book;
}

} // namespace platform::excel
