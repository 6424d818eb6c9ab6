#pragma once

#include "platform/store/RecurrencePattern.h"
#include "platform/store/detail/Sqlite.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

namespace platform::store::detail {

/// When the occurrences of a series can lie, in UTC seconds: from the earliest start (the
/// pattern's first day, or a moved occurrence before it) to the latest end (the last
/// occurrence's end, a moved occurrence after it, or `kEndless` when the pattern never ends),
/// widened by two days for any zone offset. A window read skips a series whose reach misses
/// the window.
struct SeriesReach
{
    std::int64_t first = 0;
    std::int64_t last = 0;
};

/// The reach of a series that never ends.
inline constexpr std::int64_t kEndless = std::numeric_limits<std::int64_t>::max();
/// The reach of a series whose pattern cannot be read: every window.
inline constexpr SeriesReach kUnknownReach{std::numeric_limits<std::int64_t>::min(), kEndless};

/// The reach of a stored pattern; nullopt when the pattern is unusable.
std::optional<SeriesReach> ReachOf(const RecurrencePattern& pattern);

/// Makes the file keep each series' reach in its item row (`reach_start`, `reach_end`; NULL
/// for an item without a pattern) and the index `items_reach` on the items with a pattern by
/// folder and reach: adds the columns, the triggers that make a reach unknown (the widest)
/// whenever its pattern or one of its exceptions changes (whichever program writes), and the
/// index. `fill` writes every series' reach once, inside the same transaction. A file that
/// keeps them already has them checked: `agree` answers whether each series' kept reach is
/// the one its pattern gives, and where one is not (another program changed it) every reach
/// is written anew; nullopt where a pattern cannot be read, so that no fill can write them
/// (the reaches are then not used). Answers whether the file keeps them (a read-only file
/// without them, or with reaches that do not agree, reads every series).
bool KeepSeriesReach(Database& db, const std::function<void()>& fill,
                     const std::function<std::optional<bool>()>& agree);

/// Whether a kept reach still holds every occurrence of the series whose reach (by ReachOf)
/// is `reach`: it holds that reach without its slack, so that one kept under another zone
/// agrees, and it is unknown where `reach` is, endless where `reach` is.
bool KeptReachHolds(const SeriesReach& kept, const std::optional<SeriesReach>& reach);

/// Writes a series' reach (nullopt: unknown).
void WriteReach(Database& db, std::int64_t item, const std::optional<SeriesReach>& reach);

} // namespace platform::store::detail
