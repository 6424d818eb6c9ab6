#pragma once

#include "dialogs/TemplateEditorServices.h"
#include "platform/forms/Driver.h"
#include "tests/views/ViewsFixture.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"

#include <memory>
#include <string>
#include <vector>

namespace dialogs::test {

/// The add-in's templates "(Standard)", "Aufgaben" and "Termine" saved in a fresh data folder,
/// and editor services that stand in for the report window: its view dialog marks the view
/// (display only results) and its folder picker picks the task folder unless told to cancel.
class TemplateDialogsFixture : public views::test::ViewsFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// Makes and saves the three templates anew.
    void MakeTemplates();
    /// The names in the collection's order.
    std::vector<std::string> Names() const;
    /// The templates as a fresh start reads them from "reports.xml".
    std::shared_ptr<views::Templates> Reloaded() const;
    /// The text of "reports.xml" ("" when missing).
    std::string FileText() const;

    std::shared_ptr<views::Templates> m_oTemplates;
    TemplateEditorServices m_oServices;
    int m_nViewDialogs = 0;
    bool m_bCancelFolders = false;
};

} // namespace dialogs::test
