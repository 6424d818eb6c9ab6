// The report window's read path: the column list for the engine, the read with its progress
// window, the fill of the grid, and the commands that arrive meanwhile.
#include "shell/basSupportRequest.h"
#include "shell/frmMain.h"
#include "shell/modFirmenInfo2.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modHtmlHelp.h"
#include "engine/Application.h"
#include "engine/Field.h"
#include "engine/Filter.h"
#include "engine/Records.h"
#include "grid/Flexgrid2.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Notices.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Variant.h"
#include "shell/frmProgress.h"
#include "views/GridField.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"
#include "views/ViewSettings.h"
#include "views/cCompareSettings.h"
#include "views/cMapiProps.h"

namespace shell {

namespace rt = platform::runtime;
namespace pf = platform::forms;

namespace {
constexpr int kExclamation = 48;
constexpr int kHourglass = 11;
// Outline states of the grid's subtotal rows.
constexpr std::int32_t kExpanded = 0;
constexpr std::int32_t kCollapsed = 2;
// Report formats whose file must be written anew before it is used again.
constexpr std::int32_t kHtml = 1;
constexpr std::int32_t kPdf = 3;
} // namespace

void frmMain::DatenLesen(bool bSelectFolder, bool bRefresh)
{
    if (m_bReading)
        return;
    // The add-in may shut down through the message loop while the read runs and release the
    // window: it stays alive until the read has returned.
    const std::shared_ptr<frmMain> oKeepAlive = weak_from_this().lock();
    m_bReading = true;
    common::Logging(
        "frmMain", "DatenLesen",
        [&] {
            // A picker closed without a choice is no error: nothing is read.
            if (!bSelectFolder || SelectFolders())
                ReadAndFill(bRefresh);
        },
        [&](common::ErrorObject& oError) {
            HideProgress();
            SetMousePointer(0);
            rt::DoEvents();
            pf::MsgBox(oError.Description(), kExclamation);
        });
    m_bReading = false;
    RunDeferred();
}

void frmMain::ReadAndFill(bool bRefresh)
{
    if (!m_oView)
        throw rt::Error(rt::errors::ObjectNotSet, "frmMain", "There is no template to read.");
    SetMousePointer(kHourglass);
    rt::DoEvents();
    if (bRefresh)
        UpdateFilter();
    // The engine's active filter may still be another view's (a template change or dialog
    // left it so): each read runs with the filter of the view it shows.
    m_oView->Filter()->Apply();
    RemoveUnusedColumns();
    BuildFieldList();
    ShowProgress();
    auto oFolders = m_oView->Folders();
    if (!oFolders)
        oFolders = std::make_shared<engine::FolderDataList>();
    m_Fenwick->ReadRecords(*oFolders);
    HideProgress();
    grid::Flexgrid2::CreateGrid(*m_fg, m_oRecords, *m_oView);
    SetMousePointer(0);
    rt::DoEvents();
    rt::ResumeNext ignore;
    ignore([&] {
        if (auto* pSave = m_oView->Action()->GetSaveAction())
            pSave->SetSavedAs({});
    });
    m_bReportSaved = false;
    EnableMenus();
    RunAutomaticActions();
    EnableMenus();
}

void frmMain::UpdateFilter()
{
    common::Rethrowing("frmMain", "UpdateFilter", [&] {
        auto oCopy = std::make_shared<views::ViewSettings>();
        oCopy->Copy(*m_oView);
        views::cCompareSettings oCompare;
        oCompare.Compare(*m_oView, *oCopy);
        if (oCompare.UpdateRecords()) {
            m_oView->Copy(*oCopy);
            m_oView->Filter()->Apply();
        }
    });
}

void frmMain::RemoveUnusedColumns()
{
    rt::ResumeNext ignore;
    auto oFields = m_oView->Fields();
    const auto bUsedByLevel = [&](const std::string& sKey) {
        for (std::int32_t i = 0; i <= 2; ++i) {
            if (auto* pGroup = m_oView->GroupByLevel(i);
                pGroup && pGroup->Apply() && pGroup->ColKey == sKey)
                return true;
            if (auto* pSort = m_oView->SortByLevel(i);
                pSort && pSort->Apply && pSort->ColKey == sKey)
                return true;
        }
        return false;
    };
    for (std::int32_t i = oFields->Count(); i >= 1; --i) {
        ignore([&] {
            auto oField = oFields->Item(rt::Variant(i));
            if (!oField->Visible() && oField->Calculation() == 0 && !bUsedByLevel(oField->Key()))
                oFields->Remove(rt::Variant(oField->Key()));
        });
    }
}

void frmMain::BuildFieldList()
{
    rt::ResumeNext ignore;
    auto oCache = views::RootMapiProps();
    ignore([&] {
        auto oFolders = m_oView->Folders();
        if (oCache && oFolders)
            oCache->LoadUserProperties(*oFolders);
    });
    ignore([&] {
        if (oCache)
            oCache->PrepareViewFields(*m_oView);
    });
    ignore([&] { m_oRecords->ClearFields(); });
    for (const auto& oColumn : *m_oView->Fields()) {
        ignore([&] {
            auto oDef = oCache ? oCache->FindField(oColumn->Key()) : nullptr;
            if (!oDef)
                throw rt::Error(rt::errors::ObjectNotSet);
            auto oField = std::make_shared<engine::Field>();
            oField->Init(oDef->Key(), oDef->PropTag(),
                         static_cast<engine::PT_PROPERTY_TYPE>(oDef->MapiPropertyType()),
                         oDef->ID(), oDef->GUID(), oDef->Name(), oDef->MappingValue());
            m_oRecords->AppendField(oField);
        });
    }
}

void frmMain::ShowProgress()
{
    rt::ResumeNext ignore;
    ignore([&] {
        m_lProgressValue = 0;
        m_lProgressMax = 0;
        m_lDoneValue = 0;
        m_lDoneMax = 0;
        m_oProgress = std::make_shared<frmProgress>();
        m_oProgress->Load();
        m_oProgress->Init();
        m_oProgress->Show(pf::ShowStyle::Modeless, this);
    });
}

void frmMain::HideProgress()
{
    rt::Notify({rt::Notice::Kind::ReadEnded, {}, {}});
    rt::ResumeNext ignore;
    ignore([&] {
        if (m_oProgress)
            m_oProgress->Unload();
    });
    m_oProgress.reset();
}

long frmMain::FolderCount()
{
    const auto oFolders = m_oView ? m_oView->Folders() : nullptr;
    return oFolders ? static_cast<long>(oFolders->Count()) : 0;
}

void frmMain::Fenwick_Progress(long lValue, long lMax, bool& /*bCancel*/)
{
    // The engine counts each folder from its first item: a count that starts again or a new
    // total begins the next folder, and the one before is complete.
    if ((m_lProgressValue > 0 || m_lProgressMax > 0) &&
        (lValue <= m_lProgressValue || lMax != m_lProgressMax)) {
        m_lDoneValue += std::min(m_lProgressValue, m_lProgressMax);
        m_lDoneMax += m_lProgressMax;
    }
    m_lProgressValue = lValue;
    m_lProgressMax = lMax;
    platform::runtime::Notify({platform::runtime::Notice::Kind::Progress, {}, {},
                               m_lDoneValue + std::min(lValue, lMax), m_lDoneMax + lMax});
    rt::ResumeNext ignore;
    ignore([&] {
        if (m_oProgress)
            m_oProgress->Update(static_cast<std::int32_t>(lValue), static_cast<std::int32_t>(lMax));
    });
}

void frmMain::CommandbarClick(const std::string& sKey)
{
    if (IsBusy()) {
        // A command inside a read or save would work on a half-filled grid and engine.
        m_vDeferred.push_back([this, sKey] { CommandbarClick(sKey); });
        return;
    }
    // A command that reads may see the add-in shut down meanwhile (see DatenLesen).
    const std::shared_ptr<frmMain> oKeepAlive = weak_from_this().lock();
    common::Logging(
        "frmMain", "CommandbarClick",
        [&] {
            RunCommand(sKey);
            if (!m_oView)
                return;
            auto* pSave = m_oView->Action()->GetSaveAction();
            if (pSave && (pSave->ReportFormat() == kHtml || pSave->ReportFormat() == kPdf))
                m_bReportSaved = false;
        },
        [](common::ErrorObject& oError) { pf::MsgBox(oError.Description(), kExclamation); });
}

void frmMain::RunCommand(const std::string& sKey)
{
    const auto outlineLevel = [&] {
        const int r = m_fg->Row();
        return static_cast<std::int16_t>(r >= m_fg->FixedRows() ? m_fg->RowOutlineLevel(r) : 0);
    };
    if (sKey == "refresh") {
        DatenLesen(false, true);
    } else if (sKey == "expand" || sKey == "expand_context") {
        grid::Flexgrid2::CollapseGridToLevel(*m_fg, kExpanded, outlineLevel());
    } else if (sKey == "collapse" || sKey == "collapse_context") {
        grid::Flexgrid2::CollapseGridToLevel(*m_fg, kCollapsed, outlineLevel());
    } else if (sKey == "openitem" || sKey == "openitem_context") {
        OpenOutlookItem();
    } else if (sKey == "helpbtn") {
        common::modHtmlHelp::ShowHelp({});
    } else if (sKey == "select") {
        DatenLesen(true, true);
    } else if (sKey == "remove_folder") {
        CancelFolderSelection();
        DatenLesen(false, true);
    } else if (sKey == "saveas") {
        Export();
    } else if (sKey == "print") {
        PrintReport();
    } else if (sKey == "openreport") {
        OpenReport();
    } else if (sKey == "sendreport") {
        SendReport();
    } else if (sKey == "deletereport") {
        DeleteReport();
    } else if (sKey == "setview") {
        ShowViewSettings(m_oView, false);
    } else if (sKey == "templates") {
        ShowTemplates();
    } else if (sKey == "support") {
        basSupportRequest::CreateSupportRequest();
    } else if (sKey == "info") {
        modFirmenInfo2::ShowInfoDialog(0);
    } else if (sKey == "exit") {
        SaveState();
        Unload(pf::UnloadMode::FormCode);
    }
}

void frmMain::RunDeferred()
{
    while (!m_vDeferred.empty() && !IsBusy()) {
        auto fnNext = std::move(m_vDeferred.front());
        m_vDeferred.erase(m_vDeferred.begin());
        fnNext();
    }
}

} // namespace shell
