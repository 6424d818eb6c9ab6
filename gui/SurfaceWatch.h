#pragma once

#include <QObject>

#include <functional>

namespace platform::forms {
class DrawingSurface;
}

namespace gui {

/// Shows a drawing surface's new paintings: when the add-in draws on the surface after its
/// window is shown, `show` runs once from Qt's loop however many lines the painting took.
/// Stops watching when it goes, or at Release.
class SurfaceWatch : public QObject
{
    Q_OBJECT
public:
    SurfaceWatch(platform::forms::DrawingSurface& surface, std::function<void()> show);
    ~SurfaceWatch() override;
    SurfaceWatch(const SurfaceWatch&) = delete;
    SurfaceWatch& operator=(const SurfaceWatch&) = delete;

    /// The surface has gone (its form was destroyed): nothing more is shown, and the surface
    /// is not touched again.
    void Release();

private:
    platform::forms::DrawingSurface* m_surface;
    std::function<void()> m_show;
    bool m_pending = false; // a showing waits in Qt's loop
};

} // namespace gui
