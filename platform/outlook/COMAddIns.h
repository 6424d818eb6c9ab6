#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::outlook {

class COMAddIn;

/// The add-ins the client knows, in the order the host registered them (1-based).
class COMAddIns : public runtime::Object
{
public:
    std::string TypeName() const override { return "COMAddIns"; }

    long Count() const { return static_cast<long>(m_items.size()); }
    /// The add-in at a 1-based position; throws error 9 outside 1..Count.
    std::shared_ptr<COMAddIn> Item(long index) const;
    /// Registers an add-in (the host does).
    std::shared_ptr<COMAddIn> Add(const std::string& progId, const std::string& description,
                                  bool connected);

private:
    std::vector<std::shared_ptr<COMAddIn>> m_items;
};

} // namespace platform::outlook
