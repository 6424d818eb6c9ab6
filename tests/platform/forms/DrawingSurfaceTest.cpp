#include "platform/forms/DrawingSurface.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <zlib.h>

namespace {

using namespace platform::forms;
namespace fs = std::filesystem;

constexpr std::uint32_t Rgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r + 256 * g + 65536 * b);
}

// A picture box of 400 x 200 pixels.
std::shared_ptr<PictureBox> Box()
{
    auto box = std::make_shared<PictureBox>("pic");
    box->Move(0, 0, 400 * 15, 200 * 15);
    return box;
}

TEST(DrawingSurfaceTest, UserScaleMapsBandsOntoPixels)
{
    auto box = Box();
    auto& surface = box->Surface();
    EXPECT_EQ(surface.ScaleMode(), 1);
    EXPECT_DOUBLE_EQ(surface.ScaleWidth(), 6000);
    surface.SetDrawStyle(6);
    surface.SetDrawWidth(2);
    surface.SetScaleHeight(256);
    surface.SetAutoRedraw(true);
    EXPECT_EQ(surface.ScaleMode(), 0);
    EXPECT_DOUBLE_EQ(surface.ScaleHeight(), 256);
    EXPECT_DOUBLE_EQ(surface.ScaleWidth(), 6000); // the other axis keeps its twips
    // Horizontal bands from the bottom up, as the about box paints them.
    for (int i = 0; i < 256; ++i)
        surface.Line(0, 255 - i, surface.ScaleWidth(), 256 - i, Rgb(i, 0, 255 - i),
                     LineShape::BoxFilled);
    EXPECT_EQ(surface.Point(0, 199), Rgb(0, 0, 255));     // bottom row: band 0
    EXPECT_EQ(surface.Point(399, 0), Rgb(255, 0, 0));     // top row: band 255
    EXPECT_EQ(surface.Point(200, 100), Rgb(127, 0, 128)); // units 128..129: band 127
    const auto rgb = surface.Rgb();
    ASSERT_EQ(rgb.size(), 400u * 200u * 3u);
    EXPECT_EQ(rgb[0], 255); // top-left red
    EXPECT_EQ(rgb[2], 0);
}

TEST(DrawingSurfaceTest, PenAndShapesDrawWhereTheyShould)
{
    struct Case
    {
        const char* name;
        int style;
        int width;
        LineShape shape;
        std::vector<std::pair<int, int>> painted;
        std::vector<std::pair<int, int>> blank;
    };
    // A box from pixel 10 to 20 in both directions (twips scale: 150 to 300).
    const std::vector<Case> cases = {
        {"filled, inside",
         6,
         5,
         LineShape::BoxFilled,
         {{10, 10}, {19, 19}, {15, 15}},
         {{9, 9}, {20, 20}}},
        {"filled, straddling", 0, 5, LineShape::BoxFilled, {{8, 8}, {21, 21}}, {{7, 7}, {22, 22}}},
        {"outline", 6, 2, LineShape::Box, {{10, 15}, {11, 15}, {19, 15}}, {{15, 15}, {12, 15}}},
        {"line", 0, 1, LineShape::Line, {{10, 10}, {15, 15}, {20, 20}}, {{10, 20}}},
    };
    for (const auto& c : cases) {
        auto box = Box();
        auto& surface = box->Surface();
        surface.SetAutoRedraw(true);
        surface.SetDrawStyle(c.style);
        surface.SetDrawWidth(c.width);
        surface.Line(150, 150, 300, 300, Rgb(1, 2, 3), c.shape);
        for (auto [x, y] : c.painted)
            EXPECT_EQ(surface.Point(x, y), Rgb(1, 2, 3)) << c.name << " " << x << "," << y;
        for (auto [x, y] : c.blank)
            EXPECT_EQ(surface.Point(x, y), 0xFFFFFFu) << c.name << " " << x << "," << y;
    }
}

TEST(DrawingSurfaceTest, OnlyAutoRedrawKeepsTheDrawingAndOnlyCopyPenDraws)
{
    auto box = Box();
    auto& surface = box->Surface();
    surface.Line(0, 0, 6000, 3000, 0, LineShape::BoxFilled);
    EXPECT_EQ(surface.Point(5, 5), 0xFFFFFFu);
    surface.SetAutoRedraw(true);
    surface.SetDrawMode(7);
    EXPECT_THROW(surface.Line(0, 0, 10, 10, 0), platform::runtime::Error);
    EXPECT_THROW(surface.SetDrawMode(17), platform::runtime::Error);
    EXPECT_THROW(surface.SetDrawStyle(7), platform::runtime::Error);
    EXPECT_THROW(surface.SetDrawWidth(0), platform::runtime::Error);
    EXPECT_THROW(surface.SetScaleWidth(0), platform::runtime::Error);
}

TEST(DrawingSurfaceTest, TellsItsObserverWhenTheKeptImageChanges)
{
    auto box = Box();
    auto& surface = box->Surface();
    int nCalls = 0;
    surface.SetObserver([&] { ++nCalls; });
    struct Step
    {
        const char* name;
        std::function<void()> act;
        int calls; // the observer's calls after the step
    };
    const Step steps[] = {
        {"line on the screen only", [&] { surface.Line(0, 0, 10, 10, 0); }, 0},
        {"AutoRedraw on", [&] { surface.SetAutoRedraw(true); }, 1},
        {"AutoRedraw on again", [&] { surface.SetAutoRedraw(true); }, 1},
        {"kept line", [&] { surface.Line(0, 0, 10, 10, 0); }, 2},
        {"kept box", [&] { surface.Line(0, 0, 10, 10, 0, LineShape::BoxFilled); }, 3},
        {"refused pen",
         [&] {
             surface.SetDrawMode(7);
             EXPECT_ANY_THROW(surface.Line(0, 0, 1, 1, 0));
             surface.SetDrawMode(13);
         },
         3},
        {"Cls", [&] { surface.Cls(); }, 4},
        {"AutoRedraw off", [&] { surface.SetAutoRedraw(false); }, 5},
        {"observer gone",
         [&] {
             surface.SetObserver({});
             surface.Cls();
         },
         5},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(nCalls, step.calls) << step.name;
    }
}

TEST(DrawingSurfaceTest, FormsDrawOnTheirInnerArea)
{
    Form form("frmAbout");
    form.SetWidth(3000 + 120);
    form.SetHeight(1500 + 450);
    auto& surface = form.Surface();
    EXPECT_EQ(surface.PixelWidth(), 200);
    EXPECT_EQ(surface.PixelHeight(), 100);
    surface.SetScaleWidth(256);
    EXPECT_EQ(form.GetScaleMode(), ScaleMode::User);
    EXPECT_EQ(form.ScaleWidth(), 3000); // placement stays in twips
    surface.SetAutoRedraw(true);
    surface.Line(128, 0, 129, 1500, Rgb(9, 9, 9), LineShape::BoxFilled);
    EXPECT_EQ(surface.Point(100, 50), Rgb(9, 9, 9));
    EXPECT_EQ(surface.Point(99, 50), 0xFFFFFFu);
}

TEST(DrawingSurfaceTest, SavesAReadablePng)
{
    auto box = Box();
    auto& surface = box->Surface();
    surface.SetAutoRedraw(true);
    surface.Line(0, 0, 3000, 3000, Rgb(255, 0, 0), LineShape::BoxFilled);
    const auto path = fs::temp_directory_path() / "tv-surface-test.png";
    surface.SavePng(path.string());
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    fs::remove(path);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(bytes.substr(12, 4), "IHDR");
    EXPECT_EQ(static_cast<unsigned char>(bytes[19]), 144); // width 400 = 0x190
    EXPECT_EQ(static_cast<unsigned char>(bytes[23]), 200);
    // Inflate the image data and find the first pixel red.
    const auto idat = bytes.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    const auto length = (static_cast<unsigned char>(bytes[idat - 4]) << 24) |
                        (static_cast<unsigned char>(bytes[idat - 3]) << 16) |
                        (static_cast<unsigned char>(bytes[idat - 2]) << 8) |
                        static_cast<unsigned char>(bytes[idat - 1]);
    std::string raw(200 * (400 * 3 + 1), '\0');
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                         reinterpret_cast<const Bytef*>(bytes.data() + idat + 4),
                         static_cast<uLong>(length)),
              Z_OK);
    EXPECT_EQ(rawSize, raw.size());
    EXPECT_EQ(raw.substr(0, 4), std::string("\0\xff\0\0", 4));
    EXPECT_EQ(raw.substr(1 + 300 * 3, 3), std::string("\xff\xff\xff", 3));
}

} // namespace
