#include "gui/FormView.h"

#include "gui/ControlBinding.h"
#include "gui/DesktopWindows.h"
#include "gui/FlowLayout.h"
#include "gui/GridView.h"
#include "gui/SurfaceBinding.h"
#include "gui/SurfaceWatch.h"
#include "gui/TextFit.h"
#include "gui/ToolBarView.h"
#include "gui/Units.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/forms/ToolBar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMoveEvent>
#include <QVBoxLayout>
#include <QWindow>

#include <cmath>

namespace gui {

namespace pf = platform::forms;

namespace {

// Controls in a frame or picture box are placed inside its widget.
bool InContainer(const pf::Control& control)
{
    return control.Container() != nullptr && control.Container() != control.Parent();
}

bool HasPosition(const pf::Control& control)
{
    return !InContainer(control) && (control.Left() != 0 || control.Top() != 0);
}

} // namespace

FormView::FormView(pf::Form& form, QWidget* parent, Showing showing)
    : QDialog(parent), m_form(form), m_modal(showing == Showing::Modal)
{
    setObjectName(ToQ(form.Name()));
    if (m_modal) {
        // Modal from its first show: a window shown before it turns modal would stay open to
        // input in the others.
        SetDialogFrame(*this);
        setWindowModality(Qt::ApplicationModal);
    } else {
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    }
    setSizeGripEnabled(true);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->setSpacing(4);
    BuildControls();
    m_form.SetObserver([this](pf::Control& form) {
        if (!form.Destroyed()) {
            Pull();
            return;
        }
        // The add-in let the form go: the window goes with it. Its surface went before.
        m_formGone = true;
        m_surfaceWatch->Release();
        hide();
        deleteLater();
    });
    m_surfaceWatch = std::make_unique<SurfaceWatch>(m_form.Surface(), [this] {
        if (!m_formGone)
            PullBackground();
    });
    Pull();
}

FormView::~FormView()
{
    if (!m_formGone)
        m_form.SetObserver({});
}

void FormView::BuildControls()
{
    auto* bar = new QHBoxLayout;
    auto* canvas = new QWidget(this);
    std::vector<FlowItem> flow, contained;
    bool hasToolBar = false, hasCanvas = false;
    for (const auto& control : m_form.Controls())
        hasToolBar = hasToolBar || dynamic_cast<pf::ToolBar*>(control.get()) != nullptr;
    for (const auto& control : m_form.Controls()) {
        ControlBinding* binding = BindControl(control, this);
        if (!binding)
            continue;
        m_bindings.push_back(binding);
        binding->OnContainerChanged = [this](ControlBinding& moved) { PlaceInContainer(moved); };
        QWidget* widget = binding->Widget();
        if (auto* menuBar = qobject_cast<QMenuBar*>(widget)) {
            m_layout->setMenuBar(menuBar);
        } else if (InContainer(*control)) {
            contained.push_back({control.get(), widget});
            continue; // placed once its container has a widget
        } else if (HasPosition(*control)) {
            widget->setParent(canvas);
            binding->SetPlaced(true);
            hasCanvas = true;
        } else if (hasToolBar && (dynamic_cast<pf::ToolBar*>(control.get()) ||
                                  dynamic_cast<pf::ComboBox*>(control.get()) ||
                                  dynamic_cast<pf::TextBox*>(control.get()) ||
                                  dynamic_cast<pf::CommandButton*>(control.get()))) {
            if (auto* list = qobject_cast<QComboBox*>(widget))
                BoundBesideToolBar(*list);
            bar->addWidget(widget);
        } else {
            flow.push_back({control.get(), widget});
        }
        binding->Pull();
    }
    bar->addStretch(1);
    m_layout->addLayout(bar);
    if (hasCanvas) {
        int right = 0, bottom = 0;
        for (const auto& control : m_form.Controls())
            if (HasPosition(*control)) {
                right = std::max(right, Pixels(control->Left() + control->Width()));
                bottom = std::max(bottom, Pixels(control->Top() + control->Height()));
            }
        canvas->setMinimumSize(right, bottom);
        m_layout->addWidget(canvas);
        m_canvas = canvas;
    } else {
        delete canvas;
    }
    const auto held = LayOutFlow(*m_layout, flow, contained);
    for (ControlBinding* binding : m_bindings)
        if (InContainer(binding->Control()) && !held.count(&binding->Control()))
            PlaceInContainer(*binding);
    for (ControlBinding* binding : m_bindings)
        if (held.count(&binding->Control()))
            binding->Pull();
    ConnectBuddies(m_bindings);
    // The form stands as much larger than its design as its widest caption needs, so that
    // the positions keep their proportions and every control keeps the form's one font.
    m_scale = LayoutScale(m_bindings);
    if (m_scale > 1)
        for (ControlBinding* binding : m_bindings)
            if (binding->Placed()) {
                binding->SetScale(m_scale);
                binding->Pull();
            }
    FitTexts(m_bindings);
    if (m_canvas) {
        // Texts grown to fit may reach past the form's design size.
        QRect used(0, 0, 1, 1);
        for (QWidget* child : m_canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isHidden())
                used |= child->geometry();
        m_canvas->setMinimumSize(used.right() + 1, used.bottom() + 1);
    }
}

void FormView::PlaceInContainer(ControlBinding& binding)
{
    QWidget* widget = binding.Widget();
    if (!widget)
        return;
    const pf::Control* container = binding.Control().Container();
    QWidget* target = m_canvas ? m_canvas : this;
    for (ControlBinding* other : m_bindings)
        if (&other->Control() == container && other->Widget())
            target = other->Widget();
    if (widget->parentWidget() != target)
        widget->setParent(target);
    binding.SetPlaced(true);
    binding.Pull();
}

void FormView::PullBackground()
{
    const QImage painted = SurfaceImage(m_form.Surface());
    if (painted.isNull())
        return;
    QPalette background = palette();
    background.setBrush(QPalette::Window, QBrush(painted.scaled(size(), Qt::IgnoreAspectRatio,
                                                                Qt::SmoothTransformation)));
    setPalette(background);
    setAutoFillBackground(true);
}

GridView* FormView::AddGrid(pf::FlexGrid& grid, const std::string& name)
{
    auto* view = new GridView(grid, this);
    view->setObjectName(ToQ(name));
    // The grid takes the room the controls left over.
    for (int i = m_layout->count(); i-- > 0;)
        if (QLayoutItem* item = m_layout->itemAt(i); item->spacerItem())
            delete m_layout->takeAt(i);
    m_layout->addWidget(view, 1);
    return view;
}

QWidget* FormView::WidgetOf(const std::string& name) const
{
    return findChild<QWidget*>(ToQ(name));
}

std::shared_ptr<pf::CommandButton> FormView::KeyButton(bool pf::CommandButton::*role) const
{
    for (const auto& control : m_form.Controls())
        if (auto button = std::dynamic_pointer_cast<pf::CommandButton>(control);
            button && (*button).*role && button->Visible() && button->Enabled())
            return button;
    return nullptr;
}

std::shared_ptr<pf::CommandButton> FormView::DefaultButton() const
{
    for (const auto& control : m_form.Controls())
        if (auto button = std::dynamic_pointer_cast<pf::CommandButton>(control);
            button && button->Default && button->Visible())
            return button;
    return nullptr;
}

bool FormView::HasDefaultButton() const
{
    return !m_formGone && DefaultButton() != nullptr;
}

bool FormView::Shown() const
{
    return !m_formGone && m_form.IsLoaded() && m_form.Visible();
}

void FormView::Pull()
{
    if (m_formGone || m_pulling)
        return;
    m_pulling = true;
    setWindowTitle(ToQ(m_form.Caption()));
    setEnabled(m_form.Enabled());
    PullBackground();
    // A maximised or minimised window keeps the size the window system gave it: a resize or
    // move would end the state, and the form's rectangle is the one a restore returns to.
    if (!m_pushing && !isMaximized() && !isMinimized())
        PullRectangle();
    if (!Shown()) {
        if (m_modal)
            done(QDialog::Rejected);
        else
            hide();
    } else if (!isVisible() && !m_modal) {
        // A window shown again goes where the form placed it while it was hidden.
        m_positionSeen = false;
        // The form's rectangle is the normal one, also under a maximised form: the window
        // takes it before its state, so that a restore returns there.
        if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
            setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        PullRectangle();
        switch (m_form.GetWindowState()) {
        case pf::WindowState::Maximized:
            // The window system keeps as the normal rectangle the one its window had last while
            // normal; a hidden widget hands its rectangle on only as it shows.
            if (QWindow* window = windowHandle())
                window->setGeometry(geometry());
            showMaximized();
            break;
        case pf::WindowState::Minimized:
            showMinimized();
            break;
        case pf::WindowState::Normal:
            show();
            break;
        }
        DrawAtOnce();
    }
    m_pulling = false;
}

void FormView::DrawAtOnce()
{
    // A window shown while the add-in works on (the progress window before a long read) draws
    // itself now, not when the work next lets the loop turn: the window system puts it on the
    // screen first (a short while at most), and the window paints as that comes in.
    constexpr int kMostWaitMilliseconds = 500;
    QWindow* window = windowHandle();
    if (!window)
        return;
    QElapsedTimer clock;
    clock.start();
    while (!window->isExposed() && isVisible() && !isMinimized() &&
           clock.elapsed() < kMostWaitMilliseconds)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
}

void FormView::PullRectangle()
{
    const int frameWidth = m_form.Width() - m_form.ScaleWidth();
    const int frameHeight = m_form.Height() - m_form.ScaleHeight();
    const QSize size(Pixels(m_form.Width() - frameWidth, m_scale),
                     Pixels(m_form.Height() - frameHeight, m_scale));
    if (size != this->size())
        resize(size);
    PullPosition();
}

void FormView::PullPosition()
{
    const int left = m_form.Left(), top = m_form.Top();
    if (m_positionSeen && left == m_formLeft && top == m_formTop)
        return;
    const bool placed = m_positionSeen || left != 0 || top != 0;
    m_positionSeen = true;
    m_formLeft = left;
    m_formTop = top;
    if (placed)
        move(Pixels(left), Pixels(top));
}

void FormView::RunModal()
{
    if (!m_modal || !Shown())
        return;
    exec();
}

void FormView::closeEvent(QCloseEvent* event)
{
    if (m_formGone) {
        event->accept();
        return;
    }
    // The close button asks the form; it stays when Form_QueryUnload or Form_Unload cancels.
    if (Shown())
        CallModel([this] { m_form.UserClose(); });
    if (Shown()) {
        event->ignore();
        return;
    }
    event->accept();
}

void FormView::reject()
{
    if (m_formGone) {
        QDialog::reject();
        return;
    }
    // Escape: the form's cancel button, as the runtime presses it; a modal form without one
    // is closed as by its close button. A window of its own (the report window) stays.
    if (Shown()) {
        if (auto cancel = KeyButton(&pf::CommandButton::Cancel))
            CallModel([&] { cancel->Click(); });
        else if (m_modal)
            CallModel([this] { m_form.UserClose(); });
        else
            return;
    }
    if (Shown())
        return;
    QDialog::reject();
}

void FormView::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_formGone || m_pulling || !m_form.IsLoaded())
        return;
    // The person's resize: the form takes the new size (raising Form_Resize), and the window
    // shows what the form made of it (a minimum size, say).
    PushWindowState();
    m_pushing = true;
    const int frameWidth = m_form.Width() - m_form.ScaleWidth();
    const int frameHeight = m_form.Height() - m_form.ScaleHeight();
    CallModel([&] {
        m_form.SetWidth(static_cast<int>(std::lround(Twips(width()) / m_scale)) + frameWidth);
        m_form.SetHeight(static_cast<int>(std::lround(Twips(height()) / m_scale)) + frameHeight);
    });
    m_pushing = false;
    Pull();
}

void FormView::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (m_formGone || m_pulling || !m_form.IsLoaded() || !isWindow())
        return;
    PushWindowState();
    // Only the normal window's place is the form's: a maximised window keeps the place it
    // returns to.
    if (m_form.GetWindowState() != pf::WindowState::Normal)
        return;
    m_pushing = true;
    m_formLeft = Twips(x());
    m_formTop = Twips(y());
    m_positionSeen = true;
    CallModel([this] {
        m_form.SetLeft(m_formLeft);
        m_form.SetTop(m_formTop);
    });
    m_pushing = false;
}

void FormView::PushWindowState()
{
    const auto state = windowState();
    const auto formState = state & Qt::WindowMinimized   ? pf::WindowState::Minimized
                           : state & Qt::WindowMaximized ? pf::WindowState::Maximized
                                                         : pf::WindowState::Normal;
    // A window manager may size a window it maximises before it says so: the form must know
    // the state first, or it would keep the maximised size as its normal placement.
    if (formState != m_form.GetWindowState())
        CallModel([&] { m_form.SetWindowState(formState); });
}

void FormView::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (m_formGone || event->type() != QEvent::WindowStateChange || m_pulling || !m_form.IsLoaded())
        return;
    PushWindowState();
}

void FormView::keyPressEvent(QKeyEvent* event)
{
    const int keyCode = KeyCode(event->key(), event->modifiers());
    int left = keyCode;
    if (!m_formGone && keyCode != 0 && m_form.KeyPreview())
        CallModel([&] { left = m_form.UserKeyDown(keyCode, ShiftState(event->modifiers())); });
    if (left == 0) {
        event->accept();
        return;
    }
    // Enter presses the form's default button, and nothing where the form has none: not the
    // first button that the dialog would otherwise make its default (the find button of the
    // report window, say). A button with the focus took Enter itself.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !m_formGone) {
        event->accept();
        if (auto button = KeyButton(&pf::CommandButton::Default))
            CallModel([&] { button->Click(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace gui
