#include "widgets/capture/ScreenshotOverlayView.h"

#include "core/capture/RectText.h"
#include "core/capture/ScreenshotOverlayViewDelegate.h"
#include "core/capture/SelectionGeometry.h"
#include "core/settings/AppSettings.h"
#include "core/support/Log.h"

#include <QBuffer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal SelectionCornerRadius = 3.0;
constexpr qreal OutsideDimming = 0.4;
constexpr qreal ToastDimming = 0.3;
constexpr qreal ShadowBlur = 8.0;
constexpr qreal ShadowAlpha = 0.5;
constexpr qreal LabelAlpha = 0.75;
constexpr qreal ToastBoxAlpha = 0.8;
constexpr qreal ToastCornerRadius = 16.0;
constexpr qreal ToastPaddingX = 32.0;
constexpr qreal ToastPaddingY = 20.0;
constexpr int LabelFontSize = 12;
constexpr int ToastFontSize = 32;
constexpr int ReadingFontSize = 13;
constexpr int ReadingFrameMs = 160;
constexpr int ReadingDots = 3;
constexpr qreal ReadingDotRadius = 3.0;
constexpr qreal ReadingDotSpacing = 10.0;
constexpr qreal ReadingPaddingX = 14.0;
constexpr qreal ReadingPaddingY = 8.0;

QFont mediumFont(const QFont& base, int pixelSize)
{
    QFont font(base);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Medium);
    return font;
}

// A point in the system log's form, like a rectangle's origin: {100, 200}.
QString describe(const QPointF& point)
{
    return QStringLiteral("{%1, %2}").arg(RectText::shortNumber(point.x()), RectText::shortNumber(point.y()));
}

QString describeOrNil(const std::optional<QRectF>& rect)
{
    return rect ? RectText::nested(*rect) : QStringLiteral("nil");
}

QString describeOrNil(const std::optional<QPointF>& point)
{
    return point ? describe(*point) : QStringLiteral("nil");
}

} // namespace

ScreenshotOverlayView::ScreenshotOverlayView(const AppSettings& settings, const CapturedDisplay& captured,
                                             bool showHint, QWidget* parent)
    : QWidget(parent)
    , m_captured(captured)
    , m_showHint(showHint)
{
    setGeometry(QRect(QPoint(0, 0), captured.display.geometry.size()));
    qCDebug(lcOverlay).noquote() << QStringLiteral("🔧 ScreenshotOverlayView.setup() called - frame: %1")
                                        .arg(RectText::nested(QRectF(geometry())));
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("🔧 ScreenshotOverlayView setup() called");

    // The frozen image covers every pixel, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);

    if (m_showHint && settings.showCaptureHint()) {
        m_toastShown = true;
        QPointer<ScreenshotOverlayView> self(this);
        QTimer::singleShot(ToastVisibleMs, this, [self] {
            if (self)
                self->startToastFade();
        });
    }
}

ScreenshotOverlayView::~ScreenshotOverlayView() = default;

void ScreenshotOverlayView::setDelegate(ScreenshotOverlayViewDelegate* delegate)
{
    m_delegate.set(delegate);
}

ScreenshotOverlayViewDelegate* ScreenshotOverlayView::delegate() const
{
    return m_delegate.get();
}

QString ScreenshotOverlayView::delegateState(const char* present, const char* absent) const
{
    return QString::fromLatin1(delegate() ? present : absent);
}

bool ScreenshotOverlayView::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange && lcOverlayTrace().isDebugEnabled()) {
        const QWidget* host = parentWidget() ? window() : nullptr;
        qCDebug(lcOverlayTrace).noquote()
            << QStringLiteral("🪟 viewDidMoveToWindow: window=%1, frame=%2")
                   .arg(host ? QStringLiteral("SET") : QStringLiteral("nil"), RectText::nested(QRectF(geometry())));
        if (host)
            qCDebug(lcOverlayTrace).noquote()
                << QStringLiteral("  window.isKeyWindow=%1, window.canBecomeKey=true")
                       .arg(host->isActiveWindow() ? QStringLiteral("true") : QStringLiteral("false"));
    }
    return QWidget::event(event);
}

void ScreenshotOverlayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& image = m_captured.image;
    // The frozen image covers the whole view; black only shows where there is none.
    if (image.isNull() || QSizeF(image.size()) / m_captured.display.devicePixelRatio != QSizeF(size()))
        painter.fillRect(rect(), Qt::black);
    if (image.isNull()) {
        // Once rather than on every redraw: the system log is not a trace.
        if (!m_warnedNoImage)
            qCWarning(lcOverlay).noquote() << QStringLiteral("⚠️ draw() called but image is nil");
        m_warnedNoImage = true;
    } else {
        qCDebug(lcOverlayTrace).noquote() << QStringLiteral("🎨 Drawing image: (%1, %2) in bounds: (0, 0, %3, %4)")
                                                 .arg(image.width())
                                                 .arg(image.height())
                                                 .arg(width())
                                                 .arg(height());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // The whole image in device pixels goes into the view's whole area, whatever the monitor's pixel ratio.
        painter.drawImage(QRectF(rect()), image);
    }

    if (m_selectionRect && m_selectionRect->width() > 0 && m_selectionRect->height() > 0) {
        drawSelection(painter, *m_selectionRect);
        drawSizeLabel(painter, *m_selectionRect);
    }
    if (m_toastShown)
        drawToast(painter);
    // Over the instruction, which may still be fading out when a quick selection is already being read.
    if (m_readingShown && m_selectionRect)
        drawReading(painter, *m_selectionRect);
}

void ScreenshotOverlayView::drawSelection(QPainter& painter, const QRectF& selection) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath hole;
    hole.addRoundedRect(selection, SelectionCornerRadius, SelectionCornerRadius);
    // The outline runs half a pen width outside the selection, so that it is crisp and covers none of the
    // selected pixels.
    QPainterPath outline;
    outline.addRoundedRect(selection.adjusted(-0.5, -0.5, 0.5, 0.5), SelectionCornerRadius + 0.5,
                           SelectionCornerRadius + 0.5);

    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    outside.addRect(QRectF(rect()));
    outside.addPath(hole);
    painter.fillPath(outside, QColor::fromRgbF(0, 0, 0, OutsideDimming));

    // A soft shadow under the outline keeps it visible on white backgrounds: concentric strokes, each a little
    // wider and all faint, add up to a dark edge that fades out over the blur radius. It falls outside only,
    // so the selected text keeps its contrast.
    painter.save();
    painter.setClipPath(outside);
    painter.setBrush(Qt::NoBrush);
    const int steps = int(ShadowBlur);
    const qreal stepAlpha = 1.0 - std::pow(1.0 - ShadowAlpha, 1.0 / steps);
    for (int i = steps; i >= 1; --i) {
        painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, stepAlpha), 1.0 + 2.0 * i));
        painter.drawPath(outline);
    }
    painter.setPen(QPen(Qt::white, 1.0));
    painter.drawPath(outline);
    painter.restore();
}

void ScreenshotOverlayView::drawSizeLabel(QPainter& painter, const QRectF& selection) const
{
    const QString text = SelectionGeometry::sizeLabelText(selection);
    const QFont font = mediumFont(this->font(), LabelFontSize);
    const QFontMetricsF metrics(font);
    const QSizeF textSize(metrics.horizontalAdvance(text), metrics.height());
    const QRectF pill = SelectionGeometry::labelPillRect(selection, textSize, QSizeF(size()));

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, LabelAlpha));
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pill.adjusted(SelectionGeometry::LabelPaddingX, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void ScreenshotOverlayView::drawToast(QPainter& painter) const
{
    //% "Drag to select text · Esc to cancel"
    const QString text = qtTrId("capture.hint");
    const QFont font = mediumFont(this->font(), ToastFontSize);
    const QFontMetricsF metrics(font);
    const QSizeF box(metrics.horizontalAdvance(text) + 2 * ToastPaddingX, metrics.height() + 2 * ToastPaddingY);
    const QRectF container(QPointF(width() / 2.0 - box.width() / 2, height() / 2.0 - box.height() / 2), box);

    painter.save();
    painter.setOpacity(m_toastOpacity);
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, ToastDimming));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, ToastBoxAlpha));
    painter.drawRoundedRect(container, ToastCornerRadius, ToastCornerRadius);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(container, Qt::AlignCenter, text);
    painter.restore();
}

// A pill in the size label's style, centred on the selection and kept on the monitor.
QRectF ScreenshotOverlayView::readingPill(const QRectF& selection) const
{
    const QFontMetricsF metrics(mediumFont(font(), ReadingFontSize));
    const qreal dotsWidth = (ReadingDots - 1) * ReadingDotSpacing + 2 * ReadingDotRadius;
    const QSizeF box(metrics.horizontalAdvance(readingText()) + ReadingPaddingX * 2.5 + dotsWidth,
                     metrics.height() + 2 * ReadingPaddingY);
    QRectF pill(selection.center() - QPointF(box.width() / 2, box.height() / 2), box);
    pill.moveLeft(std::clamp(pill.left(), 0.0, std::max(0.0, width() - pill.width())));
    pill.moveTop(std::clamp(pill.top(), 0.0, std::max(0.0, height() - pill.height())));
    return pill;
}

QString ScreenshotOverlayView::readingText()
{
    //% "Reading text"
    return qtTrId("capture.reading");
}

// Three dots lit one after the other beside the words, so that a long read is seen to be under way.
void ScreenshotOverlayView::drawReading(QPainter& painter, const QRectF& selection) const
{
    const QRectF pill = readingPill(selection);
    const qreal dotsWidth = (ReadingDots - 1) * ReadingDotSpacing + 2 * ReadingDotRadius;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, LabelAlpha));
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    const qreal dotsLeft = pill.left() + ReadingPaddingX;
    for (int i = 0; i < ReadingDots; ++i) {
        painter.setBrush(QColor::fromRgbF(1, 1, 1, i == m_readingPhase ? 1.0 : 0.35));
        painter.drawEllipse(QPointF(dotsLeft + ReadingDotRadius + i * ReadingDotSpacing, pill.center().y()),
                            ReadingDotRadius, ReadingDotRadius);
    }
    painter.setFont(mediumFont(font(), ReadingFontSize));
    painter.setPen(Qt::white);
    painter.drawText(pill.adjusted(ReadingPaddingX * 1.5 + dotsWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     readingText());
    painter.restore();
}

void ScreenshotOverlayView::startReading()
{
    stopReading();
    if (!m_readingDelay) {
        m_readingDelay = new QTimer(this);
        m_readingDelay->setSingleShot(true);
        m_readingDelay->setInterval(ReadingIndicatorDelayMs);
        connect(m_readingDelay, &QTimer::timeout, this, [this] {
            m_readingShown = true;
            m_readingPhase = 0;
            m_readingFrames->start();
            updateReadingPill();
        });
        m_readingFrames = new QTimer(this);
        m_readingFrames->setInterval(ReadingFrameMs);
        connect(m_readingFrames, &QTimer::timeout, this, [this] {
            m_readingPhase = (m_readingPhase + 1) % ReadingDots;
            updateReadingPill();
        });
    }
    m_readingDelay->start();
}

void ScreenshotOverlayView::stopReading()
{
    if (m_readingDelay) {
        m_readingDelay->stop();
        m_readingFrames->stop();
    }
    if (m_readingShown) {
        updateReadingPill();
        m_readingShown = false;
    }
}

// Only the pill is redrawn for each frame: the whole monitor would cost the recogniser a full-screen paint and
// upload several times a second.
void ScreenshotOverlayView::updateReadingPill()
{
    if (m_selectionRect)
        update(readingPill(*m_selectionRect).toAlignedRect().adjusted(-1, -1, 1, 1));
}

void ScreenshotOverlayView::startToastFade()
{
    auto* fade = new QVariantAnimation(this);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    fade->setDuration(ToastFadeMs);
    connect(fade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_toastOpacity = value.toReal();
        update();
    });
    connect(fade, &QVariantAnimation::finished, this, [this] {
        m_toastShown = false;
        update();
    });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void ScreenshotOverlayView::takeKeyboardFocus()
{
    activateWindow();
    setFocus(Qt::MouseFocusReason);
    // While the overlay holds the keyboard, a click on another monitor's overlay takes the grab along, so that
    // Escape keeps working there.
    if (QWidget* grabber = keyboardGrabber(); grabber && grabber != this)
        grabKeyboard();
}

void ScreenshotOverlayView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF point = event->position();
    qCDebug(lcOverlay).noquote() << QStringLiteral("🖱️ mouseDown called at %1").arg(describe(point));
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("🖱️ mouseDown called at ") + describe(point);
    takeKeyboardFocus();
    stopReading();
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("  converted location: ") + describe(point);

    m_selectionStart = point;
    m_selectionRect = QRectF(point, QSizeF(0, 0));
    update();
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("  started selection at ") + describe(point);
}

// Qt delivers the second press of a double-click as a press followed by this event, and the release after it.
void ScreenshotOverlayView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const QPointF point = event->position();
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("  double-click detected");
    const QRectF box = SelectionGeometry::doubleClickBox(point, QSizeF(size()));
    m_selectionStart.reset();
    if (box.isEmpty()) {
        m_selectionRect.reset();
        update();
        return;
    }
    m_selectionRect = box;
    update();
    if (ScreenshotOverlayViewDelegate* target = delegate()) {
        startReading();
        target->overlayViewDidFinishSelection(this, box);
    }
}

void ScreenshotOverlayView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_selectionStart)
        return;
    m_selectionRect = SelectionGeometry::rectFromPoints(
        *m_selectionStart, SelectionGeometry::clampedToView(event->position(), QSizeF(size())));
    update();
}

void ScreenshotOverlayView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    qCDebug(lcOverlay).noquote() << QStringLiteral("🖱️ mouseUp called, selectionRect=%1, startPoint=%2")
                                        .arg(describeOrNil(m_selectionRect), describeOrNil(m_selectionStart));
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("🖱️ mouseUp called");
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("  selectionRect: ") + describeOrNil(m_selectionRect);
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("  selectionStartPoint: ") + describeOrNil(m_selectionStart);

    if (!m_selectionRect || !m_selectionStart) {
        qCDebug(lcOverlay).noquote() << QStringLiteral(
            "⚠️ mouseUp: guard failed (selectionRect or startPoint nil)");
        qCDebug(lcOverlayTrace).noquote() << QStringLiteral("⚠️ mouseUp: guard failed, returning early");
        return;
    }
    m_selectionStart.reset();
    const QRectF selection = *m_selectionRect;
    const int width = int(selection.width());
    const int height = int(selection.height());

    if (!SelectionGeometry::isLargeEnough(selection)) {
        qCDebug(lcOverlay).noquote()
            << QStringLiteral("⚠️ mouseUp: Selection too small (%1x%2)").arg(width).arg(height);
        qCDebug(lcOverlayTrace).noquote() << QStringLiteral("⚠️ mouseUp: Selection too small, cancelling");
        m_selectionRect.reset();
        update();
        return;
    }

    qCDebug(lcOverlay).noquote() << QStringLiteral("✅ mouseUp: Valid selection %1x%2, delegate=%3")
                                        .arg(QString::number(width), QString::number(height),
                                             delegateState("SET", "nil"));
    qCDebug(lcOverlayTrace).noquote()
        << QStringLiteral("✅ mouseUp: Selection valid (%1x%2), calling delegate").arg(width).arg(height);
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("📌 delegate is: ") + delegateState("SET", "NIL");
    if (ScreenshotOverlayViewDelegate* target = delegate()) {
        // A delegate that is done at once closes the overlay, and the indicator's timer goes with the view.
        startReading();
        target->overlayViewDidFinishSelection(this, selection);
    }
    qCDebug(lcOverlay).noquote() << QStringLiteral("📤 delegate callback completed");
    qCDebug(lcOverlayTrace).noquote() << QStringLiteral("📤 delegate callback completed");
}

void ScreenshotOverlayView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat())
        return;
    if (ScreenshotOverlayViewDelegate* target = delegate())
        target->overlayViewDidCancel(this);
}

std::optional<QByteArray> ScreenshotOverlayView::captureViewContentAsPNG(int maxWidth)
{
    if (width() <= 0 || height() <= 0) {
        qCWarning(lcOverlay).noquote() << QStringLiteral("⚠️ captureViewContentAsPNG: Invalid bounds %1")
                                              .arg(RectText::nested(QRectF(rect())));
        return std::nullopt;
    }
    const qreal scale = std::min(qreal(maxWidth) / width(), 1.0);
    const QSize target(std::max(1, int(width() * scale)), std::max(1, int(height() * scale)));

    QImage canvas(target, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull() || scale <= 0) {
        qCWarning(lcOverlay).noquote() << QStringLiteral("⚠️ captureViewContentAsPNG: Failed to create bitmap rep");
        return std::nullopt;
    }
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    }

    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !canvas.save(&buffer, "PNG")) {
        qCWarning(lcOverlay).noquote() << QStringLiteral(
            "⚠️ captureViewContentAsPNG: Failed to convert scaled image to PNG");
        return std::nullopt;
    }
    qCDebug(lcOverlay).noquote() << QStringLiteral("📸 captureViewContentAsPNG: Success - %1x%2, %3 bytes")
                                        .arg(target.width())
                                        .arg(target.height())
                                        .arg(bytes.size());
    return bytes;
}
