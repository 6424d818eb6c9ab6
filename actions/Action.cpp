#include "actions/Action.h"

#include "actions/detail/AutoRun.h"
#include "actions/detail/SettingsString.h"
#include "common/ErrorHandling.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Notices.h"
#include "views/ViewSettings.h"

namespace actions {

using namespace detail;

namespace {

constexpr const char* kModule = "Action";

template <class T> void Unlink(const std::unique_ptr<T>& oChild)
{
    if (oChild)
        oChild->AsIChild().ResetParentPtr();
}

} // namespace

Action::~Action()
{
    Unlink(m_oDelete);
    Unlink(m_oOpen);
    Unlink(m_oPrint);
    Unlink(m_oSave);
    Unlink(m_oSend);
}

views::ViewSettings* Action::Parent() const
{
    return dynamic_cast<views::ViewSettings*>(m_pParent);
}

void Action::Init(platform::runtime::Object* lParentPtr, const std::string&)
{
    common::Rethrowing(kModule, "IChild_Init", [&] {
        m_pParent = lParentPtr;
        m_oDelete = std::make_unique<ActionDelete>();
        m_oDelete->AsIChild().Init(this, {});
        m_oOpen = std::make_unique<ActionOpen>();
        m_oOpen->AsIChild().Init(this, {});
        m_oPrint = std::make_unique<ActionPrint>();
        m_oPrint->AsIChild().Init(this, {});
        m_oSave = std::make_unique<ActionSave>();
        m_oSave->AsIChild().Init(this, {});
        m_oSend = std::make_unique<ActionSend>();
        m_oSend->AsIChild().Init(this, {});
    });
}

void Action::AutoExecute(bool bSkipSave)
{
    common::Rethrowing(kModule, "AutoExecute", [&] {
        if (!m_oSave)
            platform::runtime::Raise(platform::runtime::errors::ObjectNotSet);
        AutoSteps oSteps;
        namespace rt = platform::runtime;
        // The user hears of the file an automatic save wrote and of the file it deleted.
        oSteps.save = {m_oSave->AutoExecute(), [&] {
                           m_oSave->Execute();
                           if (!m_oSave->SavedAs().empty())
                               rt::Notify({rt::Notice::Kind::Saved, m_oSave->SavedAs(), {}});
                       }};
        oSteps.fnSavedAs = [&] { return m_oSave->SavedAs(); };
        oSteps.open = {m_oOpen->AutoExecute(), [&] { m_oOpen->Execute(); }};
        oSteps.send = {m_oSend->AutoExecute(), [&] { m_oSend->Execute(); }};
        oSteps.print = {m_oPrint->AutoExecute(), [&] { m_oPrint->Execute(); }};
        oSteps.del = {m_oDelete->AutoExecute(), [&] {
                          const std::string sFile = m_oSave->SavedAs();
                          m_oDelete->Execute(false);
                          rt::Notify({rt::Notice::Kind::Deleted, sFile, {}});
                      }};
        RunAutomatic(oSteps, bSkipSave);
    });
}

std::string Action::ToString() const
{
    return common::Rethrowing(kModule, "ISerializeString_ToString", [&] {
        if (!m_oSave)
            platform::runtime::Raise(platform::runtime::errors::ObjectNotSet);
        return JoinFields({m_oDelete->ToString(), m_oOpen->ToString(), m_oPrint->ToString(),
                           m_oSave->ToString(), m_oSend->ToString()});
    });
}

void Action::ToObject(std::string& sData)
{
    common::Rethrowing(kModule, "ISerializeString_ToObject", [&] {
        if (!m_oSave)
            platform::runtime::Raise(platform::runtime::errors::ObjectNotSet);
        const auto aPieces = SplitFields(sData);
        std::size_t lAt = 0;
        const auto hand = [&](views::ISerializeString& oChild, std::size_t lCount) {
            std::string sSlice = JoinFields(TakeFields(aPieces, lAt, lCount));
            lAt += lCount;
            oChild.ToObject(sSlice);
        };
        hand(*m_oDelete, 1);
        hand(*m_oOpen, 3);
        hand(*m_oPrint, 17);
        hand(*m_oSave, 10);
        hand(*m_oSend, 8);
    });
}

} // namespace actions
