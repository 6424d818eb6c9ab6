// The report window's templates command: the template manager over the window's templates,
// then the template list filled anew with the chosen template, or the one shown before.
#include "shell/frmMain.h"

#include "common/ErrorHandling.h"
#include "dialogs/frmTemplate.h"
#include "platform/forms/StandardControls.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"

namespace shell {

namespace {
const char* const kStandard = "(Standard)";
}

void frmMain::ShowTemplates()
{
    common::Rethrowing("frmMain", "ShowTemplates", [&](int& nLine) {
        nLine = 1;
        const std::string sOld = m_cboTemplate->Text();
        nLine = 2;
        dialogs::frmTemplate oManager;
        const auto oChosen = oManager.ShowForm(m_oTemplates, this, sOld);
        nLine = 3;
        m_bReportSaved = false;
        nLine = 4;
        m_cboTemplate->Clear();
        for (const auto& oView : *m_oTemplates)
            m_cboTemplate->AddItem(oView->Name());
        nLine = 5;
        if (oChosen) {
            // Not guarded: the list's click shows the chosen template and reads it.
            m_cboTemplate->SetText(oChosen->Name());
            return;
        }
        nLine = 6;
        int lIndex = 0;
        for (const auto& oView : *m_oTemplates) {
            if (oView == m_oView) {
                m_bTemplateGuard = true;
                try {
                    m_cboTemplate->SetListIndex(lIndex);
                } catch (...) {
                    m_bTemplateGuard = false;
                    throw;
                }
                m_bTemplateGuard = false;
                return;
            }
            ++lIndex;
        }
        // The template shown was deleted: the default template is shown and read.
        m_cboTemplate->SetText(kStandard);
    });
}

} // namespace shell
