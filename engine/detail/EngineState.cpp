#include "engine/detail/EngineState.h"

#include "common/modRedemption.h"
#include "platform/mapi/CreateObject.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/Utils.h"
#include "platform/runtime/Error.h"

namespace engine::detail {

EngineState& State()
{
    thread_local EngineState state;
    return state;
}

Application& CurrentRoot()
{
    if (State().pCurrentRoot == nullptr)
        throw platform::runtime::Error(platform::runtime::errors::ObjectNotSet);
    return *State().pCurrentRoot;
}

std::shared_ptr<platform::mapi::Utils> GetUtils()
{
    auto& oUtils = State().oUtils;
    if (!oUtils)
        oUtils = common::modRedemption::GetSafeUtils();
    return oUtils;
}

std::shared_ptr<platform::mapi::Table> CreateTableObject()
{
    auto oTable = std::dynamic_pointer_cast<platform::mapi::Table>(
        platform::mapi::CreateObject(std::string("ardex.") + "sfTable"));
    if (!oTable)
        throw platform::runtime::Error(platform::runtime::errors::CannotCreateObject);
    return oTable;
}

} // namespace engine::detail
