#include "ShellFixture.h"

#include "common/IChild.h"
#include "common/Options.h"
#include "common/modMain.h"
#include "platform/outlook/AddIn.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Explorers.h"
#include "platform/runtime/Variant.h"
#include "shell/Application.h"
#include "shell/Connect.h"
#include "shell/IExplorerToolbar.h"
#include "shell/cExplorer.h"
#include "shell/cExplorers.h"

#include <gtest/gtest.h>

namespace {

namespace ol = platform::outlook;
namespace rt = platform::runtime;
using common::modMain::G;

// A toolbar that makes its bar only when the collection is willing, as a bar the client
// refuses to make at wrapping time would.
class FakeToolbar : public shell::IExplorerToolbar, public common::ChildLink<shell::cExplorer>
{
public:
    static inline bool s_bRefuse = false;
    static inline int s_nClosed = 0;

    std::shared_ptr<ol::CommandBar>
    CreateBar(const std::shared_ptr<ol::CommandBars>& oBars) override
    {
        if (s_bRefuse || !oBars)
            return nullptr;
        m_oBar = oBars->Add("Tallyman", 1, false, true);
        return m_oBar;
    }
    std::shared_ptr<ol::CommandBar> Bar() const override { return m_oBar; }
    void Close(const std::shared_ptr<ol::CommandBars>&) override
    {
        ++s_nClosed;
        if (m_oBar)
            m_oBar->Delete();
        m_oBar.reset();
    }
    common::IChild& AsIChild() override { return *this; }

private:
    std::shared_ptr<ol::CommandBar> m_oBar;
};

class ExplorersTest : public ShellFixture
{
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        FakeToolbar::s_bRefuse = false;
        FakeToolbar::s_nClosed = 0;
        shell::SetExplorerToolbarFactory([] { return std::make_shared<FakeToolbar>(); });
    }
    void TearDown() override
    {
        rt::Variant custom;
        if (oAddIn)
            oAddIn->OnDisconnection(0, custom);
        oAddIn.reset();
        shell::SetExplorerToolbarFactory({});
        ShellFixture::TearDown();
    }
    // Connects the add-in to a client of that version with n explorers and runs the start-up.
    void Start(const std::string& sVersion, int nExplorers)
    {
        oHost = std::make_shared<ol::Application>(sVersion);
        for (int i = 0; i < nExplorers; ++i)
            oHost->Explorers()->Add();
        oAddIn.reset(TallymanCreateAddIn());
        rt::Variant custom;
        oAddIn->OnConnection(oHost, 0, rt::Variant(), custom);
        G().g_oApplication->OnStartTimer();
    }
    shell::cExplorers& Wrappers() { return *G().g_oApplication->Explorers(); }
    static std::vector<std::string> Keys(const shell::cExplorers& o)
    {
        std::vector<std::string> v;
        for (const auto& e : o.Items())
            v.push_back(e->Key());
        return v;
    }

    std::shared_ptr<ol::Application> oHost;
    std::unique_ptr<ol::IAddIn> oAddIn;
};

TEST_F(ExplorersTest, KeysAreRunningNumbersNeverReused)
{
    Start("16.0.0.0", 3);
    EXPECT_EQ(Keys(Wrappers()), (std::vector<std::string>{"0", "1", "2"}));
    oHost->Explorers()->Add();
    EXPECT_EQ(Keys(Wrappers()), (std::vector<std::string>{"0", "1", "2", "3"}));
    Wrappers().Item("1")->Item()->Close();
    EXPECT_EQ(Keys(Wrappers()), (std::vector<std::string>{"0", "2", "3"}));
    oHost->Explorers()->Add();
    EXPECT_EQ(Keys(Wrappers()), (std::vector<std::string>{"0", "2", "3", "4"}));
    EXPECT_EQ(Wrappers().Item("1"), nullptr);
    EXPECT_EQ(Wrappers().Item("4")->Parent(), &Wrappers());
}

TEST_F(ExplorersTest, RemoveLeavesAnEntryThatIsAnotherWrapper)
{
    Start("16.0.0.0", 2);
    auto oSecond = Wrappers().Item("1");
    Wrappers().Remove(0, oSecond);
    Wrappers().Remove(1, nullptr);
    EXPECT_EQ(Wrappers().Count(), 2);
    EXPECT_NE(oSecond->Item(), nullptr);
    EXPECT_EQ(oSecond->Parent(), &Wrappers());
}

TEST_F(ExplorersTest, RibbonVersionsMakeNoToolbarAndLastCloseShutsDown)
{
    Start("16.0.0.0", 1);
    auto oExplorer = oHost->Explorers()->Item(1);
    EXPECT_EQ(Wrappers().Item("0")->Toolbar(), nullptr);
    EXPECT_EQ(oExplorer->CommandBars()->Count(), 0);
    oExplorer->Close();
    EXPECT_EQ(G().g_oApplication, nullptr);
    EXPECT_EQ(G().g_oOutlookApp, nullptr);
}

TEST_F(ExplorersTest, OldVersionsGetTheToolbarAtWrappingOrFirstActivation)
{
    FakeToolbar::s_bRefuse = true;
    Start("11.0.0.0", 2);
    auto oFirst = oHost->Explorers()->Item(1);
    EXPECT_EQ(Wrappers().Item("0")->Toolbar()->Bar(), nullptr);
    FakeToolbar::s_bRefuse = false;
    oFirst->Activate();
    ASSERT_NE(Wrappers().Item("0")->Toolbar()->Bar(), nullptr);
    EXPECT_EQ(oFirst->CommandBars()->Count(), 1);

    FakeToolbar::s_bRefuse = true;
    auto oSecond = oHost->Explorers()->Item(2);
    oSecond->Activate();
    FakeToolbar::s_bRefuse = false;
    oSecond->Activate(); // only the first activation tries again
    EXPECT_EQ(Wrappers().Item("1")->Toolbar()->Bar(), nullptr);
}

TEST_F(ExplorersTest, ShowingOrHidingTheToolbarWritesTheSettingOncePerChange)
{
    Start("11.0.0.0", 1);
    auto oBars = oHost->Explorers()->Item(1)->CommandBars();
    auto& oOptions = *G().g_oApplication->AddinOptions();
    const bool bInitial = oOptions.ShowExplorerCommandbar();
    oBars->UserSetVisible("Tallyman", !bInitial);
    EXPECT_EQ(oOptions.ShowExplorerCommandbar(), !bInitial);
    common::Options oReread;
    oReread.SetDefaults();
    oReread.Load();
    EXPECT_EQ(oReread.ShowExplorerCommandbar(), !bInitial);
    oBars->RaiseUpdate(); // same visibility: nothing changes
    EXPECT_EQ(oOptions.ShowExplorerCommandbar(), !bInitial);
}

TEST_F(ExplorersTest, SwitchingTheAddInOffRemovesEveryToolbarAndKeepsTheClient)
{
    Start("11.0.0.0", 2);
    EXPECT_EQ(FakeToolbar::s_nClosed, 0);
    rt::Variant custom;
    oAddIn->OnDisconnection(1, custom);
    EXPECT_EQ(FakeToolbar::s_nClosed, 2);
    EXPECT_EQ(oHost->Explorers()->Count(), 2);
    for (const auto& oExplorer : oHost->Explorers()->All())
        EXPECT_EQ(oExplorer->CommandBars()->Count(), 0);
}

TEST_F(ExplorersTest, HostShutdownAlsoDropsTheToolbarsWithTheWrappers)
{
    Start("11.0.0.0", 1);
    rt::Variant custom;
    oAddIn->OnDisconnection(0, custom);
    EXPECT_EQ(FakeToolbar::s_nClosed, 1);
    EXPECT_EQ(oHost->Explorers()->Item(1)->CommandBars()->Count(), 0);
}

} // namespace
