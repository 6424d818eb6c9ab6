#pragma once

#include "platform/store/StoreRecords.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::mapi::detail {

/// The rows of a folder's table read in one pass for the columns its item collection's table
/// was given, so that items taken one by one answer those properties without asking the
/// store again. Valid while nothing was changed through the library (`generation`).
struct Prefetch
{
    std::vector<store::PropTag> tags;
    std::vector<store::TableRow> rows;
    std::unordered_map<std::string, std::size_t> rowOf; ///< entry id to row
    std::uint64_t generation = 0;
};

} // namespace platform::mapi::detail
