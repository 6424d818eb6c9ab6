#pragma once

#include "common/ILanguage.h"
#include "folderpicker/Enumerations.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::outlook {
class Application;
}

namespace folderpicker {

class DefaultFolders;
class Result;
class Stores;

/// The folder picker: shows a modal check-box tree of the profile's message stores and their
/// folders and returns the folders the user ticked. The caller calls `Init`, sets the language
/// and the shown store kinds, and calls `PickFolder`, which returns nothing when the user did
/// not confirm the choice.
///
/// The client's application object, its namespace and the picker's messaging session belong
/// to the library, not to one dialog: the next `Init` or `Dispose` of any dialog replaces or
/// drops them. Use one dialog at a time.
class Dialog : public platform::runtime::Object, public common::ModuleLanguage
{
public:
    Dialog() = default;
    /// Runs `Dispose`.
    ~Dialog() override;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    std::string TypeName() const override { return "Dialog"; }

    /// Starts over: takes the client's application object (may be null) and its "MAPI"
    /// namespace for the library, drops the library's session, and sets every default (new
    /// empty store list and default folders, chunk size 100, all store kinds, all stores).
    /// Throws with "Dialog.Init" added to the source.
    void Init(std::shared_ptr<platform::outlook::Application> OutlookApplication);
    /// Drops the client's objects, the library's session and the two lists. Never throws.
    void Dispose();

    /// The stores the tree is limited to; empty: every store. Null before `Init`.
    const std::shared_ptr<Stores>& LimitStores() const { return m_oLimitStores; }
    /// Show only the default store (whatever `LimitStores` and `ShowStoreKind` say).
    bool DefaultStoreOnly() const { return m_bDefaultStoreOnly; }
    void SetDefaultStoreOnly(bool bValue) { m_bDefaultStoreOnly = bValue; }
    /// Kept for the caller; the library does not use it.
    bool GetExchangeStores() const { return m_bGetExchangeStores; }
    void SetGetExchangeStores(bool bValue) { m_bGetExchangeStores = bValue; }
    /// Stores or folders read in one pass; 0 reads a list in one pass.
    long ChunkSize() const { return m_lChunkSize; }
    /// A negative value is kept as 0.
    void SetChunkSize(long lValue);
    /// Kept for the caller; the library does not use it. Null before `Init`.
    const std::shared_ptr<folderpicker::DefaultFolders>& DefaultFolders() const
    {
        return m_oDefaultFolders;
    }
    /// The store kinds the tree shows, as `olfStoreKind` bits.
    std::int32_t ShowStoreKind() const { return m_lShowStoreKind; }
    void SetShowStoreKind(std::int32_t lValue) { m_lShowStoreKind = lValue; }

    /// Shows the tree modally and returns the ticked folders in the tree's order once the user
    /// confirms with OK; null when the window is closed any other way. Errors while reading
    /// are raised with "Dialog.PickFolder" added to the source, after the window is unloaded.
    std::shared_ptr<Result> PickFolder();

    /// The dialog seen through its language interface.
    common::ILanguage& ToILanguage() { return *this; }
    /// The picker offers no list of languages: an empty one.
    std::vector<long> SupportedLanguages() const override { return {}; }

private:
    std::shared_ptr<folderpicker::DefaultFolders> m_oDefaultFolders;
    std::shared_ptr<Stores> m_oLimitStores;
    long m_lChunkSize = 0;
    bool m_bDefaultStoreOnly = false;
    bool m_bGetExchangeStores = false;
    std::int32_t m_lShowStoreKind = 0;
};

} // namespace folderpicker
