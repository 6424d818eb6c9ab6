#pragma once

namespace engine {

/// The events of the engine root (its event source): a listener the caller connects with
/// `Application::Advise` to follow a read.
class ApplicationEvents
{
public:
    virtual ~ApplicationEvents() = default;
    /// Raised after every item row a reader handles: lValue is the row number plus one (so the
    /// last row reports lMax + 1), lMax the folder's item count. Setting bCancel does not stop
    /// the read.
    virtual void Progress(long lValue, long lMax, bool& bCancel) = 0;
};

} // namespace engine
