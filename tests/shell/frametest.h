// Shared by the tests of the frame, the command line, the DDE server and the requests between instances:
// fakes for the modules the frame reaches through its hooks, which record each call as a line of text; the
// test's own frame window; and other processes started beside the test (the program itself, or the helper
// vxpeer), with a message pump that runs the frame while they work.
#pragma once

#include "shell/cmdtest.h"

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// The recorded calls, each "verb:argument" ("open:C:\dir\f.c@12", "print:C:\dir\f.c", "config:global").
inline std::vector<std::string> ftCalls;
inline std::set<std::string> ftFailing; // file names (the last part of a path) whose opening fails
inline bool ftProjectOpen;              // what projectIsOpen answers
inline bool ftSymbolFound;              // what openProjectSymbol answers
// Registers fake document, display, shell and symbol tables (framehook.h) and empties the record.
void FtInstallFakes();

// A built program beside the test program: "vxpeer.exe" in the same folder, "vx.exe" in the program's.
std::string FtProgram(const char *name);

struct FtProcess {
    HANDLE handle = nullptr;
    DWORD id = 0;
};
// Starts the command line in the folder ("" for the test's own): false when it could not start.
bool FtStart(const std::string &commandLine, const std::string &folder, FtProcess *out);
enum : DWORD { FT_TIMED_OUT = 0xFFFFFFFF };
// Runs the test's messages, calling idle whenever the queue is empty, until the process ends: its exit
// code. One still running after timeoutMs is ended, and the answer is FT_TIMED_OUT.
DWORD FtWait(FtProcess *process, DWORD timeoutMs, const std::function<void()> &idle = nullptr);
// Runs the test's messages until a top-level window of the process with that class exists: it, or null when
// the time is up.
HWND FtWaitWindow(const FtProcess &process, const char *className, DWORD timeoutMs);
void FtEnd(FtProcess *process); // ends a process that still runs, and closes its handle
void FtPump();                  // dispatches what is queued

// The test's frame: a vx_Frame window made by the frame's own class, hidden, with a command table of stub
// rows (cmdtest.h) and the fakes installed. The program runs (state 1) unless a test says otherwise.
class FrameTest : public CmdTest {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND frame = nullptr;
};
