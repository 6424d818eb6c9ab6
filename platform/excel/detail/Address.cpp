#include "platform/excel/detail/Address.h"

#include <algorithm>
#include <cctype>

namespace platform::excel::detail {
namespace {

std::optional<std::pair<long, long>> ParseCell(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$') {
        ++i;
    }
    long column = 0;
    const std::size_t letters = i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
        column = column * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
        if (column > kMaxColumns) {
            return std::nullopt;
        }
        ++i;
    }
    if (i == letters) {
        return std::nullopt;
    }
    if (i < text.size() && text[i] == '$') {
        ++i;
    }
    long row = 0;
    const std::size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        row = row * 10 + (text[i] - '0');
        if (row > kMaxRows) {
            return std::nullopt;
        }
        ++i;
    }
    if (i == digits || i != text.size() || row < 1) {
        return std::nullopt;
    }
    return std::make_pair(row, column);
}

} // namespace

std::optional<Area> ParseAddress(std::string_view text)
{
    const auto colon = text.find(':');
    const auto first = ParseCell(text.substr(0, colon));
    if (!first) {
        return std::nullopt;
    }
    auto second = first;
    if (colon != std::string_view::npos) {
        second = ParseCell(text.substr(colon + 1));
        if (!second) {
            return std::nullopt;
        }
    }
    return Area{std::min(first->first, second->first), std::min(first->second, second->second),
                std::max(first->first, second->first), std::max(first->second, second->second)};
}

std::string ColumnName(long column)
{
    std::string name;
    while (column > 0) {
        const long rest = (column - 1) % 26;
        name.insert(name.begin(), static_cast<char>('A' + rest));
        column = (column - 1) / 26;
    }
    return name;
}

std::string CellName(long row, long column)
{
    return ColumnName(column) + std::to_string(row);
}

} // namespace platform::excel::detail
