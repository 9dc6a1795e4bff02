#include "core/capture/CaptureSessionController.h"

#include "core/capture/ClipboardService.h"
#include "core/capture/CoordinateTransform.h"
#include "core/capture/ImageCrop.h"
#include "core/capture/LiveTextRecognitionService.h"
#include "core/capture/OverlayPresenter.h"
#include "core/capture/RectText.h"
#include "core/capture/ScreenCaptureService.h"
#include "core/capture/SelectionView.h"
#include "core/capture/TextCleanup.h"
#include "core/capture/TextEditorDelegate.h"
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "core/support/Log.h"
#include "core/support/ThreadCheck.h"

#include <QImage>
#include <QPointer>
#include <QTextBoundaryFinder>

namespace {

// Counts and cuts texts by what a reader sees as one character (a grapheme cluster), so that a cut never splits
// an emoji or a letter from its accent.
qsizetype characterCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

QString characterPrefix(const QString& text, qsizetype characters)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype i = 0; i < characters; ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next == -1)
            break;
        end = next;
    }
    return text.left(end);
}

} // namespace

CaptureSessionController::CaptureSessionController(AppSettings& settings, ScreenCaptureService& screenCapture,
                                                   OverlayPresenter& overlayManager,
                                                   LiveTextRecognitionService& textRecognizer,
                                                   ClipboardService& clipboard, HistoryManager& history,
                                                   QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_screenCapture(screenCapture)
    , m_overlayManager(overlayManager)
    , m_textRecognizer(textRecognizer)
    , m_clipboard(clipboard)
    , m_history(history)
{}

CaptureSessionController::~CaptureSessionController() = default;

void CaptureSessionController::setTextEditorDelegate(TextEditorDelegate* delegate)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    m_textEditorDelegate.set(delegate);
}

TextEditorDelegate* CaptureSessionController::textEditorDelegate() const
{
    return m_textEditorDelegate.get();
}

void CaptureSessionController::setNoTextFoundHandler(std::function<void()> handler)
{
    m_noTextFound = std::move(handler);
}

void CaptureSessionController::startCapture(bool showHint)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    qCDebug(lcCapture).noquote()
        << QStringLiteral("📸📸📸 startCapture() called, showHint=%1").arg(showHint ? 1 : 0);
    if (isCaptureInProgress()) {
        qCInfo(lcCapture).noquote() << QStringLiteral("⚠️ Capture already in progress - start request ignored");
        return;
    }
    ++m_captureCount;
    m_capturedImages = m_screenCapture.captureAllScreens();
    qCDebug(lcCapture).noquote() << QStringLiteral("  Captured %1 screens").arg(m_capturedImages.size());
    if (m_capturedImages.isEmpty()) {
        qCWarning(lcCapture).noquote() << QStringLiteral("❌ No screens captured - check Screen Recording permission");
        return;
    }

    m_overlayManager.showOverlay(m_capturedImages, showHint);
    const QList<SelectionView*> views = m_overlayManager.overlayViews();
    qCDebug(lcCapture).noquote() << QStringLiteral("  Overlay shown, overlayViews count=%1").arg(views.size());
    for (qsizetype i = 0; i < views.size(); ++i) {
        SelectionView* view = views.at(i);
        view->setDelegate(this);
        qCDebug(lcCapture).noquote() << QStringLiteral("  Set delegate for view %1, delegate=%2")
                                            .arg(QString::number(i),
                                                 view->delegate() ? QStringLiteral("SET") : QStringLiteral("nil"));
    }
    qCInfo(lcCapture).noquote() << QStringLiteral("📸 Capture started - draw a rectangle to select text area");
}

bool CaptureSessionController::isCaptureInProgress() const
{
    return !m_capturedImages.isEmpty() || !m_overlayManager.overlayViews().isEmpty() || m_recognizing;
}

void CaptureSessionController::closeOverlay()
{
    QUILLORA_ASSERT_OWNER_THREAD();
    m_overlayManager.hideOverlay();
    if (!m_capturedImages.isEmpty())
        m_capturedImages.clear();
}

void CaptureSessionController::overlayViewDidCancel(SelectionView*)
{
    // Escape while the selection is being read ends the capture: its result, when it comes, is dropped rather
    // than opening an editor or overwriting the clipboard seconds after the user said no.
    ++m_captureCount;
    m_recognizing = false;
    closeOverlay();
}

void CaptureSessionController::overlayViewDidFinishSelection(SelectionView* view, const QRectF& rect)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    qCDebug(lcCapture).noquote() << QStringLiteral(
                                        "🎯🎯🎯 CaptureSessionController.overlayView didFinishSelectionWith: ") +
                                        RectText::nested(rect);
    qCInfo(lcCapture).noquote() << QStringLiteral("🎯 DELEGATE CALLED: overlayView didFinishSelectionWith: ") +
                                       RectText::tuple(rect);

    // The view shows this monitor's still image, so the selection is cut from it. A copy: closing the overlay
    // takes the view away.
    const CapturedDisplay captured = view->capturedDisplay();
    qCDebug(lcCapture).noquote() << QStringLiteral("✅ Found screen '%1' and image %2x%3, starting OCR...")
                                        .arg(captured.display.name, QString::number(captured.image.width()),
                                             QString::number(captured.image.height()));
    recognizeSelection(captured, rect);
}

void CaptureSessionController::recognizeSelection(const CapturedDisplay& captured, const QRectF& rect)
{
    qCInfo(lcCapture).noquote() << QStringLiteral("🔍 Starting OCR on selected region: ") + RectText::tuple(rect);
    // The overlay covers the monitor as it was frozen, so the monitor's geometry at capture time is the view size
    // the selection was measured in.
    const QSizeF viewSize = captured.display.geometry.size();
    const QRectF imageRect =
        CoordinateTransform::imageRect(rect, viewSize, captured.image.width(), captured.image.height());
    qCInfo(lcCapture).noquote() << QStringLiteral("  View rect: ") + RectText::tuple(rect);
    qCInfo(lcCapture).noquote() << QStringLiteral("  Image rect: ") + RectText::tuple(imageRect);

    const QImage cropped = ImageCrop::crop(captured.image, imageRect);
    if (cropped.isNull()) {
        qCInfo(lcCapture).noquote() << QStringLiteral("❌ Failed to crop image");
        closeOverlay();
        return;
    }
    qCInfo(lcCapture).noquote()
        << QStringLiteral("  Cropped image size: %1x%2").arg(cropped.width()).arg(cropped.height());

    m_recognizing = true;
    m_textRecognizer.recognizeText(cropped, [self = QPointer(this), capture = m_captureCount,
                                             display = captured.display, image = captured.image](const QString& text) {
        if (self)
            self->handleRecognitionResult(text, capture, display, image);
    });
}

void CaptureSessionController::handleRecognitionResult(const QString& text, quint64 capture, const Monitor& display,
                                                       const QImage& image)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    qCDebug(lcCapture).noquote() << QStringLiteral("📝 OCR Result: '%1'... (length: %2)")
                                        .arg(characterPrefix(text, LoggedTextLength),
                                             QString::number(characterCount(text)));
    // The user has pressed Escape meanwhile, perhaps starting another capture since. Closing the overlays now
    // would throw away the selection the user is making, and an editor popping up over it would be just as wrong.
    if (capture != m_captureCount) {
        qCDebug(lcCapture).noquote() << QStringLiteral("⚠️ Ignoring OCR result of an earlier capture");
        return;
    }
    m_recognizing = false;
    if (text.isEmpty()) {
        qCWarning(lcCapture).noquote() << QStringLiteral("⚠️ No text recognized in selected area");
        closeOverlay();
        if (m_noTextFound)
            m_noTextFound();
        return;
    }
    qCDebug(lcCapture).noquote() << QStringLiteral("✅ Text found, calling processTextSelection");
    processTextSelection(text, display, image);
}

void CaptureSessionController::processTextSelection(const QString& text, const Monitor& display, const QImage& image)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    qCInfo(lcCapture).noquote()
        << QStringLiteral("🔄 processTextSelection called with %1 chars").arg(characterCount(text));
    const QString cleaned = TextCleanup::clean(text, m_settings);
    if (cleaned.isEmpty()) {
        qCInfo(lcCapture).noquote() << QStringLiteral("❌ No text after processing");
        closeOverlay();
        if (m_noTextFound)
            m_noTextFound();
        return;
    }

    const QString displayName = display.name;
    qCInfo(lcCapture).noquote() << QStringLiteral("📍 Screen: ") + displayName;
    qCInfo(lcCapture).noquote() << QStringLiteral("🔒 Closing overlay...");
    closeOverlay();

    TextEditorDelegate* editor = textEditorDelegate();
    qCInfo(lcCapture).noquote() << QStringLiteral("📝 textEditorDelegate is ") +
                                       (editor ? QStringLiteral("set") : QStringLiteral("NIL"));
    if (!editor) {
        qCInfo(lcCapture).noquote() << QStringLiteral("⚠️ No editor delegate, copying directly");
        finishCapture(cleaned, displayName, image);
        return;
    }

    qCInfo(lcCapture).noquote() << QStringLiteral("🖼️ Showing text editor...");
    const QPointer<CaptureSessionController> self(this);
    editor->showTextEditor(
        cleaned,
        [self, displayName, image](std::optional<QString> finalText) {
            qCInfo(lcCapture).noquote() << QStringLiteral("✏️ Editor callback: ") +
                                               (finalText ? QStringLiteral("text returned")
                                                          : QStringLiteral("cancelled"));
            // The editor's text is the user's own: it is not cleaned up a second time.
            if (finalText && !finalText->isEmpty() && self)
                self->finishCapture(*finalText, displayName, image);
        },
        [self] {
            qCInfo(lcCapture).noquote() << QStringLiteral("🔄 Recapture requested");
            if (self)
                self->startCapture(false);
        });
}

void CaptureSessionController::finishCapture(const QString& text, const QString& displayName, const QImage& image)
{
    QUILLORA_ASSERT_OWNER_THREAD();
    m_clipboard.copyToClipboard(text);
    if (m_settings.historyEnabled())
        m_history.addEntry(text, displayName.isEmpty() ? std::nullopt : std::optional<QString>(displayName), QImage(),
                           image);
}
