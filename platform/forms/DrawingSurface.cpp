#include "platform/forms/DrawingSurface.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/ReplacingFile.h"

#include <algorithm>
#include <cmath>
#include <zlib.h>

namespace platform::forms {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kInsideSolid = 6;
constexpr int kCopyPen = 13;

void Require(bool ok, const char* property)
{
    if (!ok)
        runtime::Raise(runtime::errors::InvalidPropertyValue, property);
}

void PutBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

// One PNG chunk: length, type, data and the CRC of type and data.
void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBigEndian(out,
                 static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                  static_cast<uInt>(typed.size()))));
}

std::string PngBytes(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    // Each row starts with filter type 0 (none).
    std::string raw;
    raw.reserve(static_cast<std::size_t>(height) * (static_cast<std::size_t>(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw += '\0';
        const auto* row = rgb.data() + static_cast<std::size_t>(y) * width * 3;
        raw.append(reinterpret_cast<const char*>(row), static_cast<std::size_t>(width) * 3);
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(packed.data()), &size,
                 reinterpret_cast<const Bytef*>(raw.data()),
                 static_cast<uLong>(raw.size())) != Z_OK)
        runtime::Raise(runtime::errors::OutOfMemory, "DrawingSurface.SavePng");
    packed.resize(size);

    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB, deflate, no interlace
    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace

DrawingSurface::DrawingSurface(AreaInTwips area) : m_area(std::move(area)) {}

void DrawingSurface::NotifyChanged() const
{
    if (m_observer)
        m_observer();
}

void DrawingSurface::SetAutoRedraw(bool on)
{
    if (on == m_autoRedraw)
        return;
    m_autoRedraw = on;
    NotifyChanged();
}

double DrawingSurface::ScaleWidth() const
{
    return m_userScale && m_scaleWidth != 0 ? m_scaleWidth : m_area().first;
}

double DrawingSurface::ScaleHeight() const
{
    return m_userScale && m_scaleHeight != 0 ? m_scaleHeight : m_area().second;
}

void DrawingSurface::SetScaleWidth(double units)
{
    Require(units != 0, "ScaleWidth");
    if (!m_userScale)
        m_scaleHeight = m_area().second;
    m_userScale = true;
    m_scaleWidth = units;
}

void DrawingSurface::SetScaleHeight(double units)
{
    Require(units != 0, "ScaleHeight");
    if (!m_userScale)
        m_scaleWidth = m_area().first;
    m_userScale = true;
    m_scaleHeight = units;
}

void DrawingSurface::SetDrawStyle(int style)
{
    Require(style >= 0 && style <= kInsideSolid, "DrawStyle");
    m_drawStyle = style;
}

void DrawingSurface::SetDrawMode(int mode)
{
    Require(mode >= 1 && mode <= 16, "DrawMode");
    m_drawMode = mode;
}

void DrawingSurface::SetDrawWidth(int pixels)
{
    Require(pixels >= 1 && pixels <= 32767, "DrawWidth");
    m_drawWidth = pixels;
}

int DrawingSurface::PixelWidth() const
{
    return std::max(m_area().first / kTwipsPerPixel, 0);
}

int DrawingSurface::PixelHeight() const
{
    return std::max(m_area().second / kTwipsPerPixel, 0);
}

double DrawingSurface::ToPixelX(double x) const
{
    return (x - ScaleLeft()) * PixelWidth() / ScaleWidth();
}

double DrawingSurface::ToPixelY(double y) const
{
    return (y - ScaleTop()) * PixelHeight() / ScaleHeight();
}

void DrawingSurface::FitImage()
{
    const int width = PixelWidth();
    const int height = PixelHeight();
    if (width == m_imageWidth && height == m_imageHeight)
        return;
    // A resized window keeps what it showed in the part that is still there.
    std::vector<std::uint32_t> image(static_cast<std::size_t>(width) * height, m_backColor);
    for (int y = 0; y < std::min(height, m_imageHeight); ++y)
        for (int x = 0; x < std::min(width, m_imageWidth); ++x)
            image[static_cast<std::size_t>(y) * width + x] =
                m_image[static_cast<std::size_t>(y) * m_imageWidth + x];
    m_image = std::move(image);
    m_imageWidth = width;
    m_imageHeight = height;
}

void DrawingSurface::FillPixels(int x1, int y1, int x2, int y2, std::uint32_t colour)
{
    // Half-open pixel ranges [x1, x2) and [y1, y2), cut to the image.
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, m_imageWidth);
    y2 = std::min(y2, m_imageHeight);
    for (int y = y1; y < y2; ++y)
        std::fill_n(m_image.begin() + static_cast<std::ptrdiff_t>(y) * m_imageWidth + x1,
                    std::max(x2 - x1, 0), colour);
}

void DrawingSurface::Line(double x1, double y1, double x2, double y2, std::uint32_t colour,
                          LineShape shape)
{
    if (m_drawMode != kCopyPen)
        runtime::Raise(runtime::errors::NotSupported, "Line",
                       "Only the copy pen (DrawMode 13) draws on this surface.");
    if (!m_autoRedraw)
        return; // drawn on the screen only, which keeps nothing here
    FitImage();
    colour &= 0xFFFFFF;
    const double px1 = ToPixelX(std::min(x1, x2));
    const double px2 = ToPixelX(std::max(x1, x2));
    const double py1 = ToPixelY(std::min(y1, y2));
    const double py2 = ToPixelY(std::max(y1, y2));
    // A pen wider than a pixel straddles the edge, unless it draws inside the shape.
    const int grow = m_drawStyle == kInsideSolid ? 0 : (m_drawWidth - 1) / 2;
    const int left = static_cast<int>(std::lround(px1)) - grow;
    const int top = static_cast<int>(std::lround(py1)) - grow;
    const int right = std::max(static_cast<int>(std::lround(px2)), left + 1) + grow;
    const int bottom = std::max(static_cast<int>(std::lround(py2)), top + 1) + grow;
    const int pen = std::min(m_drawWidth, std::max(std::min(right - left, bottom - top), 1));
    switch (shape) {
    case LineShape::BoxFilled:
        FillPixels(left, top, right, bottom, colour);
        break;
    case LineShape::Box:
        FillPixels(left, top, right, top + pen, colour);
        FillPixels(left, bottom - pen, right, bottom, colour);
        FillPixels(left, top, left + pen, bottom, colour);
        FillPixels(right - pen, top, right, bottom, colour);
        break;
    case LineShape::Line: {
        const double fromX = ToPixelX(x1), fromY = ToPixelY(y1);
        const double toX = ToPixelX(x2), toY = ToPixelY(y2);
        const int steps = static_cast<int>(
            std::max(std::ceil(std::max(std::abs(toX - fromX), std::abs(toY - fromY))), 1.0));
        for (int i = 0; i <= steps; ++i) {
            const int x = static_cast<int>(std::lround(fromX + (toX - fromX) * i / steps));
            const int y = static_cast<int>(std::lround(fromY + (toY - fromY) * i / steps));
            const int half = (m_drawWidth - 1) / 2;
            FillPixels(x - half, y - half, x - half + m_drawWidth, y - half + m_drawWidth, colour);
        }
        break;
    }
    }
    NotifyChanged();
}

void DrawingSurface::Cls()
{
    FitImage();
    std::fill(m_image.begin(), m_image.end(), m_backColor);
    NotifyChanged();
}

std::uint32_t DrawingSurface::Point(int xPixel, int yPixel) const
{
    if (xPixel < 0 || yPixel < 0 || xPixel >= m_imageWidth || yPixel >= m_imageHeight)
        return m_backColor;
    return m_image[static_cast<std::size_t>(yPixel) * m_imageWidth + xPixel];
}

std::vector<std::uint8_t> DrawingSurface::Rgb() const
{
    const int width = PixelWidth();
    const int height = PixelHeight();
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = Point(x, y);
            rgb.push_back(static_cast<std::uint8_t>(colour & 0xFF));
            rgb.push_back(static_cast<std::uint8_t>((colour >> 8) & 0xFF));
            rgb.push_back(static_cast<std::uint8_t>((colour >> 16) & 0xFF));
        }
    return rgb;
}

void DrawingSurface::SavePng(const std::string& path) const
{
    runtime::ReplacingFile file(path, "DrawingSurface.SavePng");
    file.Write(PngBytes(PixelWidth(), PixelHeight(), Rgb()));
    file.Commit();
}

} // namespace platform::forms
