#include "common/modSpecialFolder2.h"

#include "platform/win/SpecialFolders.h"

namespace common::modSpecialFolder2 {

std::string GetSpecialFolderPath(std::int32_t lFolder, bool bCreate)
{
    return platform::win::specialFolderPath(
        bCreate ? lFolder + platform::win::kSpecialFolderCreateFlag : lFolder);
}

} // namespace common::modSpecialFolder2
