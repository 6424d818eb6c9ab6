#pragma once

#include "platform/win/Desktop.h"

#include <memory>
#include <optional>

namespace platform::forms {
class FlexGrid;
class Form;
class GridControl;
class MenuBar;
class MenuItem;
} // namespace platform::forms

namespace grid {

/// A point in the scale units of a form (twips unless the form has a user scale).
struct FormPoint
{
    float x = 0;
    float y = 0;
};

/// Shows a pop-up menu for a grid at the right place: at the mouse pointer after a right
/// click, or under or at the current cell when the menu is asked for from the keyboard. Only
/// data rows get a menu. Holds no state of its own.
class cVsFlexPopup
{
public:
    /// Shows `oMenu`, a pop-up menu of `oMenuBar`, for the row under the mouse (bAtMouse) or
    /// for the current row: at the mouse pointer, else under the current cell's left edge, in
    /// screen pixels. Header rows get no menu; the grid's selection stays as it is. An error
    /// is logged and shown in a message box; nothing is raised.
    void PopUpMenu6(platform::forms::MenuBar& oMenuBar,
                    const std::shared_ptr<platform::forms::MenuItem>& oMenu,
                    platform::forms::FlexGrid& oGrid, bool bAtMouse);

    /// Shows `oMenu` through the owner form's pop-up operation for the row under the mouse,
    /// when that is a data row. With bRowSel a row outside a multi-row selection is made the
    /// current row first (no menu when the grid refuses it); without it, x and y default to
    /// the current cell's top-left corner in the form's units. flags, x, y and oDefaultMenu
    /// go to the form as given. An error is logged and shown in a message box.
    void PopUpMenu(platform::forms::Form& oOwner, platform::forms::GridControl& oGrid,
                   const std::shared_ptr<platform::forms::MenuItem>& oMenu, bool bRowSel,
                   std::optional<int> vFlags = std::nullopt, std::optional<float> vX = std::nullopt,
                   std::optional<float> vY = std::nullopt,
                   const std::shared_ptr<platform::forms::MenuItem>& oDefaultMenu = nullptr);

    /// The mouse pointer's position on the screen; (0, 0) when the desktop does not know it.
    platform::win::ScreenPoint GetCursorScreenPosition() const;
    /// The screen position of the bottom-left corner of the grid's current cell, from the
    /// grid's window on the desktop. A step that fails leaves its part 0.
    platform::win::ScreenPoint GetCellScreenPosition(const platform::forms::FlexGrid& oGrid) const;
    /// The top-left corner of the grid's current cell in the owner form's units, through the
    /// grid's container (the form, a picture box, another container). A step that fails
    /// leaves its part 0.
    FormPoint GetCellFormPosition(const platform::forms::Form& oOwner,
                                  const platform::forms::GridControl& oGrid) const;
};

} // namespace grid
