#include "platform/linux/X11KeyReleaseMonitor.h"

#include "platform/linux/XcbReply.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <algorithm>
#include <deque>

namespace {

// A key is let go a few times a second at most; these cover far more than the time one press takes to handle.
constexpr size_t MaxReleases = 16;

struct EventMask {
    xcb_input_event_mask_t head;
    quint32 mask;
};

// Server times are milliseconds that wrap after 49 days; this orders two times that lie less than half of that
// apart.
bool atOrAfter(quint32 time, quint32 reference)
{
    return qint32(time - reference) >= 0;
}

} // namespace

struct X11KeyReleaseMonitor::Private {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    quint8 opcode = 0;
    bool ready = false; // connected, with XInput 2.1 or later
    bool selected = false;
    QList<quint8> keycodes;
    // The times of the latest releases of the watched keys, oldest first.
    std::deque<quint32> releases;

    ~Private()
    {
        if (connection)
            xcb_disconnect(connection);
    }

    bool connect()
    {
        if (connection)
            return ready && !xcb_connection_has_error(connection);
        int screenNumber = 0;
        connection = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(connection))
            return false;
        auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; i < screenNumber && screens.rem > 1; ++i)
            xcb_screen_next(&screens);
        root = screens.data->root;
        const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_input_id);
        if (!extension || !extension->present)
            return false;
        opcode = extension->major_opcode;
        // Before 2.1 raw events went only to the client that grabbed the device.
        XcbReply<xcb_input_xi_query_version_reply_t> version(
            xcb_input_xi_query_version_reply(connection, xcb_input_xi_query_version(connection, 2, 2), nullptr));
        ready = version && (version->major_version > 2 || (version->major_version == 2 && version->minor_version >= 1));
        return ready;
    }

    // Takes the events already read from the socket.
    void takeQueued()
    {
        while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_queued_event(connection)})
            take(event.get());
    }

    void take(const xcb_generic_event_t* event)
    {
        if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
            return;
        const auto* raw = reinterpret_cast<const xcb_input_raw_key_release_event_t*>(event);
        if (raw->extension != opcode || raw->event_type != XCB_INPUT_RAW_KEY_RELEASE)
            return;
        if (raw->detail > 0xff || !keycodes.contains(quint8(raw->detail)))
            return;
        releases.push_back(raw->time);
        if (releases.size() > MaxReleases)
            releases.pop_front();
    }
};

X11KeyReleaseMonitor::X11KeyReleaseMonitor(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{}

X11KeyReleaseMonitor::~X11KeyReleaseMonitor()
{
    stop();
}

bool X11KeyReleaseMonitor::watch(const QList<quint8>& keycodes)
{
    d->keycodes = keycodes;
    d->releases.clear();
    if (d->selected)
        return true;
    if (!d->connect())
        return false;
    EventMask mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE};
    XcbReply<xcb_generic_error_t> error(
        xcb_request_check(d->connection, xcb_input_xi_select_events_checked(d->connection, d->root, 1, &mask.head)));
    if (error)
        return false;
    d->selected = true;
    // Every key's releases arrive, not only the watched ones: read them as they come so that none pile up.
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(d->connection), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11KeyReleaseMonitor::readEvents);
    return true;
}

void X11KeyReleaseMonitor::stop()
{
    m_notifier.reset();
    if (d->selected && !xcb_connection_has_error(d->connection)) {
        EventMask none{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, 0};
        xcb_input_xi_select_events(d->connection, d->root, 1, &none.head);
        xcb_flush(d->connection);
    }
    d->selected = false;
    d->keycodes.clear();
    d->releases.clear();
}

std::optional<bool> X11KeyReleaseMonitor::releasedBetween(quint32 from, quint32 to)
{
    if (!d->selected || xcb_connection_has_error(d->connection))
        return std::nullopt;
    // A round trip: once its answer is in, so is every event the server sent before it.
    XcbReply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(d->connection, xcb_get_input_focus(d->connection), nullptr));
    if (!sync)
        return std::nullopt;
    d->takeQueued();
    return std::any_of(d->releases.begin(), d->releases.end(),
                       [&](quint32 time) { return atOrAfter(time, from) && atOrAfter(to, time); });
}

void X11KeyReleaseMonitor::readEvents()
{
    if (!d->selected)
        return;
    while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(d->connection)})
        d->take(event.get());
}
