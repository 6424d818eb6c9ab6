#pragma once

#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Variant.h"

#include <concepts>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

namespace platform::runtime {

/// A position (1-based) or a key into a Collection, as the runtime's Variant index is either.
class CollectionIndex
{
public:
    /// A position.
    template <std::integral I>
    requires(!std::same_as<I, bool>) CollectionIndex(I position)
        : index_(static_cast<std::int64_t>(position))
    {
    }
    /// A key.
    CollectionIndex(std::string key) : index_(std::move(key)) {}
    /// A key.
    CollectionIndex(std::string_view key) : index_(std::string(key)) {}
    /// A key.
    CollectionIndex(const char* key) : index_(std::string(key)) {}
    /// A Variant index: text is a key, a number a position (rounded as CLng does).
    /// Throws Error 13 for other subtypes and Error 94 for Null.
    CollectionIndex(const Variant& index)
    {
        if (const std::string* key = index.Get<std::string>()) {
            index_ = *key;
        } else if (index.IsNumber() || index.Get<bool>()) {
            index_ = static_cast<std::int64_t>(CLng(index));
        } else if (index.IsNull()) {
            Raise(errors::InvalidUseOfNull);
        } else {
            Raise(errors::TypeMismatch);
        }
    }

    /// The position, when this is one.
    const std::int64_t* Position() const noexcept { return std::get_if<std::int64_t>(&index_); }
    /// The key, when this is one.
    const std::string* Key() const noexcept { return std::get_if<std::string>(&index_); }

private:
    std::variant<std::int64_t, std::string> index_;
};

/// The runtime's Collection: items in insertion order, addressed by position (1 to Count) or
/// by an optional key that is compared without regard to case ("Müller" finds "MÜLLER").
/// A key that is already there raises Error 457; a missing key raises Error 5; a position
/// outside 1..Count raises Error 9.
template <class T> class Collection
{
    struct Entry
    {
        std::optional<std::string> key;
        T value;
    };
    using Entries = std::vector<std::unique_ptr<Entry>>;

public:
    /// Iterates the items in order.
    template <class Base, class Value> class Iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<Value>;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        Iterator() = default;
        explicit Iterator(Base it) : it_(it) {}
        reference operator*() const { return (*it_)->value; }
        pointer operator->() const { return &(*it_)->value; }
        Iterator& operator++()
        {
            ++it_;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator old = *this;
            ++it_;
            return old;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.it_ == b.it_; }

    private:
        Base it_{};
    };
    using iterator = Iterator<typename Entries::iterator, T>;
    using const_iterator = Iterator<typename Entries::const_iterator, const T>;

    Collection() = default;
    Collection(Collection&&) noexcept = default;
    Collection& operator=(Collection&&) noexcept = default;
    /// A copy holds copies of the items (the runtime copies references; hold shared_ptrs for
    /// that).
    Collection(const Collection& other) { *this = other; }
    Collection& operator=(const Collection& other)
    {
        if (this != &other) {
            Collection copy;
            for (const auto& entry : other.entries_) {
                copy.Insert(copy.entries_.size(), entry->value, entry->key);
            }
            *this = std::move(copy);
        }
        return *this;
    }

    /// The number of items.
    std::int32_t Count() const noexcept { return static_cast<std::int32_t>(entries_.size()); }

    /// Appends an item, with a key when given. Throws Error 457 for a key that is already there.
    void Add(T item, std::optional<std::string> key = std::nullopt)
    {
        Insert(entries_.size(), std::move(item), std::move(key));
    }
    /// Inserts an item before the item at `before` (position or key).
    /// Throws Error 9 / 5 when `before` is not there, Error 457 for a duplicate key.
    void AddBefore(T item, const CollectionIndex& before,
                   std::optional<std::string> key = std::nullopt)
    {
        Insert(Find(before), std::move(item), std::move(key));
    }
    /// Inserts an item after the item at `after` (position or key).
    /// Throws Error 9 / 5 when `after` is not there, Error 457 for a duplicate key.
    void AddAfter(T item, const CollectionIndex& after,
                  std::optional<std::string> key = std::nullopt)
    {
        Insert(Find(after) + 1, std::move(item), std::move(key));
    }

    /// The item at a position (1-based) or with a key. Throws Error 9 for a position outside
    /// 1..Count, Error 5 for a missing key.
    T& Item(const CollectionIndex& index) { return EntryOf(index).value; }
    /// The item at a position (1-based) or with a key. Throws Error 9 / 5 as above.
    const T& Item(const CollectionIndex& index) const { return EntryOf(index).value; }
    /// The item with a key, or nullptr; for code that expects absence.
    T* TryItem(std::string_view key)
    {
        const auto it = byKey_.find(FoldCase(key));
        return it == byKey_.end() ? nullptr : &it->second->value;
    }
    /// True when an item has this key.
    bool Contains(std::string_view key) const { return byKey_.count(FoldCase(key)) != 0; }

    /// Removes the item at a position or with a key. Throws Error 9 / 5 as Item does.
    void Remove(const CollectionIndex& index)
    {
        const std::size_t at = Find(index);
        if (entries_[at]->key) {
            byKey_.erase(FoldCase(*entries_[at]->key));
        }
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    /// Removes every item.
    void Clear() noexcept
    {
        entries_.clear();
        byKey_.clear();
    }

    iterator begin() { return iterator(entries_.begin()); }
    iterator end() { return iterator(entries_.end()); }
    const_iterator begin() const { return const_iterator(entries_.begin()); }
    const_iterator end() const { return const_iterator(entries_.end()); }

private:
    Entry& EntryOf(const CollectionIndex& index) const
    {
        if (const std::string* key = index.Key()) {
            const auto it = byKey_.find(FoldCase(*key));
            if (it == byKey_.end()) {
                Raise(errors::InvalidProcedureCall);
            }
            return *it->second;
        }
        return *entries_[Find(index)];
    }

    // The 0-based slot of an index.
    std::size_t Find(const CollectionIndex& index) const
    {
        if (const std::string* key = index.Key()) {
            const auto it = byKey_.find(FoldCase(*key));
            if (it == byKey_.end()) {
                Raise(errors::InvalidProcedureCall);
            }
            for (std::size_t i = 0; i < entries_.size(); ++i) {
                if (entries_[i].get() == it->second) {
                    return i;
                }
            }
        }
        const std::int64_t position = *index.Position();
        if (position < 1 || position > static_cast<std::int64_t>(entries_.size())) {
            Raise(errors::SubscriptOutOfRange);
        }
        return static_cast<std::size_t>(position - 1);
    }

    void Insert(std::size_t at, T item, std::optional<std::string> key)
    {
        std::optional<std::string> folded;
        if (key) {
            folded = FoldCase(*key);
            if (byKey_.count(*folded) != 0) {
                Raise(errors::DuplicateKey);
            }
        }
        auto entry = std::make_unique<Entry>(Entry{std::move(key), std::move(item)});
        Entry* raw = entry.get();
        entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
        if (folded) {
            byKey_.emplace(std::move(*folded), raw);
        }
    }

    Entries entries_;
    // Folded key to its entry; entries are owned by entries_.
    std::unordered_map<std::string, Entry*> byKey_;
};

} // namespace platform::runtime
