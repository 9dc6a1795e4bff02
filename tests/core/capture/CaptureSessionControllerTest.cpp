#include "core/capture/CaptureSessionController.h"

#include "core/capture/ClipboardService.h"
#include "core/capture/LiveTextRecognitionService.h"
#include "core/capture/ScreenCaptureService.h"
#include "core/capture/TextEditorDelegate.h"
#include "platform/fake/FakeDisplayCapture.h"
#include "platform/fake/FakePasteboard.h"
#include "platform/fake/FakeTextRecognizer.h"

#include "FakeOverlayPresenter.h"
#include "QStringPrinter.h"
#include "TestStores.h"

#include <QCoreApplication>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

const Monitor laptop{1, QStringLiteral("eDP-1"), {0, 0, 1440, 900}, 2.0};
const Monitor monitor{2, QStringLiteral("DP-2"), {1440, 0, 1280, 800}, 2.0};

// Every pixel tells where it is, so that a crop from the wrong place or the wrong monitor's image shows.
QImage positionCoded(QSize size, int monitor)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, (x >> 8) | (y >> 8) << 4 | monitor << 7));
    return image;
}

// An editor the test answers by hand. A QObject, so that the controller holds it weakly as it holds the real one.
class FakeTextEditor : public QObject, public TextEditorDelegate {
public:
    void showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                        std::function<void()> recaptureHandler) override
    {
        texts.append(text);
        save = std::move(completion);
        recapture = std::move(recaptureHandler);
    }

    QStringList texts;
    std::function<void(std::optional<QString>)> save; // std::nullopt: cancel
    std::function<void()> recapture;
};

class CaptureSessionControllerTest : public ::testing::Test, public TestStores {
public:
    void SetUp() override
    {
        displays.addDisplay(laptop, positionCoded(laptop.pixelSize(), 0));
        controller.setTextEditorDelegate(&editor);
        controller.setNoTextFoundHandler([this] { ++noTextFound; });
    }

    // Starts a capture and selects rect on the overlay of the given monitor.
    void startAndSelect(const QRectF& rect, int viewIndex = 0)
    {
        controller.startCapture(true);
        ASSERT_GT(overlays.visibleCount(), viewIndex);
        overlays.view(viewIndex)->finishSelection(rect);
    }

    // Lets every crop handed to recognition so far come back to the controller.
    void waitForRecognition()
    {
        recognition.waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    FakeDisplayCapture displays;
    ScreenCaptureService screenCapture{displays};
    FakeOverlayPresenter overlays;
    FakeTextRecognizer engine;
    LiveTextRecognitionService recognition{engine};
    FakePasteboard pasteboard;
    ClipboardService clipboard{pasteboard, settings};
    FakeTextEditor editor;
    CaptureSessionController controller{settings, screenCapture, overlays, recognition, clipboard, history};
    int noTextFound = 0;
};

} // namespace

// Two monitors of different sizes: a selection on the second is cropped from the second's image, at its density.
TEST_F(CaptureSessionControllerTest, ASelectionIsCroppedFromItsMonitorsStillAndTheSavedTextCopiedAsItIs)
{
    const QImage still = positionCoded(monitor.pixelSize(), 1);
    displays.addDisplay(monitor, still);
    engine.setText(QStringLiteral("Inter-\nnational  trade"));
    controller.startCapture(true);
    ASSERT_EQ(overlays.visibleCount(), 2);
    overlays.view(1)->finishSelection({100, 550, 300, 50});
    waitForRecognition();

    // 50 points high from 550 points below the top of DP-2, at twice the density.
    ASSERT_EQ(engine.calls().size(), 1);
    EXPECT_EQ(engine.calls().first().image, still.copy(200, 1100, 600, 100));
    EXPECT_EQ(overlays.visibleCount(), 0);
    EXPECT_TRUE(controller.capturedImages().isEmpty());

    EXPECT_EQ(editor.texts, QStringList{QStringLiteral("International trade")});
    EXPECT_TRUE(pasteboard.writes.isEmpty()) << "nothing is copied before the user saves";

    // The user's own text is taken as it is, not cleaned up again.
    editor.save(QStringLiteral("International  trade-\n"));
    EXPECT_EQ(pasteboard.writes, QStringList{QStringLiteral("International  trade-\n")});
}

// A recapture shows the overlay again, without the hint.
TEST_F(CaptureSessionControllerTest, EditorEndingsThatCopyNothing)
{
    const std::vector<std::tuple<const char*, std::function<void(FakeTextEditor&)>, QList<bool>>> rows = {
        {"cancel", [](FakeTextEditor& e) { e.save(std::nullopt); }, {true}},
        {"empty save", [](FakeTextEditor& e) { e.save(QString()); }, {true}},
        {"recapture", [](FakeTextEditor& e) { e.recapture(); }, {true, false}},
    };
    engine.setText(QStringLiteral("text"));
    for (const auto& [name, answer, showHints] : rows) {
        overlays.showHints.clear();
        startAndSelect({100, 200, 300, 50});
        waitForRecognition();
        answer(editor);
        EXPECT_EQ(overlays.showHints, showHints) << name;
        if (overlays.visibleCount() > 0)
            overlays.view(0)->pressEscape();
    }
    EXPECT_EQ(editor.texts.size(), 3);
    EXPECT_TRUE(pasteboard.writes.isEmpty());
    EXPECT_TRUE(history.entries().isEmpty());
}

TEST_F(CaptureSessionControllerTest, NothingCapturedShowsNoOverlay)
{
    FakeDisplayCapture none; // a lone monitor whose capture fails
    none.addDisplay(laptop, QImage());
    ScreenCaptureService noScreens(none);
    CaptureSessionController empty(settings, noScreens, overlays, recognition, clipboard, history);
    empty.startCapture(true);
    EXPECT_TRUE(overlays.showHints.isEmpty());
    EXPECT_TRUE(empty.capturedImages().isEmpty());
}

// Every way a capture can fail after the overlays are up: the overlays close and the stills go; clipboard, history
// and editor hear nothing. When text was looked for and none found, the user is told.
TEST_F(CaptureSessionControllerTest, FailuresCloseTheOverlayAndKeepEverythingElse)
{
    // The engine's text and error, the selection, and whether it was recognised (and so, with nothing found, told).
    const QRectF selection(100, 650, 300, 50);
    const std::vector<std::tuple<const char*, QString, QString, QRectF, bool>> rows = {
        {"selection outside the still", "text", "", {1500, 0, 100, 100}, false},
        {"nothing recognised", "", "", selection, true},
        {"recognition error", "text", "engine broke", selection, true},
        {"clean-up leaves nothing", "\n \t\n", "", selection, true},
    };
    for (const auto& [name, text, error, selected, recognised] : rows) {
        SCOPED_TRACE(name);
        engine.setText(text);
        engine.setError(error);
        const int recognitions = engine.started();
        const int told = noTextFound;
        startAndSelect(selected);
        waitForRecognition();
        EXPECT_EQ(engine.started(), recognitions + (recognised ? 1 : 0));
        EXPECT_EQ(noTextFound, told + (recognised ? 1 : 0));
        EXPECT_EQ(overlays.visibleCount(), 0);
        EXPECT_TRUE(controller.capturedImages().isEmpty());
    }
    EXPECT_TRUE(pasteboard.writes.isEmpty());
    EXPECT_TRUE(history.entries().isEmpty());
    EXPECT_TRUE(editor.texts.isEmpty());
}

// Every caller starts through the controller: a start while a capture is on screen or being read adds nothing. The
// late result of a reading ended by Escape leaves the overlays of a capture started since alone.
TEST_F(CaptureSessionControllerTest, AStartDuringACaptureIsIgnoredAndEscapeDropsTheLateResult)
{
    engine.setText(QStringLiteral("late text"));
    controller.startCapture(true);
    controller.startCapture(true);
    EXPECT_EQ(overlays.visibleCount(), 1);
    EXPECT_EQ(overlays.showHints.size(), 1);

    engine.hold();
    overlays.view(0)->finishSelection({100, 200, 300, 50});
    ASSERT_TRUE(engine.waitUntilStarted(1));
    EXPECT_EQ(overlays.visibleCount(), 1); // the overlay stays while recognising
    controller.startCapture(true);
    EXPECT_EQ(overlays.showHints.size(), 1);

    overlays.view(0)->pressEscape();
    EXPECT_EQ(overlays.visibleCount(), 0);
    controller.startCapture(true); // the cancelled reading does not hold the next capture back
    EXPECT_EQ(overlays.visibleCount(), 1);
    engine.release();
    waitForRecognition();
    EXPECT_EQ(overlays.visibleCount(), 1);
    EXPECT_EQ(controller.capturedImages().size(), 1);
    EXPECT_TRUE(editor.texts.isEmpty());
    EXPECT_TRUE(pasteboard.writes.isEmpty());
}

// A result arriving after its controller is gone (at quit) opens no editor and copies nothing.
TEST_F(CaptureSessionControllerTest, ALateResultFindingTheControllerGoneDoesNothing)
{
    auto shortLived =
        std::make_unique<CaptureSessionController>(settings, screenCapture, overlays, recognition, clipboard, history);
    shortLived->setTextEditorDelegate(&editor);
    engine.setText(QStringLiteral("text"));
    engine.hold();
    shortLived->startCapture(true);
    overlays.view(0)->finishSelection({100, 200, 300, 50});
    ASSERT_TRUE(engine.waitUntilStarted(1));
    shortLived.reset();
    engine.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.finished() == 1; }));
    QTest::qWait(50);
    EXPECT_TRUE(editor.texts.isEmpty());
    EXPECT_TRUE(pasteboard.writes.isEmpty());
}
