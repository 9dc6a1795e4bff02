#include "app/Application.h"
#include "app/RecognizeCommand.h"
#include "core/support/Log.h"

int main(int argc, char** argv)
{
    // Before anything can write a line: every line of ours goes through the program's handler.
    Log::install();
    // Reading image files needs neither a display nor the running instance: dispatched before any of that.
    if (RecognizeCommand::isRequested(argc, argv))
        return RecognizeCommand::main(argc, argv);
    return Application::main(argc, argv);
}
