#include "capture/ClipboardService.h"

#include "platform/linux/QtClipboardPasteboard.h"

#include <QEventLoop>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Asks the X server the way another program would. Our process owns the selection and has to answer the
// request, so the event loop keeps running while xclip waits.
QByteArray readClipboard(const QString& target) {
    QProcess xclip;
    QEventLoop loop;
    QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-o"), QStringLiteral("-t"), target});
    loop.exec();
    return xclip.readAllStandardOutput();
}

} // namespace

TEST(ClipboardService, ReplacesAnotherProgramsImageWithExactlyTheText) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("image.png"));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(png));

    QtClipboardPasteboard pasteboard;
    ClipboardService service(pasteboard);
    struct Row {
        const char* name;
        QString text;
    };
    const std::vector<Row> rows = {
        {"empty", QString()},
        {"line feeds and tabs", QStringLiteral("first\tcell\nsecond line\n\n  indented\r\n")},
        {"non-ASCII", QStringLiteral("Grüße, 東京, ﬁ ligature, e\u0301, 🚀")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // Another program puts an image on the clipboard; xclip keeps it until someone takes the selection.
        QProcess owner;
        owner.start(QStringLiteral("xclip"),
                    {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                     QStringLiteral("image/png"), QStringLiteral("-i"), png});
        ASSERT_TRUE(owner.waitForFinished(5000) || owner.state() == QProcess::Running);
        for (int i = 0; i < 50 && !readClipboard(QStringLiteral("TARGETS")).contains("image/png"); ++i)
            QThread::msleep(50);
        ASSERT_TRUE(readClipboard(QStringLiteral("TARGETS")).contains("image/png"));

        service.copyToClipboard(row.text);
        const QByteArray targets = readClipboard(QStringLiteral("TARGETS"));
        EXPECT_FALSE(targets.contains("image")) << targets.toStdString();
        EXPECT_EQ(QString::fromUtf8(readClipboard(QStringLiteral("UTF8_STRING"))), row.text);
        owner.waitForFinished(5000);
    }
}
