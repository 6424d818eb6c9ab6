#include "dialogs/frmTemplate.h"
#include "dialogs/frmTemplateDetail.h"

#include "common/modLanguage.h"

#include "TemplateDialogsFixture.h"
#include "tests/host/ByteClasses.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/ReplacingFile.h"
#include "views/cMapiProps.h"

#include <gtest/gtest.h>

#include <functional>

namespace dialogs::test {
namespace {

namespace pf = platform::forms;
using Strings = std::vector<std::string>;

class frmTemplateTest : public TemplateDialogsFixture
{
protected:
    using Answer = std::function<void(frmTemplate&)>;
    using EditorAnswer = std::function<void(frmTemplateDetail&)>;

    /// Runs the manager over the templates, answering it and then each editor it opens in turn.
    std::shared_ptr<views::ViewSettings> Run(const std::string& sCurrent, const Answer& answer,
                                             std::vector<EditorAnswer> vEditors = {})
    {
        for (auto& oEditorAnswer : vEditors)
            pf::Driver::current().QueueModal("frmTemplateDetail", [oEditorAnswer](pf::Form& oForm) {
                oEditorAnswer(dynamic_cast<frmTemplateDetail&>(oForm));
            });
        pf::Driver::current().QueueModal(
            "frmTemplate", [&](pf::Form& oForm) { answer(dynamic_cast<frmTemplate&>(oForm)); });
        frmTemplate oManager(m_oServices);
        return oManager.ShowForm(m_oTemplates, nullptr, sCurrent);
    }

    static Strings Rows(const frmTemplate& oManager)
    {
        Strings v;
        for (int r = 0; r < oManager.fg().Rows(); ++r)
            v.push_back(oManager.fg().TextMatrix(r, 0));
        return v;
    }
    static void SelectRows(frmTemplate& oManager, const std::vector<int>& vRows)
    {
        auto& fg = oManager.fg();
        fg.UserClick(vRows.front(), 0, 0);
        for (std::size_t i = 1; i < vRows.size(); ++i)
            fg.UserClick(vRows[i], 0, 2);
    }
    static EditorAnswer Named(const std::string& sName)
    {
        return [sName](frmTemplateDetail& oEditor) {
            oEditor.txtNew().SetText(sName);
            oEditor.cmdOK().Click();
        };
    }
};

TEST_F(frmTemplateTest, NewTemplateGetsFoldersAndViewAndIsSavedAtTheEnd)
{
    bool bOkAtStart = true;
    const auto oChosen =
        Run("aufgaben",
            [&](frmTemplate& oManager) {
                EXPECT_EQ(oManager.fg().Row(), 1); // the caller's template, letter case ignored
                EXPECT_EQ(oManager.Caption(), " Berichtvorlagen");
                oManager.cmdNew().Click();
                EXPECT_EQ(Rows(oManager),
                          (Strings{"(Standard)", "Aufgaben", "Termine", "Monatsbericht"}));
                EXPECT_EQ(oManager.fg().Row(), 3);
                oManager.cmdOK().Click();
            },
            {[&](frmTemplateDetail& oEditor) {
                bOkAtStart = oEditor.cmdOK().Enabled();
                EXPECT_EQ(oEditor.txtNew().Text(), "");
                oEditor.cmdFolder().Click();
                oEditor.cmdView().Click();
                oEditor.txtNew().SetText("Monatsbericht");
                oEditor.cmdOK().Click();
            }});
    EXPECT_FALSE(bOkAtStart);
    ASSERT_TRUE(oChosen);
    EXPECT_EQ(oChosen, m_oTemplates->Item(std::string("Monatsbericht"))); // the object itself
    EXPECT_EQ(Names(), (Strings{"(Standard)", "Aufgaben", "Termine", "Monatsbericht"}));

    const auto oRead = Reloaded()->Item(std::string("Monatsbericht"));
    ASSERT_TRUE(oRead);
    EXPECT_TRUE(oRead->DisplayResultsOnly());
    ASSERT_EQ(oRead->Folders()->Count(), 1);
    EXPECT_EQ(oRead->Folders()->Item(1)->EntryID(),
              Folder(platform::store::FolderRole::Tasks).entryId);
}

TEST_F(frmTemplateTest, CopyStartsWithoutNameAndOnlyAConfirmedCopyIsAdded)
{
    m_oTemplates->Item(std::string("Termine"))->SetDontShowTime(true);
    // Cancelled: nothing added, nothing written.
    const std::string sBefore = FileText();
    auto oChosen = Run("Termine",
                       [](frmTemplate& oManager) {
                           oManager.cmdCopy().Click();
                           oManager.cmdClose().Click();
                       },
                       {[](frmTemplateDetail& oEditor) {
                           EXPECT_EQ(oEditor.txtNew().Text(), "");
                           EXPECT_FALSE(oEditor.cmdOK().Enabled());
                           oEditor.cmdCancel().Click();
                       }});
    EXPECT_FALSE(oChosen);
    EXPECT_EQ(Names(), (Strings{"(Standard)", "Aufgaben", "Termine"}));
    EXPECT_EQ(FileText(), sBefore);

    oChosen = Run("Termine",
                  [](frmTemplate& oManager) {
                      oManager.cmdCopy().Click();
                      oManager.cmdOK().Click();
                  },
                  {Named("Termine Kopie")});
    ASSERT_TRUE(oChosen);
    EXPECT_EQ(oChosen->Name(), "Termine Kopie");
    EXPECT_NE(oChosen, m_oTemplates->Item(std::string("Termine")));
    const auto oRead = Reloaded();
    ASSERT_TRUE(oRead->Item(std::string("Termine Kopie")));
    EXPECT_TRUE(oRead->Item(std::string("Termine Kopie"))->DontShowTime());
    EXPECT_TRUE(oRead->Item(std::string("Termine")));
}

TEST_F(frmTemplateTest, FoldersChangeOnlyWhenPickedAndStayAfterTheEditorsCancel)
{
    const auto oTasks = m_oTemplates->Item(std::string("Aufgaben"));
    const int nBefore = oTasks->Folders()->Count();
    ASSERT_EQ(nBefore, 0);
    bool bOkForBlanks = true;
    int nAfterPickerCancel = -1;
    Run("Aufgaben",
        [](frmTemplate& oManager) {
            oManager.cmdEdit().Click();
            oManager.cmdClose().Click();
        },
        {[&](frmTemplateDetail& oEditor) {
            oEditor.txtNew().SetText("   ");
            bOkForBlanks = oEditor.cmdOK().Enabled();
            oEditor.cmdFolder().Click();
            m_bCancelFolders = true;
            oEditor.cmdFolder().Click();
            nAfterPickerCancel = oTasks->Folders()->Count();
            oEditor.cmdCancel().Click();
        }});
    EXPECT_FALSE(bOkForBlanks);
    // A cancelled picker keeps the folders picked before.
    EXPECT_EQ(nAfterPickerCancel, 1);
    // The editor's Cancel does not undo the folders picked through it.
    ASSERT_EQ(oTasks->Folders()->Count(), 1);
    EXPECT_EQ(oTasks->Folders()->Item(1)->EntryID(),
              Folder(platform::store::FolderRole::Tasks).entryId);
    EXPECT_EQ(Names(), (Strings{"(Standard)", "Aufgaben", "Termine"}));
    EXPECT_TRUE(pf::Driver::current().MessageBoxes().empty());
}

TEST_F(frmTemplateTest, RenamingChecksTheNameBeforeTheTemplateMoves)
{
    struct Case
    {
        const char* typed;
        bool accepted;
        Strings names;
    };
    const Case aCases[] = {
        {"aufgaben", false, {"(Standard)", "Aufgaben", "Termine"}},
        {"(STANDARD)", false, {"(Standard)", "Aufgaben", "Termine"}},
        {"TERMINE", true, {"(Standard)", "Aufgaben", "TERMINE"}},
        {"Termine", true, {"(Standard)", "Aufgaben", "Termine"}},
        {" Besprechungen ", true, {"(Standard)", "Aufgaben", " Besprechungen "}},
    };
    for (const auto& c : aCases) {
        pf::Driver::current().Reset();
        MakeTemplates();
        const auto oTermine = m_oTemplates->Item(std::string("Termine"));

        bool bStayedOpen = false;
        Run("Termine",
            [](frmTemplate& oManager) {
                oManager.cmdEdit().Click();
                oManager.cmdClose().Click();
            },
            {[&](frmTemplateDetail& oEditor) {
                oEditor.txtNew().SetText(c.typed);
                oEditor.cmdOK().Click();
                bStayedOpen = oEditor.IsLoaded();
                if (bStayedOpen)
                    oEditor.cmdCancel().Click();
            }});
        EXPECT_EQ(bStayedOpen, !c.accepted) << c.typed;
        EXPECT_EQ(Names(), c.names) << c.typed;
        EXPECT_EQ(m_oTemplates->Item(std::string(c.accepted ? c.typed : "Termine")), oTermine)
            << c.typed;
        const auto& aBoxes = pf::Driver::current().MessageBoxes();
        if (c.accepted) {
            EXPECT_TRUE(aBoxes.empty()) << c.typed;
            EXPECT_TRUE(Reloaded()->Item(std::string(c.typed))) << c.typed;
        } else {
            ASSERT_EQ(aBoxes.size(), 1u) << c.typed;
            EXPECT_EQ(aBoxes[0].prompt,
                      "Der Name existiert bereits. Bitte benennen Sie den Eintrag um.");
            EXPECT_EQ(aBoxes[0].buttons, 64);
        }
    }
}

// Each byte class the hosts refuse, pasted into a template's name: OK names the character and
// stays open; the template keeps its name, in the window and in the file.
TEST_F(frmTemplateTest, ANameHoldingAControlCharacterIsRefusedAtOk)
{
    for (const auto& bad : host_test::BadTexts()) {
        SCOPED_TRACE(host_test::NameOf(bad));
        pf::Driver::current().Reset();
        MakeTemplates();
        bool bStayedOpen = false;
        Run("Termine",
            [](frmTemplate& oManager) {
                oManager.cmdEdit().Click();
                oManager.cmdClose().Click();
            },
            {[&](frmTemplateDetail& oEditor) {
                oEditor.txtNew().SetText("Termine X" + bad.sBytes + "Y");
                oEditor.cmdOK().Click();
                bStayedOpen = oEditor.IsLoaded();
                if (bStayedOpen)
                    oEditor.cmdCancel().Click();
            }});
        EXPECT_TRUE(bStayedOpen);
        EXPECT_EQ(Names(), (Strings{"(Standard)", "Aufgaben", "Termine"}));
        EXPECT_TRUE(Reloaded()->Item(std::string("Termine")));
        const auto& aBoxes = pf::Driver::current().MessageBoxes();
        ASSERT_EQ(aBoxes.size(), 1u);
        EXPECT_NE(aBoxes[0].prompt.find(" " + host_test::NameOf(bad) + ","), std::string::npos)
            << aBoxes[0].prompt;
    }
}

// A name is bounded in characters, not bytes: 4,000 letters of one, two or three bytes each
// are taken, one more is refused at OK in the run's language, and the templates stay as they
// were.
TEST_F(frmTemplateTest, ANameLongerThanTheFieldTakesIsRefusedAtOk)
{
    struct Case
    {
        std::size_t nLetters;
        const char* sLetter;
        long lLanguage;
        const char* sRefusal; // nullptr when the name is taken
    };
    const Case cases[] = {
        {4000, "\xC3\xA4", 1031, nullptr},     // ä
        {4000, "\xE2\x82\xAC", 1031, nullptr}, // €
        {4000, "a", 1031, nullptr},
        {4001, "a", 1031,
         "Der Text ist 4001 Zeichen lang; dieses Feld nimmt höchstens 4000 Zeichen. "
         "Bitte kürzen Sie ihn."},
        {4001, "\xE2\x82\xAC", 1033,
         "The text is 4001 characters long; this field takes at most 4000 "
         "characters. Please shorten it."},
        {1000000, "\xC3\xA4", 1033,
         "The text is 1000000 characters long; this field takes at most 4000 "
         "characters. Please shorten it."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nLetters) + " " + std::to_string(c.lLanguage));
        pf::Driver::current().Reset();
        MakeTemplates();
        common::modLanguage::SetLanguageID(c.lLanguage);
        std::string sName;
        for (std::size_t i = 0; i < c.nLetters; ++i)
            sName += c.sLetter;
        bool bStayedOpen = false;
        Run("Termine",
            [](frmTemplate& oManager) {
                oManager.cmdEdit().Click();
                oManager.cmdOK().Click();
            },
            {[&](frmTemplateDetail& oEditor) {
                oEditor.txtNew().SetText(sName);
                oEditor.cmdOK().Click();
                bStayedOpen = oEditor.IsLoaded();
                if (bStayedOpen)
                    oEditor.cmdCancel().Click();
            }});
        common::modLanguage::SetLanguageID(1031);
        const auto& aBoxes = pf::Driver::current().MessageBoxes();
        if (!c.sRefusal) {
            EXPECT_FALSE(bStayedOpen);
            EXPECT_TRUE(aBoxes.empty());
            EXPECT_TRUE(Reloaded()->Item(sName));
            continue;
        }
        EXPECT_TRUE(bStayedOpen);
        EXPECT_EQ(Names(), (Strings{"(Standard)", "Aufgaben", "Termine"}));
        ASSERT_EQ(aBoxes.size(), 1u);
        EXPECT_EQ(aBoxes[0].prompt, c.sRefusal);
    }
}

TEST_F(frmTemplateTest, ATemplateThatCannotBeRenamedKeepsItsNameAndPlace)
{
    // Templates read from the file load the rest of their settings on the first change; here
    // that fails, since the field catalogue is gone.
    m_oTemplates = Reloaded();
    const auto oProps = views::RootMapiProps();
    const auto oAufgaben = m_oTemplates->Item(std::string("Aufgaben"));
    ASSERT_FALSE(oAufgaben->IsLoaded());
    Run("Aufgaben",
        [](frmTemplate& oManager) {
            oManager.cmdEdit().Click();
            oManager.cmdClose().Click();
        },
        {[&](frmTemplateDetail& oEditor) {
            views::SetRootMapiProps(nullptr);
            oEditor.txtNew().SetText("Aufgaben neu");
            oEditor.cmdOK().Click();
            EXPECT_TRUE(oEditor.IsLoaded());
            views::SetRootMapiProps(oProps);
            oEditor.cmdCancel().Click();
        }});
    EXPECT_EQ(Names(), (Strings{"(Standard)", "Aufgaben", "Termine"}));
    EXPECT_EQ(m_oTemplates->Item(std::string("Aufgaben")), oAufgaben);
    ASSERT_EQ(pf::Driver::current().MessageBoxes().size(), 1u);
    EXPECT_EQ(pf::Driver::current().MessageBoxes()[0].buttons, 48);
}

TEST_F(frmTemplateTest, ConfirmedEditMovesTheTemplateToTheEnd)
{
    Run("Aufgaben",
        [](frmTemplate& oManager) {
            oManager.cmdEdit().Click();
            EXPECT_EQ(Rows(oManager), (Strings{"(Standard)", "Termine", "Aufgaben"}));
            EXPECT_EQ(oManager.fg().Row(), 2);
            oManager.cmdClose().Click();
        },
        {[](frmTemplateDetail& oEditor) { oEditor.cmdOK().Click(); }});
    EXPECT_EQ(Names(), (Strings{"(Standard)", "Termine", "Aufgaben"}));
    const auto oRead = Reloaded();
    std::vector<std::string> vRead;
    for (const auto& oView : *oRead)
        vRead.push_back(oView->Name());
    EXPECT_EQ(vRead, (Strings{"(Standard)", "Termine", "Aufgaben"}));
}

TEST_F(frmTemplateTest, TheDefaultTemplateKeepsItsName)
{
    bool bNameBoxEnabled = true;
    Run("(Standard)",
        [](frmTemplate& oManager) {
            oManager.cmdEdit().Click();
            oManager.cmdClose().Click();
        },
        {[&](frmTemplateDetail& oEditor) {
            bNameBoxEnabled = oEditor.txtNew().Enabled();
            EXPECT_TRUE(oEditor.cmdOK().Enabled());
            oEditor.cmdOK().Click();
        }});
    EXPECT_FALSE(bNameBoxEnabled);
    EXPECT_EQ(Names(), (Strings{"Aufgaben", "Termine", "(Standard)"}));
}

TEST_F(frmTemplateTest, DeletingAsksOnceAndSparesTheDefaultTemplate)
{
    struct Case
    {
        std::vector<int> rows;
        int answer; // 0: no question expected; -1: asked, but nobody answers
        bool removeEnabled;
        Strings names;
    };
    const Case aCases[] = {
        {{1, 2}, 7, true, {"(Standard)", "Aufgaben", "Termine"}},
        {{0, 2}, 0, false, {"(Standard)", "Aufgaben", "Termine"}},
        {{1, 2}, -1, true, {"(Standard)", "Aufgaben", "Termine"}},
        {{1, 2}, 6, true, {"(Standard)"}},
    };
    for (const auto& c : aCases) {
        pf::Driver::current().Reset();
        if (c.answer > 0)
            pf::Driver::current().QueueMsgBoxAnswer(c.answer);
        bool bRemoveEnabled = false;
        Run("", [&](frmTemplate& oManager) {
            SelectRows(oManager, c.rows);
            EXPECT_FALSE(oManager.cmdEdit().Enabled());
            EXPECT_FALSE(oManager.cmdCopy().Enabled());
            EXPECT_FALSE(oManager.cmdOK().Enabled());
            bRemoveEnabled = oManager.cmdRemove().Enabled();
            oManager.cmdRemove().Click();
            oManager.cmdClose().Click();
        });
        EXPECT_EQ(bRemoveEnabled, c.removeEnabled);
        EXPECT_EQ(Names(), c.names);
        const auto& aBoxes = pf::Driver::current().MessageBoxes();
        ASSERT_EQ(aBoxes.size(), c.answer > 0 ? 1u : 0u);
        if (c.answer > 0) {
            EXPECT_EQ(aBoxes[0].prompt, "Möchten Sie die Vorlage löschen?");
            EXPECT_EQ(aBoxes[0].buttons, 36);
        }
    }
    // Deleting does not write the file: the next confirmed edit does.
    EXPECT_TRUE(Reloaded()->Item(std::string("Termine")));
}

TEST_F(frmTemplateTest, FailedSaveIsShownAndKeepsTheFile)
{
    const std::string sBefore = FileText();
    Run("Aufgaben",
        [](frmTemplate& oManager) {
            platform::runtime::ReplacingFile::FailNextWriteForTesting();
            oManager.cmdEdit().Click();
            oManager.cmdClose().Click();
        },
        {Named("Aufgaben neu")});
    EXPECT_EQ(FileText(), sBefore);
    const auto& aBoxes = pf::Driver::current().MessageBoxes();
    ASSERT_EQ(aBoxes.size(), 1u);
    EXPECT_EQ(aBoxes[0].buttons, 48);
    // The edit itself stays in the collection and reaches the file with the next save.
    EXPECT_EQ(Names(), (Strings{"(Standard)", "Termine", "Aufgaben neu"}));
}

// A name longer than the list is kept whole in it, its column no wider than the list (the
// windows cut it with an ellipsis and show it whole in its tooltip); short names keep the
// column their width.
TEST_F(frmTemplateTest, ALongNameKeepsTheColumnWithinTheList)
{
    int lShort = 0;
    Run("Termine", [&](frmTemplate& o) { lShort = o.fg().ColWidth(0); o.UserClose(); });
    const std::string sLong = "Monatsbericht " + std::string(286, 'W');
    auto oLong = std::make_shared<views::ViewSettings>();
    oLong->CreateNew(sLong);
    m_oTemplates->Add(oLong);
    Run(sLong, [&](frmTemplate& o) {
        const int lList = o.FindControl("fg")->Width();
        EXPECT_LE(o.fg().ColWidth(0), lList);
        EXPECT_GT(o.fg().ColWidth(0), lList / 2);
        EXPECT_EQ(o.fg().TextMatrix(o.fg().Row(), 0), sLong);
        // A window that shows the columns wider says how wide it shows, in their twips: the
        // column follows, narrower as a scroll bar comes and wider again as it goes.
        for (const int lShown : {2400, 1900, 2400}) {
            o.fg().SetClientSize(lShown, 3000);
            EXPECT_EQ(o.fg().ColWidth(0), lShown) << lShown;
        }
        // One as wide as the list itself still leaves it its frame.
        o.fg().SetClientSize(lList, 3000);
        EXPECT_GT(o.fg().ColWidth(0), 2400);
        EXPECT_LT(o.fg().ColWidth(0), lList);
        o.UserClose();
    });
    m_oTemplates->Remove(platform::runtime::Variant(sLong));
    Run("Termine", [&](frmTemplate& o) {
        EXPECT_EQ(o.fg().ColWidth(0), lShort);
        EXPECT_LT(lShort, o.FindControl("fg")->Width());
        o.fg().SetClientSize(lShort + 300, 3000);
        EXPECT_EQ(o.fg().ColWidth(0), lShort);
        o.UserClose();
    });
}

TEST_F(frmTemplateTest, SelectAndDoubleClickReturnTheTemplateCloseReturnsNothing)
{
    EXPECT_EQ(Run("Termine", [](frmTemplate& o) { o.cmdOK().Click(); }),
              m_oTemplates->Item(std::string("Termine")));
    EXPECT_EQ(Run("nichts davon",
                  [](frmTemplate& o) {
                      o.fg().UserClick(1, 0, 0);
                      o.fg().UserDoubleClick();
                  }),
              m_oTemplates->Item(std::string("Aufgaben")));
    EXPECT_EQ(Run("nichts davon",
                  [](frmTemplate& o) {
                      EXPECT_EQ(o.fg().Row(), 0);
                      o.UserClose();
                  }),
              nullptr);
}

} // namespace
} // namespace dialogs::test
