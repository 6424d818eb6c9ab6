#include "dialogs/SectionDialog.h"

#include "common/Deliverable.h"
#include "common/ErrorObject.h"
#include "common/modHtmlHelp.h"
#include "dialogs/ISectionOpener.h"
#include "fieldcatalogue/cFields.h"
#include "platform/forms/Driver.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr int kExclamation = 48;
constexpr int kKeyF1 = 112;
constexpr int kObjectVariableNotSet = 91;

template <class TSet> SectionDialog::FieldList ListOf(const TSet& oSet)
{
    SectionDialog::FieldList aFields;
    aFields.reserve(static_cast<std::size_t>(oSet.Count()));
    for (const auto& oField : oSet)
        aFields.push_back(oField);
    return aFields;
}
} // namespace

SectionDialog::SectionDialog(const std::string& sModule, std::string sHelpTopic)
    : Form(sModule), m_sModule(sModule), m_sHelpTopic(std::move(sHelpTopic))
{
    SetKeyPreview(true);
}

ISectionOpener* SectionDialog::Parent() const
{
    return dynamic_cast<ISectionOpener*>(m_pParent);
}

void SectionDialog::Init(platform::runtime::Object* lParentPtr, const std::string& /*sKey*/)
{
    m_pParent = lParentPtr;
}

views::ViewSettings& SectionDialog::OpenerView() const
{
    ISectionOpener* pOpener = Parent();
    views::ViewSettings* pView = pOpener ? pOpener->Vs() : nullptr;
    if (!pView)
        rt::Raise(kObjectVariableNotSet, m_sModule + ".Parent", "The dialog has no view to edit.");
    return *pView;
}

std::shared_ptr<views::ViewSettings> SectionDialog::CopyOfOpenerView() const
{
    auto oCopy = std::make_shared<views::ViewSettings>();
    oCopy->Copy(OpenerView());
    return oCopy;
}

views::cMapiProps& SectionDialog::MapiProps()
{
    auto oProps = views::RootMapiProps();
    if (!oProps)
        rt::Raise(kObjectVariableNotSet, "Application.MapiProps", "The add-in is not started.");
    return *oProps;
}

std::optional<SectionDialog::FieldList> SectionDialog::FieldSetOf(int lIndex)
{
    const views::cMapiProps& oProps = MapiProps();
    const std::shared_ptr<fieldcatalogue::cFields>* pSet = nullptr;
    switch (lIndex) {
    case 0:
        pSet = &oProps.TaskFields();
        break;
    case 1:
        pSet = &oProps.AppointmentFields();
        break;
    case 2:
        pSet = &oProps.JournalFields();
        break;
    case 3:
        return ListOf(oProps.UserFields());
    default:
        return std::nullopt;
    }
    if (!*pSet)
        return std::nullopt;
    return ListOf(**pSet);
}

void SectionDialog::ShowError(common::ErrorObject& oError)
{
    pf::MsgBox(oError.Description(), kExclamation, common::ThisDeliverable().sAppTitle);
}

void SectionDialog::SetDialogFontSize()
{
    rt::ResumeNext ignore;
    for (const auto& oControl : Controls())
        ignore([&] { oControl->SetFontSize(8); });
}

void SectionDialog::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    if (KeyCode != kKeyF1)
        return;
    KeyCode = 0;
    rt::ResumeNext ignore;
    ignore([&] { common::modHtmlHelp::ShowHelp(m_sHelpTopic); });
}

void SectionDialog::Form_QueryUnload(int& /*Cancel*/, int UnloadMode)
{
    if (UnloadMode == static_cast<int>(pf::UnloadMode::FormControlMenu))
        Confirmed = false;
}

} // namespace dialogs
