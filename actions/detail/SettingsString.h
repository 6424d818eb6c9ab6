#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// The field layout the action classes share for their settings strings: fields separated by
/// NUL, Booleans "1"/"0", whole numbers in decimal, texts as they stand.
namespace actions::detail {

/// The fields joined with NUL.
std::string JoinFields(const std::vector<std::string>& aFields);
/// sData split at every NUL (no limit on the pieces).
std::vector<std::string> SplitFields(const std::string& sData);
/// The fields [lFrom, lFrom + lCount) of aFields; raises 9 (subscript out of range) when the
/// list is too short.
std::vector<std::string> TakeFields(const std::vector<std::string>& aFields, std::size_t lFrom,
                                    std::size_t lCount);
/// "1" or "0".
std::string BoolField(bool bValue);
/// Decimal digits with a leading minus when negative.
std::string NumField(std::int64_t lValue);
/// True when the field's leading number is not 0.
bool ReadBool(const std::string& sField);
/// The field's leading number rounded half to even.
std::int32_t ReadLong(const std::string& sField);

} // namespace actions::detail
