#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (logging out, Ctrl+C, `kill`) into a signal on the main thread, so that the
// program ends through its normal termination: the hotkey is released, the HTTP server stopped and pending
// screenshots written. A signal handler may do next to nothing, so it only writes a byte to a socket pair that
// the event loop watches.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
