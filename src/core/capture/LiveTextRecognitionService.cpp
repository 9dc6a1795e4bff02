#include "core/capture/LiveTextRecognitionService.h"

#include "core/platform/TextRecognizer.h"
#include "core/support/Log.h"

#include <QImage>

#include <exception>
#include <pthread.h>
#include <utility>

LiveTextRecognitionService::LiveTextRecognitionService(TextRecognizer& engine, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
{
    m_pool.setObjectName(QStringLiteral("recognition"));
    m_pool.setMaxThreadCount(2);
    m_idle.setSingleShot(true);
    m_idle.setInterval(SpareEnginesIdleTime);
    connect(&m_idle, &QTimer::timeout, this, [this] {
        m_pool.start([this] {
            pthread_setname_np(pthread_self(), "q-recognize");
            m_engine.releaseSpareEngines();
        });
    });
}

void LiveTextRecognitionService::setSpareEnginesIdleTime(std::chrono::milliseconds idle)
{
    m_idle.setInterval(idle);
}

LiveTextRecognitionService::~LiveTextRecognitionService()
{
    // Running jobs use the engine and post to this object: both must still exist until they are done. Results
    // they post are discarded with this object's pending events.
    m_pool.clear();
    m_pool.waitForDone();
}

void LiveTextRecognitionService::warmUp()
{
    m_pool.start([this] {
        pthread_setname_np(pthread_self(), "q-recognize");
        QString error;
        if (!m_engine.warmUp(&error))
            qCWarning(lcRecognition).noquote() << QStringLiteral("⚠️ Text recognition is not ready: %1").arg(error);
    });
}

void LiveTextRecognitionService::waitForDone()
{
    m_pool.waitForDone();
}

void LiveTextRecognitionService::recognizeText(const QImage& image, std::function<void(QString)> completion)
{
    // Posted to this object, so that a result still queued when the service goes is dropped with it.
    // The idle time counts from the last result.
    m_idle.stop();
    const auto deliver = [this, completion = std::move(completion)](const QString& text) {
        QMetaObject::invokeMethod(
            this,
            [this, completion, text] {
                m_idle.start();
                if (completion)
                    completion(text);
            },
            Qt::QueuedConnection);
    };
    if (image.isNull()) {
        qCInfo(lcRecognition).noquote() << QStringLiteral("Text recognition error: the image is empty");
        deliver(QString());
        return;
    }
    m_pool.start([this, image, deliver] {
        pthread_setname_np(pthread_self(), "q-recognize");
        QString error;
        QString text;
        try {
            text = m_engine.recognize(image, &error);
        } catch (const std::exception& exception) {
            error = QString::fromUtf8(exception.what());
            text.clear();
        } catch (...) {
            error = QStringLiteral("unknown failure");
            text.clear();
        }
        if (!error.isEmpty()) {
            qCInfo(lcRecognition).noquote() << QStringLiteral("Text recognition error: ") + error;
            text.clear();
        }
        deliver(text);
    });
}
