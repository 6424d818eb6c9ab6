#include "grid/Flexgrid2.h"

#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/ResumeNext.h"

#include <array>

namespace grid::Flexgrid2 {
namespace {

namespace rt = platform::runtime;
namespace forms = platform::forms;

struct GridWords
{
    std::string sItem;
    std::string sItems;
    std::string sHour;
    std::string sDay;
    std::string sWeek;
    std::string sQuarter;
    std::string sYes;
    std::string sNo;
    std::string sNone;
    rt::Collection<std::string> colCalcFunctions;
};

GridWords& Words()
{
    static GridWords oWords;
    return oWords;
}

// Position in the function list -> the grid's subtotal code.
constexpr std::array<std::int32_t, 7> kSubtotalOfPosition{0, 5, 4, 6, 7, 3, 2};

void LoadWord(std::string& sWord, long lId)
{
    rt::ResumeNext ignore;
    ignore([&] { sWord = common::modLanguage::GetResString(lId); });
}

} // namespace

void InitGridStrings()
{
    GridWords& w = Words();
    LoadWord(w.sItem, 2064);
    LoadWord(w.sItems, 2065);
    LoadWord(w.sHour, 2177);
    LoadWord(w.sDay, 2178);
    LoadWord(w.sWeek, 2179);
    LoadWord(w.sQuarter, 2180);
    LoadWord(w.sYes, 2167);
    LoadWord(w.sNo, 2168);
    LoadWord(w.sNone, 2079);
    rt::ResumeNext ignore;
    ignore([&] {
        rt::Collection<std::string> colList;
        colList.Add(" ");
        for (long lId = 2158; lId <= 2163; ++lId) {
            std::string sName;
            LoadWord(sName, lId);
            colList.Add(sName);
        }
        w.colCalcFunctions = std::move(colList);
    });
}

const rt::Collection<std::string>& CalcFunctions()
{
    return Words().colCalcFunctions;
}

std::string FormatItemCount(std::int32_t n)
{
    return std::to_string(n) + " " + (n == 1 ? Words().sItem : Words().sItems);
}

std::string ValueOrNone(const std::string& sPrefix, const std::string& sValue)
{
    return sValue.empty() ? Words().sNone : sPrefix + sValue;
}

std::string GetGroupCaption(const std::string& sCaption, std::int32_t lPropertyType,
                            std::int32_t lDateGroupBy, const std::string& sValue)
{
    const GridWords& w = Words();
    const std::string sHead = sCaption + ": ";
    switch (lDateGroupBy) {
    case 1:
        return sHead + ValueOrNone(w.sHour, sValue);
    case 2:
        return sHead + ValueOrNone(w.sDay, sValue);
    case 3:
        return sHead + ValueOrNone(w.sWeek, sValue);
    case 5:
        return sHead + ValueOrNone(w.sQuarter, sValue);
    default:
        break;
    }
    if (lPropertyType == 6) {
        return sHead + (sValue == "1" ? w.sYes : w.sNo);
    }
    return sHead + ValueOrNone("", sValue);
}

std::string FormatTotalCaption(std::int32_t lDataType, std::int32_t lCalculation,
                               rt::Variant& vValue, bool bShowFunctionName)
{
    std::string sText;
    rt::ResumeNext ignore;
    if (bShowFunctionName) {
        ignore([&] {
            const long lPosition = SubtotalToCalcIndex(lCalculation) + 1;
            sText = "[" + CalcFunctions().Item(lPosition) + "] ";
        });
    }
    if (lDataType == 7 && lCalculation != 4) {
        // The grid gives a date column's aggregate as its day number.
        ignore([&] {
            vValue = rt::IsNumeric(vValue) && !vValue.IsDate() ? rt::Date(rt::CDbl(vValue))
                                                               : rt::CDate(vValue);
        });
    }
    if (!vValue.IsDate() && !vValue.IsEmpty() && rt::IsNumeric(vValue)) {
        ignore([&] {
            vValue = rt::Format(rt::Variant(rt::CDbl(vValue)), lCalculation != 4 ? "0.00" : "0");
        });
    }
    if (lCalculation == 3) {
        ignore([&] {
            vValue =
                rt::Format(rt::IsNumeric(vValue) ? rt::Variant(rt::CDbl(vValue)) : vValue, "0.00") +
                " %";
        });
    }
    ignore([&] { sText += rt::CStr(vValue); });
    return sText;
}

std::int32_t CalcIndexToSubtotal(std::int32_t lPosition)
{
    if (lPosition < 0 || lPosition >= static_cast<std::int32_t>(kSubtotalOfPosition.size())) {
        return 0;
    }
    return kSubtotalOfPosition[static_cast<std::size_t>(lPosition)];
}

std::int32_t SubtotalToCalcIndex(std::int32_t lCode)
{
    if (lCode == 0) {
        return 0;
    }
    for (std::size_t i = 1; i < kSubtotalOfPosition.size(); ++i) {
        if (kSubtotalOfPosition[i] == lCode) {
            return static_cast<std::int32_t>(i);
        }
    }
    return 0;
}

void CollapseGridToLevel(forms::FlexGrid& fg, std::int32_t lState, std::int16_t iLevel)
{
    common::modMain::SuspendGridRedraw(&fg);
    rt::ResumeNext ignore;
    int lRows = 0;
    ignore([&] { lRows = fg.Rows(); });
    for (int r = 1; r < lRows; ++r) {
        ignore([&] {
            if (fg.IsSubtotal(r) && fg.RowOutlineLevel(r) >= iLevel) {
                fg.SetIsCollapsed(r, static_cast<forms::OutlineState>(lState));
            }
        });
    }
    ignore([&] { fg.SetRedraw(true); });
}

void SortGridAscending(forms::FlexGrid& fg)
{
    rt::ResumeNext ignore;
    ignore([&] { fg.Select(fg.FixedRows(), 0, fg.FixedRows(), fg.Cols() - 1); });
    ignore([&] { fg.Sort(forms::SortSetting::GenericAscending); });
}

void AutoSizeGrid(forms::FlexGrid& fg)
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (fg.Cols() > 0) {
            fg.AutoSize(0, fg.Cols() - 1);
        }
    });
}

} // namespace grid::Flexgrid2
