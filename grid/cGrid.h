#pragma once

#include "grid/detail/IReportView.h"
#include "grid/detail/RowPlan.h"
#include "grid/detail/TimeTexts.h"
#include "platform/forms/FlexGridTypes.h"

#include "platform/runtime/Variant.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform::forms {
class FlexGrid;
} // namespace platform::forms
namespace engine {
class Records;
class Record;
class Field;
} // namespace engine
namespace views {
class ViewSettings;
class GridFields;
class GridField;
} // namespace views

namespace grid {

/// The grid engine: lays out the report grid's columns from a view and fills it from the
/// records of a read: one or more rows per record, then groups, subtotals and outline,
/// sorting, hidden columns and column widths. One object serves one fill.
///
/// Column scheme: column 0 is the outline column; columns 1 to n the view's columns keyed by
/// their field keys, each with its `GridField` as column data; then the hidden sort keys
/// "s1" to "s3" and group keys "g1" to "g3"; then per calculated column a hidden value column
/// "c1", "c2", ... (stored as the column's `CalculatedColKey`), followed, when a group level
/// groups on a keyword list, by one per applied level ("c1_0", "c1_1", "c1_2").
class cGrid
{
public:
    /// Outline indent per group level, in twips.
    static constexpr std::int32_t IndentWidth = 200;

    cGrid() = default;

    /// Lays out the columns of the still empty grid (no per-level value columns). Never
    /// throws.
    void InitGrid(platform::forms::FlexGrid& fg, views::ViewSettings& oView);

    /// One complete fill from oRecords (may be null: only the header stays). An error is
    /// logged and shown in a message box; the grid keeps what was filled up to it.
    void ShowItems(platform::forms::FlexGrid& fg, std::shared_ptr<engine::Records> oRecords,
                   views::ViewSettings& oView);

    /// `InitGrid` and `ShowItems` on a view seen through the engine's reading of it.
    void InitGrid(platform::forms::FlexGrid& fg, detail::IReportView& oView);
    void ShowItems(platform::forms::FlexGrid& fg, std::shared_ptr<engine::Records> oRecords,
                   detail::IReportView& oView);

private:
    void InitGroupLevels();
    void SetupColumns();
    void HideColumns();
    std::int32_t GetRowCount();
    void PreparePlans();
    /// The plan of a record's rows (valid until the next call).
    const detail::RowInfo& PlanOf(const engine::Record& oRecord);
    void InsertRow(const engine::Record& oRecord);
    struct PlanLevel;
    const engine::Field* PlanField(const engine::Record& oRecord, PlanLevel& oLevel);
    void GroupAndTotal();
    void PrepareSortKeys();
    /// The sort keys and the list levels' group keys of a record's rows r0 to r0 + n - 1.
    void WriteRowKeys(int r0, int n);
    void SortRows();
    void AutoSizeColumns();
    /// The date text of a value in a format resolved for its column (with or without the
    /// time), see detail::FormattedTime; nId receives its number in m_TimeTexts.
    const std::string& GetFormattedTime(const platform::runtime::Variant& vValue,
                                        std::size_t nFormat, std::uint32_t& nId);

    // How a field's display text is made, and what its value column gets: found once per
    // column from the view's column and the field's property type.
    enum class TextRule : std::uint8_t
    {
        Enum,
        MultiText,
        Date,
        Duration,
        Percent,
        Currency,
        Boolean,
        None,
        Value
    };
    enum class CalcRule : std::uint8_t
    {
        None,
        CountIcon,
        CountText,
        DateSerial,
        YesNo,
        Keywords,
        Value
    };

    // Where the field at one position of a record goes and how it is shown. Worked out for
    // the first record and reused while the records carry the same field at that position,
    // so that no record looks its fields up by key or its columns' formats up by name.
    struct FieldSlot
    {
        const std::string* pKey = nullptr; // the field key last seen here (shared by a read)
        std::string sKey;
        long lMapiType = -1;
        std::shared_ptr<views::GridField> oGridField;
        std::string sGridKey;
        int lCol = -1;
        int lValueCol = -1;
        std::array<int, 3> aLevelValueCols{-1, -1, -1};
        TextRule eText = TextRule::Value;
        CalcRule eCalc = CalcRule::None;
        bool bDateOnly = false;                    // a date column always shown without time
        std::array<std::size_t, 2> aTimeFormats{}; // format handles without and with time
        std::uint8_t nKeyLevels = 0; // bit L: group level L takes its key from this column
    };
    const FieldSlot& SlotOf(int i, const engine::Field& oField);
    void ResolveSlot(FieldSlot& oSlot);

    // Parts of InsertRow.
    const std::string* FieldText(const FieldSlot& oSlot, const platform::runtime::Variant& vValue,
                                 bool bShowTime);
    /// The group keys of the levels on a slot's column, made from the text just written.
    void WriteGroupKeys(const FieldSlot& oSlot, int r0, const std::string& sText);
    std::optional<std::string> CalculatedValue(const FieldSlot& oSlot,
                                               const platform::runtime::Variant& vValue,
                                               const std::string* pFieldText, int r0, int i);
    void FillFurtherRows(const engine::Record& oRecord, const detail::RowInfo& oInfo, int r0);
    void ResolveFurtherColumns();
    void ReduceSingleRow(const detail::RowInfo& oInfo, int r0);

    // A sort level's key column and the field column it copies.
    struct SortKeyColumn
    {
        int src = -1;
        int dst = -1;
        bool bMinutes = false; // a duration: the key is its minutes
    };
    void FillSortKey(int r, const SortKeyColumn& oColumn, std::string& sText);
    /// The columns col1 to col2 that have a sort order, with it.
    std::vector<platform::forms::SortKey> ColumnSortKeys(int col1, int col2) const;

    // The group keys: what each applied level makes of its field column's texts, and when.
    enum class KeyRule : std::uint8_t
    {
        Copy,
        Minutes,
        Date
    };
    struct GroupKeyLevel
    {
        int lLevel = 0;
        int col = -1;
        int gcol = -1;
        KeyRule eRule = KeyRule::Copy;
        long lDateGroupBy = 0;
        // Made as the rows are written: the column's texts are final once written (no
        // list column, which a record's further rows show value by value).
        bool bAtInsert = false;
        // The key of each text seen: a date's key, or none for a text that is no date.
        std::unordered_map<std::string, std::optional<std::string>> oDateKeys;
        // The key of a remembered date text, by its time text format and number: null
        // until made.
        std::vector<std::vector<const std::string*>> aKeysByTextId;
        // The key of a date by its day, or for the hour interval by its hour.
        std::unordered_map<std::int64_t, std::optional<std::string>> oKeysByPeriod;
    };
    void PrepareGroupKeys();
    /// A level's key of a cell text; sScratch may hold it. bStable tells whether the key
    /// stays valid while sText does (false after a failure to make it). bByText: a date
    /// level remembers the key by the text (for a caller that does not keep it).
    const std::string& GroupKeyOf(GroupKeyLevel& oLevel, const std::string& sText,
                                  std::string& sScratch, bool& bStable, bool bByText = true);
    /// The date a cell text shows, if any (the last text's date is remembered).
    std::optional<platform::runtime::Date> CellDate(const std::string& sText);
    /// A date level's key of a date.
    /// A date level's key of a date (none for an interval without keys); stays where it is.
    const std::optional<std::string>& DateKeyOf(GroupKeyLevel& oLevel,
                                                platform::runtime::Date dtValue);

    // Parts of GroupAndTotal.
    void AddSubtotals();
    /// Sorts by the group keys and the view's sort keys and runs the subtotal requests in
    /// one; false when the grid refused it (the rows then sorted by the group keys alone).
    bool SortAndSubtotal(const std::vector<platform::forms::SubtotalRequest>& aRequests);
    void RunSubtotals(const std::vector<platform::forms::SubtotalRequest>& aRequests);
    void RewriteSubtotalRow(int r, int lCols, bool bShowFunctionName, int lOutlineState,
                            bool& bItemCount);

    platform::forms::FlexGrid* m_oGrid = nullptr;
    std::shared_ptr<engine::Records> m_oRecords;
    detail::IReportView* m_oView = nullptr;
    std::shared_ptr<views::GridFields> m_oFields;
    std::int32_t m_lCurrentRow = 0;
    // What each applied group level needs for a record's plan of rows, found once: its
    // column, whether it is a list, the filter condition that chooses the values shown, and
    // where the records keep its field.
    struct PlanLevel
    {
        std::shared_ptr<views::GridField> oField;
        std::optional<detail::ListCondition> oCondition;
        std::string sKey;
        bool bList = false;
        long lAt = 0;
        const std::string* pKeyObject = nullptr;
    };
    std::vector<PlanLevel> m_PlanLevels;
    detail::RowInfo m_Plan; // the plan of the record being written
    std::vector<FieldSlot> m_FieldSlots;
    std::string m_sText; // the display text being made, kept to reuse its memory
    // What a record's further rows take from its first row, per column before "s1": found at
    // the first record with further rows.
    struct FurtherColumn
    {
        bool bPicture = false; // the icon column: its picture is copied
        int lLevel = -1;       // the keywords group level the column shows, or -1
        std::string sKey;
    };
    std::vector<FurtherColumn> m_FurtherColumns;
    std::vector<std::array<int, 3>> m_LevelValueCols;
    bool m_bFurtherColumns = false;
    detail::TimeTextCache m_TimeTexts;
    detail::NumberTexts m_NumberTexts;
    // The time text that FieldText gave last: its format and number in m_TimeTexts.
    std::size_t m_nLastTimeFormat = 0;
    std::uint32_t m_nLastTimeId = detail::TimeTextCache::kNoId;
    std::vector<GroupKeyLevel> m_GroupKeyLevels;
    std::string m_sKeyScratch;
    std::string m_sKeyText; // a key's cell text, kept to reuse its memory
    std::string m_sLastCellText;
    std::optional<std::optional<platform::runtime::Date>> m_oLastCellDate;
    std::int32_t m_lFieldCount = 0;
    std::int32_t m_lSortKeyCol = 0;
    // The applied sort levels' key columns, the last of them (-1 for none) and the keys the
    // rows are sorted by.
    std::vector<SortKeyColumn> m_SortKeyColumns;
    int m_lLastSortKeyCol = -1;
    std::vector<platform::forms::SortKey> m_SortKeys;
    bool m_bSortedInGroups = false; // the grouping sorted by the sort keys too
    bool HasKeywordsGroup = false;
    std::int32_t m_lKeywordLevels = 0;
    std::int32_t m_lGroupLevels = 0;
    std::array<std::shared_ptr<views::GridField>, 3> m_GroupFields;
    std::int32_t m_lGroupKeyCol = 0;
    // Per group level: where a caption keeps its date key, and the keys the level made from
    // dates (only those lose their sort prefix in a caption).
    std::array<std::int32_t, 3> m_lPrefixLength{};
    std::array<std::unordered_set<std::string>, 3> m_DateKeys;
};

} // namespace grid
