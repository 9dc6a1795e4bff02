#include "app/Application.h"
#include "app/RecognizeCommand.h"

int main(int argc, char** argv)
{
    // Reading image files needs neither a display nor the running instance: dispatched before any of that.
    if (RecognizeCommand::isRequested(argc, argv))
        return RecognizeCommand::main(argc, argv);
    return Application::main(argc, argv);
}
