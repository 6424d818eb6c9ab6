#include "platform/mapi/Utils.h"

#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/MapiBacked.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/MessageData.h"
#include "platform/mapi/detail/NamedLookup.h"
#include "platform/mapi/detail/ValueConversion.h"
#include "platform/runtime/Error.h"
#include "platform/store/LocalTime.h"

#include <filesystem>

namespace platform::mapi {

namespace {

/// The store and context behind one of the objects GetIDsFromNames accepts.
std::pair<std::shared_ptr<detail::Context>, store::Store*> StoreOf(const runtime::Variant& object)
{
    const auto* held = object.Get<std::shared_ptr<runtime::Object>>();
    if (!held || !*held)
        runtime::Raise(runtime::errors::TypeMismatch, "Utils.GetIDsFromNames",
                       "GetIDsFromNames needs a message, folder or store of this library.");
    std::shared_ptr<Message> message = std::dynamic_pointer_cast<Message>(*held);
    if (!message)
        if (const auto* backed = dynamic_cast<const MapiBacked*>(held->get()))
            message = backed->MapiMessage();
    if (message) {
        auto& data = *message->Data();
        return {data.Context(), &data.NamingStore()};
    }
    if (auto folder = std::dynamic_pointer_cast<Folder>(*held))
        return {folder->Context(), &folder->Context()->GetStore(folder->StoreID())};
    if (auto st = std::dynamic_pointer_cast<Store>(*held))
        return {st->Context(), &st->Context()->GetStore(st->StoreID())};
    runtime::Raise(runtime::errors::TypeMismatch, "Utils.GetIDsFromNames",
                   "GetIDsFromNames needs a message, folder or store of this library.");
}

} // namespace

std::int32_t Utils::GetIDsFromNames(const runtime::Variant& mapiObject,
                                    const std::string& propertySetGuid, const runtime::Variant& id,
                                    bool create)
{
    auto [context, st] = StoreOf(mapiObject);
    const auto name = detail::ToNamedProperty(propertySetGuid, id, "Utils.GetIDsFromNames");
    // The id sits in the high 16 bits of a 32-bit tag, so ids from 0x8000 on are negative.
    auto toTag = [](std::uint16_t id) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(id) << 16);
    };
    return detail::Guard("Utils.GetIDsFromNames", [&]() -> std::int32_t {
        if (create)
            return toTag(context->CreateNamedId(*st, name));
        auto found = context->NamedId(*st, name);
        if (!found)
            runtime::Raise(detail::MAPI_E_NOT_FOUND, "Utils.GetIDsFromNames",
                           "The named property is not known in this store.");
        return toTag(*found);
    });
}

runtime::Date Utils::LocalTimeToUTC(runtime::Date local) const
{
    const auto utc = store::LocalToUtc(store::LocalTime{detail::ToLocalSeconds(local)});
    return detail::ToDate(utc);
}

runtime::Date Utils::UTCToLocalTime(runtime::Date utc) const
{
    const auto local = store::UtcToLocal(detail::ToSysTime(utc));
    return detail::ToDate(local.seconds);
}

std::optional<runtime::Date> Utils::TryLocalTimeToUTC(runtime::Date local) const
{
    return detail::TryToDate(
        store::LocalToUtc(store::LocalTime{detail::ToLocalSeconds(local)}).seconds);
}

std::optional<runtime::Date> Utils::TryUTCToLocalTime(runtime::Date utc) const
{
    return detail::TryToDate(store::UtcToLocal(detail::ToSysTime(utc)).seconds);
}

std::string Utils::Version() const
{
    return "5.4.0.0";
}

std::string Utils::ProfileName() const
{
    const auto path = CurrentProfile();
    return path.empty() ? std::string{} : std::filesystem::path(path).filename().string();
}

void Utils::Cleanup() {}

} // namespace platform::mapi
