#include "FakeSelectionView.h"

#include "capture/ScreenshotOverlayViewDelegate.h"

void FakeSelectionView::setDelegate(ScreenshotOverlayViewDelegate* delegate)
{
    m_delegate = delegate;
    m_guard = dynamic_cast<QObject*>(delegate);
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
