#pragma once

#include <cstdint>
#include <string>

namespace common {

/// Thin wrappers of the window functions, addressed by window handle. "Guarded" members do
/// nothing and answer 0 (or empty text) for a handle that is no window. The stand-in desktop
/// knows live windows, the foreground window, window rectangles, the cursor and the screen;
/// it has no child windows, window classes or message handling, so the members that would
/// need them answer as for no match, or raise "not supported" (438) for a live window.
class cWindowHandler
{
public:
    std::int32_t ButtonClick(std::int32_t lHwnd) const;
    std::int32_t ButtonClickAsyn(std::int32_t lHwnd) const;
    std::int32_t FindChildClassName(std::int32_t lHwnd, const std::string& sFind) const;
    std::int32_t FindChildWindowText(std::int32_t lHwnd, const std::string& sFind) const;
    std::int32_t FindWindow(const std::string& sClassName, const std::string& sCaption) const;
    std::int32_t GetChildWindow(std::int32_t lHwnd) const;
    std::string GetClassName(std::int32_t lHwnd) const;
    /// The cursor position in screen pixels; -1, -1 when it is unknown.
    void GetCursorPos(std::int32_t& x, std::int32_t& y) const;
    std::int32_t GetDesktopWindow() const;
    std::int32_t GetFirstSibling(std::int32_t lHwnd) const;
    std::int32_t GetLastSibling(std::int32_t lHwnd) const;
    std::int32_t GetNextSibling(std::int32_t lHwnd) const;
    std::int32_t GetOwnerWindow(std::int32_t lHwnd) const;
    std::int32_t GetPreviousSibling(std::int32_t lHwnd) const;
    /// Does nothing: the out arguments stay as they are.
    void GetSelectedPosition(std::int32_t lHwnd, std::int32_t& lStartPos,
                             std::int32_t& lEndPos) const;
    std::string GetText(std::int32_t hwnd) const;
    std::int32_t GetTextLength(std::int32_t hwnd) const;
    std::string GetWindowText(std::int32_t lHwnd) const;
    /// Non-zero when the handle is a live window.
    std::int32_t IsWindow(std::int32_t lHwnd) const;
    std::int32_t ListBoxGetCaretIndex(std::int32_t lHwnd) const;
    std::int32_t LockWindowUpdate(std::int32_t lHwnd) const;
    std::int32_t PostMessage(std::int32_t hwnd, std::int32_t wMsg, std::int32_t wParam,
                             std::int32_t lParam) const;
    std::int32_t ReplaceSelection(std::int32_t hwnd, const std::string& sText) const;
    std::int32_t SendMessageLong(std::int32_t hwnd, std::int32_t wMsg, std::int32_t wParam,
                                 std::int32_t lParam) const;
    std::int32_t SetFocus(std::int32_t lHwnd) const;
    /// Brings a live window to the front; non-zero on success.
    std::int32_t SetForegroundWindow(std::int32_t lHwnd) const;
    std::int32_t SetSelection(std::int32_t hwnd) const;
    std::int32_t SetRedraw(std::int32_t lHwnd, bool bUnlock) const;
    std::int32_t SetText(std::int32_t hwnd, const std::string& sText) const;
    /// Sleeps the calling thread.
    void Sleep(std::int32_t dwMilliseconds) const;

    /// The absolute mouse coordinates (0..65535) of a point in pixels, as the mouse-click
    /// members compute them: the screen's twips divided by a fixed 12 twips per pixel.
    static std::pair<std::int32_t, std::int32_t> AbsoluteMousePoint(double x, double y);
};

} // namespace common
