// The report mailed from the host, worked through an answers file: the sample profile's mail
// template with its recipient sends the saved report at once into Sent Items; without a
// template that can be read the mail is only shown.
#include "HostRunFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using host_test::HostRunFixture;

/// One mail of a `mailbox` listing.
struct Mail
{
    std::string sSubject;
    bool bSent = false;
    std::vector<std::string> aTo;
    std::vector<std::string> aAttachments; // "name (size bytes)"
};

/// The mails that the first "> mailbox NAME" command of a run listed.
std::vector<Mail> Listed(const std::string& sOutput, const std::string& sName)
{
    const auto nAt = sOutput.find("> mailbox " + sName + "\n");
    if (nAt == std::string::npos)
        return {};
    std::istringstream oIn(sOutput.substr(sOutput.find('\n', nAt) + 1));
    std::vector<Mail> aMails;
    std::string sLine;
    std::getline(oIn, sLine); // "Sent Items: 151 mails"
    while (std::getline(oIn, sLine) && sLine.rfind("  ", 0) == 0) {
        if (sLine.rfind("     to: ", 0) == 0 && !aMails.empty()) {
            aMails.back().aTo.push_back(sLine.substr(9));
        } else if (sLine.rfind("     attachment: ", 0) == 0 && !aMails.empty()) {
            aMails.back().aAttachments.push_back(sLine.substr(17));
        } else {
            // "  12  Subject  (sent)"
            Mail oMail;
            const std::string sRest = sLine.substr(sLine.find("  ", 2) + 2);
            const std::string sSentMark = "  (sent)";
            oMail.bSent =
                sRest.size() >= sSentMark.size() &&
                sRest.compare(sRest.size() - sSentMark.size(), sSentMark.size(), sSentMark) == 0;
            oMail.sSubject = oMail.bSent ? sRest.substr(0, sRest.size() - sSentMark.size()) : sRest;
            aMails.push_back(oMail);
        }
    }
    return aMails;
}

class HostMailRunTest : public HostRunFixture
{
protected:
    void SetUp() override
    {
        HostRunFixture::SetUp();
        fs::create_directories(oRoot / "out");
    }

    fs::path SampleTemplate() const
    {
        return oRoot / "Kestrova" / "Tallyman" / "SampleProfile" / "Report.oft";
    }
    fs::path Report() const { return oRoot / "out" / "Wochenbericht.csv"; }
    // The attachment as a mailbox listing shows the saved report.
    std::string ReportAttachment() const
    {
        return "Wochenbericht.csv (" + std::to_string(fs::file_size(Report())) + " bytes)";
    }

    std::pair<std::vector<Mail>, std::vector<Mail>> MailboxesWithoutTheTemplate();

    // Runs the host in the language (English unless named) with these answers.
    host_test::RunResult Answer(const std::string& sAnswers, const std::string& sLang = "en") const
    {
        const auto oAnswers = oRoot / "answers.txt";
        std::ofstream(oAnswers) << sAnswers;
        return Run("--lang " + sLang + " --answers '" + oAnswers.string() + "'");
    }

    // The standard template's actions: save straight into "out" (replacing the file), mail
    // the report from the sample profile's mail template at once.
    std::string SendAtOnceFromTheTemplate() const
    {
        return "templates\n"
               "click cmdEdit\n"
               "click cmdAutoAction\n"
               "pick optAutoSave(0)\n"
               "set txtSavePath " +
               (oRoot / "out").string() +
               "\n"
               "set txtFileName Wochenbericht\n"
               "pick cboFileExist Overwrite the file\n"
               "pick optMail(0)\n"
               "click cmdMailTemplate\n"
               "file " +
               SampleTemplate().string() +
               "\n"
               "click cmdOK\n"
               "click cmdOK\n"
               "click cmdClose\n";
    }
};

/// The sent items and drafts after a run that set the standard template up to mail its report
/// from the sample profile's mail template, which is then removed: the next send shows a new
/// mail instead.
std::pair<std::vector<Mail>, std::vector<Mail>> HostMailRunTest::MailboxesWithoutTheTemplate()
{
    const auto rSetUp =
        Answer(SendAtOnceFromTheTemplate() + "mailbox sent\nmailbox drafts\nquit\n");
    EXPECT_EQ(rSetUp.exitCode, 0) << rSetUp.output;
    fs::remove(SampleTemplate());
    return {Listed(rSetUp.output, "sent"), Listed(rSetUp.output, "drafts")};
}

TEST_F(HostMailRunTest, TemplateWithARecipientSendsTheSavedReportIntoSentItems)
{
    // The first run makes the sample profile with its mail template.
    const auto rFirst = Answer("mailbox sent\nquit\n");
    ASSERT_EQ(rFirst.exitCode, 0) << rFirst.output;
    ASSERT_TRUE(fs::exists(SampleTemplate()));
    const auto aBefore = Listed(rFirst.output, "sent");

    const auto r = Answer(SendAtOnceFromTheTemplate() +
                          "saveas\nsendreport\nmailbox sent\nmailbox outbox\nmailbox drafts\n"
                          "quit\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    ASSERT_TRUE(fs::exists(Report())) << r.output;
    // Sent, not shown.
    EXPECT_EQ(r.output.find("== item window:"), std::string::npos) << r.output;
    const auto aSent = Listed(r.output, "sent");
    ASSERT_EQ(aSent.size(), aBefore.size() + 1) << r.output;
    const auto itMail = std::find_if(aSent.begin(), aSent.end(), [](const Mail& m) {
        return m.sSubject == "Report" && !m.aAttachments.empty();
    });
    ASSERT_NE(itMail, aSent.end()) << r.output;
    EXPECT_TRUE(itMail->bSent);
    EXPECT_EQ(itMail->aTo, std::vector<std::string>{"Team <team@kestrova.example>"});
    EXPECT_EQ(itMail->aAttachments, std::vector<std::string>{ReportAttachment()});
    EXPECT_TRUE(Listed(r.output, "outbox").empty()) << r.output;
    const auto aDrafts = Listed(r.output, "drafts");
    ASSERT_FALSE(aDrafts.empty()) << r.output;
    for (const Mail& m : aDrafts) {
        EXPECT_TRUE(m.aAttachments.empty()) << m.sSubject;
        EXPECT_FALSE(m.bSent) << m.sSubject;
    }
}

TEST_F(HostMailRunTest, WithoutATemplateTheNewMailIsShownAndNeverSent)
{
    const auto [aSentBefore, aDraftsBefore] = MailboxesWithoutTheTemplate();

    const auto r = Answer("saveas\nsendreport\nmailbox drafts\nmailbox outbox\nmailbox sent\n"
                          "quit\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    ASSERT_TRUE(fs::exists(Report())) << r.output;
    const auto nShown = r.output.find("> sendreport\n\n== item window: ");
    ASSERT_NE(nShown, std::string::npos) << r.output;
    EXPECT_NE(r.output.find("   Attachment: " + ReportAttachment(), nShown), std::string::npos)
        << r.output;
    EXPECT_EQ(Listed(r.output, "sent").size(), aSentBefore.size()) << r.output;
    EXPECT_TRUE(Listed(r.output, "outbox").empty()) << r.output;
    const auto aDrafts = Listed(r.output, "drafts");
    ASSERT_EQ(aDrafts.size(), aDraftsBefore.size() + 1) << r.output;
    const auto itMail = std::find_if(aDrafts.begin(), aDrafts.end(),
                                     [](const Mail& m) { return !m.aAttachments.empty(); });
    ASSERT_NE(itMail, aDrafts.end()) << r.output;
    EXPECT_FALSE(itMail->bSent);
    EXPECT_TRUE(itMail->aTo.empty());
    EXPECT_EQ(itMail->aAttachments, std::vector<std::string>{ReportAttachment()});
}

TEST_F(HostMailRunTest, TheShownMailIsAddressedAndSentFromItsWindow)
{
    const auto [aSentBefore, aDraftsBefore] = MailboxesWithoutTheTemplate();

    const auto r = Answer("saveas\nsendreport\n"
                          "mail to team@kestrova.example, chef@kestrova.example\n"
                          "mail subject Wochenbericht KW 1\nmail send\n"
                          "mailbox sent\nmailbox drafts\nquit\n");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    // The host says whom the mail went to.
    EXPECT_NE(r.output.find("> mail send\nMailed \"Wochenbericht KW 1\" to "
                            "team@kestrova.example; chef@kestrova.example\nThe mail was sent."),
              std::string::npos)
        << r.output;
    const auto aSent = Listed(r.output, "sent");
    ASSERT_EQ(aSent.size(), aSentBefore.size() + 1) << r.output;
    const auto itMail = std::find_if(aSent.begin(), aSent.end(), [](const Mail& m) {
        return m.sSubject == "Wochenbericht KW 1";
    });
    ASSERT_NE(itMail, aSent.end()) << r.output;
    EXPECT_TRUE(itMail->bSent);
    // Each once: an address without a name of its own is not repeated in brackets.
    EXPECT_EQ(itMail->aTo,
              (std::vector<std::string>{"team@kestrova.example", "chef@kestrova.example"}))
        << r.output;
    EXPECT_EQ(itMail->aAttachments, std::vector<std::string>{ReportAttachment()});
    // It left the drafts, where the add-in had put it to be shown.
    EXPECT_EQ(Listed(r.output, "drafts").size(), aDraftsBefore.size()) << r.output;

    // In German the host says the same of the next one, subject and recipients in their places.
    const auto rGerman = Answer("saveas\nsendreport\n"
                                "mail to team@kestrova.example; chef@kestrova.example\n"
                                "mail subject Wochenbericht KW 2\nmail send\nquit\n",
                                "de");
    ASSERT_EQ(rGerman.exitCode, 0) << rGerman.output;
    EXPECT_NE(rGerman.output.find("> mail send\nMail \"Wochenbericht KW 2\" an "
                                  "team@kestrova.example; chef@kestrova.example gesendet\n"
                                  "Die Nachricht wurde gesendet."),
              std::string::npos)
        << rGerman.output;
}

} // namespace
