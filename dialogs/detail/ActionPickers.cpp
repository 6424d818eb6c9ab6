#include "dialogs/ActionPickers.h"

#include "actions/ActionPrint.h"
#include "actions/ActionSave.h"
#include "actions/ActionSend.h"

namespace dialogs {

ActionPickers ActionPickers::OfActions()
{
    return {
        [](actions::ActionSave& o) { o.PickPath(); },
        [](actions::ActionSave& o) { o.PickTemplate(); },
        [](actions::ActionSend& o) { o.PickMailTemplateFromFile(); },
        [](actions::ActionPrint& o) { o.PickPrinterSettings(); },
    };
}

} // namespace dialogs
