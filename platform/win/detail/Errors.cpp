#include "platform/win/detail/Errors.h"

#include "platform/runtime/Error.h"

#include <cerrno>
#include <cstring>

namespace platform::win::detail {
namespace {

std::int32_t numberFor(int error)
{
    namespace errors = platform::runtime::errors;
    switch (error) {
    case ENOENT:
        return errors::FileNotFound;
    case ENOTDIR:
        return errors::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return errors::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
        return errors::DiskFull;
    case EEXIST:
        return errors::FileAlreadyExists;
    default:
        return errors::PathFileAccess;
    }
}

} // namespace

void raiseFileError(int error, std::string_view source, const std::string& what)
{
    platform::runtime::Error failure(numberFor(error), std::string(source),
                                     what + ": " + std::strerror(error));
    failure.SetLastDllError(error);
    throw failure;
}

void raiseFileFailure(int error, std::string_view source, platform::runtime::FileAction action,
                      const std::string& path)
{
    platform::runtime::Error failure(numberFor(error), std::string(source),
                                     platform::runtime::FileFailureText(error, action, path));
    failure.SetLastDllError(error);
    throw failure;
}

void raiseNotSupported(std::string_view source, const std::string& what)
{
    throw platform::runtime::Error(platform::runtime::errors::NotSupported, std::string(source),
                                   what + " is not supported here");
}

} // namespace platform::win::detail
