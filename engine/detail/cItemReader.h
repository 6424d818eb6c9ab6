#pragma once

#include "engine/detail/IReadItems.h"
#include "engine/detail/ReadContext.h"
#include "engine/detail/RecordArena.h"

#include "common/IChild.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::mapi {
class Folder;
class Items;
class Message;
class Store;
class Utils;
} // namespace platform::mapi

namespace engine {
class Field;
class Record;
class Filter;
class Records;
} // namespace engine

namespace engine::detail {

class cFolder;
class Options;

/// The shape the three item readers share: resolve the named properties of the folder's
/// store, work out the read window, let the walker restrict the item table, name the table's
/// columns, and turn the rows, chunk by chunk, into records with a progress report per row.
/// A reader reads one folder and is dropped.
class cItemReader : public platform::runtime::Object,
                    public IReadItems,
                    public common::ChildLink<cFolder>
{
public:
    void Initialize(const std::shared_ptr<Options>& oOptions,
                    const std::shared_ptr<platform::mapi::Utils>& oUtils,
                    const std::shared_ptr<Records>& oRecords) override;
    void Execute(const std::shared_ptr<platform::mapi::Folder>& rdFolder) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// The walker, or null while there is no link.
    cFolder* Parent() const;
    /// The reader as its parent link.
    common::IChild& ToIChild() { return *this; }

protected:
    /// The class part of the error source texts ("cAppointmentItems").
    virtual const char* ClassName() const = 0;
    /// Resolves the reader's named properties against the folder's first item.
    virtual void ResolveTags(const std::shared_ptr<platform::mapi::Message>& oFirst) = 0;
    /// The tag of the window's date field (0 when the filter has no window or another field).
    virtual std::int32_t DateTag(const std::shared_ptr<platform::mapi::Message>& oFirst) = 0;
    /// Works out the read window into the context.
    virtual void PrepareWindow() = 0;
    /// The table column of a computed column (codes 3 to 6, 12 to 15), if the reader has one.
    virtual std::optional<std::int32_t> ColumnTag(long lCode) const = 0;
    /// Reads the rows lFrom to lTo (1-based) into records.
    virtual void LoopItemsEx(long lFrom, long lTo) = 0;
    /// Tags the reader reads of every row whatever the columns, so that the table reads them
    /// with the row.
    virtual std::vector<std::int32_t> RowTags() const { return {}; }

    /// The tag of a named property (LID) in the folder's store ORed with a type; 0 when the
    /// store does not know the name.
    std::int32_t NamedTag(const std::shared_ptr<platform::mapi::Message>& oItem, const char* sGuid,
                          long lLid, long lType) const;
    /// The window from the filter's dates; with defaults, a missing bound comes from the
    /// settings (DateRangeFrom, DateRangeTo) and today's date.
    void WindowFromFilter(bool bUseDefaults);
    /// A property read by tag; PT_SYSTIME fields are converted to local time (Empty stays).
    platform::runtime::Variant PropertyValue(const platform::mapi::Message& oItem,
                                             const Field& oField) const;
    /// The value of the codes every reader shares: 1 folder name, 9 mailbox owner, 10 creator,
    /// 11 last modifier; nullopt for other codes.
    std::optional<platform::runtime::Variant> SharedValue(const platform::mapi::Message& oItem,
                                                          long lCode) const;
    /// A local date from a UTC property value (Empty and non-dates give the zero date).
    platform::runtime::Date ToLocal(const platform::runtime::Variant& vUtc) const;
    /// The local date of an item's PT_SYSTIME property, as ToLocal of its value.
    platform::runtime::Date LocalField(const platform::mapi::Message& oItem,
                                       std::int32_t lTag) const;
    /// Whether a read window applies and the item's date field (the window's) holds an instant
    /// whose local time lies beyond the calendar's ends in this zone: such an item lies in no
    /// window, also where the restriction (whose bound in UTC lay beyond the calendar and was
    /// left open) gave it.
    bool BeyondTheCalendar(const platform::mapi::Message& oItem) const;
    /// Builds and appends one record: every column cloned and filled by fnValue.
    void AppendRecord(const platform::mapi::Message& oItem, long lClass,
                      const std::function<platform::runtime::Variant(const Field&)>& fnValue);
    /// Reports row r (1-based) to the progress listeners as r + 1.
    void ReportProgress(long r) const;

    std::shared_ptr<Records> m_oRecords;
    std::shared_ptr<Filter> m_oFilter;
    std::shared_ptr<Options> m_oOptions;
    std::shared_ptr<platform::mapi::Utils> m_oUtils;
    std::shared_ptr<platform::mapi::Folder> m_oFolder;
    std::shared_ptr<platform::mapi::Items> m_oItems;
    std::shared_ptr<platform::mapi::Store> m_oStore;
    ReadContext m_oContext;
    long m_lStoreKind = 0;
    /// The tag of the window's date field; 0 without a window.
    std::int32_t m_lDateTag = 0;
    long m_lItemCount = 0;
    std::string m_sFolderName;
    std::string m_sStoreID;

private:
    /// Where the records of the folder are made.
    RecordArena m_oArena;
    /// The record made last, whose field keys the next one shares.
    std::shared_ptr<Record> m_oLastRecord;
    /// The folder's store identifier, one text for all its records.
    std::shared_ptr<const std::string> m_pStoreID;
    void LoopItems();
    std::optional<std::int32_t> TableColumn(const Field& oField) const;
    void SetPropertyTags(const std::shared_ptr<platform::mapi::Message>& oFirst);
    void SetColumns();
    void Release();
};

} // namespace engine::detail
