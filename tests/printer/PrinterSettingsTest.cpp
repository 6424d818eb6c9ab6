#include "printer/PrinterSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace printer {
namespace {

TEST(PrinterSettingsTest, NewObjectHoldsTheDefaults)
{
    const PrinterSettings o;
    EXPECT_FALSE(o.Collate());
    EXPECT_EQ(o.Color(), DMCOLOR_COLOR);
    EXPECT_EQ(o.Copies(), 1);
    EXPECT_EQ(o.FromPage(), 0);
    EXPECT_EQ(o.Orientation(), DMORIENT_PORTRAIT);
    EXPECT_EQ(o.PaperBin(), DMBIN_UPPER);
    EXPECT_EQ(o.PaperLength(), 0);
    EXPECT_EQ(o.PaperSize(), DMPAPER_A4);
    EXPECT_EQ(o.PaperWidth(), 0);
    EXPECT_EQ(o.PrinterName(), "");
    EXPECT_EQ(o.PrintWhat(), DMPAGES_ALL);
    EXPECT_EQ(o.Quality(), DMRES_MEDIUM);
    EXPECT_EQ(o.ScaleOutput(), 100);
    EXPECT_EQ(o.ToPage(), 0);
    EXPECT_EQ(o.TypeName(), "PrinterSettings");
}

// One enumerated property: how to set and read it, and the value each input is stored as.
struct EnumCase
{
    const char* property;
    std::function<void(PrinterSettings&, std::int32_t)> set;
    std::function<std::int32_t(const PrinterSettings&)> get;
    std::vector<std::pair<std::int32_t, std::int32_t>> inputAndStored;
};

TEST(PrinterSettingsTest, EnumeratedSettersAdmitExactlyTheirMembers)
{
    const std::vector<EnumCase> cases{
        {"PaperSize",
         [](PrinterSettings& o, std::int32_t v) { o.SetPaperSize(static_cast<DMPaperSize>(v)); },
         [](const PrinterSettings& o) { return std::int32_t{o.PaperSize()}; },
         {{8, 8}, {9, 9}, {11, 11}, {66, 66}, {1, 9}, {0, 9}, {10, 9}, {-9, 9}, {256, 9}}},
        {"Orientation",
         [](PrinterSettings& o, std::int32_t v) {
             o.SetOrientation(static_cast<DMOrientation>(v));
         },
         [](const PrinterSettings& o) { return std::int32_t{o.Orientation()}; },
         {{1, 1}, {2, 2}, {0, 1}, {3, 1}, {-1, 1}}},
        {"Color",
         [](PrinterSettings& o, std::int32_t v) { o.SetColor(static_cast<DMColor>(v)); },
         [](const PrinterSettings& o) { return std::int32_t{o.Color()}; },
         {{1, 1}, {2, 2}, {0, 2}, {3, 2}, {-1, 2}}},
        {"PaperBin",
         [](PrinterSettings& o, std::int32_t v) { o.SetPaperBin(static_cast<DMPaperBin>(v)); },
         [](const PrinterSettings& o) { return std::int32_t{o.PaperBin()}; },
         {{1, 1},
          {2, 2},
          {7, 7},
          {11, 11},
          {14, 14},
          {256, 256},
          {0, 1},
          {12, 1},
          {13, 1},
          {15, 1},
          {255, 1},
          {257, 1},
          {-1, 1}}},
        {"Quality",
         [](PrinterSettings& o, std::int32_t v) { o.SetQuality(static_cast<DMQuality>(v)); },
         [](const PrinterSettings& o) { return std::int32_t{o.Quality()}; },
         {{-1, -1}, {-2, -2}, {-3, -3}, {-4, -4}, {600, -3}, {0, -3}, {-5, -3}}},
        {"PrintWhat",
         [](PrinterSettings& o, std::int32_t v) { o.SetPrintWhat(static_cast<DMPages>(v)); },
         [](const PrinterSettings& o) { return std::int32_t{o.PrintWhat()}; },
         {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}}},
    };
    for (const EnumCase& c : cases)
        for (const auto& [input, stored] : c.inputAndStored) {
            PrinterSettings o;
            c.set(o, input);
            EXPECT_EQ(c.get(o), stored) << c.property << " set to " << input;
        }
}

TEST(PrinterSettingsTest, WholeNumbersAreStoredUnchecked)
{
    struct IntCase
    {
        const char* property;
        void (PrinterSettings::*set)(std::int16_t);
        std::int16_t (PrinterSettings::*get)() const;
    };
    const IntCase cases[] = {
        {"Copies", &PrinterSettings::SetCopies, &PrinterSettings::Copies},
        {"FromPage", &PrinterSettings::SetFromPage, &PrinterSettings::FromPage},
        {"ToPage", &PrinterSettings::SetToPage, &PrinterSettings::ToPage},
        {"PaperLength", &PrinterSettings::SetPaperLength, &PrinterSettings::PaperLength},
        {"PaperWidth", &PrinterSettings::SetPaperWidth, &PrinterSettings::PaperWidth},
        {"ScaleOutput", &PrinterSettings::SetScaleOutput, &PrinterSettings::ScaleOutput},
    };
    for (const IntCase& c : cases)
        for (std::int16_t v : {std::int16_t{0}, std::int16_t{-1}, std::int16_t{-32768},
                               std::int16_t{32767}, std::int16_t{7}}) {
            PrinterSettings o;
            (o.*c.set)(v);
            EXPECT_EQ((o.*c.get)(), v) << c.property;
        }
}

TEST(PrinterSettingsTest, CollateIsStoredUnchanged)
{
    PrinterSettings o;
    o.SetCollate(true);
    EXPECT_TRUE(o.Collate());
    o.SetCollate(false);
    EXPECT_FALSE(o.Collate());
}

} // namespace
} // namespace printer
