#include "GuiFixture.h"

#include "gui/GridModel.h"
#include "platform/forms/FlexGrid.h"
#include "platform/locale/Locale.h"

#include <string>

namespace {

namespace pf = platform::forms;
using guitest::GuiFixture;

using GridModelTest = GuiFixture;

// A cell of General alignment stands right when its text is a number as the run's regional
// settings write it, left otherwise: one number column of a German report lines up.
TEST_F(GridModelTest, GeneralCellsAlignNumbersByTheLocaleOfTheTexts)
{
    struct Row
    {
        const char* sLocale;
        const char* sText;
        bool bRight;
    };
    const Row aRows[] = {
        {"de-DE", "5,5", true},         {"de-DE", "4", true},           {"de-DE", "1.234,5", true},
        {"de-DE", "-0,25", true},       {"de-DE", "10.12.2026", false}, {"de-DE", "Büro", false},
        {"en-US", "5.5", true},         {"en-US", "1,234.5", true},     {"en-US", "5,5", false},
        {"en-US", "12/10/2026", false},
    };
    for (const Row& row : aRows) {
        SCOPED_TRACE(std::string(row.sLocale) + " " + row.sText);
        platform::locale::SetCurrent(row.sLocale);
        pf::FlexGrid oGrid;
        oGrid.SetCols(2);
        oGrid.SetRows(2);
        oGrid.SetTextMatrix(1, 1, row.sText);
        gui::GridModel model(oGrid);
        const auto alignment = model.index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask,
                  row.bRight ? Qt::AlignRight : Qt::AlignLeft);
    }
}

} // namespace
