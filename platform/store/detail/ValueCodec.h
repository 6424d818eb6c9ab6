#pragma once

#include "platform/store/PropValue.h"
#include "platform/store/detail/Sqlite.h"

#include <string>
#include <string_view>

namespace platform::store::detail {

/// Binds a value to a statement parameter in its column form: numbers, flags, currency and
/// UTC seconds as INTEGER, doubles as REAL, text as TEXT, binary as BLOB, multi-valued text as
/// a TEXT JSON array of strings (readable with the sqlite3 command and its json functions).
void BindValue(Statement& stmt, int index, const PropValue& value);

/// Reads a column back as the value of the given tag type. Throws StoreError (Database) when
/// the stored form does not fit the type (a damaged file).
PropValue ReadValue(const Statement& stmt, int column, std::uint16_t type);

/// A JSON array of strings, and back. Decoding accepts exactly what encoding writes (plus
/// whitespace and \u escapes) and throws StoreError (Database) on anything else.
std::string EncodeStringList(const MultiString& values);
MultiString DecodeStringList(std::string_view json);

} // namespace platform::store::detail
