#include "platform/runtime/ResumeNext.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/DoEvents.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace rt = platform::runtime;

TEST(ResumeNextTest, RunsEveryStatementAndKeepsTheLastError)
{
    // The runtime's texts are English under an English locale.
    platform::locale::SetCurrent("en-US");
    std::vector<int> ran;
    rt::ResumeNext ignore;
    ignore.Run([&] { ran.push_back(1); },
               [&] {
                   ran.push_back(2);
                   rt::Raise(53, "First");
               },
               [&] { ran.push_back(3); },
               [&] {
                   ran.push_back(4);
                   rt::Raise(9, "Second");
               },
               [&] { ran.push_back(5); });
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4, 5}));
    ASSERT_TRUE(ignore.LastError());
    EXPECT_EQ(ignore.Number(), 9);
    EXPECT_EQ(ignore.LastError()->Source(), "Second");
    EXPECT_EQ(ignore.LastError()->Description(), "Subscript out of range");

    // A statement that succeeds does not clear the kept error; Clear does.
    ignore([] {});
    EXPECT_EQ(ignore.Number(), 9);
    ignore.Clear();
    EXPECT_FALSE(ignore.Failed());
    EXPECT_FALSE(ignore.LastError());
}

TEST(ResumeNextTest, OtherExceptionsBecomeRuntimeErrors)
{
    platform::locale::SetCurrent("en-US");
    rt::ResumeNext ignore;
    ignore([] { throw std::runtime_error("disk on fire"); });
    EXPECT_EQ(ignore.Number(), 51);
    EXPECT_EQ(ignore.LastError()->Description(), "disk on fire");
    ignore([] { throw std::bad_alloc(); });
    EXPECT_EQ(ignore.Number(), 7);
    ignore([] { throw 42; });
    EXPECT_EQ(ignore.Number(), 51);
    EXPECT_EQ(ignore.LastError()->Description(), "Internal error");
}

TEST(DoEventsTest, CallsTheInstalledHandler)
{
    int calls = 0;
    rt::DoEvents(); // no handler: nothing happens
    rt::SetDoEventsHandler([&] { ++calls; });
    rt::DoEvents();
    rt::DoEvents();
    rt::SetDoEventsHandler({});
    rt::DoEvents();
    EXPECT_EQ(calls, 2);
}
