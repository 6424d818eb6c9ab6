#include "platform/xml/Document.h"

#include <new>

#include "platform/locale/Locale.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/xml/detail/DocState.h"
#include "platform/xml/detail/Raise.h"
#include "platform/xml/detail/TextCodec.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <optional>

namespace platform::xml {
namespace {

// A reason in the current locale's language: it reaches the person inside others' messages.
std::string Say(std::string german, std::string english)
{
    return platform::locale::InCurrentLanguage(std::move(german), std::move(english));
}

// What the parser found wrong, in words: the library's own descriptions are English only.
std::string ParserReason(const pugi::xml_parse_result& result)
{
    switch (result.status) {
    case pugi::status_unrecognized_tag:
        return Say("ein Tag, das nicht erkannt wird", "a tag that is not recognised");
    case pugi::status_bad_pi:
        return Say("eine fehlerhafte Verarbeitungsanweisung oder XML-Deklaration",
                   "a malformed processing instruction or XML declaration");
    case pugi::status_bad_comment:
        return Say("ein fehlerhafter Kommentar", "a malformed comment");
    case pugi::status_bad_cdata:
        return Say("ein fehlerhafter CDATA-Abschnitt", "a malformed CDATA section");
    case pugi::status_bad_doctype:
        return Say("eine fehlerhafte Dokumenttyp-Deklaration",
                   "a malformed document type declaration");
    case pugi::status_bad_pcdata:
        return Say("fehlerhafter Text zwischen den Elementen",
                   "malformed text between the elements");
    case pugi::status_bad_start_element:
        return Say("ein fehlerhaftes Start-Tag", "a malformed start tag");
    case pugi::status_bad_attribute:
        return Say("ein fehlerhaftes Attribut", "a malformed attribute");
    case pugi::status_bad_end_element:
        return Say("ein fehlerhaftes End-Tag", "a malformed end tag");
    case pugi::status_end_element_mismatch:
        return Say("ein End-Tag, das nicht zum offenen Element passt, oder ein "
                   "Element, das nicht geschlossen wird",
                   "an end tag that does not match the open element, or an element "
                   "that is not closed");
    default:
        return Say("kein wohlgeformtes XML (" + std::string(result.description()) + ")",
                   "not well-formed XML (" + std::string(result.description()) + ")");
    }
}

using detail::ToHandle;

// The bytes of a file, or nothing with why (" : ...") when it cannot be opened or read: a
// folder opens as a stream and fails only at the first read, which throws.
std::optional<std::string> ReadBytes(const std::string& path, std::string& why)
{
    // A pipe would hold the caller until something writes into it, and a device gives what it
    // gives: neither is opened.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status)) {
        why = Say(": es ist keine Datei, sondern eine Pipe, ein Gerät oder ein Socket",
                  ": it is not a file but a pipe, a device or a socket");
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    try {
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    } catch (const std::ios_base::failure& e) {
        why = ": " + e.code().message();
        return std::nullopt;
    }
}

// No DTD processing and no entity expansion by the parser: a DOCTYPE is kept as a node only
// so that it can be rejected, and references are expanded by ExpandEntities.
constexpr unsigned kParseOptions = (pugi::parse_default & ~pugi::parse_escapes) |
                                   pugi::parse_doctype | pugi::parse_pi | pugi::parse_comments |
                                   pugi::parse_declaration | pugi::parse_ws_pcdata_single;

bool Fail(ParseError& error, long code, std::string reason, std::string_view text,
          std::optional<std::size_t> offset)
{
    error.ErrorCode = code;
    error.Reason = std::move(reason);
    if (offset) {
        detail::LocateOffset(text, *offset, error);
    }
    return false;
}

std::optional<detail::EntityProblem> Expand(pugi::xml_node node, std::size_t& offset)
{
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata) {
            std::string value = child.value();
            if (auto problem = detail::ExpandEntities(value)) {
                offset = static_cast<std::size_t>(child.offset_debug()) + problem->offset;
                return problem;
            }
            // The library gives up a value it has no memory for without a word.
            if (!child.set_value(value.c_str())) {
                throw std::bad_alloc();
            }
        } else if (child.type() == pugi::node_element) {
            for (pugi::xml_attribute attr : child.attributes()) {
                std::string value = attr.value();
                if (auto problem = detail::ExpandEntities(value)) {
                    offset = static_cast<std::size_t>(child.offset_debug());
                    return problem;
                }
                if (!attr.set_value(value.c_str())) {
                    throw std::bad_alloc();
                }
            }
            if (auto problem = Expand(child, offset)) {
                return problem;
            }
        }
    }
    return std::nullopt;
}

// The first element nested deeper than kMaxDepth, or the null node. Walks without recursion,
// since the tree's depth is what is being checked.
pugi::xml_node TooDeepNode(pugi::xml_node root)
{
    int depth = 0;
    pugi::xml_node node = root.first_child();
    if (node) {
        depth = 1;
    }
    while (node) {
        if (depth > Document::kMaxDepth && node.type() == pugi::node_element) {
            return node;
        }
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node && node != root && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (!node || node == root) {
            break;
        }
        node = node.next_sibling();
    }
    return {};
}

std::string DeclarationData(pugi::xml_node declaration)
{
    std::string data;
    for (pugi::xml_attribute attr : declaration.attributes()) {
        if (!data.empty()) {
            data += ' ';
        }
        data += std::string(attr.name()) + "=\"" + attr.value() + "\"";
    }
    return data;
}

// What a copy of the tree must hold as much of: its nodes, attributes and characters.
struct TreeSize
{
    std::size_t nodes = 0;
    std::size_t attributes = 0;
    std::size_t characters = 0;
    bool operator==(const TreeSize&) const = default;
};

TreeSize SizeOf(pugi::xml_node top)
{
    TreeSize size;
    pugi::xml_node node = top;
    while (node) {
        ++size.nodes;
        size.characters += std::char_traits<char>::length(node.name()) +
                           std::char_traits<char>::length(node.value());
        for (pugi::xml_attribute attr : node.attributes()) {
            ++size.attributes;
            size.characters += std::char_traits<char>::length(attr.name()) +
                               std::char_traits<char>::length(attr.value());
        }
        node = detail::NextWithin(top, node);
    }
    return size;
}

// The library's copy leaves out, without a word, a node or a text it has no memory for: a copy
// that holds less than its source is a copy the memory ran out for.
void AppendWholeCopy(pugi::xml_node parent, pugi::xml_node source)
{
    const pugi::xml_node copy = parent.append_copy(source);
    if (!copy || SizeOf(copy) != SizeOf(source)) {
        throw std::bad_alloc();
    }
}

bool ParseIntoUnguarded(detail::DocState& state, std::string_view bytes)
{
    ParseError& error = state.lastError;
    // Nodes of the old content stay valid for whoever holds them, detached from the document.
    while (state.tree.first_child()) {
        state.limbo.append_move(state.tree.first_child());
    }
    const std::optional<std::string> text = detail::DecodeToUtf8(bytes, error);
    if (!text) {
        return false;
    }
    pugi::xml_document parsed;
    const pugi::xml_parse_result result =
        parsed.load_buffer(text->data(), text->size(), kParseOptions, pugi::encoding_utf8);
    if (result.status == pugi::status_out_of_memory) {
        throw std::bad_alloc();
    }
    if (result.status == pugi::status_no_document_element || text->empty()) {
        return Fail(error, ParseError::NoDocumentElement,
                    Say("der Text enthält kein XML-Element", "the text holds no XML element"),
                    *text, std::nullopt);
    }
    if (!result) {
        return Fail(error, ParseError::Malformed, ParserReason(result), *text,
                    static_cast<std::size_t>(result.offset));
    }
    if (const pugi::xml_node deep = TooDeepNode(parsed)) {
        return Fail(error, ParseError::TooDeep,
                    Say("die Elemente sind tiefer als " + std::to_string(Document::kMaxDepth) +
                            " Ebenen verschachtelt",
                        "elements are nested deeper than " + std::to_string(Document::kMaxDepth) +
                            " levels"),
                    *text, static_cast<std::size_t>(deep.offset_debug()));
    }
    for (pugi::xml_node child : parsed.children()) {
        if (child.type() == pugi::node_doctype) {
            return Fail(error, ParseError::DtdProhibited,
                        Say("eine DOCTYPE-Deklaration ist nicht erlaubt: DTDs werden nicht "
                            "verarbeitet",
                            "a DOCTYPE declaration is not allowed: DTDs are not processed"),
                        *text, static_cast<std::size_t>(child.offset_debug()));
        }
    }
    std::size_t offset = 0;
    if (auto problem = Expand(parsed, offset)) {
        return Fail(error, ParseError::UndefinedEntity, problem->reason, *text, offset);
    }
    for (pugi::xml_node child : parsed.children()) {
        if (child.type() == pugi::node_declaration) {
            pugi::xml_node pi = state.tree.append_child(pugi::node_pi);
            if (!pi || !pi.set_name("xml") || !pi.set_value(DeclarationData(child).c_str())) {
                throw std::bad_alloc();
            }
        } else {
            AppendWholeCopy(state.tree, child);
        }
    }
    return true;
}

// A text the memory cannot hold is refused whole, never loaded in part.
bool ParseInto(detail::DocState& state, std::string_view bytes)
{
    try {
        return ParseIntoUnguarded(state, bytes);
    } catch (const std::bad_alloc&) {
        // Nobody holds a node of the part copied so far.
        while (state.tree.first_child()) {
            state.tree.remove_child(state.tree.first_child());
        }
        return Fail(state.lastError, ParseError::OutOfMemory,
                    Say("der Arbeitsspeicher reicht nicht, um den Text zu lesen",
                        "there is not enough memory to read the text"),
                    {}, std::nullopt);
    }
}

} // namespace

Document::Document() : Document(std::make_shared<detail::DocState>()) {}

Document::Document(std::shared_ptr<detail::DocState> state)
    : Node(state, state ? ToHandle(state->tree) : nullptr)
{
}

Node Document::CreateElement(std::string_view name)
{
    if (name.empty() || name.front() == '#') {
        detail::Raise(5, "\"" + std::string(name) + "\" is not a valid element name");
    }
    detail::RequireHoldable(name, "the element name");
    pugi::xml_node node = doc_->limbo.append_child(std::string(name).c_str());
    return Node(doc_, ToHandle(node));
}

Node Document::CreateProcessingInstruction(std::string_view target, std::string_view data)
{
    if (target.empty()) {
        detail::Raise(5, "a processing instruction needs a target");
    }
    detail::RequireHoldable(target, "the target");
    detail::RequireHoldable(data, "the data");
    pugi::xml_node node = doc_->limbo.append_child(pugi::node_pi);
    node.set_name(std::string(target).c_str());
    node.set_value(std::string(data).c_str());
    return Node(doc_, ToHandle(node));
}

Node Document::DocumentElement() const
{
    for (pugi::xml_node child : doc_->tree.children()) {
        if (child.type() == pugi::node_element) {
            return Node(doc_, ToHandle(child));
        }
    }
    return {};
}

bool Document::LoadXml(std::string_view text)
{
    doc_->lastError = ParseError{};
    return ParseInto(*doc_, text);
}

bool Document::Load(const std::string& path)
{
    doc_->lastError = ParseError{};
    doc_->lastError.Url = path;
    std::string why;
    const auto bytes = ReadBytes(path, why);
    if (!bytes) {
        while (doc_->tree.first_child()) {
            doc_->limbo.append_move(doc_->tree.first_child());
        }
        doc_->lastError.ErrorCode = ParseError::FileUnreadable;
        doc_->lastError.Reason = Say("die Datei „" + path + "“ kann nicht gelesen werden" + why,
                                     "the file \"" + path + "\" cannot be read" + why);
        return false;
    }
    return ParseInto(*doc_, *bytes);
}

const ParseError& Document::LastParseError() const
{
    return doc_->lastError;
}

void Document::Save(const std::string& path) const
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    for (pugi::xml_node child : doc_->tree.children()) {
        if (child.type() == pugi::node_pi && std::string_view(child.name()) == "xml") {
            continue;
        }
        text += detail::Serialise(child);
    }
    text += '\n';
    platform::runtime::ReplacingFile file(path, "XML DOM");
    file.Write(text);
    file.Commit();
}

} // namespace platform::xml
