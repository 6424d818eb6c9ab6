// The texts of group and total rows for the columns and levels of a view.
#include "grid/Flexgrid2.h"

#include "views/GridField.h"
#include "views/GroupBy.h"

namespace grid::Flexgrid2 {

std::string GetGroupCaption(const views::GridField& oField, const std::string& sValue,
                            const views::GroupBy& oGroupBy)
{
    return GetGroupCaption(oField.Caption(), oField.PropertyType(), oGroupBy.DateGroupBy, sValue);
}

std::string FormatTotalCaption(const views::GridField& oField, platform::runtime::Variant& vValue,
                               bool bShowFunctionName)
{
    return FormatTotalCaption(oField.DataType(), oField.Calculation(), vValue, bShowFunctionName);
}

} // namespace grid::Flexgrid2
