// The report window's view dialog: edit a copy of a view, then take it over and read anew or
// refill the grid.
#include "shell/frmMain.h"

#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "dialogs/frmView.h"
#include "grid/Flexgrid2.h"
#include "platform/runtime/Error.h"
#include "views/ViewSettings.h"
#include "views/cCompareSettings.h"

namespace shell {

namespace rt = platform::runtime;

void frmMain::ShowViewSettings(const std::shared_ptr<views::ViewSettings>& oView, bool bTemplate)
{
    std::shared_ptr<dialogs::frmView> oDialog;
    try {
        common::Rethrowing("frmMain", "ShowViewSettings", [&](int& nLine) {
            nLine = 1;
            if (!oView)
                rt::Raise(rt::errors::ObjectNotSet, "frmMain", "There is no view to edit.");
            auto oCopy = std::make_shared<views::ViewSettings>();
            oCopy->Copy(*oView);
            nLine = 2;
            oDialog = std::make_shared<dialogs::frmView>();
            oDialog->AsIChild().Init(this);
            oDialog->ShowForm(oCopy, this);
            nLine = 3;
            m_bReportSaved = false;
            nLine = 4;
            if (!oDialog->Confirmed)
                return;
            if (bTemplate) {
                oView->Copy(*oCopy);
                return;
            }
            if (!m_oView)
                rt::Raise(rt::errors::ObjectNotSet, "frmMain", "There is no template to read.");
            views::cCompareSettings oCompare;
            oCompare.Compare(*m_oView, *oCopy);
            m_oView->Copy(*oCopy);
            if (oCompare.UpdateRecords()) {
                DatenLesen(false, false);
                return;
            }
            grid::Flexgrid2::CreateGrid(*m_fg, m_oRecords, *m_oView);
            EnableMenus();
        });
    } catch (...) {
        common::modMain::ResetParentPtrOf(oDialog ? &oDialog->AsIChild() : nullptr);
        throw;
    }
    common::modMain::ResetParentPtrOf(oDialog ? &oDialog->AsIChild() : nullptr);
}

} // namespace shell
