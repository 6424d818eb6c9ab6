#include "common/cWindowHandler.h"

#include "platform/runtime/Error.h"
#include "platform/win/Desktop.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace common {
namespace {

namespace win = platform::win;

bool Live(std::int32_t lHwnd)
{
    return lHwnd != 0 && win::Desktop::current().isWindow(lHwnd);
}

// A message for a live window: the stand-in's windows handle no messages.
[[noreturn]] void Unsupported(const char* sMember)
{
    platform::runtime::Raise(platform::runtime::errors::NotSupported,
                             std::string("cWindowHandler.") + sMember,
                             std::string(sMember) + " is not supported by this desktop.");
}

template <class F> std::int32_t Guarded(std::int32_t lHwnd, const char* sMember, F&& fLive)
{
    if (!Live(lHwnd))
        return 0;
    if constexpr (std::is_same_v<decltype(fLive()), void>) {
        fLive();
        Unsupported(sMember);
    } else {
        return fLive();
    }
}

} // namespace

std::int32_t cWindowHandler::ButtonClick(std::int32_t h) const
{
    return Guarded(h, "ButtonClick", [] {});
}
std::int32_t cWindowHandler::ButtonClickAsyn(std::int32_t h) const
{
    return Guarded(h, "ButtonClickAsyn", [] {});
}
// The desktop's windows have no children, siblings, owners or classes: no match.
std::int32_t cWindowHandler::FindChildClassName(std::int32_t, const std::string&) const
{
    return 0;
}
std::int32_t cWindowHandler::FindChildWindowText(std::int32_t, const std::string&) const
{
    return 0;
}
std::int32_t cWindowHandler::FindWindow(const std::string&, const std::string&) const
{
    return 0;
}
std::int32_t cWindowHandler::GetChildWindow(std::int32_t) const
{
    return 0;
}
std::string cWindowHandler::GetClassName(std::int32_t) const
{
    return {};
}
std::int32_t cWindowHandler::GetFirstSibling(std::int32_t) const
{
    return 0;
}
std::int32_t cWindowHandler::GetLastSibling(std::int32_t) const
{
    return 0;
}
std::int32_t cWindowHandler::GetNextSibling(std::int32_t) const
{
    return 0;
}
std::int32_t cWindowHandler::GetOwnerWindow(std::int32_t) const
{
    return 0;
}
std::int32_t cWindowHandler::GetPreviousSibling(std::int32_t) const
{
    return 0;
}

void cWindowHandler::GetCursorPos(std::int32_t& x, std::int32_t& y) const
{
    const auto oPoint = win::Desktop::current().cursorPosition();
    x = oPoint ? oPoint->x : -1;
    y = oPoint ? oPoint->y : -1;
}

std::int32_t cWindowHandler::GetDesktopWindow() const
{
    // The desktop itself is no window of the stand-in; its conventional handle.
    return 0x10010;
}

void cWindowHandler::GetSelectedPosition(std::int32_t, std::int32_t&, std::int32_t&) const {}

std::string cWindowHandler::GetText(std::int32_t h) const
{
    Guarded(h, "GetText", [] {});
    return {};
}
std::int32_t cWindowHandler::GetTextLength(std::int32_t h) const
{
    return Guarded(h, "GetTextLength", [] {});
}
std::string cWindowHandler::GetWindowText(std::int32_t h) const
{
    Guarded(h, "GetWindowText", [] {});
    return {};
}
std::int32_t cWindowHandler::IsWindow(std::int32_t h) const
{
    return Live(h) ? 1 : 0;
}
std::int32_t cWindowHandler::ListBoxGetCaretIndex(std::int32_t h) const
{
    return Guarded(h, "ListBoxGetCaretIndex", [] {});
}
std::int32_t cWindowHandler::LockWindowUpdate(std::int32_t h) const
{
    return Guarded(h, "LockWindowUpdate", [] {});
}
std::int32_t cWindowHandler::PostMessage(std::int32_t h, std::int32_t, std::int32_t,
                                         std::int32_t) const
{
    return Guarded(h, "PostMessage", [] {});
}
std::int32_t cWindowHandler::ReplaceSelection(std::int32_t h, const std::string&) const
{
    return Guarded(h, "ReplaceSelection", [] {});
}
std::int32_t cWindowHandler::SendMessageLong(std::int32_t h, std::int32_t, std::int32_t,
                                             std::int32_t) const
{
    return Guarded(h, "SendMessageLong", [] {});
}
std::int32_t cWindowHandler::SetFocus(std::int32_t h) const
{
    return Guarded(h, "SetFocus", [] {});
}
std::int32_t cWindowHandler::SetForegroundWindow(std::int32_t h) const
{
    return Guarded(h, "SetForegroundWindow",
                   [h] { return win::Desktop::current().setForegroundWindow(h) ? 1 : 0; });
}
std::int32_t cWindowHandler::SetSelection(std::int32_t h) const
{
    return Guarded(h, "SetSelection", [] {});
}
std::int32_t cWindowHandler::SetRedraw(std::int32_t h, bool) const
{
    return Guarded(h, "SetRedraw", [] {});
}
std::int32_t cWindowHandler::SetText(std::int32_t h, const std::string&) const
{
    return Guarded(h, "SetText", [] {});
}

void cWindowHandler::Sleep(std::int32_t dwMilliseconds) const
{
    std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

std::pair<std::int32_t, std::int32_t> cWindowHandler::AbsoluteMousePoint(double x, double y)
{
    const auto& oDesktop = win::Desktop::current();
    const double dWidth = oDesktop.screenWidth() * win::Desktop::kTwipsPerPixel / 12.0;
    const double dHeight = oDesktop.screenHeight() * win::Desktop::kTwipsPerPixel / 12.0;
    return {static_cast<std::int32_t>(std::lround(x * 65535 / dWidth)),
            static_cast<std::int32_t>(std::lround(y * 65535 / dHeight))};
}

} // namespace common
