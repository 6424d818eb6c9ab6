#include "platform/outlook/JournalItem.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Utils.h"
#include "platform/runtime/Error.h"

namespace platform::outlook {

namespace {

/// A property of the journal's property set, Empty when the entry lacks it. The message's
/// own look-up maps a name it does not know, so the tag is always valid.
runtime::Variant LogField(const mapi::Message& message, long lid, long type)
{
    return message.Fields(
        message.GetIDsFromNames(mapi::PSETID_Log, static_cast<std::int32_t>(lid)) |
        static_cast<std::int32_t>(type));
}

runtime::Date LocalDate(const runtime::Variant& utc)
{
    const auto* date = utc.Get<runtime::Date>();
    if (!date)
        return runtime::DateSerial(4501, 1, 1);
    return mapi::Utils().UTCToLocalTime(*date);
}

std::string Joined(const runtime::Variant& list)
{
    std::string out;
    if (const auto* array = list.Get<runtime::Array>())
        for (std::int32_t i = array->LBound(); i <= array->UBound(); ++i)
            if (const auto* text = (*array)(i).Get<std::string>())
                out += (out.empty() ? "" : "; ") + *text;
    return out;
}

} // namespace

runtime::Date JournalItem::Start() const
{
    return LocalDate(LogField(Message(), mapi::LID_LOG_START, mapi::PT_SYSTIME));
}

runtime::Date JournalItem::End() const
{
    return LocalDate(LogField(Message(), mapi::LID_LOG_END, mapi::PT_SYSTIME));
}

long JournalItem::Duration() const
{
    const auto v = LogField(Message(), mapi::LID_LOG_DURATION, mapi::PT_LONG);
    const auto* minutes = v.Get<std::int32_t>();
    return minutes ? *minutes : 0;
}

std::string JournalItem::Type() const
{
    const auto v = LogField(Message(), mapi::LID_LOG_TYPE, mapi::PT_STRING8);
    const auto* text = v.Get<std::string>();
    return text ? *text : std::string{};
}

std::string JournalItem::Companies() const
{
    const auto& m = Message();
    return Joined(m.Fields(m.GetIDsFromNames(mapi::PSETID_Common, mapi::LID_COMPANIES) |
                           static_cast<std::int32_t>(mapi::PT_MV_STRING8)));
}

} // namespace platform::outlook
