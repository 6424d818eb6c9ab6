// The dialogs that size themselves by the room their controls need: the client area (the
// window inside its frame) holds every control with room to the right and below, as the design
// keeps it on the left and on top.
#include "dialogs/frmAction.h"
#include "dialogs/frmCatList.h"
#include "dialogs/frmGroupBy.h"
#include "dialogs/frmSort.h"
#include "dialogs/frmTemplate.h"
#include "dialogs/frmTemplateDetail.h"
#include "dialogs/frmText.h"
#include "platform/forms/Control.h"
#include "platform/forms/Form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace pf = platform::forms;

struct Room
{
    int left = 1 << 30, top = 1 << 30, right = 1 << 30, bottom = 1 << 30;
};

// The least room around the shown controls that stand on the form itself.
Room RoomOf(const pf::Form& oForm)
{
    Room room;
    for (const auto& oControl : oForm.Controls()) {
        const pf::Control* pContainer = oControl->Container();
        if (!oControl->Visible() || (pContainer && pContainer != &oForm) ||
            oControl->Width() <= 0 || oControl->Height() <= 0)
            continue;
        room.left = std::min(room.left, oControl->Left());
        room.top = std::min(room.top, oControl->Top());
        room.right =
            std::min(room.right, oForm.ScaleWidth() - oControl->Left() - oControl->Width());
        room.bottom =
            std::min(room.bottom, oForm.ScaleHeight() - oControl->Top() - oControl->Height());
    }
    return room;
}

TEST(ClientAreaTest, EachDialogHoldsItsControlsWithRoomToTheRightAndBelow)
{
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<pf::Form>()>>> vDialogs =
        {
            {"frmAction", [] { return std::make_unique<dialogs::frmAction>(); }},
            {"frmCatList", [] { return std::make_unique<dialogs::frmCatList>(); }},
            {"frmGroupBy", [] { return std::make_unique<dialogs::frmGroupBy>(); }},
            {"frmSort", [] { return std::make_unique<dialogs::frmSort>(); }},
            {"frmTemplate", [] { return std::make_unique<dialogs::frmTemplate>(); }},
            {"frmTemplateDetail", [] { return std::make_unique<dialogs::frmTemplateDetail>(); }},
            {"frmText", [] { return std::make_unique<dialogs::frmText>(); }},
        };
    for (const auto& [sName, make] : vDialogs) {
        const auto oForm = make();
        const Room room = RoomOf(*oForm);
        EXPECT_GE(room.right, room.left) << sName;
        EXPECT_GE(room.bottom, room.top) << sName;
    }
}

} // namespace
