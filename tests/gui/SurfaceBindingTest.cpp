#include "GuiFixture.h"

#include "gui/FormView.h"
#include "gui/GridModel.h"
#include "gui/GridView.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/StandardControls.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTextLayout>

#include <memory>
#include <string>
#include <vector>

namespace {

namespace pf = platform::forms;
using guitest::GuiFixture;

constexpr std::uint32_t kBlue = 0xFF0000; // &HBBGGRR
constexpr std::uint32_t kRed = 0x0000FF;

// A dialog of the newer kinds of control: a framed label, a clickable label and image, a
// picture box and a form with paintings, a grid placed among the controls.
class PaintedForm : public pf::Form
{
public:
    PaintedForm() : Form("frmPainted")
    {
        SetCaption("Painted");
        SetWidth(6000);
        SetHeight(5000);
        fraBox = Add<pf::Frame>("fraBox");
        lblInside = Add<pf::Label>("lblInside");
        lblLink = Add<pf::Label>("lblLink");
        img = Add<pf::Image>("img");
        pic = Add<pf::PictureBox>("pic");
        cboKind = Add<pf::ComboBox>("cboKind");
        fg = Add<pf::GridControl>("fg");
        fraBox->Move(150, 150, 3000, 1500);
        lblInside->Move(300, 450, 1500, 300);
        lblInside->SetContainer(fraBox.get());
        lblInside->SetCaption("inside");
        lblLink->Move(3300, 150, 1500, 300);
        lblLink->SetCaption("www.example");
        lblLink->OnClick = [this] { vEvents.push_back("lblLink_Click"); };
        img->Move(3300, 600, 480, 480);
        img->Picture = std::make_shared<pf::ListImage>("logo", 32, 32);
        img->OnClick = [this] { vEvents.push_back("img_Click"); };
        pic->Move(150, 1800, 1500, 1500);
        for (const char* s : {"Tasks", "Journal"})
            cboKind->AddItem(s);
        auto& grid = fg->Grid();
        grid.SetCols(2);
        grid.SetRows(4);
        grid.SetFixedRows(1);
        for (int r = 0; r < 4; ++r)
            grid.SetTextMatrix(r, 1, "row " + std::to_string(r));
    }
    std::shared_ptr<pf::Frame> fraBox;
    std::shared_ptr<pf::Label> lblInside;
    std::shared_ptr<pf::Label> lblLink;
    std::shared_ptr<pf::Image> img;
    std::shared_ptr<pf::PictureBox> pic;
    std::shared_ptr<pf::ComboBox> cboKind;
    std::shared_ptr<pf::GridControl> fg;
    std::vector<std::string> vEvents;

protected:
    void Form_Load() override
    {
        // The form blue, the picture box red, both kept in their images.
        for (pf::DrawingSurface* s : {&Surface(), &pic->Surface()}) {
            s->SetAutoRedraw(true);
            s->SetScaleWidth(10);
            s->SetScaleHeight(10);
        }
        Surface().Line(0, 0, 10, 10, kBlue, pf::LineShape::BoxFilled);
        pic->Surface().Line(0, 0, 10, 10, kRed, pf::LineShape::BoxFilled);
    }
};

using SurfaceBindingTest = GuiFixture;

TEST_F(SurfaceBindingTest, PaintingsShowOnTheFormAndItsPictureBox)
{
    PaintedForm form;
    form.Show();
    gui::FormView view(form);
    auto* picture = qobject_cast<QLabel*>(view.WidgetOf("pic"));
    ASSERT_NE(picture, nullptr);
    const QImage painted = picture->pixmap().toImage();
    ASSERT_FALSE(painted.isNull());
    EXPECT_EQ(QColor(painted.pixel(painted.width() / 2, painted.height() / 2)), QColor(Qt::red));
    const QImage background = view.palette().brush(QPalette::Window).textureImage();
    ASSERT_FALSE(background.isNull());
    EXPECT_EQ(QColor(background.pixel(1, background.height() - 2)), QColor(Qt::blue));
}

TEST_F(SurfaceBindingTest, PaintingsAfterTheWindowShowsReachIt)
{
    constexpr std::uint32_t kGreen = 0x00FF00;
    PaintedForm form;
    form.Show();
    gui::FormView view(form);
    view.show();
    auto* picture = qobject_cast<QLabel*>(view.WidgetOf("pic"));
    ASSERT_NE(picture, nullptr);
    // Bands painted one line at a time, as a gradient is; the bottom band green.
    for (pf::DrawingSurface* s : {&form.Surface(), &form.pic->Surface()})
        for (int band = 0; band < 10; ++band)
            s->Line(0, band, 10, band + 1, band == 9 ? kGreen : kRed, pf::LineShape::BoxFilled);
    QApplication::processEvents();
    const QImage painted = picture->pixmap().toImage();
    ASSERT_FALSE(painted.isNull());
    EXPECT_EQ(QColor(painted.pixel(painted.width() / 2, 1)), QColor(Qt::red));
    EXPECT_EQ(QColor(painted.pixel(painted.width() / 2, painted.height() - 2)), QColor(Qt::green));
    const QImage background = view.palette().brush(QPalette::Window).textureImage();
    ASSERT_FALSE(background.isNull());
    EXPECT_EQ(QColor(background.pixel(1, 1)), QColor(Qt::red));
    EXPECT_EQ(QColor(background.pixel(1, background.height() - 2)), QColor(Qt::green));

    // Cleared while the window shows: the back colour shows.
    form.pic->Surface().Cls();
    QApplication::processEvents();
    EXPECT_EQ(QColor(picture->pixmap().toImage().pixel(1, 1)), QColor(Qt::white));
}

TEST_F(SurfaceBindingTest, AFormThatGoesTakesItsPaintingsWatchAlong)
{
    auto form = std::make_unique<PaintedForm>();
    form->Show();
    QPointer<gui::FormView> view = new gui::FormView(*form);
    view->show();
    form->Surface().Line(0, 0, 10, 10, kRed, pf::LineShape::BoxFilled);
    form.reset(); // the showing the line asked for still waits in the loop
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
}

TEST_F(SurfaceBindingTest, LabelAndImageClicksReachTheForm)
{
    PaintedForm form;
    form.Show();
    gui::FormView view(form);
    view.show();
    QTest::mouseClick(view.WidgetOf("lblLink"), Qt::LeftButton);
    QTest::mouseClick(view.WidgetOf("img"), Qt::LeftButton);
    QTest::mouseClick(view.WidgetOf("img"), Qt::RightButton);
    EXPECT_EQ(form.vEvents, (std::vector<std::string>{"lblLink_Click", "img_Click"}));
    auto* image = qobject_cast<QLabel*>(view.WidgetOf("img"));
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixmap().isNull());
}

TEST_F(SurfaceBindingTest, GridsOnTheFormAreFoundWithoutBeingAdded)
{
    PaintedForm form;
    form.Show();
    gui::FormView view(form);
    auto* grid = view.findChild<gui::GridView*>("fg");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(&grid->Grid(), &form.fg->Grid());
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), "row 1");
    form.fg->Grid().SetRows(6);
    EXPECT_EQ(grid->model()->rowCount(), 5);
}

TEST_F(SurfaceBindingTest, ContainerAndBackColourChangesShowAtOnce)
{
    PaintedForm form;
    form.Show();
    gui::FormView view(form);
    QWidget* inside = view.WidgetOf("lblInside");
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->parentWidget(), view.WidgetOf("fraBox"));
    EXPECT_EQ(inside->pos(), QPoint(20, 30));
    form.lblInside->SetContainer(nullptr);
    EXPECT_NE(inside->parentWidget(), view.WidgetOf("fraBox"));
    form.lblInside->SetContainer(form.pic.get());
    EXPECT_EQ(inside->parentWidget(), view.WidgetOf("pic"));

    form.cboKind->SetBackColor(kRed);
    auto* combo = qobject_cast<QComboBox*>(view.WidgetOf("cboKind"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->palette().color(QPalette::Base), QColor(Qt::red));
}

// The lines a wrapping label draws its text in, at its width and in its font.
std::vector<QString> DrawnLines(const QLabel& label)
{
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<QString> vLines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.contentsRect().width());
        vLines.push_back(label.text().mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return vLines;
}

TEST_F(SurfaceBindingTest, ASummaryOfFieldsBreaksBetweenItsEntries)
{
    // Entries joined by ";" with no blank, as the view dialog lists its fields and totals: at
    // every width a line ends after a ";", never inside an entry such as "% erledigt", and
    // the label reads as the caption.
    const QString sCaption = QString::fromUtf8(
        "Anzahl(Einträge);Summe(% erledigt);Max(Fällig am);Summe(Gesamter Arbeitsaufwand)");
    pf::Form form("frmSummary");
    auto lbl = form.Add<pf::Label>("lblSummary");
    lbl->SetCaption(sCaption.toStdString());
    form.Show();
    gui::FormView view(form);
    auto* label = qobject_cast<QLabel*>(view.WidgetOf("lblSummary"));
    ASSERT_NE(label, nullptr);
    int nWidest = 0;
    for (const QString& sEntry : sCaption.split(QLatin1Char(';')))
        nWidest = std::max(nWidest, label->fontMetrics().horizontalAdvance(sEntry + ';'));
    int nBroken = 0;
    for (int nTwips = 1500; nTwips <= 6000; nTwips += 75) {
        lbl->Move(120, 120, nTwips, 1200);
        if (label->contentsRect().width() < nWidest)
            continue; // an entry longer than a line breaks at its blanks
        QString sRead;
        const std::vector<QString> vLines = DrawnLines(*label);
        for (size_t i = 0; i < vLines.size(); ++i) {
            QString sLine = vLines[i];
            sLine.replace(QChar(0x00A0), QLatin1Char(' ')).remove(QChar(0x200B));
            sRead += sLine;
            if (i + 1 < vLines.size()) {
                ++nBroken;
                EXPECT_TRUE(sLine.trimmed().endsWith(QLatin1Char(';')))
                    << nTwips << " twips: \"" << sLine.toStdString() << "\"";
            }
        }
        EXPECT_EQ(sRead, sCaption) << nTwips;
    }
    EXPECT_GT(nBroken, 0) << "no width made the label wrap";
}

} // namespace
