#include "engine/detail/RecordList.h"

#include "engine/Record.h"
#include "engine/detail/KeyedList.h"

#include "platform/runtime/HugeBlocks.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace engine::detail {

namespace {

/// The counter a key text names: only the text a counter is written as ("0", "17", never
/// "017" or "+1") names one, as keys compare as texts.
bool CounterOf(std::string_view sKey, long& lKey)
{
    if (sKey.empty() || (sKey.size() > 1 && sKey.front() == '0'))
        return false;
    if (!std::all_of(sKey.begin(), sKey.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, ec] = std::from_chars(sKey.data(), sKey.data() + sKey.size(), lKey);
    return ec == std::errc() && end == sKey.data() + sKey.size();
}

} // namespace

void RecordList::Add(std::shared_ptr<Record> oRecord, long lKey)
{
    m_keys.push_back(lKey);
    try {
        m_items.push_back(std::move(oRecord));
    } catch (...) {
        m_keys.pop_back();
        throw;
    }
}

std::shared_ptr<Record> RecordList::Item(long lIndex) const
{
    if (lIndex < 1 || lIndex > Count())
        return nullptr;
    return m_items[static_cast<std::size_t>(lIndex - 1)];
}

std::shared_ptr<Record> RecordList::Item(const platform::runtime::Variant& vIndex) const
{
    return Item(Find(vIndex));
}

long RecordList::Find(const platform::runtime::Variant& vIndex) const
{
    if (const auto* s = vIndex.Get<std::string>())
        return FindKey(*s);
    long lPos = 0;
    if (!KeyedList<std::shared_ptr<Record>>::PositionOf(vIndex, lPos) || lPos < 1 || lPos > Count())
        return 0;
    return lPos;
}

long RecordList::FindKey(std::string_view sKey) const
{
    long lKey = 0;
    if (!CounterOf(sKey, lKey))
        return 0;
    const auto it = std::lower_bound(m_keys.begin(), m_keys.end(), lKey);
    if (it == m_keys.end() || *it != lKey)
        return 0;
    return static_cast<long>(it - m_keys.begin()) + 1;
}

void RecordList::Remove(long lIndex)
{
    if (lIndex < 1 || lIndex > Count())
        return;
    const auto i = static_cast<std::ptrdiff_t>(lIndex - 1);
    m_keys.erase(m_keys.begin() + i);
    m_items.erase(m_items.begin() + i);
}

void RecordList::Clear()
{
    m_items.clear();
    m_keys.clear();
}

void RecordList::Reserve(std::size_t n)
{
    // Room is added at least by doubling, so that reserving for folder after folder does not
    // move the whole list each time.
    if (n <= m_items.capacity())
        return;
    n = std::max(n, 2 * m_items.capacity());
    m_items.reserve(n);
    m_keys.reserve(n);
    platform::runtime::AdviseHugePages(m_items.data(), n * sizeof(m_items[0]));
    platform::runtime::AdviseHugePages(m_keys.data(), n * sizeof(m_keys[0]));
}

} // namespace engine::detail
