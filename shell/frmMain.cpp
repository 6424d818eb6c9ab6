#include "shell/frmMain.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/Options.h"
#include "common/cWindowHandler.h"
#include "common/modHtmlHelp.h"
#include "common/modLabelControls.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOSVersionsInfo.h"
#include "engine/Application.h"
#include "engine/ApplicationEvents.h"
#include "engine/Records.h"
#include "fieldcatalogue/Application.h"
#include "grid/Flexgrid2.h"
#include "grid/cGrid.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/forms/ToolBar.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Variant.h"
#include "platform/win/Registry.h"
#include "shell/Application.h"
#include "shell/frmProgress.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

namespace shell {

namespace rt = platform::runtime;
namespace pf = platform::forms;

namespace {
constexpr int kExclamation = 48;
constexpr int kF1 = 112;
constexpr int kMinWidth = 8880;
constexpr int kMinHeight = 3000;
// The size the window opens at before it has a stored placement: room for a report's columns
// and a screen of rows, and still inside a 1024 x 768 screen.
constexpr int kDesignWidth = 14400;
constexpr int kDesignHeight = 8400;
constexpr std::int64_t kCurrentUser = static_cast<std::int64_t>(platform::win::Hive::CurrentUser);
const char* const kStandard = "(Standard)";
} // namespace

/// Hands the engine's progress to the window; the engine holds its listeners weakly.
class frmMain::ProgressListener : public engine::ApplicationEvents
{
public:
    explicit ProgressListener(frmMain& oForm) : m_oForm(oForm) {}
    void Progress(long lValue, long lMax, bool& bCancel) override
    {
        m_oForm.Fenwick_Progress(lValue, lMax, bCancel);
    }

private:
    frmMain& m_oForm;
};

frmMain::frmMain() : Form("frmMain")
{
    m_fgControl = Add<pf::GridControl>("fg");
    m_fg = &m_fgControl->Grid();
    m_cboTemplate = Add<pf::ComboBox>("cboTemplate");
    m_txtFind = Add<pf::TextBox>("txtFind");
    // Beside the find box, which a view shows next to the template list; "Find".
    m_cmdFind = Add<pf::CommandButton>("cmdFind");
    m_cmdFind->SetTag("2293");
    m_MenuBar1 = Add<pf::MenuBar>("MenuBar1");
    m_Coolbar1 = Add<pf::ToolBar>("Coolbar1");
    m_imlBars = Add<pf::ImageList>("imlBars");
    SetWidth(kDesignWidth);
    SetHeight(kDesignHeight);
    CreateImages();
    InitGridEvents();
    m_cboTemplate->OnClick = [this] { cboTemplate_Click(); };
    SetKeyPreview(true);
}

frmMain::~frmMain()
{
    rt::ResumeNext ignore;
    ignore([&] { ReleaseEngine(); });
    ignore([&] { ReleaseGridWindow(); });
}

void frmMain::ShowWindow()
{
    common::cWindowHandler oHandler;
    oHandler.SetForegroundWindow(static_cast<std::int32_t>(hWnd()));
}

void frmMain::Form_Load()
{
    common::Logging(
        "frmMain", "Form_Load",
        [&](int& nLine) {
            nLine = 1;
            SetCaption("Kestrova - " + std::string(common::ThisDeliverable().sAppTitle));
            nLine = 2;
            m_oFieldCatalogue = std::make_shared<fieldcatalogue::Application>();
            m_oFieldCatalogue->ToILanguage().SetLanguageID(common::modLanguage::GetLanguageID());
            if (auto oCache = views::RootMapiProps()) {
                // The cache asks this window for its catalogue while the window is loaded.
                oCache->SetCatalogueSource([this] { return m_oFieldCatalogue; });
                if (auto* pApp = common::modMain::G().g_oApplication; pApp && pApp->AddinOptions())
                    oCache->SetChunkSize(pApp->AddinOptions()->ChunkSize());
            }
            nLine = 3;
            m_Fenwick = std::make_shared<engine::Application>();
            m_Fenwick->ToILanguage().SetLanguageID(common::modLanguage::GetLanguageID());
            m_oListener = std::make_shared<ProgressListener>(*this);
            m_Fenwick->Advise(m_oListener);
            nLine = 4;
            auto* pApp = common::modMain::G().g_oApplication;
            m_Fenwick->Initialize(pApp ? pApp->OutlookApp() : common::modMain::G().g_oOutlookApp);
            nLine = 5;
            m_oRecords = m_Fenwick->Records();
            nLine = 6;
            m_sKeyPath = common::modMain::GetSettingsKeyPath();
            m_bInitialising = true;
            nLine = 8;
            // Each load builds the bars anew, in the language then current.
            m_MenuBar1->Items().Clear();
            m_Coolbar1->Clear();
            CreateMenubar();
            CreateToolbar();
            if (GetWindowState() != pf::WindowState::Minimized)
                m_oExtension.SetOldSize(*this);
            m_oPersitent.LoadFormular(*this, m_oPlacement, kCurrentUser, m_sKeyPath);
            nLine = 11;
            // Captions from the resource ids in the controls' tags; untagged ones keep theirs.
            common::modLabelControls::LocalizeForm(*this);
            LocalizeFindButton();
            SetFonts();
            m_bInitialising = false;
            Form_Resize();
            nLine = 15;
            LoadTemplates();
            nLine = 16;
            if (m_oView) {
                grid::cGrid oGrid;
                oGrid.InitGrid(*m_fg, *m_oView);
            }
            nLine = 17;
            Show(pf::ShowStyle::Modeless);
            PlaceGridWindow();
            nLine = 18;
            DatenLesen(false, false);
        },
        [&](common::ErrorObject& oError) {
            SetMousePointer(0);
            rt::DoEvents();
            pf::MsgBox(oError.Description(), kExclamation);
            // The window cannot work half loaded: it unloads itself once the load returned.
            rt::ResumeNext ignore;
            ignore([&] { Unload(pf::UnloadMode::FormCode); });
        });
}

void frmMain::LoadTemplates()
{
    common::Rethrowing("frmMain", "LoadTemplates", [&] {
        m_oTemplates = std::make_shared<views::Templates>();
        m_oTemplates->AsIChild().Init(this, {});
        m_oTemplates->Load();
        // A file of templates without "(Standard)" would leave the window without a view to
        // show: it gets one as a file without templates does.
        if (!m_oTemplates->Item(rt::Variant(std::string(kStandard)))) {
            auto oView = std::make_shared<views::ViewSettings>();
            oView->CreateNew(kStandard);
            m_oTemplates->Add(oView);
        }
        m_cboTemplate->Clear();
        for (const auto& oView : *m_oTemplates)
            m_cboTemplate->AddItem(oView->Name());
        m_bTemplateGuard = true;
        try {
            m_cboTemplate->SetText(kStandard);
            if (auto oView = m_oTemplates->Item(rt::Variant(m_cboTemplate->Text())))
                m_oView = oView;
        } catch (...) {
            m_bTemplateGuard = false;
            throw;
        }
        m_bTemplateGuard = false;
    });
}

void frmMain::cboTemplate_Click()
{
    if (IsBusy() && !m_bTemplateGuard) {
        // Chosen during a read: shown once the read has ended.
        const std::string sName = m_cboTemplate->Text();
        m_vDeferred.push_back([this, sName] {
            rt::ResumeNext ignore;
            ignore([&] { m_cboTemplate->SetText(sName); });
        });
        return;
    }
    // Reading the template may see the add-in shut down meanwhile (see DatenLesen).
    const std::shared_ptr<frmMain> oKeepAlive = weak_from_this().lock();
    common::Logging(
        "frmMain", "cboTemplate_Click",
        [&] {
            auto oView =
                m_oTemplates ? m_oTemplates->Item(rt::Variant(m_cboTemplate->Text())) : nullptr;
            if (oView && m_bTemplateGuard) {
                m_oView = oView;
                m_oView->Filter()->Apply();
            } else if (oView) {
                SaveColumnWidths();
                m_oView = oView;
                m_oView->Filter()->Apply();
                DatenLesen(false, true);
            } else if (m_oView) {
                const bool bGuard = m_bTemplateGuard;
                m_bTemplateGuard = true;
                rt::ResumeNext ignore;
                ignore([&] { m_cboTemplate->SetText(m_oView->Name()); });
                m_bTemplateGuard = bGuard;
            }
        },
        [](common::ErrorObject& oError) { pf::MsgBox(oError.Description(), kExclamation); });
    if (Visible()) {
        rt::ResumeNext ignore;
        ignore([&] { m_fg->SetFocus(); });
    }
}

void frmMain::Form_Resize()
{
    if (m_bInitialising || m_bResizing)
        return;
    m_bResizing = true;
    rt::ResumeNext ignore;
    if (GetWindowState() != pf::WindowState::Minimized) {
        ignore([&] {
            if (Width() < kMinWidth)
                SetWidth(kMinWidth);
        });
        ignore([&] {
            if (Height() < kMinHeight)
                SetHeight(kMinHeight);
        });
        ignore([&] { m_oExtension.SetNewSize(*this); });
        ignore([&] {
            m_fg->SetClientSize(ScaleWidth(), ScaleHeight());
            m_oExtension.SetOldSize(*this);
        });
    }
    if (GetWindowState() == pf::WindowState::Normal) {
        m_oPlacement.SetHeight(static_cast<float>(Height()));
        m_oPlacement.SetLeft(static_cast<float>(Left()));
        m_oPlacement.SetTop(static_cast<float>(Top()));
        m_oPlacement.SetWidth(static_cast<float>(Width()));
    } else if (GetWindowState() == pf::WindowState::Maximized) {
        // A maximised window keeps the form's place as the one it returns to (the windows
        // never move a form that is not normal), and a move is no resize: the place a window
        // was moved to before it was maximised is kept from here.
        m_oPlacement.SetLeft(static_cast<float>(Left()));
        m_oPlacement.SetTop(static_cast<float>(Top()));
    }
    m_bResizing = false;
}

void frmMain::Form_QueryUnload(int& Cancel, int UnloadMode)
{
    if (UnloadMode != static_cast<int>(pf::UnloadMode::FormControlMenu))
        return;
    if (IsBusy()) {
        // Closing inside the read would end the engine under it: the close waits for the end.
        Cancel = 1;
        m_vDeferred.push_back([this] { UserClose(); });
        return;
    }
    rt::ResumeNext ignore;
    ignore([&] { SaveState(); });
}

void frmMain::Form_Unload(int& /*Cancel*/)
{
    rt::ResumeNext ignore;
    ignore([&] { HideProgress(); });
    ignore([&] { ReleaseGridWindow(); });
    ignore([&] {
        if (auto oCache = views::RootMapiProps())
            oCache->SetCatalogueSource({});
    });
}

void frmMain::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    if (KeyCode != kF1)
        return;
    KeyCode = 0;
    rt::ResumeNext ignore;
    ignore([] { common::modHtmlHelp::ShowHelp("work.html"); });
}

void frmMain::SaveState()
{
    rt::ResumeNext ignore;
    ignore([&] { SaveColumnWidths(); });
    ignore([&] {
        if (m_oTemplates)
            m_oTemplates->Save();
    });
    ignore([&] { m_oPersitent.SaveFormular(*this, m_oPlacement, kCurrentUser, m_sKeyPath); });
    ignore([&] {
        if (m_oView)
            m_oPersitent.SaveViewSettings(*m_oView, kCurrentUser, m_sKeyPath);
    });
    ignore([&] { ReleaseEngine(); });
}

void frmMain::ReleaseEngine()
{
    m_oRecords.reset();
    m_oCurrentRecord.reset();
    if (m_Fenwick) {
        if (m_oListener)
            m_Fenwick->Unadvise(m_oListener);
        m_Fenwick->Terminate();
    }
    m_Fenwick.reset();
}

void frmMain::SaveColumnWidths()
{
    if (!m_oView)
        return;
    rt::ResumeNext ignore;
    // A template whose settings cannot be read has no columns to take widths: leaving it for
    // another one must still work.
    std::shared_ptr<views::GridFields> oFields;
    ignore([&] { oFields = m_oView->Fields(); });
    if (!oFields)
        return;
    for (int c = 0; c < m_fg->Cols(); ++c) {
        if (m_fg->ColHidden(c))
            continue;
        // The column's key names the view's column; the header caption may be any text the
        // user gave two columns alike.
        ignore([&] {
            const std::string sKey = m_fg->ColKey(c);
            if (sKey.empty())
                return;
            if (auto oField = oFields->Item(rt::Variant(sKey)))
                oField->SetWidth(m_fg->ColWidth(c));
        });
    }
}

void frmMain::SetFonts()
{
    rt::ResumeNext ignore;
    for (const auto& oControl : Controls())
        ignore([&] { oControl->SetFontSize(8); });
    ignore([&] { m_fg->SetFontSize(8); });
    ignore([] { common::modOSVersionsInfo::InitOSVersionInfo(); });
}

} // namespace shell
