#pragma once

#include "capture/SelectionView.h"

#include <QObject>
#include <QPointer>

// A selection view without a window: its host and monitor are whatever the test sets. Holds its delegate weakly
// when the delegate is a QObject, as the real view does.
class FakeSelectionView : public SelectionView {
public:
    explicit FakeSelectionView(std::optional<Monitor> display)
        : m_display(std::move(display))
    {}

    void setDelegate(ScreenshotOverlayViewDelegate* delegate) override;
    ScreenshotOverlayViewDelegate* delegate() const override { return m_guard ? m_delegate : nullptr; }
    Host host() const override { return m_host; }
    std::optional<Monitor> hostDisplay() const override { return m_display; }

    void setHost(Host host) { m_host = host; }
    void setHostDisplay(std::optional<Monitor> display) { m_display = std::move(display); }

    // What the real view does on mouse-up and on Escape.
    void finishSelection(const QRectF& rect);
    void pressEscape();

private:
    ScreenshotOverlayViewDelegate* m_delegate = nullptr;
    QPointer<QObject> m_guard;
    Host m_host = Host::ScreenshotWindow;
    std::optional<Monitor> m_display;
};
