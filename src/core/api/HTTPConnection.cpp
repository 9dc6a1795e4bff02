#include "core/api/HTTPConnection.h"

#include "core/api/HTTPResponse.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#include <sys/socket.h>

HTTPConnection::HTTPConnection(QTcpSocket* socket, const Responder& responder, int headDeadlineMs, QObject* parent)
    : QObject(parent)
    , m_socket(socket)
    , m_deadline(new QTimer(this))
    , m_responder(responder)
{
    m_socket->setParent(this);
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, &HTTPConnection::deadlinePassed);
    connect(m_socket, &QTcpSocket::readyRead, this, &HTTPConnection::readRequest);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &HTTPConnection::writeProgress);
    connect(m_socket, &QTcpSocket::disconnected, this, &HTTPConnection::end);
    m_since.start();
    m_deadline->start(std::min(headDeadlineMs, RequestDeadlineMs));
    // Bytes may have arrived between the accept and the connects above.
    if (m_socket->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &HTTPConnection::readRequest);
}

HTTPConnection::~HTTPConnection()
{
    m_socket->disconnect(this);
    m_socket->abort();
}

void HTTPConnection::readRequest()
{
    const QByteArray bytes = m_socket->readAll();
    if (m_phase != Phase::Reading)
        return; // after the answer, whatever the client still sends is read and dropped
    switch (m_reader.append(bytes)) {
    case HTTPRequestReader::State::Incomplete:
        if (!m_headRead && m_reader.hasHeaderBlock()) {
            // The body has what is left of the request deadline.
            m_headRead = true;
            m_deadline->start(static_cast<int>(std::max<qint64>(RequestDeadlineMs - m_since.elapsed(), 0)));
        }
        if (m_reader.takeContinueRequest())
            m_socket->write(HTTPResponse::continueInterim());
        return;
    case HTTPRequestReader::State::Failed:
        answer(HTTPResponse::error(m_reader.error()).serialize());
        return;
    case HTTPRequestReader::State::Complete:
        answer(m_responder(m_reader.request(), m_socket->peerAddress()));
        return;
    }
}

void HTTPConnection::answer(const QByteArray& response)
{
    m_phase = Phase::Writing;
    m_deadline->start(DrainDeadlineMs);
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        end();
        return;
    }
    m_socket->write(response);
    m_socket->flush();
    writeProgress();
}

void HTTPConnection::writeProgress()
{
    if (m_phase != Phase::Writing || m_socket->bytesToWrite() > 0)
        return;
    // Half-close instead of close: closing while the client's unread bytes sit in our receive buffer would reset
    // the connection and could destroy the answer before the client reads it (a refused large body, a second
    // request). The client sees the end of the answer, closes its side, and then the connection ends.
    m_phase = Phase::Lingering;
    ::shutdown(static_cast<int>(m_socket->socketDescriptor()), SHUT_WR);
    m_deadline->start(LingerMs);
}

void HTTPConnection::deadlinePassed()
{
    end();
}

void HTTPConnection::end()
{
    if (m_phase == Phase::Done)
        return;
    m_phase = Phase::Done;
    m_deadline->stop();
    m_socket->abort();
    emit finished();
}
