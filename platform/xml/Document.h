#pragma once

#include "platform/xml/Node.h"
#include "platform/xml/ParseError.h"

#include <string>
#include <string_view>

namespace platform::xml {

/// A DOM document: builds, parses and serialises XML.
///
/// Copies of a Document refer to the same document. Parsing never processes a DTD: a
/// DOCTYPE declaration is rejected, and only the five predefined entities (&amp; &lt; &gt;
/// &quot; &apos;) and character references are expanded. Comments and processing
/// instructions are kept as nodes; whitespace between elements is dropped, whitespace that
/// is an element's only content is kept.
class Document : public Node
{
public:
    /// The deepest nesting of elements a parse accepts; deeper text fails with
    /// ParseError::TooDeep, so that no walk over a hostile file can exhaust the stack.
    static constexpr int kMaxDepth = 1000;

    /// A new, empty document.
    Document();

    /// Creates an element of this document (not yet in the tree). Raises 5 for an empty name
    /// and for one that holds a character XML cannot hold.
    Node CreateElement(std::string_view name);
    /// Creates a processing instruction; target "xml" gives the XML declaration, whose data
    /// must be pseudo-attributes such as version="1.0". Raises 5 when the target or the data
    /// holds a character XML cannot hold.
    Node CreateProcessingInstruction(std::string_view target, std::string_view data);

    /// The top-level element, or the null node.
    Node DocumentElement() const;

    /// Replaces the content by the parse of `text`. UTF-8 is expected; a text beginning with
    /// a UTF-8 or UTF-16 byte order mark, or UTF-16 without one, is decoded first. The
    /// declaration's encoding name is not used. Elements nested deeper than kMaxDepth are refused.
    /// Returns false on failure: the document is
    /// then empty and ParseError() tells why.
    bool LoadXml(std::string_view text);
    /// The same from a file's bytes (UTF-8 or UTF-16 LE/BE, with or without a byte order mark).
    bool Load(const std::string& path);
    /// The failure of the last LoadXml or Load; ErrorCode 0 after a success.
    const ParseError& LastParseError() const;

    /// Writes the document to `path` as UTF-8 with the declaration
    /// <?xml version="1.0" encoding="UTF-8"?>, through a temporary file in the same folder
    /// and a rename, so that a failed save leaves an existing file whole. Raises 76 when the
    /// folder does not exist and 75 for other write failures.
    void Save(const std::string& path) const;

private:
    explicit Document(std::shared_ptr<detail::DocState> state);
    friend class Node;
};

} // namespace platform::xml
