#pragma once

#include "core/capture/OverlayPresenter.h"
#include "core/capture/ScreenshotOverlayViewDelegate.h"
#include "core/capture/SelectionView.h"

#include <memory>
#include <vector>

// A selection view without a window, bound to one captured monitor; the test acts as the user's drag or Escape.
class FakeSelectionView : public SelectionView {
public:
    explicit FakeSelectionView(const CapturedDisplay& captured)
        : m_captured(captured)
    {}
    void setDelegate(ScreenshotOverlayViewDelegate* delegate) override { m_delegate = delegate; }
    ScreenshotOverlayViewDelegate* delegate() const override { return m_delegate; }
    const CapturedDisplay& capturedDisplay() const override { return m_captured; }
    void finishSelection(const QRectF& rect) { m_delegate->overlayViewDidFinishSelection(this, rect); }
    void pressEscape() { m_delegate->overlayViewDidCancel(this); }

private:
    CapturedDisplay m_captured;
    ScreenshotOverlayViewDelegate* m_delegate = nullptr;
};

// Overlays that are only bookkeeping: one view per shown image, and what each show was given.
class FakeOverlayPresenter : public OverlayPresenter {
public:
    void showOverlay(const CapturedImages& images, bool showHint) override
    {
        for (const CapturedDisplay& captured : images)
            m_views.push_back(std::make_unique<FakeSelectionView>(captured));
        shownImages.append(int(images.size()));
        showHints.append(showHint);
    }
    void hideOverlay() override { m_views.clear(); }
    QList<SelectionView*> overlayViews() const override
    {
        QList<SelectionView*> views;
        for (const auto& view : m_views)
            views.append(view.get());
        return views;
    }
    FakeSelectionView* view(int index) const { return m_views.at(size_t(index)).get(); }
    int visibleCount() const { return int(m_views.size()); }

    QList<int> shownImages; // per show, how many monitor images it was given
    QList<bool> showHints;  // per show

private:
    std::vector<std::unique_ptr<FakeSelectionView>> m_views;
};
