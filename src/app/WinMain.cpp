// Program entry point: the one application object runs the program. It takes the wide command
// line, so a preset whose name has no ANSI spelling arrives intact.
#include "Platform.h"

#include "CommandLineInfo.h"
#include "ZephApp.h"

namespace {
CZephApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const std::wstring arguments = CCommandLineInfo::ArgumentsOf(::GetCommandLineW());
    return theApp.RunApplication(instance, arguments.c_str(), showCommand);
}
