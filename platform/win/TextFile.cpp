#include "platform/win/TextFile.h"

#include "platform/win/FileIo.h"
#include "platform/win/detail/Errors.h"
#include "platform/win/detail/TextCodec.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace platform::win {

bool TextFile::exists() const
{
    std::error_code error;
    return !path_.empty() && std::filesystem::is_regular_file(path_, error);
}

const std::string& TextFile::readText()
{
    std::optional<std::string> bytes;
    try {
        bytes = readFileBytes(path_);
    } catch (const std::system_error& error) {
        detail::raiseFileFailure(error.code().value(), "FileComponent",
                                 platform::runtime::FileAction::Read, path_);
    }
    if (!bytes) {
        detail::raiseFileFailure(ENOENT, "FileComponent", platform::runtime::FileAction::Read,
                                 path_);
    }
    text_ = detail::decodeText(*bytes).text;
    return text_;
}

} // namespace platform::win
