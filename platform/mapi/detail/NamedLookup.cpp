#include "platform/mapi/detail/NamedLookup.h"

#include "platform/runtime/Error.h"
#include "platform/store/StoreError.h"

namespace platform::mapi::detail {

store::NamedProperty ToNamedProperty(const std::string& guid, const runtime::Variant& id,
                                     const char* source)
{
    try {
        if (const auto* name = id.Get<std::string>())
            return store::NamedProperty::Name(guid, *name);
        std::int64_t lid = 0;
        if (const auto* i = id.Get<std::int16_t>())
            lid = *i;
        else if (const auto* l = id.Get<std::int32_t>())
            lid = *l;
        else if (const auto* d = id.Get<double>())
            lid = static_cast<std::int64_t>(*d);
        else
            runtime::Raise(runtime::errors::TypeMismatch, source,
                           "A named property is named by a whole number or a text.");
        return store::NamedProperty::Lid(guid, lid);
    } catch (const store::StoreError& e) {
        runtime::Raise(runtime::errors::InvalidProcedureCall, source, e.what());
    }
}

} // namespace platform::mapi::detail
