#pragma once

#include <QDBusMessage>
#include <QString>
#include <QThread>
#include <QVariantMap>

#include <chrono>
#include <memory>

// One call of an org.freedesktop.portal method that answers through a Request object's Response signal. Blocks
// the calling thread, whichever it is, without running an event loop there: the signal is received on a thread of
// its own, so a call from the main thread cannot run other events in the middle of a capture.
class PortalRequest {
public:
    enum class Outcome {
        Answered,    // the portal's response code was 0; results holds what it returned
        Refused,     // the person or the desktop's policy declined (response 1 or 2)
        Unavailable, // no portal or no such interface on the session bus, or no session bus
        TimedOut,    // no response in time
    };
    struct Result {
        Outcome outcome = Outcome::Unavailable;
        QVariantMap results;
        // What went wrong, for the log; empty when answered.
        QString error;
    };

    PortalRequest();
    ~PortalRequest();
    PortalRequest(const PortalRequest&) = delete;
    PortalRequest& operator=(const PortalRequest&) = delete;

    // Calls method on interface of the portal object with arguments (without the options), then the options with
    // a fresh handle_token added, and waits for the response. Safe from several threads at once.
    Result call(const QString& interface, const QString& method, const QVariantList& arguments, QVariantMap options,
                std::chrono::milliseconds timeout);

    // Whether the portal on the session bus offers the interface (its "version" property can be read).
    static bool hasInterface(const QString& interface);

    static constexpr const char* Service = "org.freedesktop.portal.Desktop";
    static constexpr const char* ObjectPath = "/org/freedesktop/portal/desktop";

private:
    QThread m_thread;
};
