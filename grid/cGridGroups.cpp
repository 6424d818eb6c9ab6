// Group keys, subtotals, grand total and the outline of a filled grid.
#include "grid/cGrid.h"

#include "common/ErrorHandling.h"
#include "engine/Filter.h"
#include "grid/Flexgrid2.h"
#include "grid/detail/DateGroupKey.h"
#include "grid/detail/RowPlan.h"
#include "grid/detail/TimeTexts.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

#include <unordered_map>

namespace grid {
namespace {

namespace rt = platform::runtime;
namespace forms = platform::forms;

constexpr const char* kModule = "cGrid";
const char* const kGroupKeys[] = {"g1", "g2", "g3"};

forms::ColumnSort SortOf(std::int32_t lSortOrder)
{
    return lSortOrder != 0 ? forms::ColumnSort::Descending : forms::ColumnSort::Ascending;
}

// The date of a text that reads as one, or none; read once (a check before the conversion
// would read it twice).
std::optional<rt::Date> TextDate(const std::string& sText)
{
    try {
        return rt::CDate(rt::Variant(sText));
    } catch (const rt::Error& e) {
        if (e.Number() != rt::errors::TypeMismatch) {
            throw;
        }
    }
    return std::nullopt;
}

// The date a cell shows. A time with a day-period designator after its 24-hour clock ("14:30
// PM", as date cells show it in such locales) reads without the designator.
std::optional<rt::Date> ReadDate(const std::string& sText)
{
    if (sText.empty()) {
        return std::nullopt;
    }
    if (const auto oDate = TextDate(sText)) {
        return oDate;
    }
    const auto nLastDigit = sText.find_last_of("0123456789");
    if (nLastDigit == std::string::npos || nLastDigit + 1 == sText.size()) {
        return std::nullopt;
    }
    return TextDate(sText.substr(0, nLastDigit + 1));
}

} // namespace

void cGrid::GroupAndTotal()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    int lCols = 0;
    ignore([&] { lCols = fg.Cols(); });
    ignore([&] {
        for (int r = 1; r < fg.Rows(); ++r) {
            if (fg.IsSubtotal(r)) {
                fg.SetIsCollapsed(r, forms::OutlineState::Expanded);
            }
        }
    });
    ignore([&] { fg.Subtotal(forms::SubtotalFunction::Clear); });
    int lOutlineState = 0;
    ignore([&] { lOutlineState = m_oView->DisplayResultsOnly() ? 1 : 0; });
    ignore([&] { m_lGroupKeyCol = fg.ColIndex("g1"); });
    for (int c = 0; c < lCols; ++c) {
        ignore([&] { fg.SetColHidden(c, false); });
    }
    AddSubtotals();
    ignore([&] {
        std::int32_t lCalculated = m_oView->CalculatedFieldsCount();
        const int lWidth = m_lGroupLevels == 0 ? IndentWidth
                           : lCalculated < 1   ? m_lGroupLevels * IndentWidth
                                               : (m_lGroupLevels + 1) * IndentWidth;
        fg.SetColWidth(0, lWidth);
    });
    bool bShowFunctionName = false;
    ignore([&] { bShowFunctionName = m_oView->DisplayFunctionName(); });
    bool bItemCount = false;
    int lRows = 0;
    ignore([&] { lRows = fg.Rows(); });
    for (int r = 1; r < lRows; ++r) {
        bool bSubtotal = false;
        ignore([&] { bSubtotal = fg.IsSubtotal(r); });
        if (bSubtotal) {
            RewriteSubtotalRow(r, lCols, bShowFunctionName, lOutlineState, bItemCount);
        }
    }
}

void cGrid::PrepareGroupKeys()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    m_GroupKeyLevels.clear();
    for (int L = 0; L < m_lGroupLevels; ++L) {
        const auto g = m_oView->GroupByLevel(L);
        if (!g) {
            continue;
        }
        GroupKeyLevel oLevel;
        oLevel.lLevel = L;
        oLevel.lDateGroupBy = g->DateGroupBy;
        ignore([&] { oLevel.col = fg.ColIndex(g->ColKey); });
        ignore([&] { oLevel.gcol = fg.ColIndex(kGroupKeys[L]); });
        const auto gf = m_GroupFields[static_cast<std::size_t>(L)];
        if (gf && gf->PropertyType() == 7) {
            // Durations group by their minutes: as texts "100:00" would come before "25:00".
            oLevel.eRule = KeyRule::Minutes;
            ignore([&] { fg.SetColDataType(oLevel.gcol, 3); });
        } else if (g->DateGroupBy == 0) {
            ignore([&] {
                const int t = fg.ColDataType(oLevel.col);
                fg.SetColDataType(oLevel.gcol, t == 11 ? 3 : t);
            });
        } else {
            oLevel.eRule = KeyRule::Date;
            if (const auto oGrouping = detail::DateGroupingOf(g->DateGroupBy)) {
                ignore([&] { fg.SetColDataType(oLevel.gcol, oGrouping->lDataType); });
                m_lPrefixLength[static_cast<std::size_t>(L)] = oGrouping->lPrefixLength;
            }
        }
        ignore([&] { fg.SetColSort(oLevel.gcol, SortOf(g->SortOrder)); });
        // A list column's texts change after the first row is written (a record's further
        // rows, the values a list condition chose): its keys are read from the grid after.
        bool bListColumn = !gf || gf->PropertyType() == 11;
        for (const std::string* pKey :
             {&detail::kKeywordsKey, &detail::kCompaniesKey, &detail::kContactsKey}) {
            ignore([&] { bListColumn = bListColumn || fg.ColIndex(*pKey) == oLevel.col; });
        }
        oLevel.bAtInsert = !bListColumn && oLevel.col >= 0 && oLevel.gcol >= 0;
        m_GroupKeyLevels.push_back(std::move(oLevel));
    }
}

const std::string& cGrid::GroupKeyOf(GroupKeyLevel& oLevel, const std::string& sText,
                                     std::string& sScratch, bool& bStable, bool bByText)
{
    bStable = true;
    switch (oLevel.eRule) {
    case KeyRule::Copy:
        break;
    case KeyRule::Minutes: {
        std::int64_t lMinutes = 0;
        if (detail::TryParseMinutes(sText, lMinutes)) {
            bStable = false;
            sScratch = std::to_string(lMinutes);
            return sScratch;
        }
        break;
    }
    case KeyRule::Date: {
        if (!bByText) {
            // The caller keeps the key: nothing to remember by the text here.
            const std::optional<std::string>* pKey = nullptr;
            rt::ResumeNext ignore;
            bool bMade = false;
            ignore([&] {
                if (const auto oDate = CellDate(sText)) {
                    pKey = &DateKeyOf(oLevel, *oDate);
                }
                bMade = true;
            });
            bStable = bMade;
            if (pKey && *pKey) {
                return **pKey;
            }
            break;
        }
        auto it = oLevel.oDateKeys.find(sText);
        if (it == oLevel.oDateKeys.end()) {
            // A date that fails to make its key keeps its text, and is tried again.
            rt::ResumeNext ignore;
            bool bMade = false;
            std::optional<std::string> sKey;
            ignore([&] {
                if (const auto oDate = CellDate(sText)) {
                    sKey = DateKeyOf(oLevel, *oDate);
                }
                bMade = true;
            });
            if (!bMade) {
                bStable = false;
                break;
            }
            it = oLevel.oDateKeys.emplace(sText, std::move(sKey)).first;
        }
        if (it->second) {
            return *it->second;
        }
        break;
    }
    }
    return sText;
}

std::optional<rt::Date> cGrid::CellDate(const std::string& sText)
{
    // Levels on the same column ask for the same text one after the other.
    if (m_oLastCellDate && m_sLastCellText == sText) {
        return *m_oLastCellDate;
    }
    m_oLastCellDate.reset();
    const std::optional<rt::Date> oDate = ReadDate(sText);
    m_sLastCellText = sText;
    m_oLastCellDate = oDate;
    return oDate;
}

const std::optional<std::string>& cGrid::DateKeyOf(GroupKeyLevel& oLevel, rt::Date dtValue)
{
    // The hour's key comes from the day and the hour, every other interval's from the day
    // alone: one key per day or hour.
    std::int64_t lPeriod = dtValue.DayNumber();
    if (oLevel.lDateGroupBy == 1) {
        lPeriod = lPeriod * 24 + rt::Hour(dtValue);
    }
    const auto [it, bAdded] = oLevel.oKeysByPeriod.try_emplace(lPeriod);
    if (bAdded) {
        try {
            it->second = detail::DateGroupKey(dtValue, oLevel.lDateGroupBy);
        } catch (...) {
            oLevel.oKeysByPeriod.erase(it);
            throw;
        }
        // Only the keys made from dates lose their sort number in a caption.
        if (it->second) {
            m_DateKeys[static_cast<std::size_t>(oLevel.lLevel)].insert(*it->second);
        }
    }
    return it->second;
}

void cGrid::WriteGroupKeys(const FieldSlot& oSlot, int r0, const std::string& sText)
{
    // The number of a remembered date text stands for the text: its keys are made once.
    const bool bTimeText =
        oSlot.eText == TextRule::Date && m_nLastTimeId != detail::TimeTextCache::kNoId;
    for (GroupKeyLevel& oLevel : m_GroupKeyLevels) {
        if ((oSlot.nKeyLevels & (1u << oLevel.lLevel)) == 0) {
            continue;
        }
        common::Logging(kModule, "InsertRow", [&] {
            const std::string* pKey = nullptr;
            if (bTimeText) {
                auto& aKeys = oLevel.aKeysByTextId;
                if (aKeys.size() <= m_nLastTimeFormat) {
                    aKeys.resize(m_nLastTimeFormat + 1);
                }
                auto& aByText = aKeys[m_nLastTimeFormat];
                if (aByText.size() <= m_nLastTimeId) {
                    aByText.resize(m_nLastTimeId + 1, nullptr);
                }
                pKey = aByText[m_nLastTimeId];
                if (pKey == nullptr) {
                    bool bStable = false;
                    pKey = &GroupKeyOf(oLevel, sText, m_sKeyScratch, bStable, false);
                    if (bStable) {
                        aByText[m_nLastTimeId] = pKey;
                    }
                }
            } else {
                bool bStable = false;
                pKey = &GroupKeyOf(oLevel, sText, m_sKeyScratch, bStable);
            }
            m_oGrid->SetTextMatrix(r0, oLevel.gcol, *pKey);
        });
    }
}

void cGrid::AddSubtotals()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    // The grid's subtotal operations of every level and the grand total, gathered so that the
    // grid reads its rows once for all of them.
    std::vector<forms::SubtotalRequest> aRequests;
    if (m_lGroupLevels != 0) {
        for (int L = 0; L < m_lGroupLevels; ++L) {
            int gcol = -1;
            ignore([&] { gcol = fg.ColIndex(kGroupKeys[L]); });
            bool bAny = false;
            for (int c = 0; c < m_lSortKeyCol; ++c) {
                ignore([&] {
                    const auto gf = std::dynamic_pointer_cast<views::GridField>(fg.ColData(c));
                    if (!gf || gf->Calculation() == 0) {
                        return;
                    }
                    bAny = true;
                    std::string sKey = gf->CalculatedColKey();
                    if (HasKeywordsGroup) {
                        sKey += "_" + std::to_string(L);
                    }
                    aRequests.push_back({static_cast<forms::SubtotalFunction>(gf->Calculation()),
                                         gcol, fg.ColIndex(sKey), std::string("%s"),
                                         m_lGroupKeyCol});
                });
            }
            if (!bAny) {
                aRequests.push_back({forms::SubtotalFunction::None, gcol, std::nullopt,
                                     std::nullopt, m_lGroupKeyCol});
            }
        }
    }
    std::int32_t lCalculated = 0;
    ignore([&] { lCalculated = m_oView->CalculatedFieldsCount(); });
    if (lCalculated > 0) {
        for (int c = 0; c < m_lSortKeyCol; ++c) {
            ignore([&] {
                const auto gf = std::dynamic_pointer_cast<views::GridField>(fg.ColData(c));
                if (gf && gf->Calculation() != 0) {
                    aRequests.push_back({static_cast<forms::SubtotalFunction>(gf->Calculation()), 0,
                                         fg.ColIndex(gf->CalculatedColKey()),
                                         std::string("Total %s"), 0});
                }
            });
        }
    }
    if (m_lGroupLevels == 0 || !SortAndSubtotal(aRequests)) {
        RunSubtotals(aRequests);
    }
}

bool cGrid::SortAndSubtotal(const std::vector<forms::SubtotalRequest>& aRequests)
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    ignore([&] {
        const int f = fg.FixedRows();
        const int lLastGroupKeyCol = fg.ColIndex(kGroupKeys[m_lGroupLevels - 1]);
        fg.Select(f, m_lGroupKeyCol, f, lLastGroupKeyCol);
        // One sort: by the group keys, and inside each group by the view's sort keys.
        std::vector<forms::SortKey> aKeys = ColumnSortKeys(m_lGroupKeyCol, lLastGroupKeyCol);
        const int lGroupKeys = static_cast<int>(aKeys.size());
        aKeys.insert(aKeys.end(), m_SortKeys.begin(), m_SortKeys.end());
        fg.SortBy(aKeys, lGroupKeys, aRequests);
        m_bSortedInGroups = true;
    });
    if (m_bSortedInGroups) {
        return true;
    }
    // A request the grid refuses: sorted by the group keys alone here, the subtotals one by
    // one, and by the view's sort keys afterwards.
    ignore([&] {
        const int f = fg.FixedRows();
        fg.Select(f, m_lGroupKeyCol, f, fg.ColIndex(kGroupKeys[m_lGroupLevels - 1]));
        fg.Sort(forms::SortSetting::UseColSort);
    });
    return false;
}

void cGrid::RunSubtotals(const std::vector<forms::SubtotalRequest>& aRequests)
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    bool bDone = false;
    ignore([&] {
        fg.Subtotals(aRequests);
        bDone = true;
    });
    if (bDone) {
        return;
    }
    // The grid refuses the whole batch for one bad request (a value column that is missing):
    // each operation on its own then fails alone, and the others still run.
    for (const auto& q : aRequests) {
        ignore([&] { fg.Subtotal(q.function, q.groupOn, q.totalOn, q.caption, q.matchFrom); });
    }
}

void cGrid::RewriteSubtotalRow(int r, int lCols, bool bShowFunctionName, int lOutlineState,
                               bool& bItemCount)
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    int lLevel = -1;
    ignore([&] { lLevel = fg.RowOutlineLevel(r) - m_lGroupKeyCol; });
    const bool bGroupRow = lLevel >= 0 && lLevel <= 2;
    std::string sCaption;
    if (bGroupRow) {
        ignore([&] {
            const auto g = m_oView->GroupByLevel(lLevel);
            const auto gf = m_oFields->Item(rt::Variant(g->ColKey));
            std::string s = fg.TextMatrix(r, 0);
            const auto L = static_cast<std::size_t>(lLevel);
            // Only the keys made from dates carry the sort number to cut off.
            if (m_lPrefixLength[L] != 0 && m_DateKeys[L].count(s) != 0) {
                s = s.size() >= std::size_t(m_lPrefixLength[L] - 1)
                        ? s.substr(std::size_t(m_lPrefixLength[L] - 1))
                        : std::string();
            }
            if (gf->PropertyType() == 7 && !s.empty()) {
                s = detail::FormatMinutes(rt::CLng(rt::Variant(s)));
            }
            sCaption = Flexgrid2::GetGroupCaption(*gf, s, *g);
        });
    }
    auto valueKey = [&](const views::GridField& gf) {
        std::string sKey = gf.CalculatedColKey();
        if (HasKeywordsGroup && bGroupRow) {
            sKey += "_" + std::to_string(lLevel);
        }
        return sKey;
    };
    std::vector<std::string> aTotals;
    bool bCountItems = false;
    ignore([&] { bCountItems = m_oView->CalculateItemsCount(); });
    if (bCountItems) {
        aTotals.emplace_back();
        ignore([&] {
            const auto oIcon = m_oFields->Item(rt::Variant("Icon"));
            // A view without the icon column has no count column to read.
            if (!oIcon)
                throw rt::Error(rt::errors::SubscriptOutOfRange);
            bItemCount = true;
            const std::string sText = fg.TextMatrix(r, fg.ColIndex(valueKey(*oIcon)));
            aTotals.back() = Flexgrid2::FormatItemCount(rt::CLng(rt::Variant(sText)));
        });
    }
    for (int c = 0; c < m_lSortKeyCol; ++c) {
        ignore([&] {
            const auto gf = std::dynamic_pointer_cast<views::GridField>(fg.ColData(c));
            if (!gf || (gf->MappingValue() == 2 && bItemCount) || gf->Calculation() == 0) {
                return;
            }
            const std::int32_t lCalc = gf->Calculation();
            rt::Variant t(fg.TextMatrix(r, fg.ColIndex(valueKey(*gf))));
            if (gf->PropertyType() == 7 && (lCalc == 2 || lCalc == 5 || lCalc == 6 || lCalc == 7) &&
                !t.Get<std::string>()->empty()) {
                t = detail::FormatMinutes(rt::CLng(t));
            }
            const std::string sTotal = Flexgrid2::FormatTotalCaption(*gf, t, bShowFunctionName);
            aTotals.push_back(sTotal);
            fg.SetTextMatrix(r, c, sTotal);
            fg.SetCellAlignment(forms::CellRange{r, c, r, c}, forms::Alignment::RightCenter);
        });
    }
    const std::string sSuffix =
        bCountItems && !aTotals.empty() ? " (" + aTotals.front() + ")" : std::string();
    ignore([&] { fg.SetTextMatrix(r, 0, (bGroupRow ? sCaption : fg.TextMatrix(r, 0)) + sSuffix); });
    ignore([&] {
        fg.SetCellAlignment(forms::CellRange{r, 0, r, 0}, forms::Alignment::LeftCenter);
    });
    ignore([&] { fg.SetIsCollapsed(r, static_cast<forms::OutlineState>(lOutlineState)); });
    for (int c = 2; c < lCols; ++c) {
        ignore([&] {
            if (fg.TextMatrix(r, c).empty()) {
                fg.SetTextMatrix(r, c, " ");
            }
        });
    }
}

} // namespace grid
