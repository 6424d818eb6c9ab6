#include "platform/xml/NodeList.h"

namespace platform::xml {

Node NodeList::Item(long index) const
{
    if (index < 0 || index >= Length()) {
        return {};
    }
    return nodes_[static_cast<std::size_t>(index)];
}

} // namespace platform::xml
