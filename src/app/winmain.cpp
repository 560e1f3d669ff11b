// winmain: the program's entry point.
#include "app/app.h"
#include "shell/hubinit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    AppWireHooks();
    return HubRun(instance, commandLine, show);
}
