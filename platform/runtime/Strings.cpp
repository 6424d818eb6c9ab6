#include "platform/runtime/Strings.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"

#include <unicode/coll.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <memory>

namespace platform::runtime {

namespace {

std::u32string Decode(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        UChar32 c = 0;
        U8_NEXT_OR_FFFD(s, i, length, c);
        out += static_cast<char32_t>(c);
    }
    return out;
}

std::string Encode(std::u32string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        uint8_t buffer[U8_MAX_LENGTH];
        int32_t n = 0;
        U8_APPEND_UNSAFE(buffer, n, static_cast<UChar32>(c));
        out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
    }
    return out;
}

// Simple (one-to-one) folding keeps character positions, which InStr and Split report.
std::u32string Folded(std::u32string text)
{
    for (char32_t& c : text) {
        c = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
    }
    return text;
}

std::u32string ForCompare(std::string_view text, CompareMethod compare)
{
    std::u32string decoded = Decode(text);
    return compare == CompareMethod::Text ? Folded(std::move(decoded)) : decoded;
}

// The byte offset of character `index` (0-based), or the text's size beyond its end.
std::size_t ByteOffset(std::string_view text, std::int64_t index)
{
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    for (std::int64_t n = 0; n < index && i < length; ++n) {
        U8_FWD_1(s, i, length);
    }
    return static_cast<std::size_t>(i);
}

std::string MapCase(std::string_view text, UChar32 (*map)(UChar32))
{
    std::u32string decoded = Decode(text);
    for (char32_t& c : decoded) {
        c = static_cast<char32_t>(map(static_cast<UChar32>(c)));
    }
    return Encode(decoded);
}

bool IsAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
}

// Texts of ASCII letters and digits order alike in the collations of German and English:
// digits before letters, letters in alphabetical order, letter case ignored. Anything else
// (other characters, other languages) is the collator's to order; none then.
std::optional<int> CompareAsciiText(std::string_view a, std::string_view b)
{
    const std::string& language = platform::locale::Current().name;
    if (language.rfind("de", 0) != 0 && language.rfind("en", 0) != 0) {
        return std::nullopt;
    }
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char ca = AsciiLower(a[i]), cb = AsciiLower(b[i]);
        if (!IsAsciiAlnum(ca) || !IsAsciiAlnum(cb)) {
            return std::nullopt;
        }
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    const std::string_view rest = a.size() > b.size() ? a.substr(common) : b.substr(common);
    for (const char c : rest) {
        if (!IsAsciiAlnum(AsciiLower(c))) {
            return std::nullopt;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

icu::Collator& TextCollator()
{
    // Collators are not shared between threads; each thread keeps its own per locale.
    thread_local std::string name;
    thread_local std::unique_ptr<icu::Collator> collator;
    const std::string& current = platform::locale::Current().name;
    if (!collator || name != current) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> created(
            icu::Collator::createInstance(icu::Locale::forLanguageTag(current, status), status));
        if (U_FAILURE(status) || !created) {
            Raise(errors::InternalError, "platform::runtime", "No collation for " + current);
        }
        created->setStrength(icu::Collator::SECONDARY); // case-blind, accent-aware
        collator = std::move(created);
        name = current;
    }
    return *collator;
}

std::int64_t FindFrom(const std::u32string& text, const std::u32string& find, std::size_t from)
{
    const std::size_t at = text.find(find, from);
    return at == std::u32string::npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

} // namespace

std::int64_t Len(std::string_view text)
{
    return static_cast<std::int64_t>(Decode(text).size());
}

std::string Left(std::string_view text, std::int64_t length)
{
    if (length < 0) {
        Raise(errors::InvalidProcedureCall);
    }
    return std::string(text.substr(0, ByteOffset(text, length)));
}

std::string Right(std::string_view text, std::int64_t length)
{
    if (length < 0) {
        Raise(errors::InvalidProcedureCall);
    }
    const std::int64_t total = Len(text);
    return length >= total ? std::string(text)
                           : std::string(text.substr(ByteOffset(text, total - length)));
}

std::string Mid(std::string_view text, std::int64_t start, std::optional<std::int64_t> length)
{
    if (start < 1 || (length && *length < 0)) {
        Raise(errors::InvalidProcedureCall);
    }
    const std::size_t from = ByteOffset(text, start - 1);
    std::string_view rest = text.substr(from);
    if (length) {
        rest = rest.substr(0, ByteOffset(rest, *length));
    }
    return std::string(rest);
}

std::string LTrim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string RTrim(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string Trim(std::string_view text)
{
    return LTrim(RTrim(text));
}

std::string LCase(std::string_view text)
{
    return MapCase(text, u_tolower);
}

std::string UCase(std::string_view text)
{
    return MapCase(text, u_toupper);
}

std::string Space(std::int64_t count)
{
    if (count < 0) {
        Raise(errors::InvalidProcedureCall);
    }
    return std::string(static_cast<std::size_t>(count), ' ');
}

std::string Repeat(std::int64_t count, std::string_view character)
{
    if (count < 0 || character.empty()) {
        Raise(errors::InvalidProcedureCall);
    }
    const std::string one = Left(character, 1);
    std::string out;
    out.reserve(one.size() * static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        out += one;
    }
    return out;
}

std::string Chr(std::int64_t code)
{
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        Raise(errors::InvalidProcedureCall);
    }
    return Encode(std::u32string(1, static_cast<char32_t>(code)));
}

std::int32_t Asc(std::string_view text)
{
    if (text.empty()) {
        Raise(errors::InvalidProcedureCall);
    }
    return static_cast<std::int32_t>(Decode(Left(text, 1)).front());
}

std::string StrReverse(std::string_view text)
{
    std::u32string decoded = Decode(text);
    return Encode(std::u32string(decoded.rbegin(), decoded.rend()));
}

std::int64_t InStr(std::int64_t start, std::string_view text, std::string_view find,
                   CompareMethod compare)
{
    if (start < 1) {
        Raise(errors::InvalidProcedureCall);
    }
    const std::u32string haystack = ForCompare(text, compare);
    if (haystack.empty()) {
        return 0;
    }
    if (find.empty()) {
        return start <= static_cast<std::int64_t>(haystack.size()) + 1 ? start : 0;
    }
    if (start > static_cast<std::int64_t>(haystack.size())) {
        return 0;
    }
    return FindFrom(haystack, ForCompare(find, compare), static_cast<std::size_t>(start - 1));
}

std::int64_t InStr(std::string_view text, std::string_view find, CompareMethod compare)
{
    return InStr(1, text, find, compare);
}

std::int64_t InStrRev(std::string_view text, std::string_view find, std::int64_t start,
                      CompareMethod compare)
{
    if (start == 0 || start < -1) {
        Raise(errors::InvalidProcedureCall);
    }
    const std::u32string haystack = ForCompare(text, compare);
    const auto length = static_cast<std::int64_t>(haystack.size());
    if (start == -1) {
        start = length;
    }
    if (start > length) {
        return 0;
    }
    if (find.empty()) {
        return start;
    }
    const std::u32string needle = ForCompare(find, compare);
    const auto needleLength = static_cast<std::int64_t>(needle.size());
    if (needleLength > start) {
        return 0;
    }
    const std::size_t at = haystack.rfind(needle, static_cast<std::size_t>(start - needleLength));
    return at == std::u32string::npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

std::vector<std::string> Split(std::string_view text, std::string_view delimiter,
                               std::int64_t limit, CompareMethod compare)
{
    if (limit < -1) {
        Raise(errors::InvalidProcedureCall);
    }
    std::vector<std::string> parts;
    if (text.empty() || limit == 0) {
        return parts;
    }
    if (delimiter.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    const std::u32string original = Decode(text);
    const std::u32string haystack = ForCompare(text, compare);
    const std::u32string needle = ForCompare(delimiter, compare);
    std::size_t from = 0;
    while (limit == -1 || static_cast<std::int64_t>(parts.size()) < limit - 1) {
        const std::size_t at = haystack.find(needle, from);
        if (at == std::u32string::npos) {
            break;
        }
        parts.push_back(Encode(std::u32string_view(original).substr(from, at - from)));
        from = at + needle.size();
    }
    parts.push_back(Encode(std::u32string_view(original).substr(from)));
    return parts;
}

std::string Join(const std::vector<std::string>& parts, std::string_view delimiter)
{
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            out += delimiter;
        }
        out += parts[i];
    }
    return out;
}

std::string Replace(std::string_view text, std::string_view find, std::string_view replacement,
                    std::int64_t start, std::int64_t count, CompareMethod compare)
{
    if (start < 1 || count < -1) {
        Raise(errors::InvalidProcedureCall);
    }
    const std::u32string original = Decode(text);
    if (start > static_cast<std::int64_t>(original.size())) {
        return {};
    }
    const auto first = static_cast<std::size_t>(start - 1);
    if (find.empty() || count == 0) {
        return Encode(std::u32string_view(original).substr(first));
    }
    const std::u32string haystack = compare == CompareMethod::Text ? Folded(original) : original;
    const std::u32string needle = ForCompare(find, compare);
    std::string out;
    std::size_t from = first;
    for (std::int64_t done = 0; count == -1 || done < count; ++done) {
        const std::size_t at = haystack.find(needle, from);
        if (at == std::u32string::npos) {
            break;
        }
        out += Encode(std::u32string_view(original).substr(from, at - from));
        out += replacement;
        from = at + needle.size();
    }
    out += Encode(std::u32string_view(original).substr(from));
    return out;
}

int StrComp(std::string_view a, std::string_view b, CompareMethod compare)
{
    if (compare == CompareMethod::Binary) {
        const int result = a.compare(b); // UTF-8 byte order is code point order
        return result < 0 ? -1 : (result > 0 ? 1 : 0);
    }
    if (const auto fast = CompareAsciiText(a, b)) {
        return *fast;
    }
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result = TextCollator().compareUTF8(
        icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
        icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
}

std::string FoldCase(std::string_view text)
{
    // ASCII folds onto ASCII letter by letter; only other texts need the decoding.
    if (IsAscii(text)) {
        std::string folded(text);
        for (char& c : folded) {
            c = AsciiLower(c);
        }
        return folded;
    }
    return Encode(Folded(Decode(text)));
}

bool TextEquals(std::string_view a, std::string_view b)
{
    // Case folding maps some characters beyond ASCII onto ASCII letters (the Kelvin sign onto
    // "k"), so only two ASCII texts may skip it.
    if (IsAscii(a) && IsAscii(b)) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (AsciiLower(a[i]) != AsciiLower(b[i])) {
                return false;
            }
        }
        return true;
    }
    return Folded(Decode(a)) == Folded(Decode(b));
}

} // namespace platform::runtime
