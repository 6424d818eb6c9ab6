#include "shell/GradientPainter.h"

#include "platform/forms/DrawingSurface.h"
#include "platform/runtime/ResumeNext.h"

#include <algorithm>
#include <cmath>

namespace shell {

namespace rt = platform::runtime;
namespace pf = platform::forms;

namespace {
constexpr int kBands = 256;
constexpr int kInsideSolid = 6;
constexpr int kCopyPen = 13;
constexpr int kVerticalPen = 20;
constexpr int kHorizontalPen = 2;

// Rounds as the runtime does (to the nearest integer, halves to even); a value outside a
// channel's range is held at its edge rather than spilling into the next channel.
std::uint32_t Channel(float sngValue)
{
    return static_cast<std::uint32_t>(std::clamp(std::nearbyint(sngValue), 0.0F, 255.0F));
}
} // namespace

float GradientPainter::GetChannelValue(int lIndex, const GradientRange& oRange)
{
    return static_cast<float>(oRange.FromColor) + oRange.StepWidth() * static_cast<float>(lIndex);
}

void GradientPainter::Paint(pf::DrawingSurface& Target)
{
    rt::ResumeNext ignore;
    ignore([&] { Target.SetDrawStyle(kInsideSolid); });
    ignore([&] { Target.SetDrawMode(kCopyPen); });
    double dLength = 0;
    if (DrawArrange == 0) {
        ignore([&] { Target.SetDrawWidth(kVerticalPen); });
        ignore([&] { Target.SetScaleWidth(kBands); });
        ignore([&] { dLength = Target.ScaleHeight(); });
    } else {
        ignore([&] { Target.SetDrawWidth(kHorizontalPen); });
        ignore([&] { Target.SetScaleHeight(kBands); });
        ignore([&] { dLength = static_cast<float>(Target.ScaleWidth()); });
    }
    ignore([&] { Target.SetAutoRedraw(true); });
    m_oRed.CalculateStep();
    m_oGreen.CalculateStep();
    m_oBlue.CalculateStep();
    for (int i = 0; i < kBands; ++i) {
        const std::uint32_t lColour = Channel(GetChannelValue(i, m_oRed)) |
                                      Channel(GetChannelValue(i, m_oGreen)) << 8U |
                                      Channel(GetChannelValue(i, m_oBlue)) << 16U;
        // Filled boxes keep every band solid whatever the target's size.
        ignore([&] {
            if (DrawArrange == 0)
                Target.Line(i, 0, i + 1, dLength, lColour, pf::LineShape::BoxFilled);
            else
                Target.Line(0, kBands - 1 - i, dLength, kBands - i, lColour,
                            pf::LineShape::BoxFilled);
        });
    }
}

} // namespace shell
