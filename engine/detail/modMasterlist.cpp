#include "engine/detail/modMasterlist.h"

#include "engine/detail/EngineState.h"
#include "engine/detail/Masterlist00.h"
#include "engine/detail/Masterlist02.h"
#include "engine/detail/Masterlist03.h"
#include "engine/detail/Masterlist07.h"
#include "engine/detail/Masterlist97.h"

#include "common/ErrorHandling.h"
#include "common/modOLVersion.h"
#include "platform/runtime/Error.h"

namespace engine::detail::modMasterlist {

namespace rt = platform::runtime;

std::unique_ptr<IMasterlist> CreateMasterlist()
{
    // The version belongs to the current root's client: none without a root.
    CurrentRoot();
    switch (const auto lVersion = common::modOLVersion::GetOutlookVersion()) {
    case 8:
        return std::make_unique<Masterlist97>();
    case 9:
        return std::make_unique<Masterlist00>();
    case 10:
        return std::make_unique<Masterlist02>();
    case 11:
        return std::make_unique<Masterlist03>();
    default:
        if (lVersion > 11) {
            auto oList = std::make_unique<Masterlist07>();
            oList->Init();
            return oList;
        }
        return nullptr;
    }
}

std::string GetMasterlist()
{
    return common::Rethrowing("Application", "GetMasterlist", [] {
        const auto oList = CreateMasterlist();
        if (!oList)
            throw rt::Error(rt::errors::ObjectNotSet);
        return oList->ReadCategories();
    });
}

} // namespace engine::detail::modMasterlist
