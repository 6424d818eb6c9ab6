#include "shell/frmAbout.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/Options.h"
#include "common/modLabelControls.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/forms/Driver.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/win/Shell.h"
#include "shell/Application.h"
#include "shell/GradientPainter.h"

#include <charconv>
#include <map>

namespace shell {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "frmAbout";
constexpr int kExclamation = 48;
constexpr int kKeyReturn = 13;
constexpr int kKeyEscape = 27;
constexpr long kTagProductUrl = 4000;

// The dialog's own texts by id (German at the id, English at the id + 10000).
const std::map<long, std::string>& Texts()
{
    static const std::map<long, std::string> kTexts = {
        {2000, "Version "},
        {12000, "Version "},
        {2002, " Kestrova - Produktinformation"},
        {12002, " Kestrova - Product information"},
        {2003, "Dieses Programm ist urheberrechtlich geschützt. Wer es ohne Erlaubnis "
               "vervielfältigt oder verbreitet, ganz oder in Teilen, macht sich strafbar und "
               "wird verfolgt."},
        {12003, "This program is protected by copyright law. Reproducing or distributing it, "
                "in whole or in part, without permission is an offence and will be "
                "prosecuted."},
        {2005, "&OK"},
        {12005, "&OK"},
        {4000, "https://www.kestrova.example/product.html?lang=de&pub=34&cmd=detail&id="},
        {14000, "https://www.kestrova.example/product.html?lang=en&pub=34&cmd=detail&id="},
    };
    return kTexts;
}

// The whole tag as a decimal number, or nothing.
std::optional<long> NumericTag(const std::string& sTag)
{
    long lValue = 0;
    const char* pEnd = sTag.data() + sTag.size();
    const auto [p, ec] = std::from_chars(sTag.data(), pEnd, lValue);
    if (sTag.empty() || ec != std::errc() || p != pEnd)
        return std::nullopt;
    return lValue;
}

void ShowError(common::ErrorObject& oError)
{
    pf::MsgBox(oError.Description(), kExclamation, common::ThisDeliverable().sAppTitle);
}

// The dialog reports its failures to the user without writing them to the error log.
template <class Body> bool Showing(const char* sProcedure, Body&& body)
{
    try {
        body();
        return true;
    } catch (...) {
        common::ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(common::SourceText(kModule, sProcedure, 0), bFlag);
        ShowError(oError);
        return false;
    }
}
} // namespace

frmAbout::frmAbout() : Form("frmAbout")
{
    Form::SetTag("2002");
    Form::SetCaption("Produktinformation");
    SetKeyPreview(true);
    m_pic = Add<pf::PictureBox>("pic");
    m_img = Add<pf::Image>("img");
    m_lblProductName = Add<pf::Label>("lblProductName");
    m_lblProductVersion = Add<pf::Label>("lblProductVersion");
    m_lblBuild = Add<pf::Label>("lblBuild");
    m_lblWarning = Add<pf::Label>("lblWarning");
    m_lblCompany = Add<pf::Label>("lblCompany");
    m_lblCompanyProduct = Add<pf::Label>("lblCompanyProduct");
    m_lblInternet = Add<pf::Label>("lblInternet");
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_Timer = Add<pf::Timer>("Timer");

    m_lblBuild->SetCaption("Version: ");
    m_lblWarning->SetTag("2003");
    m_lblCompany->SetCaption("Kestrova Software");
    m_lblCompanyProduct->SetCaption("Internet:");
    m_lblInternet->SetCaption("www.kestrova.example");
    m_cmdOK->SetTag("2005");
    m_cmdOK->SetCaption("OK");
    m_cmdOK->Default = true;
    m_Timer->SetTimerEnabled(false);
    m_img->Picture = std::make_shared<pf::ListImage>("logo", 32, 32);
    Layout();

    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_Timer->OnTimer = [this] { Timer_Timer(); };
    m_img->OnClick = [this] { OpenProductPage(); };
    m_lblCompany->OnClick = [this] { OpenProductPage(); };
    m_lblInternet->OnClick = [this] { OpenProductPage(); };
}

frmAbout::~frmAbout() = default;

void frmAbout::Layout()
{
    SetWidth(6600);
    SetHeight(4800);
    m_pic->Move(0, 0, 1500, 4400);
    m_img->Move(270, 270, 960, 960);
    m_lblProductName->Move(1700, 240, 4600, 360);
    m_lblProductName->SetFontSize(12);
    m_lblProductVersion->Move(1700, 640, 4600, 300);
    m_lblBuild->Move(1700, 960, 4600, 300);
    m_lblWarning->Move(1700, 1440, 4600, 1200);
    m_lblCompany->Move(1700, 2760, 4600, 300);
    m_lblCompanyProduct->Move(1700, 3100, 900, 300);
    m_lblInternet->Move(2650, 3100, 3650, 300);
    m_cmdOK->Move(5000, 3700, 1300, 400);
}

std::string frmAbout::GetTagResource(const std::string&) const
{
    return {};
}

std::string frmAbout::GetResource(const std::string& sTag)
{
    std::string sText;
    rt::ResumeNext ignore;
    ignore([&] {
        const auto lTag = NumericTag(sTag);
        if (!lTag)
            return;
        const long lId = *lTag + common::modLanguage::GetLanguageOffset();
        const auto it = Texts().find(lId);
        if (it == Texts().end())
            return;
        if (*lTag != kTagProductUrl) {
            sText = it->second;
            return;
        }
        Application* pApp = common::modMain::G().g_oApplication;
        if (!pApp || !pApp->AddinOptions())
            rt::Raise(rt::errors::ObjectNotSet, kModule, "The add-in is not connected.");
        sText = it->second + pApp->AddinOptions()->ProductNumber();
    });
    return sText;
}

void frmAbout::ShowDialog(const std::string& Version, const std::string& ProductName,
                          const std::string& ProductVersion, std::int32_t Duration)
{
    const bool bShown = Showing("ShowDialog", [&] {
        Load();
        m_sProductUrl = GetResource(std::to_string(kTagProductUrl));
        m_lblProductName->SetCaption(ProductName);
        m_lblProductVersion->SetCaption(ProductVersion);
        m_lblBuild->SetCaption(m_lblBuild->Caption() + Version);
        if (Duration > 0) {
            m_bAutoClose = true;
            m_cmdOK->SetVisible(false);
            m_Timer->SetInterval(Duration);
            m_Timer->SetTimerEnabled(true);
        }
        Show(pf::ShowStyle::Modal);
    });
    if (bShown)
        return;
    rt::ResumeNext ignore;
    ignore([&] { m_Timer->SetTimerEnabled(false); });
    m_bAutoClose = false;
    ignore([&] { Unload(); });
}

void frmAbout::Form_Load()
{
    rt::ResumeNext ignore;
    ignore([&] { common::modLabelControls::LocalizeResourceForm(*this); });
    ignore([&] { PaintBackground(); });
}

void frmAbout::PaintBackground()
{
    GradientPainter oPainter;
    // The dialog: light blue at the bottom to white at the top.
    oPainter.Red().FromColor = 229;
    oPainter.Red().ToColor = 255;
    oPainter.Green().FromColor = 238;
    oPainter.Green().ToColor = 255;
    oPainter.Blue().FromColor = 253;
    oPainter.Blue().ToColor = 255;
    oPainter.DrawArrange = 1;
    oPainter.Paint(Surface());
    // The picture box: white at the bottom to a faint tint at the top.
    oPainter.Red().FromColor = 255;
    oPainter.Red().ToColor = 245;
    oPainter.Green().FromColor = 255;
    oPainter.Green().ToColor = 254;
    oPainter.Blue().FromColor = 255;
    oPainter.Blue().ToColor = 253;
    oPainter.DrawArrange = 1;
    oPainter.Paint(m_pic->Surface());
}

void frmAbout::cmdOK_Click()
{
    rt::ResumeNext{}([&] { Unload(); });
}

void frmAbout::Form_KeyDown(int& KeyCode, int)
{
    if ((KeyCode == kKeyReturn || KeyCode == kKeyEscape) && !m_bAutoClose)
        cmdOK_Click();
}

void frmAbout::Form_QueryUnload(int& Cancel, int UnloadMode)
{
    // While the timer runs only the timer closes the dialog.
    if (UnloadMode == static_cast<int>(pf::UnloadMode::FormControlMenu) && m_bAutoClose)
        Cancel = 1;
}

void frmAbout::Timer_Timer()
{
    rt::ResumeNext ignore;
    ignore([&] { m_Timer->SetTimerEnabled(false); });
    m_bAutoClose = false;
    ignore([&] { Unload(); });
    ignore([] { rt::DoEvents(); });
}

void frmAbout::OpenProductPage()
{
    Showing("OpenProductPage", [&] {
        // A browser that cannot be started is not reported.
        platform::win::currentShell().openDocument(m_sProductUrl);
    });
}

} // namespace shell
