#pragma once

#include <string>

namespace platform::forms {
class ComboBox;
class FlexGrid;
class Form;
} // namespace platform::forms

namespace common {
class IControlResource;
}

/// Fills the captions and lists of windows from the resource ids in their controls' tags.
/// Nothing here raises: a control without a caption, a tag that is not a number or an id
/// without a string leaves that control as it is, and the next one is done.
namespace common::modLabelControls {

/// The form's caption and each control's caption from the resource id in its tag.
void LocalizeForm(platform::forms::Form& oForm);

/// The same from the window's own texts (`GetResource` of each tag); empty texts are skipped.
void LocalizeResourceForm(IControlResource& oForm);

/// Row 0 of the grid from the ","-separated ids in sTag; an id of 0 leaves its column alone.
void LocalizeGridHeader(platform::forms::FlexGrid& oGrid, const std::string& sTag);

/// The drop-down list of a grid column from ","-separated ids; an id of 0 becomes a blank.
void LocalizeGridList(platform::forms::FlexGrid& oGrid, int lCol, const std::string& sIds);

/// Adds the text of each ","-separated id of the box's tag as an item, in order.
void LocalizeComboItems(platform::forms::ComboBox& oCombo);

/// `GetResString` with errors ignored: empty text when the string is missing.
std::string GetResText(long lID);

/// The number in a tag: its leading decimal number, rounded to an integer (0 for none).
long TagNumber(const std::string& sTag);

} // namespace common::modLabelControls
