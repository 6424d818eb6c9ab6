#include "GuiFixture.h"

#include "gui/GridDrag.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "platform/forms/FlexGrid.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

namespace pf = platform::forms;
using guitest::GuiFixture;

constexpr int kLeft = 1;

// Two lists as the column dialogs have them: the fields to pick from, and the columns chosen
// (under a header). The add-in starts a drag from its MouseMove handler, allows a move, and
// each grid's drag events are written down as the add-in sees them.
struct ListPair
{
    ListPair()
    {
        source.SetCols(1);
        source.SetFixedCols(0);
        source.SetFixedRows(0);
        source.SetRows(0);
        for (const char* s : {"Subject", "Start", "End"})
            source.AddItem(s);
        target.SetCols(1);
        target.SetFixedCols(0);
        target.SetRows(1);
        target.SetTextMatrix(0, 0, "Columns");
        for (const char* s : {"Company", "Hours", "Month"})
            target.AddItem(s);
        source.Events.MouseMove = [this](int button, int, double, double) {
            if (button == kLeft && !dragging) {
                dragging = true;
                source.OLEDrag();
            }
        };
        source.Events.MouseUp = [this](int&, int, double, double) { dragging = false; };
        source.Events.OLEStartDrag = [this](pf::DropEffect& allowed) {
            allowed = pf::DropEffect::Move;
            log.push_back("start row " + std::to_string(source.Row()));
        };
        target.Events.OLEDragOver = [this](pf::FlexGrid* from, pf::DropEffect& effect, int button,
                                           int shift, double, double, pf::DragState) {
            log.push_back("over " + Seen(from, effect, button, shift));
        };
        target.Events.OLEDragDrop = [this](pf::FlexGrid* from, pf::DropEffect& effect, int button,
                                           int shift, double, double) {
            log.push_back("drop " + Seen(from, effect, button, shift));
        };
    }
    std::string Seen(pf::FlexGrid* from, pf::DropEffect effect, int button, int shift) const
    {
        return std::string(from == &source ? "from source" : "from elsewhere") + " effect " +
               std::to_string(int(effect)) + " button " + std::to_string(button) + " shift " +
               std::to_string(shift) + " at row " + std::to_string(target.MouseRow());
    }
    pf::FlexGrid source;
    pf::FlexGrid target;
    bool dragging = false;
    std::vector<std::string> log;
};

// What a person's drop delivers to the widget under the pointer: enter, move, drop.
struct Delivered
{
    bool entered = false;
    Qt::DropAction overAction = Qt::IgnoreAction;
    bool dropped = false;
    Qt::DropAction dropAction = Qt::IgnoreAction;
};

Delivered Deliver(gui::GridView& view, const QMimeData& data, QPoint at)
{
    const auto actions = Qt::CopyAction | Qt::MoveAction;
    Delivered result;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &enter);
    result.entered = enter.isAccepted();
    if (!result.entered)
        return result;
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &move);
    result.overAction = move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view.viewport(), &drop);
    result.dropped = drop.isAccepted();
    result.dropAction = drop.dropAction();
    return result;
}

using GridDragTest = GuiFixture;

TEST_F(GridDragTest, APersonsDragReachesTheGridsAsTheDriversDoes)
{
    // The person: press on "Start", move the pointer away, drop on "Hours".
    ListPair windows;
    gui::GridView sourceView(windows.source), targetView(windows.target);
    for (gui::GridView* view : {&sourceView, &targetView}) {
        view->resize(240, 200);
        view->show();
    }
    std::unique_ptr<QMimeData> carried;
    sourceView.SetDragRunner([&](std::unique_ptr<QMimeData> data) { carried = std::move(data); });
    const QPoint from = sourceView.visualRect(sourceView.model()->index(1, 0)).center();
    QTest::mousePress(sourceView.viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(sourceView.viewport(), from + QPoint(1, 0));
    EXPECT_EQ(carried, nullptr) << "a drag waits until the pointer has gone far enough";
    QTest::mouseMove(sourceView.viewport(),
                     from + QPoint(QApplication::startDragDistance() + 1, 0));
    ASSERT_NE(carried, nullptr);
    EXPECT_EQ(gui::GridDragData::SourceOf(carried.get()), &windows.source);
    const int hours = targetView.Model().ModelRow(2);
    const Delivered delivered = Deliver(
        targetView, *carried, targetView.visualRect(targetView.model()->index(hours, 0)).center());
    EXPECT_TRUE(delivered.entered);
    EXPECT_EQ(delivered.overAction, Qt::MoveAction);
    EXPECT_TRUE(delivered.dropped);
    EXPECT_EQ(delivered.dropAction, Qt::MoveAction);

    // The driver: select "Start", start the drag, over and drop at the top of "Hours".
    ListPair headless;
    headless.source.SetRow(1);
    headless.source.OLEDrag();
    const double y = headless.target.RowHeight(0) + headless.target.RowHeight(1) + 10;
    headless.target.UserDragOver(&headless.source, kLeft, 0, 10, y);
    headless.target.UserDrop(&headless.source, kLeft, 0, 10, y);

    const std::vector<std::string> wanted = {"start row 1",
                                             "over from source effect 2 button 1 shift 0 at row 2",
                                             "drop from source effect 2 button 1 shift 0 at row 2"};
    EXPECT_EQ(headless.log, wanted);
    EXPECT_EQ(windows.log, headless.log);
}

TEST_F(GridDragTest, DropsOfNoGridsDragAreRefused)
{
    ListPair windows;
    gui::GridView targetView(windows.target);
    targetView.resize(240, 200);
    targetView.show();
    const QPoint at = targetView.visualRect(targetView.model()->index(1, 0)).center();
    QMimeData foreign; // the grid's format, but not a grid's drag
    foreign.setData(gui::GridDragData::kFormat, QByteArray());
    QMimeData text;
    text.setText("Hours");
    for (const QMimeData* data :
         {static_cast<const QMimeData*>(&foreign), static_cast<const QMimeData*>(&text)})
        EXPECT_FALSE(Deliver(targetView, *data, at).entered);

    // A drag whose grid has gone since it started is no grid's drag either.
    std::unique_ptr<QMimeData> carried;
    {
        ListPair gone;
        gui::GridView sourceView(gone.source);
        carried = std::make_unique<gui::GridDragData>(sourceView);
        EXPECT_EQ(gui::GridDragData::SourceOf(carried.get()), &gone.source);
    }
    EXPECT_EQ(gui::GridDragData::SourceOf(carried.get()), nullptr);
    EXPECT_FALSE(Deliver(targetView, *carried, at).entered);
    EXPECT_TRUE(windows.log.empty());
}

} // namespace
