#include "actions/ActionSend.h"

#include "actions/detail/SettingsString.h"
#include "common/ErrorHandling.h"

namespace actions {

using namespace detail;

std::string ActionSend::ToString() const
{
    return JoinFields({BoolField(m_bActive), BoolField(m_bAutoExecute), NumField(m_lMailAction),
                       m_sMailTemplate, m_sTemplateEntryID, NumField(m_lTemplateSource),
                       m_sTemplateStoreID, m_sTemplateSubject});
}

void ActionSend::ToObject(std::string& sData)
{
    common::Rethrowing("ActionSend", "ISerializeString_ToObject", [&] {
        const auto a = TakeFields(SplitFields(sData), 0, 8);
        m_bActive = ReadBool(a[0]);
        m_bAutoExecute = ReadBool(a[1]);
        m_lMailAction = ReadLong(a[2]);
        m_sMailTemplate = a[3];
        m_sTemplateEntryID = a[4];
        m_lTemplateSource = ReadLong(a[5]);
        m_sTemplateStoreID = a[6];
        m_sTemplateSubject = a[7];
    });
}

// FIXME: the run of this action comes with its own change; until then it does nothing.
void ActionSend::Execute() {}

} // namespace actions
