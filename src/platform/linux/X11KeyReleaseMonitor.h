#pragma once

#include <QList>
#include <QObject>

#include <memory>
#include <optional>

class QSocketNotifier;

// Tells whether a key was let go, wherever its release was delivered. A key's core release event goes to the
// window that holds the keyboard at that moment, which may be another client's; XInput 2.1 raw key releases reach
// a root-window selection whatever the focus and grabs, and the server sends none for auto-repeat. Uses an X
// connection of its own, read on the main thread.
class X11KeyReleaseMonitor : public QObject {
public:
    explicit X11KeyReleaseMonitor(QObject* parent = nullptr);
    ~X11KeyReleaseMonitor() override;

    // Starts noting the releases of these key codes (and forgets earlier ones); false when the display has no
    // XInput 2.1.
    bool watch(const QList<quint8>& keycodes);
    void stop();
    // Whether one of the watched keys was let go between the two server times (both included), counting every
    // release the server had sent before this call; empty when releases cannot be watched.
    std::optional<bool> releasedBetween(quint32 from, quint32 to);

private:
    struct Private;

    void readEvents();

    std::unique_ptr<Private> d;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
