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
        ignore([&] { fg.SetColDataType(dst, fg.ColDataType(src)); });
        bool bMinutes = false;
        ignore([&] {
            const auto f = m_oFields->Item(rt::Variant(s->ColKey));
            // Durations sort by their minutes, not by their text.
            if (f && f->PropertyType() == 7) {
                fg.SetColDataType(dst, 3);
                bMinutes = true;
            }
        });
        // Cell by cell: a copy of the whole column on the way would take as much memory again.
        std::string sText;
        for (int r = 1; r < lRows; ++r) {
            ignore([&] {
                sText = fg.TextMatrix(r, src);
                std::int64_t lMinutes = 0;
                if (bMinutes && detail::TryParseMinutes(sText, lMinutes)) {
                    sText = std::to_string(lMinutes);
                }
                fg.SetTextMatrix(r, dst, sText);
            });
        }
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
