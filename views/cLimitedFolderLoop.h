#pragma once

#include "engine/FolderDataList.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace platform::mapi {
class Folder;
}

namespace views {

/// What `cLimitedFolderLoop` calls back for each folder it could open.
class ILoopFoldersCallback
{
public:
    virtual ~ILoopFoldersCallback() = default;
    /// Called with each opened folder, in list order.
    virtual void CallFromLoopFolders(std::shared_ptr<platform::mapi::Folder>& F) = 0;
};

/// Opens a list of folders by their entry and store identifiers, `ChunkSize` folders per
/// pass, hands each opened folder to the callback and removes the folders that could not be
/// opened from the caller's list.
class cLimitedFolderLoop
{
public:
    /// Keeps the callback (not owned; it must outlive the walk); a negative chunk becomes 0.
    void Init(ILoopFoldersCallback* oCallback, std::int32_t lChunkSize);
    /// Walks the folders in passes and then removes the ones that could not be opened, the
    /// highest position first; a failure of the passes is raised after that removal.
    void LoopFolders(engine::FolderDataList& colFolders);

    /// The current pass size (it shrinks to the remainder during a walk).
    std::int32_t ChunkSize() const { return m_lChunkSize; }
    /// The passes of the last walk as (from, to) positions.
    const std::vector<std::pair<std::int32_t, std::int32_t>>& Passes() const { return m_aPasses; }

private:
    void LoopFoldersEx(std::int32_t lFrom, std::int32_t lTo);
    void RemoveFailedFolders();

    ILoopFoldersCallback* m_oCallback = nullptr;
    std::int32_t m_lChunkSize = 0;
    engine::FolderDataList* m_colFolders = nullptr;
    std::vector<std::int32_t> m_aFailed;
    std::vector<std::pair<std::int32_t, std::int32_t>> m_aPasses;
};

} // namespace views
