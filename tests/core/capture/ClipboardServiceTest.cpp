#include "core/capture/ClipboardService.h"

#include "TestStores.h"
#include "platform/linux/QtClipboardPasteboard.h"

#include <QEventLoop>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Asks the X server as another program would; the event loop runs so that we can answer as the owner.
QByteArray readSelection(const char* selection, const char* target)
{
    QProcess xclip;
    QEventLoop loop;
    QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
    xclip.start(QStringLiteral("xclip"),
                {"-selection", QString::fromLatin1(selection), "-o", "-t", QString::fromLatin1(target)});
    loop.exec();
    return xclip.readAllStandardOutput();
}

QByteArray readClipboard(const char* target)
{
    return readSelection("clipboard", target);
}

} // namespace

TEST(ClipboardService, ReplacesAnotherProgramsImageWithExactlyTheText)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("image.png"));
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(png));
    QtClipboardPasteboard pasteboard;
    TestSettings settings;
    ClipboardService service(pasteboard, settings.settings);

    for (const QString& text : {QString(), QStringLiteral("Grüße\t東京\nﬁ, e\u0301\n\n  🚀\r\n")}) {
        SCOPED_TRACE(text.toStdString());
        // xclip offers the image from a background process until someone else takes the clipboard.
        QProcess::execute(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "image/png", "-i", png});
        EXPECT_TRUE(QTest::qWaitFor([] { return readClipboard("TARGETS").contains("image/png"); }, 5000));

        service.copyToClipboard(text);
        const QByteArray targets = readClipboard("TARGETS");
        EXPECT_FALSE(targets.contains("image")) << targets.toStdString();
        EXPECT_EQ(QString::fromUtf8(readClipboard("UTF8_STRING")), text);
    }
}

TEST(ClipboardService, PutsTheTextWhereAMiddleClickPastesUnlessSwitchedOff)
{
    QtClipboardPasteboard pasteboard;
    TestSettings settings;
    ClipboardService service(pasteboard, settings.settings);
    for (const bool primary : {true, false}) {
        SCOPED_TRACE(primary);
        settings.settings.setCopyToPrimarySelection(primary);
        // Another program's selection, offered by xclip in the background until someone else takes it.
        QProcess echo;
        echo.start(QStringLiteral("xclip"), {"-selection", "primary", "-i"});
        echo.write("selected elsewhere");
        echo.closeWriteChannel();
        ASSERT_TRUE(echo.waitForFinished(5000));
        ASSERT_TRUE(
            QTest::qWaitFor([] { return readSelection("primary", "UTF8_STRING") == "selected elsewhere"; }, 5000));

        service.copyToClipboard(QStringLiteral("Grüße, Welt"));
        EXPECT_EQ(QString::fromUtf8(readClipboard("UTF8_STRING")), QStringLiteral("Grüße, Welt"));
        EXPECT_EQ(QString::fromUtf8(readSelection("primary", "UTF8_STRING")),
                  primary ? QStringLiteral("Grüße, Welt") : QStringLiteral("selected elsewhere"));
    }
}
