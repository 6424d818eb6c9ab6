#include "platform/win/Desktop.h"

#include <algorithm>
#include <limits>

namespace platform::win {

Desktop& Desktop::current()
{
    static Desktop desktop;
    return desktop;
}

WindowHandle Desktop::createWindow(ScreenRect rect)
{
    std::lock_guard lock(mutex_);
    do {
        // Handles count up and wrap within the positive range, skipping live ones.
        lastWindow_ = lastWindow_ == std::numeric_limits<WindowHandle>::max() ? 1 : lastWindow_ + 1;
    } while (windows_.contains(lastWindow_));
    windows_[lastWindow_] = rect;
    return lastWindow_;
}

bool Desktop::destroyWindow(WindowHandle window)
{
    std::lock_guard lock(mutex_);
    if (windows_.erase(window) == 0) {
        return false;
    }
    if (foreground_ == window) {
        foreground_ = 0;
    }
    return true;
}

bool Desktop::isWindow(WindowHandle window) const
{
    std::lock_guard lock(mutex_);
    return windows_.contains(window);
}

bool Desktop::setForegroundWindow(WindowHandle window)
{
    std::lock_guard lock(mutex_);
    if (!windows_.contains(window)) {
        return false;
    }
    foreground_ = window;
    return true;
}

WindowHandle Desktop::foregroundWindow() const
{
    std::lock_guard lock(mutex_);
    return foreground_;
}

std::optional<ScreenRect> Desktop::windowRect(WindowHandle window) const
{
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    return found == windows_.end() ? std::nullopt : std::optional(found->second);
}

bool Desktop::setWindowRect(WindowHandle window, ScreenRect rect)
{
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    if (found == windows_.end()) {
        return false;
    }
    found->second = rect;
    return true;
}

std::optional<ScreenPoint> Desktop::cursorPosition() const
{
    std::lock_guard lock(mutex_);
    return cursor_;
}

void Desktop::setCursorPosition(std::optional<ScreenPoint> position)
{
    std::lock_guard lock(mutex_);
    cursor_ = position;
}

int Desktop::screenWidth() const
{
    std::lock_guard lock(mutex_);
    return width_;
}

int Desktop::screenHeight() const
{
    std::lock_guard lock(mutex_);
    return height_;
}

void Desktop::setScreenSize(int width, int height)
{
    std::lock_guard lock(mutex_);
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
}

} // namespace platform::win
