// winmain: the program's entry point.
#include "shell/hubinit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    return HubRun(instance, commandLine, show);
}
