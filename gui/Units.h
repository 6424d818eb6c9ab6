#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cmath>
#include <cstdint>
#include <string>

/// The Qt view of the headless forms: widgets that mirror platform/forms objects.
namespace gui {

/// Twips per screen pixel, as the headless desktop counts them.
inline constexpr int kTwipsPerPixel = 15;

/// Pixels of a length in twips.
inline int Pixels(int twips)
{
    return twips / kTwipsPerPixel;
}

/// Pixels of a length in twips on a form shown `scale` times its design size.
inline int Pixels(int twips, double scale)
{
    return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel));
}

/// Twips of a length in pixels.
inline int Twips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

/// Twips of a length in pixels on a grid shown `scale` times its design widths.
inline int Twips(int pixels, double scale)
{
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel / scale));
}

/// How much wider than its design a grid's column widths show in this font: the widths a
/// template stores were made for a font whose figures are 0.48 em wide (a date with its time
/// and day period fills a column of 1440 twips); a font with wider figures shows every width that
/// much wider, so that a stored width holds the texts it was made for. Never below 1.
double GridWidthScale(const QFont& font);

/// Qt text of UTF-8 text.
inline QString ToQ(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// UTF-8 text of Qt text.
inline std::string FromQ(const QString& text)
{
    return text.toStdString();
}

/// The colour of a 0xBBGGRR value, as the forms store colours.
inline QColor ColourOf(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

/// The key state the forms take (1 Shift, 2 Ctrl, 4 Alt) of Qt's modifiers.
int ShiftState(Qt::KeyboardModifiers modifiers);

/// The forms' key code (the host's virtual key) of a Qt key; 0 for keys without one. The
/// modifiers tell the keypad's keys from the others where their codes differ (+ and -).
int KeyCode(int qtKey, Qt::KeyboardModifiers modifiers = {});

} // namespace gui
