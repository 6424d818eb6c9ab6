#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/win/MessageLoop.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace platform::forms;

TEST(ControlsTest, CaptionsExistOnlyWhereTheControlHasOne)
{
    Label oLabel("lbl");
    oLabel.SetCaption("Vorlage");
    EXPECT_EQ(oLabel.Caption(), "Vorlage");
    TextBox oText("txt");
    EXPECT_FALSE(oText.HasCaption());
    try {
        oText.SetCaption("x");
        ADD_FAILURE();
    } catch (const platform::runtime::Error& e) {
        EXPECT_EQ(e.Number(), 438);
    }
}

TEST(ControlsTest, ComboTextSelectsTheEntryAndRaisesClick)
{
    ComboBox oCombo("cboTemplates");
    int nClicks = 0;
    oCombo.OnClick = [&] { ++nClicks; };
    for (const char* s : {"(Standard)", "Aufgaben", "Journal"})
        oCombo.AddItem(s);
    oCombo.SetText("aufgaben");
    EXPECT_EQ(oCombo.ListIndex(), 1);
    EXPECT_EQ(oCombo.Text(), "Aufgaben");
    oCombo.SetText("Aufgaben"); // the same entry again still clicks
    EXPECT_EQ(nClicks, 2);
    oCombo.SetListIndex(1);
    EXPECT_EQ(nClicks, 2); // no change, no click
    oCombo.AddItem("Anfang", 0);
    EXPECT_EQ(oCombo.ListIndex(), 2);
    oCombo.SetText("nicht da");
    EXPECT_EQ(oCombo.ListIndex(), -1);
    EXPECT_EQ(oCombo.Text(), "nicht da");
    EXPECT_THROW(oCombo.List(9), platform::runtime::Error);
    oCombo.Clear();
    EXPECT_EQ(oCombo.ListCount(), 0);
}

TEST(ControlsTest, OptionButtonsOfOneGroupExcludeEachOther)
{
    Form oForm("frm");
    auto a = oForm.Add<OptionButton>("optA");
    auto b = oForm.Add<OptionButton>("optB");
    auto c = oForm.Add<OptionButton>("optC");
    c->Group = "other";
    a->SetValue(true);
    c->SetValue(true);
    b->SetValue(true);
    EXPECT_FALSE(a->Value());
    EXPECT_TRUE(b->Value());
    EXPECT_TRUE(c->Value());
}

TEST(ControlsTest, TextBoxSelectionStaysInsideItsText)
{
    TextBox oBox("txt");
    int nChanges = 0;
    oBox.OnChange = [&] { ++nChanges; };
    oBox.SetText("Müller");
    oBox.SetText("Müller");
    EXPECT_EQ(nChanges, 1);
    oBox.SetSelStart(0);
    oBox.SetSelLength(100);
    EXPECT_EQ(oBox.SelLength(), 6); // characters, not bytes
    oBox.SetVisible(false);
    EXPECT_THROW(oBox.SetFocus(), platform::runtime::Error);
}

TEST(ControlsTest, ProgressBarRefusesValuesOutsideItsRange)
{
    ProgressBar oBar("prg");
    oBar.SetMax(10);
    oBar.SetValue(10);
    EXPECT_EQ(oBar.Value(), 10);
    EXPECT_THROW(oBar.SetValue(11), platform::runtime::Error);
    CheckBox oCheck("chk");
    EXPECT_THROW(oCheck.SetValue(3), platform::runtime::Error);
}

TEST(ControlsTest, TimerFiresFromTheMessageLoopWhileEnabled)
{
    Timer oTimer("tmr");
    int nTicks = 0;
    oTimer.OnTimer = [&] {
        ++nTicks;
        oTimer.SetTimerEnabled(false);
    };
    oTimer.SetInterval(1);
    EXPECT_EQ(nTicks, 0); // never on its own thread
    for (int i = 0; i < 200 && nTicks == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        platform::win::MessageLoop::main().doEvents();
    }
    EXPECT_EQ(nTicks, 1);
}

} // namespace
