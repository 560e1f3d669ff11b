// winmain: the program's entry point, in the top module that sits above every subsystem: it wires the hooks
// of the lower modules, hands the command table to the command engine, then starts the program.
#include "app/app.h"
#include "app/cmdtab.h"
#include "shell/hubinit.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    AppWireHooks();
    CmdTabRegister();
    return HubRun(instance, commandLine, show);
}
