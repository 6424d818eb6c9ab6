#include "engine/detail/KeyedList.h"

#include "platform/runtime/Strings.h"

namespace engine::detail {

std::string FoldKey(std::string_view sKey)
{
    return platform::runtime::FoldCase(sKey);
}

} // namespace engine::detail
