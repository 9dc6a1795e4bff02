#include "FakeOverlayPresenter.h"

#include "core/capture/ScreenshotOverlayViewDelegate.h"

void FakeSelectionView::finishSelection(const QRectF& rect)
{
    m_delegate->overlayViewDidFinishSelection(this, rect);
}

void FakeSelectionView::pressEscape()
{
    m_delegate->overlayViewDidCancel(this);
}

void FakeOverlayPresenter::showOverlay(const CapturedImages& images, bool showHint)
{
    for (const CapturedDisplay& captured : images)
        m_views.push_back(std::make_unique<FakeSelectionView>(captured));
    shownImages.append(int(images.size()));
    showHints.append(showHint);
}

QList<SelectionView*> FakeOverlayPresenter::overlayViews() const
{
    QList<SelectionView*> views;
    for (const auto& view : m_views)
        views.append(view.get());
    return views;
}
