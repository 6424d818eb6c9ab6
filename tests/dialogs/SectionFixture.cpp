#include "SectionFixture.h"

#include "common/modLanguage.h"

#include <gtest/gtest.h>

namespace dialogs::test {

void SectionFixture::SetUp()
{
    ViewsFixture::SetUp();
    common::modLanguage::SetLanguageID(1033);
    platform::forms::Driver::current().Reset();
    m_oView = std::make_shared<views::ViewSettings>();
    View().CreateNew("Test");
    View().Fields()->Clear();
    for (const auto& sKey : {views::test::kSubjectKey, kStartKey, kDurationKey})
        View().AddField(Field(sKey));
}

void SectionFixture::TearDown()
{
    platform::forms::Driver::current().Reset();
    m_oView.reset();
    ViewsFixture::TearDown();
}

std::vector<std::string> SectionFixture::ColumnKeys()
{
    std::vector<std::string> aKeys;
    for (const auto& oColumn : *View().Fields())
        aKeys.push_back(oColumn->Key());
    return aKeys;
}

std::vector<std::string> SectionFixture::VisibleKeys()
{
    std::vector<std::string> aKeys;
    for (const auto& oColumn : *View().Fields())
        if (oColumn->Visible())
            aKeys.push_back(oColumn->Key());
    return aKeys;
}

std::shared_ptr<views::GridField> SectionFixture::Column(const std::string& sKey)
{
    auto oColumn = View().Fields()->Item(sKey);
    EXPECT_TRUE(oColumn) << sKey;
    return oColumn;
}

std::vector<std::string> SectionFixture::Messages()
{
    std::vector<std::string> aTexts;
    for (const auto& oBox : platform::forms::Driver::current().MessageBoxes())
        aTexts.push_back(oBox.prompt);
    return aTexts;
}

} // namespace dialogs::test
