#include "platform/win/RecordingShell.h"

#include "platform/win/detail/ShellRules.h"

namespace platform::win {

void RecordingShell::failWith(int error, std::string detail)
{
    failure_ = {false, error, std::move(detail)};
}

ShellResult RecordingShell::answer(detail::ShellVerb verb, Request request)
{
    const auto file = detail::unquoted(request.file);
    const auto target = detail::classifyShellTarget(file);
    auto refused = detail::refuseShellRequest(verb, file, request.parameters, target);
    requests_.push_back(std::move(request));
    if (refused) {
        return *refused;
    }
    if (failure_.error != 0) {
        return failure_;
    }
    return {true, 0, {}};
}

ShellResult RecordingShell::openDocument(const std::string& file)
{
    return answer(detail::ShellVerb::Open, {"open", file, {}});
}

ShellResult RecordingShell::printDocument(const std::string& file)
{
    return answer(detail::ShellVerb::Print, {"print", file, {}});
}

ShellResult RecordingShell::run(const std::string& file, const std::string& parameters)
{
    return answer(detail::ShellVerb::Run, {"run", file, parameters});
}

} // namespace platform::win
