#pragma once

#include "platform/win/Shell.h"

#include <string>
#include <vector>

namespace platform::win {

namespace detail {
enum class ShellVerb;
}

/// A shell that starts nothing: it records every request and answers with a result the test
/// chose. Requests that every shell refuses (a missing file, a URL to print, parameters for a
/// document) fail as they do in ProcessShell.
class RecordingShell : public Shell
{
public:
    /// One request: the verb ("open", "print" or "run"), the file and the parameters.
    struct Request
    {
        std::string verb;
        std::string file;
        std::string parameters;
        friend bool operator==(const Request&, const Request&) = default;
    };

    ShellResult openDocument(const std::string& file) override;
    ShellResult printDocument(const std::string& file) override;
    ShellResult run(const std::string& file, const std::string& parameters) override;

    /// The requests so far, oldest first.
    const std::vector<Request>& requests() const noexcept { return requests_; }

    /// Makes every later request fail with this error code and detail.
    void failWith(int error, std::string detail);

private:
    ShellResult answer(detail::ShellVerb verb, Request request);

    std::vector<Request> requests_;
    ShellResult failure_;
};

} // namespace platform::win
