#pragma once

#include "tests/grid/ReportFixture.h"

#include "actions/ActionSave.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace actions::test {

using Table = std::vector<std::vector<std::string>>;

// Lines split at CR LF, fields at ";" outside double quotes ("" inside quotes is one quote).
inline Table ParseCsv(const std::string& sText)
{
    Table aRows(1, std::vector<std::string>(1));
    bool bQuoted = false;
    for (size_t i = 0; i < sText.size(); ++i) {
        const char ch = sText[i];
        if (bQuoted) {
            if (ch == '"' && i + 1 < sText.size() && sText[i + 1] == '"') {
                aRows.back().back() += '"';
                ++i;
            } else if (ch == '"') {
                bQuoted = false;
            } else {
                aRows.back().back() += ch;
            }
        } else if (ch == '"') {
            bQuoted = true;
        } else if (ch == ';') {
            aRows.back().emplace_back();
        } else if (ch == '\r' && i + 1 < sText.size() && sText[i + 1] == '\n') {
            aRows.emplace_back(1);
            ++i;
        } else {
            aRows.back().back() += ch;
        }
    }
    return aRows;
}

/// A report grid filled from a hand-built view grouped by category, with a summed duration
/// and a counting item-icon column, and a save action as the export writers' parent.
class ExportFixture : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        oView.AddColumn("Subject", "Betreff", 8, 1);
        oView.AddColumn("Cat", "Kategorie", 8, 1);
        oView.AddColumn("Duration", "Dauer", 3, 7, 2);
        oView.AddColumn("Icon", "Symbol", 9, 0, 4, false, 2);
        oView.bCalculateItemsCount = true;
        oView.Group(0, "Cat");
        Add("Plan <A>", "Rot", 30);
        Add("Jour; fixe \"x\"", "Blau", 60);
        Add("   ", "Rot", 45);
        Fill();
        oSave.Init(nullptr);
        m_oDir = std::filesystem::temp_directory_path() /
                 ("tv_export_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_oDir);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(m_oDir, ec);
        ReportFixture::TearDown();
    }

    void Add(const std::string& sSubject, const std::string& sCat, std::int32_t lMinutes)
    {
        AddRecord({{"Subject", engine::PT_STRING8, platform::runtime::Variant(sSubject)},
                   {"Cat", engine::PT_STRING8, platform::runtime::Variant(sCat)},
                   {"Duration", engine::PT_LONG, platform::runtime::Variant(lMinutes)},
                   {"Icon", engine::PT_OBJECT, platform::runtime::Variant(std::int32_t(1))}});
    }

    std::string PathOf(const std::string& sName) const { return (m_oDir / sName).string(); }

    static std::string ReadAll(const std::string& sPath)
    {
        std::ifstream oIn(sPath, std::ios::binary);
        std::ostringstream oText;
        oText << oIn.rdbuf();
        return oText.str();
    }

    ActionSave oSave;

private:
    std::filesystem::path m_oDir;
};

} // namespace actions::test
