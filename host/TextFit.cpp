#include "host/TextFit.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

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

std::string PadText(const std::string& s, int width)
{
    return s + std::string(static_cast<std::size_t>(std::max(width - TextWidth(s), 0)), ' ');
}

std::string ChangedLines(const std::string& sBefore, const std::string& sAfter)
{
    std::vector<std::string> vOld;
    std::istringstream before(sBefore);
    for (std::string line; std::getline(before, line);)
        vOld.push_back(line);
    std::string out;
    std::istringstream after(sAfter);
    for (std::string line; std::getline(after, line);) {
        const auto found = std::find(vOld.begin(), vOld.end(), line);
        if (found != vOld.end())
            vOld.erase(found);
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
