#pragma once

#include "platform/xml/ParseError.h"

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace platform::xml::detail {

/// What a document shares with every node handed out from it.
///
/// pugixml keeps no detached nodes, so the storage document holds two containers: `tree`,
/// whose children are the DOM document's children, and `limbo`, where created and removed
/// nodes wait until they are appended. Names starting with "#" cannot come from a parse.
struct DocState
{
    DocState()
    {
        tree = storage.append_child("#tree");
        limbo = storage.append_child("#limbo");
    }

    pugi::xml_document storage;
    pugi::xml_node tree;
    pugi::xml_node limbo;
    ParseError lastError;
};

/// The node after `node` in document order among `top` and its descendants, or the null node
/// after the last. Walks without recursion: a loaded file may nest deeper than the stack.
inline pugi::xml_node NextWithin(pugi::xml_node top, pugi::xml_node node)
{
    if (node.first_child()) {
        return node.first_child();
    }
    while (node != top && !node.next_sibling()) {
        node = node.parent();
    }
    return node == top ? pugi::xml_node() : node.next_sibling();
}

/// The pugixml node behind an opaque node handle.
inline pugi::xml_node ToPugi(void* handle)
{
    return pugi::xml_node(static_cast<pugi::xml_node_struct*>(handle));
}

/// The opaque handle of a pugixml node.
inline void* ToHandle(pugi::xml_node node)
{
    return node.internal_object();
}

/// Raises 5, naming `what`, when `text` holds a character XML cannot hold (FirstUnholdable).
void RequireHoldable(std::string_view text, std::string_view what);

/// The node serialised without added whitespace. A CR in text is written as a character
/// reference, since a parser would turn a literal CR into a line feed.
std::string Serialise(pugi::xml_node node);

} // namespace platform::xml::detail
