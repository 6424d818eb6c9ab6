#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::forms {

/// What the Line method draws.
enum class LineShape
{
    Line,      ///< a line between the two points
    Box,       ///< the outline of the rectangle between the two points
    BoxFilled, ///< the rectangle between the two points, filled with the line's colour
};

/// The drawing side of a form or a picture box, as the host promises it:
/// - a user scale: setting ScaleWidth or ScaleHeight makes the inner area that many units
///   wide or high (ScaleMode 0, user), measured from ScaleLeft and ScaleTop (0); before that
///   the units are twips (ScaleMode 1);
/// - Line draws lines and rectangles (outlined or filled) in a colour (&HBBGGRR) with the
///   pen's DrawWidth in pixels, DrawStyle 0 solid to 6 inside solid (a box's border then
///   stays inside the box) and DrawMode 13 (copy pen; other modes raise error 438);
/// - with AutoRedraw on, what is drawn persists in the surface's own image, an RGB buffer of
///   the inner area at 15 twips a pixel that a test reads and the host saves as PNG; with it
///   off, drawing reaches only the screen, which the headless host does not keep.
class DrawingSurface
{
public:
    /// The inner area in twips, asked whenever the surface draws or reports its size.
    using AreaInTwips = std::function<std::pair<int, int>()>;
    explicit DrawingSurface(AreaInTwips area);

    /// 0 user scale, 1 twips.
    int ScaleMode() const { return m_userScale ? 0 : 1; }
    double ScaleWidth() const;
    double ScaleHeight() const;
    /// Sets a user scale along x; error 380 for 0.
    void SetScaleWidth(double units);
    /// Sets a user scale along y; error 380 for 0.
    void SetScaleHeight(double units);
    double ScaleLeft() const { return 0; }
    double ScaleTop() const { return 0; }

    int DrawStyle() const { return m_drawStyle; }
    /// 0 solid ... 6 inside solid; error 380 outside.
    void SetDrawStyle(int style);
    int DrawMode() const { return m_drawMode; }
    /// 1 ... 16; error 380 outside.
    void SetDrawMode(int mode);
    int DrawWidth() const { return m_drawWidth; }
    /// 1 ... 32767 pixels; error 380 outside.
    void SetDrawWidth(int pixels);
    bool AutoRedraw() const { return m_autoRedraw; }
    void SetAutoRedraw(bool on);
    std::uint32_t BackColor() const { return m_backColor; }
    /// The colour the image is cleared to (Cls).
    void SetBackColor(std::uint32_t colour) { m_backColor = colour; }

    /// Draws from (x1, y1) to (x2, y2) in scale units.
    void Line(double x1, double y1, double x2, double y2, std::uint32_t colour,
              LineShape shape = LineShape::Line);
    /// Clears the image to the back colour.
    void Cls();

    /// The persistent image's size in pixels (the inner area now).
    int PixelWidth() const;
    int PixelHeight() const;
    /// The colour (&HBBGGRR) of a pixel of the persistent image; the back colour outside it.
    std::uint32_t Point(int xPixel, int yPixel) const;
    /// The persistent image as rows of R, G, B bytes, top row first.
    std::vector<std::uint8_t> Rgb() const;
    /// Writes the persistent image as a PNG file (through a temporary file and a rename).
    /// Throws the runtime's file errors.
    void SavePng(const std::string& path) const;

    /// Who shows the persistent image on a screen (a view): called after it changed (a Line
    /// drawn with AutoRedraw on, Cls, AutoRedraw switched). One observer per surface; an
    /// empty one stops it. The surface's owner going ends it without a call.
    using ChangeObserver = std::function<void()>;
    void SetObserver(ChangeObserver observer) { m_observer = std::move(observer); }

private:
    void NotifyChanged() const;
    void FitImage();
    void FillPixels(int x1, int y1, int x2, int y2, std::uint32_t colour);
    double ToPixelX(double x) const;
    double ToPixelY(double y) const;

    AreaInTwips m_area;
    bool m_userScale = false;
    double m_scaleWidth = 0;
    double m_scaleHeight = 0;
    int m_drawStyle = 0;
    int m_drawMode = 13;
    int m_drawWidth = 1;
    bool m_autoRedraw = false;
    std::uint32_t m_backColor = 0xFFFFFF;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    std::vector<std::uint32_t> m_image;
    ChangeObserver m_observer;
};

} // namespace platform::forms
