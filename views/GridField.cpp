#include "views/GridField.h"

#include "views/GridFields.h"

namespace views {

namespace {

constexpr std::int32_t kAlignLeftCenter = 1;
constexpr std::int32_t kAlignRightCenter = 7;
constexpr std::int32_t kAlignGeneral = 9;

bool IsBlank(const std::string& s)
{
    return s.find_first_not_of(' ') == std::string::npos;
}

// Dates read best left-aligned, durations, percentages and work figures right-aligned.
std::int32_t AdjustAlignment(std::int32_t lAlignment, std::int32_t lDataType,
                             std::int32_t lPropertyType, std::int32_t lMappingValue)
{
    if (lAlignment != kAlignGeneral)
        return lAlignment;
    if (lDataType == 7)
        return kAlignLeftCenter;
    if (lPropertyType == 7 || lPropertyType == 12 || lMappingValue == 5 || lMappingValue == 12 ||
        lMappingValue == 13)
        return kAlignRightCenter;
    return kAlignGeneral;
}

} // namespace

void GridField::SetCalculation(std::int32_t lValue)
{
    m_lCalculation = lValue;
    if (lValue == 0)
        m_sCalculatedColKey.clear();
}

void GridField::SetCaption(const std::string& sValue)
{
    if (!IsBlank(sValue))
        m_sCaption = sValue;
}

GridFields* GridField::Parent() const
{
    return dynamic_cast<GridFields*>(m_pParent);
}

void GridField::Init(platform::runtime::Object* lParentPtr, const std::string&)
{
    m_pParent = lParentPtr;
}

void GridField::InitField(const std::string& Key, const std::string& Name,
                          const std::string& Caption, bool IsUserDefined, bool HiddenProperty,
                          std::int32_t DataType, std::int32_t PropertyType,
                          std::int32_t AlignmentSettings, std::int32_t Width, bool Visible,
                          const std::string& Format, std::int32_t MappingValue, bool EnumValue,
                          std::int32_t Calculation, const std::string& CalculatedColKey)
{
    m_sKey = Key;
    m_sName = Name;
    m_sCaption = Caption;
    m_bIsUserDefined = IsUserDefined;
    m_bHiddenProperty = HiddenProperty;
    m_lDataType = DataType;
    m_lPropertyType = PropertyType;
    m_lWidth = Width;
    m_bVisible = Visible;
    if (!Format.empty())
        m_sFormat = Format;
    m_lMappingValue = MappingValue;
    m_bEnumValue = EnumValue;
    m_lCalculation = Calculation;
    m_sCalculatedColKey = CalculatedColKey;
    m_lAlignmentSettings = AdjustAlignment(AlignmentSettings, DataType, PropertyType, MappingValue);
}

} // namespace views
