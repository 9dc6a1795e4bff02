#include "core/shell/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>

#include <unistd.h>

namespace {

constexpr qint64 MaxRequestLength = 64;

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_folder(folder)
{}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::defaultFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime;
    const QString folder = QDir::tempPath() + QStringLiteral("/quillora-%1").arg(::getuid());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

QString SingleInstance::socketPath() const
{
    return QDir(m_folder).filePath(QStringLiteral(QUILLORA_APP_ID ".socket"));
}

bool SingleInstance::isPrimary() const
{
    return m_server && m_server->isListening();
}

bool SingleInstance::becomePrimary(QString* error)
{
    if (isPrimary())
        return true;
    auto lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(QStringLiteral(QUILLORA_APP_ID ".lock")));
    // Never stale by age: a running instance may hold it for weeks. A lock whose process is gone is stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError && error)
            *error = QStringLiteral("cannot create the lock file in %1").arg(m_folder);
        return false;
    }
    // Whatever socket is left belongs to an instance that no longer runs: we hold the lock.
    QLocalServer::removeServer(socketPath());
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(socketPath())) {
        if (error)
            *error = server->errorString();
        delete server;
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    m_server = server;
    m_lock = std::move(lock);
    return true;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, guard = QPointer<QLocalSocket>(socket)] {
            if (!guard || !guard->canReadLine()) {
                // A client that sends more than a request without a line end is not one of ours.
                if (guard && guard->bytesAvailable() > MaxRequestLength)
                    guard->abort();
                return;
            }
            const QString request = QString::fromUtf8(guard->readLine(MaxRequestLength + 1)).trimmed();
            const bool known = request == QLatin1String(ActivateRequest) || request == QLatin1String(CaptureRequest) ||
                               request == QLatin1String(SidebarRequest);
            guard->write(known ? "ok\n" : "unknown request\n");
            guard->flush();
            guard->disconnectFromServer();
            if (known)
                emit requestReceived(request);
        });
    }
}

bool SingleInstance::anotherInstanceHoldsLock() const
{
    QLockFile probe(QDir(m_folder).filePath(QStringLiteral(QUILLORA_APP_ID ".lock")));
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}

SingleInstance::SendResult SingleInstance::send(const QString& request, QString* error, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(qMax(100, int(timeoutMs - clock.elapsed())))) {
            socket.write(request.toUtf8() + '\n');
            socket.flush();
            while (!socket.canReadLine() && clock.elapsed() < timeoutMs &&
                   socket.state() == QLocalSocket::ConnectedState)
                socket.waitForReadyRead(int(qMax<qint64>(10, timeoutMs - clock.elapsed())));
            const QString answer = QString::fromUtf8(socket.readLine(MaxRequestLength)).trimmed();
            if (answer == QStringLiteral("ok"))
                return SendResult::Delivered;
            if (error)
                *error = answer.isEmpty() ? QStringLiteral("the running instance did not answer") : answer;
            return SendResult::Failed;
        }
        // No socket: either nobody runs, or the instance holding the lock is still starting up.
        if (!anotherInstanceHoldsLock())
            return SendResult::NoInstance;
        if (clock.elapsed() >= timeoutMs) {
            if (error)
                *error = QStringLiteral("the running instance does not accept requests");
            return SendResult::Failed;
        }
        QThread::msleep(50);
    }
}
