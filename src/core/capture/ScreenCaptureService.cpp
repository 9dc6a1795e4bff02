#include "core/capture/ScreenCaptureService.h"

#include "core/platform/DisplayCapture.h"
#include "core/support/Log.h"

#include <algorithm>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <utility>
#include <vector>

ScreenCaptureService::ScreenCaptureService(DisplayCapture& capture)
    : m_capture(capture)
{}

void ScreenCaptureService::openCapturePath()
{
    const QList<Monitor> displays = m_capture.displays();
    if (!displays.isEmpty())
        (void)m_capture.captureDisplay(displays.first());
}

bool ScreenCaptureService::checkScreenRecordingPermission()
{
    qCInfo(lcCapture).noquote() << QStringLiteral("🔍 Checking Screen Recording permission...");
    const bool granted = m_capture.canCapture();
    qCInfo(lcCapture).noquote() << (granted ? QStringLiteral("✅ Screen Recording: Permission granted")
                                            : QStringLiteral("❌ Screen Recording: Permission NOT granted"));
    return granted;
}

CapturedImages ScreenCaptureService::captureAllScreens()
{
    const QList<Monitor> displays = m_capture.displays();
    if (displays.isEmpty())
        return {};

    // The overlay appears only after this returns, so a lone monitor is captured right here without a thread hop.
    if (displays.size() == 1) {
        QImage image = m_capture.captureDisplay(displays.first());
        if (image.isNull())
            return {};
        return {CapturedDisplay{displays.first(), std::move(image)}};
    }

    std::mutex mutex;
    std::vector<std::pair<qsizetype, CapturedDisplay>> captured;
    captured.reserve(size_t(displays.size()));
    std::vector<std::thread> jobs;
    jobs.reserve(size_t(displays.size()));
    for (qsizetype index = 0; index < displays.size(); ++index) {
        const Monitor display = displays.at(index);
        jobs.emplace_back([this, &mutex, &captured, index, display] {
            // Linux limits thread names to 15 characters.
            const QByteArray name = QByteArrayLiteral("q-capture-") + QByteArray::number(index % 100000);
            pthread_setname_np(pthread_self(), name.constData());
            QImage image = m_capture.captureDisplay(display);
            if (image.isNull())
                return;
            std::lock_guard lock(mutex);
            captured.emplace_back(index, CapturedDisplay{display, std::move(image)});
        });
    }
    for (std::thread& job : jobs)
        job.join();

    // Jobs finish in any order; callers get the monitors in the desktop's order so that overlays and logs are
    // predictable.
    std::sort(captured.begin(), captured.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    CapturedImages result;
    result.reserve(qsizetype(captured.size()));
    for (auto& [index, entry] : captured)
        result.append(std::move(entry));
    return result;
}
