#pragma once

#include "fieldcatalogue/cField.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>

namespace views {

/// An ordered list of catalogue fields keyed by their `Key` (an empty entry under the empty
/// key stands for "no field"); the grouping and sorting dialogs map combo-box positions with
/// it. It does not own the fields' catalogue. No member reports an error.
class cLookupFields
{
public:
    using Fields = platform::runtime::Collection<std::shared_ptr<fieldcatalogue::cField>>;

    /// Adds the field (or an empty entry for null): -1 or lower appends, 0 or 1 puts it first,
    /// p >= 2 makes it entry p. A key already present, or p more than one past the end, adds
    /// nothing.
    void Add(const std::shared_ptr<fieldcatalogue::cField>& Field, std::int32_t Position = -1);
    /// Empties the list.
    void Clear() { m_colFields = Fields(); }
    /// Number of entries.
    std::int32_t Count() const { return m_colFields.Count(); }
    /// The field at a 1-based position or with a key; null when absent.
    std::shared_ptr<fieldcatalogue::cField> Item(const platform::runtime::Variant& Index) const;
    /// Iteration in list order.
    Fields::const_iterator begin() const { return m_colFields.begin(); }
    /// End of iteration.
    Fields::const_iterator end() const { return m_colFields.end(); }

private:
    Fields m_colFields;
};

} // namespace views
