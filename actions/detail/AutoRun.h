#pragma once

#include <functional>
#include <string>

namespace actions::detail {

/// One action of the automatic run: whether it is marked to run automatically, and its run.
struct AutoStep
{
    bool bAuto = false;
    std::function<void()> fnExecute;
};

/// The actions of one automatic run, the save first.
struct AutoSteps
{
    AutoStep save;
    /// The file the last save wrote ("" when none), read after the save.
    std::function<std::string()> fnSavedAs;
    AutoStep open;
    AutoStep send;
    AutoStep print;
    AutoStep del;
};

/// Runs the save when it is automatic and not skipped; then, when a saved file exists, the
/// open action alone when it is automatic, else send, print and delete in that order, each
/// when automatic. An error of one action stops the run and reaches the caller.
void RunAutomatic(const AutoSteps& oSteps, bool bSkipSave);

} // namespace actions::detail
