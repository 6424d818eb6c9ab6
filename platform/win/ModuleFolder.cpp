#include "platform/win/ModuleFolder.h"

#include <dlfcn.h>

namespace platform::win {

std::filesystem::path moduleFolder(const void* pAddress)
{
    Dl_info info{};
    if (dladdr(pAddress, &info) == 0 || !info.dli_fname || !*info.dli_fname)
        return {};
    std::error_code ec;
    const auto file = std::filesystem::absolute(info.dli_fname, ec);
    return ec ? std::filesystem::path() : file.lexically_normal().parent_path();
}

} // namespace platform::win
