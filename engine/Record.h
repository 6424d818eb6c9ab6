#pragma once

#include "engine/Field.h"
#include "engine/detail/KeyedList.h"

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

class Records;

/// One item row or occurrence of a read: its identity, its kind and its own copies of the
/// column fields with the values read. Made only by the engine.
class Record : public platform::runtime::Object, public common::ChildLink<Records>
{
public:
    std::string TypeName() const override { return "Record"; }

    /// Kind of item: 1 appointment, 3 task, 4 journal entry.
    long Class() const { return m_lClass; }
    /// The item's entry identifier.
    const std::string& EntryID() const { return m_sEntryID; }
    /// The store identifier of the item's folder.
    const std::string& StoreID() const { return m_sStoreID; }
    /// The field at a 1-based position or with a column key; no object when absent.
    std::shared_ptr<Field> Fields(const platform::runtime::Variant& vIndex) const;
    /// The field at a 1-based position; no object when absent.
    std::shared_ptr<Field> Fields(long lIndex) const
    {
        if (lIndex < 1 || lIndex > FieldsCount())
            return nullptr;
        return m_fields[static_cast<std::size_t>(lIndex - 1)];
    }
    /// Number of fields.
    long FieldsCount() const { return static_cast<long>(m_fields.size()); }
    /// The record's key in the record set ("0" for the first record of a record set).
    std::string Key() const override { return common::ChildLink<Records>::Key(); }
    /// The record set, or null once the record was removed or the records were reset.
    Records* Parent() const;

    // Inside the engine.
    void SetClass(long lClass) { m_lClass = lClass; }
    void SetEntryID(std::string sEntryID) { m_sEntryID = std::move(sEntryID); }
    void SetStoreID(std::string sStoreID) { m_sStoreID = std::move(sStoreID); }
    /// Appends a field under its key. Throws the runtime's error 457 when the key is present.
    void AppendField(std::shared_ptr<Field> oField);
    /// Makes room for n fields.
    void ReserveFields(long n) { m_fields.reserve(static_cast<std::size_t>(n)); }
    /// Appends copies of the columns (as CloneField and AppendField would, the copies made in
    /// one allocation) with the values `fnValue` gives for each copy.
    template <class Columns, class ValueOf>
    void AppendCopies(const Columns& columns, long lCount, const ValueOf& fnValue)
    {
        auto block = std::make_shared<Field[]>(static_cast<std::size_t>(lCount));
        for (long i = 0; i < lCount; ++i) {
            auto& oCopy = block[static_cast<std::size_t>(i)];
            columns(i + 1)->CloneInto(oCopy);
            oCopy.SetFieldValue(fnValue(static_cast<const Field&>(oCopy)));
            // Each field shares the block's ownership.
            AppendField(std::shared_ptr<Field>(block, &oCopy));
        }
    }
    /// Starts from the field keys of another record of the same read: appending the same
    /// keys in the same order then shares one key list instead of copying it.
    void ShareLayoutOf(const Record& other) { m_layout = other.m_layout; }
    /// The record as its parent link.
    common::IChild& ToIChild() { return *this; }

private:
    long m_lClass = 0;
    std::string m_sEntryID;
    std::string m_sStoreID;
    /// The field keys in order with their folded forms, shared by the records of a read.
    struct Layout
    {
        std::vector<std::string> keys;
        std::unordered_map<std::string, std::size_t> positionOf; ///< folded key, 0-based
    };
    std::shared_ptr<Layout> m_layout;
    std::vector<std::shared_ptr<Field>> m_fields;
};

} // namespace engine
