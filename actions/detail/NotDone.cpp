#include "actions/detail/NotDone.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/Notices.h"

#include <exception>

namespace actions::detail {

namespace rt = platform::runtime;

void TellNotDone(const std::string& sWhat, const std::string& sWhy)
{
    rt::Notify({rt::Notice::Kind::NotDone, sWhat, sWhy});
}

void TellingFailure(const std::function<void()>& fnBody)
{
    try {
        fnBody();
    } catch (const rt::Error& e) {
        TellNotDone({}, e.Description());
        throw;
    } catch (const std::exception& e) {
        TellNotDone({}, e.what());
        throw;
    }
}

} // namespace actions::detail
