#include "common/FormExt.h"

#include "platform/forms/Form.h"

namespace common {
namespace {

std::unique_ptr<ObjectSize> InnerSize(const platform::forms::Form& oForm)
{
    auto oSize = std::make_unique<ObjectSize>();
    oSize->SetHeight(static_cast<float>(oForm.ScaleHeight()));
    oSize->SetLeft(static_cast<float>(oForm.ScaleLeft()));
    oSize->SetTop(static_cast<float>(oForm.ScaleTop()));
    oSize->SetWidth(static_cast<float>(oForm.ScaleWidth()));
    return oSize;
}

} // namespace

void FormExt::Reset()
{
    CommandPressed = 0;
    UnloadProcess = false;
    DataChanged = false;
}

void FormExt::SetOldSize(const platform::forms::Form& oForm)
{
    m_oOldSize = InnerSize(oForm);
}

void FormExt::SetNewSize(const platform::forms::Form& oForm)
{
    m_oNewSize = InnerSize(oForm);
}

float FormExt::GetSizeDiff(std::int32_t lIndex) const
{
    if (!m_oOldSize || !m_oNewSize)
        return 0;
    switch (lIndex) {
    case 0:
        return m_oNewSize->Height() - m_oOldSize->Height();
    case 1:
        return m_oNewSize->Left() - m_oOldSize->Left();
    case 2:
        return m_oNewSize->Top() - m_oOldSize->Top();
    case 3:
        return m_oNewSize->Width() - m_oOldSize->Width();
    default:
        return 0;
    }
}

bool FormExt::FormMessage(std::int32_t uMsg, std::int32_t, std::int32_t* pMinTrack)
{
    constexpr std::int32_t WM_GETMINMAXINFO = 36;
    if (uMsg != WM_GETMINMAXINFO || pMinTrack == nullptr)
        return false;
    pMinTrack[0] = 300;
    pMinTrack[1] = 200;
    return true;
}

} // namespace common
