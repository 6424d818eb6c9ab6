#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace platform::mapi {

/// The client's master category list as the category-list component of client version 12 and
/// later hands it out: one group of four ";"-separated fields per category, "{id};name;colour;
/// shortcut key", where the id is a brace-enclosed identifier that stays the same for a name,
/// the colour is 0 (none) or 1 to 25, and the shortcut key 0 (none) or 2 to 13 (Ctrl+F2 to
/// Ctrl+F12). The profile's default store keeps the names alone (store property 0x67F0001E,
/// joined by ";"), so a category has no colour or key here and both read as 0. Every call
/// reads or writes the store, so two list objects see each other's changes.
class MasterCategoryList : public runtime::Object
{
public:
    /// A list over the profile in `profilePath`.
    explicit MasterCategoryList(std::string profilePath);

    std::string TypeName() const override { return "MasterCategoryList"; }

    /// The list text in groups of four; empty when the store holds none. Raises -2147221231
    /// (logon failed) when the profile cannot be opened.
    std::string ReadCategories() const;
    /// Stores a list text in groups of four: the names (second fields, empty ones skipped) are
    /// kept; an empty text removes the list. A text whose field count is no multiple of four,
    /// or whose third or fourth field of a group is no whole number, raises 5 and stores
    /// nothing. Failures of the store reach the caller.
    void WriteCategories(const std::string& list);
    /// The notation of the list text: empty, as the text is plain.
    std::string Format() const { return {}; }

    /// The names of a stored list ("A;B") in groups of four, as ReadCategories gives them.
    static std::string GroupsOf(const std::string& names);
    /// The names ("A;B") of a list in groups of four; raises 5 as WriteCategories does.
    static std::string NamesOf(const std::string& groups);

private:
    std::string m_profilePath;
};

/// What a client before version 12 keeps of the master category list: the registry value
/// "Masterlist" under "Software\Microsoft\Office\<major>.0\Outlook\Categories" of the current
/// user, text for versions 8 and 9 and UTF-16LE bytes with a two-byte terminator for 10 and 11.
/// When that value is missing, the list of the process's current profile is written there, as
/// such a client has the list when it starts on the profile; a value that is there (also an
/// emptied one) is the user's and stays. Versions from 12 on and below 8, and a run without a
/// profile or with an empty profile list, leave the registry as it is. Failures of the store
/// or the registry reach the caller.
void KeepMasterListForClient(const std::string& clientVersion);

} // namespace platform::mapi
