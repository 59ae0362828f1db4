#include "launch/Launch.h"

#include <windows.h>

// Arguments and show state are deliberately ignored: every start does the
// same thing.
int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    return dravik::runLaunchSequence();
}
