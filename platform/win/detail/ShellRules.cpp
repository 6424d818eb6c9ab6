#include "platform/win/detail/ShellRules.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::win::detail {
namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

bool foundOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const auto end = folders.find(':');
        const auto folder = folders.substr(0, end);
        if (!folder.empty() && isExecutableFile(std::string(folder) + "/" + name)) {
            return true;
        }
        if (end == std::string_view::npos) {
            return false;
        }
        folders.remove_prefix(end + 1);
    }
}

bool hasUrlScheme(const std::string& text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon < 2 ||
        !std::isalpha(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

std::string lowerAscii(std::string text)
{
    for (auto& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::vector<std::string> splitAtBlanks(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) {
                words.push_back(std::move(word));
                word.clear();
            }
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace

std::optional<std::vector<std::string>> programAlias(const std::string& file)
{
    const auto name = lowerAscii(file);
    if (name == "excel.exe") {
        return std::vector<std::string>{};
    }
    if (name != "notepad.exe") {
        return std::nullopt;
    }
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        auto words = splitAtBlanks(value != nullptr ? value : "");
        if (!words.empty()) {
            return words;
        }
    }
    return std::vector<std::string>{};
}

std::string unquoted(const std::string& text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

ShellTarget classifyShellTarget(const std::string& file)
{
    if (file.empty()) {
        return ShellTarget::Missing;
    }
    if (programAlias(file)) {
        return ShellTarget::Program;
    }
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error)) {
        return isExecutableFile(file) ? ShellTarget::Program : ShellTarget::Document;
    }
    if (std::filesystem::exists(file, error)) {
        // A folder opens in the user's file manager, as the host shell does.
        return ShellTarget::Document;
    }
    if (file.find('/') == std::string::npos && foundOnPath(file)) {
        return ShellTarget::Program;
    }
    return hasUrlScheme(file) ? ShellTarget::Url : ShellTarget::Missing;
}

std::optional<ShellResult> refuseShellRequest(ShellVerb verb, const std::string& file,
                                              const std::string& parameters, ShellTarget target)
{
    if (target == ShellTarget::Missing) {
        return ShellResult{false, ENOENT, "there is no file or program \"" + file + "\""};
    }
    if (verb == ShellVerb::Print && target == ShellTarget::Url) {
        return ShellResult{false, EINVAL, "a URL cannot be printed: \"" + file + "\""};
    }
    if (verb == ShellVerb::Run && !parameters.empty() && target != ShellTarget::Program) {
        return ShellResult{false, ENOTSUP,
                           "parameters for the document \"" + file + "\" are not supported here"};
    }
    return std::nullopt;
}

} // namespace platform::win::detail
