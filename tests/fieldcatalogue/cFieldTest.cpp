#include "CatalogueFixture.h"

#include "platform/runtime/Variant.h"

namespace fieldcatalogue::test {
namespace {

namespace rt = platform::runtime;

class cFieldTest : public CatalogueFixture
{
protected:
    std::shared_ptr<cFields> CalendarFields()
    {
        return Catalogue().GetFields(DefaultMapiFolder(st::FolderRole::Calendar));
    }
};

TEST_F(cFieldTest, ParentIsTheAnswerWhileItLives)
{
    auto oFields = CalendarFields();
    const auto oField = oFields->Item(rt::Variant("Icon"));
    ASSERT_NE(oField, nullptr);
    EXPECT_EQ(oField->Parent(), oFields);
    oFields.reset();
    EXPECT_EQ(oField->Parent(), nullptr);
    EXPECT_EQ(oField->Name(), "Icon");
}

TEST_F(cFieldTest, ParentLinkIgnoresTheKeyAndCanBeReset)
{
    const auto oFields = CalendarFields();
    const auto oField = oFields->Item(rt::Variant("FolderName"));
    ASSERT_NE(oField, nullptr);
    common::IChild& oChild = oField->AsIChild();
    EXPECT_EQ(oChild.Key(), "");
    oChild.ResetParentPtr();
    EXPECT_EQ(oField->Parent(), nullptr);
    oChild.Init(oFields.get(), "ignored");
    EXPECT_EQ(oChild.Key(), "");
    EXPECT_EQ(oField->Parent(), oFields);
    // A parent that is no field collection leaves the field without one.
    oChild.Init(oField.get());
    EXPECT_EQ(oField->Parent(), nullptr);
    // The field's own key is untouched by the link.
    EXPECT_EQ(oField->Key(), "FolderName");
}

} // namespace
} // namespace fieldcatalogue::test
