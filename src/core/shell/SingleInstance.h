#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// One Quillora per user: the first process holds a lock file and listens on a local socket next to it; later
// starts hand their request ("activate", "capture", "sidebar") to it and exit. The lock, not the socket, decides who is
// first, so two starts at the same moment cannot both win, and a crashed instance's stale lock (its process is
// gone) is taken over.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class SendResult { Delivered, NoInstance, Failed };

    static constexpr const char* ActivateRequest = "activate";
    static constexpr const char* CaptureRequest = "capture";
    static constexpr const char* SidebarRequest = "sidebar";

    // folder holds "<application id>.lock" and "<application id>.socket".
    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR, or a private folder in the temporary directory when that is unset.
    static QString defaultFolder();

    // Takes the lock and starts listening. False when another instance holds the lock, or on failure (*error).
    bool becomePrimary(QString* error);
    bool isPrimary() const;

    // Hands a request to the running instance and waits for its answer.
    SendResult send(const QString& request, QString* error, int timeoutMs = 3000) const;

    QString socketPath() const;

signals:
    // On the primary instance, for each request a later start handed over.
    void requestReceived(const QString& request);

private:
    void acceptConnections();
    bool anotherInstanceHoldsLock() const;

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
