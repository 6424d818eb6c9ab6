#include "gui/SurfaceBinding.h"

#include "gui/ControlBinding.h"
#include "gui/DesktopWindows.h"
#include "gui/GridView.h"
#include "gui/Pictures.h"
#include "gui/SurfaceWatch.h"
#include "gui/TextFit.h"
#include "gui/Units.h"
#include "platform/forms/DrawingSurface.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace gui {

namespace pf = platform::forms;

QImage SurfaceImage(const pf::DrawingSurface& surface)
{
    const int width = surface.PixelWidth();
    const int height = surface.PixelHeight();
    if (!surface.AutoRedraw() || width <= 0 || height <= 0)
        return {};
    const std::vector<std::uint8_t> rgb = surface.Rgb();
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        std::copy_n(rgb.data() + std::size_t(y) * std::size_t(width) * 3U, std::size_t(width) * 3U,
                    image.scanLine(y));
    return image;
}

namespace {

// A left click on the widget raises the control's Click; the add-in's errors stay inside.
class ClickFilter : public QObject
{
public:
    ClickFilter(QWidget* widget, std::function<void()> click)
        : QObject(widget), m_click(std::move(click))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            CallModel(m_click);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_click;
};

class LabelBinding : public ControlBinding
{
public:
    LabelBinding(std::shared_ptr<pf::Label> label, QLabel* widget)
        : ControlBinding(label, widget), m_label(label), m_widget(widget)
    {
        widget->setWordWrap(true);
        new ClickFilter(widget, [label] { label->Click(); });
    }

protected:
    void PullKind() override
    {
        m_widget->setText(ListLines(ToQ(m_label->Caption()), m_widget->fontMetrics(),
                                    m_widget->contentsRect().width()));
        m_widget->setCursor(m_label->OnClick ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }

private:
    std::shared_ptr<pf::Label> m_label;
    QLabel* m_widget;
};

class ImageBinding : public ControlBinding
{
public:
    ImageBinding(std::shared_ptr<pf::Image> image, QLabel* widget)
        : ControlBinding(image, widget), m_image(image), m_widget(widget)
    {
        widget->setAlignment(Qt::AlignCenter);
        new ClickFilter(widget, [image] { image->Click(); });
    }

protected:
    void PullKind() override
    {
        const QIcon icon = IconOf(m_image->Picture.get());
        const int side =
            std::max(16, std::min(Pixels(m_image->Width()), Pixels(m_image->Height())));
        m_widget->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(side, side));
        m_widget->setCursor(m_image->OnClick ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }

private:
    std::shared_ptr<pf::Image> m_image;
    QLabel* m_widget;
};

class PictureBinding : public ControlBinding
{
public:
    PictureBinding(std::shared_ptr<pf::PictureBox> box, QLabel* widget)
        : ControlBinding(box, widget), m_box(box), m_label(widget),
          m_watch(m_box->Surface(), [this] { Pull(); })
    {
        m_label->setScaledContents(true);
    }

protected:
    void PullKind() override
    {
        // A drawing the add-in made on the box takes the place of its picture.
        const QImage painted = SurfaceImage(m_box->Surface());
        if (!painted.isNull()) {
            m_label->setPixmap(QPixmap::fromImage(painted));
            return;
        }
        const QIcon icon = IconOf(m_box->Picture.get());
        m_label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(32, 32));
    }

private:
    std::shared_ptr<pf::PictureBox> m_box;
    QLabel* m_label;
    SurfaceWatch m_watch; // goes before the box it watches
};

// The grid view keeps the grid control alive while it shows the grid.
class GridBinding : public ControlBinding
{
public:
    GridBinding(std::shared_ptr<pf::GridControl> control, GridView* widget)
        : ControlBinding(control, widget), m_control(std::move(control)), m_view(widget)
    {
    }

protected:
    // The grid draws in its own font size, which its columns were measured in.
    void PullKind() override { m_view->PullFont(); }

private:
    std::shared_ptr<pf::GridControl> m_control;
    GridView* m_view; // the binding is a child of the view
};

template <class Model, class Binding, class W>
ControlBinding* Make(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    auto typed = std::dynamic_pointer_cast<Model>(control);
    return typed ? new Binding(typed, new W(parent)) : nullptr;
}

} // namespace

ControlBinding* BindLabel(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    return Make<pf::Label, LabelBinding, QLabel>(control, parent);
}

ControlBinding* BindImage(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    return Make<pf::Image, ImageBinding, QLabel>(control, parent);
}

ControlBinding* BindPictureBox(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    return Make<pf::PictureBox, PictureBinding, QLabel>(control, parent);
}

ControlBinding* BindGrid(const std::shared_ptr<pf::Control>& control, QWidget* parent)
{
    auto typed = std::dynamic_pointer_cast<pf::GridControl>(control);
    return typed ? new GridBinding(typed, new GridView(typed->Grid(), parent)) : nullptr;
}

} // namespace gui
