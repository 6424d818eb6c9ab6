#pragma once

#include <functional>

namespace platform::runtime {

/// What DoEvents runs: the host's message loop installs a handler that processes pending
/// messages once.
using DoEventsHandler = std::function<void()>;

/// Installs the handler (an empty function removes it).
void SetDoEventsHandler(DoEventsHandler handler);

/// Lets the host process pending messages (the runtime's DoEvents); does nothing while no
/// handler is installed.
void DoEvents();

} // namespace platform::runtime
