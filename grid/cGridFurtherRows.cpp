// The further rows of a record that shows under several keyword values.
#include "grid/cGrid.h"

#include "common/ErrorHandling.h"
#include "engine/Filter.h"
#include "engine/Records.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

#include <algorithm>

namespace grid {
namespace {

namespace rt = platform::runtime;
namespace forms = platform::forms;

constexpr const char* kModule = "cGrid";
// The text of the record's j-th chosen value of a keywords field; empty when there is none.
std::string ChosenValue(const rt::Variant& vValue, const detail::RowInfo& oInfo,
                        const std::string& sKey, std::int32_t j)
{
    if (j < 0 || !vValue.IsArray()) {
        return {};
    }
    const rt::Array& a = vValue.AsArray();
    const auto [bIndexed, pIndex] = detail::IndexListOf(oInfo, sKey);
    std::int32_t lPos = j;
    if (bIndexed && pIndex) {
        if (static_cast<std::size_t>(j) >= pIndex->size()) {
            return {};
        }
        lPos = (*pIndex)[static_cast<std::size_t>(j)];
    }
    lPos += a.LBound();
    return lPos <= a.UBound() ? rt::CStr(a(lPos)) : std::string();
}

} // namespace

void cGrid::ResolveFurtherColumns()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    m_FurtherColumns.assign(static_cast<std::size_t>(std::max(m_lSortKeyCol, 0)), {});
    for (int c = 0; c < m_lSortKeyCol; ++c) {
        FurtherColumn& oColumn = m_FurtherColumns[static_cast<std::size_t>(c)];
        ignore([&] {
            const auto gf = std::dynamic_pointer_cast<views::GridField>(fg.ColData(c));
            if (!gf) {
                return;
            }
            oColumn.bPicture = gf->MappingValue() == 2;
            oColumn.sKey = gf->Key();
            if (gf->PropertyType() != 11) {
                return;
            }
            for (int L = 0; L < m_lGroupLevels; ++L) {
                if (m_GroupFields[static_cast<std::size_t>(L)] == gf) {
                    oColumn.lLevel = L;
                    break;
                }
            }
        });
    }
    // Each calculated field's per-level value columns, in field order.
    m_LevelValueCols.clear();
    for (const auto& gf : *m_oFields) {
        if (gf->Calculation() == 0) {
            continue;
        }
        std::array<int, 3> aCols{-1, -1, -1};
        for (int L = 0; L < m_lGroupLevels; ++L) {
            aCols[static_cast<std::size_t>(L)] =
                fg.ColIndex(gf->CalculatedColKey() + "_" + std::to_string(L));
        }
        m_LevelValueCols.push_back(aCols);
    }
    m_bFurtherColumns = true;
}

void cGrid::FillFurtherRows(const engine::Record& oRecord, const detail::RowInfo& oInfo, int r0)
{
    forms::FlexGrid& fg = *m_oGrid;
    auto step = [&](auto&& body) { common::Logging(kModule, "InsertRow", body); };
    if (!m_bFurtherColumns) {
        ResolveFurtherColumns();
    }
    const std::int32_t n = oInfo.RowCount;
    step([&] {
        for (int m = 1; m < n; ++m) {
            fg.SetRowData(r0 + m, fg.RowData(r0));
        }
    });
    for (int c = 0; c < m_lSortKeyCol; ++c) {
        const FurtherColumn& oColumn = m_FurtherColumns[static_cast<std::size_t>(c)];
        step([&] {
            if (oColumn.bPicture) {
                const auto oPicture = fg.CellPicture(r0, c);
                for (int m = 1; m < n; ++m) {
                    fg.SetCellPicture(forms::CellRange{r0 + m, c, r0 + m, c}, oPicture);
                    fg.SetCellPictureAlignment(forms::CellRange{r0 + m, c, r0 + m, c}, 9);
                }
                return;
            }
            if (oColumn.lLevel >= 0) {
                const auto oField = oRecord.Fields(rt::Variant(oColumn.sKey));
                const rt::Variant vValue = oField ? oField->Value() : rt::Variant();
                for (int m = 0; m < n; ++m) {
                    const std::int32_t j =
                        detail::LevelValueIndex(oInfo.LevelValueCount, oColumn.lLevel, m);
                    fg.SetTextMatrix(r0 + m, c, ChosenValue(vValue, oInfo, oColumn.sKey, j));
                }
                return;
            }
            const std::string sText = fg.TextMatrix(r0, c);
            if (sText.empty()) {
                return;
            }
            for (int m = 1; m < n; ++m) {
                fg.SetTextMatrix(r0 + m, c, sText);
            }
        });
    }
    // The group keys made with the first row hold for the further rows, which show the same
    // texts in those columns.
    for (const GroupKeyLevel& oLevel : m_GroupKeyLevels) {
        if (!oLevel.bAtInsert) {
            continue;
        }
        step([&] {
            const std::string sKey = fg.TextMatrix(r0, oLevel.gcol);
            for (int m = 1; m < n && !sKey.empty(); ++m) {
                fg.SetTextMatrix(r0 + m, oLevel.gcol, sKey);
            }
        });
    }
    // Each level's value column holds the record's value once in every group of that level
    // that one of its rows belongs to, so that each group counts the record once.
    for (const auto& aCols : m_LevelValueCols) {
        for (int L = 0; L < m_lGroupLevels; ++L) {
            step([&] {
                const int lCol = aCols[static_cast<std::size_t>(L)];
                const std::string sValue = fg.TextMatrix(r0, lCol);
                for (int m = 1; m < n; ++m) {
                    if (detail::FirstRowOfLevelGroup(oInfo.LevelValueCount, L, m)) {
                        fg.SetTextMatrix(r0 + m, lCol, sValue);
                    }
                }
            });
        }
    }
}

void cGrid::ReduceSingleRow(const detail::RowInfo& oInfo, int r0)
{
    if (!oInfo.Lists) {
        return; // no list condition chose values for this record
    }
    forms::FlexGrid& fg = *m_oGrid;
    for (const std::string* pKey :
         {&detail::kKeywordsKey, &detail::kCompaniesKey, &detail::kContactsKey}) {
        const auto [bIndexed, pIndex] = detail::IndexListOf(oInfo, *pKey);
        if (!bIndexed) {
            continue;
        }
        common::Logging(kModule, "InsertRow", [&] {
            const int lCol = fg.ColIndex(*pKey);
            if (lCol < 0) {
                return;
            }
            const std::string sText = fg.TextMatrix(r0, lCol);
            if (sText.empty()) {
                return;
            }
            // A record whose condition list chose no value shows no value.
            std::string sPart;
            if (!pIndex->empty()) {
                const auto aParts = rt::Split(sText, ";");
                const auto lPos = static_cast<std::size_t>((*pIndex)[0]);
                sPart = lPos < aParts.size() ? aParts[lPos] : std::string();
            }
            fg.SetTextMatrix(r0, lCol, sPart);
        });
    }
}

} // namespace grid
