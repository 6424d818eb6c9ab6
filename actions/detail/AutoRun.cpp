#include "actions/detail/AutoRun.h"

namespace actions::detail {

void RunAutomatic(const AutoSteps& oSteps, bool bSkipSave)
{
    if (!bSkipSave && oSteps.save.bAuto)
        oSteps.save.fnExecute();
    if (oSteps.fnSavedAs().empty())
        return;
    // An opened file is the user's to work on: it is not sent, printed or deleted as well.
    if (oSteps.open.bAuto) {
        oSteps.open.fnExecute();
        return;
    }
    for (const AutoStep* pStep : {&oSteps.send, &oSteps.print, &oSteps.del})
        if (pStep->bAuto)
            pStep->fnExecute();
}

} // namespace actions::detail
