#include "gui/SurfaceWatch.h"

#include "platform/forms/DrawingSurface.h"

#include <exception>

namespace gui {

SurfaceWatch::SurfaceWatch(platform::forms::DrawingSurface& surface, std::function<void()> show)
    : m_surface(&surface), m_show(std::move(show))
{
    // A gradient is hundreds of lines: the image is shown once, after the add-in has drawn.
    m_surface->SetObserver([this] {
        if (m_pending)
            return;
        m_pending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_pending = false;
                if (!m_surface)
                    return;
                try {
                    m_show();
                } catch (const std::exception& e) {
                    qWarning("painting: %s", e.what());
                }
            },
            Qt::QueuedConnection);
    });
}

SurfaceWatch::~SurfaceWatch()
{
    if (m_surface)
        m_surface->SetObserver({});
}

void SurfaceWatch::Release()
{
    m_surface = nullptr;
}

} // namespace gui
