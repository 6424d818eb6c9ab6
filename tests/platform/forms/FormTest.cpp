#include "platform/forms/Form.h"
#include "platform/forms/Driver.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/win/Desktop.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::forms;

// A form that records its events and can be told to refuse closing.
class RecordingForm : public Form
{
public:
    using Form::Form;
    std::vector<std::string> vEvents;
    int nRefuseQueryUnload = 0;
    int nLastUnloadMode = -1;

protected:
    void Form_Load() override { vEvents.push_back("Load"); }
    void Form_Activate() override { vEvents.push_back("Activate"); }
    void Form_Resize() override { vEvents.push_back("Resize"); }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override
    {
        vEvents.push_back("QueryUnload");
        nLastUnloadMode = UnloadMode;
        if (nRefuseQueryUnload > 0) {
            --nRefuseQueryUnload;
            Cancel = 1;
        }
    }
    void Form_Unload(int&) override { vEvents.push_back("Unload"); }
    void Form_KeyDown(int& KeyCode, int) override
    {
        vEvents.push_back("KeyDown " + std::to_string(KeyCode));
        if (KeyCode == 112)
            KeyCode = 0;
    }
};

class FormTest : public ::testing::Test
{
protected:
    void TearDown() override { Driver::current().Reset(); }
};

TEST_F(FormTest, LifeCycleRaisesItsEventsInOrder)
{
    RecordingForm oForm("frmTest");
    EXPECT_FALSE(oForm.IsLoaded());
    EXPECT_EQ(oForm.hWnd(), 0);
    oForm.Show();
    EXPECT_TRUE(oForm.IsLoaded());
    EXPECT_TRUE(oForm.Visible());
    EXPECT_TRUE(platform::win::Desktop::current().isWindow(static_cast<int>(oForm.hWnd())));
    oForm.SetWidth(9000);
    oForm.Show(); // shown again: loaded once only
    const auto hWnd = oForm.hWnd();
    EXPECT_TRUE(oForm.Unload());
    EXPECT_FALSE(platform::win::Desktop::current().isWindow(static_cast<int>(hWnd)));
    EXPECT_EQ(oForm.vEvents, (std::vector<std::string>{"Load", "Activate", "Resize", "Activate",
                                                       "QueryUnload", "Unload"}));
}

TEST_F(FormTest, QueryUnloadCanKeepTheFormOpen)
{
    RecordingForm oForm("frmTest");
    oForm.Show();
    oForm.nRefuseQueryUnload = 1;
    EXPECT_FALSE(oForm.UserClose());
    EXPECT_EQ(oForm.nLastUnloadMode, 0);
    EXPECT_TRUE(oForm.IsLoaded());
    EXPECT_TRUE(oForm.Unload());
    EXPECT_EQ(oForm.nLastUnloadMode, 1);
}

TEST_F(FormTest, ModalShowReturnsOnceTheAnswerHidesTheForm)
{
    RecordingForm oForm("frmDialog");
    auto oOk = oForm.Add<CommandButton>("cmdOK");
    bool bClicked = false;
    oOk->OnClick = [&] {
        bClicked = true;
        oForm.Hide();
    };
    Driver::current().QueueModal("FRMDIALOG", [&](Form& oShown) {
        EXPECT_EQ(&oShown, &oForm);
        EXPECT_TRUE(oShown.IsModal());
        std::dynamic_pointer_cast<CommandButton>(oShown.FindControl("cmdok"))->Click();
    });
    oForm.Show(ShowStyle::Modal);
    EXPECT_TRUE(bClicked);
    EXPECT_FALSE(oForm.Visible());
    EXPECT_TRUE(oForm.IsLoaded()); // hidden, not unloaded
    EXPECT_FALSE(oForm.IsModal());
}

TEST_F(FormTest, ModalFormLeftOpenIsClosedAsByItsCloseButton)
{
    RecordingForm oForm("frmDialog");
    Driver::current().QueueModal("frmDialog", [](Form&) {});
    oForm.Show(ShowStyle::Modal);
    EXPECT_FALSE(oForm.IsLoaded());
    EXPECT_EQ(oForm.nLastUnloadMode, 0);
}

TEST_F(FormTest, ModalFormWithNoOneToAnswerRaisesInsteadOfHanging)
{
    RecordingForm oForm("frmDialog");
    EXPECT_THROW(oForm.Show(ShowStyle::Modal), platform::runtime::Error);
    EXPECT_FALSE(oForm.IsModal());
    bool bRunner = false;
    Driver::current().SetModalRunner([&](Form& f) {
        bRunner = true;
        f.Hide();
    });
    oForm.Show(ShowStyle::Modal);
    EXPECT_TRUE(bRunner);
}

TEST_F(FormTest, KeyPreviewLetsTheFormSeeKeysFirst)
{
    RecordingForm oForm("frmTest");
    auto oBox = oForm.Add<TextBox>("txtFind");
    std::vector<int> vBoxKeys;
    oBox->OnKeyDown = [&](int& nKey, int) { vBoxKeys.push_back(nKey); };
    oBox->UserKeyDown(13);
    oForm.SetKeyPreview(true);
    oBox->UserKeyDown(13);
    oBox->UserKeyDown(112); // F1 swallowed by the form
    EXPECT_EQ(vBoxKeys, (std::vector<int>{13, 13}));
    EXPECT_EQ(oForm.vEvents, (std::vector<std::string>{"KeyDown 13", "KeyDown 112"}));
}

TEST_F(FormTest, ScaleAndControlsFollowTheOriginalRules)
{
    Form oForm("frmTest");
    oForm.SetWidth(6120);
    EXPECT_EQ(oForm.ScaleWidth(), 6000);
    EXPECT_DOUBLE_EQ(Form::ScaleX(10, ScaleMode::Pixels, ScaleMode::Twips), 150);
    EXPECT_DOUBLE_EQ(Form::ScaleY(1440, ScaleMode::Twips, ScaleMode::Inches), 1);
    oForm.Add<Label>("lblOne");
    EXPECT_THROW(oForm.Add<Label>("LBLONE"), platform::runtime::Error);
    EXPECT_EQ(oForm.FindControl("lblone")->Parent(), &oForm);
    EXPECT_EQ(oForm.FindControl("missing"), nullptr);
}

TEST_F(FormTest, MessageBoxesGetQueuedAnswersAndQuestionsAreNeverDefaulted)
{
    auto& oDriver = Driver::current();
    oDriver.QueueMsgBoxAnswer(vbNo);
    EXPECT_EQ(MsgBox("Speichern?", 36, "Tallyman"), vbNo);
    EXPECT_EQ(MsgBox("Fehler", 48, "Tallyman"), vbOK);
    // Nobody answers a question on the person's behalf, whatever its default button.
    EXPECT_THROW(MsgBox("Weiter?", 4 + 256), platform::runtime::Error);
    EXPECT_THROW(MsgBox("Nochmal?", 5), platform::runtime::Error);
    EXPECT_EQ(Driver::DefaultAnswer(4 + 256), vbNo); // second button is the default
    EXPECT_EQ(Driver::DefaultAnswer(5), vbRetry);
    ASSERT_EQ(oDriver.MessageBoxes().size(), 2u);
    EXPECT_EQ(oDriver.MessageBoxes()[0].prompt, "Speichern?");
    EXPECT_EQ(oDriver.MessageBoxes()[0].buttons, 36);
    EXPECT_EQ(oDriver.MessageBoxes()[1].title, "Tallyman");
    oDriver.SetMsgBoxRunner(
        [](const MessageBoxRecord& r) { return r.prompt == "Ja?" ? vbYes : vbNo; });
    EXPECT_EQ(MsgBox("Ja?", 4), vbYes);
}

} // namespace
