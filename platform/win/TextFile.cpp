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
        detail::raiseFileError(error.code().value(), "FileComponent", "cannot read " + path_);
    }
    if (!bytes) {
        detail::raiseFileError(ENOENT, "FileComponent", "cannot read " + path_);
    }
    text_ = detail::decodeText(*bytes).text;
    return text_;
}

} // namespace platform::win
