// The section dialogs of the view dialog: one line per section.
#include "dialogs/SectionDialog.h"

#include "dialogs/frmCalc.h"
#include "dialogs/frmFieldChooser.h"
#include "dialogs/frmFilter.h"
#include "dialogs/frmGroupBy.h"
#include "dialogs/frmSort.h"

namespace dialogs {

std::unique_ptr<SectionDialog> NewSectionDialog(ViewSection eSection)
{
    switch (eSection) {
    case ViewSection::Fields:
        return std::make_unique<frmFieldChooser>();
    case ViewSection::GroupBy:
        return std::make_unique<frmGroupBy>();
    case ViewSection::Sort:
        return std::make_unique<frmSort>();
    case ViewSection::Filter:
        return std::make_unique<frmFilter>();
    case ViewSection::Calc:
        return std::make_unique<frmCalc>();
    }
    return nullptr;
}

} // namespace dialogs
