#pragma once

// The program's composition: makes the Linux services, the two stores and the application controller, and
// runs the event loop. Also the `--capture` client and the second-start hand-over. main() only dispatches here.
class Application {
public:
    static constexpr const char* CaptureOption = "--capture";

    static int main(int argc, char** argv);

private:
    // `quillora --capture`: asks the running instance for a capture; no display is needed.
    static int sendCapture(int argc, char** argv);
    static int run(int argc, char** argv);
};
