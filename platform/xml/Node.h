#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::xml {

namespace detail {
struct DocState;
}

class Document;
class NodeList;

/// The kinds of node the DOM knows; the numbers are the DOM's own node type codes.
enum class NodeType
{
    Element = 1,
    Text = 3,
    CData = 4,
    ProcessingInstruction = 7,
    Comment = 8,
    Document = 9,
    DocumentType = 10,
};

/// A character that XML 1.0 cannot hold, found in a text.
struct UnholdableCharacter
{
    std::size_t offset = 0; ///< its byte offset in the text
    std::size_t length = 1; ///< its length in bytes
    std::string shown;      ///< "U+0001" for a character, "\xFC" for a byte that is not UTF-8
    bool notUtf8 = false;   ///< a byte outside well-formed UTF-8 rather than a character
};

/// The first character of `text` that XML 1.0 cannot hold: a byte outside well-formed UTF-8,
/// a control character other than tab, line feed and carriage return, U+FFFE or U+FFFF.
/// std::nullopt when XML can hold all of it.
std::optional<UnholdableCharacter> FirstUnholdable(std::string_view text);

/// A node of a DOM document (element, text, comment, processing instruction or the document).
///
/// A node is a reference: copies name the same node, and every node keeps its document alive,
/// so an element kept after its document object was dropped stays valid and readable.
/// A default-constructed node is the null node; reading it gives empty answers, changing it
/// raises error 91.
class Node
{
public:
    /// The null node.
    Node() = default;

    /// True when this is a real node.
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    /// True for the null node.
    bool IsNull() const noexcept { return handle_ == nullptr; }

    /// Node kind. Raises 91 for the null node.
    NodeType Type() const;
    /// Tag of an element, target of a processing instruction, "#text", "#cdata-section",
    /// "#comment" or "#document"; empty for the null node.
    std::string NodeName() const;
    /// The name without a namespace prefix ("Reports" for "r:Reports").
    std::string BaseName() const;

    /// The text of the node and its descendants joined in document order (the DOM's `text`);
    /// the data of a processing instruction or comment; empty for the null node.
    std::string Text() const;
    /// Replaces all children by one text node holding `text` (no child for an empty text).
    /// Markup characters are escaped when serialised. Raises 91 for the null node and 5,
    /// leaving the node as it was, when the text holds a character XML cannot hold (see
    /// FirstUnholdable): a text is stored whole or not at all.
    void SetText(std::string_view text);

    /// The first character XML 1.0 cannot hold anywhere in this node and below it: in names,
    /// texts, attribute values, comments and instructions (the loader accepts references such
    /// as "&#1;" to them). std::nullopt when there is none or for the null node.
    std::optional<UnholdableCharacter> FirstUnholdableWithin() const;

    /// The node's children in document order.
    NodeList ChildNodes() const;
    /// First child, or the null node.
    Node FirstChild() const;
    /// Next sibling, or the null node.
    Node NextSibling() const;
    /// The parent node (the document for the top-level element), or the null node.
    Node ParentNode() const;

    /// Appends `child` as last child and returns the node that now sits there.
    ///
    /// A node of the same document is moved from its old place. A node of another document
    /// is copied in whole (attributes and descendants) and the copy is returned; the node
    /// stays untouched in its own document. Raises 91 for a null node and 5 when the child is
    /// this node or one of its ancestors, when it is a document, or when a document would get
    /// a second top-level element.
    Node AppendChild(const Node& child);
    /// Removes `child` from this node's children and returns it (now detached).
    /// Raises 5 when `child` is not a child of this node.
    Node RemoveChild(const Node& child);

    /// The value of attribute `name` of an element; std::nullopt when there is none.
    std::optional<std::string> GetAttribute(std::string_view name) const;
    /// Sets (creates or replaces) attribute `name`. Raises 5 unless this is an element, and
    /// when the name or the value holds a character XML cannot hold.
    void SetAttribute(std::string_view name, std::string_view value);
    /// Removes attribute `name` when it exists.
    void RemoveAttribute(std::string_view name);

    /// All descendant elements named `name` ("*" for every one) in document order.
    NodeList GetElementsByTagName(std::string_view name) const;

    /// The node serialised as XML text (UTF-8, no added whitespace).
    std::string Xml() const;

    /// The document this node belongs to.
    Document OwnerDocument() const;

    /// True when both name the same node.
    bool operator==(const Node& other) const noexcept { return handle_ == other.handle_; }

protected:
    Node(std::shared_ptr<detail::DocState> doc, void* handle)
        : doc_(std::move(doc)), handle_(handle)
    {
    }

    std::shared_ptr<detail::DocState> doc_;
    // Non-owning: the node's storage belongs to the document held by doc_.
    void* handle_ = nullptr;

    friend class Document;
    friend struct NodeAccess;
};

} // namespace platform::xml
