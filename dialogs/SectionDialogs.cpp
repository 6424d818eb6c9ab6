// The section dialogs of the view dialog: one line per section. A section whose dialog is
// not built yet gives null, and the view dialog says so when its button is clicked.
#include "dialogs/SectionDialog.h"

#include "dialogs/frmFilter.h"

namespace dialogs {

std::unique_ptr<SectionDialog> NewSectionDialog(ViewSection eSection)
{
    switch (eSection) {
    case ViewSection::Fields:
        return nullptr;
    case ViewSection::GroupBy:
        return nullptr;
    case ViewSection::Sort:
        return nullptr;
    case ViewSection::Filter:
        return std::make_unique<frmFilter>();
    case ViewSection::Calc:
        return nullptr;
    }
    return nullptr;
}

} // namespace dialogs
