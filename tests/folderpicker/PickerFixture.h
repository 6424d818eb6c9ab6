#pragma once

#include "folderpicker/Dialog.h"
#include "folderpicker/Result.h"
#include "folderpicker/frmDialog.h"
#include "platform/forms/FlexGrid.h"
#include "platform/store/Profile.h"
#include "platform/store/StoreBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::outlook {
class Application;
}

namespace folderpicker::test {

namespace st = platform::store;

/// A profile of five stores of four kinds with folder trees several levels deep, the client's
/// application object over it, time zone, locale and the picker's language pinned, and a fresh
/// per-user data folder (where the error log goes).
///
///   Persönliche Ordner (Unicode personal, default)
///     Posteingang (12 mails) > Anfragen > Alt > Uralt; Posteingang > Erledigt
///     Kalender (3 appointments), Aufgaben (no items, no subfolders)
///   Postfach Anna (primary mailbox): Kalender (2 appointments), Projekte > Alpha > Beta
///   Öffentliche Ordner (public folders): Alle Ordner > Team
///   Postfach Bernd (delegate mailbox): Kalender (1 appointment)
///   Archiv (ANSI personal): 2023
class PickerFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// A dialog set up as the add-in sets it up (Init with the client, German).
    std::shared_ptr<Dialog> NewDialog();
    /// Shows the picker of the dialog (a new one when none is given) and answers its window
    /// with fnAnswer; returns what PickFolder returned.
    std::shared_ptr<Result> Pick(const std::function<void(frmDialog&)>& fnAnswer,
                                 std::shared_ptr<Dialog> oDialog = nullptr);

    /// The texts of the tree's rows, top to bottom.
    static std::vector<std::string> RowTexts(frmDialog& oWindow);
    /// The first row whose text, less a leading blank and an item count, is sName, at or below
    /// lFrom; fails the test when there is none.
    static int RowOf(frmDialog& oWindow, const std::string& sName, int lFrom = 0);
    /// The names of a result's items in order.
    static std::vector<std::string> Names(const Result& oResult);
    /// The button of that name.
    static platform::forms::CommandButton& Button(frmDialog& oWindow, const std::string& sName);
    /// The messages shown since the test began.
    static std::vector<std::string> Messages();
    /// The error log of the picker ("error.txt" of "Tallyman"), empty when none.
    std::string ErrorLog() const;
    /// Makes a store's folders unreadable from now on (its folder table disappears), or runs
    /// another statement of harm on the store's file.
    void BreakStore(const std::string& sStoreName,
                    const std::string& sSql = "ALTER TABLE folders RENAME TO gone");

    st::Profile& Profile() { return *m_oProfile; }
    st::Store& Personal() { return *m_oPersonal; }
    st::Store& Anna() { return *m_oAnna; }
    std::shared_ptr<platform::outlook::Application> m_oClient;
    std::filesystem::path m_oDir;
    st::FolderInfo m_oInbox, m_oRequests, m_oOld, m_oAncient, m_oDone, m_oCalendar, m_oTasks;
    st::FolderInfo m_oAnnaCalendar, m_oProjects, m_oAlpha, m_oBeta;
    st::FolderInfo m_oBerndCalendar;

private:
    std::shared_ptr<st::Profile> m_oProfile;
    std::shared_ptr<st::Store> m_oPersonal, m_oAnna, m_oPublic, m_oBernd, m_oArchive;
};

} // namespace folderpicker::test
