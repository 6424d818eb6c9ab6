#include "platform/printing/detail/DeviceModeOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform::printing::detail {
namespace {

using Member = std::int16_t DeviceMode::*;

struct FieldCase
{
    const char* field;
    std::uint32_t bit;
    Member member;
    std::int16_t value;
    const char* option;   // the print server option the value must show as ("" for none)
    const char* expected; // its value
};

std::string Describe(const FieldCase& c)
{
    return std::string(c.field) + "=" + std::to_string(c.value);
}

// The host codes with a print server counterpart, and what the server sees.
const std::vector<FieldCase> kMapped{
    {"copies", fields::Copies, &DeviceMode::copies, 3, "copies", "3"},
    {"collate", fields::Collate, &DeviceMode::collate, 1, "multiple-document-handling",
     "separate-documents-collated-copies"},
    {"collate", fields::Collate, &DeviceMode::collate, 0, "multiple-document-handling",
     "separate-documents-uncollated-copies"},
    {"color", fields::Color, &DeviceMode::color, 1, "print-color-mode", "monochrome"},
    {"color", fields::Color, &DeviceMode::color, 2, "print-color-mode", "color"},
    {"orientation", fields::Orientation, &DeviceMode::orientation, 1, "orientation-requested", "3"},
    {"orientation", fields::Orientation, &DeviceMode::orientation, 2, "orientation-requested", "4"},
    {"paper", fields::PaperSize, &DeviceMode::paperSize, 8, "media", "A3"},
    {"paper", fields::PaperSize, &DeviceMode::paperSize, 9, "media", "A4"},
    {"paper", fields::PaperSize, &DeviceMode::paperSize, 11, "media", "A5"},
    {"paper", fields::PaperSize, &DeviceMode::paperSize, 66, "media", "A2"},
    {"paper", fields::PaperSize, &DeviceMode::paperSize, 1, "media", "Letter"},
    {"quality", fields::PrintQuality, &DeviceMode::printQuality, -1, "print-quality", "3"},
    {"quality", fields::PrintQuality, &DeviceMode::printQuality, -3, "print-quality", "4"},
    {"quality", fields::PrintQuality, &DeviceMode::printQuality, -4, "print-quality", "5"},
    {"quality", fields::PrintQuality, &DeviceMode::printQuality, 600, "printer-resolution",
     "600dpi"},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 1, "media-source", "top"},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 2, "media-source", "bottom"},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 4, "media-source", "manual"},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 7, "media-source", "auto"},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 11, "media-source",
     "large-capacity"},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 258, "media-source", "tray-2"},
    {"scale", fields::Scale, &DeviceMode::scale, 75, "scaling", "75"},
};

// Host codes that the print server cannot say (exactly): they must come back all the same,
// from the private options. Where the server has an approximation, it shows as `option`.
const std::vector<FieldCase> kPrivate{
    {"copies", fields::Copies, &DeviceMode::copies, 0, "", ""},
    {"copies", fields::Copies, &DeviceMode::copies, -5, "", ""},
    {"copies", fields::Copies, &DeviceMode::copies, 12000, "", ""},
    {"collate", fields::Collate, &DeviceMode::collate, 2, "", ""},
    {"color", fields::Color, &DeviceMode::color, 3, "", ""},
    {"orientation", fields::Orientation, &DeviceMode::orientation, 0, "", ""},
    {"paper", fields::PaperSize, &DeviceMode::paperSize, 500, "", ""},
    {"paper length", fields::PaperLength, &DeviceMode::paperLength, 2970, "", ""},
    {"paper width", fields::PaperWidth, &DeviceMode::paperWidth, -1, "", ""},
    {"quality", fields::PrintQuality, &DeviceMode::printQuality, -2, "print-quality", "3"},
    {"quality", fields::PrintQuality, &DeviceMode::printQuality, 0, "", ""},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 14, "", ""},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 256, "", ""},
    {"bin", fields::DefaultSource, &DeviceMode::defaultSource, 6, "", ""},
    {"scale", fields::Scale, &DeviceMode::scale, 0, "", ""},
    {"scale", fields::Scale, &DeviceMode::scale, 1000, "", ""},
};

// What a print server reports for a printer nobody has configured.
Options ServerDefaults()
{
    return {
        {"copies", "1"}, {"print-color-mode", "color"}, {"number-up", "1"}, {"printer-info", "x"}};
}

DeviceMode WithField(const FieldCase& c)
{
    DeviceMode dm;
    dm.fields = c.bit;
    dm.*c.member = c.value;
    return dm;
}

TEST(DeviceModeOptionsTest, MappedValuesBecomeServerOptionsAndReadBack)
{
    for (const FieldCase& c : kMapped) {
        Options options = ServerDefaults();
        EncodeDeviceMode(WithField(c), options, {});
        ASSERT_TRUE(options.count(c.option)) << Describe(c);
        EXPECT_EQ(options.at(c.option), c.expected) << Describe(c);
        for (const auto& [name, value] : options)
            EXPECT_FALSE(IsPrivateOption(name)) << Describe(c) << " needs no private option";
        EXPECT_EQ(DecodeDeviceMode("p", options, {}).*c.member, c.value) << Describe(c);
    }
}

TEST(DeviceModeOptionsTest, ValuesWithoutServerOptionRoundTripThroughPrivateOptions)
{
    for (const FieldCase& c : kPrivate) {
        Options options = ServerDefaults();
        EncodeDeviceMode(WithField(c), options, {});
        if (*c.option != '\0') {
            ASSERT_TRUE(options.count(c.option)) << Describe(c);
            EXPECT_EQ(options.at(c.option), c.expected) << Describe(c);
        }
        int privateOptions = 0;
        for (const auto& [name, value] : options)
            privateOptions += IsPrivateOption(name) ? 1 : 0;
        EXPECT_EQ(privateOptions, 1) << Describe(c);
        EXPECT_EQ(DecodeDeviceMode("p", options, {}).*c.member, c.value) << Describe(c);
    }
}

TEST(DeviceModeOptionsTest, ServerSpellingsDecodeToHostCodes)
{
    struct Spelling
    {
        const char* option;
        const char* value;
        Member member;
        std::int16_t expected;
    };
    const Spelling spellings[] = {
        {"media", "iso_a4_210x297mm", &DeviceMode::paperSize, 9},
        {"media", "na_letter_8.5x11in_borderless", &DeviceMode::paperSize, 1},
        {"media", "A3,Upper", &DeviceMode::paperSize, 8},
        {"PageSize", "A5", &DeviceMode::paperSize, 11},
        {"PageSize", "Letter.Fullbleed", &DeviceMode::paperSize, 1},
        {"media", "iso_a2_420x594mm", &DeviceMode::paperSize, 66},
        {"media", "na_govt-letter_8x10in", &DeviceMode::paperSize, 256},
        {"ColorModel", "Gray", &DeviceMode::color, 1},
        {"ColorModel", "RGB", &DeviceMode::color, 2},
        {"orientation-requested", "5", &DeviceMode::orientation, 2},
        {"orientation-requested", "6", &DeviceMode::orientation, 1},
        {"landscape", "", &DeviceMode::orientation, 2},
        {"InputSlot", "Lower", &DeviceMode::defaultSource, 2},
        {"InputSlot", "Default", &DeviceMode::defaultSource, 7},
        {"media-source", "main", &DeviceMode::defaultSource, 1},
        {"media-source", "tray-3", &DeviceMode::defaultSource, 259},
        {"Resolution", "600x600dpi", &DeviceMode::printQuality, 600},
        {"collate", "true", &DeviceMode::collate, 1},
        {"Collate", "False", &DeviceMode::collate, 0},
    };
    for (const Spelling& s : spellings) {
        Options options{{s.option, s.value}};
        EXPECT_EQ(DecodeDeviceMode("p", options, {}).*s.member, s.expected)
            << s.option << "=" << s.value;
    }
}

TEST(DeviceModeOptionsTest, UnsetOptionsReadAsThePrintersDefaults)
{
    PrinterDefaults defaults;
    defaults.paperSize = 1;
    const DeviceMode dm = DecodeDeviceMode("Queue", {}, defaults);
    EXPECT_EQ(dm.deviceName, "Queue");
    EXPECT_EQ(dm.fields, fields::All);
    EXPECT_EQ(dm.paperSize, 1);
    EXPECT_EQ(dm.copies, 1);
    EXPECT_EQ(dm.color, 2);
    EXPECT_EQ(dm.orientation, 1);
    EXPECT_EQ(dm.defaultSource, 7);
    EXPECT_EQ(dm.printQuality, -3);
    EXPECT_EQ(dm.scale, 100);
    EXPECT_EQ(dm.paperLength, 0);
    EXPECT_EQ(dm.paperWidth, 0);
    EXPECT_EQ(dm.collate, 0);
}

TEST(DeviceModeOptionsTest, PrivateValueGivesWayToALaterServerSetting)
{
    Options options = ServerDefaults();
    DeviceMode dm;
    dm.fields = fields::PrintQuality | fields::Color;
    dm.printQuality = -2; // low: prints as draft, kept privately
    dm.color = 3;         // no such colour mode: the server's stays, kept privately
    EncodeDeviceMode(dm, options, {});
    // Someone changes the queue's settings with the print commands afterwards.
    options["print-quality"] = "5";
    options["print-color-mode"] = "monochrome";
    const DeviceMode back = DecodeDeviceMode("p", options, {});
    EXPECT_EQ(back.printQuality, -4);
    EXPECT_EQ(back.color, 1);
}

TEST(DeviceModeOptionsTest, UnflaggedFieldsStayAsStored)
{
    Options options{{"media", "Legal"}, {"copies", "4"}};
    DeviceMode dm;
    dm.fields = fields::Copies;
    dm.copies = 2;
    dm.paperSize = 9;
    EncodeDeviceMode(dm, options, {});
    EXPECT_EQ(options.at("media"), "Legal");
    EXPECT_EQ(options.at("copies"), "2");
}

TEST(DeviceModeOptionsTest, WritingBackAsReadRestoresTheStoredOptionsExactly)
{
    const Options stored{{"media", "na_govt-letter_8x10in"},
                         {"InputSlot", "Tractor"},
                         {"Resolution", "1200x600dpi"},
                         {"ColorModel", "CMYK"},
                         {"orientation-requested", "5"},
                         {"copies", "2"},
                         {"number-up", "2"},
                         {"tallyman-devmode-paperlength", "1234:"}};
    const DeviceMode asRead = DecodeDeviceMode("p", stored, {});

    // A print changes every field...
    Options options = stored;
    DeviceMode print = asRead;
    print.paperSize = 8;
    print.defaultSource = 2;
    print.printQuality = -4;
    print.color = 1;
    print.orientation = 1;
    print.copies = 5;
    print.paperLength = 0;
    print.paperWidth = 100;
    print.scale = 50;
    print.collate = 1;
    print.asRead.reset();
    EncodeDeviceMode(print, options, {});
    ASSERT_NE(options, stored);

    // ...and writing the device mode read before it puts back exactly what was stored.
    EncodeDeviceMode(asRead, options, {});
    EXPECT_EQ(options, stored);
}

TEST(DeviceModeOptionsTest, OptionNamesCompareWithoutCase)
{
    Options options{{"PAGESIZE", "A5"}};
    EXPECT_EQ(DecodeDeviceMode("p", options, {}).paperSize, 11);
    EXPECT_TRUE(IsPrivateOption("Tallyman-DevMode-Copies"));
    EXPECT_FALSE(IsPrivateOption("copies"));
}

} // namespace
} // namespace platform::printing::detail
