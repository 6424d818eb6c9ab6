#pragma once

#include "dialogs/SectionDialog.h"

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
class cMapiProps;
}

namespace dialogs {

/// What the section dialogs that offer catalogue fields share (columns, grouping, sorting,
/// totals): the field sets of their field-set combo, the catalogue cache, the error box, the
/// font size, F1 help and the close box.
class FieldSectionDialog : public SectionDialog
{
public:
    /// One field set of the catalogue, in the set's own order.
    using FieldList = std::vector<std::shared_ptr<fieldcatalogue::cField>>;

protected:
    /// sModule names the form in error sources; sHelpTopic is what F1 opens.
    FieldSectionDialog(const std::string& sModule, std::string sHelpTopic);

    /// A new view holding a copy of the opener's edited view (raises as `EditedView`).
    std::shared_ptr<views::ViewSettings> CopyOfEditedView() const;
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
    std::string m_sModule;
    std::string m_sHelpTopic;
};

} // namespace dialogs
