#include "core/history/ScreenshotWriter.h"

#include "core/support/Log.h"
#include "core/support/PrivateFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>

#include <cerrno>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

ScreenshotWriter::ScreenshotWriter(const QString& folder, std::function<void()> resultsReady)
    : m_folder(folder)
    , m_resultsReady(std::move(resultsReady))
{}

ScreenshotWriter::~ScreenshotWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void ScreenshotWriter::enqueue(const QString& filename, const QImage& image)
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(Job{filename, image});
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

bool ScreenshotWriter::cancel(const QString& filename)
{
    std::lock_guard lock(m_mutex);
    if (m_current == filename) {
        m_currentCancelled = true;
        return true;
    }
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if (it->filename == filename) {
            m_queue.erase(it);
            if (m_queue.empty() && m_current.isEmpty())
                m_idle.notify_all();
            return true;
        }
    }
    return false;
}

void ScreenshotWriter::waitForIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && m_current.isEmpty(); });
}

bool ScreenshotWriter::isIdle()
{
    std::lock_guard lock(m_mutex);
    return m_queue.empty() && m_current.isEmpty();
}

void ScreenshotWriter::removeLeftovers()
{
    const QStringList parts =
        QDir(m_folder).entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& part : parts)
        PrivateFolder::removeFile(m_folder, part);
}

QStringList ScreenshotWriter::takeFailures()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_failures, {});
}

void ScreenshotWriter::run()
{
    pthread_setname_np(pthread_self(), "screenshot-io");
    std::unique_lock lock(m_mutex);
    for (;;) {
        // Queued writes are finished before stopping: a screenshot handed in before quitting is kept.
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        m_current = job.filename;
        m_currentCancelled = false;
        lock.unlock();
        write(job);
        lock.lock();
        m_current.clear();
        if (m_queue.empty())
            m_idle.notify_all();
    }
}

void ScreenshotWriter::write(const Job& job)
{
    const auto failed = [&] {
        std::unique_lock lock(m_mutex);
        if (m_currentCancelled)
            return;
        m_failures.append(job.filename);
        lock.unlock();
        if (m_resultsReady)
            m_resultsReady();
    };

    {
        std::lock_guard lock(m_mutex);
        if (m_currentCancelled)
            return;
    }

    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter encoder(&buffer, "png");
        if (job.image.isNull() || !encoder.write(job.image))
            png.clear();
    }
    if (png.isEmpty()) {
        qCCritical(lcHistory).noquote() << QStringLiteral("❌ Failed to create PNG data for screenshot");
        failed();
        return;
    }

    // The folder may have been removed while the program runs; the history file's folder is made again too.
    PrivateFolder::make(m_folder);
    const QString target = m_folder + QLatin1Char('/') + job.filename;
    const QString temporary = m_folder + QStringLiteral("/.") + job.filename + QStringLiteral(".part");
    QFile file(temporary);
    QString error;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        error = file.errorString();
    } else {
        // open() leaves the mode of an existing file alone; a leftover temporary file must not keep a wider one.
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (file.write(png) != png.size() || !file.flush() || ::fsync(file.handle()) != 0)
            error =
                file.errorString().isEmpty() ? QStringLiteral("could not write %1").arg(temporary) : file.errorString();
        file.close();
    }

    bool cancelled = false;
    if (error.isEmpty()) {
        // Deciding and renaming under the lock: a cancel either comes before (nothing appears) or after (the
        // caller finds the file and removes it).
        std::lock_guard lock(m_mutex);
        cancelled = m_currentCancelled;
        if (!cancelled && ::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData())) {
            error = QString::fromLocal8Bit(std::strerror(errno));
        }
    }
    if (cancelled || !error.isEmpty())
        QFile::remove(temporary);
    if (cancelled)
        return;
    if (!error.isEmpty()) {
        qCCritical(lcHistory).noquote() << QStringLiteral("❌ Failed to save screenshot: %1").arg(error);
        failed();
        return;
    }
    qCDebug(lcHistory).noquote() << QStringLiteral("📸 Saved screenshot: %1").arg(job.filename);
}
