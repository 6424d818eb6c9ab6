#include "grid/detail/TimeTexts.h"

#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Format.h"

#include <cstdlib>

namespace grid::detail {
namespace rt = platform::runtime;

std::string FormatMinutes(std::int32_t lMinutes)
{
    const std::int64_t lHours = lMinutes / 60; // truncates toward zero
    const std::int64_t lRest = lMinutes - 60 * lHours;
    auto twoDigits = [](std::int64_t n) {
        std::string s = std::to_string(std::llabs(n));
        if (s.size() < 2) {
            s.insert(0, 2 - s.size(), '0');
        }
        return n < 0 ? "-" + s : s;
    };
    return twoDigits(lHours) + ":" + twoDigits(lRest);
}

std::string FormattedTime(const rt::Variant& vValue, bool bShowTime, const std::string& sFormat)
{
    if (!vValue.IsDate() && !rt::IsDate(vValue)) {
        return {};
    }
    const rt::Date d = rt::CDate(vValue);
    if (d.Serial() == 0.0 || rt::Year(d) > 4000) {
        return {};
    }
    if (!sFormat.empty()) {
        return rt::Format(rt::Variant(d), sFormat, rt::DayOfWeek::System,
                          rt::FirstWeekOfYear::System);
    }
    const std::string sDate = rt::Format(rt::Variant(d), "Short Date");
    if (!bShowTime) {
        return sDate;
    }
    const std::string sTime = rt::Format(rt::Variant(d), "Short Time");
    const std::string sLong = rt::Format(rt::Variant(d), "Long Time");
    const auto nLastDigit = sLong.find_last_of("0123456789");
    const std::string sSuffix =
        nLastDigit == std::string::npos ? sLong : sLong.substr(nLastDigit + 1);
    return sDate + " " + sTime + sSuffix;
}

const std::string& TimeTextCache::Text(const rt::Variant& vValue, bool bShowTime,
                                       const std::string& sFormat)
{
    // Only a date value is its own key; a text that reads as a date is formatted each time.
    if (!vValue.IsDate()) {
        m_sLast = FormattedTime(vValue, bShowTime, sFormat);
        return m_sLast;
    }
    auto& oTexts = m_Texts[(bShowTime ? "1" : "0") + sFormat];
    const double dSerial = vValue.Get<rt::Date>()->Serial();
    if (const auto it = oTexts.find(dSerial); it != oTexts.end()) {
        return it->second;
    }
    std::string sText = FormattedTime(vValue, bShowTime, sFormat);
    if (oTexts.size() >= kLimit) {
        m_sLast = std::move(sText);
        return m_sLast;
    }
    return oTexts.emplace(dSerial, std::move(sText)).first->second;
}

} // namespace grid::detail
