#include "platform/forms/Driver.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::forms;
using platform::runtime::Date;

class ControlFeaturesTest : public ::testing::Test
{
protected:
    void SetUp() override { Driver::current().Reset(); }
    void TearDown() override { Driver::current().Reset(); }
};

TEST_F(ControlFeaturesTest, DatePickerRaisesDropDownChangeAndCloseUp)
{
    DTPicker picker("dtpFrom");
    std::vector<std::string> events;
    picker.OnDropDown = [&] { events.push_back("DropDown"); };
    picker.OnChange = [&] { events.push_back("Change"); };
    picker.OnCloseUp = [&] { events.push_back("CloseUp"); };
    picker.UserPick(Date(45000));
    EXPECT_EQ(events, (std::vector<std::string>{"DropDown", "Change", "CloseUp"}));
    EXPECT_DOUBLE_EQ(picker.Value().Serial(), 45000);
    EXPECT_FALSE(picker.IsDroppedDown());

    events.clear();
    picker.UserDropDown();
    picker.UserDropDown(); // already open: no second event
    picker.UserCloseUp();
    picker.UserCloseUp();
    EXPECT_EQ(events, (std::vector<std::string>{"DropDown", "CloseUp"}));

    events.clear();
    picker.SetEnabled(false);
    picker.UserPick(Date(45001));
    EXPECT_TRUE(events.empty());
    EXPECT_DOUBLE_EQ(picker.Value().Serial(), 45000);

    picker.Refresh();
    picker.Refresh();
    EXPECT_EQ(picker.RefreshCount(), 2);
}

TEST_F(ControlFeaturesTest, DatePickerSettingsStayInTheirRange)
{
    DTPicker picker("dtp");
    EXPECT_EQ(picker.FirstDayOfWeek(), -1);
    for (int day : {-1, 0, 6}) {
        picker.SetFirstDayOfWeek(day);
        EXPECT_EQ(picker.FirstDayOfWeek(), day);
    }
    EXPECT_THROW(picker.SetFirstDayOfWeek(7), platform::runtime::Error);
    EXPECT_THROW(picker.SetFirstDayOfWeek(-2), platform::runtime::Error);
    picker.SetFormat(1);
    EXPECT_EQ(picker.Format(), 1);
    EXPECT_THROW(picker.SetFormat(4), platform::runtime::Error);
    EXPECT_EQ(picker.FirstDayOfWeek(), 6);
}

TEST_F(ControlFeaturesTest, LabelsAndImagesRaiseClickOnlyWhileEnabled)
{
    Label label("lblCompany");
    Image image("img");
    int clicks = 0;
    label.OnClick = [&] { ++clicks; };
    image.OnClick = [&] { ++clicks; };
    label.Click();
    image.Click();
    EXPECT_EQ(clicks, 2);
    label.SetEnabled(false);
    image.SetEnabled(false);
    label.Click();
    image.Click();
    EXPECT_EQ(clicks, 2);

    ComboBox combo("cboTaskStatus");
    EXPECT_EQ(combo.BackColor(), 0xFFFFFFu);
    combo.SetBackColor(0xEFEFEF);
    EXPECT_EQ(combo.BackColor(), 0xEFEFEFu);
}

TEST_F(ControlFeaturesTest, ControlsKnowTheirContainer)
{
    Form form("frmMain");
    auto picture = form.Add<PictureBox>("picGrid");
    auto frame = form.Add<Frame>("fra");
    auto text = form.Add<TextBox>("txt");
    EXPECT_EQ(text->Container(), &form);
    text->SetContainer(picture.get());
    EXPECT_EQ(text->Container(), picture.get());
    text->SetContainer(frame.get());
    EXPECT_EQ(text->Container(), frame.get());
    text->SetContainer(nullptr);
    EXPECT_EQ(text->Container(), &form);
    EXPECT_THROW(text->SetContainer(text.get()), platform::runtime::Error);
    Form other("frmOther");
    auto stranger = other.Add<Frame>("fra");
    EXPECT_THROW(text->SetContainer(stranger.get()), platform::runtime::Error);
    TextBox loose("loose");
    EXPECT_EQ(loose.Container(), nullptr);
}

class PopupForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Driver::current().Reset();
        bar = form.Add<MenuBar>("MenuBar1");
        bar->OnItemClick = [this](MenuItem& item) { clicks.push_back(item.Key()); };
        context = bar->Items().Add("Context", "ContextOlItems");
        context->SetVisible(false); // a hidden menu still pops up
        bar->Items().Add("Open", "openitem", context);
        auto off = bar->Items().Add("Print", "printitem", context);
        off->SetEnabled(false);
        other = bar->Items().Add("&Report", "mnuFile");
        bar->Items().Add("Close", "exit", other);
    }
    void TearDown() override { Driver::current().Reset(); }

    Form form{"frmMain"};
    std::shared_ptr<MenuBar> bar;
    std::shared_ptr<MenuItem> context;
    std::shared_ptr<MenuItem> other;
    std::vector<std::string> clicks;
};

TEST_F(PopupForm, PickedEntryIsClickedAndThePositionRecorded)
{
    auto& driver = Driver::current();
    driver.QueuePopupAnswer("openitem");
    form.PopupMenu(context, 0, 120.5, 300);
    EXPECT_EQ(clicks, std::vector<std::string>{"openitem"});
    ASSERT_EQ(driver.PopupMenus().size(), 1u);
    EXPECT_EQ(driver.PopupMenus()[0].menuKey, "ContextOlItems");
    EXPECT_DOUBLE_EQ(driver.PopupMenus()[0].x, 120.5);
    EXPECT_DOUBLE_EQ(driver.PopupMenus()[0].y, 300);

    // Dismissed (nobody answers, or an empty pick), or a disabled entry: no click.
    form.PopupMenu(context);
    driver.QueuePopupAnswer("printitem");
    form.PopupMenu(context);
    EXPECT_EQ(clicks.size(), 1u);

    // An entry of another menu does not answer this one.
    driver.QueuePopupAnswer("exit");
    EXPECT_THROW(form.PopupMenu(context), platform::runtime::Error);
    Form stranger("frmOther");
    EXPECT_THROW(stranger.PopupMenu(context), platform::runtime::Error);
}

} // namespace
