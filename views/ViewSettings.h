#pragma once

#include "common/IChild.h"
#include "engine/Filter.h"
#include "engine/FolderDataList.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"
#include "platform/xml/Node.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace actions {
class Action;
}
namespace fieldcatalogue {
class cField;
}
namespace platform::xml {
class Document;
}

namespace views {

class Templates;
class XmlHandler;

/// One report definition (a view; under a name in `Templates`, a template): name, folders,
/// columns, filter, three grouping and three sort levels, four display flags and the five
/// report-file actions. A view read from the file knows only its name until a member needs
/// more; the first such access loads it completely from its kept element.
class ViewSettings : public platform::runtime::Object, public common::IChild
{
public:
    /// One entry of the field chooser's result: the catalogue field and its caption.
    using FieldSelection =
        std::vector<std::pair<std::shared_ptr<fieldcatalogue::cField>, std::string>>;

    ViewSettings();
    ViewSettings(const ViewSettings&) = delete;
    ViewSettings& operator=(const ViewSettings&) = delete;
    /// Unlinks the action container and the columns.
    ~ViewSettings() override;

    std::string TypeName() const override { return "ViewSettings"; }

    /// The action container (loads; raises).
    std::shared_ptr<actions::Action> Action();
    /// Total cells show the aggregate function's name (loads; raises).
    bool DisplayFunctionName();
    void SetDisplayFunctionName(bool bValue);
    /// Only total rows are shown (loads; raises).
    bool DisplayResultsOnly();
    void SetDisplayResultsOnly(bool bValue);
    /// Dates without their time part (loads; raises).
    bool DontShowTime();
    void SetDontShowTime(bool bValue);
    /// Total rows show the item count (loads; raises).
    bool CalculateItemsCount();
    void SetCalculateItemsCount(bool bValue);
    /// The owning template collection, or null.
    Templates* Parent() const;

    /// The view's own folder collection, not a copy (loads; raises).
    std::shared_ptr<engine::FolderDataList> Folders();
    /// Null puts a new empty collection in place; otherwise the collection itself becomes the
    /// view's (loads; raises).
    void SetFolders(std::shared_ptr<engine::FolderDataList> colFolders);
    /// Makes a complete new view with the default columns.
    void CreateNew(const std::string& sName);
    /// True when every setting is held in memory.
    bool IsLoaded() const { return m_bInMemory; }
    /// The `Report` element the view was read from or last written to; null when none.
    const platform::xml::Node& XmlNode() const { return m_oXmlNode; }
    /// Number of columns with a total function (loads; ignores failures).
    std::int32_t CalculatedFieldsCount();
    /// The variant type of a catalogue MAPI property type (0 for types without one).
    static std::int32_t MapiTypeToVarType(std::int32_t lPropertyType);
    /// Replaces the columns by the default columns known to the catalogue cache (raises).
    void LoadDefaultProperties();
    /// Rebuilds the columns from the field chooser's selection (loads; ignores failures).
    void ApplyFieldSelection(const FieldSelection& aSelection);
    /// Appends a column for the catalogue field unless its key exists (loads; ignores).
    void AddField(const std::shared_ptr<fieldcatalogue::cField>& oField);
    /// The columns (loads; raises).
    std::shared_ptr<GridFields> Fields();
    /// Replaces the columns by an empty collection linked to the view (raises).
    void InitNewGridFields();
    /// True when an applied grouping level's column holds keyword lists (loads; ignores).
    bool HasKeywordGrouping();
    /// True when an applied grouping level's column has property type 11; the same test as
    /// `HasKeywordGrouping`, under the name the export writers use.
    bool HasBooleanGrouping() { return HasKeywordGrouping(); }
    /// The engine filter (loads; raises).
    std::shared_ptr<engine::Filter> Filter();
    /// Grouping level 0 to 2; null for any other index (loads; ignores).
    GroupBy* GroupByLevel(std::int32_t lIndex);
    /// Sort level 0 to 2; null for any other index (loads; ignores).
    SortBy* SortByLevel(std::int32_t lIndex);
    /// Moves applied levels up over unapplied ones, one gap per pass (loads; raises).
    void SortSettings();
    /// The name; never loads.
    const std::string& Name() const { return m_sName; }
    /// Loads the whole view, then sets the name (raises).
    void SetName(const std::string& sName);

    /// Reads the name from a `Report` element and keeps the element; raises 91 for a null
    /// element or one without children.
    void LoadPartly(const platform::xml::Node& oElement);
    /// Reads every other setting from the kept element (see the report-definition file).
    void LoadCompletely();
    /// Writes the view into oElement and returns it; a view never loaded returns its kept
    /// element unchanged.
    platform::xml::Node Update(platform::xml::Document& oDoc, XmlHandler& oHandler,
                               platform::xml::Node oElement);
    /// Makes this view carry the settings of oSource (see the view copy).
    void Copy(ViewSettings& oSource);
    /// A new collection of new folder descriptors with the same values.
    static std::shared_ptr<engine::FolderDataList>
    CopyFolderDataCollection(const engine::FolderDataList& colFolders);

    /// Creates the parts (folders, levels, actions, columns, filter).
    void Init();
    /// Stores the parent link (the key is ignored).
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// The view's `Name`.
    std::string Key() const override { return m_sName; }
    /// Clears the parent link.
    void ResetParentPtr() override { m_pParent = nullptr; }
    /// The view as its parent link.
    common::IChild& AsIChild() { return *this; }

private:
    void EnsureLoaded();
    void ReadReport(const platform::xml::Node& oReport);
    void ReadActions(const platform::xml::Node& oActions);
    void ReadFilter(const platform::xml::Node& oFilter);
    void ReadFields(const platform::xml::Node& oFields);
    void WriteActions(XmlHandler& oHandler, platform::xml::Node& oReport);
    void WriteFilter(XmlHandler& oHandler, platform::xml::Node& oReport);
    std::shared_ptr<GridField> NewColumnFor(const fieldcatalogue::cField& oField,
                                            const std::string& sCaption) const;
    void ReplaceFields();
    void CopyActions(ViewSettings& oSource);
    void CopyFilter(ViewSettings& oSource);

    platform::runtime::Object* m_pParent = nullptr;
    std::string m_sName;
    bool m_bInMemory = false;
    bool m_bLoading = false;
    bool m_bInitialised = false;
    // Version of the file the kept element came from: it decides the element's layout.
    std::int32_t m_lFileVersion = -1;
    platform::xml::Node m_oXmlNode;
    std::array<std::unique_ptr<GroupBy>, 3> m_aGroupBy;
    std::array<std::unique_ptr<SortBy>, 3> m_aSortBy;
    std::shared_ptr<GridFields> m_oFields;
    std::shared_ptr<engine::Filter> m_oFilter;
    std::shared_ptr<actions::Action> m_oAction;
    bool m_bCalculateItemsCount = false;
    std::shared_ptr<engine::FolderDataList> m_colFolders;
    bool m_bDisplayFunctionName = false;
    bool m_bDisplayResultsOnly = false;
    bool m_bDontShowTime = false;

    // A filter date whose stored text did not convert: the text is written back for as long
    // as the filter holds the value it had after the reading, so that the file keeps it.
    struct UnreadDate
    {
        platform::runtime::Date dtAsRead;
        std::string sStored;
    };
    std::optional<UnreadDate> m_oUnreadFromDate;
    std::optional<UnreadDate> m_oUnreadToDate;
};

} // namespace views
