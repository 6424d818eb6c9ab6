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

namespace {

// The date a date cell shows of a value: none for a value that is no date, the zero date or
// a date after the year 4000.
std::optional<rt::Date> ShownDate(const rt::Variant& vValue)
{
    if (!vValue.IsDate() && !rt::IsDate(vValue)) {
        return std::nullopt;
    }
    const rt::Date d = rt::CDate(vValue);
    if (d.Serial() == 0.0 || rt::Year(d) > 4000) {
        return std::nullopt;
    }
    return d;
}

std::string ShortDate(rt::Date d)
{
    return rt::Format(rt::Variant(d), "Short Date");
}

// The time part of a cell's text: hours:minutes and the day-period designator of the
// locale's long time when it has one.
std::string TimeOfDay(rt::Date d)
{
    std::string sTime = rt::Format(rt::Variant(d), "Short Time");
    const std::string sLong = rt::Format(rt::Variant(d), "Long Time");
    const auto nLastDigit = sLong.find_last_of("0123456789");
    sTime.append(nLastDigit == std::string::npos ? sLong : sLong.substr(nLastDigit + 1));
    return sTime;
}

} // namespace

std::string FormattedTime(const rt::Variant& vValue, bool bShowTime, const std::string& sFormat)
{
    const std::optional<rt::Date> d = ShownDate(vValue);
    if (!d) {
        return {};
    }
    if (!sFormat.empty()) {
        return rt::Format(rt::Variant(*d), sFormat, rt::DayOfWeek::System,
                          rt::FirstWeekOfYear::System);
    }
    const std::string sDate = ShortDate(*d);
    if (!bShowTime) {
        return sDate;
    }
    return sDate + " " + TimeOfDay(*d);
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
    std::string sText = NewText(oFormat, vValue);
    if (oTexts.Size() >= kLimit) {
        m_sLast = std::move(sText);
        return m_sLast;
    }
    nId = oTexts.Add(dSerial, std::move(sText));
    return oTexts.At(nId);
}

std::string TimeTextCache::NewText(const FormatTexts& oFormat, const rt::Variant& vValue)
{
    if (!oFormat.sFormat.empty()) {
        return FormattedTime(vValue, oFormat.bShowTime, oFormat.sFormat);
    }
    // The short forms from a day's date text and a moment's time text: a report's dates
    // share their days and its times their hours, and each text costs a formatting.
    const std::optional<rt::Date> d = ShownDate(vValue);
    if (!d) {
        return {};
    }
    const rt::DateFields f = rt::Fields(*d);
    std::string sText =
        Part(m_DateParts, (f.year * 100 + f.month) * 100 + f.day, [&] { return ShortDate(*d); });
    if (oFormat.bShowTime) {
        sText += ' ';
        sText += Part(m_TimeParts, (f.hour * 60 + f.minute) * 60 + f.second,
                      [&] { return TimeOfDay(*d); });
    }
    return sText;
}

template <typename Make>
std::string TimeTextCache::Part(std::unordered_map<std::int32_t, std::string>& oParts,
                                std::int32_t lKey, Make make)
{
    if (const auto it = oParts.find(lKey); it != oParts.end()) {
        return it->second;
    }
    std::string sPart = make();
    if (oParts.size() < kLimit) {
        oParts.emplace(lKey, sPart);
    }
    return sPart;
}

namespace {

std::uint64_t BitsOf(double d)
{
    std::uint64_t lBits = 0;
    std::memcpy(&lBits, &d, sizeof lBits);
    return lBits;
}

// Mixes all bits of a value's bits into the low ones: round numbers and whole days have no
// low bits of their own, and a table indexed by them would put them all in a few places.
std::uint64_t Mixed(std::uint64_t lBits)
{
    lBits ^= lBits >> 33;
    lBits *= 0xFF51AFD7ED558CCDull;
    lBits ^= lBits >> 33;
    lBits *= 0xC4CEB9FE1A85EC53ull;
    lBits ^= lBits >> 33;
    return lBits;
}

} // namespace

std::size_t TimeTextCache::TextsByValue::SlotOf(std::uint64_t lBits) const
{
    const std::size_t nMask = m_Slots.size() - 1;
    std::size_t n = static_cast<std::size_t>(Mixed(lBits)) & nMask;
    while (m_Slots[n].nIndex != 0 && m_Slots[n].lBits != lBits) {
        n = (n + 1) & nMask;
    }
    return n;
}

std::uint32_t TimeTextCache::TextsByValue::Find(double dSerial) const
{
    if (m_Slots.empty()) {
        return kNoId;
    }
    return m_Slots[SlotOf(BitsOf(dSerial))].nIndex - 1; // kNoId for a free slot
}

std::uint32_t TimeTextCache::TextsByValue::Add(double dSerial, std::string sText)
{
    if ((m_Texts.size() + 1) * 2 > m_Slots.size()) {
        Grow();
    }
    const std::uint64_t lBits = BitsOf(dSerial);
    Slot& oSlot = m_Slots[SlotOf(lBits)];
    m_Texts.push_back(std::move(sText));
    oSlot = {lBits, static_cast<std::uint32_t>(m_Texts.size())};
    return oSlot.nIndex - 1;
}

void TimeTextCache::TextsByValue::Grow()
{
    std::vector<Slot> aOld(m_Slots.empty() ? 64 : m_Slots.size() * 2);
    aOld.swap(m_Slots);
    for (const Slot& oSlot : aOld) {
        if (oSlot.nIndex != 0) {
            m_Slots[SlotOf(oSlot.lBits)] = oSlot;
        }
    }
}

const std::string& NumberTexts::Text(double dValue)
{
    if (m_Entries.empty()) {
        m_Entries.resize(kSize);
    }
    const std::uint64_t lBits = BitsOf(dValue);
    Entry& oEntry = m_Entries[Mixed(lBits) & (kSize - 1)];
    if (!oEntry.bUsed || oEntry.lBits != lBits) {
        oEntry.sText = rt::CStr(rt::Variant(dValue));
        oEntry.lBits = lBits;
        oEntry.bUsed = true;
    }
    return oEntry.sText;
}

} // namespace grid::detail
