#pragma once

#include "shell/GradientRange.h"

#include <cstdint>

namespace platform::forms {
class DrawingSurface;
}

namespace shell {

/// Paints a soft colour gradient of 256 solid bands on a form or picture box, each channel
/// running linearly from its range's FromColor towards its ToColor.
class GradientPainter
{
public:
    /// 0: vertical bands, running from left to right; any other value: horizontal bands,
    /// running from bottom to top.
    std::int32_t DrawArrange = 0;

    GradientRange& Blue() { return m_oBlue; }
    GradientRange& Green() { return m_oGreen; }
    GradientRange& Red() { return m_oRed; }

    /// Draws the bands into the target's persistent image, with a user scale of 256 units
    /// along the gradient. A step the target refuses is skipped and the rest is painted.
    void Paint(platform::forms::DrawingSurface& Target);

private:
    static float GetChannelValue(int lIndex, const GradientRange& oRange);

    GradientRange m_oRed;
    GradientRange m_oGreen;
    GradientRange m_oBlue;
};

} // namespace shell
