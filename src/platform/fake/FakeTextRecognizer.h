#pragma once

#include "core/platform/TextRecognizer.h"

#include <QImage>
#include <QList>

#include <chrono>
#include <condition_variable>
#include <mutex>

// A recogniser that answers every image with a prepared text or error, optionally after a delay or only once the
// test releases it. Records every image and the thread every call ran on.
class FakeTextRecognizer : public TextRecognizer {
public:
    struct Call {
        QImage image;
        Qt::HANDLE thread = nullptr;
    };

    void setText(const QString& text);
    // A non-empty description makes every call fail with it.
    void setError(const QString& description);
    void setDelay(std::chrono::milliseconds delay);
    // While held, calls wait inside recognize() until release().
    void hold();
    void release();

    QString recognize(const QImage& image, QString* error) override;
    bool warmUp(QString* error) override;
    // The threads warmUp() ran on, in order.
    QList<Qt::HANDLE> warmUps() const;
    void releaseSpareEngines() override;
    // How often releaseSpareEngines() was called.
    int releases() const;
    QStringList languages() const override { return {QStringLiteral("deu"), QStringLiteral("eng")}; }

    QList<Call> calls() const;
    // Calls that have entered recognize(), finished or not.
    int started() const;
    int finished() const;
    // Waits until count calls have entered recognize(); false on timeout.
    bool waitUntilStarted(int count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    QString m_text;
    QString m_error;
    std::chrono::milliseconds m_delay{0};
    bool m_held = false;
    int m_finished = 0;
    int m_releases = 0;
    QList<Call> m_calls;
    QList<Qt::HANDLE> m_warmUps;
};
