#pragma once

#include "engine/Field.h"
#include "engine/Filter.h"
#include "engine/Record.h"
#include "engine/detail/KeyedList.h"
#include "engine/detail/RecordList.h"

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>

namespace engine {

class Application;

/// The record set of the engine root: the column list the caller fills before a read, the
/// active filter, and the result, one `Record` per item row or occurrence in reading order.
class Records : public platform::runtime::Object, public common::ChildLink<Application>
{
public:
    Records() = default;
    ~Records() override;
    Records(const Records&) = delete;
    Records& operator=(const Records&) = delete;

    std::string TypeName() const override { return "Records"; }

    /// Replaces the column list with a new, empty one.
    void ClearFields();
    /// Appends a column (the caller's own object) under its key; a key already present leaves
    /// the list unchanged. Never throws.
    void AppendField(std::shared_ptr<Field> oField);
    /// Number of records of the last read.
    long Count() const { return m_records.Count(); }
    /// The active filter.
    const std::shared_ptr<engine::Filter>& Filter() const { return m_oFilter; }
    /// The record at a 1-based position or with a record key; no object when there is none.
    std::shared_ptr<Record> Item(const platform::runtime::Variant& vIndex) const
    {
        return m_records.Item(vIndex);
    }
    /// The record at a 1-based position; no object when there is none.
    std::shared_ptr<Record> Item(long lIndex) const { return m_records.Item(lIndex); }
    /// Removes the record an index names (as `Item`), clearing its parent link; nothing
    /// happens when there is none.
    void Remove(const platform::runtime::Variant& vIndex);
    /// Enumerates the records in reading order.
    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

    // IChild: the key is always empty; linking creates the filter and the lists.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    std::string Key() const override { return {}; }

    // Inside the engine.
    /// Appends a record under the next counter key and links it to the record set.
    void Append(std::shared_ptr<Record> oRecord);
    /// Makes room for n more records, as a reader that knows its row count does before
    /// appending them.
    void ReserveMore(long n);
    /// Makes a filter the active one and links it to the record set.
    void ApplyFilter(std::shared_ptr<engine::Filter> oFilter);
    /// The column at a 1-based position or with a key; no object when absent.
    std::shared_ptr<Field> FieldItem(const platform::runtime::Variant& vIndex) const
    {
        return m_fields.Item(vIndex);
    }
    std::shared_ptr<Field> FieldItem(long lIndex) const { return m_fields.Item(lIndex); }
    /// Number of columns.
    long FieldCount() const { return m_fields.Count(); }
    /// Empties the result list (unlinking its records); the record counter keeps its value.
    void ResetRecords();
    /// Clears the parent link of every record.
    void ResetChildren();
    /// The record set as its parent link.
    common::IChild& ToIChild() { return *this; }

private:
    std::shared_ptr<engine::Filter> m_oFilter;
    detail::KeyedList<std::shared_ptr<Field>> m_fields;
    detail::RecordList m_records;
    long m_lCounter = 0;
};

} // namespace engine
