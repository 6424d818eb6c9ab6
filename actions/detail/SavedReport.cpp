#include "actions/detail/SavedReport.h"

#include "actions/Action.h"
#include "platform/runtime/Error.h"

namespace actions::detail {

namespace rt = platform::runtime;

ActionSave& SaveActionOf(Action* oParent)
{
    if (!oParent || !oParent->GetSaveAction())
        rt::Raise(rt::errors::ObjectNotSet);
    return *oParent->GetSaveAction();
}

void RequireStarted(bool bStarted, const std::string& sFile, const std::string& sDetail)
{
    if (!bStarted)
        rt::Raise(rt::errors::FileNotFound, {},
                  "No program could be started for \"" + sFile + "\"" +
                      (sDetail.empty() ? std::string(".") : ": " + sDetail));
}

} // namespace actions::detail
