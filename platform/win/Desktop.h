#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

namespace platform::win {

/// A window handle as the system passes it (32-bit); 0 is no window.
using WindowHandle = std::int32_t;

/// A rectangle in screen pixels; right and bottom lie just outside it.
struct ScreenRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

/// A point in screen pixels.
struct ScreenPoint
{
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

/// The host's desktop as far as the system asks about it: which window handles are live, which
/// window is in the foreground, window rectangles, the cursor position and the screen size.
/// Windows of the forms layer and the host register here; tests set what they need.
class Desktop
{
public:
    /// Twips per screen pixel (the host's usual 96 dots per inch).
    static constexpr int kTwipsPerPixel = 15;

    /// The process-wide desktop, made on first use: a 1024 x 768 screen, no windows, the
    /// cursor position unknown.
    static Desktop& current();

    Desktop() = default;
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    /// Registers a new live window with a rectangle; returns its handle (never 0).
    WindowHandle createWindow(ScreenRect rect = {});
    /// Forgets a window; false when it was not live. A foreground window leaves the foreground.
    bool destroyWindow(WindowHandle window);
    /// Whether the handle is a live window.
    bool isWindow(WindowHandle window) const;

    /// Brings a live window to the foreground; false (and nothing changes) for any other handle.
    bool setForegroundWindow(WindowHandle window);
    /// The foreground window, or 0.
    WindowHandle foregroundWindow() const;

    /// A live window's rectangle, or nothing for another handle.
    std::optional<ScreenRect> windowRect(WindowHandle window) const;
    /// Moves or sizes a live window; false for another handle.
    bool setWindowRect(WindowHandle window, ScreenRect rect);

    /// The cursor position, or nothing when it is unknown (no pointer device).
    std::optional<ScreenPoint> cursorPosition() const;
    /// Sets the cursor position, or makes it unknown.
    void setCursorPosition(std::optional<ScreenPoint> position);

    /// The screen's width in pixels.
    int screenWidth() const;
    /// The screen's height in pixels.
    int screenHeight() const;
    /// The screen's width in twips.
    int screenWidthTwips() const { return screenWidth() * kTwipsPerPixel; }
    /// The screen's height in twips.
    int screenHeightTwips() const { return screenHeight() * kTwipsPerPixel; }
    /// Sets the screen size in pixels (both at least 1).
    void setScreenSize(int width, int height);

private:
    mutable std::mutex mutex_;
    std::map<WindowHandle, ScreenRect> windows_;
    WindowHandle lastWindow_ = 0;
    WindowHandle foreground_ = 0;
    std::optional<ScreenPoint> cursor_;
    int width_ = 1024;
    int height_ = 768;
};

} // namespace platform::win
