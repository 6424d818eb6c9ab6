#include "platform/forms/detail/CellValues.h"

#include "platform/forms/FlexGridTypes.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace platform::forms::detail {
namespace {

std::string ToUtf8(const icu::UnicodeString& s)
{
    std::string out;
    s.toUTF8String(out);
    return out;
}

icu::UnicodeString FromUtf8(std::string_view text)
{
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int32_t(text.size())));
}

/// The separators and the short date order of the process's current locale, looked up again
/// when the process switches locale.
struct LocaleForms
{
    const platform::locale::Settings* settings = nullptr;
    std::uint32_t generation = 0;
    std::string decimal = ".";
    std::string group = ",";
    std::array<char, 3> dateOrder{'M', 'd', 'y'};
    std::string am = "am", pm = "pm";

    static const LocaleForms& Current()
    {
        thread_local LocaleForms forms;
        const platform::locale::Settings& current = platform::locale::Current();
        if (forms.settings != &current) {
            forms.Load(current);
        }
        return forms;
    }

private:
    void Load(const platform::locale::Settings& s)
    {
        // Numbers of one process-wide sequence, so that a value read under one thread's forms
        // never passes for one read under another's.
        static std::atomic<std::uint32_t> loads{0};
        generation = ++loads;
        settings = &s;
        decimal = s.decimalSeparator;
        group = s.groupingSeparator;
        am = FoldCase(s.amDesignator);
        pm = FoldCase(s.pmDesignator);
        std::string order;
        for (char c : s.shortDatePattern) {
            const char letter = (c == 'd' || c == 'M' || c == 'y') ? c : 0;
            if (letter != 0 && order.find(letter) == std::string::npos) {
                order += letter;
            }
        }
        if (order.size() == 3) {
            dateOrder = {order[0], order[1], order[2]};
        }
    }
};

icu::Collator& GermanCollator()
{
    thread_local std::unique_ptr<icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("de"), status));
        if (U_FAILURE(status) || !c) {
            platform::runtime::Raise(platform::runtime::errors::InvalidProcedureCall, "FlexGrid",
                                     "The German text collation could not be opened");
        }
        c->setStrength(icu::Collator::SECONDARY);
        return c;
    }();
    return *collator;
}

bool IsAscii(std::string_view s)
{
    for (unsigned char c : s) {
        if (c >= 0x80) {
            return false;
        }
    }
    return true;
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Days since 1899-12-30 of a civil date (proleptic Gregorian).
double DaySerial(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days1970 = long(era) * 146097 + doe - 719468;
    return double(days1970 + 25569);
}

int DaysInMonth(int y, int m)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

struct DateTokens
{
    std::vector<int> numbers;
    std::vector<int> digits;          // how many digits each number was written with
    std::vector<char> separatorAfter; // the first separator character after each number
    int meridiem = 0;                 // 1 AM, 2 PM
};

std::optional<DateTokens> Tokenize(std::string_view text)
{
    DateTokens t;
    size_t i = 0;
    while (i < text.size()) {
        if (IsDigit(text[i])) {
            int value = 0;
            size_t start = i;
            while (i < text.size() && IsDigit(text[i]) && i - start < 6) {
                value = value * 10 + (text[i] - '0');
                ++i;
            }
            t.numbers.push_back(value);
            t.digits.push_back(int(i - start));
            t.separatorAfter.push_back(i < text.size() ? text[i] : 0);
        } else if (std::isalpha(static_cast<unsigned char>(text[i])) != 0) {
            std::string word;
            while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])) != 0) {
                word += Lower(text[i++]);
            }
            const LocaleForms& forms = LocaleForms::Current();
            if (word == "am" || word == forms.am) {
                t.meridiem = 1;
            } else if (word == "pm" || word == forms.pm) {
                t.meridiem = 2;
            } else {
                return std::nullopt;
            }
        } else if (text[i] == '.' || text[i] == '/' || text[i] == '-' || text[i] == ':' ||
                   text[i] == ' ') {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return t;
}

std::optional<double> TimeFraction(const std::vector<int>& n, size_t from, int meridiem)
{
    const size_t count = n.size() - from;
    if (count == 0) {
        return 0.0;
    }
    if (count < 2 || count > 3) {
        return std::nullopt;
    }
    int h = n[from], m = n[from + 1], s = count == 3 ? n[from + 2] : 0;
    // Hours from 1 to 12 read on the 12-hour clock. Report texts also write a 24-hour time
    // with the designator after it ("14:15 PM", "00:30 AM"): an hour of 0 or above 12 is
    // already on the 24-hour clock and the designator adds nothing.
    if (meridiem != 0 && h >= 1 && h <= 12) {
        h = h % 12 + (meridiem == 2 ? 12 : 0);
    }
    if (h > 23 || m > 59 || s > 59) {
        return std::nullopt;
    }
    return (h * 3600.0 + m * 60.0 + s) / 86400.0;
}

// The common case without a copy: an optional minus sign, digits, and at most one decimal
// separator followed by digits. None for anything else (group separators, a plus sign,
// exponents), which the general reading below handles.
std::optional<double> ParsePlainNumber(std::string_view text, std::string_view decimal)
{
    std::array<char, 64> plain{};
    if (text.size() >= plain.size()) {
        return std::nullopt;
    }
    size_t at = 0, i = 0;
    if (text[0] == '-') {
        plain[at++] = '-';
        ++i;
    }
    bool digits = false, point = false;
    while (i < text.size()) {
        const char c = text[i];
        if (IsDigit(c)) {
            plain[at++] = c;
            digits = true;
            ++i;
        } else if (!point && !decimal.empty() && text.compare(i, decimal.size(), decimal) == 0) {
            plain[at++] = '.';
            point = true;
            i += decimal.size();
        } else {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + at, value);
    if (ec != std::errc() || ptr != plain.data() + at) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<double> ParseNumber(std::string_view text)
{
    text = Trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    const LocaleForms& forms = LocaleForms::Current();
    if (auto plain = ParsePlainNumber(text, forms.decimal)) {
        return plain;
    }
    std::string plain;
    plain.reserve(text.size());
    bool digitSeen = false, decimalSeen = false;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, forms.decimal.size(), forms.decimal) == 0) {
            plain += '.';
            decimalSeen = true;
            i += forms.decimal.size();
        } else if (digitSeen && !decimalSeen && !forms.group.empty() &&
                   text.compare(i, forms.group.size(), forms.group) == 0) {
            // A group separator stands between digits before three more digits.
            const size_t next = i + forms.group.size();
            size_t digits = 0;
            while (next + digits < text.size() && IsDigit(text[next + digits])) {
                ++digits;
            }
            if (digits != 3) {
                return std::nullopt;
            }
            i = next;
        } else {
            const char c = text[i++];
            digitSeen = digitSeen || IsDigit(c);
            if (c == '+' && plain.empty()) {
                continue;
            }
            plain += c;
        }
    }
    double value = 0;
    const char* end = plain.data() + plain.size();
    auto [ptr, ec] = std::from_chars(plain.data(), end, value);
    if (ec != std::errc() || ptr != end || !digitSeen) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseDate(std::string_view text)
{
    if (auto serial = ParseNumericDate(text)) {
        return serial;
    }
    // Dates written with names (months, days) are the runtime's to read. Digits and separators
    // alone are a date only in the numeric form above: the runtime would take a number of the
    // other locale's form ("7,5" in English) for a day of the current year.
    const bool named = std::any_of(text.begin(), text.end(), [](char ch) {
        return static_cast<unsigned char>(ch) >= 0x80 ||
               std::isalpha(static_cast<unsigned char>(ch));
    });
    const platform::runtime::Variant value{std::string(text)};
    if (named && platform::runtime::IsDate(value)) {
        return platform::runtime::CDate(value).Serial();
    }
    return std::nullopt;
}

std::optional<double> ParseNumericDate(std::string_view text)
{
    text = Trim(text);
    if (text.empty() || !IsDigit(text.front())) {
        return std::nullopt;
    }
    auto tokens = Tokenize(text);
    if (!tokens || tokens->numbers.size() < 2) {
        return std::nullopt;
    }
    const auto& n = tokens->numbers;
    if (tokens->separatorAfter[0] == ':') {
        return TimeFraction(n, 0, tokens->meridiem);
    }
    if (n.size() < 3) {
        return std::nullopt;
    }
    // A date that starts with its year is an ISO date, whatever the locale's order.
    const std::array<char, 3> iso{'y', 'M', 'd'};
    const auto& order = tokens->digits[0] >= 3 ? iso : LocaleForms::Current().dateOrder;
    int y = 0, m = 0, d = 0;
    for (size_t i = 0; i < 3; ++i) {
        (order[i] == 'y' ? y : order[i] == 'M' ? m : d) = n[i];
    }
    if (y < 100) {
        y += y < 30 ? 2000 : 1900;
    }
    if (m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m) || y > 9999) {
        return std::nullopt;
    }
    auto time = TimeFraction(n, 3, tokens->meridiem);
    if (!time) {
        return std::nullopt;
    }
    const double day = DaySerial(y, m, d);
    // Serials before 1899-12-30 carry the time as a positive fraction below the negative day.
    return day >= 0 ? day + *time : day - *time;
}

std::string FormatNumber(double value)
{
    if (value == 0) {
        return "0";
    }
    // to_chars with a precision formats as printf would in the C locale, without its locale
    // look-ups: whole numbers as %.0f, the rest as %.15g.
    std::array<char, 64> buffer{};
    const bool whole = std::fabs(value) < 1e15 && value == std::trunc(value);
    const auto result = whole ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                              std::chars_format::fixed, 0)
                              : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                              std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    if (auto pos = text.find('.'); pos != std::string::npos) {
        text.replace(pos, 1, LocaleForms::Current().decimal);
    }
    return text;
}

std::string CollationKey(std::string_view text)
{
    icu::Collator& collator = GermanCollator();
    const icu::UnicodeString s = FromUtf8(text);
    std::string key(text.size() * 2 + 16, '\0');
    int32_t length =
        collator.getSortKey(s, reinterpret_cast<uint8_t*>(key.data()), int32_t(key.size()));
    if (length > int32_t(key.size())) {
        key.resize(size_t(length));
        length = collator.getSortKey(s, reinterpret_cast<uint8_t*>(key.data()), length);
    }
    key.resize(length > 0 ? size_t(length) - 1 : 0); // without the terminating zero
    return key;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a == b) {
        return true;
    }
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size()) {
            return false;
        }
        for (size_t i = 0; i < a.size(); ++i) {
            if (Lower(a[i]) != Lower(b[i])) {
                return false;
            }
        }
        return true;
    }
    UErrorCode status = U_ZERO_ERROR;
    return GermanCollator().compareUTF8(icu::StringPiece(a.data(), int32_t(a.size())),
                                        icu::StringPiece(b.data(), int32_t(b.size())),
                                        status) == UCOL_EQUAL;
}

std::string FoldCase(std::string_view text)
{
    std::string out;
    AppendFolded(out, text);
    return out;
}

void AppendFolded(std::string& out, std::string_view text)
{
    if (IsAscii(text)) {
        const std::size_t at = out.size();
        out.append(text);
        std::transform(out.begin() + std::ptrdiff_t(at), out.end(),
                       out.begin() + std::ptrdiff_t(at), Lower);
        return;
    }
    out += ToUtf8(FromUtf8(text).foldCase());
}

bool FoldedMatches(std::string_view text, std::string_view folded, bool wholeCell)
{
    // A search walks every cell of a large grid: the ASCII cells, nearly all of them, need no
    // copy. A folded needle that is not ASCII (folding keeps ASCII as ASCII) cannot be in them.
    if (IsAscii(text)) {
        if (!IsAscii(folded)) {
            return false;
        }
        const auto same = [](char a, char b) { return Lower(a) == b; };
        if (wholeCell) {
            return text.size() == folded.size() &&
                   std::equal(text.begin(), text.end(), folded.begin(), same);
        }
        return std::search(text.begin(), text.end(), folded.begin(), folded.end(), same) !=
                   text.end() ||
               folded.empty();
    }
    const std::string cell = FoldCase(text);
    return wholeCell ? cell == folded : cell.find(folded) != std::string::npos;
}

bool ContainsText(std::string_view haystack, std::string_view needle, bool caseSensitive)
{
    if (caseSensitive) {
        return haystack.find(needle) != std::string_view::npos;
    }
    return FoldCase(haystack).find(FoldCase(needle)) != std::string::npos;
}

std::uint32_t LocaleFormsGeneration()
{
    return LocaleForms::Current().generation;
}

bool IsNumericType(int type)
{
    switch (type) {
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::Currency:
    case ColumnType::Boolean:
    case ColumnType::Decimal:
    case 16: // signed byte
    case 17: // byte
    case 18: // unsigned 16-bit
    case 19: // unsigned 32-bit
    case 20: // 64-bit
        return true;
    default:
        return false;
    }
}

int CharCount(std::string_view text)
{
    int count = 0;
    for (unsigned char c : text) {
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

} // namespace platform::forms::detail
