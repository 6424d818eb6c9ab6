#pragma once

#include "engine/Field.h"
#include "engine/detail/KeyedList.h"

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

class Records;

/// One item row or occurrence of a read: its identity, its kind and its own copies of the
/// column fields with the values read. Made only by the engine, often by the million: it keeps
/// its members small (the record set's counter as its key, no room for fields appended one by
/// one until the first is).
class Record : public platform::runtime::Object, public common::IChild
{
public:
    std::string TypeName() const override { return "Record"; }

    /// Kind of item: 1 appointment, 3 task, 4 journal entry.
    long Class() const { return m_nClass; }
    /// The item's entry identifier.
    const std::string& EntryID() const { return m_sEntryID; }
    /// The store identifier of the item's folder.
    const std::string& StoreID() const;
    /// The field at a 1-based position or with a column key; no object when absent.
    std::shared_ptr<Field> Fields(const platform::runtime::Variant& vIndex) const;
    /// The field at a 1-based position; no object when absent.
    std::shared_ptr<Field> Fields(long lIndex) const;
    /// The field at a 1-based position, as Fields(lIndex) but without sharing its ownership:
    /// for a caller that holds the record while it reads the field. Null when absent.
    const Field* FieldPointer(long lIndex) const;
    /// Number of fields.
    long FieldsCount() const
    {
        return static_cast<long>(m_nInPlace + (m_fields ? m_fields->size() : 0));
    }
    /// The record's key in the record set ("0" for the first record of a record set).
    std::string Key() const override;
    /// The record set, or null once the record was removed or the records were reset.
    Records* Parent() const { return m_pParent; }

    // IChild: the record set links its records with their keys.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    void ResetParentPtr() override { m_pParent = nullptr; }

    // Inside the engine.
    /// As Init(pRecords, the counter's text), without making the text.
    void LinkCounter(Records* pRecords, long lCounter)
    {
        m_pParent = pRecords;
        m_nKey = lCounter;
        m_pOtherKey.reset();
    }
    void SetClass(long lClass) { m_nClass = static_cast<std::int32_t>(lClass); }
    void SetEntryID(std::string sEntryID) { m_sEntryID = std::move(sEntryID); }
    void SetStoreID(std::string sStoreID);
    /// Shares one store identifier text among the records of a folder.
    void SetStoreID(std::shared_ptr<const std::string> pStoreID)
    {
        m_pStoreID = std::move(pStoreID);
    }
    /// Appends a field under its key. Throws the runtime's error 457 when the key is present.
    void AppendField(std::shared_ptr<Field> oField);
    /// Makes room for n fields.
    void ReserveFields(long n) { OwnFields().reserve(static_cast<std::size_t>(n)); }
    /// Takes fields the engine made in place for this record as its only fields (as
    /// AppendField would take them one by one on a record without fields); fields appended
    /// later come after them. `owner` owns their memory, and a field handed out shares that
    /// ownership. With `pKeysOf`, a record whose fields are copies of the same columns, the
    /// field keys are shared with it rather than built again. Throws the runtime's error 457
    /// when a key repeats.
    void TakeFieldsInPlace(Field* pFields, std::size_t nFields, std::weak_ptr<void> owner,
                           const Record* pKeysOf);
    /// The record as its parent link.
    common::IChild& ToIChild() { return *this; }

private:
    /// The field keys in order with their folded forms, shared by the records of a read.
    struct Layout
    {
        std::vector<std::string> keys;
        std::unordered_map<std::string, std::size_t> positionOf; ///< folded key, 0-based
    };
    /// The field at a 0-based position below FieldsCount.
    const Field& FieldAt(std::size_t i) const
    {
        return i < m_nInPlace ? m_pInPlace[i] : *(*m_fields)[i - m_nInPlace];
    }
    std::vector<std::shared_ptr<Field>>& OwnFields();
    /// Gives the record a layout of its own with the keys of its first n fields.
    void OwnLayout(std::size_t n);
    /// Adds the key of the field at position pos to the record's own layout.
    void AddKey(const std::string& sKey, std::size_t pos);

    Records* m_pParent = nullptr;
    /// The key as a number when it is one ("0", "17"), which every key the record set gives
    /// is; any other key text in m_pOtherKey.
    std::int64_t m_nKey = 0;
    std::unique_ptr<std::string> m_pOtherKey;
    std::string m_sEntryID;
    std::shared_ptr<const std::string> m_pStoreID;
    std::shared_ptr<Layout> m_layout;
    /// Fields appended one by one, each owned on its own (after those made in place).
    std::unique_ptr<std::vector<std::shared_ptr<Field>>> m_fields;
    /// The first fields when they were made in place; m_inPlaceOwner owns their memory. A
    /// weak link: the owner also holds the record, and must not be kept alive by it.
    Field* m_pInPlace = nullptr;
    std::uint32_t m_nInPlace = 0;
    std::int32_t m_nClass = 0;
    std::weak_ptr<void> m_inPlaceOwner;
};

} // namespace engine
