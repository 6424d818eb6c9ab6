#include "actions/ActionDelete.h"

#include "actions/detail/SettingsString.h"
#include "common/ErrorHandling.h"
#include "platform/runtime/Error.h"

namespace actions {

using namespace detail;

std::string ActionDelete::ToString() const
{
    return BoolField(m_bAutoExecute);
}

void ActionDelete::ToObject(std::string& sData)
{
    common::Rethrowing("ActionDelete", "ISerializeString_ToObject", [&] {
        // An empty string holds no field at all.
        if (sData.empty())
            platform::runtime::Raise(platform::runtime::errors::SubscriptOutOfRange);
        m_bAutoExecute = ReadBool(SplitFields(sData)[0]);
    });
}

// FIXME: the run of this action comes with its own change; until then it does nothing.
void ActionDelete::Execute(bool /*ShowDialog*/) {}

} // namespace actions
