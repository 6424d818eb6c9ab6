#include "dialogs/SectionDialog.h"

#include "dialogs/frmView.h"
#include "platform/runtime/Error.h"

namespace dialogs {

namespace rt = platform::runtime;

SectionDialog::SectionDialog(std::string sFormName) : Form(std::move(sFormName)) {}

frmView* SectionDialog::Parent() const
{
    return dynamic_cast<frmView*>(m_pParent);
}

void SectionDialog::Init(rt::Object* lParentPtr, const std::string& /*sKey*/)
{
    m_pParent = lParentPtr;
}

views::ViewSettings& SectionDialog::EditedView() const
{
    frmView* pView = Parent();
    if (!pView || !pView->Vs())
        rt::Raise(rt::errors::ObjectNotSet, Name(), "The dialog has no view to edit.");
    return *pView->Vs();
}

} // namespace dialogs
