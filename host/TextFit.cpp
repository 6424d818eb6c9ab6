#include "host/TextFit.h"

#include "host/AnswerSource.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <unordered_map>

namespace host {

namespace {

constexpr int kDefaultWidth = 120;
constexpr int kNarrowest = 40;

bool Continues(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

int TextWidth(const std::string& s)
{
    return static_cast<int>(
        std::count_if(s.begin(), s.end(), [](char c) { return !Continues(c); }));
}

std::string FitText(const std::string& s, int width)
{
    if (TextWidth(s) <= width)
        return s;
    if (width <= 0)
        return {};
    // Keep width - 1 code points and the ellipsis.
    int kept = 0;
    std::size_t at = 0;
    for (; at < s.size(); ++at) {
        if (!Continues(s[at])) {
            if (kept == width - 1)
                break;
            ++kept;
        }
    }
    return s.substr(0, at) + "\xe2\x80\xa6";
}

namespace {

// The code points among the n bytes of s from `from`.
int CodePoints(const std::string& s, std::size_t from, std::size_t n)
{
    const auto first = s.begin() + static_cast<std::ptrdiff_t>(from);
    return static_cast<int>(std::count_if(first, first + static_cast<std::ptrdiff_t>(n),
                                          [](char c) { return !Continues(c); }));
}

// The first `columns` code points of s (all of it when shorter), as bytes.
std::size_t BytesOf(const std::string& s, std::size_t from, int columns)
{
    std::size_t at = from;
    int kept = 0;
    for (; at < s.size(); ++at)
        if (!Continues(s[at]) && kept++ == columns)
            break;
    return at - from;
}

std::string WrapLine(const std::string& line, int width)
{
    if (TextWidth(line) <= width)
        return line + "\n";
    const std::size_t lead = std::min(line.find_first_not_of(' '), line.size());
    const int indent = std::min(static_cast<int>(lead) + 2, width / 2);
    std::string out;
    std::string current = line.substr(0, lead);
    const std::string prefix(static_cast<std::size_t>(indent), ' ');
    std::size_t at = lead;
    bool first = true;
    while (at < line.size()) {
        const std::size_t blank = std::min(line.find(' ', at), line.size());
        std::string word = line.substr(at, blank - at);
        at = std::min(blank + 1, line.size());
        const int room = width - TextWidth(current);
        const bool empty = current.size() == (first ? lead : prefix.size());
        const int need = TextWidth(word) + (empty ? 0 : 1);
        if (need <= room) {
            current += (empty ? "" : " ") + word;
            continue;
        }
        const bool bWiderThanALine = TextWidth(word) > width - indent;
        if (bWiderThanALine && !empty && room - 1 >= width / 4) {
            // It would be split anyway: it starts on this line, so that the line does not end
            // blank after what comes before it (a grid row's number before a long name).
            current += " ";
        } else if (!empty) {
            out += current + "\n";
            current = prefix;
            first = false;
        }
        // A word wider than a whole line is split where the line ends. The rest is tracked by
        // its offset and width, so that a long word costs its own length, not its square.
        std::size_t from = 0;
        int left = TextWidth(word);
        while (left > width - indent) {
            const std::size_t cut = BytesOf(word, from, width - TextWidth(current));
            out += current;
            out.append(word, from, cut);
            out += "\n";
            left -= CodePoints(word, from, cut);
            from += cut;
            current = prefix;
            first = false;
        }
        current.append(word, from, std::string::npos);
    }
    const std::size_t end = current.find_last_not_of(' ');
    if (end != std::string::npos && current.size() > (first ? lead : prefix.size()))
        out += current.substr(0, end + 1) + "\n";
    return out;
}

} // namespace

std::string WrapText(const std::string& s, int width)
{
    std::string out;
    std::istringstream lines(s);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Escaped before it is measured, so that an escape is wrapped like other text.
        out += WrapLine(Escaped(line), std::max(width, 20));
    }
    return out;
}

std::string PadText(const std::string& s, int width)
{
    return s + std::string(static_cast<std::size_t>(std::max(width - TextWidth(s), 0)), ' ');
}

std::string ChangedLines(const std::string& sBefore, const std::string& sAfter)
{
    // Counted by line, so that a screen of many lines is compared in one pass.
    std::unordered_map<std::string, std::size_t> mOld;
    std::istringstream before(sBefore);
    for (std::string line; std::getline(before, line);)
        ++mOld[line];
    std::string out;
    std::istringstream after(sAfter);
    for (std::string line; std::getline(after, line);) {
        const auto found = mOld.find(line);
        if (found != mOld.end() && found->second > 0)
            --found->second;
        else
            out += line + "\n";
    }
    return out;
}

int TerminalWidth()
{
    const char* columns = std::getenv("COLUMNS");
    if (columns == nullptr) {
        // Shells seldom export COLUMNS; a terminal knows its own width.
        winsize size{};
        if (::isatty(STDOUT_FILENO) && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 &&
            size.ws_col >= kNarrowest)
            return size.ws_col;
        return kDefaultWidth;
    }
    char* end = nullptr;
    const long value = std::strtol(columns, &end, 10);
    if (end == columns || *end != '\0' || value < kNarrowest || value > 1000)
        return kDefaultWidth;
    return static_cast<int>(value);
}

} // namespace host
