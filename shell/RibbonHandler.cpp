#include "shell/RibbonHandler.h"

#include "common/ErrorHandling.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/outlook/AddIn.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "shell/Application.h"

#include <map>

namespace shell {

namespace {

/// The ribbon's label texts: German under the id, English under the id + 10000.
const std::map<long, std::string>& RibbonTexts()
{
    static const std::map<long, std::string> texts = {
        {2000, "Tallyman"},           {12000, "Tallyman"},       {2001, "Kestrova Tallyman"},
        {12001, "Kestrova Tallyman"}, {2002, "Berichte"},        {12002, "Reports"},
        {2003, "Berichte verwalten"}, {12003, "Manage Reports"},
    };
    return texts;
}

} // namespace

std::string RibbonHandler::GetRibbonText(long nID)
{
    if (nID == 0)
        return {};
    const auto found = RibbonTexts().find(nID + common::modLanguage::GetLanguageOffset());
    return found == RibbonTexts().end() ? std::string() : found->second;
}

std::string RibbonHandler::GetCustomUI(const std::string& RibbonID)
{
    return common::Rethrowing("RibbonHandler", "GetCustomUI", [&] {
        if (platform::runtime::LCase(RibbonID) != "microsoft.outlook.explorer")
            return std::string();
        std::string s;
        s += "<customUI xmlns='";
        s += platform::outlook::kCustomUINamespace;
        s += "' onLoad='OnLoad'>";
        s += "<ribbon startFromScratch='false'>";
        s += "<tabs>";
        s += "<tab id='Kestrova_4729615' label='" + GetRibbonText(2000) + "'>";
        s += "<group id='Grellick' label='" + GetRibbonText(2001) + "'>";
        s += "<button id='ShowReport'";
        s += " label='" + GetRibbonText(2002) + "'";
        s += " size='large'";
        s += " visible='true'";
        s += " enabled='true'";
        s += " onAction='RibbonButtonClick'";
        s += " imageMso='CreateReportFromWizard'";
        s += " screentip='" + GetRibbonText(2003) + "'";
        s += "/>";
        s += "</group>";
        s += "</tab></tabs></ribbon>";
        s += "</customUI>";
        return s;
    });
}

void RibbonHandler::RibbonButtonClick(
    const std::shared_ptr<platform::outlook::IRibbonControl>& Control)
{
    try {
        if (!Control || Control->Id() != "ShowReport")
            return;
        Application* oApp = common::modMain::G().g_oApplication;
        if (!oApp)
            throw platform::runtime::Error(91, "RibbonHandler");
        oApp->DisplayFMain();
    } catch (...) {
        common::ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(common::SourceText("RibbonHandler", "RibbonButtonClick", 0), bFlag);
        if (Control)
            oError.SetDescription(oError.Description() + "\r\n- Control.ID: " + Control->Id());
        oError.ReRaise();
    }
}

std::shared_ptr<platform::runtime::Object>
RibbonHandler::GetImages(const std::shared_ptr<platform::outlook::IRibbonControl>&)
{
    return nullptr;
}

} // namespace shell
