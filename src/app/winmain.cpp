// winmain: the program's entry point, in the top module that sits above every subsystem: it hands the
// command table to the command engine, then starts the program.
#include "app/cmdtab.h"
#include "shell/hubinit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    CmdTabRegister();
    return HubRun(instance, commandLine, show);
}
