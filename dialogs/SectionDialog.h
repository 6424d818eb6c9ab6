#pragma once

#include "common/IChild.h"
#include "platform/forms/Form.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace common {
class ErrorObject;
}
namespace fieldcatalogue {
class cField;
}
namespace views {
class ViewSettings;
class cMapiProps;
} // namespace views

namespace dialogs {

class ISectionOpener;

/// What the section dialogs of the view dialog share: the parent link to their opener, the
/// `Confirmed` flag, the error box, the font size, F1 help and the close box; the field sets
/// of the field-set combo and the catalogue cache.
class SectionDialog : public platform::forms::Form, public common::IChild
{
public:
    /// One field set of the catalogue, in the set's own order.
    using FieldList = std::vector<std::shared_ptr<fieldcatalogue::cField>>;

    /// True only when the dialog was closed with OK.
    bool Confirmed = false;

    /// The opener, or null when the link is not set (or the linked object is no opener).
    ISectionOpener* Parent() const;
    /// The dialog as its parent link.
    common::IChild& AsIChild() { return *this; }
    /// Stores the opener's pointer (the key is ignored).
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// Forgets the opener.
    void ResetParentPtr() override { m_pParent = nullptr; }

protected:
    /// sModule names the form in error sources; sHelpTopic is what F1 opens.
    SectionDialog(const std::string& sModule, std::string sHelpTopic);

    /// The opener's edited view; raises 91 without an opener or a view.
    views::ViewSettings& OpenerView() const;
    /// A new view holding a copy of the opener's edited view (raises as `OpenerView`).
    std::shared_ptr<views::ViewSettings> CopyOfOpenerView() const;
    /// The add-in's catalogue cache; raises 91 before start-up made one.
    static views::cMapiProps& MapiProps();
    /// The fields of the field-set combo's entry: 0 task, 1 calendar, 2 journal, 3 user-defined
    /// fields; none for any other index or a set not loaded.
    static std::optional<FieldList> FieldSetOf(int lIndex);
    /// Shows the error's description in an exclamation box with the application's title.
    static void ShowError(common::ErrorObject& oError);
    /// Font size 8 on every control that has a font (errors ignored).
    void SetDialogFontSize();

    /// F1 opens the dialog's help topic.
    void Form_KeyDown(int& KeyCode, int Shift) override;
    /// The close box clears `Confirmed`.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

    const std::string& ModuleName() const { return m_sModule; }

private:
    platform::runtime::Object* m_pParent = nullptr; // non-owning: the opener outlives us
    std::string m_sModule;
    std::string m_sHelpTopic;
};

} // namespace dialogs
