#pragma once

#include "dialogs/detail/DialogSupport.h"

namespace dialogs::detail {

/// The action settings dialog's own captions (its tags are keys of this table).
const OwnTexts& ActionTexts();

} // namespace dialogs::detail
