#include "common/modMain.h"

#include "common/Deliverable.h"
#include "common/IChild.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/win/SpecialFolders.h"

#include <cstdlib>
#include <filesystem>

namespace common::modMain {

Globals& G()
{
    static Globals oGlobals;
    return oGlobals;
}

std::int32_t NextControlId()
{
    return ++G().g_lControlCounter;
}

void ResetParentPtrOf(IChild* oChild)
{
    if (oChild == nullptr)
        return;
    oChild->ResetParentPtr();
}

void SuspendGridRedraw(platform::forms::FlexGrid* oGrid)
{
    if (oGrid == nullptr)
        return;
    platform::runtime::ResumeNext oResume;
    oResume([&] { oGrid->SetRedraw(false); });
}

void SelectAllText(platform::forms::TextBox* oTextBox, std::int64_t lBackColor)
{
    if (oTextBox == nullptr)
        return;
    platform::runtime::ResumeNext oResume;
    oResume([&] {
        oTextBox->SetSelStart(0);
        oTextBox->SetSelLength(static_cast<int>(platform::runtime::Len(oTextBox->Text())));
        if (lBackColor != -1)
            oTextBox->SetBackColor(static_cast<std::uint32_t>(lBackColor));
    });
}

void AddBackslash(std::string& sPath)
{
    if (!sPath.empty() && sPath.back() != '/')
        sPath += '/';
}

std::string GetDataPathFor(const std::string& sAppTitle)
{
    std::string sBase =
        platform::win::specialFolderPath(platform::win::SpecialFolder::ApplicationData);
    if (sBase.empty()) {
        const char* sHome = std::getenv("HOME");
        sBase = (sHome != nullptr && sHome[0] == '/')
                    ? std::string(sHome)
                    : std::filesystem::temp_directory_path().string();
    }
    AddBackslash(sBase);
    return sBase + "Kestrova/" + sAppTitle + "/";
}

std::string GetUserDataPath()
{
    return GetDataPathFor(ThisDeliverable().sAppTitle);
}

std::string GetSettingsKeyPath()
{
    return std::string("Software\\Kestrova\\") + ThisDeliverable().sAppTitle + "\\Settings\\";
}

} // namespace common::modMain
