#pragma once

#include "common/IChild.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"
#include "views/ViewSettings.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace views {

/// The named views (templates), keyed by name without regard to letter case, in insertion
/// order; loaded from and saved to "reports.xml" in the per-user data folder.
class Templates : public platform::runtime::Object, public common::IChild
{
public:
    using Views = platform::runtime::Collection<std::shared_ptr<ViewSettings>>;

    Templates() = default;
    Templates(const Templates&) = delete;
    Templates& operator=(const Templates&) = delete;
    /// Clears the views' parent links.
    ~Templates() override;

    std::string TypeName() const override { return "Templates"; }

    /// Adds the view under its current name and links it to the collection; raises 457 for a
    /// name already present (the view is then not linked).
    void Add(const std::shared_ptr<ViewSettings>& oView);
    /// Puts the view at a 1-based position (at the end for a position past it) under its
    /// current name and links it; raises 457 for a name already present (the view is then not
    /// linked). Used to put a template back where it was after a failed re-filing.
    void Insert(const std::shared_ptr<ViewSettings>& oView, std::int32_t lPosition);
    /// The 1-based position of that very view object; 0 when the collection does not hold it.
    std::int32_t PositionOf(const ViewSettings& oView) const;
    /// Number of views.
    std::int32_t Count() const { return m_colViews.Count(); }
    /// The view with that name or 1-based position; null when there is none.
    std::shared_ptr<ViewSettings> Item(const platform::runtime::Variant& Index) const;
    /// Reads "reports.xml". A missing or empty file gives no templates. A file that is not a
    /// report-definition file gives no templates and no error: it is copied aside to
    /// "reports.xml.bak" and the failure is logged, so that a later `Save` cannot lose it.
    /// Other failures are logged and raised.
    void Load();
    /// The owning window, or null.
    platform::runtime::Object* Parent() const { return m_pParent; }
    /// Unlinks and removes the view when it exists.
    void Remove(const platform::runtime::Variant& Index);
    /// Writes "reports.xml" through a temporary file and a rename, creating the data folder
    /// when it is missing. When the file on disk is no longer the text this collection last
    /// loaded or saved (another program changed it since), that version is first copied aside
    /// as "reports.xml.bak" (or the next free ".N.bak") and the user told once where it is.
    /// A failure is raised, and also given as a notice (`Notice::Kind::NotWritten`).
    void Save();
    /// Unlinks every view and empties the collection.
    void Clear();
    /// Clears every view's parent link.
    void ResetChildren();

    /// Iteration in insertion order.
    Views::const_iterator begin() const { return m_colViews.begin(); }
    /// End of iteration.
    Views::const_iterator end() const { return m_colViews.end(); }

    /// Stores the parent link (the key is ignored).
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// Clears the parent link.
    void ResetParentPtr() override { m_pParent = nullptr; }
    /// The collection as its parent link.
    common::IChild& AsIChild() { return *this; }

    /// The path of the report-definition file: the data folder + "reports.xml".
    static std::string FilePath();

private:
    void SaveFile();

    platform::runtime::Object* m_pParent = nullptr;
    Views m_colViews;
    // The text of "reports.xml" as this collection last read or wrote it ("" for no file);
    // nothing before the first Load or Save, when there is no version to compare with.
    std::optional<std::string> m_sOnDisk;
    // The last Load stopped before the end of the file (the memory ran out, say): the
    // collection lacks templates the file holds, so no save may replace the file.
    bool m_bLoadedPart = false;
};

} // namespace views
