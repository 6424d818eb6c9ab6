#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::forms {
class FlexGrid;
}
namespace platform::mapi {
class Folders;
class Store;
class Stores;
} // namespace platform::mapi

namespace folderpicker {
class Dialog;
class Item;
} // namespace folderpicker

namespace folderpicker::detail {

/// Reads a store list or a folder list in passes of the chunk size and turns each shown store
/// root or folder into an `Item`, appended to the current result in reading order. Stores are
/// filtered by the dialog's store kinds and store list. A store or folder that cannot be read
/// is logged and leaves `ErrorOccured` set; the others are still read. The result is emptied
/// only by `NewResult`.
class cLimitedFolderLoop
{
public:
    /// Holds the dialog (not owned: it outlives the loop) and the tree's grid; a negative chunk
    /// size counts as 0.
    void Init(Dialog* oDialog, platform::forms::FlexGrid* oGrid, long lChunkSize);
    /// Appends an item at Level for every folder of the list. Throws (with
    /// "cLimitedFolderLoop.LoopFolders" added) when the list itself cannot be read.
    void LoopFolders(const std::shared_ptr<platform::mapi::Folders>& Folders, long Level);
    /// Appends an item for every shown store of the library's session, or for the default
    /// store alone. Throws (with "cLimitedFolderLoop.LoopStores" added) when the session or
    /// its store list cannot be had.
    void LoopStores();
    /// Starts a new, empty result.
    void NewResult();
    /// The items read since the last `NewResult`.
    const std::vector<std::shared_ptr<Item>>& Result() const { return m_colResult; }
    /// Some store or folder of the last loop could not be read.
    bool ErrorOccured() const { return m_bErrorOccured; }
    /// The current pass size (a last, shorter pass keeps its size for later loops).
    long ChunkSize() const { return m_lChunkSize; }

    /// Whether a store of the messaging library's kind number is shown by the store-kind mask.
    static bool IsStoreKindShown(long lKind, std::int32_t lShowStoreKind);

private:
    template <class Pass> void ForEachChunk(long n, Pass&& pass);
    void LoopFoldersEx(long Level, long lFirst, long lLast);
    void LoopStoresEx(long lFirst, long lLast, bool bFilter);
    void LoopDefaultStoreOnly();
    // Appends the item of a store's root folder (none when it has no root); false when the
    // item could not be made.
    bool AppendStoreRoot(platform::mapi::Store& oStore);
    bool IsStoreShown(long lKind, const std::string& sStoreID, bool bFilter) const;

    Dialog* m_oDialog = nullptr;
    platform::forms::FlexGrid* m_oGrid = nullptr;
    long m_lChunkSize = 0;
    bool m_bErrorOccured = false;
    std::vector<std::shared_ptr<Item>> m_colResult;
    std::shared_ptr<platform::mapi::Folders> m_oFolders;
    std::shared_ptr<platform::mapi::Stores> m_oStores;
};

} // namespace folderpicker::detail
