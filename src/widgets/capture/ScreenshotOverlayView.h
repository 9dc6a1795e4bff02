#pragma once

#include "core/capture/CapturedDisplay.h"
#include "core/capture/SelectionView.h"
#include "core/support/WeakDelegate.h"

#include <QByteArray>
#include <QRectF>
#include <QWidget>

#include <optional>

class AppSettings;
class QPainter;
class QTimer;

// The content of one overlay window: the frozen image of its monitor, a crosshair, and the rectangle the user
// drags. Selections are reported to the delegate in the view's own coordinates, as Qt delivers its events:
// points, origin at the top-left corner of the monitor, y downwards.
class ScreenshotOverlayView : public QWidget, public SelectionView {
    Q_OBJECT

public:
    // The instruction toast stays this long, then fades out.
    static constexpr int ToastVisibleMs = 2500;
    static constexpr int ToastFadeMs = 500;
    // A selection still being read after this long shows the reading indicator over it; quicker results close
    // the overlay before anything could flicker.
    static constexpr int ReadingIndicatorDelayMs = 150;

    // The view is as large as the captured monitor and draws its still image (in device pixels) over its whole
    // area. The toast is shown when both showHint and the user's showCaptureHint setting allow it.
    ScreenshotOverlayView(const AppSettings& settings, const CapturedDisplay& captured, bool showHint = true,
                          QWidget* parent = nullptr);
    ~ScreenshotOverlayView() override;

    bool showHint() const { return m_showHint; }

    // The current selection in view coordinates, if any.
    std::optional<QRectF> selectionRect() const { return m_selectionRect; }
    bool isDragging() const { return m_selectionStart.has_value(); }
    bool isToastShown() const { return m_toastShown; }
    // Whether the reading indicator is shown over the reported selection.
    bool isReadingShown() const { return m_readingShown; }

    // PNG of what the view shows now (image, dimming, selection, label, toast), scaled down to at most
    // maxWidth points wide and never enlarged; nothing when the view cannot be rendered.
    std::optional<QByteArray> captureViewContentAsPNG(int maxWidth);

    void setDelegate(ScreenshotOverlayViewDelegate* delegate) override;
    ScreenshotOverlayViewDelegate* delegate() const override;
    const CapturedDisplay& capturedDisplay() const override { return m_captured; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takeKeyboardFocus();
    void startToastFade();
    void drawSelection(QPainter& painter, const QRectF& selection) const;
    void drawSizeLabel(QPainter& painter, const QRectF& selection) const;
    void drawToast(QPainter& painter) const;
    void drawReading(QPainter& painter, const QRectF& selection) const;
    QRectF readingPill(const QRectF& selection) const;
    static QString readingText();
    void updateReadingPill();
    void startReading();
    void stopReading();
    QString delegateState(const char* present, const char* absent) const;

    WeakDelegate<ScreenshotOverlayViewDelegate> m_delegate;
    const CapturedDisplay m_captured;
    std::optional<QPointF> m_selectionStart;
    std::optional<QRectF> m_selectionRect;
    bool m_showHint = true;
    bool m_toastShown = false;
    qreal m_toastOpacity = 1.0;
    bool m_warnedNoImage = false;
    QTimer* m_readingDelay = nullptr;
    QTimer* m_readingFrames = nullptr;
    bool m_readingShown = false;
    int m_readingPhase = 0; // which dot of the indicator is lit
};
