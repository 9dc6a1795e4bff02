#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <functional>

class QImage;
class TextRecognizer;

// Turns a cropped still image into plain text off the main thread and hands the text back on the thread the
// service lives on (the main thread). The text is raw: clean-up happens afterwards.
class LiveTextRecognitionService : public QObject {
    Q_OBJECT

public:
    explicit LiveTextRecognitionService(TextRecognizer& engine, QObject* parent = nullptr);
    // Drops the requests that have not started and waits for the running ones (at most two); no completion is
    // called after destruction.
    ~LiveTextRecognitionService() override;

    // Returns at once. completion is called exactly once, later, on the service's thread, with the recognised
    // lines joined by line feeds, or with the empty text when nothing was recognised or recognition failed.
    void recognizeText(const QImage& image, std::function<void(QString)> completion);
    // Has the engine made ready on a worker thread, so that the first capture is as quick as the later ones.
    void warmUp();
    // Blocks until every request made so far has run and posted its completion (which runs when this thread
    // next handles its events).
    void waitForDone();

    // After this long without a recognition the engine lets go of its spare engines (releaseSpareEngines()).
    static constexpr std::chrono::milliseconds SpareEnginesIdleTime{60000};
    void setSpareEnginesIdleTime(std::chrono::milliseconds idle);

private:
    TextRecognizer& m_engine;
    QTimer m_idle;
    // Two cores: a third recognition at once would only slow the others down. Idle threads expire; the engine
    // keeps its own warm state.
    QThreadPool m_pool;
};
