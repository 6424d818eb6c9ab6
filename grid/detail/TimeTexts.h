#pragma once

#include "platform/runtime/Variant.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

/// The texts the report grid shows for dates and durations.
namespace grid::detail {

/// Whole minutes as hours and minutes, each at least two digits: 75 gives "01:15", 6000
/// gives "100:00"; negative minutes keep their sign in both parts' arithmetic.
std::string FormatMinutes(std::int32_t lMinutes);

/// The text of a date cell: empty for a value that is no date, the zero date or a date after
/// the year 4000 (the store's mark for "no date"); with sFormat, the date in that format
/// (week numbers by the locale's first day of week and first week of year); else the short
/// date, and with bShowTime a blank, hours:minutes and the day-period designator of the
/// locale's long time when it has one. Throws the runtime's errors of a bad format.
std::string FormattedTime(const platform::runtime::Variant& vValue, bool bShowTime,
                          const std::string& sFormat);

/// The date texts of one fill, remembered by value: a report shows the same moments many times
/// (every day's appointments at the same hours), and each text costs three formattings. Holds
/// at most a fixed number of texts per format so that a large fill stays small.
class TimeTextCache
{
public:
    /// FormattedTime(vValue, bShowTime, sFormat), from memory where the value was seen.
    const std::string& Text(const platform::runtime::Variant& vValue, bool bShowTime,
                            const std::string& sFormat);

    /// The handle of a format shown with or without the time, for a column that looks its
    /// format up once and then asks by handle. Handles stay valid for the cache's life.
    std::size_t FormatOf(bool bShowTime, const std::string& sFormat);

    /// Text(vValue, bShowTime, sFormat) for the format of a handle from FormatOf.
    const std::string& Text(std::size_t nFormat, const platform::runtime::Variant& vValue);

    /// No text number: the text was not remembered.
    static constexpr std::uint32_t kNoId = ~std::uint32_t(0);
    /// As Text(nFormat, vValue); nId receives the text's number among the remembered texts
    /// of the format (0, 1, ... in the order they were made), or kNoId. A remembered text
    /// stays where it is and keeps its number for the cache's life, so that a caller can
    /// keep what it derives from a text by its number.
    const std::string& Text(std::size_t nFormat, const platform::runtime::Variant& vValue,
                            std::uint32_t& nId);

private:
    /// Texts by date value: an open-addressed table on the value's bits, since a fill asks
    /// for every date cell and node-based maps spent more time than the texts' making.
    class TextsByValue
    {
    public:
        /// The number of a value's text, or kNoId when it has none yet.
        std::uint32_t Find(double dSerial) const;
        /// Remembers the text of a value that has none yet; returns its number.
        std::uint32_t Add(double dSerial, std::string sText);
        const std::string& At(std::uint32_t nId) const { return m_Texts[nId]; }
        std::size_t Size() const { return m_Texts.size(); }

    private:
        std::size_t SlotOf(std::uint64_t lBits) const;
        void Grow();

        // A value's bits and 1 + its text's place in m_Texts (0: free), side by side so that
        // a look-up touches one place.
        struct Slot
        {
            std::uint64_t lBits = 0;
            std::uint32_t nIndex = 0;
        };
        std::vector<Slot> m_Slots;
        std::deque<std::string> m_Texts; // a deque: texts handed out stay where they are
    };

    /// The texts of one format, shown with or without the time.
    struct FormatTexts
    {
        bool bShowTime;
        std::string sFormat;
        TextsByValue texts;
    };

    /// The text of a date value in a format, from memory where the value was seen.
    const std::string& TextIn(FormatTexts& oFormat, const platform::runtime::Variant& vValue,
                              std::uint32_t& nId);
    /// FormattedTime for a value not seen before.
    std::string NewText(const FormatTexts& oFormat, const platform::runtime::Variant& vValue);
    /// A part of a text by its key, made by make() where it is not remembered.
    template <typename Make>
    std::string Part(std::unordered_map<std::int32_t, std::string>& oParts, std::int32_t lKey,
                     Make make);

    static constexpr std::size_t kLimit = 1 << 16;
    std::vector<FormatTexts> m_Formats;
    std::size_t m_nLastFormat = 0; // where the previous look-up found its format
    std::string m_sLast;           // the text of a value that was not remembered
    // The short date of a day by year, month and day, and the time of a moment by its second
    // of the day, for the texts without a format of their own.
    std::unordered_map<std::int32_t, std::string> m_DateParts;
    std::unordered_map<std::int32_t, std::string> m_TimeParts;
};

/// The texts of floating-point numbers of one fill (the runtime's general form), remembered
/// by value in a small table: reports repeat their amounts, and each text costs a conversion.
/// A value whose place holds another one is converted again.
class NumberTexts
{
public:
    /// The text of a number, as the runtime's text conversion gives it.
    const std::string& Text(double dValue);

private:
    struct Entry
    {
        std::uint64_t lBits = 0;
        bool bUsed = false;
        std::string sText;
    };
    static constexpr std::size_t kSize = 1024;
    std::vector<Entry> m_Entries; // kSize places, made on first use
};

} // namespace grid::detail
