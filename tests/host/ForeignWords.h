#pragma once

// Finds lines of the other language in what the host says: words that only English or only
// German uses and that are never command words (those stay as they are in both languages).
#include <cctype>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace host_test {

/// The lowered words of a text: runs of letters (bytes above 127 count as letters, so that
/// umlauts stay inside their words).
inline std::vector<std::string> WordsOf(const std::string& sText)
{
    std::vector<std::string> vWords(1);
    for (const char c : sText) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalpha(u) || u >= 0x80)
            vWords.back() += static_cast<char>(std::tolower(u));
        else if (!vWords.back().empty())
            vWords.emplace_back();
    }
    return vWords;
}

/// The first word of a line that only the other language uses, or "" when there is none.
inline std::string ForeignWord(const std::string& sLine, bool bGerman)
{
    static const std::set<std::string> kEnglish = {
        "the", "is",  "not",   "there", "cannot", "of",   "and",  "was",   "this",  "are",  "for",
        "has", "its", "which", "been",  "could",  "does", "says", "shown", "takes", "found"};
    static const std::set<std::string> kGerman = {
        "der",  "die",  "das", "ist", "nicht", "kein", "keine", "und",    "wird",  "sie", "ein",
        "eine", "oder", "mit", "für", "den",   "dem",  "zum",   "werden", "nimmt", "gibt"};
    const auto& kOther = bGerman ? kEnglish : kGerman;
    for (const auto& sWord : WordsOf(sLine))
        if (kOther.count(sWord) > 0)
            return sWord;
    return {};
}

/// Every line of the text that holds a word of the other language, each with that word.
inline std::string ForeignLines(const std::string& sText, bool bGerman)
{
    std::istringstream in(sText);
    std::string sFound;
    for (std::string sLine; std::getline(in, sLine);)
        if (const auto sWord = ForeignWord(sLine, bGerman); !sWord.empty())
            sFound += "[" + sWord + "] " + sLine + "\n";
    return sFound;
}

} // namespace host_test
