#include "grid/cVsFlexPopup.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/ResumeNext.h"

namespace grid {

namespace pf = platform::forms;
namespace rt = platform::runtime;
namespace win = platform::win;

namespace {

constexpr int kExclamation = 48;
const char* const kModule = "cVsFlexPopup";

void ShowError(common::ErrorObject& oError)
{
    pf::MsgBox(oError.Description(), kExclamation, common::ThisDeliverable().sAppTitle);
}

bool IsDataRow(const pf::FlexGrid& oGrid, int lRow)
{
    return lRow >= oGrid.FixedRows() && lRow < oGrid.Rows();
}

// Twips to whole screen pixels, halves to the even number as the runtime rounds.
int TwipsToPixels(double dTwips)
{
    return static_cast<int>(rt::Round(dTwips / win::Desktop::kTwipsPerPixel));
}

pf::ScaleMode ScaleModeOf(const pf::PictureBox& oPicture)
{
    return oPicture.Surface().ScaleMode() == 0 ? pf::ScaleMode::User : pf::ScaleMode::Twips;
}

} // namespace

void cVsFlexPopup::PopUpMenu6(pf::MenuBar& oMenuBar, const std::shared_ptr<pf::MenuItem>& oMenu,
                              pf::FlexGrid& oGrid, bool bAtMouse)
{
    common::Logging(
        kModule, "PopUpMenu6",
        [&](int& nLine) {
            nLine = 1;
            const win::ScreenPoint oCursor = GetCursorScreenPosition();
            nLine = 2;
            const int lRow = bAtMouse ? oGrid.MouseRow() : oGrid.Row();
            if (!IsDataRow(oGrid, lRow))
                return;
            nLine = 3;
            const win::ScreenPoint oAt = bAtMouse ? oCursor : GetCellScreenPosition(oGrid);
            nLine = 4;
            oMenuBar.PopupMenu(oMenu, oAt.x, oAt.y);
        },
        ShowError);
}

void cVsFlexPopup::PopUpMenu(pf::Form& oOwner, pf::GridControl& oGrid,
                             const std::shared_ptr<pf::MenuItem>& oMenu, bool bRowSel,
                             std::optional<int> vFlags, std::optional<float> vX,
                             std::optional<float> vY,
                             const std::shared_ptr<pf::MenuItem>& oDefaultMenu)
{
    common::Logging(
        kModule, "PopUpMenu",
        [&](int& nLine) {
            auto& fg = oGrid.Grid();
            const auto show = [&](std::optional<float> x, std::optional<float> y) {
                oOwner.PopupMenu(oMenu, vFlags.value_or(0), x, y, oDefaultMenu);
            };
            nLine = 1;
            const int lMouseRow = fg.MouseRow();
            if (!IsDataRow(fg, lMouseRow))
                return;
            if (bRowSel) {
                nLine = 2;
                const pf::CellRange oSel = fg.GetSelection();
                if (oSel.row2 > oSel.row1 && lMouseRow >= oSel.row1 && lMouseRow <= oSel.row2) {
                    // Over a multi-row selection: the menu works on all of it.
                    show(vX, vY);
                    return;
                }
                nLine = 3;
                fg.SetRow(lMouseRow);
                if (fg.Row() == lMouseRow)
                    show(vX, vY);
                return;
            }
            nLine = 4;
            if (!vX && !vY) {
                const FormPoint oAt = GetCellFormPosition(oOwner, oGrid);
                vX = oAt.x;
                vY = oAt.y;
            }
            show(vX, vY);
        },
        ShowError);
}

win::ScreenPoint cVsFlexPopup::GetCursorScreenPosition() const
{
    return win::Desktop::current().cursorPosition().value_or(win::ScreenPoint{});
}

win::ScreenPoint cVsFlexPopup::GetCellScreenPosition(const pf::FlexGrid& oGrid) const
{
    rt::ResumeNext ignore;
    win::ScreenRect oRect;
    ignore([&] {
        if (const auto oWindow =
                win::Desktop::current().windowRect(static_cast<win::WindowHandle>(oGrid.Hwnd())))
            oRect = *oWindow;
    });
    double x = 0;
    double y = 0;
    ignore([&] { x = oGrid.CellLeft(); });
    ignore([&] { y = static_cast<double>(oGrid.CellTop()) + oGrid.CellHeight(); });
    win::ScreenPoint oAt;
    ignore([&] { oAt.x = TwipsToPixels(x) + oRect.left; });
    ignore([&] { oAt.y = TwipsToPixels(y) + oRect.top; });
    return oAt;
}

FormPoint cVsFlexPopup::GetCellFormPosition(const pf::Form& oOwner,
                                            const pf::GridControl& oGrid) const
{
    rt::ResumeNext ignore;
    pf::ScaleMode s = pf::ScaleMode::Twips;
    const pf::Control* pContainer = nullptr;
    ignore([&] { s = oOwner.GetScaleMode(); });
    ignore([&] { pContainer = oGrid.Container(); });
    // The grid's offset in its container and the container's offset on the form, in s.
    double gx = 0, gy = 0, cx = 0, cy = 0;
    if (dynamic_cast<const pf::Form*>(pContainer)) {
        ignore([&] { gx = oGrid.Left(); });
        ignore([&] { gy = oGrid.Top(); });
    } else if (const auto* pPicture = dynamic_cast<const pf::PictureBox*>(pContainer)) {
        const pf::ScaleMode p = ScaleModeOf(*pPicture);
        if (p == s) {
            ignore([&] { gx = oGrid.Left(); });
            ignore([&] { gy = oGrid.Top(); });
        } else {
            ignore([&] { gx = pf::Form::ScaleX(oGrid.Left(), p, s); });
            ignore([&] { gy = pf::Form::ScaleY(oGrid.Top(), p, s); });
        }
        cx = pPicture->Left();
        cy = pPicture->Top();
    } else if (pContainer) {
        ignore([&] { gx = pf::Form::ScaleX(oGrid.Left(), pf::ScaleMode::Twips, s); });
        ignore([&] { gy = pf::Form::ScaleY(oGrid.Top(), pf::ScaleMode::Twips, s); });
        cx = pContainer->Left();
        cy = pContainer->Top();
    }
    const auto& fg = oGrid.Grid();
    FormPoint oAt;
    ignore([&] {
        oAt.x =
            static_cast<float>(pf::Form::ScaleX(fg.CellLeft(), pf::ScaleMode::Twips, s) + gx + cx);
    });
    ignore([&] {
        oAt.y =
            static_cast<float>(pf::Form::ScaleY(fg.CellTop(), pf::ScaleMode::Twips, s) + gy + cy);
    });
    return oAt;
}

} // namespace grid
