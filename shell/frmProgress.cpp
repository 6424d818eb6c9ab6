#include "shell/frmProgress.h"

#include "common/modLanguage.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/ResumeNext.h"

#include <cstdlib>

namespace shell {

namespace rt = platform::runtime;

namespace {
// The window's own text: German at the id, English at the id plus 10000.
constexpr long kReadingText = 2001;
constexpr long kEnglishOffset = 10000;
} // namespace

frmProgress::frmProgress() : Form("frmProgress")
{
    m_oBar = Add<platform::forms::ProgressBar>("PBar");
    for (int i = 0; i < 3; ++i)
        m_aLabels[i] = Add<platform::forms::Label>("lbl" + std::to_string(i));
    m_aLabels[0]->SetTag(std::to_string(kReadingText));
    // The text with the number of items beside it, the bar under both. Element 1 has nothing
    // to show.
    m_aLabels[0]->Move(120, 120, 2895, 255);
    m_aLabels[2]->Move(3075, 120, 1125, 255);
    m_aLabels[1]->Move(120, 120, 0, 0);
    m_aLabels[1]->SetVisible(false);
    m_oBar->Move(120, 450, 4080, 255);
    Move(0, 0, 4440, 1230);
}

const platform::forms::Label& frmProgress::lbl(int nIndex) const
{
    return *m_aLabels[nIndex];
}

std::string frmProgress::GetResource(const std::string& sTag)
{
    if (sTag.empty() || sTag.find_first_not_of("0123456789") != std::string::npos)
        return {};
    const long lId =
        std::strtol(sTag.c_str(), nullptr, 10) + common::modLanguage::GetLanguageOffset();
    if (lId == kReadingText)
        return "Lese Ordnerinhalte...";
    if (lId == kReadingText + kEnglishOffset)
        return "Reading folder items...";
    return {};
}

void frmProgress::Form_Load()
{
    rt::ResumeNext ignore;
    ignore([&] {
        for (const auto& oControl : Controls()) {
            if (oControl->HasCaption() && !oControl->Tag().empty())
                oControl->SetCaption(GetResource(oControl->Tag()));
            oControl->SetFontSize(8);
        }
    });
}

void frmProgress::Init()
{
    rt::ResumeNext ignore;
    // The bar's lower end and its value: it starts empty, and the first Update moves it on.
    ignore([&] {
        m_oBar->SetMin(1);
        m_oBar->SetValue(1);
    });
    ignore([&] { m_aLabels[2]->SetCaption({}); });
    ignore([] { rt::DoEvents(); });
}

void frmProgress::Update(std::int32_t Value, std::int32_t Max)
{
    rt::ResumeNext ignore;
    // The maximum first: the bar refuses a value beyond the maximum it has.
    ignore([&] { m_oBar->SetMax(Max); });
    ignore([&] { m_oBar->SetValue(Value); });
    ignore([&] { m_aLabels[2]->SetCaption(std::to_string(Max)); });
    ignore([] { rt::DoEvents(); });
}

} // namespace shell
