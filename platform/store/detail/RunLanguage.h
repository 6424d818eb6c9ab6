#pragma once

#include "platform/locale/Locale.h"

#include <string>

namespace platform::store::detail {

/// Of two wordings of a reason, the one in the run's language (German where the current
/// locale speaks it, English otherwise): the store's reasons reach the person inside the
/// messages of the layers above.
inline std::string InRunLanguage(std::string german, std::string english)
{
    return platform::locale::InCurrentLanguage(std::move(german), std::move(english));
}

} // namespace platform::store::detail
