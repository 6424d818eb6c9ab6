#include "ReadFixture.h"

#include "engine/Filter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

namespace engine::test {

using ::testing::ElementsAreArray;

namespace {

using Conditions = std::function<void(Filter&)>;

struct ConditionCase
{
    const char* name;
    Conditions setup;
    std::vector<std::string> expected;
};

class ConditionTest : public ReadFixture
{
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        const auto day = [](int d) { return L(2024, 5, d, 10); };
        const auto end = [](int d) { return L(2024, 5, d, 11); };
        const auto mv = [](std::vector<std::string> v) {
            return st::PropValue{st::MultiString(v)};
        };
        B().Appointment(m_calendar.entryId, "A", day(20), end(20))
            .Categories({"Büro", "Privat"})
            .Location("Köln")
            .SetLid(st::PSETID_Common, st::props::LID_Companies, mv({"Müller GmbH", "Kestrova"}))
            .SetLid(st::PSETID_Common, st::props::LID_Contacts, mv({"Jörg Müller"}));
        B().Appointment(m_calendar.entryId, "B", day(21), end(21))
            .Categories({"Büro"})
            .Location("KÖLN Dom")
            .SetLid(st::PSETID_Common, st::props::LID_Companies, mv({"Kestrova"}))
            .SetLid(st::PSETID_Common, st::props::LID_Contacts, mv({"Änne Schulz", "Jörg Müller"}));
        B().Appointment(m_calendar.entryId, "C", day(22), end(22))
            .Categories({"privat"})
            .Location("Bonn");
        B().Appointment(m_calendar.entryId, "D", day(23), end(23));
        B().Appointment(m_calendar.entryId, "E", day(24), end(24)).Categories({"Büroarbeit"});
        SubjectColumn();
    }

    std::vector<std::string> Read(const Conditions& setup)
    {
        auto oFilter = std::make_shared<Filter>();
        setup(*oFilter);
        Root();
        oFilter->Apply();
        return Subjects({m_calendar});
    }
};

const std::vector<std::string> kAll = {"A", "B", "C", "D", "E"};

} // namespace

TEST_F(ConditionTest, ListConditionsOnCategoriesCompaniesAndContacts)
{
    const ConditionCase cases[] = {
        {"no condition", [](Filter&) {}, kAll},
        {"category equals one (any case)",
         [](Filter& f) { f.SetCategoryCondition(trEquals, {"BÜRO"}); },
         {"A", "B"}},
        {"category equals all",
         [](Filter& f) {
             f.SetCategoryCondition(trEquals, {"Büro", "Privat"}, true);
         },
         {"A"}},
        {"category equals any",
         [](Filter& f) {
             f.SetCategoryCondition(trEquals, {"Büro", "Privat"}, false);
         },
         {"A", "B", "C"}},
        {"category contains",
         [](Filter& f) { f.SetCategoryCondition(trContains, {"büro"}); },
         {"A", "B", "E"}},
        {"category equals-not any",
         [](Filter& f) { f.SetCategoryCondition(trEqualsNot, {"Büro"}); },
         {"C", "D", "E"}},
        {"category contains-not all",
         [](Filter& f) {
             f.SetCategoryCondition(trContainsNot, {"Büro", "Privat"}, true);
         },
         {"B", "C", "D", "E"}},
        {"category contains-not any",
         [](Filter& f) {
             f.SetCategoryCondition(trContainsNot, {"Büro", "Privat"}, false);
         },
         {"D"}},
        {"switched off keeps every item",
         [](Filter& f) {
             f.SetCategoryCondition(trEquals, {"Büro"});
             f.SetCategoryCondition(trnone, {});
         },
         kAll},
        {"company equals",
         [](Filter& f) { f.SetCompanyCondition(trEquals, {"kestrova"}); },
         {"A", "B"}},
        {"company contains all",
         [](Filter& f) {
             f.SetCompanyCondition(trContains, {"müller", "KEST"}, true);
         },
         {"A"}},
        {"company equals-not",
         [](Filter& f) { f.SetCompanyCondition(trEqualsNot, {"Müller GmbH"}); },
         {"B", "C", "D", "E"}},
        {"contact equals",
         [](Filter& f) { f.SetContactCondition(trEquals, {"Jörg Müller"}); },
         {"A", "B"}},
        {"contact contains", [](Filter& f) { f.SetContactCondition(trContains, {"änne"}); }, {"B"}},
        {"contact contains-not",
         [](Filter& f) { f.SetContactCondition(trContainsNot, {"Müller"}); },
         {"C", "D", "E"}},
    };
    for (const auto& c : cases)
        EXPECT_THAT(Read(c.setup), ElementsAreArray(c.expected)) << c.name;
}

TEST_F(ConditionTest, TextConditionsOnSubjectAndLocation)
{
    B().Appointment(m_calendar.entryId, "Jour fixe", L(2024, 5, 25, 9), L(2024, 5, 25, 10));
    B().Appointment(m_calendar.entryId, "Jour fixe Vertrieb", L(2024, 5, 26, 9),
                    L(2024, 5, 26, 10));
    const ConditionCase cases[] = {
        {"subject equals",
         [](Filter& f) { f.SetSubjectCondition(trEquals, "jour FIXE"); },
         {"Jour fixe"}},
        {"subject contains",
         [](Filter& f) { f.SetSubjectCondition(trContains, "FIXE"); },
         {"Jour fixe", "Jour fixe Vertrieb"}},
        {"subject equals-not",
         [](Filter& f) { f.SetSubjectCondition(trEqualsNot, "Jour fixe"); },
         {"A", "B", "C", "D", "E", "Jour fixe Vertrieb"}},
        {"subject contains-not", [](Filter& f) { f.SetSubjectCondition(trContainsNot, "fixe"); },
         kAll},
        {"location equals", [](Filter& f) { f.SetLocationCondition(trEquals, "köln"); }, {"A"}},
        {"location contains",
         [](Filter& f) { f.SetLocationCondition(trContains, "Köln"); },
         {"A", "B"}},
        // Items without a location pass the negations.
        {"location equals-not",
         [](Filter& f) { f.SetLocationCondition(trEqualsNot, "Köln"); },
         {"B", "C", "D", "E", "Jour fixe", "Jour fixe Vertrieb"}},
        {"location contains-not",
         [](Filter& f) { f.SetLocationCondition(trContainsNot, "KÖLN"); },
         {"C", "D", "E", "Jour fixe", "Jour fixe Vertrieb"}},
        {"subject and location",
         [](Filter& f) {
             f.SetSubjectCondition(trEquals, "b");
             f.SetLocationCondition(trContains, "dom");
         },
         {"B"}},
    };
    for (const auto& c : cases)
        EXPECT_THAT(Read(c.setup), ElementsAreArray(c.expected)) << c.name;
}

TEST_F(ConditionTest, TaskStatusCondition)
{
    const auto status = [](int s) { return st::PropValue{std::int32_t{s}}; };
    B().Task(m_tasks.entryId, "offen")
        .SetLid(st::PSETID_Task, st::props::LID_TaskStatus, status(0));
    B().Task(m_tasks.entryId, "läuft")
        .SetLid(st::PSETID_Task, st::props::LID_TaskStatus, status(1));
    B().Task(m_tasks.entryId, "fertig")
        .SetLid(st::PSETID_Task, st::props::LID_TaskStatus, status(2));
    B().Task(m_tasks.entryId, "wartet")
        .SetLid(st::PSETID_Task, st::props::LID_TaskStatus, status(3));
    const struct
    {
        long compare;
        long status;
        std::vector<std::string> expected;
    } cases[] = {{trEquals, trTaskComplete, {"fertig"}},
                 {trEquals, trTaskNotStarted, {"offen"}},
                 {trEqualsNot, trTaskComplete, {"offen", "läuft", "wartet"}},
                 {trContains, trTaskComplete, {"offen", "läuft", "fertig", "wartet"}},
                 {trnone, trTaskComplete, {"offen", "läuft", "fertig", "wartet"}}};
    for (const auto& c : cases) {
        auto oFilter = std::make_shared<Filter>();
        oFilter->SetTaskStatusCondition(c.compare, c.status);
        Root();
        oFilter->Apply();
        EXPECT_THAT(Subjects({m_tasks}), ElementsAreArray(c.expected))
            << c.compare << " " << c.status;
    }
}

} // namespace engine::test
