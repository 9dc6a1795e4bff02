#include "platform/linux/PortalRequest.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

// Receives one Request's Response on the portal thread and hands it to the waiting caller.
class ResponseReceiver : public QObject {
    Q_OBJECT

public:
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    uint code = 0;
    QVariantMap results;

public slots:
    void response(uint responseCode, const QVariantMap& responseResults)
    {
        std::lock_guard lock(mutex);
        if (done)
            return;
        code = responseCode;
        results = responseResults;
        done = true;
        answered.notify_all();
    }
};

QString nextToken()
{
    static std::atomic<quint64> counter{0};
    return QStringLiteral("quillora%1").arg(++counter);
}

} // namespace

PortalRequest::PortalRequest()
{
    m_thread.setObjectName(QStringLiteral("q-portal"));
    m_thread.start();
}

PortalRequest::~PortalRequest()
{
    m_thread.quit();
    m_thread.wait();
}

PortalRequest::Result PortalRequest::call(const QString& interface, const QString& method,
                                          const QVariantList& arguments, QVariantMap options,
                                          std::chrono::milliseconds timeout)
{
    Result result;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        result.error = QStringLiteral("no D-Bus session bus");
        return result;
    }
    // The request's object path follows from the caller's unique name and the token, so the response signal can be
    // subscribed to before the call: a portal that answers at once is not missed.
    const QString token = nextToken();
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString requestPath = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    options.insert(QStringLiteral("handle_token"), token);

    auto* receiver = new ResponseReceiver;
    receiver->moveToThread(&m_thread);
    // QtDBus delivers signals to slots named in its own string form only.
    const bool subscribed =
        bus.connect(QString::fromLatin1(Service), requestPath, QStringLiteral("org.freedesktop.portal.Request"),
                    QStringLiteral("Response"), receiver, SLOT(response(uint, QVariantMap)));
    auto finish = [&] {
        bus.disconnect(QString::fromLatin1(Service), requestPath, QStringLiteral("org.freedesktop.portal.Request"),
                       QStringLiteral("Response"), receiver, SLOT(response(uint, QVariantMap)));
        receiver->deleteLater();
    };
    if (!subscribed) {
        result.error = QStringLiteral("cannot subscribe to the portal's response: %1").arg(bus.lastError().message());
        finish();
        return result;
    }

    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(Service), QString::fromLatin1(ObjectPath),
                                                          interface, method);
    QVariantList all = arguments;
    all.append(options);
    message.setArguments(all);
    const QDBusMessage reply = bus.call(message, QDBus::Block, int(timeout.count()));
    if (reply.type() == QDBusMessage::ErrorMessage) {
        result.outcome = reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ? Outcome::TimedOut
                         : reply.errorName() == QLatin1String("org.freedesktop.portal.Error.NotAllowed")
                             ? Outcome::Refused
                             : Outcome::Unavailable;
        result.error = QStringLiteral("%1: %2").arg(reply.errorName(), reply.errorMessage());
        finish();
        return result;
    }

    {
        std::unique_lock lock(receiver->mutex);
        if (!receiver->answered.wait_for(lock, timeout, [&] { return receiver->done; })) {
            result.outcome = Outcome::TimedOut;
            result.error = QStringLiteral("no answer from the portal within %1 ms").arg(timeout.count());
        } else if (receiver->code == 0) {
            result.outcome = Outcome::Answered;
            result.results = receiver->results;
        } else {
            result.outcome = Outcome::Refused;
            result.error = receiver->code == 1 ? QStringLiteral("the request was cancelled")
                                               : QStringLiteral("the request was refused");
        }
    }
    if (result.outcome == Outcome::TimedOut) {
        // Tells the portal to give up too, so that a dialog it may show does not stay behind.
        const QString requestPathCopy = requestPath;
        bus.call(QDBusMessage::createMethodCall(QString::fromLatin1(Service), requestPathCopy,
                                                QStringLiteral("org.freedesktop.portal.Request"),
                                                QStringLiteral("Close")),
                 QDBus::NoBlock);
    }
    finish();
    return result;
}

bool PortalRequest::hasInterface(const QString& interface)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(Service), QString::fromLatin1(ObjectPath),
                                       QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message.setArguments({interface, QStringLiteral("version")});
    const QDBusMessage reply = bus.call(message, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

#include "PortalRequest.moc"
