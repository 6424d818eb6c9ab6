#include "platform/win/HtmlHelp.h"

#include <algorithm>
#include <cerrno>

namespace platform::win {

ShellResult showHelpTopic(const std::filesystem::path& helpFolder, std::string_view topic)
{
    const std::filesystem::path page(topic.empty() ? kHelpStartTopic : topic);
    const bool leavesFolder =
        page.is_absolute() ||
        std::any_of(page.begin(), page.end(),
                    [](const std::filesystem::path& part) { return part == ".."; });
    if (leavesFolder) {
        return {false, EINVAL, "the help topic \"" + page.string() + "\" is not in the help"};
    }
    const auto file = helpFolder / page;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return {false, ENOENT, "there is no help page " + file.string()};
    }
    return currentShell().openDocument(file.string());
}

} // namespace platform::win
