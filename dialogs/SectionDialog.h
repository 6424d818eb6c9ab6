#pragma once

#include "common/IChild.h"
#include "platform/forms/Form.h"

#include <memory>
#include <string>

namespace views {
class ViewSettings;
}

namespace dialogs {

class frmView;

/// The five sections of a view that the view dialog edits, each in a dialog of its own.
enum class ViewSection
{
    Fields,  ///< the columns (`cmdFields`)
    GroupBy, ///< the grouping levels (`cmdGroupBy`)
    Sort,    ///< the sort levels (`cmdSort`)
    Filter,  ///< the filter (`cmdFilter`)
    Calc,    ///< the totals (`cmdCalc`)
};

/// The base of a section dialog of the view dialog (`frmView`). The view dialog opens every
/// section the same way:
/// 1. it makes the dialog through `NewSectionDialog` (or the factory it was given);
/// 2. it links the dialog to itself (`AsIChild().Init`) and makes a scratch copy of its view:
///    while the section dialog is open, `Parent()->Vs()` (or `EditedView()`) is that copy;
/// 3. it shows the dialog modally over itself; the dialog reads the view at load and, on OK,
///    writes its result into that view, sets `Confirmed` and unloads itself; Cancel and the
///    close box leave `Confirmed` False;
/// 4. only when `Confirmed` is True does the view dialog take the scratch copy over into its
///    view, so that an error inside the section's OK (with `Confirmed` still False) leaves the
///    view dialog's view as it was;
/// 5. it resets the link and releases the dialog, also after an error.
class SectionDialog : public platform::forms::Form, public common::IChild
{
public:
    explicit SectionDialog(std::string sFormName);

    /// True only when the dialog was closed with OK; the view dialog reads it after the show.
    bool Confirmed = false;

    /// The view dialog that opened this one, or null while the link is 0.
    frmView* Parent() const;
    /// The dialog as its parent link.
    common::IChild& AsIChild() { return *this; }

    /// Keeps the opener (a `frmView`, not owned); the key is not kept.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// Always the empty text.
    std::string Key() const override { return {}; }
    /// Forgets the opener.
    void ResetParentPtr() override { m_pParent = nullptr; }

protected:
    /// The view this section edits: the opener's `Vs`, the scratch copy made for this opening.
    /// Raises error 91 without an opener or a view.
    views::ViewSettings& EditedView() const;

private:
    platform::runtime::Object* m_pParent = nullptr; // non-owning: the opener outlives the dialog
};

/// The dialog of a section, new and not loaded. Each section's dialog is registered in
/// SectionDialogs.cpp.
std::unique_ptr<SectionDialog> NewSectionDialog(ViewSection eSection);

} // namespace dialogs
