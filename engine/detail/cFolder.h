#pragma once

#include "engine/FolderDataList.h"
#include "engine/detail/ReadContext.h"

#include "common/IChild.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::mapi {
class Folder;
class Items;
class Message;
class Restriction;
class Table;
class TableFilter;
class Utils;
} // namespace platform::mapi

namespace engine {
class Application;
class Filter;
class Records;
} // namespace engine

namespace engine::detail {

class Options;

/// Carries out a read: walks the caller's folders in passes of `ChunkSize`, opens each through
/// the engine's session, hands it to the reader of its item type, and builds the restriction
/// of each folder's item table from the active filter. One walker per engine root.
class cFolder : public platform::runtime::Object, public common::ChildLink<Application>
{
public:
    cFolder() = default;
    /// Closes the utils object and detaches the table; never throws.
    ~cFolder() override;
    cFolder(const cFolder&) = delete;
    cFolder& operator=(const cFolder&) = delete;

    std::string TypeName() const override { return "cFolder"; }

    /// Links the walker to the root (the key is ignored): takes the root's settings and makes
    /// the utils and table objects. Throws error 91 when the root is missing.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }

    /// One read of the listed folders into the record set; afterwards the list holds only the
    /// folders that could be opened (also when the read fails).
    void ReadItems(FolderDataList& oFolderList, const std::shared_ptr<Records>& oRecords);

    /// Restricts the walker's table (and so the folder's item collection) to the rows that can
    /// pass the active filter. dateTag is the tag of the window's date field, or 0.
    void ApplyFilter(const std::shared_ptr<platform::mapi::Items>& oItems, std::int32_t lDateTag,
                     const ReadContext& oContext);

    /// Kind of the folder being read: 1 appointments, 3 tasks, 4 journal entries.
    long ItemClass() const { return m_lItemClass; }
    /// True when the active filter's window lies on the due date: only task folders are read.
    bool TasksOnly() const { return m_bTasksOnly; }
    /// Positions of the folders of the current read that could not be opened, ascending.
    const std::vector<long>& MissingPositions() const { return m_aMissing; }
    /// The root, or null while there is no link.
    Application* Parent() const;

private:
    void LoopFolders();
    void LoopFoldersEx(long lFirst, long lLast);
    void ReadItemsEx(const std::shared_ptr<platform::mapi::Folder>& oFolder);
    void RemoveMissingFolders();
    /// Detaches the table from the folder read last, so that the folder's rows are freed.
    void ReleaseTableRows();

    void RestrictTaskStatus(platform::mapi::Restriction& oRoot,
                            const std::shared_ptr<platform::mapi::Message>& oFirst);
    void RestrictTime(platform::mapi::Restriction& oRoot, std::int32_t lDateTag,
                      const ReadContext& oContext);
    void RestrictText(platform::mapi::Restriction& oRoot, long lCompare, std::int32_t lTag,
                      const std::string& sValue);
    void RestrictList(platform::mapi::Restriction& oRoot, long lCompare, bool bAnd,
                      std::int32_t lTag, long lKind);
    void RestrictNotRecurring(platform::mapi::Restriction& oNode, std::int32_t lRecurringTag);
    void RestrictTimeWindow(platform::mapi::Restriction& oNode, const ReadContext& oContext,
                            std::int32_t lDateTag);
    void RestrictRecurringMasters(platform::mapi::Restriction& oNode, const ReadContext& oContext);
    void ApplyKeywords(platform::mapi::Restriction& oGroup, const std::vector<std::string>& aValues,
                       long lFuzzyLevel, std::int32_t lTag, long lKind);
    std::int32_t ResolveTag(const std::shared_ptr<platform::mapi::Message>& oItem,
                            const char* sGuid, long lId, const char* sName, long lType);

    FolderDataList* m_pFolderList = nullptr;
    std::vector<long> m_aMissing;
    long m_lChunkSize = 0;
    std::shared_ptr<Records> m_oRecords;
    std::shared_ptr<Filter> m_oFilter;
    long m_lItemClass = 0;
    std::shared_ptr<platform::mapi::Utils> m_oUtils;
    std::shared_ptr<platform::mapi::Table> m_oTable;
    std::shared_ptr<platform::mapi::TableFilter> m_oTableFilter;
    std::shared_ptr<Options> m_oOptions;
    bool m_bTasksOnly = false;
};

} // namespace engine::detail
