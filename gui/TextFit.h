#pragma once

#include <vector>

namespace gui {

class ControlBinding;

/// Where the desktop's font is wider than the one a form was made for, the caption of a placed
/// label, check box or option button may not fit its control. Each such widget grows to the
/// right as far as its text needs, up to the next widget beside it on its row; a label also
/// takes its mnemonic from the caption (the access key goes to the control made after it, as
/// the form's tab order has it).
void FitTexts(const std::vector<ControlBinding*>& bindings);

/// The label's access key ("&Name") moves the focus to the next control the form made that can
/// take the focus; the label then shows the key underlined rather than the "&".
void ConnectBuddies(const std::vector<ControlBinding*>& bindings);

} // namespace gui
