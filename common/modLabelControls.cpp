#include "common/modLabelControls.h"

#include "common/IControlResource.h"
#include "common/modLanguage.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"

namespace common::modLabelControls {
namespace {

namespace rt = platform::runtime;

std::vector<std::string> SplitIds(const std::string& sIds)
{
    return rt::Split(sIds, ",");
}

} // namespace

long TagNumber(const std::string& sTag)
{
    return rt::CLng(rt::Variant(rt::Val(sTag)));
}

void LocalizeForm(platform::forms::Form& oForm)
{
    rt::ResumeNext oResume;
    oResume([&] { oForm.SetCaption(modLanguage::GetResString(TagNumber(oForm.Tag()))); });
    for (const auto& oControl : oForm.Controls())
        oResume([&] {
            if (oControl->HasCaption())
                oControl->SetCaption(modLanguage::GetResString(TagNumber(oControl->Tag())));
        });
}

void LocalizeResourceForm(IControlResource& oForm)
{
    rt::ResumeNext oResume;
    oResume([&] {
        if (auto sText = oForm.GetResource(oForm.Tag()); !sText.empty())
            oForm.SetCaption(sText);
    });
    for (const auto& oControl : oForm.Controls())
        oResume([&] {
            if (auto sText = oForm.GetResource(oControl->Tag()); !sText.empty())
                oControl->SetCaption(sText);
        });
}

void LocalizeGridHeader(platform::forms::FlexGrid& oGrid, const std::string& sTag)
{
    rt::ResumeNext oResume;
    const auto vIds = SplitIds(sTag);
    for (std::size_t i = 0; i < vIds.size(); ++i)
        oResume([&] {
            if (const long lID = TagNumber(vIds[i]); lID != 0)
                oGrid.SetTextMatrix(0, static_cast<int>(i), modLanguage::GetResString(lID));
        });
}

void LocalizeGridList(platform::forms::FlexGrid& oGrid, int lCol, const std::string& sIds)
{
    rt::ResumeNext oResume;
    oResume([&] {
        std::string sList;
        const auto vIds = SplitIds(sIds);
        for (std::size_t i = 0; i < vIds.size(); ++i) {
            const long lID = TagNumber(vIds[i]);
            sList += (i == 0 ? "" : "|") +
                     (lID == 0 ? std::string(" ") : modLanguage::GetResString(lID));
        }
        oGrid.SetColComboList(lCol, sList);
    });
}

void LocalizeComboItems(platform::forms::ComboBox& oCombo)
{
    rt::ResumeNext oResume;
    for (const auto& sId : SplitIds(oCombo.Tag()))
        oResume([&] { oCombo.AddItem(modLanguage::GetResString(TagNumber(sId))); });
}

std::string GetResText(long lID)
{
    std::string sText;
    rt::ResumeNext oResume;
    oResume([&] { sText = modLanguage::GetResString(lID); });
    return sText;
}

} // namespace common::modLabelControls
