#pragma once

#include "platform/xml/Node.h"

#include <cstddef>
#include <vector>

namespace platform::xml {

/// A list of nodes as the DOM hands it out (childNodes, getElementsByTagName).
///
/// Positions count from 0, as the DOM's `item(index)` does; a position outside the list gives
/// a null node rather than an error. The list is a snapshot taken when it is asked for: nodes
/// appended or removed afterwards do not show up in it.
class NodeList
{
public:
    /// An empty list.
    NodeList() = default;

    /// Number of nodes in the list.
    long Length() const noexcept { return static_cast<long>(nodes_.size()); }

    /// The node at `index` (0-based); a null node when `index` is negative or past the end.
    Node Item(long index) const;

    /// Iteration in list order.
    std::vector<Node>::const_iterator begin() const noexcept { return nodes_.begin(); }
    /// End of iteration.
    std::vector<Node>::const_iterator end() const noexcept { return nodes_.end(); }

private:
    friend class Node;
    explicit NodeList(std::vector<Node> nodes) : nodes_(std::move(nodes)) {}

    std::vector<Node> nodes_;
};

} // namespace platform::xml
