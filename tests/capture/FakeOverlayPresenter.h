#pragma once

#include "capture/OverlayPresenter.h"

#include "FakeSelectionView.h"

#include <memory>
#include <vector>

// Overlays that are only bookkeeping: one FakeSelectionView per shown image, on that image's monitor.
class FakeOverlayPresenter : public OverlayPresenter {
public:
    struct Show {
        QList<quint32> displayIds;
        bool showHint = false;
    };

    void showOverlay(const CapturedImages& images, bool showHint) override;
    void hideOverlay() override;
    QList<SelectionView*> overlayViews() const override;

    FakeSelectionView* view(int index) const { return m_views.at(size_t(index)).get(); }
    int visibleCount() const { return int(m_views.size()); }

    QList<Show> shows;
    int hides = 0;

private:
    std::vector<std::unique_ptr<FakeSelectionView>> m_views;
};
