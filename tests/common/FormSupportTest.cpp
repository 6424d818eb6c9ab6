#include "CommonFixture.h"

#include "common/FormExt.h"
#include "common/FormPersitent.h"
#include "common/cWindowHandler.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/win/Desktop.h"
#include "platform/win/Registry.h"
#include "platform/win/RegistryValue.h"

namespace {

namespace forms = platform::forms;
namespace win = platform::win;

constexpr std::int64_t HKCU = 0x80000001;
const std::string kKey = "Software\\Kestrova\\Tallyman\\Settings\\";

class FormSupportTest : public CommonFixture
{
protected:
    static void Store(const std::string& sText)
    {
        common::FormPersitent::WriteText(HKCU, kKey, "frmMain", sText);
    }
    static std::string Nul() { return std::string(1, '\0'); }
    forms::Form m_oForm{"frmMain"};
    common::ObjectSize m_oOld;
};

TEST_F(FormSupportTest, PlacementRoundTripsThroughTheRegistry)
{
    m_oForm.Move(1500, 900, 7000, 5000);
    common::FormPersitent().SaveFormular(m_oForm, m_oOld, HKCU, kKey);
    // Stored as UTF-16LE bytes of "0 NUL 1500 NUL 900 NUL 7000 NUL 5000".
    const auto oValue = win::Registry().read(win::Hive::CurrentUser, kKey, "frmMain");
    ASSERT_TRUE(oValue);
    EXPECT_EQ(oValue->kind(), win::RegistryValue::Kind::Binary);
    EXPECT_EQ(oValue->asText(),
              "0" + Nul() + "1500" + Nul() + "900" + Nul() + "7000" + Nul() + "5000");
    forms::Form oOther("frmMain");
    common::FormPersitent().LoadFormular(oOther, m_oOld, HKCU, kKey);
    EXPECT_EQ(oOther.Left(), 1500);
    EXPECT_EQ(oOther.Top(), 900);
    EXPECT_EQ(oOther.Width(), 7000);
    EXPECT_EQ(oOther.Height(), 5000);
}

TEST_F(FormSupportTest, MaximisedPlacementKeepsTheNormalRectangle)
{
    m_oForm.Move(100, 100, 6000, 4500);
    Store("2" + Nul() + "-500" + Nul() + "14000" + Nul() + "3000" + Nul() + "2000");
    common::FormPersitent().LoadFormular(m_oForm, m_oOld, HKCU, kKey);
    EXPECT_EQ(m_oForm.GetWindowState(), forms::WindowState::Maximized);
    EXPECT_FLOAT_EQ(m_oOld.Left(), 0);           // -500 clamped
    EXPECT_FLOAT_EQ(m_oOld.Top(), 11520 - 2000); // 14000 + 2000 exceeds the 768-pixel screen
    EXPECT_FLOAT_EQ(m_oOld.Width(), 3000);
    EXPECT_FLOAT_EQ(m_oOld.Height(), 2000);
    // The form holds the normal rectangle too, the one a restore returns to.
    EXPECT_EQ(m_oForm.Left(), 0);
    EXPECT_EQ(m_oForm.Top(), 11520 - 2000);
    EXPECT_EQ(m_oForm.Width(), 3000);
    EXPECT_EQ(m_oForm.Height(), 2000);
}

TEST_F(FormSupportTest, PlacementIsClampedToTheScreen)
{
    Store("1" + Nul() + "14000" + Nul() + "200" + Nul() + "3000" + Nul() + "2000");
    common::FormPersitent().LoadFormular(m_oForm, m_oOld, HKCU, kKey);
    EXPECT_EQ(m_oForm.GetWindowState(), forms::WindowState::Normal); // minimised comes back normal
    EXPECT_EQ(m_oForm.Left(), 12360);
    EXPECT_EQ(m_oForm.Top(), 200);
}

TEST_F(FormSupportTest, ShortValueKeepsTheCurrentSize)
{
    m_oForm.Move(100, 100, 6000, 4500);
    Store("0" + Nul() + "300" + Nul() + "-20");
    common::FormPersitent().LoadFormular(m_oForm, m_oOld, HKCU, kKey);
    EXPECT_EQ(m_oForm.Left(), 300);
    EXPECT_EQ(m_oForm.Top(), 0);
    EXPECT_EQ(m_oForm.Width(), 6000);
    EXPECT_EQ(m_oForm.Height(), 4500);
}

TEST_F(FormSupportTest, BadStateLeavesTheFormWhereItIs)
{
    m_oForm.Move(100, 100, 6000, 4500);
    Store("x" + Nul() + "300" + Nul() + "300");
    common::FormPersitent().LoadFormular(m_oForm, m_oOld, HKCU, kKey);
    EXPECT_EQ(m_oForm.Left(), 100);
    EXPECT_FLOAT_EQ(m_oOld.Left(), 300);
}

TEST_F(FormSupportTest, LastTemplateRoundTripsAndIsEmptyWhenMissing)
{
    common::FormPersitent oPersist;
    EXPECT_EQ(oPersist.LoadViewSettings(HKCU, kKey), "");
    struct View
    {
        std::string Name() const { return "Aufgaben (Büro)"; }
    };
    oPersist.SaveViewSettings(View{}, HKCU, kKey);
    EXPECT_EQ(oPersist.LoadViewSettings(HKCU, kKey), "Aufgaben (Büro)");
}

TEST_F(FormSupportTest, GridWidthsRoundTripUnderTheGridsName)
{
    forms::FlexGrid oGrid;
    oGrid.SetName("fg");
    oGrid.SetCols(3);
    oGrid.SetColWidth(0, 300);
    oGrid.SetColWidth(1, 2025);
    oGrid.SetColWidth(2, 1440);
    common::FormPersitent oPersist;
    oPersist.SaveGrid(oGrid, HKCU, kKey);
    const auto oValue = win::Registry().read(win::Hive::CurrentUser, kKey, "fg");
    ASSERT_TRUE(oValue);
    EXPECT_EQ(oValue->kind(), win::RegistryValue::Kind::Binary);
    EXPECT_EQ(oValue->asText(), "300" + Nul() + "2025" + Nul() + "1440");

    forms::FlexGrid oOther;
    oOther.SetName("fg");
    oOther.SetCols(3);
    oPersist.LoadGrid(oOther, HKCU, kKey);
    EXPECT_EQ(oOther.ColWidth(0), 300);
    EXPECT_EQ(oOther.ColWidth(1), 2025);
    EXPECT_EQ(oOther.ColWidth(2), 1440);
}

TEST_F(FormSupportTest, GridWidthsApplyOnlyToTheSameColumnCount)
{
    struct Case
    {
        std::string sStored;
        std::vector<int> aExpected; // widths of a three-column grid after LoadGrid
    };
    const std::string n = Nul();
    const std::vector<Case> aCases = {
        {"100" + n + "200", {900, 900, 900}},                         // fewer entries
        {"100" + n + "200" + n + "300" + n + "400", {900, 900, 900}}, // more entries
        {"100" + n + "x" + n + "300", {100, 900, 300}},               // a bad entry is skipped
        {"", {900, 900, 900}},                                        // nothing stored
    };
    for (const auto& c : aCases) {
        common::FormPersitent::WriteText(HKCU, kKey, "fgList", c.sStored);
        forms::FlexGrid oGrid;
        oGrid.SetName("fgList");
        oGrid.SetCols(3);
        for (int i = 0; i < 3; ++i)
            oGrid.SetColWidth(i, 900);
        common::FormPersitent().LoadGrid(oGrid, HKCU, kKey);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(oGrid.ColWidth(i), c.aExpected[static_cast<std::size_t>(i)])
                << "column " << i << " of " << c.aExpected.size();
    }
}

TEST_F(FormSupportTest, FormExtStartsWithTheOriginalValues)
{
    common::FormExt oExt;
    EXPECT_EQ(oExt.FormClose, 1);
    EXPECT_EQ(oExt.SaveMode, 2);
    EXPECT_TRUE(oExt.UnloadByControlMenu);
    m_oForm.SetWidth(6120);
    oExt.SetOldSize(m_oForm);
    EXPECT_EQ(oExt.GetSizeDiff(3), 0); // no new size yet
    m_oForm.SetWidth(7120);
    oExt.SetNewSize(m_oForm);
    EXPECT_EQ(oExt.GetSizeDiff(3), 1000);
    EXPECT_EQ(oExt.GetSizeDiff(4), 0);
    oExt.CommandPressed = 5;
    oExt.DataChanged = true;
    oExt.Reset();
    EXPECT_EQ(oExt.CommandPressed, 0);
    EXPECT_FALSE(oExt.DataChanged);
    std::int32_t aTrack[2] = {0, 0};
    EXPECT_TRUE(oExt.FormMessage(36, 0, aTrack));
    EXPECT_EQ(aTrack[0], 300);
    EXPECT_FALSE(oExt.FormMessage(5, 0, aTrack));
}

TEST_F(FormSupportTest, WindowHandlerWorksOnLiveWindowsOnly)
{
    common::cWindowHandler oHandler;
    m_oForm.Show();
    const auto h = static_cast<std::int32_t>(m_oForm.hWnd());
    EXPECT_NE(oHandler.IsWindow(h), 0);
    EXPECT_NE(oHandler.SetForegroundWindow(h), 0);
    EXPECT_EQ(win::Desktop::current().foregroundWindow(), h);
    EXPECT_EQ(oHandler.SetForegroundWindow(0), 0);
    EXPECT_EQ(oHandler.LockWindowUpdate(0), 0); // 0 is no window: nothing to unlock
    win::Desktop::current().setCursorPosition(std::nullopt);
    std::int32_t x = 5, y = 5;
    oHandler.GetCursorPos(x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_THROW(oHandler.PostMessage(h, 0x10, 0, 0), std::exception);
    m_oForm.Unload();
    EXPECT_EQ(oHandler.IsWindow(h), 0);
    EXPECT_EQ(oHandler.PostMessage(h, 0x10, 0, 0), 0);
    const auto [ax, ay] = common::cWindowHandler::AbsoluteMousePoint(640, 384);
    EXPECT_EQ(ax, 32768); // 640 * 65535 / (15360 / 12), rounded
    EXPECT_EQ(ay, 26214); // 384 * 65535 / (11520 / 12)
}

} // namespace
