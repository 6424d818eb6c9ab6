#include "common/Deliverable.h"

#include <charconv>
#include <unordered_map>

namespace common {
namespace {

using StringTable = std::unordered_map<long, std::string>;

// Parses "id<TAB>text" lines; blank lines and lines starting with "#" are comments.
StringTable ParseTable(std::string_view sTable)
{
    StringTable oTable;
    while (!sTable.empty()) {
        const auto nEnd = sTable.find('\n');
        std::string_view sLine = sTable.substr(0, nEnd);
        sTable = nEnd == std::string_view::npos ? std::string_view{} : sTable.substr(nEnd + 1);
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.remove_suffix(1);
        const auto nTab = sLine.find('\t');
        if (sLine.empty() || sLine.front() == '#' || nTab == std::string_view::npos)
            continue;
        long lId = 0;
        const auto oResult = std::from_chars(sLine.data(), sLine.data() + nTab, lId);
        if (oResult.ec == std::errc{} && oResult.ptr == sLine.data() + nTab)
            oTable.emplace(lId, std::string(sLine.substr(nTab + 1)));
    }
    return oTable;
}

} // namespace

std::optional<std::string> FindResourceString(long lId)
{
    static const StringTable oTable = ParseTable(ThisDeliverable().sStringTable);
    const auto it = oTable.find(lId);
    if (it == oTable.end())
        return std::nullopt;
    return it->second;
}

} // namespace common
