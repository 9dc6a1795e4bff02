#pragma once

#include "core/capture/CapturedDisplay.h"

#include <QList>

class SelectionView;

// Shows the frozen monitors during a capture. OverlayManager implements it with one window per monitor;
// tests use a fake that reports prepared selections.
class OverlayPresenter {
public:
    virtual ~OverlayPresenter() = default;

    // Creates and shows one overlay per captured monitor, adding to any already shown. Each overlay's selection
    // view is bound to the CapturedDisplay it shows.
    virtual void showOverlay(const CapturedImages& images, bool showHint) = 0;
    // Takes every overlay off the screen. Safe when nothing is shown.
    virtual void hideOverlay() = 0;
    // The selection view of every overlay shown, in the order of the overlays.
    virtual QList<SelectionView*> overlayViews() const = 0;
};
