#include "DialogsFixture.h"

#include "common/modLanguage.h"

#include <gtest/gtest.h>

namespace dialogs::test {

void DialogsFixture::SetUp()
{
    ViewsFixture::SetUp();
    common::modLanguage::SetLanguageID(1033);
    platform::forms::Driver::current().Reset();
    m_oOpener.m_oView = std::make_shared<views::ViewSettings>();
    View().CreateNew("Test");
    View().Fields()->Clear();
    for (const auto& sKey : {views::test::kSubjectKey, kStartKey, kDurationKey})
        View().AddField(Field(sKey));
}

void DialogsFixture::TearDown()
{
    platform::forms::Driver::current().Reset();
    m_oOpener.m_oView.reset();
    ViewsFixture::TearDown();
}

std::vector<std::string> DialogsFixture::ColumnKeys()
{
    std::vector<std::string> aKeys;
    for (const auto& oColumn : *View().Fields())
        aKeys.push_back(oColumn->Key());
    return aKeys;
}

std::vector<std::string> DialogsFixture::VisibleKeys()
{
    std::vector<std::string> aKeys;
    for (const auto& oColumn : *View().Fields())
        if (oColumn->Visible())
            aKeys.push_back(oColumn->Key());
    return aKeys;
}

std::shared_ptr<views::GridField> DialogsFixture::Column(const std::string& sKey)
{
    auto oColumn = View().Fields()->Item(sKey);
    EXPECT_TRUE(oColumn) << sKey;
    return oColumn;
}

std::vector<std::string> DialogsFixture::Messages()
{
    std::vector<std::string> aTexts;
    for (const auto& oBox : platform::forms::Driver::current().MessageBoxes())
        aTexts.push_back(oBox.prompt);
    return aTexts;
}

} // namespace dialogs::test
