#pragma once

#include "host/HostOptions.h"

#include <iosfwd>
#include <string>

namespace host {

/// One run of the client: profile, add-in connection, explorer, start-up, ribbon, the report
/// button, the report window as text, disconnection. Answers the process exit code.
int RunHost(const HostOptions& oOptions, const std::string& sAddInPath, std::ostream& out,
            std::ostream& err);

} // namespace host
