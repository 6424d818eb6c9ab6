#pragma once

#include <memory>

namespace engine {
class Records;
} // namespace engine
namespace platform::forms {
class FlexGrid;
} // namespace platform::forms

namespace actions {

/// What the save action needs of the window whose report it saves: the window is the parent
/// of the view's template collection, and the save reaches it through that chain.
class IReportWindow
{
public:
    virtual ~IReportWindow() = default;
    /// The report grid as the window shows it.
    virtual platform::forms::FlexGrid& ReportGrid() = 0;
    /// The records of the last read (null before the first).
    virtual std::shared_ptr<engine::Records> ReportRecords() const = 0;
    /// Sets the window's mouse pointer: 11 the hourglass, 0 the default.
    virtual void SetReportMousePointer(int lPointer) = 0;
};

} // namespace actions
