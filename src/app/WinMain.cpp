// Program entry point: the one application object runs the program.
#include "Platform.h"
#include "ZephApp.h"

namespace {
CZephApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return theApp.RunApplication(instance, commandLine, showCommand);
}
