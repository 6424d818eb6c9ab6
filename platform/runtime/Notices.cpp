#include "platform/runtime/Notices.h"

#include <utility>

namespace platform::runtime {

namespace {

std::function<void(const Notice&)>& Listener()
{
    static std::function<void(const Notice&)> listener;
    return listener;
}

} // namespace

void SetNoticeListener(std::function<void(const Notice&)> listener)
{
    Listener() = std::move(listener);
}

void Notify(const Notice& notice)
{
    if (Listener())
        Listener()(notice);
}

} // namespace platform::runtime
