#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"

#include <memory>

namespace platform::outlook {

class ItemBase;

/// A deleted or modified occurrence of a recurring item.
class Exception : public runtime::Object
{
public:
    Exception(runtime::Date originalDate, bool deleted, std::shared_ptr<ItemBase> item)
        : m_originalDate(originalDate), m_deleted(deleted), m_item(std::move(item))
    {
    }
    std::string TypeName() const override { return "Exception"; }

    runtime::Date OriginalDate() const { return m_originalDate; }
    bool Deleted() const { return m_deleted; }
    /// The modified occurrence; throws error 91 for a deleted one.
    std::shared_ptr<ItemBase> Item() const;

private:
    runtime::Date m_originalDate;
    bool m_deleted;
    std::shared_ptr<ItemBase> m_item;
};

} // namespace platform::outlook
