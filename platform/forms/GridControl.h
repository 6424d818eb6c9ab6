#pragma once

#include "platform/forms/Control.h"

#include <memory>
#include <string>

namespace platform::forms {

class FlexGrid;

/// A flexible grid placed on a form: the form owns it among its controls, so that whoever
/// works the form (the host's person, a test) finds the grid by its name as it finds a button.
class GridControl : public Control
{
public:
    explicit GridControl(std::string name);
    ~GridControl() override;
    std::string TypeName() const override { return "FlexGrid"; }

    /// The grid.
    FlexGrid& Grid() { return *m_grid; }
    const FlexGrid& Grid() const { return *m_grid; }

private:
    std::unique_ptr<FlexGrid> m_grid;
};

} // namespace platform::forms
