#pragma once

#include "platform/store/PropValue.h"
#include "platform/store/StoreRecords.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::mapi {
class Restriction;
}

namespace platform::mapi::detail {

/// A restriction tree frozen for evaluation: the leaf values converted to the store's value
/// form once (dates to UTC seconds, texts case-folded when the leaf ignores case), so that
/// testing an item costs no conversions of the leaf side. Later edits of the tree it was made
/// from do not change it.
class CompiledRestriction
{
public:
    /// Gives an item's property by tag, or null when the item lacks it.
    using Reader = std::function<const store::PropValue*(store::PropTag)>;

    /// Freezes `root`. Throws runtime error 5 for a leaf whose value cannot be compared (an
    /// array, an object) or a content leaf without text.
    explicit CompiledRestriction(const Restriction& root);

    /// True when an item whose properties `read` gives passes the tree.
    bool Matches(const Reader& read) const;
    /// Every non-zero tag the tree reads, without repeats.
    std::vector<store::PropTag> Tags() const;
    /// Ranges of integer-valued properties that every matching item has a value in (at least
    /// one of them), for the store's value index; nullopt when the tree gives no such bound
    /// (then every item must be tested).
    std::optional<std::vector<store::ValueRange>> Ranges() const;
    /// The window of a calendar read: where the tree requires (through its ANDs) an OR of
    /// the recurring items (a flag equal to true) and of the items without that flag whose
    /// time lies in a window, that window. A series without an occurrence in the window
    /// gives the reader nothing, so the table may leave it out (see
    /// store::Store::ReadTableInRanges); nullopt for any other tree.
    std::optional<store::ValueRange> SeriesWindow() const;

    /// One node; public so that the evaluation helpers can walk it.
    struct Node
    {
        long kind = 0;
        std::vector<Node> children;
        store::PropTag tag = 0;
        long relop = 0;
        long fuzzy = 0;
        std::optional<store::PropValue> value; ///< property leaves
        std::string text;                      ///< content leaves (folded when ignoring case)
    };

private:
    Node m_root;
};

/// ICU full case folding of UTF-8 text, for comparisons without regard to case.
std::string FoldCase(const std::string& text);

/// The relational test of a property leaf on one stored value.
bool CompareProperty(const store::PropValue& stored, long relop, const store::PropValue& wanted);
/// The content test of a content leaf on one stored value (texts and lists of texts).
bool MatchContent(const store::PropValue& stored, long fuzzy, const std::string& wanted);

} // namespace platform::mapi::detail
