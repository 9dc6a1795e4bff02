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

} // namespace

// Another program's image on the clipboard and its text in the selection a middle click pastes, offered by xclip in
// the background until someone else takes them: the copy replaces the image with exactly the text, and the selection
// too unless switched off.
TEST(ClipboardService, ReplacesAnotherProgramsImageWithExactlyTheTextAndTheSelectionUnlessSwitchedOff)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("image.png"));
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(png));
    QtClipboardPasteboard pasteboard;
    TestSettings settings;
    ClipboardService service(pasteboard, settings.settings);

    const std::pair<QString, bool> rows[] = {{QString(), false},
                                             {QStringLiteral("Grüße\t東京\nﬁ, e\u0301\n\n  🚀\r\n"), false},
                                             {QStringLiteral("Grüße, Welt"), true}};
    for (const auto& [text, primary] : rows) {
        SCOPED_TRACE(text.toStdString());
        settings.settings.setCopyToPrimarySelection(primary);
        QProcess::execute(QStringLiteral("xclip"), {"-selection", "clipboard", "-t", "image/png", "-i", png});
        QProcess::execute(QStringLiteral("sh"), {"-c", "printf 'selected elsewhere' | xclip -selection primary -i"});
        ASSERT_TRUE(QTest::qWaitFor([] { return readSelection("clipboard", "TARGETS").contains("image/png"); }, 5000));
        ASSERT_TRUE(
            QTest::qWaitFor([] { return readSelection("primary", "UTF8_STRING") == "selected elsewhere"; }, 5000));

        service.copyToClipboard(text);
        EXPECT_FALSE(readSelection("clipboard", "TARGETS").contains("image"));
        EXPECT_EQ(QString::fromUtf8(readSelection("clipboard", "UTF8_STRING")), text);
        EXPECT_EQ(QString::fromUtf8(readSelection("primary", "UTF8_STRING")),
                  primary ? text : QStringLiteral("selected elsewhere"));
    }
}
