#pragma once

#include <string>

namespace platform::xml {

/// Why the last load of a document failed (the DOM's parseError object).
/// ErrorCode 0 means the last load succeeded.
struct ParseError
{
    /// What kind of failure; the numbers are stable and documented here.
    enum Code : long
    {
        None = 0,            ///< no error
        FileUnreadable = 1,  ///< the file is missing or cannot be read
        Malformed = 2,       ///< the text is not well-formed XML
        DtdProhibited = 3,   ///< a DOCTYPE declaration: DTDs are not processed
        UndefinedEntity = 4, ///< an entity other than the five predefined ones or a char reference
        BadEncoding = 5,     ///< invalid UTF-8 or UTF-16 bytes
        NoDocumentElement = 6, ///< the text holds no element (empty text included)
        TooDeep = 7,           ///< elements nested deeper than Document::kMaxDepth
        OutOfMemory = 8,       ///< the memory ran out before the whole text was read
    };

    long ErrorCode = None; ///< one of Code
    std::string Reason;    ///< the failure in words
    long Line = 0;         ///< 1-based line of the failure; 0 when not tied to a place
    long LinePos = 0;      ///< 1-based column (in bytes of UTF-8) on that line; 0 when unknown
    std::string Url;       ///< the file loaded, empty for text
};

} // namespace platform::xml
