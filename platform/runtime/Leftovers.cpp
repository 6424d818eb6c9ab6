#include "platform/runtime/Leftovers.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <signal.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::runtime {

namespace {

constexpr std::string_view kMark = ".tmp-";
// A temporary file of the older form that old is no write in progress.
constexpr std::chrono::hours kStale{1};
// The extensions of the files written through a temporary file of the older form.
constexpr std::array<std::string_view, 9> kExtensions = {".xml",  ".xlsx", ".xlsm",
                                                         ".xls",  ".csv",  ".html",
                                                         ".htm",  ".ini",  ".pdf"};

bool Digits(std::string_view s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

bool Alphanumeric(std::string_view s)
{
    return s.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") ==
           std::string_view::npos;
}

// The process a temporary name of the current form carries (".NAME.tmp-PID-REST"), or 0.
pid_t WriterOf(std::string_view name)
{
    if (name.size() < 2 || name.front() != '.')
        return 0;
    const auto mark = name.rfind(kMark);
    if (mark == std::string_view::npos || mark < 2)
        return 0;
    const std::string_view rest = name.substr(mark + kMark.size());
    const auto dash = rest.find('-');
    if (dash == std::string_view::npos || !Digits(rest.substr(0, dash)) ||
        rest.size() == dash + 1)
        return 0;
    // Whatever a library adds behind ("XXXXXX", ".XXXXXX") is letters, digits and dots.
    for (const char c : rest.substr(dash + 1))
        if (c != '.' && std::isalnum(static_cast<unsigned char>(c)) == 0)
            return 0;
    const std::string pid(rest.substr(0, dash));
    return pid.size() > 9 ? 0 : static_cast<pid_t>(std::stol(pid));
}

// Whether the name has the older form ".NAME.EXT.XXXXXX" with one of our extensions.
bool OlderForm(std::string_view name)
{
    if (name.size() < 9 || name.front() != '.')
        return false;
    const auto dot = name.rfind('.');
    if (dot == 0 || name.size() - dot - 1 != 6 || !Alphanumeric(name.substr(dot + 1)))
        return false;
    const std::string_view target = name.substr(1, dot - 1);
    for (const auto extension : kExtensions)
        if (target.size() > extension.size() &&
            target.substr(target.size() - extension.size()) == extension)
            return true;
    return false;
}

bool Runs(pid_t pid)
{
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

std::string TemporaryNamePattern(const std::string& name)
{
    return "." + name + std::string(kMark) + std::to_string(::getpid()) + "-";
}

int RemoveLeftoverTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return 0;
    int removed = 0;
    const auto now = std::chrono::system_clock::now();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        const pid_t writer = WriterOf(name);
        if (writer <= 0 && !OlderForm(name))
            continue;
        const std::string path = (folder.empty() ? std::string(".") : folder) + "/" +
                                 std::string(name);
        struct stat info
        {
        };
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (writer > 0 ? Runs(writer)
                       : now - std::chrono::system_clock::from_time_t(info.st_mtime) < kStale)
            continue;
        if (::unlink(path.c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace platform::runtime
