#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Encodes screenshots as PNG and writes them into one folder on a worker thread ("screenshot-io"), in the
// order they were queued. A file appears complete or not at all: it is written to a hidden temporary file,
// flushed to disk, and renamed into place. A cancelled write never appears.
class ScreenshotWriter {
public:
    // resultsReady is called on the worker thread after a write failed; takeFailures() then has it.
    ScreenshotWriter(const QString& folder, std::function<void()> resultsReady);
    // Finishes every queued write first.
    ~ScreenshotWriter();
    ScreenshotWriter(const ScreenshotWriter&) = delete;
    ScreenshotWriter& operator=(const ScreenshotWriter&) = delete;

    void enqueue(const QString& filename, const QImage& image);
    // True when the write was still queued or under way: it is dropped and the file will not appear.
    // False when the file is already in place (or was never queued).
    bool cancel(const QString& filename);
    // Blocks until nothing is queued or under way.
    void waitForIdle();
    bool isIdle();
    // Removes temporary files that a crash left in the folder; before the first enqueue only.
    void removeLeftovers();
    // The file names whose write failed since the last call (cancelled writes are not reported).
    QStringList takeFailures();

private:
    struct Job {
        QString filename;
        QImage image;
    };

    void run();
    void write(const Job& job);

    const QString m_folder;
    const std::function<void()> m_resultsReady;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_queue;
    QString m_current;
    bool m_currentCancelled = false;
    bool m_stopping = false;
    QStringList m_failures;
    std::thread m_thread; // started with the first write
};
