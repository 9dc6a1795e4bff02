#include "platform/linux/PortalDisplayCapture.h"

#include "core/support/Log.h"
#include "platform/linux/PortalRequest.h"
#include "platform/linux/X11DisplayCapture.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <QUrl>

#include <cmath>

namespace {

// A capture's monitors ask within milliseconds of each other; an older screenshot is not what is on screen now.
constexpr qint64 ShareWindowMs = 2000;
// The first screenshot may wait for the person to answer the desktop's permission dialog.
constexpr std::chrono::milliseconds PortalTimeout{30000};

QRect unitedGeometry(const QList<Monitor>& monitors)
{
    QRect bounds;
    for (const Monitor& monitor : monitors)
        bounds = bounds.united(monitor.geometry);
    return bounds;
}

} // namespace

PortalDisplayCapture::PortalDisplayCapture()
    : m_portal(std::make_unique<PortalRequest>())
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::screenAdded, this, &PortalDisplayCapture::updateMonitors);
        connect(app, &QGuiApplication::screenRemoved, this, &PortalDisplayCapture::updateMonitors);
        connect(app, &QGuiApplication::primaryScreenChanged, this, &PortalDisplayCapture::updateMonitors);
        updateMonitors();
    }
}

PortalDisplayCapture::~PortalDisplayCapture() = default;

void PortalDisplayCapture::updateMonitors()
{
    QList<Monitor> monitors;
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<QScreen*> screens = QGuiApplication::screens();
    if (primary && screens.removeOne(primary))
        screens.prepend(const_cast<QScreen*>(primary));
    for (QScreen* screen : screens) {
        Monitor display;
        display.name = screen->name();
        display.id = X11DisplayCapture::idForName(display.name);
        display.geometry = screen->geometry();
        display.devicePixelRatio = screen->devicePixelRatio();
        monitors.append(display);
        // A monitor that moves or changes its scale changes where it is in the portal's image.
        connect(screen, &QScreen::geometryChanged, this, &PortalDisplayCapture::updateMonitors, Qt::UniqueConnection);
    }
    std::lock_guard lock(m_mutex);
    m_monitors = monitors;
}

QList<Monitor> PortalDisplayCapture::displays() const
{
    const_cast<PortalDisplayCapture*>(this)->updateMonitors();
    std::lock_guard lock(m_mutex);
    return m_monitors;
}

QImage PortalDisplayCapture::captureDisplay(const Monitor& display)
{
    QRect bounds;
    const QImage desktop = desktopFor(display, &bounds);
    return monitorImage(desktop, bounds, display);
}

QImage PortalDisplayCapture::capturePrimaryDisplay()
{
    Monitor primary;
    {
        std::lock_guard lock(m_mutex);
        if (m_monitors.isEmpty())
            return {};
        primary = m_monitors.first();
    }
    return captureDisplay(primary);
}

bool PortalDisplayCapture::canCapture()
{
    if (!PortalRequest::hasInterface(QStringLiteral("org.freedesktop.portal.Screenshot"))) {
        qCWarning(lcCapture).noquote() << QStringLiteral(
            "⚠️ The desktop offers no screenshot portal (org.freedesktop.portal.Screenshot)");
        return false;
    }
    Monitor primary;
    {
        std::lock_guard lock(m_mutex);
        // Once the portal has given a screenshot, asking again here would double every capture's wait.
        if (!m_desktop.isNull() && !m_refused)
            return true;
        if (m_monitors.isEmpty())
            return false;
        primary = m_monitors.first();
    }
    QRect bounds;
    return !desktopFor(primary, &bounds).isNull();
}

QImage PortalDisplayCapture::desktopFor(const Monitor& display, QRect* bounds)
{
    // One caller at a time asks the portal; the others wait here and then share its screenshot.
    std::lock_guard lock(m_mutex);
    if (!m_desktop.isNull() && m_desktopAge.isValid() && m_desktopAge.elapsed() < ShareWindowMs &&
        !m_served.contains(display.id)) {
        m_served.insert(display.id);
        *bounds = m_desktopBounds;
        return m_desktop;
    }

    QElapsedTimer timer;
    timer.start();
    const QRect desktopBounds = m_monitors.isEmpty() ? display.geometry : unitedGeometry(m_monitors);
    const PortalRequest::Result result =
        m_portal->call(QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"), {QString()},
                       {{QStringLiteral("interactive"), false}, {QStringLiteral("modal"), false}}, PortalTimeout);
    QString error = result.error;
    QImage desktop;
    if (result.outcome == PortalRequest::Outcome::Answered)
        desktop = readAndDelete(result.results.value(QStringLiteral("uri")).toString(), &error);
    m_refused =
        result.outcome == PortalRequest::Outcome::Refused || result.outcome == PortalRequest::Outcome::Unavailable;
    if (desktop.isNull()) {
        qCWarning(lcCapture).noquote() << QStringLiteral("⚠️ The screenshot portal gave no image: %1").arg(error);
        m_desktop = QImage();
        return {};
    }
    qCDebug(lcCapture).noquote() << QStringLiteral("📸 Screenshot portal: %1 x %2 pixels in %3 ms")
                                        .arg(desktop.width())
                                        .arg(desktop.height())
                                        .arg(timer.elapsed());
    m_desktop = desktop;
    m_desktopBounds = desktopBounds;
    m_desktopAge.start();
    m_served = {display.id};
    *bounds = desktopBounds;
    return desktop;
}

QImage PortalDisplayCapture::readAndDelete(const QString& uri, QString* error)
{
    const QUrl url(uri);
    if (!url.isLocalFile()) {
        *error = QStringLiteral("the portal's answer names no local file (%1)").arg(uri.left(200));
        return {};
    }
    const QString path = url.toLocalFile();
    const QFileInfo info(path);
    // Only the portal's own regular file is read and removed, never what a link points to.
    if (!info.isFile() || info.isSymLink()) {
        *error = QStringLiteral("the portal's file %1 is not a regular file").arg(path);
        return {};
    }
    QImage image;
    if (info.size() > MaxFileBytes) {
        *error = QStringLiteral("the portal's file is %1 bytes, more than %2").arg(info.size()).arg(MaxFileBytes);
    } else {
        QImageReader reader(path);
        reader.setAllocationLimit(MaxImageMegapixels * 4);
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() > qint64(MaxImageMegapixels) * 1000000)
            *error = QStringLiteral("the portal's image of %1 x %2 pixels is too large")
                         .arg(size.width())
                         .arg(size.height());
        else if (!reader.read(&image))
            *error = QStringLiteral("cannot read the portal's file: %1").arg(reader.errorString());
    }
    // The screenshot must not stay behind in the person's folders, read or not.
    if (!QFile::remove(path))
        qCWarning(lcCapture).noquote()
            << QStringLiteral("⚠️ Could not delete the portal's screenshot %1").arg(path);
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage PortalDisplayCapture::monitorImage(const QImage& desktop, const QRect& desktopBounds, const Monitor& display)
{
    if (desktop.isNull() || desktopBounds.isEmpty() || !desktopBounds.contains(display.geometry))
        return {};
    const double scaleX = double(desktop.width()) / desktopBounds.width();
    const double scaleY = double(desktop.height()) / desktopBounds.height();
    const QRect& geometry = display.geometry;
    // Edges are rounded, not sizes, so that neighbouring monitors meet without a gap or an overlap.
    const int left = int(std::lround((geometry.left() - desktopBounds.left()) * scaleX));
    const int top = int(std::lround((geometry.top() - desktopBounds.top()) * scaleY));
    const int right = int(std::lround((geometry.left() + geometry.width() - desktopBounds.left()) * scaleX));
    const int bottom = int(std::lround((geometry.top() + geometry.height() - desktopBounds.top()) * scaleY));
    const QRect source = QRect(left, top, right - left, bottom - top).intersected(desktop.rect());
    if (source.isEmpty())
        return {};
    QImage part = desktop.copy(source);
    const QSize pixels = display.pixelSize();
    if (part.size() != pixels)
        part = part.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return part.convertToFormat(QImage::Format_RGB32);
}
