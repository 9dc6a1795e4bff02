#include "FakeSelectionView.h"

#include "capture/ScreenshotOverlayViewDelegate.h"

FakeSelectionView::FakeSelectionView(std::optional<Monitor> display)
    : m_display(std::move(display))
{}

void FakeSelectionView::setDelegate(ScreenshotOverlayViewDelegate* delegate)
{
    m_delegate = delegate;
    m_guard = dynamic_cast<QObject*>(delegate);
}

ScreenshotOverlayViewDelegate* FakeSelectionView::delegate() const
{
    return m_guard ? m_delegate : nullptr;
}

void FakeSelectionView::finishSelection(const QRectF& rect)
{
    if (ScreenshotOverlayViewDelegate* d = delegate())
        d->overlayViewDidFinishSelection(this, rect);
}

void FakeSelectionView::pressEscape()
{
    if (ScreenshotOverlayViewDelegate* d = delegate())
        d->overlayViewDidCancel(this);
}
