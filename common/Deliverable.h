#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace common {

/// The identity of the deliverable (shared library) this copy of the common parts is linked
/// into. Every deliverable carries its own copy of the common code; the identity tells that
/// copy whose name goes into error sources and the log, which data folder it uses, how its own
/// error numbers map to resource ids, and which UI language it starts with.
struct Deliverable
{
    /// File name without extension, e.g. "Tolvane2"; the project name in error sources.
    const char* sName;
    /// Application title, e.g. "Tallyman"; names the data folder and the registry path.
    const char* sAppTitle;
    /// Own error number = base + resource id of the message (0: the deliverable has none).
    long lErrorBase;
    /// Language used before one is set, and for unsupported languages (1031 or 1033).
    long lDefaultLanguage;
    /// The resource string table: one "id<TAB>text" entry per line.
    std::string_view sStringTable;
};

/// The identity of the deliverable this code is linked into. Defined once per deliverable by
/// the build (from its string table), never by hand.
const Deliverable& ThisDeliverable();

/// The resource string with the given id from this deliverable's table, if there is one.
std::optional<std::string> FindResourceString(long lId);

} // namespace common
