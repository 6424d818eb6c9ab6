#include "platform/printing/detail/PrintFolder.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/FileFailure.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <system_error>

namespace platform::printing::detail {

namespace rt = platform::runtime;

namespace {

constexpr const char* kSource = "PrintableDocument";

[[noreturn]] void RaiseNoFolder(int error, const std::filesystem::path& folder)
{
    rt::Raise(rt::errors::PathFileAccess, kSource,
              rt::FileFailureText(error, rt::FileAction::Create, folder.string()));
}

} // namespace

PrintFolder::PrintFolder(const std::string& stem)
{
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / (stem + "-XXXXXX")).string();
    // mkdtemp makes the folder for its owner alone, whatever the process's umask.
    if (ec || ::mkdtemp(pattern.data()) == nullptr)
        RaiseNoFolder(ec ? ec.value() : errno, pattern);
    path_ = pattern;
}

PrintFolder::~PrintFolder()
{
    std::error_code ec; // a leftover temporary folder is no reason to fail
    std::filesystem::remove_all(path_, ec);
}

std::filesystem::path PrintFolder::Folder(const std::filesystem::path& relative) const
{
    std::filesystem::path folder = path_;
    for (const auto& part : relative) {
        folder /= part;
        if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST)
            RaiseNoFolder(errno, folder);
    }
    return folder;
}

} // namespace platform::printing::detail
