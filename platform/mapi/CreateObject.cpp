#include "platform/mapi/CreateObject.h"

#include "platform/mapi/SafeItem.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/Utils.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace platform::mapi {

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

/// The client item types a safe wrapper exists for, as the ProgID spells them.
constexpr std::array<const char*, 10> kSafeKinds = {
    "Mail", "Appointment", "Task",      "Journal",        "Contact",
    "Note", "Post",        "Recipient", "MeetingRequest", "DistList"};

} // namespace

std::shared_ptr<runtime::Object> CreateObject(const std::string& progId)
{
    const std::string id = Lower(progId);
    if (id == "ardex.ardexsession")
        return std::make_shared<Session>();
    if (id == "ardex.sfutils")
        return std::make_shared<Utils>();
    if (id == "ardex.sftable")
        return std::make_shared<Table>();
    const std::string prefix = "ardex.sf";
    if (id.starts_with(prefix)) {
        const std::string kind = id.substr(prefix.size());
        for (const char* known : kSafeKinds)
            if (Lower(known) == kind)
                return std::make_shared<SafeItem>(known);
    }
    runtime::Raise(runtime::errors::CannotCreateObject, "CreateObject",
                   "ActiveX component can't create object: no class is registered as \"" + progId +
                       "\".");
}

} // namespace platform::mapi
