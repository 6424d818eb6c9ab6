#pragma once

#include "platform/forms/Driver.h"

namespace gui {

/// Measures grid cells as the grid views draw them: the application's font at the grid's
/// size, bold where the cell is, with the room a cell, a column header, a check box or a
/// node's outline indent keeps around the text. Each character's advance is measured once per font and then added up, so
/// that sizing a column of many rows to its contents stays quick; kerning only makes a text
/// narrower than that sum. Make it after the QApplication.
platform::forms::Driver::TextMeasure DesktopTextMeasure();

} // namespace gui
