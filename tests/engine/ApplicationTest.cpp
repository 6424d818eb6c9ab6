#include "ReadFixture.h"

#include "engine/ApplicationEvents.h"
#include "engine/Filter.h"
#include "engine/detail/EngineState.h"
#include "engine/detail/Options.h"
#include "platform/mapi/Utils.h"
#include "platform/runtime/Date.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>
#include <utility>

namespace engine::test {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ApplicationTest : public ReadFixture
{
};

// Records every progress report; may ask the read to stop.
class ProgressLog : public ApplicationEvents
{
public:
    void Progress(long lValue, long lMax, bool& bCancel) override
    {
        reports.emplace_back(lValue, lMax);
        bCancel = cancel;
    }
    std::vector<std::pair<long, long>> reports;
    bool cancel = false;
};

} // namespace

TEST_F(ApplicationTest, ProgressAfterEveryRowAndCancelIsNotHonoured)
{
    B().Task(m_tasks.entryId, "eins");
    B().Mail(m_tasks.entryId, "keine Aufgabe");
    B().Task(m_tasks.entryId, "zwei");
    SubjectColumn();
    auto log = std::make_shared<ProgressLog>();
    log->cancel = true;
    Root().Advise(log);
    FolderDataList list;
    list.Add(Entry(m_calendar)); // empty: no reports
    list.Add(Entry(m_tasks));
    EXPECT_THAT(ReadColumn(list), ElementsAre("eins", "zwei"));
    EXPECT_THAT(log->reports, ElementsAre(std::pair{2L, 3L}, std::pair{3L, 3L}, std::pair{4L, 3L}));

    Root().Unadvise(log);
    log->reports.clear();
    ReadColumn(list);
    EXPECT_THAT(log->reports, IsEmpty());
}

TEST_F(ApplicationTest, ListenerErrorsDoNotStopTheRead)
{
    struct Failing : ApplicationEvents
    {
        void Progress(long, long, bool&) override { throw rt::Error(5); }
    };
    B().Task(m_tasks.entryId, "eins");
    B().Task(m_tasks.entryId, "zwei");
    SubjectColumn();
    auto failing = std::make_shared<Failing>();
    Root().Advise(failing);
    EXPECT_THAT(Subjects({m_tasks}), ElementsAre("eins", "zwei"));
}

TEST_F(ApplicationTest, InitializeWithoutClientRaises91AndBecomesTheCurrentRoot)
{
    Root();
    auto oFilter = std::make_shared<Filter>();
    oFilter->Apply();
    EXPECT_EQ(Root().Records()->Filter(), oFilter);

    auto oOther = std::make_shared<Application>();
    EXPECT_EQ(RaisedNumber([&] { oOther->Initialize(nullptr); }), 91);
    EXPECT_EQ(oOther->Records(), nullptr);
    // The failed root is now the current one: it has no record set to take a filter.
    EXPECT_EQ(RaisedNumber([&] { std::make_shared<Filter>()->Apply(); }), 91);
}

TEST_F(ApplicationTest, GetUtilsGivesOneWorkingObjectPerThread)
{
    const auto oFirst = detail::GetUtils();
    ASSERT_NE(oFirst, nullptr);
    EXPECT_EQ(detail::GetUtils(), oFirst);
    // Summer time in the fixture's zone: two hours ahead of UTC.
    const auto At = [](int nHour) {
        return platform::runtime::Date(platform::runtime::DateSerial(2026, 7, 1).Serial() +
                                       nHour / 24.0);
    };
    EXPECT_EQ(oFirst->LocalTimeToUTC(At(12)), At(10));

    std::shared_ptr<platform::mapi::Utils> oOtherThread;
    std::thread([&] { oOtherThread = detail::GetUtils(); }).join();
    ASSERT_NE(oOtherThread, nullptr);
    EXPECT_NE(oOtherThread, oFirst);
}

TEST_F(ApplicationTest, ReadRecordsBeforeInitializeDoesNothing)
{
    B().Task(m_tasks.entryId, "eins");
    Application oRoot;
    FolderDataList list;
    list.Add(Entry(m_tasks));
    oRoot.ReadRecords(list);
    EXPECT_EQ(oRoot.Records(), nullptr);
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(ApplicationTest, TerminateKeepsRecordsAndEndsTheCurrentRoot)
{
    B().Task(m_tasks.entryId, "eins");
    SubjectColumn();
    Subjects({m_tasks});
    Root().Terminate();
    ASSERT_NE(Root().Records(), nullptr);
    EXPECT_EQ(Root().Records()->Count(), 1);
    EXPECT_EQ(Root().OutlookApp(), nullptr);
    EXPECT_EQ(RaisedNumber([&] { std::make_shared<Filter>()->Apply(); }), 91);
    Root().Terminate(); // twice is harmless
}

TEST_F(ApplicationTest, ClientQuitDropsTheClientOnly)
{
    B().Task(m_tasks.entryId, "eins");
    SubjectColumn();
    m_olApp->Quit();
    EXPECT_EQ(Root().OutlookApp(), nullptr);
    EXPECT_THAT(Subjects({m_tasks}), ElementsAre("eins"));
}

TEST_F(ApplicationTest, LanguageOfTheEngine)
{
    common::ILanguage& oLanguage = Root().ToILanguage();
    EXPECT_THAT(oLanguage.SupportedLanguages(), IsEmpty());
    const struct
    {
        long set;
        long stored;
    } cases[] = {{1033, 1033}, {1036, 1031}, {1031, 1031}, {0, 1031}};
    for (const auto& c : cases) {
        oLanguage.SetLanguageID(c.set);
        EXPECT_EQ(oLanguage.LanguageID(), c.stored) << c.set;
    }
}

TEST_F(ApplicationTest, CacheKeepsTheFirstObjectOfAKey)
{
    auto first = std::make_shared<FolderData>();
    auto second = std::make_shared<FolderData>();
    Root().CacheObject(first, "k");
    Root().CacheObject(second, "K");
    const std::weak_ptr<FolderData> wFirst = first;
    const std::weak_ptr<FolderData> wSecond = second;
    first.reset();
    second.reset();
    EXPECT_FALSE(wFirst.expired()) << "the cache keeps the first object alive";
    EXPECT_TRUE(wSecond.expired()) << "the second object under the same key was not kept";
    Root().Terminate();
    EXPECT_TRUE(wFirst.expired()) << "Terminate releases the cache";
}

TEST_F(ApplicationTest, SettingsFromTheIniFile)
{
    const struct
    {
        const char* file;
        long from, to, chunk;
        const char* delimiter;
        const char* htmlClass;
        const char* htmlVariable;
    } cases[] = {
        {"", -90, 90, 100, ";", "tlv_", "@tlv_"},
        {"DateRangeFrom=\nChunkSize=\nCSVDelimiter=\n", -90, 90, 100, ";", "tlv_", "@tlv_"},
        {"DateRangeFrom=-30\nDateRangeTo=14days\nChunkSize=250\nCSVDelimiter=,\n"
         "PrefixHtmlClass=x_\nPrefixHtmlVariable=$\n",
         -30, 14, 250, ",", "x_", "$"},
        {"ChunkSize=12abc\n", -90, 90, 12, ";", "tlv_", "@tlv_"},
        {"ChunkSize=abc\n", -90, 90, 0, ";", "tlv_", "@tlv_"},
        {"ChunkSize=12.5\nDateRangeTo=13.5\n", -90, 14, 12, ";", "tlv_", "@tlv_"},
    };
    for (const auto& c : cases) {
        WriteSettings(c.file);
        detail::Options o;
        o.ReadSettings();
        EXPECT_EQ(o.DateRangeFrom, c.from) << c.file;
        EXPECT_EQ(o.DateRangeTo, c.to) << c.file;
        EXPECT_EQ(o.ChunkSize, c.chunk) << c.file;
        EXPECT_EQ(o.CSVDelimiter, c.delimiter) << c.file;
        EXPECT_EQ(o.PrefixHtmlClass, c.htmlClass) << c.file;
        EXPECT_EQ(o.PrefixHtmlVariable, c.htmlVariable) << c.file;
    }
}

TEST_F(ApplicationTest, SettingTooLargeFailsInitializeAfterTheRecordSetExists)
{
    WriteSettings("ChunkSize=99999999999\n");
    auto oRoot = std::make_shared<Application>();
    EXPECT_EQ(RaisedNumber([&] { oRoot->Initialize(m_olApp); }), 6);
    EXPECT_NE(oRoot->Records(), nullptr);
}

} // namespace engine::test
