#include "platform/forms/GridControl.h"

#include "platform/forms/FlexGrid.h"

namespace platform::forms {

GridControl::GridControl(std::string name)
    : Control(std::move(name)), m_grid(std::make_unique<FlexGrid>())
{
}

GridControl::~GridControl() = default;

} // namespace platform::forms
