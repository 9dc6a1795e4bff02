#include "RecordingAPIDelegate.h"

#include <thread>

bool RecordingAPIDelegate::isSidebarVisible()
{
    calls << QStringLiteral("isSidebarVisible");
    std::this_thread::sleep_for(blockMainThread);
    return sidebarVisible;
}

void RecordingAPIDelegate::showHistorySidebar()
{
    calls << QStringLiteral("showHistorySidebar");
    sidebarVisible = true;
}

void RecordingAPIDelegate::hideHistorySidebar()
{
    calls << QStringLiteral("hideHistorySidebar");
    sidebarVisible = false;
}
