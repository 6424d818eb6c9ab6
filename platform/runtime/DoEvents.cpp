#include "platform/runtime/DoEvents.h"

#include <mutex>
#include <utility>

namespace platform::runtime {

namespace {

struct Slot
{
    std::mutex mutex;
    DoEventsHandler handler;
};

Slot& TheSlot()
{
    static Slot slot;
    return slot;
}

} // namespace

void SetDoEventsHandler(DoEventsHandler handler)
{
    Slot& slot = TheSlot();
    std::lock_guard lock(slot.mutex);
    slot.handler = std::move(handler);
}

void DoEvents()
{
    DoEventsHandler handler;
    {
        // Run a copy outside the lock: the handler may itself install another one.
        Slot& slot = TheSlot();
        std::lock_guard lock(slot.mutex);
        handler = slot.handler;
    }
    if (handler) {
        handler();
    }
}

} // namespace platform::runtime
