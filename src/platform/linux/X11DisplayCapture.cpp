#include "platform/linux/X11DisplayCapture.h"
#include <QGuiApplication>

#include "platform/linux/XcbReply.h"

#include <QScreen>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/randr.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t MaxIdleConnections = 4;
// Per connection: one segment for the images of the capture on screen and one for the capture after it.
constexpr size_t MaxFreeSegments = 2;
// Below this a plain GetImage is as fast, and a segment kept for it would only take memory.
constexpr size_t MinSharedMemoryBytes = 64 * 1024;

// How the root window's pixels are laid out in a ZPixmap image, or Format_Invalid when this code cannot read them.
QImage::Format imageFormat(const xcb_setup_t* setup, const xcb_screen_t* screen)
{
    int bitsPerPixel = 0;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == screen->root_depth)
            bitsPerPixel = it.data->bits_per_pixel;
    const xcb_visualtype_t* visual = nullptr;
    for (auto depth = xcb_screen_allowed_depths_iterator(screen); depth.rem && !visual; xcb_depth_next(&depth))
        for (auto it = xcb_depth_visuals_iterator(depth.data); it.rem; xcb_visualtype_next(&it))
            if (it.data->visual_id == screen->root_visual) {
                visual = it.data;
                break;
            }
    if (!visual || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return QImage::Format_Invalid;
    if (bitsPerPixel == 32 && visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 && visual->blue_mask == 0xff)
        return QImage::Format_RGB32;
    if (bitsPerPixel == 16 && visual->red_mask == 0xf800 && visual->green_mask == 0x7e0 && visual->blue_mask == 0x1f)
        return QImage::Format_RGB16;
    return QImage::Format_Invalid;
}

void freeReply(void* reply)
{
    std::free(reply);
}

struct Segment {
    int id = -1;
    void* address = nullptr;
    size_t size = 0;
    xcb_shm_seg_t xid = 0; // the server's attachment, on the connection that made the segment
};

// Whether a segment serves an image of this many bytes without wasting more than half of itself.
bool fits(const Segment& segment, size_t size)
{
    return segment.size >= size && segment.size / 2 <= size;
}

} // namespace

// The shared-memory segments attached on one connection that no image uses at the moment. A segment stays
// attached from its first capture to the end of the connection: attaching maps it into the server afresh, and the
// server then takes a page fault per 4 KiB it writes, which for a 4K monitor was most of the capture's time.
// Images hold the pool weakly and give their segment back when they go, from whatever thread lets them go.
struct X11DisplayCapture::SegmentPool {
    std::mutex mutex;
    xcb_connection_t* xcb = nullptr; // null once the connection is closed; the server has dropped its side then
    std::vector<Segment> free;

    // A free segment that fits, or an empty one after making room for a new segment of that size.
    Segment take(size_t size)
    {
        std::lock_guard lock(mutex);
        for (auto it = free.begin(); it != free.end(); ++it)
            if (fits(*it, size)) {
                const Segment segment = *it;
                free.erase(it);
                return segment;
            }
        // A monitor whose size changed leaves segments that fit nothing any more.
        if (free.size() >= MaxFreeSegments) {
            drop(free.front());
            free.erase(free.begin());
        }
        return {};
    }

    void giveBack(const Segment& segment)
    {
        std::lock_guard lock(mutex);
        if (xcb && free.size() < MaxFreeSegments) {
            free.push_back(segment);
            return;
        }
        drop(segment);
    }

    // Lets every segment go and disconnects; images still alive keep their own mapping until they go.
    void close(xcb_connection_t* connection)
    {
        std::lock_guard lock(mutex);
        for (const Segment& segment : free)
            shmdt(segment.address);
        free.clear();
        xcb = nullptr;
        xcb_disconnect(connection);
    }

private:
    // Called with the mutex held, so that close() cannot disconnect meanwhile.
    void drop(const Segment& segment)
    {
        if (xcb) {
            xcb_shm_detach(xcb, segment.xid);
            xcb_flush(xcb);
        }
        shmdt(segment.address);
    }
};

namespace {

// Owned by an image that wraps a segment; gives the segment back when the image is let go.
struct SegmentLease {
    std::weak_ptr<X11DisplayCapture::SegmentPool> pool;
    Segment segment;
};

void returnSegment(void* info)
{
    auto* lease = static_cast<SegmentLease*>(info);
    if (const auto pool = lease->pool.lock())
        pool->giveBack(lease->segment);
    else
        shmdt(lease->segment.address);
    delete lease;
}

// A new segment attached on the connection, marked for removal at once (Linux still lets the server attach it
// by id) so that it disappears with the last process that has it attached, whatever happens to this one. Empty
// when the server cannot attach it (another machine's, or another user's).
Segment attachNewSegment(xcb_connection_t* connection, size_t size)
{
    Segment segment;
    segment.id = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
    if (segment.id == -1)
        return {};
    segment.address = shmat(segment.id, nullptr, 0);
    if (segment.address == reinterpret_cast<void*>(-1)) {
        shmctl(segment.id, IPC_RMID, nullptr);
        return {};
    }
    segment.xid = xcb_generate_id(connection);
    XcbReply<xcb_generic_error_t> error(
        xcb_request_check(connection, xcb_shm_attach_checked(connection, segment.xid, segment.id, false)));
    shmctl(segment.id, IPC_RMID, nullptr);
    if (error) {
        shmdt(segment.address);
        return {};
    }
    segment.size = size;
    return segment;
}

} // namespace

struct X11DisplayCapture::Connection {
    xcb_connection_t* xcb = nullptr;
    xcb_window_t root = 0;
    QRect rootRect;
    QImage::Format format = QImage::Format_Invalid;
    int bytesPerPixel = 4;
    bool shmUsable = false;
    // The size of the last capture: the next capture of that monitor takes this connection and its segments.
    QSize lastSize;
    std::shared_ptr<SegmentPool> segments = std::make_shared<SegmentPool>();

    ~Connection()
    {
        if (xcb)
            segments->close(xcb);
    }
};

X11DisplayCapture::X11DisplayCapture() = default;

X11DisplayCapture::~X11DisplayCapture() = default;

quint32 X11DisplayCapture::idForName(const QString& name)
{
    // FNV-1a: the same name gives the same id in every process.
    quint32 hash = 2166136261u;
    for (const char byte : name.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash;
}

QRect X11DisplayCapture::pixelRect(const Monitor& display)
{
    // Qt keeps a screen's top-left corner at its device-pixel position and scales only its size.
    return QRect(display.geometry.topLeft(), display.pixelSize());
}

QList<Monitor> X11DisplayCapture::displays() const
{
    QList<Monitor> result;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return result;
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<QScreen*> screens = QGuiApplication::screens();
    if (primary && screens.removeOne(primary))
        screens.prepend(const_cast<QScreen*>(primary));
    for (const QScreen* screen : screens) {
        Monitor display;
        display.name = screen->name();
        display.id = idForName(display.name);
        display.geometry = screen->geometry();
        display.devicePixelRatio = screen->devicePixelRatio();
        result.append(display);
    }
    return result;
}

std::unique_ptr<X11DisplayCapture::Connection> X11DisplayCapture::takeConnection(const QSize& size)
{
    {
        std::lock_guard lock(m_poolMutex);
        if (!m_idle.empty()) {
            // The connection that captured this size last has the segments for it.
            auto it =
                std::find_if(m_idle.begin(), m_idle.end(), [&](const auto& idle) { return idle->lastSize == size; });
            if (it == m_idle.end())
                it = m_idle.end() - 1;
            std::unique_ptr<Connection> connection = std::move(*it);
            m_idle.erase(it);
            return connection;
        }
    }
    auto connection = std::make_unique<Connection>();
    int screenNumber = 0;
    connection->xcb = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection->xcb))
        return nullptr;
    connection->segments->xcb = connection->xcb;
    const xcb_setup_t* setup = xcb_get_setup(connection->xcb);
    auto screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return nullptr;
    connection->root = screens.data->root;
    connection->rootRect = QRect(0, 0, screens.data->width_in_pixels, screens.data->height_in_pixels);
    connection->format = imageFormat(setup, screens.data);
    connection->bytesPerPixel = connection->format == QImage::Format_RGB16 ? 2 : 4;
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection->xcb, &xcb_shm_id);
    connection->shmUsable = shm && shm->present;
    return connection;
}

void X11DisplayCapture::returnConnection(std::unique_ptr<Connection> connection)
{
    if (!connection || xcb_connection_has_error(connection->xcb))
        return;
    std::lock_guard lock(m_poolMutex);
    if (m_idle.size() < MaxIdleConnections)
        m_idle.push_back(std::move(connection));
}

bool X11DisplayCapture::updateRootRect(Connection& connection)
{
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection.xcb, xcb_get_geometry(connection.xcb, connection.root), nullptr));
    if (!geometry)
        return false;
    const QRect rootRect(0, 0, geometry->width, geometry->height);
    const bool changed = rootRect != connection.rootRect;
    connection.rootRect = rootRect;
    return changed;
}

QImage X11DisplayCapture::capture(Connection& connection, const QRect& rect)
{
    if (connection.format == QImage::Format_Invalid)
        return {};
    const qsizetype bytesPerLine = qsizetype(rect.width()) * connection.bytesPerPixel;
    const size_t size = size_t(bytesPerLine) * size_t(rect.height());

    if (connection.shmUsable && size >= MinSharedMemoryBytes) {
        Segment segment = connection.segments->take(size);
        if (!segment.address) {
            segment = attachNewSegment(connection.xcb, size);
            // Typically a server on another machine or another user's: stop trying on this connection.
            if (!segment.address)
                connection.shmUsable = false;
        }
        if (segment.address) {
            const auto cookie = xcb_shm_get_image(connection.xcb, connection.root, rect.x(), rect.y(), rect.width(),
                                                  rect.height(), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment.xid, 0);
            XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(connection.xcb, cookie, nullptr));
            if (!reply) {
                connection.segments->giveBack(segment);
                return {};
            }
            // The image hands the segment back when it goes; until then no capture writes into it.
            return QImage(static_cast<uchar*>(segment.address), rect.width(), rect.height(), bytesPerLine,
                          connection.format, returnSegment, new SegmentLease{connection.segments, segment});
        }
    }

    const auto cookie = xcb_get_image(connection.xcb, XCB_IMAGE_FORMAT_Z_PIXMAP, connection.root, rect.x(), rect.y(),
                                      rect.width(), rect.height(), ~0u);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(connection.xcb, cookie, nullptr);
    if (!reply)
        return {};
    if (size_t(xcb_get_image_data_length(reply)) < size) {
        std::free(reply);
        return {};
    }
    return QImage(xcb_get_image_data(reply), rect.width(), rect.height(), bytesPerLine, connection.format, freeReply,
                  reply);
}

QImage X11DisplayCapture::captureDisplay(const Monitor& display)
{
    const QRect rect = pixelRect(display);
    if (rect.isEmpty())
        return {};
    std::unique_ptr<Connection> connection = takeConnection(rect.size());
    if (!connection)
        return {};
    // A connection knows the root window's size from when it was opened; monitors may have been added, removed or
    // resized since.
    if (!connection->rootRect.contains(rect))
        updateRootRect(*connection);
    QRect visible = rect.intersected(connection->rootRect);
    QImage image;
    if (!visible.isEmpty())
        image = capture(*connection, visible);
    if (image.isNull() && updateRootRect(*connection)) {
        visible = rect.intersected(connection->rootRect);
        if (!visible.isEmpty())
            image = capture(*connection, visible);
    }
    connection->lastSize = rect.size();
    const QImage::Format format = connection->format;
    returnConnection(std::move(connection));
    if (image.isNull() || visible == rect)
        return image;

    // A monitor reaching beyond the root window: the part outside it stays black, at the monitor's full size.
    QImage full(rect.size(), format);
    full.fill(Qt::black);
    const QPoint offset = visible.topLeft() - rect.topLeft();
    const qsizetype lineBytes = image.bytesPerLine() < full.bytesPerLine() ? image.bytesPerLine() : full.bytesPerLine();
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(full.scanLine(y + offset.y()) + offset.x() * (full.depth() / 8), image.constScanLine(y),
                    size_t(qMin<qsizetype>(lineBytes, qsizetype(image.width()) * (image.depth() / 8))));
    return full;
}

QRect X11DisplayCapture::primaryMonitorRect(Connection& connection)
{
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection.xcb, &xcb_randr_id);
    if (!randr || !randr->present)
        return connection.rootRect;
    // Monitors came with RandR 1.5; the server answers a client in the version it announced.
    XcbReply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(connection.xcb, xcb_randr_query_version(connection.xcb, 1, 5), nullptr));
    if (!version || (version->major_version == 1 && version->minor_version < 5))
        return connection.rootRect;
    XcbReply<xcb_randr_get_monitors_reply_t> monitors(xcb_randr_get_monitors_reply(
        connection.xcb, xcb_randr_get_monitors(connection.xcb, connection.root, true), nullptr));
    if (!monitors)
        return connection.rootRect;
    QRect first;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem; xcb_randr_monitor_info_next(&it)) {
        const QRect rect(it.data->x, it.data->y, it.data->width, it.data->height);
        if (it.data->primary)
            return rect;
        if (first.isNull())
            first = rect;
    }
    return first.isNull() ? connection.rootRect : first;
}

QImage X11DisplayCapture::capturePrimaryDisplay()
{
    QRect rect;
    if (std::unique_ptr<Connection> connection = takeConnection(QSize())) {
        updateRootRect(*connection);
        rect = primaryMonitorRect(*connection);
        returnConnection(std::move(connection));
    }
    if (rect.isEmpty())
        return {};
    // RandR measures in device pixels; a ratio of 1 keeps them as they are.
    Monitor primary;
    primary.geometry = rect;
    return captureDisplay(primary);
}

bool X11DisplayCapture::canCapture()
{
    const QList<Monitor> all = displays();
    if (all.isEmpty())
        return false;
    std::unique_ptr<Connection> connection = takeConnection(QSize());
    if (!connection)
        return false;
    const QRect probe = QRect(pixelRect(all.first()).topLeft(), QSize(16, 16)).intersected(connection->rootRect);
    const bool captured = !probe.isEmpty() && !capture(*connection, probe).isNull();
    returnConnection(std::move(connection));
    return captured;
}
