#pragma once

// The byte classes a person can give the host where it wants text, and a check that what the
// host prints holds none of them raw.
#include <string>
#include <vector>

namespace host_test {

/// The offset of the first byte of s that would give a terminal an order or is no text: a
/// control character other than line feed and tab, DEL, a C1 control, a byte outside
/// well-formed UTF-8; npos when there is none.
inline std::size_t RawControlAt(const std::string& s)
{
    for (std::size_t at = 0; at < s.size();) {
        const auto c = static_cast<unsigned char>(s[at]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\n' && c != '\t') || c == 0x7F)
                return at;
            ++at;
            continue;
        }
        std::size_t n = c >= 0xC2 && c <= 0xDF   ? 2
                        : c >= 0xE0 && c <= 0xEF ? 3
                        : c >= 0xF0 && c <= 0xF4 ? 4
                                                 : 0;
        if (n == 0 || at + n > s.size())
            return at;
        const auto second = static_cast<unsigned char>(s[at + 1]);
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) ||
            (c == 0xF0 && second < 0x90) || (c == 0xF4 && second > 0x8F) ||
            (c == 0xC2 && second <= 0x9F))
            return at;
        for (std::size_t i = 1; i < n; ++i)
            if ((static_cast<unsigned char>(s[at + i]) & 0xC0) != 0x80)
                return at;
        at += n;
    }
    return std::string::npos;
}

/// A text a person may give that the host must refuse, and the kind of its refusal.
struct BadText
{
    std::string sBytes;
    bool bUtf8; // a control character in well-formed UTF-8, else bytes that are not UTF-8
};

/// How a refusal names the first character of `bad`: "U+0001" for a character (its code point
/// worked out here by hand from the bytes), "\xFC" for the first byte of bytes that are not
/// UTF-8.
inline std::string NameOf(const BadText& bad)
{
    static const char kHex[] = "0123456789ABCDEF";
    const auto byte = [&bad](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(bad.sBytes[i])); };
    if (!bad.bUtf8)
        return std::string("\\x") + kHex[byte(0) >> 4] + kHex[byte(0) & 0xF];
    unsigned cp = byte(0);
    if (bad.sBytes.size() == 2)
        cp = ((cp & 0x1Fu) << 6) | (byte(1) & 0x3Fu);
    else if (bad.sBytes.size() == 3)
        cp = ((cp & 0x0Fu) << 12) | ((byte(1) & 0x3Fu) << 6) | (byte(2) & 0x3Fu);
    std::string s = "U+";
    for (int shift = 12; shift >= 0; shift -= 4)
        s += kHex[(cp >> shift) & 0xF];
    return s;
}

/// Every control character and every class of bytes that are not UTF-8.
inline std::vector<BadText> BadTexts()
{
    std::vector<BadText> v;
    for (int c = 0x00; c < 0x20; ++c)
        if (c != '\t' && c != '\n') // a tab is text; a line feed ends the line
            v.push_back({std::string(1, static_cast<char>(c)), true});
    v.push_back({"\x7F", true});
    for (int c = 0x80; c < 0xA0; ++c)
        v.push_back({"\xC2" + std::string(1, static_cast<char>(c)), true});
    for (const char* p : {"\xEF\xBF\xBE", "\xEF\xBF\xBF"})
        v.push_back({p, true});
    for (const char* p : {"\x80", "\x9B", "\xBF", "\xC0", "\xFC", "\xFE", "\xFF", "\xE2\x82",
                          "\xF5\x80\x80\x80", "\xF4\x90\x80\x80", // no lead; beyond U+10FFFF
                          "\xED\xA0\x80", "\xED\xBF\xBF",         // lone surrogates
                          "\xC0\xAF", "\xC1\x81", "\xE0\x80\xAF", "\xF0\x80\x80\xAF"}) // overlong
        v.push_back({p, false});
    return v;
}

} // namespace host_test
