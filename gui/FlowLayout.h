#pragma once

#include <set>
#include <vector>

class QBoxLayout;
class QWidget;

namespace platform::forms {
class Control;
}

namespace gui {

/// A control without a position on its form, and its widget.
struct FlowItem
{
    const platform::forms::Control* control;
    QWidget* widget;
};

/// Lays out a form's controls that have no position, in the order the form made them, the way
/// a dialog reads: a frame heads a section holding the controls that follow it (a frame that
/// holds controls of its own holds those), a button right after a text or list box stands
/// beside it, grids take the room that is left, and the dialog's closing buttons (the last
/// run of buttons) stand in a row at the bottom, or in a column beside a grid. Answers the
/// controls that now sit in a frame's layout (they need no placing inside it).
std::set<const platform::forms::Control*> LayOutFlow(QBoxLayout& target,
                                                     const std::vector<FlowItem>& items,
                                                     const std::vector<FlowItem>& contained);

} // namespace gui
