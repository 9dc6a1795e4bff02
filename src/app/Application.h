#pragma once

// The program's composition: makes the Linux services, the two stores and the application controller, and
// runs the event loop. Also the `--capture` and `--sidebar` clients and the second-start hand-over. main() only
// dispatches here.
class Application {
public:
    static constexpr const char* CaptureOption = "--capture";
    static constexpr const char* SidebarOption = "--sidebar";

    static int main(int argc, char** argv);

private:
    // `quillora --capture` and `quillora --sidebar`: hand the request to the running instance; no display is
    // needed. option is the switch as given, for the messages.
    static int sendRequest(int argc, char** argv, const char* request, const char* option);
    static int run(int argc, char** argv);
};
