#pragma once

#include <cstdint>

namespace shell {

/// One colour channel of a gradient: the value of the first band and the value the bands
/// run towards, in 256 equal steps.
class GradientRange
{
public:
    /// Channel value of the first band (0 to 255).
    std::int32_t FromColor = 0;
    /// Channel value the gradient runs towards; the last band stops one step short of it.
    std::int32_t ToColor = 0;

    /// Sets the step from the two values: (ToColor - FromColor) / 256.
    void CalculateStep() { m_sngStep = static_cast<float>(ToColor - FromColor) / 256.0F; }
    /// The step set by the last CalculateStep.
    float StepWidth() const { return m_sngStep; }

private:
    float m_sngStep = 0;
};

} // namespace shell
