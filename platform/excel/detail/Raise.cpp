#include "platform/excel/detail/Raise.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Error.h"

namespace platform::excel::detail {

void Raise(int number, std::string description)
{
    platform::runtime::Raise(number, "Excel", std::move(description));
}

bool German()
{
    return locale::Current().languageCode == "de";
}

std::string Say(const char* english, const char* german)
{
    return German() ? german : english;
}

} // namespace platform::excel::detail
