#include "platform/linux/X11DisplayCapture.h"
#include "platform/linux/GuiApplication.h"

#include "platform/Log.h"
#include "platform/linux/XcbReply.h"

#include <QScreen>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstring>

namespace {

constexpr size_t MaxIdleConnections = 4;
constexpr size_t MaxIdleSegments = 4;

// How the root window's pixels are laid out in a ZPixmap image, or Format_Invalid when this code cannot read them.
QImage::Format imageFormat(const xcb_setup_t* setup, const xcb_screen_t* screen) {
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

void freeReply(void* reply) {
    std::free(reply);
}

struct Segment {
    int id = -1;
    void* address = nullptr;
    size_t size = 0;
};

} // namespace

struct X11DisplayCapture::SegmentPool {
    std::mutex mutex;
    std::vector<Segment> idle;

    ~SegmentPool() {
        for (const Segment& segment : idle)
            shmdt(segment.address);
    }

    // An idle segment that fits without wasting more than half of it, or a new one.
    Segment acquire(size_t size) {
        {
            std::lock_guard lock(mutex);
            for (auto it = idle.begin(); it != idle.end(); ++it)
                if (it->size >= size && it->size / 2 <= size) {
                    const Segment segment = *it;
                    idle.erase(it);
                    return segment;
                }
        }
        Segment segment;
        segment.id = shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
        if (segment.id == -1)
            return {};
        segment.address = shmat(segment.id, nullptr, 0);
        // Marked for removal at once (Linux still lets the server attach it by id), so that it disappears with
        // the last process that has it attached, whatever happens to this one.
        shmctl(segment.id, IPC_RMID, nullptr);
        if (segment.address == reinterpret_cast<void*>(-1))
            return {};
        segment.size = size;
        return segment;
    }

    void release(const Segment& segment) {
        {
            std::lock_guard lock(mutex);
            if (idle.size() < MaxIdleSegments) {
                idle.push_back(segment);
                return;
            }
        }
        shmdt(segment.address);
    }
};

namespace {

// Owned by an image that wraps a segment; hands the segment back when the image is let go.
struct SegmentLease {
    std::weak_ptr<X11DisplayCapture::SegmentPool> pool;
    Segment segment;
};

void returnSegment(void* info) {
    auto* lease = static_cast<SegmentLease*>(info);
    if (const auto pool = lease->pool.lock())
        pool->release(lease->segment);
    else
        shmdt(lease->segment.address);
    delete lease;
}

} // namespace

struct X11DisplayCapture::Connection {
    xcb_connection_t* xcb = nullptr;
    xcb_window_t root = 0;
    QRect rootRect;
    QImage::Format format = QImage::Format_Invalid;
    int bytesPerPixel = 4;
    bool shmUsable = false;

    ~Connection() {
        if (xcb)
            xcb_disconnect(xcb);
    }
};

X11DisplayCapture::X11DisplayCapture()
    : m_segments(std::make_shared<SegmentPool>()) {}

X11DisplayCapture::~X11DisplayCapture() = default;

quint32 X11DisplayCapture::idForName(const QString& name) {
    // FNV-1a: the same name gives the same id in every process.
    quint32 hash = 2166136261u;
    for (const char byte : name.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash;
}

QRect X11DisplayCapture::pixelRect(const Display& display) {
    // Qt keeps a screen's top-left corner at its device-pixel position and scales only its size.
    return QRect(display.geometry.topLeft(), display.pixelSize());
}

QList<Display> X11DisplayCapture::displays() const {
    QList<Display> result;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return result;
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<QScreen*> screens = QGuiApplication::screens();
    if (primary && screens.removeOne(primary))
        screens.prepend(const_cast<QScreen*>(primary));
    for (const QScreen* screen : screens) {
        Display display;
        display.name = screen->name();
        display.id = idForName(display.name);
        display.geometry = screen->geometry();
        display.devicePixelRatio = screen->devicePixelRatio();
        result.append(display);
    }
    return result;
}

std::unique_ptr<X11DisplayCapture::Connection> X11DisplayCapture::takeConnection() {
    {
        std::lock_guard lock(m_poolMutex);
        if (!m_idle.empty()) {
            std::unique_ptr<Connection> connection = std::move(m_idle.back());
            m_idle.pop_back();
            return connection;
        }
    }
    auto connection = std::make_unique<Connection>();
    int screenNumber = 0;
    connection->xcb = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection->xcb))
        return nullptr;
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

void X11DisplayCapture::returnConnection(std::unique_ptr<Connection> connection) {
    if (!connection || xcb_connection_has_error(connection->xcb))
        return;
    std::lock_guard lock(m_poolMutex);
    if (m_idle.size() < MaxIdleConnections)
        m_idle.push_back(std::move(connection));
}

QImage X11DisplayCapture::capture(Connection& connection, const QRect& rect) {
    if (connection.format == QImage::Format_Invalid)
        return {};
    const qsizetype bytesPerLine = qsizetype(rect.width()) * connection.bytesPerPixel;
    const size_t size = size_t(bytesPerLine) * size_t(rect.height());

    if (connection.shmUsable) {
        const Segment segment = m_segments->acquire(size);
        if (segment.address) {
            const xcb_shm_seg_t xid = xcb_generate_id(connection.xcb);
            const xcb_void_cookie_t attach = xcb_shm_attach_checked(connection.xcb, xid, segment.id, false);
            const auto cookie = xcb_shm_get_image(connection.xcb, connection.root, rect.x(), rect.y(), rect.width(),
                                                  rect.height(), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, xid, 0);
            XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(connection.xcb, cookie, nullptr));
            XcbReply<xcb_generic_error_t> attachError(xcb_request_check(connection.xcb, attach));
            xcb_shm_detach(connection.xcb, xid);
            xcb_flush(connection.xcb);
            if (reply && !attachError)
                return QImage(static_cast<uchar*>(segment.address), rect.width(), rect.height(), bytesPerLine,
                              connection.format, returnSegment, new SegmentLease{m_segments, segment});
            m_segments->release(segment);
            // Typically a server on another machine or another user's: stop trying on this connection.
            if (attachError)
                connection.shmUsable = false;
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

QImage X11DisplayCapture::captureDisplay(const Display& display) {
    const QRect rect = pixelRect(display);
    if (rect.isEmpty())
        return {};
    std::unique_ptr<Connection> connection = takeConnection();
    if (!connection)
        return {};
    const QRect visible = rect.intersected(connection->rootRect);
    QImage image;
    if (!visible.isEmpty())
        image = capture(*connection, visible);
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

bool X11DisplayCapture::canCapture() {
    const QList<Display> all = displays();
    if (all.isEmpty())
        return false;
    std::unique_ptr<Connection> connection = takeConnection();
    if (!connection)
        return false;
    const QRect probe = QRect(pixelRect(all.first()).topLeft(), QSize(16, 16)).intersected(connection->rootRect);
    const bool captured = !probe.isEmpty() && !capture(*connection, probe).isNull();
    returnConnection(std::move(connection));
    return captured;
}
