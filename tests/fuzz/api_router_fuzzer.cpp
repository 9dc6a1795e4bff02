// Whole requests through the access checks and the route table, with the real stores in a folder of their own, the
// recording application delegate and a fake desktop. An input holds up to eight requests separated by a line
// "--next--", answered in order on a server thread while the main thread runs the work they hand it. Every answer
// must be framed correctly, and what the history ends with must be what a second start reads.
#include "FuzzSupport.h"
#include "RecordingAPIDelegate.h"
#include "core/api/APIResponder.h"
#include "core/api/APIRouter.h"
#include "core/api/HTTPRequestReader.h"
#include "core/api/InputAutomation.h"
#include "core/api/MainThreadBridge.h"
#include "core/history/HistoryEntry.h"
#include "core/history/HistoryManager.h"
#include "platform/fake/FakeDisplayCapture.h"
#include "platform/fake/FakeSyntheticInput.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <thread>

namespace {

constexpr int MaxRequests = 8;
const QByteArray separator = QByteArrayLiteral("\n--next--\n");

// The stores' clock: the known entries below are a day or two old, whatever day the fuzzer runs.
const QDateTime now(QDate(2026, 3, 14), QTime(10, 0), Qt::UTC);

// Three entries whose ids the corpus names, so that deleting one is reachable; the first has a screenshot.
const QByteArray knownHistory = QByteArrayLiteral(
    R"([{"id":"0A9E2D7C-1B3F-4C5D-8E6F-7A8B9C0D1E2F","text":"first","timestamp":"2026-03-14T09:00:00Z",)"
    R"("screenshotFilename":"0A9E2D7C-1B3F-4C5D-8E6F-7A8B9C0D1E2F.png"},)"
    R"({"id":"1B2C3D4E-5F60-4718-293A-4B5C6D7E8F90","text":"second","timestamp":"2026-03-13T09:00:00Z",)"
    R"("displayName":"Terminal"},)"
    R"({"id":"2C3D4E5F-6071-4829-3A4B-5C6D7E8F9001","text":"third","timestamp":"2026-03-12T09:00:00Z"}])");

// The framing of one answer: a status line, header lines, a blank line, and exactly Content-Length bytes.
void checkAnswer(const QByteArray& request, const QByteArray& answer)
{
    const QString detail = QString::fromUtf8(request.left(2000) + "\n-- answer --\n" + answer.left(2000));
    const qsizetype headEnd = answer.indexOf("\r\n\r\n");
    FUZZ_CHECK(answer.startsWith("HTTP/1.1 ") && headEnd > 0, detail);
    const QList<QByteArray> lines = answer.left(headEnd + 1).split('\n'); // each with its "\r"
    bool numeric = false;
    const int status = lines.first().trimmed().split(' ').value(1).toInt(&numeric);
    FUZZ_CHECK(numeric && status >= 100 && status <= 599, detail);
    qsizetype length = -1;
    bool json = false;
    for (const QByteArray& line : lines.mid(1)) {
        FUZZ_CHECK(line.endsWith('\r') && line.contains(": "), detail);
        const QByteArray name = line.left(line.indexOf(':')).toLower();
        const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed();
        length = name == "content-length" ? value.toLongLong() : length;
        json = json || (name == "content-type" && value.startsWith("application/json"));
    }
    const QByteArray body = answer.mid(headEnd + 4);
    // Only the preflight's 204 has neither body nor Content-Length.
    FUZZ_CHECK(length == body.size() || (status == 204 && length == -1 && body.isEmpty()), detail);
    FUZZ_CHECK(!json || nlohmann::json::accept(body.begin(), body.end()), detail);
}

// What the program's server thread does with the bytes of one connection: read them, answer or refuse.
QByteArray answer(APIResponder& responder, const QByteArray& bytes)
{
    HTTPRequestReader reader;
    const HTTPRequestReader::State state = reader.append(bytes);
    if (state == HTTPRequestReader::State::Complete)
        return responder.respond(reader.request(), QHostAddress(QHostAddress::LocalHost));
    return state == HTTPRequestReader::State::Failed ? HTTPResponse::error(reader.error()).serialize() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Latin-1 keeps every byte as it is.
    const QString input = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> requests;
    for (const QString& request : input.split(QString::fromLatin1(separator)).mid(0, MaxRequests))
        requests << request.toLatin1();

    FuzzSupport::Home home;
    if (!FuzzSupport::writeFile(home.folder + QStringLiteral("/history.json"), knownHistory))
        return 0;
    QImage(8, 8, QImage::Format_RGB32)
        .save(home.folder + QStringLiteral("/Screenshots/0A9E2D7C-1B3F-4C5D-8E6F-7A8B9C0D1E2F.png"));

    AppSettings& settings = home.settings;
    QList<HistoryEntry> lastEntries;
    {
        HistoryManager history(settings, home.folder, [] { return now; });
        RecordingAPIDelegate delegate;
        MainThreadBridge bridge;
        bridge.setDelegate(&delegate);
        FakeSyntheticInput syntheticInput;
        FakeDisplayCapture display;
        QImage monitor(64, 48, QImage::Format_RGB32);
        monitor.fill(Qt::darkCyan);
        display.addDisplay(Monitor{1, QStringLiteral("FUZZ-1"), QRect(0, 0, 64, 48)}, monitor);
        InputAutomation automation(&syntheticInput, [] { return QRectF(0, 0, 64, 48); });
        APIRouter router(bridge, settings, history, QStringLiteral("0.0-fuzz"), &automation, &display);
        APIResponder responder(settings, router);

        QEventLoop loop;
        std::thread server([&] {
            for (const QByteArray& request : std::as_const(requests))
                if (const QByteArray bytes = answer(responder, request); !bytes.isEmpty())
                    checkAnswer(request, bytes);
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        server.join();
        bridge.stop();
        QCoreApplication::processEvents();
        lastEntries = history.entries();
    }
    HistoryManager reread(settings, home.folder, [] { return now; });
    FUZZ_CHECK(reread.entries() == lastEntries, QString::fromUtf8(HistoryEntry::encodeList(lastEntries)) +
                                                    QStringLiteral("\n-- read back --\n") +
                                                    QString::fromUtf8(HistoryEntry::encodeList(reread.entries())));
    return 0;
}
