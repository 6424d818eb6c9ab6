#include "platform/xml/Node.h"

#include "platform/xml/Document.h"
#include "platform/xml/NodeList.h"
#include "platform/xml/detail/DocState.h"
#include "platform/xml/detail/Raise.h"
#include "platform/xml/detail/TextCodec.h"

#include <functional>

namespace platform::xml {

namespace detail {
namespace {

class StringWriter : public pugi::xml_writer
{
public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override
    {
        const std::string_view chunk(static_cast<const char*>(data), size);
        for (char c : chunk) {
            if (c == '\r') {
                out_ += "&#13;";
            } else {
                out_ += c;
            }
        }
    }

private:
    std::string& out_;
};

} // namespace

std::string Serialise(pugi::xml_node node)
{
    std::string out;
    StringWriter writer(out);
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return out;
}

} // namespace detail

std::optional<UnholdableCharacter> FirstUnholdable(std::string_view text)
{
    const auto found = detail::FirstUnholdable(text);
    if (!found) {
        return std::nullopt;
    }
    static const char kHex[] = "0123456789ABCDEF";
    const std::string_view bytes = text.substr(found->offset, found->length);
    if (!found->utf8) {
        const auto c = static_cast<unsigned char>(bytes[0]);
        return UnholdableCharacter{found->offset, 1,
                                   std::string("\\x") + kHex[c >> 4] + kHex[c & 0xF], true};
    }
    // A C0 control character or U+FFFE / U+FFFF (EF BF BE, EF BF BF).
    const unsigned cp = bytes.size() == 1
                            ? static_cast<unsigned char>(bytes[0])
                            : 0xFFFEu + (static_cast<unsigned char>(bytes[2]) - 0xBEu);
    std::string shown = "U+";
    for (int shift = 12; shift >= 0; shift -= 4) {
        shown += kHex[(cp >> shift) & 0xF];
    }
    return UnholdableCharacter{found->offset, found->length, shown, false};
}

namespace detail {

void RequireHoldable(std::string_view text, std::string_view what)
{
    if (const auto found = xml::FirstUnholdable(text)) {
        Raise(5, std::string(what) + " holds " +
                     (found->notUtf8 ? "the byte " + found->shown + ", which is not UTF-8"
                                     : found->shown + ", which XML cannot hold") +
                     " (at byte " + std::to_string(found->offset) + ")");
    }
}

} // namespace detail

namespace {

using detail::RequireHoldable;
using detail::ToHandle;
using detail::ToPugi;

pugi::xml_node Require(void* handle)
{
    if (handle == nullptr) {
        detail::Raise(91, "the XML node is not set");
    }
    return ToPugi(handle);
}

void CollectText(pugi::xml_node node, std::string& out)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
            out += child.value();
            break;
        case pugi::node_element:
            CollectText(child, out);
            break;
        default:
            break;
        }
    }
}

std::optional<UnholdableCharacter> FirstUnholdableOf(pugi::xml_node node)
{
    for (const std::string_view text :
         {std::string_view(node.name()), std::string_view(node.value())}) {
        if (auto found = FirstUnholdable(text)) {
            return found;
        }
    }
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        for (const std::string_view text :
             {std::string_view(attribute.name()), std::string_view(attribute.value())}) {
            if (auto found = FirstUnholdable(text)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

// In document order (see NextWithin).
std::optional<UnholdableCharacter> FirstUnholdableBelow(pugi::xml_node top)
{
    pugi::xml_node node = top;
    while (node) {
        if (auto found = FirstUnholdableOf(node)) {
            return found;
        }
        node = detail::NextWithin(top, node);
    }
    return std::nullopt;
}

bool IsAncestorOrSelf(pugi::xml_node candidate, pugi::xml_node node)
{
    for (; node; node = node.parent()) {
        if (node == candidate) {
            return true;
        }
    }
    return false;
}

} // namespace

NodeType Node::Type() const
{
    const pugi::xml_node node = Require(handle_);
    if (node == doc_->tree) {
        return NodeType::Document;
    }
    switch (node.type()) {
    case pugi::node_element:
        return NodeType::Element;
    case pugi::node_pcdata:
        return NodeType::Text;
    case pugi::node_cdata:
        return NodeType::CData;
    case pugi::node_comment:
        return NodeType::Comment;
    case pugi::node_doctype:
        return NodeType::DocumentType;
    default:
        return NodeType::ProcessingInstruction;
    }
}

std::string Node::NodeName() const
{
    if (IsNull()) {
        return {};
    }
    switch (Type()) {
    case NodeType::Document:
        return "#document";
    case NodeType::Text:
        return "#text";
    case NodeType::CData:
        return "#cdata-section";
    case NodeType::Comment:
        return "#comment";
    default:
        return ToPugi(handle_).name();
    }
}

std::string Node::BaseName() const
{
    if (IsNull()) {
        return {};
    }
    const NodeType type = Type();
    if (type != NodeType::Element && type != NodeType::ProcessingInstruction) {
        return {};
    }
    const std::string name = NodeName();
    const auto colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

std::string Node::Text() const
{
    if (IsNull()) {
        return {};
    }
    const pugi::xml_node node = ToPugi(handle_);
    if (node.type() == pugi::node_element) {
        std::string out;
        CollectText(node, out);
        return out;
    }
    return node.value();
}

std::optional<UnholdableCharacter> Node::FirstUnholdableWithin() const
{
    if (IsNull()) {
        return std::nullopt;
    }
    return FirstUnholdableBelow(ToPugi(handle_));
}

void Node::SetText(std::string_view text)
{
    pugi::xml_node node = Require(handle_);
    // Stored through a C string, a NUL would cut the text short without a word.
    RequireHoldable(text, "the text");
    const std::string value(text);
    if (node.type() != pugi::node_element) {
        node.set_value(value.c_str());
        return;
    }
    if (node == doc_->tree) {
        detail::Raise(5, "the text of a document cannot be set");
    }
    while (node.first_child()) {
        node.remove_child(node.first_child());
    }
    if (!value.empty()) {
        node.append_child(pugi::node_pcdata).set_value(value.c_str());
    }
}

NodeList Node::ChildNodes() const
{
    std::vector<Node> nodes;
    if (!IsNull()) {
        for (pugi::xml_node child : ToPugi(handle_).children()) {
            nodes.push_back(Node(doc_, ToHandle(child)));
        }
    }
    return NodeList(std::move(nodes));
}

Node Node::FirstChild() const
{
    if (IsNull()) {
        return {};
    }
    const pugi::xml_node child = ToPugi(handle_).first_child();
    return child ? Node(doc_, ToHandle(child)) : Node();
}

Node Node::NextSibling() const
{
    if (IsNull() || ToPugi(handle_) == doc_->tree) {
        return {};
    }
    const pugi::xml_node next = ToPugi(handle_).next_sibling();
    return next ? Node(doc_, ToHandle(next)) : Node();
}

Node Node::ParentNode() const
{
    if (IsNull()) {
        return {};
    }
    const pugi::xml_node parent = ToPugi(handle_).parent();
    if (!parent || parent == doc_->limbo || parent == doc_->storage) {
        return {};
    }
    return Node(doc_, ToHandle(parent));
}

Node Node::AppendChild(const Node& child)
{
    pugi::xml_node parent = Require(handle_);
    const pugi::xml_node node = Require(child.handle_);
    if (child.doc_ && node == child.doc_->tree) {
        detail::Raise(5, "a document cannot be appended as a child");
    }
    if (parent.type() != pugi::node_element) {
        detail::Raise(5, "only elements and documents can have children");
    }
    const bool isDocument = parent == doc_->tree;
    if (isDocument && node.type() == pugi::node_element) {
        for (pugi::xml_node existing : parent.children()) {
            if (existing.type() == pugi::node_element && existing != node) {
                detail::Raise(5, "a document can have only one top-level element");
            }
        }
    }
    if (isDocument && (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)) {
        detail::Raise(5, "text cannot stand at the top level of a document");
    }
    if (child.doc_ != doc_) {
        // Another document's node: copy it whole, so that the source node stays where it is.
        const pugi::xml_node copy = parent.append_copy(node);
        if (!copy) {
            detail::Raise(5, "the node cannot be appended here");
        }
        return Node(doc_, ToHandle(copy));
    }
    if (IsAncestorOrSelf(node, parent)) {
        detail::Raise(5, "a node cannot be appended to itself or to one of its descendants");
    }
    const pugi::xml_node moved = parent.append_move(node);
    if (!moved) {
        detail::Raise(5, "the node cannot be appended here");
    }
    return Node(doc_, ToHandle(moved));
}

Node Node::RemoveChild(const Node& child)
{
    const pugi::xml_node parent = Require(handle_);
    const pugi::xml_node node = Require(child.handle_);
    if (child.doc_ != doc_ || node.parent() != parent) {
        detail::Raise(5, "the node to remove is not a child of this node");
    }
    doc_->limbo.append_move(node);
    return child;
}

std::optional<std::string> Node::GetAttribute(std::string_view name) const
{
    if (IsNull()) {
        return std::nullopt;
    }
    const pugi::xml_attribute attr = ToPugi(handle_).attribute(std::string(name).c_str());
    if (!attr) {
        return std::nullopt;
    }
    return std::string(attr.value());
}

void Node::SetAttribute(std::string_view name, std::string_view value)
{
    pugi::xml_node node = Require(handle_);
    if (node.type() != pugi::node_element || node == doc_->tree) {
        detail::Raise(5, "only elements have attributes");
    }
    if (name.empty()) {
        detail::Raise(5, "an attribute needs a name");
    }
    RequireHoldable(name, "the attribute name");
    RequireHoldable(value, "the attribute value");
    const std::string key(name);
    pugi::xml_attribute attr = node.attribute(key.c_str());
    if (!attr) {
        attr = node.append_attribute(key.c_str());
    }
    attr.set_value(std::string(value).c_str());
}

void Node::RemoveAttribute(std::string_view name)
{
    if (!IsNull()) {
        ToPugi(handle_).remove_attribute(std::string(name).c_str());
    }
}

NodeList Node::GetElementsByTagName(std::string_view name) const
{
    std::vector<Node> nodes;
    if (IsNull()) {
        return NodeList(std::move(nodes));
    }
    const bool all = name == "*";
    std::function<void(pugi::xml_node)> walk = [&](pugi::xml_node parent) {
        for (pugi::xml_node child : parent.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            if (all || name == child.name()) {
                nodes.push_back(Node(doc_, ToHandle(child)));
            }
            walk(child);
        }
    };
    walk(ToPugi(handle_));
    return NodeList(std::move(nodes));
}

std::string Node::Xml() const
{
    if (IsNull()) {
        return {};
    }
    const pugi::xml_node node = ToPugi(handle_);
    if (node != doc_->tree) {
        return detail::Serialise(node);
    }
    std::string out;
    for (pugi::xml_node child : node.children()) {
        out += detail::Serialise(child);
    }
    return out;
}

Document Node::OwnerDocument() const
{
    if (!doc_) {
        detail::Raise(91, "the XML node is not set");
    }
    return Document(doc_);
}

} // namespace platform::xml
