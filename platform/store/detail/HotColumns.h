#pragma once

#include "platform/store/NamedProperty.h"
#include "platform/store/PropValue.h"
#include "platform/store/detail/Sqlite.h"

#include <cstdint>
#include <functional>
#include <string>
#include <span>
#include <string_view>
#include <vector>

namespace platform::store::detail {

/// A property that reads ask for on nearly every item (times, flags, subject). Besides its
/// row in `props` each item keeps it in its own `items` row, in column "h<slot>", so that a
/// read fetches an item's hot properties with the item in one look-up instead of one per tag.
struct HotProperty
{
    std::string_view propertySet; ///< empty: `id` is a full tag
    std::uint32_t id;             ///< a full tag, or the LID in `propertySet`
    std::uint16_t type;           ///< the property type of a named one
};

/// The hot properties; a property's slot is its position. New ones go at the end only: the
/// slots are part of the file.
std::span<const HotProperty> HotProperties();

/// Makes the file keep the hot columns: adds the columns, the `hot_tags` table (tag -> slot)
/// and the triggers that keep the columns equal to `props`, and fills them, where a file made
/// before has none; registers hot names mapped since. Answers the tags by slot that reads may
/// take from the columns (0: not kept); empty for a file that cannot be changed and has none.
std::vector<PropTag> KeepHotColumns(Database& db);

/// The kept slots of an appointment's start and of the recurring flag, which the window indexes
/// lead with.
inline constexpr int kStartSlot = 1;
inline constexpr int kRecurringSlot = 4;

/// Makes the file keep the window indexes on the hot columns: `items_start` on (folder, kind,
/// start) and `items_series` on the recurring items of a folder, each holding the columns a
/// calendar read takes, so that a window read finds its rows without visiting the items
/// table. Made where missing (files written before them get them on first open); answers
/// whether the file has them (a read-only file without them reads through the value index).
bool KeepWindowIndexes(Database& db);

/// After a name got an id: when it is a hot property, the columns start keeping it (filled
/// from any values already stored under the tag). Answers the slot, or -1.
int RegisterHotName(Database& db, std::uint16_t id, const NamedProperty& name);

/// Runs `work` in one write transaction; rolls it back and rethrows on a StoreError (a
/// read-only file fails at the start).
void Atomically(Database& db, const std::function<void()>& work);
/// Whether the `items` table has a column.
bool HasColumn(Database& db, const std::string& column);
/// Whether the file has an index of that name.
bool HasIndex(Database& db, const char* name);

} // namespace platform::store::detail
