#include "platform/win/HtmlHelp.h"

#include "platform/locale/Locale.h"

#include <algorithm>
#include <cerrno>

namespace platform::win {

namespace {

HelpFailureReporter& helpReporter()
{
    static HelpFailureReporter instance;
    return instance;
}

bool german()
{
    return locale::Current().languageCode == "de";
}

ShellResult openHelpPage(const std::filesystem::path& helpFolder, const std::filesystem::path& page)
{
    const bool leavesFolder =
        page.is_absolute() ||
        std::any_of(page.begin(), page.end(),
                    [](const std::filesystem::path& part) { return part == ".."; });
    if (leavesFolder) {
        return {false, EINVAL,
                german() ? "das Hilfethema \"" + page.string() + "\" gehört nicht zur Hilfe"
                         : "the help topic \"" + page.string() + "\" is not in the help"};
    }
    const auto file = helpFolder / page;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return {false, ENOENT,
                (german() ? "es gibt keine Hilfeseite " : "there is no help page ") +
                    file.string()};
    }
    return currentShell().openDocument(file.string());
}

} // namespace

ShellResult showHelpTopic(const std::filesystem::path& helpFolder, std::string_view topic)
{
    const std::filesystem::path page(topic.empty() ? kHelpStartTopic : topic);
    ShellResult result = openHelpPage(helpFolder, page);
    if (!result.started && helpReporter())
        helpReporter()(page.string(), result);
    return result;
}

void setHelpFailureReporter(HelpFailureReporter reporter)
{
    helpReporter() = std::move(reporter);
}

} // namespace platform::win
