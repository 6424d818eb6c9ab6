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

const std::vector<std::string>& Items::EntryIds()
{
    if (m_loaded && m_generation == m_context->Generation())
        return m_entryIds;
    m_generation = m_context->Generation();
    auto& st = m_context->GetStore(m_storeId);
    m_entryIds.clear();
    detail::Guard("Items", [&] {
        if (!m_restriction) {
            for (const auto& item : st.Items(m_entryId))
                m_entryIds.push_back(item.entryId);
            return;
        }
        const auto tags = m_restriction->Tags();
        for (const auto& row : st.ReadTable(m_entryId, tags)) {
            auto read = [&](store::PropTag tag) -> const store::PropValue* {
                auto at = std::find(tags.begin(), tags.end(), tag);
                const auto& v = row.values[static_cast<std::size_t>(at - tags.begin())];
                return v ? &*v : nullptr;
            };
            if (m_restriction->Matches(read))
                m_entryIds.push_back(row.item.entryId);
        }
    });
    m_loaded = true;
    return m_entryIds;
}

void Items::Invalidate()
{
    m_loaded = false;
    m_entryIds.clear();
}

void Items::SetRestriction(std::shared_ptr<const detail::CompiledRestriction> restriction)
{
    m_restriction = std::move(restriction);
    Invalidate();
}

long Items::Count()
{
    return static_cast<long>(EntryIds().size());
}

std::shared_ptr<const detail::Prefetch> Items::CurrentPrefetch()
{
    if (!m_rawTable || m_rawTable->Columns().empty())
        return nullptr;
    std::vector<store::PropTag> tags;
    for (auto c : m_rawTable->Columns())
        if (c != 0)
            tags.push_back(store::NormalizeTag(static_cast<store::PropTag>(c)));
    if (m_prefetch && m_prefetch->tags == tags && m_prefetch->generation == m_context->Generation())
        return m_prefetch;
    auto prefetch = std::make_shared<detail::Prefetch>();
    prefetch->tags = std::move(tags);
    prefetch->generation = m_context->Generation();
    prefetch->rows = detail::Guard("Items.Item", [&] {
        return m_context->GetStore(m_storeId).ReadTable(m_entryId, prefetch->tags);
    });
    for (std::size_t i = 0; i < prefetch->rows.size(); ++i)
        prefetch->rowOf.emplace(prefetch->rows[i].item.entryId, i);
    m_prefetch = std::move(prefetch);
    return m_prefetch;
}

std::shared_ptr<Message> Items::Item(long index)
{
    const auto& ids = EntryIds();
    if (index < 1 || index > static_cast<long>(ids.size()))
        runtime::Raise(runtime::errors::SubscriptOutOfRange, "Items.Item");
    const auto& entryId = ids[static_cast<std::size_t>(index - 1)];
    auto data = std::make_shared<detail::MessageData>(m_context, m_storeId, entryId);
    // The table's columns tell which properties the caller is about to read: one pass over
    // the folder answers them for every item.
    if (auto prefetch = CurrentPrefetch()) {
        if (auto it = prefetch->rowOf.find(entryId); it != prefetch->rowOf.end())
            data->UsePrefetch(prefetch, it->second);
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
