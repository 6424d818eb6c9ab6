#pragma once

#include "common/IControlResource.h"
#include "dialogs/detail/DialogCommon.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform::forms {
class Control;
class Form;
class TextBox;
} // namespace platform::forms

namespace common {
class ErrorObject;
}

/// What the template and action dialogs share: the font size set at load, the message box
/// of a failed handler and the own caption tables of the action dialogs.
namespace dialogs::detail {

/// The description of a failed handler's error in a message box with the exclamation icon
/// (the shape the error skeleton's handlers take).
void ShowError(common::ErrorObject& oError);

/// The add-in's own error number of a message's resource id.
std::int32_t OwnNumber(long lMessage);

/// The text of a message in the current UI language, "#0", "#1", ... filled from vArgs.
std::string MessageText(long lMessage, const std::vector<std::string>& vArgs = {});

/// Raises the add-in's own error of a message, its text as description.
[[noreturn]] void RaiseOwn(long lMessage, const std::vector<std::string>& vArgs = {});

/// The most characters a field of one line takes (a template's name, a condition's text):
/// far more than any name needs, little enough for every window and file that shows it.
inline constexpr std::size_t kMaxFieldCharacters = 4000;
/// The most characters a text of several lines takes (a page's header or footer).
inline constexpr std::size_t kMaxFieldLinesCharacters = 32000;

/// Raises message 73 naming the first character of sText that is no printable text (a control
/// character but the tab, bytes that are not UTF-8; line breaks pass where bLines allows them),
/// or message 74 for a text longer than kMaxFieldCharacters (kMaxFieldLinesCharacters with
/// bLines), after giving pField the focus; nothing for printable text. A field's text reaches
/// a file's name, a page's header or a mail that way, and is refused before it does.
void RefuseUnprintable(const std::string& sText, platform::forms::TextBox* pField,
                       bool bLines = false);

/// The default template, which keeps its name and cannot be deleted.
inline constexpr const char* kStandard = "(Standard)";

/// A caption table of a window's own: key to its German and English text.
using OwnTexts = std::map<long, std::pair<const char*, const char*>>;

/// The text of a control tag in the current UI language: empty unless the tag is a number
/// and the table holds that key (German at the key, English at the key + 10000).
std::string OwnText(const OwnTexts& aTexts, const std::string& sTag);

/// A form seen as a window that keeps its own texts, for `LocalizeResourceForm`.
class OwnResources : public common::IControlResource
{
public:
    OwnResources(platform::forms::Form& oForm, const OwnTexts& aTexts)
        : m_oForm(oForm), m_aTexts(aTexts)
    {
    }
    std::string Caption() const override;
    void SetCaption(const std::string& sCaption) override;
    const std::vector<std::shared_ptr<platform::forms::Control>>& Controls() const override;
    std::string GetResource(const std::string& Tag) override;
    std::string Tag() const override;

private:
    platform::forms::Form& m_oForm;
    const OwnTexts& m_aTexts;
};

} // namespace dialogs::detail
