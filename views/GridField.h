#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <string>

namespace views {

class GridFields;

/// One report column of a view: its field identity (the catalogue key), caption, width,
/// format, alignment, visibility and total function. Linked to the `GridFields` that holds it
/// through `IChild`; the link is not owning.
class GridField : public platform::runtime::Object, public common::IChild
{
public:
    std::string TypeName() const override { return "GridField"; }

    /// Grid alignment code (1 left-centre, 7 right-centre, 9 general).
    std::int32_t AlignmentSettings() const { return m_lAlignmentSettings; }
    /// Stored unchanged.
    void SetAlignmentSettings(std::int32_t lValue) { m_lAlignmentSettings = lValue; }
    /// Total function in the grid's subtotal codes (0 none).
    std::int32_t Calculation() const { return m_lCalculation; }
    /// Stores the code; 0 also empties `CalculatedColKey`.
    void SetCalculation(std::int32_t lValue);
    /// Key of the grid's extra total column ("1c", ...).
    const std::string& CalculatedColKey() const { return m_sCalculatedColKey; }
    /// Stored unchanged.
    void SetCalculatedColKey(const std::string& sValue) { m_sCalculatedColKey = sValue; }
    /// Column header text.
    const std::string& Caption() const { return m_sCaption; }
    /// Ignored when the text is empty or blanks only; otherwise stored as given.
    void SetCaption(const std::string& sValue);
    /// Variant type of the values.
    std::int32_t DataType() const { return m_lDataType; }
    /// True when the values are codes shown through enumeration texts.
    bool EnumValue() const { return m_bEnumValue; }
    /// Display format.
    const std::string& Format() const { return m_sFormat; }
    /// Stored unchanged.
    void SetFormat(const std::string& sValue) { m_sFormat = sValue; }
    /// True for an internal field of the catalogue.
    bool HiddenProperty() const { return m_bHiddenProperty; }
    /// True for a user-defined field of a folder.
    bool IsUserDefined() const { return m_bIsUserDefined; }
    /// The column's identity: the catalogue key of its field (also the `IChild` key).
    std::string Key() const override { return m_sKey; }
    /// Computed-column code (0 = the item's property).
    std::int32_t MappingValue() const { return m_lMappingValue; }
    /// Field name.
    const std::string& Name() const { return m_sName; }
    /// The holding collection, or null when the column is not linked.
    GridFields* Parent() const;
    /// The client's user-property type.
    std::int32_t PropertyType() const { return m_lPropertyType; }
    /// True when the column is shown (a new column is).
    bool Visible() const { return m_bVisible; }
    /// Stored unchanged.
    void SetVisible(bool bValue) { m_bVisible = bValue; }
    /// Width in twips (-1 lets the grid decide).
    std::int32_t Width() const { return m_lWidth; }
    /// Stored unchanged.
    void SetWidth(std::int32_t lValue) { m_lWidth = lValue; }

    /// Stores the parent link; the key is ignored (the column's key is its `Key`).
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Clears the parent link.
    void ResetParentPtr() override { m_pParent = nullptr; }

    /// Sets every value at once. An empty `Format` keeps the current one; the caption is taken
    /// as given; `Calculation` is stored without its setter's side effect; a requested
    /// alignment 9 becomes 1 for dates and 7 for durations, percentages and the computed
    /// duration and work columns.
    void InitField(const std::string& Key, const std::string& Name, const std::string& Caption,
                   bool IsUserDefined, bool HiddenProperty, std::int32_t DataType,
                   std::int32_t PropertyType, std::int32_t AlignmentSettings, std::int32_t Width,
                   bool Visible, const std::string& Format, std::int32_t MappingValue,
                   bool EnumValue, std::int32_t Calculation, const std::string& CalculatedColKey);
    /// The column as its parent link.
    common::IChild& AsIChild() { return *this; }

private:
    platform::runtime::Object* m_pParent = nullptr;
    std::string m_sKey;
    std::string m_sName;
    std::string m_sCaption;
    std::int32_t m_lWidth = 0;
    std::string m_sFormat;
    std::int32_t m_lDataType = 0;
    std::int32_t m_lPropertyType = 0;
    std::int32_t m_lAlignmentSettings = 0;
    bool m_bIsUserDefined = false;
    bool m_bHiddenProperty = false;
    bool m_bVisible = true;
    std::int32_t m_lMappingValue = 0;
    bool m_bEnumValue = false;
    std::int32_t m_lCalculation = 0;
    std::string m_sCalculatedColKey;
};

} // namespace views
