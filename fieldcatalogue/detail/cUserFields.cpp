#include "fieldcatalogue/detail/cUserFields.h"

#include "platform/mapi/Folder.h"
#include "platform/mapi/UserField.h"
#include "platform/mapi/UserFields.h"
#include "platform/runtime/ResumeNext.h"

namespace fieldcatalogue::detail {

namespace rt = platform::runtime;
namespace mapi = platform::mapi;

PT_PROPERTY_TYPE cUserFields::MapiTypeOf(long lType)
{
    using enum PT_PROPERTY_TYPE;
    switch (lType) {
    case 3:  // number
    case 12: // percent
        return PT_DOUBLE;
    case 5: // date and time
        return PT_SYSTIME;
    case 6: // yes/no
        return PT_BOOLEAN;
    case 7:  // duration
    case 20: // integer
        return PT_LONG;
    case 11: // keywords
        return PT_MV_STRING8;
    case 14: // currency
        return PT_CURRENCY;
    default:
        // 0 (client-internal), 1 (text), 18 (formula), 19 (combination) are text. A code the
        // client does not define is read as text too rather than with the type of whichever
        // field came before it.
        return PT_STRING8;
    }
}

cFields::FieldCollection cUserFields::GetFields(const std::shared_ptr<mapi::Folder>& Folder)
{
    rt::ResumeNext ignore;
    std::shared_ptr<mapi::UserFields> oUserFields;
    ignore([&] {
        if (!Folder)
            rt::Raise(rt::errors::ObjectNotSet);
        oUserFields = Folder->GetUserFields();
    });
    // Without a user-field collection the answer is empty, as for a folder without fields.
    long lCount = 0;
    if (oUserFields)
        ignore([&] { lCount = oUserFields->Count(); });
    for (long i = 1; i <= lCount; ++i) {
        ignore([&] {
            const auto oUserField = oUserFields->Item(i);
            const long lType = oUserField->Type();
            AddField(rt::Variant(oUserField->Name()), oUserField->GUID(), oUserField->Name(), 0,
                     static_cast<std::int32_t>(lType), MapiTypeOf(lType), true, 0, false, 0, false);
        });
    }
    return TakeFields();
}

} // namespace fieldcatalogue::detail
