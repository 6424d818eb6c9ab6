// Sorting by the view's sort levels and the widths of the field columns.
#include "grid/cGrid.h"

#include "engine/Filter.h"
#include "grid/detail/RowPlan.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/ResumeNext.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

#include <algorithm>

namespace grid {
namespace {

namespace rt = platform::runtime;
namespace forms = platform::forms;

const char* const kSortKeys[] = {"s1", "s2", "s3"};

} // namespace

std::vector<forms::SortKey> cGrid::ColumnSortKeys(int col1, int col2) const
{
    std::vector<forms::SortKey> aKeys;
    for (int c = std::min(col1, col2); c <= std::max(col1, col2); ++c) {
        const forms::ColumnSort eSort = m_oGrid->ColSort(c);
        if (eSort != forms::ColumnSort::None) {
            aKeys.push_back({c, eSort});
        }
    }
    return aKeys;
}

void cGrid::FillSortKey(int r, const SortKeyColumn& oColumn, std::string& sText)
{
    forms::FlexGrid& fg = *m_oGrid;
    sText = fg.TextMatrix(r, oColumn.src);
    std::int64_t lMinutes = 0;
    if (oColumn.bMinutes && detail::TryParseMinutes(sText, lMinutes)) {
        sText = std::to_string(lMinutes);
    }
    fg.SetTextMatrix(r, oColumn.dst, sText);
}

void cGrid::PrepareSortKeys()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    m_SortKeyColumns.clear();
    m_SortKeys.clear();
    m_lLastSortKeyCol = -1;
    m_bSortedInGroups = false;
    for (int L = 0; L < 3; ++L) {
        const auto s = m_oView->SortByLevel(L);
        if (!s || !s->Apply) {
            break;
        }
        SortKeyColumn oColumn;
        ignore([&] { oColumn.src = fg.ColIndex(s->ColKey); });
        ignore([&] { oColumn.dst = fg.ColIndex(kSortKeys[L]); });
        m_lLastSortKeyCol = oColumn.dst;
        ignore([&] { fg.SetColDataType(oColumn.dst, fg.ColDataType(oColumn.src)); });
        ignore([&] {
            const auto f = m_oFields->Item(rt::Variant(s->ColKey));
            // Durations sort by their minutes, not by their text.
            if (f && f->PropertyType() == 7) {
                fg.SetColDataType(oColumn.dst, 3);
                oColumn.bMinutes = true;
            }
        });
        ignore([&] {
            fg.SetColSort(oColumn.dst, s->SortOrder != 0 ? forms::ColumnSort::Descending
                                                         : forms::ColumnSort::Ascending);
        });
        m_SortKeyColumns.push_back(oColumn);
    }
    if (m_lLastSortKeyCol >= 0) {
        ignore([&] { m_SortKeys = ColumnSortKeys(fg.ColIndex("s1"), m_lLastSortKeyCol); });
    }
}

void cGrid::WriteRowKeys(int r0, int n)
{
    rt::ResumeNext ignore;
    // The keys that copy a cell's final text: the sort keys and the list levels' group keys,
    // made while the record's rows are at hand, in column order, so that a row is written
    // once rather than grown again by passes over all rows.
    for (int r = r0; r < r0 + n; ++r) {
        for (const SortKeyColumn& oColumn : m_SortKeyColumns) {
            ignore([&] { FillSortKey(r, oColumn, m_sKeyText); });
        }
        for (GroupKeyLevel& oLevel : m_GroupKeyLevels) {
            if (oLevel.bAtInsert) {
                continue;
            }
            ignore([&] {
                m_sKeyText = m_oGrid->TextMatrix(r, oLevel.col);
                bool bStable = false;
                m_oGrid->SetTextMatrix(r, oLevel.gcol,
                                       GroupKeyOf(oLevel, m_sKeyText, m_sKeyScratch, bStable));
            });
        }
    }
}

void cGrid::SortRows()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    if (m_lLastSortKeyCol < 0) {
        return;
    }
    // The subtotal rows take their keys from their own texts too, as the data rows did.
    int lRows = 0;
    ignore([&] { lRows = fg.Rows(); });
    std::string sText;
    for (int r = 1; r < lRows; ++r) {
        bool bSubtotal = false;
        ignore([&] { bSubtotal = fg.IsSubtotal(r); });
        for (std::size_t L = 0; bSubtotal && L < m_SortKeyColumns.size(); ++L) {
            ignore([&] { FillSortKey(r, m_SortKeyColumns[L], sText); });
        }
    }
    ignore([&] {
        const int f = fg.FixedRows();
        fg.Select(f, fg.ColIndex("s1"), f, m_lLastSortKeyCol);
        // Grouping may have sorted the rows by these keys inside each group already.
        if (!m_bSortedInGroups) {
            fg.Sort(forms::SortSetting::UseColSort);
        }
    });
}

void cGrid::AutoSizeColumns()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    for (int c = 1; c <= m_lFieldCount; ++c) {
        ignore([&] {
            const std::string sKey = fg.ColKey(c);
            if (sKey == "Icon") {
                return;
            }
            const auto f = m_oFields->Item(rt::Variant(sKey));
            if (f && f->Visible() && f->Width() == -1) {
                fg.AutoSize(c);
            }
        });
    }
}

} // namespace grid
