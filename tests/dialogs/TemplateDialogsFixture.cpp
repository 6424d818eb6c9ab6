#include "TemplateDialogsFixture.h"

#include "common/modLanguage.h"

#include <fstream>
#include <iterator>

namespace dialogs::test {

void TemplateDialogsFixture::SetUp()
{
    ViewsFixture::SetUp();
    common::modLanguage::SetLanguageID(1031);
    platform::forms::Driver::current().Reset();
    MakeTemplates();
    m_oServices.ShowViewSettings = [this](std::shared_ptr<views::ViewSettings>& oView) {
        ++m_nViewDialogs;
        oView->SetDisplayResultsOnly(true);
    };
    m_oServices.PickFolders = [this]() -> std::shared_ptr<engine::FolderDataList> {
        if (m_bCancelFolders)
            return nullptr;
        auto colFolders = std::make_shared<engine::FolderDataList>();
        colFolders->Add(DataOf(Folder(platform::store::FolderRole::Tasks)));
        return colFolders;
    };
}

void TemplateDialogsFixture::MakeTemplates()
{
    m_oTemplates = std::make_shared<views::Templates>();
    for (const char* pName : {"(Standard)", "Aufgaben", "Termine"}) {
        auto oView = std::make_shared<views::ViewSettings>();
        oView->CreateNew(pName);
        m_oTemplates->Add(oView);
    }
    m_oTemplates->Save();
}

void TemplateDialogsFixture::TearDown()
{
    platform::forms::Driver::current().Reset();
    m_oTemplates.reset();
    ViewsFixture::TearDown();
}

std::vector<std::string> TemplateDialogsFixture::Names() const
{
    std::vector<std::string> v;
    for (const auto& oView : *m_oTemplates)
        v.push_back(oView->Name());
    return v;
}

std::shared_ptr<views::Templates> TemplateDialogsFixture::Reloaded() const
{
    auto oTemplates = std::make_shared<views::Templates>();
    oTemplates->Load();
    return oTemplates;
}

std::string TemplateDialogsFixture::FileText() const
{
    std::ifstream oIn(views::Templates::FilePath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

} // namespace dialogs::test
