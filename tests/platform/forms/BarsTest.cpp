#include "platform/forms/ImageList.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/ToolBar.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace forms = platform::forms;
namespace rt = platform::runtime;

namespace {

int ErrorNumberOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const rt::Error& e) {
        return e.Number();
    }
    return 0;
}

TEST(ImageListTest, KeysMatchWithoutCaseAndAreUnique)
{
    forms::ImageList images("imlBars");
    auto select = images.Add("select");
    images.Add("refresh");
    EXPECT_EQ(images.Count(), 2);
    EXPECT_EQ(images.Item("SELECT"), select);
    EXPECT_EQ(images.Item(1), select);
    EXPECT_EQ(select->Width(), 16);
    EXPECT_EQ(select->Height(), 16);
    EXPECT_TRUE(images.Exists("Refresh"));
    EXPECT_FALSE(images.Exists("print"));
    EXPECT_EQ(ErrorNumberOf([&] { images.Add("Select"); }), 35602);
    EXPECT_EQ(ErrorNumberOf([&] { images.Add(""); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { images.Item("print"); }), 35601);
    EXPECT_EQ(ErrorNumberOf([&] { images.Item(3); }), 35600);
    EXPECT_EQ(ErrorNumberOf([&] { images.Item(0); }), 35600);
}

class MenuBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bar.Items().Clear();
        bar.SetEnabled(true);
        bar.OnItemClick = [this](forms::MenuItem& item) { clicks.push_back(item.Key()); };
        file = bar.Items().Add("&Report", "mnuFile");
        select = bar.Items().Add("Select &Folder", "select", file);
        bar.Items().Add("-", "", file);
        exitItem = bar.Items().Add("&Close", "exit", file);
        popup = bar.Items().CreatePopupMenu("ContextOlItems");
        bar.Items().Add("Open", "openitem_context", popup);
        bar.Items().Add("-", "", popup);
        bar.Items().Add("Cancel", "cancel", popup);
    }

    forms::MenuBar bar{"MenuBar1"};
    std::vector<std::string> clicks;
    std::shared_ptr<forms::MenuItem> file, select, exitItem, popup;
};

TEST_F(MenuBarTest, BuildsNestedMenusInOrder)
{
    ASSERT_EQ(bar.Items().TopLevel().size(), 1u);
    EXPECT_EQ(bar.Items().TopLevel()[0], file);
    ASSERT_EQ(file->Children().size(), 3u);
    EXPECT_EQ(file->Children()[0], select);
    EXPECT_TRUE(file->Children()[1]->IsSeparator());
    EXPECT_EQ(select->Parent(), file.get());
    EXPECT_EQ(bar.Items().Item("EXIT"), exitItem);
    EXPECT_EQ(popup->Children().size(), 3u);
    EXPECT_TRUE(popup->IsPopup());
}

TEST_F(MenuBarTest, RejectsBadItems)
{
    EXPECT_EQ(ErrorNumberOf([&] { bar.Items().Add("Again", "Select", file); }), 35602);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Items().Add("No key", "", file); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Items().Item("print"); }), 35601);
    forms::MenuBar other("Other");
    auto foreign = other.Items().Add("Menu", "foreign");
    EXPECT_EQ(ErrorNumberOf([&] { bar.Items().Add("Item", "item", foreign); }), 5);
    EXPECT_EQ(ErrorNumberOf([&] { bar.PopupMenu(file, 1, 2); }), 5);
}

TEST_F(MenuBarTest, ClickReachesHandlerOnlyForUsableItems)
{
    struct Case
    {
        std::string what;
        std::function<void()> arrange;
        std::string key;
        bool reaches;
    };
    const std::vector<Case> cases = {
        {"enabled item", [] {}, "select", true},
        {"key in other case", [] {}, "SELECT", true},
        {"disabled item", [&] { select->SetEnabled(false); }, "select", false},
        {"hidden item", [&] { select->SetVisible(false); }, "select", false},
        {"disabled menu", [&] { file->SetEnabled(false); }, "exit", false},
        {"disabled bar", [&] { bar.SetEnabled(false); }, "exit", false},
        {"menu with items", [] {}, "mnuFile", false},
        {"unknown key", [] {}, "print", false},
        {"popup item while closed", [] {}, "cancel", false},
    };
    for (const auto& c : cases) {
        SetUp();
        clicks.clear();
        c.arrange();
        EXPECT_EQ(bar.Click(c.key), c.reaches) << c.what;
        EXPECT_EQ(clicks.size(), c.reaches ? 1u : 0u) << c.what;
    }
}

TEST_F(MenuBarTest, PopupItemClickClosesThePopup)
{
    bar.PopupMenu(popup, 300, 200);
    EXPECT_EQ(bar.OpenPopup(), popup);
    EXPECT_EQ(bar.PopupX(), 300);
    EXPECT_EQ(bar.PopupY(), 200);
    EXPECT_TRUE(bar.Click("openitem_context"));
    EXPECT_EQ(bar.OpenPopup(), nullptr);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], "openitem_context");
}

TEST(ToolBarTest, ButtonsSeparatorsAndClicks)
{
    auto images = std::make_shared<forms::ImageList>("imlBars");
    auto picture = images->Add("select");
    forms::ToolBar bar("Coolbar1");
    bar.SetImageList(images);
    std::vector<std::string> clicks;
    bar.OnButtonClick = [&](const std::string& key) { clicks.push_back(key); };
    auto select = bar.AddButton("select", picture, "Select Outlook folder");
    bar.AddSeparator();
    bar.AddButton("refresh", nullptr, "Refresh view");

    ASSERT_EQ(bar.Buttons().size(), 3u);
    EXPECT_EQ(bar.Buttons()[1]->Kind(), forms::ButtonKind::Separator);
    EXPECT_EQ(bar.Button("SELECT"), select);
    EXPECT_EQ(select->Picture(), picture);
    EXPECT_EQ(select->ToolTipText(), "Select Outlook folder");
    EXPECT_EQ(bar.ButtonsWidth(),
              (2 * forms::ToolBar::kButtonPixels + forms::ToolBar::kSeparatorPixels) * 15);
    EXPECT_EQ(ErrorNumberOf([&] { bar.AddButton("Refresh", nullptr, ""); }), 35602);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Button("print"); }), 35601);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Button(""); }), 35601);

    EXPECT_TRUE(bar.Click("Refresh"));
    select->SetEnabled(false);
    EXPECT_FALSE(bar.Click("select"));
    select->SetEnabled(true);
    bar.SetEnabled(false);
    EXPECT_FALSE(bar.Click("select"));
    bar.SetEnabled(true);
    EXPECT_FALSE(bar.Click(""));
    EXPECT_TRUE(bar.Click("select"));
    EXPECT_EQ(clicks, (std::vector<std::string>{"refresh", "select"}));
}

} // namespace
