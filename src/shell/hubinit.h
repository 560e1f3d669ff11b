// hubinit: program start-up and the main loop, in their least form (prefix Hub): the frame (shell/frame.h)
// is made and the loop runs with the idle steps of the frame's own work until the frame is closed.
#pragma once

#include <windows.h>

#include <cstdint>

// Opens the program's registry keys, registers the window classes, makes the frame or hands the command
// line to the running instance, runs the loop and keeps the frame's place. The exit code: the loop's, 0
// after a hand-over, 1 when the start failed.
int HubRun(HINSTANCE instance, const char *commandLine, int show);
// Runs until WM_QUIT and returns its code. When the queue is empty it runs HubIdle, then waits for the next
// message unless idle work is left.
int HubMessageLoop();
// One idle turn of the frame's own work while the program runs: the requests of other instances, then one
// command line handed over by a later instance. True when work is left for another turn.
bool HubIdle();

// 1 when the flag is set and user input is pending: long work that may be interrupted only sometimes.
int InputPendingIf(int flag);

// The program's temporary folder: the system's until one is set.
void HubSetTempDir(const char *folder);
void HubGetTempDir(char *folder); // at most 255 characters and a NUL
// A new, empty, uniquely named file from the template "TFXXXXXX" in the temporary folder, open in the file
// layer: its file number, or -1. The path goes to outPath (256 bytes) when one is given.
int MakeTempFile(char *outPath);
