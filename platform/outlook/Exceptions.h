#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <vector>

namespace platform::outlook {

class Exception;

/// A recurrence pattern's exceptions, by original date (1-based).
class Exceptions : public runtime::Object
{
public:
    explicit Exceptions(std::vector<std::shared_ptr<Exception>> items) : m_items(std::move(items))
    {
    }
    std::string TypeName() const override { return "Exceptions"; }

    long Count() const { return static_cast<long>(m_items.size()); }
    /// The exception at a 1-based position; throws error 9 outside 1..Count.
    std::shared_ptr<Exception> Item(long index) const;

private:
    std::vector<std::shared_ptr<Exception>> m_items;
};

} // namespace platform::outlook
