#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

/// How many grid rows a record takes when the report groups on keyword lists, and which value
/// of each keyword level each of those rows shows.
namespace grid::detail {

/// The positions of the values that the filter's list conditions chose, per list property.
struct IndexLists
{
    bool KeywordsIndexed = false;
    std::vector<std::int32_t> KeywordsIndex;
    bool CompaniesIndexed = false;
    std::vector<std::int32_t> CompaniesIndex;
    bool ContactsIndexed = false;
    std::vector<std::int32_t> ContactsIndex;
};

/// The plan of one record's rows. A fill keeps one per record, so the position lists, which
/// only records under a list condition have, live apart: the plans of a million records stay
/// a few bytes each.
struct RowInfo
{
    /// Grid rows of the record, at least 1.
    std::int32_t RowCount = 0;
    /// Values each group level contributes: the chosen list values of a keywords level, 1
    /// for any other applied level, 0 after the last applied level. A keywords level without
    /// any value has 0 here and takes one row with an empty value.
    std::array<std::int32_t, 3> LevelValueCount{};
    /// The position lists; none until a list condition chose values for the record.
    std::unique_ptr<IndexLists> Lists;
};

/// Column keys of the three list properties on which the view's filter has conditions.
inline const std::string kKeywordsKey = "{00020329-0000-0000-C000-000000000046}/Keywords";
inline const std::string kCompaniesKey = "{00062008-0000-0000-C000-000000000046}/Companies";
inline const std::string kContactsKey = "{00062008-0000-0000-C000-000000000046}/Contacts";

/// The flag and position list of a plan for a list property's column key (compared exactly),
/// made on first use; null members for any other key.
struct IndexListRef
{
    bool* pIndexed = nullptr;
    std::vector<std::int32_t>* pIndex = nullptr;
};
IndexListRef IndexListOf(RowInfo& oInfo, const std::string& sKey);
/// The flag (false for other keys) and position list (null for other keys) of a list property.
std::pair<bool, const std::vector<std::int32_t>*> IndexListOf(const RowInfo& oInfo,
                                                              const std::string& sKey);

/// A filter's condition on a list property: its compare code, whether all values must match,
/// and the values.
struct ListCondition
{
    long lCompare = 0;
    bool bAnd = false;
    std::vector<std::string> aValues;
};

/// Clears a plan: counts 0, flags false, lists empty.
void ResetRecordState(RowInfo& oState);

/// The positions of aValues that a list condition chooses, in the order found: compare code
/// 1 equals, 2 equals not, 3 contains, 4 contains not (letter case ignored); a position is
/// listed once; an exclusion stops only later additions. May be empty.
std::vector<std::int32_t> BuildIndexList(const std::vector<std::string>& aValues,
                                         const std::vector<std::string>& aConditions,
                                         std::int32_t lCompare);

/// Rows of a record from its level counts: the product of the counts of the applied levels,
/// a level with no values counting as one (its row shows an empty value).
std::int32_t RowCountOf(const std::array<std::int32_t, 3>& aCounts, std::int32_t lLevels);

/// Which value of level lLevel row m (0-based within the record) shows: level 0 cycles
/// fastest, then level 2, then level 1, so that every combination stands in one row.
/// -1 when the level has no value.
std::int32_t LevelValueIndex(const std::array<std::int32_t, 3>& aCounts, std::int32_t lLevel,
                             std::int32_t m);

/// True when row m is the first of the record's rows in its group of level lLevel (its
/// values of levels 0 to lLevel occur in no earlier row): the row that carries the record's
/// value in that level's value column, so that each group counts the record once.
bool FirstRowOfLevelGroup(const std::array<std::int32_t, 3>& aCounts, std::int32_t lLevel,
                          std::int32_t m);

/// The minutes of a duration text "h:mm" (FormatMinutes' form); none for other texts.
bool TryParseMinutes(const std::string& sText, std::int64_t& lMinutes);

} // namespace grid::detail
