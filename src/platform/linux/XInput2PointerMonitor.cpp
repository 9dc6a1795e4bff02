#include "platform/linux/XInput2PointerMonitor.h"

#include "platform/linux/NativeScreenGeometry.h"
#include "platform/linux/XcbReply.h"

#include <QHash>
#include <QSize>
#include <QSocketNotifier>
#include <QTimer>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <array>

namespace {

qreal toReal(const xcb_input_fp3232_t& value)
{
    return qreal(value.integral) + qreal(value.frac) / 4294967296.0;
}

} // namespace

struct XInput2PointerMonitor::Private {
    // How a device reports its x and y axes: relative devices (mice) send movements, absolute ones (tablets,
    // the XTest device) positions, from which the movement is the difference to the last one.
    struct Axes {
        std::array<bool, 2> absolute{false, false};
        std::array<qreal, 2> scale{1, 1};
        std::array<qreal, 2> last{0, 0};
        std::array<bool, 2> seen{false, false};
    };

    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    QSize rootSize;
    quint8 opcode = 0;
    bool ready = false; // connected, with XInput 2.1 or later
    bool selected = false;
    QHash<quint16, Axes> devices;

    ~Private()
    {
        if (connection)
            xcb_disconnect(connection);
    }

    Axes& axesOf(quint16 sourceId)
    {
        auto it = devices.find(sourceId);
        if (it != devices.end())
            return *it;
        Axes axes;
        XcbReply<xcb_input_xi_query_device_reply_t> reply(
            xcb_input_xi_query_device_reply(connection, xcb_input_xi_query_device(connection, sourceId), nullptr));
        if (reply) {
            for (auto info = xcb_input_xi_query_device_infos_iterator(reply.get()); info.rem;
                 xcb_input_xi_device_info_next(&info)) {
                for (auto cls = xcb_input_xi_device_info_classes_iterator(info.data); cls.rem;
                     xcb_input_device_class_next(&cls)) {
                    if (cls.data->type != XCB_INPUT_DEVICE_CLASS_TYPE_VALUATOR)
                        continue;
                    const auto* valuator = reinterpret_cast<const xcb_input_valuator_class_t*>(cls.data);
                    if (valuator->number > 1)
                        continue;
                    const int axis = valuator->number;
                    axes.absolute[axis] = valuator->mode == XCB_INPUT_VALUATOR_MODE_ABSOLUTE;
                    // An absolute axis spans the whole screen; its units are converted to pixels.
                    const qreal range = toReal(valuator->max) - toReal(valuator->min);
                    const int pixels = axis == 0 ? rootSize.width() : rootSize.height();
                    if (axes.absolute[axis] && range > 0 && pixels > 0)
                        axes.scale[axis] = (pixels - 1) / range;
                }
            }
        }
        return *devices.insert(sourceId, axes);
    }
};

XInput2PointerMonitor::XInput2PointerMonitor(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
    , m_pause(new QTimer(this))
{
    m_pause->setSingleShot(true);
    m_pause->setInterval(MinReportIntervalMs);
    connect(m_pause, &QTimer::timeout, this, [this] {
        if (m_notifier)
            m_notifier->setEnabled(true);
        // What arrived meanwhile, also what the last position query brought along into the connection's queue,
        // where the socket notifier does not see it.
        readEvents();
    });
}

XInput2PointerMonitor::~XInput2PointerMonitor()
{
    stop();
}

bool XInput2PointerMonitor::connectToDisplay()
{
    if (d->connection)
        return d->ready && !xcb_connection_has_error(d->connection);
    int screenNumber = 0;
    d->connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(d->connection))
        return false;
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(d->connection));
    for (int i = 0; i < screenNumber && screens.rem > 1; ++i)
        xcb_screen_next(&screens);
    d->root = screens.data->root;
    d->rootSize = QSize(screens.data->width_in_pixels, screens.data->height_in_pixels);

    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(d->connection, &xcb_input_id);
    if (!extension || !extension->present)
        return false;
    d->opcode = extension->major_opcode;
    // XInput 2 requests are only understood after the client has said which version it speaks; from 2.1 on, raw
    // events reach a root-window selection even while another client grabs the pointer (as during a drag).
    XcbReply<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(d->connection, xcb_input_xi_query_version(d->connection, 2, 2), nullptr));
    d->ready = version && (version->major_version > 2 || (version->major_version == 2 && version->minor_version >= 1));
    return d->ready;
}

bool XInput2PointerMonitor::start(Handler handler)
{
    if (!connectToDisplay())
        return false;
    m_handler = std::move(handler);
    if (d->selected)
        return true;

    struct {
        xcb_input_event_mask_t head;
        quint32 mask;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_MOTION};
    XcbReply<xcb_generic_error_t> error(
        xcb_request_check(d->connection, xcb_input_xi_select_events_checked(d->connection, d->root, 1, &mask.head)));
    if (error) {
        m_handler = nullptr;
        return false;
    }
    d->selected = true;
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(d->connection), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &XInput2PointerMonitor::readEvents);
    // Events may already wait in the connection's queue, where the socket notifier does not see them.
    QMetaObject::invokeMethod(this, &XInput2PointerMonitor::readEvents, Qt::QueuedConnection);
    return true;
}

void XInput2PointerMonitor::stop()
{
    m_handler = nullptr;
    m_notifier.reset();
    m_pause->stop();
    if (d->selected && d->connection && !xcb_connection_has_error(d->connection)) {
        struct {
            xcb_input_event_mask_t head;
            quint32 mask;
        } none{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, 0};
        xcb_input_xi_select_events(d->connection, d->root, 1, &none.head);
        xcb_flush(d->connection);
    }
    d->selected = false;
}

QPointF XInput2PointerMonitor::position() const
{
    if (!d->connection)
        const_cast<XInput2PointerMonitor*>(this)->connectToDisplay();
    if (xcb_connection_has_error(d->connection))
        return {};
    XcbReply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(d->connection, xcb_query_pointer(d->connection, d->root), nullptr));
    return pointer ? NativeScreenGeometry::fromNative(QPoint(pointer->root_x, pointer->root_y)) : QPointF();
}

void XInput2PointerMonitor::readEvents()
{
    if (!d->connection || !d->selected || m_pause->isActive())
        return;
    bool moved = false;
    qreal deltaX = 0;
    qreal deltaY = 0;
    while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(d->connection)}) {
        if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
            continue;
        const auto* raw = reinterpret_cast<const xcb_input_raw_motion_event_t*>(event.get());
        if (raw->extension != d->opcode || raw->event_type != XCB_INPUT_RAW_MOTION)
            continue;
        Private::Axes& axes = d->axesOf(raw->sourceid);
        const quint32* valuatorMask = xcb_input_raw_button_press_valuator_mask(raw);
        const xcb_input_fp3232_t* values = xcb_input_raw_button_press_axisvalues(raw);
        const int maskBits = xcb_input_raw_button_press_valuator_mask_length(raw) * 32;
        int valueIndex = 0;
        for (int axis = 0; axis < maskBits; ++axis) {
            if (!(valuatorMask[axis / 32] & (1u << (axis % 32))))
                continue;
            const qreal value = toReal(values[valueIndex++]);
            if (axis > 1)
                continue;
            qreal delta = value;
            if (axes.absolute[axis]) {
                delta = axes.seen[axis] ? (value - axes.last[axis]) * axes.scale[axis] : 0;
                axes.last[axis] = value;
                axes.seen[axis] = true;
            }
            (axis == 0 ? deltaX : deltaY) += delta;
        }
        moved = true;
    }
    if (!moved || !m_handler)
        return;

    XcbReply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(d->connection, xcb_query_pointer(d->connection, d->root), nullptr));
    if (!pointer)
        return;
    Motion motion;
    motion.position = NativeScreenGeometry::fromNative(QPoint(pointer->root_x, pointer->root_y));
    motion.deltaX = deltaX;
    motion.deltaY = deltaY;
    motion.dragging = pointer->mask & XCB_KEY_BUT_MASK_BUTTON_1;
    const Handler handler = m_handler;
    handler(motion);
    // Movement that goes on piles up until the pause is over and is then reported at once.
    if (d->selected && m_notifier) {
        m_notifier->setEnabled(false);
        m_pause->start();
    }
}
