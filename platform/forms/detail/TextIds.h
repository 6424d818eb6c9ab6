#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::forms::detail {

/// Numbers the distinct texts of a pass over a column, 0, 1, ... in the order first seen.
/// Holds views: the texts must stay where they are while it is used (a grid's cell texts
/// during a sort or a subtotal pass). An open-addressed table with the hash kept beside each
/// number, since a pass asks once for every row and most texts are short.
class TextIds
{
public:
    /// The number of a text, and whether it was new.
    std::pair<int, bool> Insert(std::string_view text)
    {
        if ((m_texts.size() + 1) * 2 > m_slots.size()) {
            Grow();
        }
        const std::uint32_t hash = Hash(text);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.id < 0) {
                slot = {hash, int(m_texts.size())};
                m_texts.push_back(text);
                return {slot.id, true};
            }
            if (slot.hash == hash && m_texts[std::size_t(slot.id)] == text) {
                return {slot.id, false};
            }
        }
    }

    /// How many distinct texts there are.
    std::size_t Size() const { return m_texts.size(); }

private:
    struct Slot
    {
        std::uint32_t hash = 0;
        int id = -1; // -1: free
    };

    static std::uint32_t Hash(std::string_view text)
    {
        std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (text.size() * 0xFF51AFD7ED558CCDull);
        const char* p = text.data();
        std::size_t n = text.size();
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
            h ^= h >> 31;
        }
        if (n > 0) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, n);
            h = (h ^ word) * 0x94D049BB133111EBull;
            h ^= h >> 29;
        }
        h *= 0xBF58476D1CE4E5B9ull;
        return std::uint32_t(h >> 32);
    }

    void Grow()
    {
        std::vector<Slot> old(m_slots.empty() ? 64 : m_slots.size() * 2);
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot& slot : old) {
            if (slot.id < 0) {
                continue;
            }
            std::size_t i = slot.hash & mask;
            while (m_slots[i].id >= 0) {
                i = (i + 1) & mask;
            }
            m_slots[i] = slot;
        }
    }

    std::vector<Slot> m_slots;             // the size a power of two, at most half full
    std::vector<std::string_view> m_texts; // by number
};

} // namespace platform::forms::detail
