#pragma once

// Tesseract's line recogniser runs the four gates of every LSTM time step as an OpenMP `parallel sections`
// region: thousands of regions per text line. We share the work out by bands, one thread per engine, so each
// of those regions has a team of one; libgomp still builds that team and ends each region with a futex wake
// system call, about 300,000 of them for a 1200 x 600 paragraph, a sixth of the recognition's CPU time.
//
// A thread that enables this runs those regions itself, section after section, the way a team of one would,
// without libgomp. Other threads, and other OpenMP constructs, go to libgomp as before.
class InlineOpenMPSections {
public:
    static void enableOnCallingThread();
};
