#include "host/HostSession.h"

#include "common/ILanguage.h"
#include "host/AddInLibrary.h"
#include "host/FolderPaths.h"
#include "host/GridText.h"
#include "host/Interactive.h"
#include "host/ProfileSetup.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/Explorers.h"
#include "platform/outlook/LanguageSettings.h"
#include "platform/runtime/Variant.h"
#include "platform/store/Profile.h"
#include "platform/win/MessageLoop.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <stdexcept>

namespace host {

namespace ol = platform::outlook;
namespace rt = platform::runtime;

namespace {

// The add-in starts its second stage one second after connection; the host waits a little
// longer, so that the add-in's timer comes first.
constexpr std::chrono::milliseconds kStartupWait{1200};
// The client's user-interface language kind in its language settings.
constexpr long kUiLanguage = 2;

// The report definitions the build ships beside the add-in library, or empty text.
std::string SampleReports(const std::string& sAddInPath)
{
    for (const auto& sCandidate : AddInCandidates(sAddInPath)) {
        const auto oFile =
            std::filesystem::path(sCandidate).parent_path() / "samples" / "reports.xml";
        std::ifstream oIn(oFile, std::ios::binary);
        if (oIn)
            return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
    }
    return {};
}

void RunUntilStarted()
{
    auto& oLoop = platform::win::MessageLoop::main();
    oLoop.setTimer(kStartupWait, [&oLoop](platform::win::TimerId id) {
        oLoop.killTimer(id);
        oLoop.quit();
    });
    oLoop.run();
}

platform::forms::ComboBox* TemplateList(platform::forms::Form& oWindow)
{
    return dynamic_cast<platform::forms::ComboBox*>(oWindow.FindControl("cboTemplate").get());
}

} // namespace

std::string OpenProfile(const HostOptions& oOptions, const std::string& sAddInPath,
                        std::ostream& out)
{
    if (!oOptions.sProfile.empty()) {
        if (!platform::store::Profile::Exists(oOptions.sProfile))
            throw std::runtime_error("there is no profile in " + oOptions.sProfile);
        return oOptions.sProfile;
    }
    const auto oFolder = SampleProfileFolder();
    if (EnsureSampleProfile(oFolder, oFolder.parent_path(), SampleReports(sAddInPath),
                            oOptions.sLanguage))
        out << "Generated the sample profile in " << oFolder.string() << "\n";
    return oFolder.string();
}

std::string RibbonAttribute(const std::string& sXml, const std::string& sAfter,
                            const std::string& sName)
{
    const auto at = sXml.find(sAfter);
    if (at == std::string::npos)
        return {};
    const std::string sKey = sName + "='";
    const auto start = sXml.find(sKey, at);
    if (start == std::string::npos)
        return {};
    const auto end = sXml.find('\'', start + sKey.size());
    return sXml.substr(start + sKey.size(), end - start - sKey.size());
}

// The report window as the user would see it: caption, templates, the last read's progress
// and the grid.
void PrintReportWindow(const AddInLibrary& oLibrary, std::ostream& out)
{
    auto* pWindow = oLibrary.ReportWindow();
    if (!pWindow || !pWindow->IsLoaded()) {
        out << "The report window is not open.\n";
        return;
    }
    out << "\n" << pWindow->Caption() << "\n";
    if (auto* pList = TemplateList(*pWindow)) {
        out << "Templates:";
        for (int i = 0; i < pList->ListCount(); ++i)
            out << (i == pList->ListIndex() ? " [" : " ") << pList->List(i)
                << (i == pList->ListIndex() ? "]" : "");
        out << "\n";
    }
    const auto [lValue, lMax] = oLibrary.ReportProgress();
    // The engine counts one past the last row; the window's bar stops at its maximum.
    out << "Read: " << std::min(lValue, lMax) << " of " << lMax << "\n\n";
    if (auto* pGrid = oLibrary.ReportGrid())
        out << GridText(*pGrid);
}

// Chooses a template in the window's list, as the user picks it; the window reads it.
void SelectTemplate(const AddInLibrary& oLibrary, const std::string& sName)
{
    auto* pWindow = oLibrary.ReportWindow();
    auto* pList = pWindow ? TemplateList(*pWindow) : nullptr;
    if (!pList)
        throw std::runtime_error("the report window is not open");
    for (int i = 0; i < pList->ListCount(); ++i)
        if (pList->List(i) == sName) {
            pList->SetText(sName);
            return;
        }
    throw std::runtime_error("there is no template \"" + sName + "\"");
}

int RunHost(const HostOptions& oOptions, const std::string& sAddInPath, std::istream& in,
            std::ostream& out, std::ostream& err)
{
    try {
        platform::locale::SetCurrent(LocaleOf(oOptions.sLanguage));
        const std::string sProfile = OpenProfile(oOptions, sAddInPath, out);
        platform::mapi::SetCurrentProfile(sProfile);
        out << "Profile: " << sProfile << "\n";

        auto& oDriver = platform::forms::Driver::current();
        oDriver.SetMsgBoxRunner([&out](const platform::forms::MessageBoxRecord& r) {
            out << "[message] " << r.prompt << "\n";
            return platform::forms::Driver::DefaultAnswer(r.buttons);
        });

        auto oClient = std::make_shared<ol::Application>("16.0.0.0");
        oClient->LanguageSettings()->SetLanguageID(kUiLanguage, LanguageIdOf(oOptions.sLanguage));

        AddInLibrary oLibrary(AddInCandidates(sAddInPath));
        auto oAddIn = oLibrary.CreateAddIn();
        rt::Variant custom;
        oAddIn->OnConnection(oClient, 0, rt::Variant(), custom);
        if (auto* pLanguage = oLibrary.Language())
            pLanguage->SetLanguageID(LanguageIdOf(oOptions.sLanguage));
        out << "Connected the add-in " << oLibrary.Path() << "\n";

        oClient->Explorers()->Add();
        RunUntilStarted();

        const std::string sXml = oAddIn->GetCustomUI("Microsoft.Outlook.Explorer");
        if (sXml.empty())
            throw std::runtime_error("the add-in gave no ribbon for the explorer window");
        out << "Ribbon: tab \"" << RibbonAttribute(sXml, "<tab ", "label") << "\", button \""
            << RibbonAttribute(sXml, "<button ", "label") << "\"\n";
        oAddIn->InvokeCallback("OnLoad", std::make_shared<ol::IRibbonUI>());
        oAddIn->InvokeCallback("RibbonButtonClick",
                               std::make_shared<ol::IRibbonControl>("ShowReport"));

        // The add-in must be disconnected before its library closes, also when the window
        // cannot do what was asked.
        int nExit = 0;
        try {
            if (!oOptions.sTemplate.empty())
                SelectTemplate(oLibrary, oOptions.sTemplate);
            if (!oOptions.vFolders.empty())
                PickFolders(oLibrary, oOptions.vFolders);
            PrintReportWindow(oLibrary, out);
            if (oOptions.bInteractive)
                RunInteractive(oLibrary, in, out);
        } catch (const std::exception& e) {
            err << "tallyman: " << e.what() << "\n";
            nExit = 1;
        }

        oAddIn->OnDisconnection(0, custom);
        oAddIn.reset();
        out << "Disconnected the add-in.\n";
        oDriver.SetMsgBoxRunner({});
        return nExit;
    } catch (const std::exception& e) {
        err << "tallyman: " << e.what() << "\n";
        return 1;
    }
}

} // namespace host
