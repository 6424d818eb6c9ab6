#pragma once

#include <QMimeData>
#include <QPointer>

#include <functional>

namespace platform::forms {
class FlexGrid;
enum class DropEffect;
} // namespace platform::forms

namespace gui {

class GridView;

/// What a drag from a grid view carries: the grid it started from (known in-process, as the
/// forms' drag events name their source grid). A drop of anything else is refused.
class GridDragData : public QMimeData
{
    Q_OBJECT
public:
    /// The format a grid's drag offers.
    static constexpr const char* kFormat = "application/x-tallyman-grid-row";

    explicit GridDragData(GridView& source);

    /// The grid a drag carrying `data` started from, or null when it is no grid's drag or
    /// that grid has gone since.
    static platform::forms::FlexGrid* SourceOf(const QMimeData* data);

private:
    QPointer<GridView> m_source;
};

/// Runs `call` (a mouse move handed to the grid) and tells whether the add-in started a drag
/// from the grid in it (called OLEDrag, allowing some effect): the grid's OLEStartDrag is
/// watched for the call only.
bool StartsDrag(platform::forms::FlexGrid& grid, const std::function<void()>& call);

} // namespace gui
