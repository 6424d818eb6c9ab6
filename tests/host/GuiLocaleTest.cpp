// The windows under the process locale of a German desktop: a QApplication takes the process
// locale from the environment, yet every file the report window saves is the one it saves under
// the C locale. TV_GUI_LANG (en, de) chooses the language.
#include "GuiHostFixture.h"
#include "gui/FormView.h"
#include "host/GuiHost.h"
#include "platform/runtime/Date.h"
#include "tests/platform/ProcessLocale.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Every format the report window's save offers, by the name's extension.
constexpr std::array kFormats = {"csv", "html", "xls", "xlsx", "xlsm"};

// The output and exit status of a command.
std::pair<std::string, int> Output(const std::string& sCommand)
{
    std::string sText;
    FILE* pipe = ::popen((sCommand + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return {"cannot run " + sCommand, -1};
    std::array<char, 4096> buffer{};
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        sText.append(buffer.data(), n);
    return {sText, ::pclose(pipe)};
}

// The values of a saved file as a reader of its own reads them (saved_report_values.py, by
// Debian's python3, which has xlrd).
std::string ValuesOf(const fs::path& oFile)
{
    const char* sSource = std::getenv("TV_SOURCE_DIR");
    const fs::path oReader =
        fs::path(sSource ? sSource : ".") / "tests/host/saved_report_values.py";
    const auto [sText, nStatus] =
        Output("/usr/bin/python3 '" + oReader.string() + "' '" + oFile.string() + "'");
    EXPECT_EQ(nStatus, 0) << oFile << ": " << sText;
    return sText;
}

class GuiLocaleTest : public host_test::GuiHostFixture
{
protected:
    void SetUp() override
    {
        GuiHostFixture::SetUp();
        // The reports say when they were made: both saves are made at one time.
        platform::runtime::SetClock(
            [] { return platform::runtime::Date::FromLinear(46366.5); }); // 10.12.2026 12:00
    }
    void TearDown() override
    {
        platform::runtime::SetClock({});
        GuiHostFixture::TearDown();
    }

    // The report of the sample profile saved through the window in every format into
    // `oFolder`, by a client started under the process locale `sLocale`.
    void SaveEveryFormat(const char* sLocale, const fs::path& oFolder)
    {
        const platformtest::ProcessLocale oProcess(sLocale);
        ASSERT_TRUE(oProcess.Set()) << sLocale << " is not generated (scripts/install-deps.sh)";
        fs::create_directories(oFolder);
        std::ostringstream out;
        host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
        gui::FormView* pView = OpenReportWindow(oHost);
        ASSERT_NE(pView, nullptr) << out.str();
        for (const char* sFormat : kFormats) {
            const fs::path oFile = oFolder / (std::string("report.") + sFormat);
            guitest::WhenWindowShown<QFileDialog>(
                [](QFileDialog&) { return true; },
                [&](QFileDialog& oDialog) {
                    auto* pName = oDialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                    ASSERT_NE(pName, nullptr);
                    pName->setText(QString::fromStdString(oFile.string()));
                    QTest::keyClick(pName, Qt::Key_Return);
                });
            EXPECT_TRUE(MenuOf(*pView).Click("saveas"));
            QApplication::processEvents();
            EXPECT_TRUE(fs::is_regular_file(oFile)) << oFile << "\n" << out.str();
        }
        oHost.Stop();
    }
};

TEST_F(GuiLocaleTest, EveryFormatSavedUnderAGermanProcessLocaleIsTheOneSavedUnderC)
{
    SaveEveryFormat("C.UTF-8", oRoot / "c");
    SaveEveryFormat(platformtest::kGermanProcessLocale, oRoot / "de");
    for (const char* sFormat : kFormats) {
        SCOPED_TRACE(sFormat);
        const std::string sName = std::string("report.") + sFormat;
        const std::string sC = ValuesOf(oRoot / "c" / sName);
        const std::string sGerman = ValuesOf(oRoot / "de" / sName);
        EXPECT_EQ(sGerman, sC);
        // The reader saw the values: numbers and dates of the report, the workbooks' widths
        // and margins.
        EXPECT_GT(std::count(sC.begin(), sC.end(), '\n'), 1);
        if (sName.find("xlsx") != std::string::npos || sName.find("xlsm") != std::string::npos) {
            for (const char* sSeen : {" date ", " number ", " width ", " margin left "})
                EXPECT_NE(sC.find(sSeen), std::string::npos) << sSeen << "\n" << sC;
        }
    }
}

} // namespace
