#pragma once

#include "platform/runtime/Variant.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace engine::detail {

/// The case-insensitive form of a collection key.
std::string FoldKey(std::string_view sKey);

/// The engine's keyed collections: insertion order, 1-based positions, optional keys compared
/// without regard to case. Look-ups that find nothing answer a default T (no object), as the
/// engine's collection look-ups ignore their errors.
template <class T> class KeyedList
{
public:
    /// Appends an element; with a key that is already present nothing changes and false is
    /// answered (the duplicate-key case the callers ignore).
    bool Add(T item, const std::string& sKey = {})
    {
        if (!sKey.empty()) {
            auto [it, inserted] = m_byKey.try_emplace(FoldKey(sKey), item);
            if (!inserted)
                return false;
        }
        m_keys.push_back(sKey);
        m_items.push_back(std::move(item));
        return true;
    }

    /// Number of elements.
    long Count() const noexcept { return static_cast<long>(m_items.size()); }

    /// The element at a 1-based position, or T{} outside 1..Count.
    T Item(long lIndex) const
    {
        if (lIndex < 1 || lIndex > Count())
            return T{};
        return m_items[static_cast<std::size_t>(lIndex - 1)];
    }

    /// The element with a key, or T{}.
    T Item(std::string_view sKey) const
    {
        auto it = m_byKey.find(FoldKey(sKey));
        return it == m_byKey.end() ? T{} : it->second;
    }

    /// By position when the index is a number, by key when it is a text; else T{}.
    T Item(const platform::runtime::Variant& vIndex) const
    {
        if (const auto* s = vIndex.Get<std::string>())
            return Item(std::string_view(*s));
        long lPos = 0;
        if (!PositionOf(vIndex, lPos))
            return T{};
        return Item(lPos);
    }

    /// The 1-based position of the element a Variant index names, or 0.
    long Find(const platform::runtime::Variant& vIndex) const
    {
        if (const auto* s = vIndex.Get<std::string>()) {
            const std::string sFolded = FoldKey(*s);
            for (std::size_t i = 0; i < m_keys.size(); ++i)
                if (!m_keys[i].empty() && FoldKey(m_keys[i]) == sFolded)
                    return static_cast<long>(i + 1);
            return 0;
        }
        long lPos = 0;
        if (!PositionOf(vIndex, lPos) || lPos < 1 || lPos > Count())
            return 0;
        return lPos;
    }

    /// Removes the element at a 1-based position; outside 1..Count nothing happens.
    void Remove(long lIndex)
    {
        if (lIndex < 1 || lIndex > Count())
            return;
        const auto i = static_cast<std::size_t>(lIndex - 1);
        if (!m_keys[i].empty())
            m_byKey.erase(FoldKey(m_keys[i]));
        m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(i));
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
    }

    /// Removes every element.
    void Clear()
    {
        m_items.clear();
        m_keys.clear();
        m_byKey.clear();
    }

    /// Makes room for n elements.
    void Reserve(std::size_t n)
    {
        m_items.reserve(n);
        m_keys.reserve(n);
    }

    /// Enumerates the elements in order.
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    /// The position a numeric index names (Long, Integer, Byte or Double); false for others.
    static bool PositionOf(const platform::runtime::Variant& vIndex, long& lPos)
    {
        if (const auto* n = vIndex.Get<std::int32_t>())
            lPos = *n;
        else if (const auto* n16 = vIndex.Get<std::int16_t>())
            lPos = *n16;
        else if (const auto* b = vIndex.Get<std::uint8_t>())
            lPos = *b;
        else if (const auto* d = vIndex.Get<double>())
            lPos = static_cast<long>(*d);
        else
            return false;
        return true;
    }

private:
    std::vector<T> m_items;
    std::vector<std::string> m_keys;
    std::unordered_map<std::string, T> m_byKey;
};

} // namespace engine::detail
