// hubinit: program start-up, the frame window and the main loop.
#pragma once

#include <windows.h>

#include <cstdint>

extern const char hubFrameClass[]; // "vx_Frame"

int HubRegisterFrameClass(HINSTANCE instance);
HWND HubCreateFrame(HINSTANCE instance, int show);
int HubMessageLoop();
int HubRun(HINSTANCE instance, const char *commandLine, int show);

// 1 when the flag is set and user input is pending: long work that may be interrupted only sometimes.
int InputPendingIf(int flag);

// The program's temporary folder: the system's until one is set.
void HubSetTempDir(const char *folder);
void HubGetTempDir(char *folder); // at most 255 characters and a NUL
// A new, empty, uniquely named file from the template "TFXXXXXX" in the temporary folder, open in the file
// layer: its file number, or -1. The path goes to outPath (256 bytes) when one is given.
int MakeTempFile(char *outPath);
