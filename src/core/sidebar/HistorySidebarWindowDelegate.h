#pragma once

// What the history panel's header buttons ask of whoever shows the panel.
class HistorySidebarWindowDelegate {
public:
    virtual ~HistorySidebarWindowDelegate() = default;

    virtual void sidebarDidRequestCapture() = 0;
    virtual void sidebarDidRequestClose() = 0;
};
