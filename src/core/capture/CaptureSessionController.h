#pragma once

#include "core/capture/CapturedDisplay.h"
#include "core/capture/ScreenshotOverlayViewDelegate.h"
#include "core/support/WeakDelegate.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class AppSettings;
class ClipboardService;
class HistoryManager;
class LiveTextRecognitionService;
class OverlayPresenter;
class QImage;
class ScreenCaptureService;
class TextEditorDelegate;

// Runs one text capture from the start request until the text is on the clipboard: freezes the monitors, shows
// the overlays, maps the user's selection to image pixels, crops, has the crop recognised, cleans the text up and
// hands it to the editor (or copies it at once), then copies it and records it in the history.
//
// Main thread only. The services and stores are owned by the application controller, which creates them before
// this controller and destroys them after it. Asynchronous steps hold the controller weakly: a recognition result
// or an editor callback that arrives after the controller is gone does nothing.
class CaptureSessionController : public QObject, public ScreenshotOverlayViewDelegate {
    Q_OBJECT

public:
    // How much of a recognised text the system log's result line shows, in characters.
    static constexpr int LoggedTextLength = 100;

    CaptureSessionController(AppSettings& settings, ScreenCaptureService& screenCapture,
                             OverlayPresenter& overlayManager, LiveTextRecognitionService& textRecognizer,
                             ClipboardService& clipboard, HistoryManager& history, QObject* parent = nullptr);
    ~CaptureSessionController() override;

    // Held weakly. When the delegate is also a QObject, its destruction is noticed and it reads back as null;
    // a delegate that is not a QObject must be cleared (set to null) before it goes away.
    void setTextEditorDelegate(TextEditorDelegate* delegate);
    TextEditorDelegate* textEditorDelegate() const;
    // Called when a capture ends because it found no text (nothing recognised, or nothing left after the clean-up),
    // so that the user hears of it: the overlays close, and nothing is copied or recorded, as on a cancel.
    void setNoTextFoundHandler(std::function<void()> handler);

    // Freezes every monitor and shows the overlays. showHint asks the overlays for their instruction toast.
    // Does not check whether the desktop may be captured; callers do. While a capture is in progress the request
    // is ignored with a log line, whoever made it: every start would otherwise add a full set of overlay windows
    // and still images to those already shown.
    void startCapture(bool showHint);
    // True from a start that showed overlays until they close and no recognition of a selection is still running.
    bool isCaptureInProgress() const;
    // Takes every overlay off the screen and forgets the still images. Safe when nothing is shown.
    void closeOverlay();
    // The still images of the capture in progress; empty between captures.
    const CapturedImages& capturedImages() const { return m_capturedImages; }

    void overlayViewDidFinishSelection(SelectionView* view, const QRectF& rect) override;
    void overlayViewDidCancel(SelectionView* view) override;

    // Cleans a recognised text up and hands it to the editor, or copies it when there is no editor.
    void processTextSelection(const QString& text, const Monitor& display, const QImage& image);
    // Puts the text on the clipboard and, with history switched on, records it with the monitor's still image.
    void finishCapture(const QString& text, const QString& displayName, const QImage& image);

private:
    void recognizeSelection(const CapturedDisplay& captured, const QRectF& rect);
    void handleRecognitionResult(const QString& text, quint64 capture, const Monitor& display, const QImage& image);

    AppSettings& m_settings;
    ScreenCaptureService& m_screenCapture;
    OverlayPresenter& m_overlayManager;
    LiveTextRecognitionService& m_textRecognizer;
    ClipboardService& m_clipboard;
    HistoryManager& m_history;

    CapturedImages m_capturedImages;
    // Counts starts and cancels, so that a recognition result can tell whether its capture was cancelled or a newer
    // one has begun since its selection.
    quint64 m_captureCount = 0;
    // A selection of the current capture is being read; a cancel ends the wait, its result is then dropped.
    bool m_recognizing = false;

    WeakDelegate<TextEditorDelegate> m_textEditorDelegate;
    std::function<void()> m_noTextFound;
};
