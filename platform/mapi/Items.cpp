#include "platform/mapi/Items.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/detail/Arguments.h"
#include "platform/mapi/detail/CompiledRestriction.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/MessageData.h"
#include "platform/mapi/detail/Prefetch.h"
#include "platform/runtime/Error.h"

#include <algorithm>

namespace platform::mapi {

namespace {

/// The message class of a new item of one of the client's item types.
std::string ClassOfType(long itemType)
{
    switch (itemType) {
    case olAppointmentItem:
        return "IPM.Appointment";
    case olContactItem:
        return "IPM.Contact";
    case olTaskItem:
        return "IPM.Task";
    case olJournalItem:
        return "IPM.Activity";
    case olNoteItem:
        return "IPM.StickyNote";
    case olPostItem:
        return "IPM.Post";
    default:
        return "IPM.Note";
    }
}

// A read of fewer rows than this share of its folder reads what its rows need by row.
constexpr std::size_t kSmallShare = 4;

} // namespace

Items::Items(std::shared_ptr<detail::Context> context, std::string storeId, std::string entryId)
    : m_context(std::move(context)), m_storeId(std::move(storeId)), m_entryId(std::move(entryId))
{
}

Items::~Items() = default;

std::shared_ptr<Folder> Items::Parent() const
{
    return std::make_shared<Folder>(m_context, m_storeId, m_entryId);
}

std::vector<store::PropTag> Items::ColumnTags() const
{
    std::vector<store::PropTag> tags;
    if (m_rawTable)
        for (auto c : m_rawTable->Columns())
            if (c != 0)
                tags.push_back(store::NormalizeTag(static_cast<store::PropTag>(c)));
    return tags;
}

std::shared_ptr<detail::Prefetch> Items::NewPrefetch(std::vector<store::PropTag> tags) const
{
    auto prefetch = std::make_shared<detail::Prefetch>();
    prefetch->tags = std::move(tags);
    prefetch->generation = m_context->Generation();
    prefetch->folderEntryId = m_entryId;
    return prefetch;
}

void Items::KeepRows(const std::shared_ptr<detail::Prefetch>& prefetch)
{
    // The rows name the items: the list is theirs, not a copy of a million entry ids.
    m_entryIds.clear();
    m_listPrefetch = prefetch;
    m_prefetch = prefetch;
}

const std::string& Items::ListEntryId(std::size_t position) const
{
    return m_listPrefetch ? m_listPrefetch->rows[position].item.entryId : m_entryIds[position];
}

std::size_t Items::ListSize()
{
    if (m_loaded && m_generation == m_context->Generation())
        return m_listPrefetch ? m_listPrefetch->rows.size() : m_entryIds.size();
    m_listPrefetch.reset();
    m_generation = m_context->Generation();
    auto& st = m_context->GetStore(m_storeId);
    m_entryIds.clear();
    m_prefetch.reset();
    detail::Guard("Items", [&] {
        const auto columns = ColumnTags();
        if (!m_restriction) {
            if (columns.empty()) {
                for (const auto& item : st.Items(m_entryId))
                    m_entryIds.push_back(item.entryId);
                return;
            }
            auto prefetch = NewPrefetch(columns);
            prefetch->rows = st.ReadTable(m_entryId, prefetch->tags);
            KeepRows(prefetch);
            return;
        }
        // One pass reads the columns with what the restriction tests; the store's value index
        // narrows it to the rows the restriction can match, where the restriction allows.
        auto tags = columns;
        for (const auto t : m_restriction->Tags())
            if (std::find(tags.begin(), tags.end(), t) == tags.end())
                tags.push_back(t);
        const auto ranges = m_restriction->Ranges();
        // A calendar read leaves out the series that cannot reach its window: they would
        // give it no occurrence.
        auto rows = ranges ? st.ReadTableInRanges(m_entryId, tags, *ranges,
                                                  m_restriction->SeriesWindow())
                           : st.ReadTable(m_entryId, tags);
        auto prefetch = NewPrefetch(std::move(tags));
        // Rows that are a small part of their folder fetch their series' patterns themselves.
        prefetch->followsRows =
            ranges && rows.size() * kSmallShare < st.ItemCount(m_entryId);
        const auto& kept = prefetch->tags;
        // The matching rows stay where they are: a read may hold a million of them.
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [&](const store::TableRow& row) {
                                      auto read = [&](store::PropTag tag) -> const store::PropValue* {
                                          auto at = std::find(kept.begin(), kept.end(), tag);
                                          const auto& v =
                                              row.values[static_cast<std::size_t>(at - kept.begin())];
                                          return v ? &*v : nullptr;
                                      };
                                      return !m_restriction->Matches(read);
                                  }),
                   rows.end());
        prefetch->rows = std::move(rows);
        KeepRows(prefetch);
    });
    m_loaded = true;
    return m_listPrefetch ? m_listPrefetch->rows.size() : m_entryIds.size();
}

void Items::Invalidate()
{
    m_loaded = false;
    m_entryIds.clear();
    m_listPrefetch.reset();
    m_prefetch.reset();
}

void Items::SetRestriction(std::shared_ptr<const detail::CompiledRestriction> restriction)
{
    m_restriction = std::move(restriction);
    Invalidate();
}

long Items::Count()
{
    // Without a restriction the store counts; the list is read when an item is asked for.
    if (!m_restriction && !(m_loaded && m_generation == m_context->Generation())) {
        if (!m_count || m_count->first != m_context->Generation())
            m_count = std::make_pair(m_context->Generation(), detail::Guard("Items", [&] {
                                         return static_cast<long>(
                                             m_context->GetStore(m_storeId).ItemCount(m_entryId));
                                     }));
        return m_count->second;
    }
    return static_cast<long>(ListSize());
}

std::shared_ptr<const detail::Prefetch> Items::CurrentPrefetch()
{
    const auto tags = ColumnTags();
    if (tags.empty())
        return nullptr;
    if (m_prefetch && m_prefetch->generation == m_context->Generation() &&
        m_prefetch->Covers(tags))
        return m_prefetch;
    // The columns changed after the list was read: one more pass answers them.
    auto prefetch = NewPrefetch(tags);
    prefetch->rows = detail::Guard("Items.Item", [&] {
        return m_context->GetStore(m_storeId).ReadTable(m_entryId, prefetch->tags);
    });
    m_prefetch = std::move(prefetch);
    return m_prefetch;
}

std::shared_ptr<Message> Items::Item(long index)
{
    // The first items of an unrestricted folder come without reading its whole list.
    if (!m_restriction && index >= 1 && index <= kFewItems &&
        !(m_loaded && m_generation == m_context->Generation())) {
        const auto first = detail::Guard("Items.Item", [&] {
            return m_context->GetStore(m_storeId).Items(m_entryId,
                                                        static_cast<std::size_t>(index));
        });
        if (index > static_cast<long>(first.size()))
            runtime::Raise(runtime::errors::SubscriptOutOfRange, "Items.Item");
        return std::make_shared<Message>(std::make_shared<detail::MessageData>(
            m_context, m_storeId, first[static_cast<std::size_t>(index - 1)].entryId));
    }
    if (index < 1 || index > static_cast<long>(ListSize()))
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Items.Item");
    const auto& entryId = ListEntryId(static_cast<std::size_t>(index - 1));
    auto data = std::make_shared<detail::MessageData>(m_context, m_storeId, entryId);
    // The table's columns tell which properties the caller is about to read: one pass over
    // the folder answers them for every item.
    if (auto prefetch = CurrentPrefetch()) {
        if (prefetch->rows.size() > static_cast<std::size_t>(index - 1) &&
            prefetch->rows[static_cast<std::size_t>(index - 1)].item.entryId == entryId)
            data->UsePrefetch(prefetch, static_cast<std::size_t>(index - 1));
        else if (const auto row = prefetch->RowOf(entryId))
            data->UsePrefetch(prefetch, *row);
    }
    return std::make_shared<Message>(std::move(data));
}

std::shared_ptr<Message> Items::GetFirst()
{
    m_next = 1;
    return GetNext();
}

std::shared_ptr<Message> Items::GetNext()
{
    if (m_next < 1 || m_next > Count())
        return nullptr;
    return Item(m_next++);
}

std::shared_ptr<Message> Items::Add(const runtime::Variant& itemType)
{
    long type = 0;
    if (itemType.IsEmpty()) {
        type = Parent()->DefaultItemType();
    } else if (auto n = detail::WholeNumberOf(itemType)) {
        type = *n;
    } else if (const auto* text = itemType.Get<std::string>()) {
        // A message class given as text ("IPM.Note").
        Invalidate();
        return std::make_shared<Message>(
            detail::MessageData::NewItem(m_context, m_storeId, m_entryId, *text));
    } else {
        runtime::Raise(runtime::errors::TypeMismatch, "Items.Add");
    }
    Invalidate();
    return std::make_shared<Message>(
        detail::MessageData::NewItem(m_context, m_storeId, m_entryId, ClassOfType(type)));
}

std::shared_ptr<Table> Items::RawTable()
{
    if (!m_rawTable)
        m_rawTable = std::make_shared<Table>(shared_from_this());
    return m_rawTable;
}

} // namespace platform::mapi
