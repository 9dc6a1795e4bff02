#pragma once

#include "core/capture/CapturedDisplay.h"

class DisplayCapture;

// Freezes the desktop at the start of a capture: one still image of every connected monitor, taken as close to
// the same instant as the machine allows. Called on the main thread; stateless between calls.
//
// Window shadows are not part of X11 window images, so the captureWindowShadows setting has nothing to switch here
// and is not read.
class ScreenCaptureService {
public:
    explicit ScreenCaptureService(DisplayCapture& capture);

    // Whether the desktop can be captured at all; writes what it found to standard output. Never prompts.
    bool checkScreenRecordingPermission();
    // One throw-away capture of the first monitor: it opens the capture path (shared memory, extension queries) so
    // that the permission check and the first real capture do not pay for it.
    void openCapturePath();

    // One entry per monitor that could be captured, in the order the desktop lists the monitors; a monitor whose
    // capture fails is left out. Blocks until every monitor has been tried: a single monitor is captured on the
    // calling thread, several in parallel on one named worker thread each.
    CapturedImages captureAllScreens();

private:
    DisplayCapture& m_capture;
};
