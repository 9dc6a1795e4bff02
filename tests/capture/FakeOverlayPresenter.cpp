#include "FakeOverlayPresenter.h"

void FakeOverlayPresenter::showOverlay(const CapturedImages& images, bool showHint)
{
    Show show;
    show.showHint = showHint;
    for (const CapturedDisplay& captured : images) {
        show.displayIds.append(captured.display.id);
        m_views.push_back(std::make_unique<FakeSelectionView>(captured.display));
    }
    shows.append(show);
}

void FakeOverlayPresenter::hideOverlay()
{
    ++hides;
    m_views.clear();
}

QList<SelectionView*> FakeOverlayPresenter::overlayViews() const
{
    QList<SelectionView*> result;
    for (const auto& view : m_views)
        result.append(view.get());
    return result;
}
