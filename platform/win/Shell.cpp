#include "platform/win/Shell.h"

#include "platform/win/ProcessShell.h"

#include <utility>

namespace platform::win {
namespace {

Shell*& installedShell()
{
    static Shell* shell = nullptr;
    return shell;
}

} // namespace

Shell& currentShell()
{
    if (auto* shell = installedShell()) {
        return *shell;
    }
    static ProcessShell processShell;
    return processShell;
}

ScopedShell::ScopedShell(Shell& shell) : previous_(std::exchange(installedShell(), &shell)) {}

ScopedShell::~ScopedShell()
{
    installedShell() = previous_;
}

} // namespace platform::win
