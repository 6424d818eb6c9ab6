#include "common/modShell.h"

#include "platform/win/Shell.h"

namespace common::modShell {

bool ShellOpenDocument(const std::string& sFile)
{
    return platform::win::currentShell().openDocument(sFile).started;
}

platform::win::ShellResult ShellRun(const std::string& sFile, const std::string& sParameters)
{
    return platform::win::currentShell().run(sFile, sParameters);
}

platform::win::ShellResult ShellOpen(const std::string& sFile)
{
    return platform::win::currentShell().openDocument(sFile);
}

void ShellPrintDocument(const std::string& sFile, std::int64_t)
{
    platform::win::currentShell().printDocument(sFile);
}

} // namespace common::modShell
