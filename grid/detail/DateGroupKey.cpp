#include "grid/detail/DateGroupKey.h"

#include "platform/runtime/Format.h"
#include "platform/runtime/Variant.h"

namespace grid::detail {
namespace rt = platform::runtime;

std::optional<DateGrouping> DateGroupingOf(long lDateGroupBy)
{
    switch (lDateGroupBy) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 6:
        return DateGrouping{3, 0};
    case 4:
        return DateGrouping{8, 4};
    case 7:
        return DateGrouping{8, 3};
    default:
        return std::nullopt;
    }
}

std::optional<std::string> DateGroupKey(rt::Date dtValue, long lDateGroupBy)
{
    const char* sPattern = nullptr;
    switch (lDateGroupBy) {
    case 1:
        sPattern = "hh";
        break;
    case 2:
        sPattern = "dd";
        break;
    case 3:
        sPattern = "ww";
        break;
    case 4:
        sPattern = "mm mmmm";
        break;
    case 5: {
        const int lMonth = rt::Month(dtValue);
        return std::to_string(lMonth <= 3 ? 1 : lMonth <= 6 ? 2 : lMonth <= 9 ? 3 : 4);
    }
    case 6:
        sPattern = "yyyy";
        break;
    case 7:
        sPattern = "w dddd";
        break;
    default:
        return std::nullopt;
    }
    return rt::Format(rt::Variant(dtValue), sPattern, rt::DayOfWeek::System,
                      rt::FirstWeekOfYear::System);
}

} // namespace grid::detail
