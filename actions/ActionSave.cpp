#include "actions/ActionSave.h"

#include "actions/detail/SettingsString.h"
#include "common/ErrorHandling.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/win/ModuleFolder.h"

#include <filesystem>

namespace actions {

using namespace detail;

namespace {

constexpr const char* kModule = "ActionSave";

// The folder of the deliverable this code is linked into; the samples lie beside it.
std::string AddinFolder()
{
    const auto oFolder = platform::win::moduleFolder(reinterpret_cast<const void*>(&AddinFolder));
    return (oFolder.empty() ? std::filesystem::current_path() : oFolder).string();
}

} // namespace

void ActionSave::SetPath(const std::string& sValue)
{
    m_sPath = sValue;
    common::modMain::AddBackslash(m_sPath);
}

void ActionSave::SetPrintSubtotals(bool bValue)
{
    m_bPrintSubtotals = bValue;
    if (!bValue)
        m_bPrintSubtotalsOnly = false;
}

void ActionSave::SetPrintSubtotalsOnly(bool bValue)
{
    m_bPrintSubtotalsOnly = bValue;
    if (bValue)
        m_bPrintSubtotals = true;
}

void ActionSave::SetTemplateExcelFirstCell(const std::string& sValue)
{
    if (sValue.find_first_not_of(' ') == std::string::npos)
        m_sTemplateExcelFirstCell = "A1";
    else
        m_sTemplateExcelFirstCell = sValue;
}

std::string ActionSave::GetPlaceholder(std::int32_t Index) const
{
    static constexpr long kIds[] = {2195, 2196, 2198, 2199, 2200, 2201};
    if (Index < 0 || Index > 5)
        return {};
    return "[@" + common::modLanguage::GetResString(kIds[Index]) + "]";
}

void ActionSave::SetDefaultHTMLTemplate()
{
    common::Rethrowing(kModule, "SetDefaultHTMLTemplate", [&] {
        std::string sFolder = AddinFolder();
        common::modMain::AddBackslash(sFolder);
        m_sReportTemplate = sFolder + "samples/modern.html";
    });
}

void ActionSave::Init(platform::runtime::Object* lParentPtr, const std::string& sKey)
{
    common::Rethrowing(kModule, "IChild_Init", [&] {
        ChildLink<actions::Action>::Init(lParentPtr, sKey);
        m_bAutoExecute = false;
        m_lAction = 0;
        m_sPath.clear();
        m_lReportFormat = 1;
        m_lReportExists = 0;
        m_sFilename.clear();
        m_sSavedAs.clear();
        m_sTemplateExcelFirstCell = "A1";
        m_bPrintHeader = true;
        m_bPrintSubtotals = false;
        m_bPrintSubtotalsOnly = false;
        SetDefaultHTMLTemplate();
        m_sReportHeader = common::modLanguage::GetResString(2217);
        m_sReportFooter = common::modLanguage::GetResString(2218) + " " + GetPlaceholder(4);
    });
}

std::string ActionSave::ToString() const
{
    return common::Rethrowing(kModule, "ISerializeString_ToString", [&] {
        return JoinFields({BoolField(m_bAutoExecute), NumField(m_lAction), m_sFilename, m_sPath,
                           BoolField(m_bPrintHeader), BoolField(m_bPrintSubtotals),
                           NumField(m_lReportExists), NumField(m_lReportFormat), m_sReportTemplate,
                           m_sTemplateExcelFirstCell});
    });
}

void ActionSave::ToObject(std::string& sData)
{
    common::Rethrowing(kModule, "ISerializeString_ToObject", [&] {
        const auto a = TakeFields(SplitFields(sData), 0, 10);
        m_bAutoExecute = ReadBool(a[0]);
        m_lAction = ReadLong(a[1]);
        m_sFilename = a[2];
        m_sPath = a[3];
        m_bPrintHeader = ReadBool(a[4]);
        m_bPrintSubtotals = ReadBool(a[5]);
        SetReportExists(ReadLong(a[6]));
        m_lReportFormat = ReadLong(a[7]);
        m_sReportTemplate = a[8];
        m_sTemplateExcelFirstCell = a[9];
    });
}

} // namespace actions
