// hubinit: program start-up, the frame window and the main loop.
#pragma once

#include <windows.h>

extern const char hubFrameClass[]; // "vx_Frame"

int HubRegisterFrameClass(HINSTANCE instance);
HWND HubCreateFrame(HINSTANCE instance, int show);
int HubMessageLoop();
int HubRun(HINSTANCE instance, const char *commandLine, int show);
