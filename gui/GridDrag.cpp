#include "gui/GridDrag.h"

#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "platform/forms/FlexGrid.h"

namespace gui {

namespace pf = platform::forms;

namespace {

// Puts a watcher in front of the grid's OLEStartDrag handler and gives the handler back when
// it goes, whatever the call did.
class StartWatch
{
public:
    StartWatch(pf::FlexGrid& grid, bool& started)
        : m_grid(grid), m_handler(grid.Events.OLEStartDrag)
    {
        grid.Events.OLEStartDrag = [handler = m_handler, &started](pf::DropEffect& allowed) {
            if (handler)
                handler(allowed);
            started = allowed != pf::DropEffect::None;
        };
    }
    ~StartWatch() { m_grid.Events.OLEStartDrag = std::move(m_handler); }
    StartWatch(const StartWatch&) = delete;
    StartWatch& operator=(const StartWatch&) = delete;

private:
    pf::FlexGrid& m_grid;
    std::function<void(pf::DropEffect&)> m_handler;
};

} // namespace

GridDragData::GridDragData(GridView& source) : m_source(&source)
{
    setData(kFormat, QByteArray());
}

pf::FlexGrid* GridDragData::SourceOf(const QMimeData* data)
{
    const auto* drag = qobject_cast<const GridDragData*>(data);
    if (!drag || !drag->m_source || !drag->m_source->Model().HasGrid())
        return nullptr;
    return &drag->m_source->Grid();
}

bool StartsDrag(pf::FlexGrid& grid, const std::function<void()>& call)
{
    bool started = false;
    const StartWatch watch(grid, started);
    call();
    return started;
}

} // namespace gui
