#pragma once

#include "core/api/HTTPRequestReader.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>

#include <functional>

class QTcpSocket;
class QTimer;

// One accepted TCP connection: reads one whole request, hands it to the responder, writes the one answer and
// closes. A client that has not sent its header block within the head deadline, or the whole request within the
// request deadline, is dropped without an answer.
class HTTPConnection : public QObject {
    Q_OBJECT

public:
    using Responder = std::function<QByteArray(const HTTPRequest& request, const QHostAddress& peer)>;

    static constexpr int RequestDeadlineMs = 10000;
    // How long a written answer may take to leave, and how long the closing side waits for the client's end.
    static constexpr int DrainDeadlineMs = 10000;
    static constexpr int LingerMs = 2000;

    // Takes ownership of the socket. The responder must outlive the connection. headDeadlineMs is at most
    // RequestDeadlineMs.
    HTTPConnection(QTcpSocket* socket, const Responder& responder, int headDeadlineMs = RequestDeadlineMs,
                   QObject* parent = nullptr);
    ~HTTPConnection() override;

signals:
    // Emitted once, when the connection is over; the owner deletes it then.
    void finished();

private:
    enum class Phase { Reading, Writing, Lingering, Done };

    void readRequest();
    void answer(const QByteArray& response);
    void writeProgress();
    void deadlinePassed();
    void end();

    QTcpSocket* m_socket;
    QTimer* m_deadline;
    QElapsedTimer m_since; // from the accept
    bool m_headRead = false;
    const Responder& m_responder;
    HTTPRequestReader m_reader;
    Phase m_phase = Phase::Reading;
};
