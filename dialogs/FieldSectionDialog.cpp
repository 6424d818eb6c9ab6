#include "dialogs/FieldSectionDialog.h"

#include "common/ErrorObject.h"
#include "dialogs/detail/DialogCommon.h"
#include "fieldcatalogue/cFields.h"
#include "platform/runtime/Error.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
template <class TSet> FieldSectionDialog::FieldList ListOf(const TSet& oSet)
{
    FieldSectionDialog::FieldList aFields;
    aFields.reserve(static_cast<std::size_t>(oSet.Count()));
    for (const auto& oField : oSet)
        aFields.push_back(oField);
    return aFields;
}
} // namespace

FieldSectionDialog::FieldSectionDialog(const std::string& sModule, std::string sHelpTopic)
    : SectionDialog(sModule), m_sModule(sModule), m_sHelpTopic(std::move(sHelpTopic))
{
    SetKeyPreview(true);
}

std::shared_ptr<views::ViewSettings> FieldSectionDialog::CopyOfEditedView() const
{
    auto oCopy = std::make_shared<views::ViewSettings>();
    oCopy->Copy(EditedView());
    return oCopy;
}

views::cMapiProps& FieldSectionDialog::MapiProps()
{
    auto oProps = views::RootMapiProps();
    if (!oProps)
        rt::Raise(rt::errors::ObjectNotSet, "Application.MapiProps", "The add-in is not started.");
    return *oProps;
}

std::optional<FieldSectionDialog::FieldList> FieldSectionDialog::FieldSetOf(int lIndex)
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

void FieldSectionDialog::ShowError(common::ErrorObject& oError)
{
    detail::ShowErrorBox(oError, detail::AppTitle());
}

void FieldSectionDialog::SetDialogFontSize()
{
    detail::SetDialogFontSize(*this);
}

void FieldSectionDialog::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    detail::HandleHelpKey(KeyCode, m_sHelpTopic);
}

void FieldSectionDialog::Form_QueryUnload(int& /*Cancel*/, int UnloadMode)
{
    if (UnloadMode == static_cast<int>(pf::UnloadMode::FormControlMenu))
        Confirmed = false;
}

} // namespace dialogs
