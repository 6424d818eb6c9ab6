#include "gui/Units.h"

#include <QFontMetricsF>

#include <algorithm>

namespace gui {

double GridWidthScale(const QFont& font)
{
    // The design font's figures: 0.48 em, an em being the font's size in points at the
    // 96 pixels an inch that twips count in. At that, a column of 1440 twips holds the longest
    // date text the grid writes, "12/31/2027 16:45 PM", and the standard headers show whole.
    constexpr double kDesignFigure = 0.48;
    const double em = font.pointSizeF() > 0 ? font.pointSizeF() * 96.0 / 72.0 : font.pixelSize();
    if (em <= 0)
        return 1;
    const double figure = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    return std::max(1.0, figure / (kDesignFigure * em));
}

int ShiftState(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

int KeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    // Letters and digits keep their upper-case character codes; function keys start at 112.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    // + and - of the keypad have codes of their own, apart from those beside the letters.
    case Qt::Key_Plus:
        return modifiers & Qt::KeypadModifier ? 107 : 187;
    case Qt::Key_Minus:
        return modifiers & Qt::KeypadModifier ? 109 : 189;
    default:
        return 0;
    }
}

} // namespace gui
