#pragma once

#include <string>

namespace actions {
class Action;
class ActionSave;
} // namespace actions

/// What the open, print, send and delete actions share: the report file the save action
/// wrote last, and the check that a program was started for it.
namespace actions::detail {

/// The save action of the actions' container; raises 91 when the action is not linked.
ActionSave& SaveActionOf(Action* oParent);

/// Raises error 53 with the shell's reason when a program could not be started for sFile.
void RequireStarted(bool bStarted, const std::string& sFile, const std::string& sDetail);

} // namespace actions::detail
