#include "dialogs/detail/DialogSupport.h"

#include "common/Deliverable.h"
#include "common/ErrorObject.h"
#include "common/modLanguage.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Utf8.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"

#include <algorithm>
#include <cctype>

namespace dialogs::detail {

namespace rt = platform::runtime;

namespace {
constexpr long kEnglishOffset = 10000;
} // namespace

void ShowError(common::ErrorObject& oError)
{
    ShowErrorBox(oError);
}

std::int32_t OwnNumber(long lMessage)
{
    return static_cast<std::int32_t>(lMessage + common::ThisDeliverable().lErrorBase);
}

std::string MessageText(long lMessage, const std::vector<std::string>& vArgs)
{
    common::ErrorObject oError;
    return oError.GetMessageText(OwnNumber(lMessage), vArgs);
}

namespace {
// "The text holds the character #0, which is no printable text." (text 73).
constexpr long kMsgUnprintable = 73;
// "The text is #0 characters long; this field takes at most #1 characters." (text 74).
constexpr long kMsgTooLong = 74;

// The characters of a UTF-8 text (its bytes but the continuation bytes).
std::size_t Characters(const std::string& s)
{
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}
} // namespace

void RaiseOwn(long lMessage, const std::vector<std::string>& vArgs)
{
    rt::Raise(OwnNumber(lMessage), {}, MessageText(lMessage, vArgs));
}

void RefuseUnprintable(const std::string& sText, platform::forms::TextBox* pField, bool bLines)
{
    // Byte by byte: the runtime's text functions would make bytes that are not UTF-8 into
    // replacement characters first.
    // A tab is text, as the hosts take it.
    std::string sChecked = sText;
    std::replace_if(
        sChecked.begin(), sChecked.end(),
        [bLines](char c) { return c == '\t' || (bLines && (c == '\r' || c == '\n')); }, ' ');
    const auto oFound = rt::FirstNameRefusedCharacter(sChecked);
    const std::size_t nMax = bLines ? kMaxFieldLinesCharacters : kMaxFieldCharacters;
    const std::size_t nLength = oFound ? 0 : Characters(sText);
    if (!oFound && nLength <= nMax)
        return;
    if (pField) {
        rt::ResumeNext ignore;
        ignore([&] { pField->SetFocus(); });
    }
    if (oFound)
        RaiseOwn(kMsgUnprintable, {oFound->shown});
    RaiseOwn(kMsgTooLong, {std::to_string(nLength), std::to_string(nMax)});
}

std::string OwnText(const OwnTexts& aTexts, const std::string& sTag)
{
    const std::string sKey = rt::Trim(sTag);
    // Lists carry their resource ids joined by ","; they are no caption key.
    if (sKey.empty() || sKey.size() > 9 ||
        !std::all_of(sKey.begin(), sKey.end(), [](unsigned char c) { return std::isdigit(c); }))
        return {};
    const long lKey = std::stol(sKey) + common::modLanguage::GetLanguageOffset();
    const bool bEnglish = lKey >= kEnglishOffset;
    const auto found = aTexts.find(bEnglish ? lKey - kEnglishOffset : lKey);
    if (found == aTexts.end())
        return {};
    return bEnglish ? found->second.second : found->second.first;
}

std::string OwnResources::Caption() const
{
    return m_oForm.Caption();
}

void OwnResources::SetCaption(const std::string& sCaption)
{
    m_oForm.SetCaption(sCaption);
}

const std::vector<std::shared_ptr<platform::forms::Control>>& OwnResources::Controls() const
{
    return m_oForm.Controls();
}

std::string OwnResources::GetResource(const std::string& Tag)
{
    return OwnText(m_aTexts, Tag);
}

std::string OwnResources::Tag() const
{
    return m_oForm.Tag();
}

} // namespace dialogs::detail
