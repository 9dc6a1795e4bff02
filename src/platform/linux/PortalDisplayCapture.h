#pragma once

#include "core/platform/DisplayCapture.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>

#include <memory>
#include <mutex>

class PortalRequest;

// Still images of a Wayland desktop through the desktop portal (org.freedesktop.portal.Screenshot, asked not to
// show a dialog). The portal answers with one image of the whole desktop in a file, which is read and deleted at
// once; each monitor's image is cut out of it by the monitor's logical geometry and scaled to the monitor's pixel
// size, so callers get the same images as from the X11 capture. A capture asks for its monitors at nearly the same
// moment, from several threads: they share one portal screenshot, each monitor served once from it.
class PortalDisplayCapture : public QObject, public DisplayCapture {
    Q_OBJECT

public:
    PortalDisplayCapture();
    ~PortalDisplayCapture() override;

    // Main thread: Qt's screens, the primary one first.
    QList<Monitor> displays() const override;
    QImage captureDisplay(const Monitor& display) override;
    QImage capturePrimaryDisplay() override;
    // Whether the portal offers screenshots and did not refuse the last one asked for.
    bool canCapture() override;

    // The part of a whole-desktop image that shows the monitor, at the monitor's pixel size. desktopBounds is the
    // rectangle of all monitors in Qt's global coordinates, which the image covers at whatever scale the portal
    // chose; a null image when the monitor lies outside it or the image is empty.
    static QImage monitorImage(const QImage& desktop, const QRect& desktopBounds, const Monitor& display);

    // The largest screenshot file read (bytes) and image accepted (pixels); larger ones are refused.
    static constexpr qint64 MaxFileBytes = 512ll * 1024 * 1024;
    static constexpr int MaxImageMegapixels = 200;

private:
    // Reads the portal's file (a file URI), then deletes it; a null image, with *error set, when it cannot.
    static QImage readAndDelete(const QString& uri, QString* error);
    void updateMonitors();
    QImage desktopFor(const Monitor& display, QRect* bounds);

    std::unique_ptr<PortalRequest> m_portal;
    mutable std::mutex m_mutex;
    QList<Monitor> m_monitors; // kept for the threads that may not read Qt's screen list
    QImage m_desktop;
    QRect m_desktopBounds;
    QElapsedTimer m_desktopAge;
    QSet<quint32> m_served;
    bool m_refused = false;
};
