#include "platform/excel/detail/CapturedStderr.h"

#include <sstream>
#include <unistd.h>

namespace platform::excel::detail {

CapturedStderr::CapturedStderr()
{
    std::fflush(stderr);
    file_ = std::tmpfile();
    saved_ = file_ ? ::dup(STDERR_FILENO) : -1;
    if (saved_ >= 0 && ::dup2(::fileno(file_), STDERR_FILENO) < 0) {
        ::close(saved_);
        saved_ = -1;
    }
}

CapturedStderr::~CapturedStderr()
{
    Take();
}

std::string CapturedStderr::Take()
{
    std::string text;
    if (saved_ >= 0) {
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
        std::rewind(file_);
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_)) > 0;)
            text.append(buffer, n);
    }
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    return text;
}

std::string LibraryReasons(const std::string& log)
{
    std::string reasons;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        // "[LEVEL][file:line]: reason": the tags say nothing to the user.
        while (!line.empty() && line.front() == '[') {
            const auto close = line.find(']');
            if (close == std::string::npos)
                break;
            line.erase(0, close + 1);
        }
        const auto start = line.find_first_not_of(": ");
        if (start == std::string::npos)
            continue;
        reasons += (reasons.empty() ? "" : "; ") + line.substr(start);
    }
    return reasons;
}

} // namespace platform::excel::detail
