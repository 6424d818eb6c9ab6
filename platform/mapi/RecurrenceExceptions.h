#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <vector>

namespace platform::mapi {

class RecurrenceException;

/// A pattern's exceptions, ordered by original date (1-based).
class RecurrenceExceptions : public runtime::Object
{
public:
    explicit RecurrenceExceptions(std::vector<std::shared_ptr<RecurrenceException>> items)
        : m_items(std::move(items))
    {
    }
    std::string TypeName() const override { return "Exceptions"; }

    long Count() const { return static_cast<long>(m_items.size()); }
    /// The exception at a 1-based position; throws error 9 outside 1..Count.
    std::shared_ptr<RecurrenceException> Item(long index) const;

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<std::shared_ptr<RecurrenceException>> m_items;
};

} // namespace platform::mapi
