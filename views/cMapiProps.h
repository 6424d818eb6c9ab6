#pragma once

#include "common/IChild.h"
#include "engine/FolderDataList.h"
#include "fieldcatalogue/Application.h"
#include "fieldcatalogue/cField.h"
#include "fieldcatalogue/cFields.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"
#include "views/cLimitedFolderLoop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace platform::mapi {
class Folder;
}

namespace views {

class ViewSettings;

/// The add-in's cache of field catalogues: the built-in fields of the default calendar,
/// journal and task folders and the user-defined fields of the folders a view reads. Every
/// place that turns a stored field key into a field asks it.
class cMapiProps : public platform::runtime::Object,
                   public common::IChild,
                   public ILoopFoldersCallback
{
public:
    using FieldCollection = platform::runtime::Collection<std::shared_ptr<fieldcatalogue::cField>>;
    /// Gives the field catalogue's root object of the report window, or null when there is
    /// none (the window is not loaded).
    using CatalogueSource = std::function<std::shared_ptr<fieldcatalogue::Application>()>;

    std::string TypeName() const override { return "cMapiProps"; }

    /// Built-in fields of the default calendar folder; null until loaded.
    const std::shared_ptr<fieldcatalogue::cFields>& AppointmentFields() const
    {
        return m_oAppointmentFields;
    }
    /// Built-in fields of the default journal folder; null until loaded.
    const std::shared_ptr<fieldcatalogue::cFields>& JournalFields() const
    {
        return m_oJournalFields;
    }
    /// Built-in fields of the default task folder; null until loaded.
    const std::shared_ptr<fieldcatalogue::cFields>& TaskFields() const { return m_oTaskFields; }
    /// The user-defined fields gathered last (the first field of a key wins).
    const FieldCollection& UserFields() const { return m_colUserFields; }

    /// The field with that key from the appointment, journal, task and user fields, in this
    /// order; null when none has it. Never throws.
    std::shared_ptr<fieldcatalogue::cField> FindField(const std::string& Key) const;
    /// Removes the view's columns with unknown keys, switches off levels on unknown keys and
    /// moves the applied levels up. Never throws.
    void PrepareViewFields(ViewSettings& oView) const;
    /// (Re)loads the three built-in catalogues. Raises 91 without a field catalogue, keeping
    /// the previous catalogues.
    void LoadStandardProperties();
    /// Rebuilds the user fields from the folders and removes from that list the folders that
    /// cannot be opened. Failures are logged and raised.
    void LoadUserProperties(engine::FolderDataList& colFolders);
    /// Adds the folder's user-defined fields; every failure inside is ignored.
    void CallFromLoopFolders(std::shared_ptr<platform::mapi::Folder>& F) override;

    /// Where the cache gets the field catalogue from (the report window's, in the add-in).
    void SetCatalogueSource(CatalogueSource fnSource) { m_fnCatalogue = std::move(fnSource); }
    /// Folders per pass of `LoadUserProperties` (the settings' ChunkSize; 100 by default).
    void SetChunkSize(std::int32_t lChunkSize) { m_lChunkSize = lChunkSize; }

    /// The add-in's root object, or null when not linked.
    platform::runtime::Object* Parent() const { return m_pParent; }
    /// Stores the parent link (the key is ignored).
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// Clears the parent link.
    void ResetParentPtr() override { m_pParent = nullptr; }
    /// The cache as its parent link.
    common::IChild& AsIChild() { return *this; }

private:
    std::shared_ptr<fieldcatalogue::Application> Catalogue() const;
    /// The default folder of a kind, from the session or else through the client; when
    /// neither has one (said once, see TellMissingFolder), the first folder of the default
    /// store that holds items of that kind, or null.
    std::shared_ptr<platform::mapi::Folder> TryDefFolder(std::int32_t lFolderType);
    /// Tells the user, once in the cache's life for each kind, that the profile lacks that
    /// default folder (sWhy: the lookup's description, naming it) and which folder stands in
    /// for it (sStandIn; empty: none).
    void TellMissingFolder(std::int32_t lFolderType, const std::string& sWhy,
                           const std::string& sStandIn);

    platform::runtime::Object* m_pParent = nullptr;
    std::shared_ptr<fieldcatalogue::cFields> m_oAppointmentFields;
    std::shared_ptr<fieldcatalogue::cFields> m_oJournalFields;
    std::shared_ptr<fieldcatalogue::cFields> m_oTaskFields;
    std::shared_ptr<fieldcatalogue::Application> m_oCatalogue;
    FieldCollection m_colUserFields;
    CatalogueSource m_fnCatalogue;
    std::int32_t m_lChunkSize = 100;
    /// The kinds of default folder the user was told the profile lacks.
    std::set<std::int32_t> m_setToldMissing;
};

/// The cache of the add-in's root object, or null before start-up has made one.
std::shared_ptr<cMapiProps> RootMapiProps();
/// Registers (or, with null, forgets) the root object's cache; the root object calls it in
/// its second start-up stage and at shutdown.
void SetRootMapiProps(std::shared_ptr<cMapiProps> oMapiProps);

} // namespace views
