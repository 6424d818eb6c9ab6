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

// The system's temporary folder: the one TMPDIR names, else /tmp. An empty TMPDIR names none
// (as for mktemp and the shell's tools); one that names a missing folder is used as it stands,
// so that the failure names it.
std::filesystem::path TemporaryFolder()
{
    const char* named = std::getenv("TMPDIR");
    return named != nullptr && *named != '\0' ? std::filesystem::path(named)
                                               : std::filesystem::path("/tmp");
}

} // namespace

PrintFolder::PrintFolder(const std::string& stem)
{
    const std::string pattern = (TemporaryFolder() / (stem + "-XXXXXX")).string();
    std::string name = pattern;
    // mkdtemp makes the folder for its owner alone, whatever the process's umask.
    if (::mkdtemp(name.data()) == nullptr)
        RaiseNoFolder(errno, pattern);
    path_ = name;
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
