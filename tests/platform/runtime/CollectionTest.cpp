#include "platform/runtime/Collection.h"

#include "RuntimeFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace rt = platform::runtime;

namespace {

std::vector<std::string> Items(const rt::Collection<std::string>& c)
{
    return std::vector<std::string>(c.begin(), c.end());
}

class CollectionTest : public RuntimeFixture
{
protected:
    void SetUp() override
    {
        RuntimeFixture::SetUp();
        names.Add("Anna", std::string("a"));
        names.Add("Bernd");
        names.Add("Jürgen", std::string("Müller"));
    }
    rt::Collection<std::string> names;
};

} // namespace

TEST_F(CollectionTest, ItemsByPositionAndCaseInsensitiveKey)
{
    EXPECT_EQ(names.Count(), 3);
    EXPECT_EQ(names.Item(1), "Anna");
    EXPECT_EQ(names.Item(2), "Bernd");
    EXPECT_EQ(names.Item("A"), "Anna");
    EXPECT_EQ(names.Item("MÜLLER"), "Jürgen");
    EXPECT_EQ(names.Item(rt::Variant(3.0)), "Jürgen");
    EXPECT_EQ(names.Item(rt::Variant("müller")), "Jürgen");
    EXPECT_TRUE(names.Contains("mÜller"));
    EXPECT_EQ(names.TryItem("x"), nullptr);
    ASSERT_NE(names.TryItem("A"), nullptr);
    names.Item("a") = "Anne";
    EXPECT_EQ(names.Item(1), "Anne");
}

TEST_F(CollectionTest, ErrorsForMissingKeysPositionsAndDuplicates)
{
    const struct
    {
        const char* what;
        std::function<void()> call;
        std::int32_t error;
    } cases[] = {
        {"missing key", [&] { names.Item("x"); }, 5},
        {"position 0", [&] { names.Item(0); }, 9},
        {"position past the end", [&] { names.Item(4); }, 9},
        {"duplicate key", [&] { names.Add("Zoe", std::string("MÜLLER")); }, 457},
        {"remove missing key", [&] { names.Remove("x"); }, 5},
        {"remove position", [&] { names.Remove(-1); }, 9},
        {"before missing key", [&] { names.AddBefore("Zoe", "x"); }, 5},
        {"after bad position", [&] { names.AddAfter("Zoe", 4); }, 9},
        {"Null index", [&] { names.Item(rt::Variant(rt::Null{})); }, 94},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RaisedNumber(c.call), c.error) << c.what;
    }
    // A failed Add leaves the collection as it was.
    EXPECT_EQ(Items(names), (std::vector<std::string>{"Anna", "Bernd", "Jürgen"}));
}

TEST_F(CollectionTest, AddBeforeAndAfterByPositionOrKey)
{
    names.AddBefore("Zero", 1);
    names.AddAfter("Last", 4);
    names.AddBefore("BeforeMüller", "müller", std::string("bm"));
    names.AddAfter("AfterA", "A");
    EXPECT_EQ(Items(names), (std::vector<std::string>{"Zero", "Anna", "AfterA", "Bernd",
                                                      "BeforeMüller", "Jürgen", "Last"}));
    EXPECT_EQ(names.Item("BM"), "BeforeMüller");
}

TEST_F(CollectionTest, RemoveByPositionAndKeyFreesTheKey)
{
    names.Remove(2);
    EXPECT_EQ(Items(names), (std::vector<std::string>{"Anna", "Jürgen"}));
    names.Remove("MÜLLER");
    EXPECT_EQ(Items(names), std::vector<std::string>{"Anna"});
    names.Add("Neu", std::string("müller")); // the key is free again
    EXPECT_EQ(names.Item(2), "Neu");
    names.Clear();
    EXPECT_EQ(names.Count(), 0);
    EXPECT_FALSE(names.Contains("a"));
}

TEST_F(CollectionTest, CopiesAreIndependent)
{
    rt::Collection<std::string> copy = names;
    copy.Item("a") = "changed";
    copy.Remove(2);
    EXPECT_EQ(names.Item(1), "Anna");
    EXPECT_EQ(names.Count(), 3);
    EXPECT_EQ(copy.Item("müller"), "Jürgen");
}
