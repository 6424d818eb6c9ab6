#include "dialogs/frmText.h"
#include "tests/host/ByteClasses.h"

#include "actions/ActionSave.h"
#include "common/modLanguage.h"
#include "platform/forms/Driver.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

namespace {

namespace pf = platform::forms;
using dialogs::frmText;

class frmTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
        common::modLanguage::ResetLanguageForTests();
        common::modLanguage::SetLanguageID(1031);
        pf::Driver::current().Reset();
    }
    void TearDown() override { pf::Driver::current().Reset(); }

    struct Shown
    {
        std::string header;
        std::string footer;
    };

    /// Opens the editor over the stored texts as the action dialog does, records what the
    /// boxes showed, then runs the answer.
    Shown Run(const std::string& sHeader, const std::string& sFooter,
              const std::function<void(frmText&)>& answer)
    {
        Shown oShown;
        m_oEditor = std::make_unique<frmText>();
        m_oEditor->SaveAction = &m_oSave;
        m_oEditor->Header = sHeader;
        m_oEditor->Footer = sFooter;
        pf::Driver::current().QueueModal("frmText", [&](pf::Form& oForm) {
            auto& oEditor = dynamic_cast<frmText&>(oForm);
            oShown = {oEditor.txt(0).Text(), oEditor.txt(1).Text()};
            answer(oEditor);
        });
        m_oEditor->Show(pf::ShowStyle::Modal);
        return oShown;
    }

    actions::ActionSave m_oSave;
    std::unique_ptr<frmText> m_oEditor;
};

TEST_F(frmTextTest, LineBreaksShowAsLinesAndComeBackAsMarkers)
{
    struct Case
    {
        const char* stored;
        const char* shown;
        const char* typed; // replaces the shown text when not null
        const char* back;
    };
    const Case aCases[] = {
        {"Monat<br>Bericht", "Monat\r\nBericht", nullptr, "Monat<br>Bericht"},
        {"A<BR>B<br />C<BR />D", "A\r\nB\r\nC\r\nD", nullptr, "A<br>B<br>C<br>D"},
        {"", "", "eins\nzwei\rdrei\r\nvier", "eins<br>zwei<br>drei<br>vier"},
        {"ohne", "ohne", nullptr, "ohne"},
    };
    for (const auto& c : aCases) {
        const auto oShown = Run(c.stored, c.stored, [&](frmText& oEditor) {
            if (c.typed) {
                oEditor.txt(0).SetText(c.typed);
                oEditor.txt(1).SetText(c.typed);
            }
            oEditor.cmdOK().Click();
        });
        EXPECT_EQ(oShown.header, c.shown) << c.stored;
        EXPECT_EQ(oShown.footer, c.shown) << c.stored;
        ASSERT_TRUE(m_oEditor->Confirmed) << c.stored;
        EXPECT_EQ(m_oEditor->Header, c.back) << c.stored;
        EXPECT_EQ(m_oEditor->Footer, c.back) << c.stored;
    }
}

// Each byte class the hosts refuse, pasted into the header or the footer, is refused at OK: the
// page would print it. Line breaks of any kind stay text (see above).
TEST_F(frmTextTest, OKRefusesAControlCharacterInTheHeaderOrFooter)
{
    for (const auto& bad : host_test::BadTexts())
        for (int nBox = 0; nBox < 2; ++nBox) {
            if (bad.sBytes == "\r")
                continue; // a line break
            SCOPED_TRACE(std::to_string(nBox) + " " + host_test::NameOf(bad));
            pf::Driver::current().Reset();
            bool bStayed = false;
            Run("Kopf", "Fuß", [&](frmText& oEditor) {
                oEditor.txt(nBox).SetText("Zeile 1\r\nX" + bad.sBytes + "Y");
                oEditor.cmdOK().Click();
                bStayed = oEditor.IsLoaded();
                if (bStayed)
                    oEditor.cmdCancel().Click();
            });
            EXPECT_TRUE(bStayed);
            EXPECT_FALSE(m_oEditor->Confirmed);
            EXPECT_EQ(m_oEditor->Header, "Kopf");
            EXPECT_EQ(m_oEditor->Footer, "Fuß");
            const auto& vBoxes = pf::Driver::current().MessageBoxes();
            ASSERT_EQ(vBoxes.size(), 1u);
            EXPECT_NE(vBoxes[0].prompt.find(" " + host_test::NameOf(bad) + ","), std::string::npos)
                << vBoxes[0].prompt;
        }
}

TEST_F(frmTextTest, WorkbookTextsTakeAtMostTwoSemicolons)
{
    struct Case
    {
        std::int32_t format;
        const char* text;
        bool accepted;
    };
    const Case aCases[] = {
        {2, "links;mitte;rechts", true}, {4, "a;b;c;d", false},
        {5, "a;b;c;d", false},           {4, "a;b", true},
        {0, "a;b;c;d;e", true},          {1, "a;b;c;d", true},
    };
    for (const auto& c : aCases) {
        m_oSave.SetReportFormat(c.format);
        pf::Driver::current().Reset();
        for (int nBox = 0; nBox < 2; ++nBox) {
            Run("", "", [&](frmText& oEditor) {
                oEditor.txt(nBox).SetText(c.text);
                oEditor.cmdOK().Click();
                if (!c.accepted)
                    oEditor.cmdCancel().Click();
            });
            EXPECT_EQ(m_oEditor->Confirmed, c.accepted) << c.format << " " << c.text;
        }
        const auto& aBoxes = pf::Driver::current().MessageBoxes();
        ASSERT_EQ(aBoxes.size(), c.accepted ? 0u : 2u) << c.format << " " << c.text;
        for (const auto& oBox : aBoxes) {
            EXPECT_NE(oBox.prompt.find("maximal zwei Semikolon"), std::string::npos);
            EXPECT_EQ(oBox.buttons, 48);
        }
    }
}

TEST_F(frmTextTest, PlaceholderGoesToTheEndOfTheBoxLastFocused)
{
    Run("Kopf", "Fuß", [&](frmText& oEditor) {
        // Without a placeholder chosen the button does nothing.
        oEditor.cmdAddPlaceholder().Click();
        oEditor.cboPlaceholder().SetListIndex(4);
        oEditor.cmdAddPlaceholder().Click(); // the header box has the focus at the start
        oEditor.txt(1).SetFocus();
        oEditor.txt(1).SetSelStart(0);
        oEditor.cmdAddPlaceholder().Click();
        oEditor.cboPlaceholder().SetListIndex(0);
        oEditor.cmdAddPlaceholder().Click();
        oEditor.cmdOK().Click();
    });
    EXPECT_EQ(m_oEditor->Header, "Kopf[@Datum]");
    EXPECT_EQ(m_oEditor->Footer, "Fuß[@Datum][@Zeitraum]");
}

TEST_F(frmTextTest, ClearAllEmptiesBothAndCancelKeepsTheTexts)
{
    Run("K", "F", [](frmText& oEditor) {
        oEditor.cmdDeleteAll().Click();
        oEditor.cmdOK().Click();
    });
    EXPECT_TRUE(m_oEditor->Confirmed);
    EXPECT_EQ(m_oEditor->Header, "");
    EXPECT_EQ(m_oEditor->Footer, "");

    for (bool bCloseBox : {false, true}) {
        Run("K", "F", [&](frmText& oEditor) {
            oEditor.txt(0).SetText("anders");
            if (bCloseBox)
                oEditor.UserClose();
            else
                oEditor.cmdCancel().Click();
        });
        EXPECT_FALSE(m_oEditor->Confirmed);
    }
}

TEST_F(frmTextTest, CaptionsComeFromTheEditorsOwnTexts)
{
    common::modLanguage::SetLanguageID(1033);
    Run("", "", [](frmText& oEditor) {
        EXPECT_EQ(oEditor.Caption(), " Header/Footer");
        EXPECT_EQ(oEditor.FindControl("lbl(1)")->Caption(), "&Footer");
        EXPECT_EQ(oEditor.cmdDeleteAll().Caption(), "&Clear all");
        ASSERT_EQ(oEditor.cboPlaceholder().ListCount(), 6);
        EXPECT_EQ(oEditor.cboPlaceholder().List(3), "User Name");
        oEditor.cmdCancel().Click();
    });
}

} // namespace
