#pragma once

#include <memory>

namespace platform::mapi {
class Table;
class Utils;
} // namespace platform::mapi

namespace engine {
class Application;
}

namespace engine::detail {

/// The library-wide state every engine class reaches without being handed it: one set per
/// thread, as the client calls the library on its user-interface thread. The client's
/// namespace and application object, the messaging session and the client's version are the
/// common globals of this library's copy (common::modMain, modRedemption, modOLVersion).
struct EngineState
{
    /// The root last given to `Initialize`; cleared by `Terminate` (not owned).
    Application* pCurrentRoot = nullptr;
    /// The messaging library's utils object, made by the first `GetUtils`.
    std::shared_ptr<platform::mapi::Utils> oUtils;
};

/// This thread's engine state.
EngineState& State();

/// The current root; throws error 91 when there is none.
Application& CurrentRoot();

/// The library-wide utils object of the messaging library ("ardex.sfUtils"): made on the
/// first call, the same object on every later one. A failure to make it reaches the caller
/// and the next call tries again.
std::shared_ptr<platform::mapi::Utils> GetUtils();

/// A new table object of the messaging library ("ardex.sfTable"). Failures reach the caller.
std::shared_ptr<platform::mapi::Table> CreateTableObject();

} // namespace engine::detail
