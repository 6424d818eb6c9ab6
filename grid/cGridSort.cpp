// Sorting by the view's sort levels and the widths of the field columns.
#include "grid/cGrid.h"

#include "engine/Filter.h"
#include "grid/detail/RowPlan.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/ResumeNext.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

namespace grid {
namespace {

namespace rt = platform::runtime;
namespace forms = platform::forms;

const char* const kSortKeys[] = {"s1", "s2", "s3"};

} // namespace

void cGrid::SortRows()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    int lLast = -1;
    int lRows = 0;
    ignore([&] { lRows = fg.Rows(); });
    for (int L = 0; L < 3; ++L) {
        const auto s = m_oView->SortByLevel(L);
        if (!s || !s->Apply) {
            break;
        }
        int src = -1, dst = -1;
        ignore([&] { src = fg.ColIndex(s->ColKey); });
        ignore([&] { dst = fg.ColIndex(kSortKeys[L]); });
        lLast = dst;
        ignore([&] {
            if (lRows > 1) {
                fg.SetRangeTexts(forms::CellRange{1, dst, lRows - 1, dst},
                                 fg.RangeTexts(forms::CellRange{1, src, lRows - 1, src}));
            }
        });
        ignore([&] { fg.SetColDataType(dst, fg.ColDataType(src)); });
        ignore([&] {
            const auto f = m_oFields->Item(rt::Variant(s->ColKey));
            if (f && f->PropertyType() == 7) {
                // Durations sort by their minutes, not by their text.
                fg.SetColDataType(dst, 3);
                for (int r = 1; r < lRows; ++r) {
                    std::int64_t lMinutes = 0;
                    if (detail::TryParseMinutes(fg.TextMatrix(r, dst), lMinutes)) {
                        fg.SetTextMatrix(r, dst, std::to_string(lMinutes));
                    }
                }
            }
        });
        ignore([&] {
            fg.SetColSort(dst, s->SortOrder != 0 ? forms::ColumnSort::Descending
                                                 : forms::ColumnSort::Ascending);
        });
    }
    if (lLast < 0) {
        return;
    }
    ignore([&] {
        const int f = fg.FixedRows();
        fg.Select(f, fg.ColIndex("s1"), f, lLast);
        fg.Sort(forms::SortSetting::UseColSort);
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
