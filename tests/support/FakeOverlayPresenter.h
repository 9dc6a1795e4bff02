#pragma once

#include "core/capture/OverlayPresenter.h"
#include "core/capture/SelectionView.h"

#include <memory>
#include <vector>

class ScreenshotOverlayViewDelegate;

// A selection view without a window, bound to one captured monitor; the test acts as the user's drag or Escape.
class FakeSelectionView : public SelectionView {
public:
    explicit FakeSelectionView(const CapturedDisplay& captured)
        : m_captured(captured)
    {}
    void setDelegate(ScreenshotOverlayViewDelegate* delegate) override { m_delegate = delegate; }
    ScreenshotOverlayViewDelegate* delegate() const override { return m_delegate; }
    const CapturedDisplay& capturedDisplay() const override { return m_captured; }
    void finishSelection(const QRectF& rect);
    void pressEscape();

private:
    CapturedDisplay m_captured;
    ScreenshotOverlayViewDelegate* m_delegate = nullptr;
};

// Overlays that are only bookkeeping: one view per shown image, and what each show was given.
class FakeOverlayPresenter : public OverlayPresenter {
public:
    void showOverlay(const CapturedImages& images, bool showHint) override;
    void hideOverlay() override { m_views.clear(); }
    QList<SelectionView*> overlayViews() const override;
    FakeSelectionView* view(int index) const { return m_views.at(size_t(index)).get(); }
    int visibleCount() const { return int(m_views.size()); }

    QList<int> shownImages; // per show, how many monitor images it was given
    QList<bool> showHints;  // per show

private:
    std::vector<std::unique_ptr<FakeSelectionView>> m_views;
};
