#pragma once

#include "platform/forms/FlexGridTypes.h"

#include <functional>

namespace platform::forms {

class FlexGrid;

/// The events of a FlexGrid. They fire synchronously, inside the call that causes them, so a
/// handler sees the grid as the change left it; arguments passed by reference may be changed
/// by the handler. Coordinates are twips inside the grid; shift is the key state (1 Shift, 2 Ctrl,
/// 4 Alt); button is 1 left, 2 right, 4 middle.
struct FlexGridEvents
{
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int& button, int shift, double x, double y)> MouseDown;
    std::function<void(int& button, int shift, double x, double y)> MouseUp;
    std::function<void(int button, int shift, double x, double y)> MouseMove;
    std::function<void(int& keyCode, int& shift)> KeyDown;
    std::function<void(int& keyCode, int shift)> KeyUp;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    /// The current cell has moved (every change, by code or by the user).
    std::function<void(int oldRow, int oldCol, int newRow, int newCol)> RowColChange;
    /// The visible area has changed its size (SetClientSize): its window was resized, or a
    /// scroll bar came or went.
    std::function<void()> ClientResize;
    /// The selection has changed.
    std::function<void()> AfterSelChange;
    /// The user drops a dragged column; the handler may change the target position.
    std::function<void(int col, int& position)> ColumnMoving;
    /// The user starts to resize a column; setting cancel refuses it.
    std::function<void(int row, int col, bool& cancel)> ColumnResizing;
    /// The user has resized a column.
    std::function<void(int row, int col)> ColumnResized;
    /// The user is about to edit a cell; setting cancel refuses it.
    std::function<void(int row, int col, bool& cancel)> BeforeEdit;
    /// The user has edited a cell.
    std::function<void(int row, int col)> AfterEdit;
    /// A node row is about to change its state to newState; setting cancel keeps it.
    std::function<void(int row, OutlineState newState, bool& cancel)> BeforeCollapse;
    /// A node row has changed its state.
    std::function<void(int row, OutlineState state)> AfterCollapse;
    /// A manual drag starts from this grid; the handler sets the allowed effects.
    std::function<void(DropEffect& allowed)> OLEStartDrag;
    /// A drag is over this grid.
    std::function<void(FlexGrid* source, DropEffect& effect, int button, int shift, double x,
                       double y, DragState state)>
        OLEDragOver;
    /// A drag is dropped on this grid.
    std::function<void(FlexGrid* source, DropEffect& effect, int button, int shift, double x,
                       double y)>
        OLEDragDrop;
};

} // namespace platform::forms
