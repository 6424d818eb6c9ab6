#include "grid/detail/TimeTexts.h"

#include "platform/runtime/Conversion.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Format.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace grid::detail {
namespace rt = platform::runtime;

std::string FormatMinutes(std::int32_t lMinutes)
{
    const std::int64_t lHours = lMinutes / 60; // truncates toward zero
    const std::int64_t lRest = lMinutes - 60 * lHours;
    // Made in one buffer: every duration cell of a report takes one.
    char aText[32];
    char* p = aText;
    auto twoDigits = [&p, &aText](std::int64_t n) {
        if (n < 0) {
            *p++ = '-';
        }
        const std::uint64_t u = n < 0 ? 0 - static_cast<std::uint64_t>(n) : std::uint64_t(n);
        if (u < 10) {
            *p++ = '0';
        }
        p = std::to_chars(p, aText + sizeof aText, u).ptr;
    };
    twoDigits(lHours);
    *p++ = ':';
    twoDigits(lRest);
    return std::string(aText, p);
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

std::size_t TimeTextCache::FormatOf(bool bShowTime, const std::string& sFormat)
{
    // Runs of cells share a format; start where the previous look-up ended.
    for (std::size_t i = 0; i < m_Formats.size(); ++i) {
        const std::size_t n = (m_nLastFormat + i) % m_Formats.size();
        if (m_Formats[n].bShowTime == bShowTime && m_Formats[n].sFormat == sFormat) {
            m_nLastFormat = n;
            return n;
        }
    }
    m_nLastFormat = m_Formats.size();
    m_Formats.push_back(FormatTexts{bShowTime, sFormat, {}});
    return m_nLastFormat;
}

const std::string& TimeTextCache::Text(const rt::Variant& vValue, bool bShowTime,
                                       const std::string& sFormat)
{
    // Only a date value is its own key; a text that reads as a date is formatted each time.
    if (!vValue.IsDate()) {
        m_sLast = FormattedTime(vValue, bShowTime, sFormat);
        return m_sLast;
    }
    std::uint32_t nId = kNoId;
    return TextIn(m_Formats[FormatOf(bShowTime, sFormat)], vValue, nId);
}

const std::string& TimeTextCache::Text(std::size_t nFormat, const rt::Variant& vValue)
{
    std::uint32_t nId = kNoId;
    return Text(nFormat, vValue, nId);
}

const std::string& TimeTextCache::Text(std::size_t nFormat, const rt::Variant& vValue,
                                       std::uint32_t& nId)
{
    FormatTexts& oFormat = m_Formats.at(nFormat);
    nId = kNoId;
    if (!vValue.IsDate()) {
        m_sLast = FormattedTime(vValue, oFormat.bShowTime, oFormat.sFormat);
        return m_sLast;
    }
    return TextIn(oFormat, vValue, nId);
}

const std::string& TimeTextCache::TextIn(FormatTexts& oFormat, const rt::Variant& vValue,
                                         std::uint32_t& nId)
{
    auto& oTexts = oFormat.texts;
    const double dSerial = vValue.Get<rt::Date>()->Serial();
    nId = oTexts.Find(dSerial);
    if (nId != kNoId) {
        return oTexts.At(nId);
    }
    std::string sText = FormattedTime(vValue, oFormat.bShowTime, oFormat.sFormat);
    if (oTexts.Size() >= kLimit) {
        m_sLast = std::move(sText);
        return m_sLast;
    }
    nId = oTexts.Add(dSerial, std::move(sText));
    return oTexts.At(nId);
}

namespace {

std::uint64_t BitsOf(double d)
{
    std::uint64_t lBits = 0;
    std::memcpy(&lBits, &d, sizeof lBits);
    return lBits;
}

} // namespace

std::size_t TimeTextCache::TextsByValue::SlotOf(std::uint64_t lBits) const
{
    // Multiplicative hashing: the high bits of the product mix all bits of the value.
    const std::size_t nMask = m_Keys.size() - 1;
    std::size_t n = static_cast<std::size_t>((lBits * 0x9E3779B97F4A7C15ull) >> 32) & nMask;
    while (m_Index[n] != 0 && m_Keys[n] != lBits) {
        n = (n + 1) & nMask;
    }
    return n;
}

std::uint32_t TimeTextCache::TextsByValue::Find(double dSerial) const
{
    if (m_Keys.empty()) {
        return kNoId;
    }
    const std::size_t n = SlotOf(BitsOf(dSerial));
    return m_Index[n] - 1; // kNoId for a free slot
}

std::uint32_t TimeTextCache::TextsByValue::Add(double dSerial, std::string sText)
{
    if ((m_Texts.size() + 1) * 2 > m_Keys.size()) {
        Grow();
    }
    const std::uint64_t lBits = BitsOf(dSerial);
    const std::size_t n = SlotOf(lBits);
    m_Texts.push_back(std::move(sText));
    m_Keys[n] = lBits;
    m_Index[n] = static_cast<std::uint32_t>(m_Texts.size());
    return m_Index[n] - 1;
}

void TimeTextCache::TextsByValue::Grow()
{
    const std::vector<std::uint64_t> aKeys = std::move(m_Keys);
    const std::vector<std::uint32_t> aIndex = std::move(m_Index);
    const std::size_t nSize = aKeys.empty() ? 64 : aKeys.size() * 2;
    m_Keys.assign(nSize, 0);
    m_Index.assign(nSize, 0);
    for (std::size_t i = 0; i < aKeys.size(); ++i) {
        if (aIndex[i] != 0) {
            const std::size_t n = SlotOf(aKeys[i]);
            m_Keys[n] = aKeys[i];
            m_Index[n] = aIndex[i];
        }
    }
}

} // namespace grid::detail
