#pragma once

#include <vector>

class QFontMetrics;
class QString;
class QWidget;

namespace gui {

class ControlBinding;

/// The width in pixels the widget's caption needs on one line with the room its kind keeps
/// around it (a button's padding, a box's indicator, a frame's title indent); 0 for a widget
/// without a caption, or a label whose caption wraps onto lines that are enough for it.
int CaptionWidth(QWidget& widget);

/// The width in pixels a combo box in the widget's style and font needs to show a text that
/// many pixels wide beside its arrow.
int ComboBoxWidth(const QWidget& widget, int textWidth);

/// The caption as a wrapping label shows it: a list of entries joined by ";" with no blank
/// (a view's fields, its groups, its totals) breaks after a ";", and an entry that fits the
/// width in pixels keeps its blanks on one line; any other caption stays as it is.
QString ListLines(const QString& caption, const QFontMetrics& metrics, int width);

/// How much larger than its design a form must stand so that the caption of every placed
/// control fits its control in the desktop's font: 1 where all fit, at most a bound beyond
/// which the form would not fit a small screen.
double LayoutScale(const std::vector<ControlBinding*>& bindings);

/// A caption that still does not fit its placed label, check box, option button or button
/// (set later, or beyond the bound of LayoutScale): the widget grows to the right as far as
/// its text needs, up to the next widget beside it on its row and within its frame. A combo box
/// whose entries do not fit it grows so to its widest entry where the room allows, else to its
/// current one, else not at all. The font keeps its size. A
/// label also takes its mnemonic from the caption (the access key goes to the control made
/// after it, as the form's tab order has it).
void FitTexts(const std::vector<ControlBinding*>& bindings);

/// The label's access key ("&Name") moves the focus to the control it names: for a placed
/// label the first control on its line to its right that can take the focus, else the next
/// control the form made that can; the label then shows the key underlined rather than the "&".
void ConnectBuddies(const std::vector<ControlBinding*>& bindings);

} // namespace gui
