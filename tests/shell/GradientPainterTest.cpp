#include "shell/GradientPainter.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"

#include <gtest/gtest.h>

namespace {

constexpr int kTwipsPerPixel = 15;

std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r | g << 8U | b << 16U;
}

TEST(GradientRangeTest, StepIsAn256thOfTheDistance)
{
    shell::GradientRange oRange;
    oRange.FromColor = 255;
    oRange.ToColor = 245;
    oRange.CalculateStep();
    EXPECT_FLOAT_EQ(oRange.StepWidth(), -0.0390625F);
}

// The first and last bands of a gradient read back from the picture box's image: vertical
// bands run from left to right, horizontal ones from bottom to top.
TEST(GradientPainterTest, FirstAndLastBandsByOrientation)
{
    struct Case
    {
        int nArrange;
        std::uint32_t lFirst; // at the left edge, or at the bottom
        std::uint32_t lLast;  // at the right edge, or at the top
    };
    const Case vCases[] = {
        {0, Rgb(255, 0, 229), Rgb(245, 254, 255)},
        {1, Rgb(255, 0, 229), Rgb(245, 254, 255)},
        {7, Rgb(255, 0, 229), Rgb(245, 254, 255)},
    };
    for (const auto& c : vCases) {
        SCOPED_TRACE(c.nArrange);
        platform::forms::Form oForm("frmTest");
        auto oPic = oForm.Add<platform::forms::PictureBox>("pic");
        oPic->Move(0, 0, 512 * kTwipsPerPixel, 512 * kTwipsPerPixel);
        shell::GradientPainter oPainter;
        oPainter.DrawArrange = c.nArrange;
        oPainter.Red().FromColor = 255;
        oPainter.Red().ToColor = 245;
        oPainter.Green().FromColor = 0;
        oPainter.Green().ToColor = 255;
        oPainter.Blue().FromColor = 229;
        oPainter.Blue().ToColor = 255;
        auto& oSurface = oPic->Surface();
        oPainter.Paint(oSurface);
        EXPECT_TRUE(oSurface.AutoRedraw());
        EXPECT_EQ(oSurface.DrawStyle(), 6);
        const int w = oSurface.PixelWidth();
        const int h = oSurface.PixelHeight();
        ASSERT_EQ(w, 512);
        ASSERT_EQ(h, 512);
        if (c.nArrange == 0) {
            EXPECT_DOUBLE_EQ(oSurface.ScaleWidth(), 256);
            EXPECT_EQ(oSurface.DrawWidth(), 20);
            for (int y : {0, h / 2, h - 1}) {
                EXPECT_EQ(oSurface.Point(0, y), c.lFirst) << y;
                EXPECT_EQ(oSurface.Point(w - 1, y), c.lLast) << y;
            }
            // Each band is two pixels wide here: the second band starts at x = 2.
            EXPECT_EQ(oSurface.Point(1, 0), c.lFirst);
            EXPECT_NE(oSurface.Point(2, 0), c.lFirst);
        } else {
            EXPECT_DOUBLE_EQ(oSurface.ScaleHeight(), 256);
            EXPECT_EQ(oSurface.DrawWidth(), 2);
            for (int x : {0, w / 2, w - 1}) {
                EXPECT_EQ(oSurface.Point(x, h - 1), c.lFirst) << x;
                EXPECT_EQ(oSurface.Point(x, 0), c.lLast) << x;
            }
            EXPECT_NE(oSurface.Point(0, h - 3), c.lFirst);
        }
    }
}

// The about box's own painting: light blue at the bottom of the dialog to white at the top.
TEST(GradientPainterTest, FormIsPaintedOverItsInnerArea)
{
    platform::forms::Form oForm("frmTest");
    oForm.SetWidth(6000);
    oForm.SetHeight(4000);
    shell::GradientPainter oPainter;
    oPainter.DrawArrange = 1;
    oPainter.Red().FromColor = 229;
    oPainter.Red().ToColor = 255;
    oPainter.Green().FromColor = 238;
    oPainter.Green().ToColor = 255;
    oPainter.Blue().FromColor = 253;
    oPainter.Blue().ToColor = 255;
    oPainter.Paint(oForm.Surface());
    const auto& oSurface = oForm.Surface();
    ASSERT_GT(oSurface.PixelHeight(), 0);
    EXPECT_EQ(oSurface.Point(0, oSurface.PixelHeight() - 1), Rgb(229, 238, 253));
    // 229 + 26 * 255/256 = 254.9 and 238 + 17 * 255/256 = 254.93 round up to 255.
    EXPECT_EQ(oSurface.Point(oSurface.PixelWidth() - 1, 0), Rgb(255, 255, 255));
}

} // namespace
