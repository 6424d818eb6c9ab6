#include "actions/ActionOpen.h"

#include "actions/detail/SettingsString.h"
#include "common/ErrorHandling.h"

namespace actions {

using namespace detail;

std::string ActionOpen::ToString() const
{
    return JoinFields({BoolField(m_bActive), BoolField(m_bAutoExecute), NumField(m_lEditor)});
}

void ActionOpen::ToObject(std::string& sData)
{
    common::Rethrowing("ActionOpen", "ISerializeString_ToObject", [&] {
        const auto a = TakeFields(SplitFields(sData), 0, 3);
        m_bActive = ReadBool(a[0]);
        m_bAutoExecute = ReadBool(a[1]);
        m_lEditor = ReadLong(a[2]);
    });
}

// FIXME: the run of this action comes with its own change; until then it does nothing.
void ActionOpen::Execute() {}

} // namespace actions
