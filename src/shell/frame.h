// frame: the program's main window, class vx_Frame (prefix Frame, and the names start-up shares:
// RegisterFrameClass, CreateFrameOrForward, IsFirstInstance, FrameWndProc, LoadWindowPlacement,
// SaveWindowPlacement, CmdExit). An MDI frame whose client holds the source windows: its procedure turns
// menu commands and delivered key codes into commands, serves DDE clients, takes command lines and
// requests from other instances, and hands the system's activation, clipboard, palette and end-of-session
// messages to the modules concerned (framehook.h). There is no accelerator table: every key reaches a
// command as message 2025 and the key map.
// Success: true or a window; failure false or null.
#pragma once

#include <windows.h>

#include <cstdint>

extern const char frameClass[]; // "vx_Frame", compared exactly by other instances

// The program's private window messages. 2064 to 2066 travel between instances, tagged FRAME_MSG_TAG in
// wParam: other instances rely on these numbers.
enum : UINT {
    FRAME_MSG_KEY = 2025,      // wParam a key code: run the command the key map binds to it
    FRAME_MSG_HELP = 2029,     // show the help topic of the current command
    FRAME_MSG_HANDOVER = 2064, // lParam a global atom: "directory;command line" from a later instance
    FRAME_MSG_REQUEST = 2065,  // lParam a global atom naming a request block (instance.h)
    FRAME_MSG_ANSWER = 2066,   // lParam the answer to a request this instance sent
};
enum : WPARAM { FRAME_MSG_TAG = 0x2001 };
enum : UINT { FRAME_FIRST_CHILD_ID = 20000 }; // the MDI client's first child window id; commands lie below

// Registers the window library's classes, the classes of the modules above it (framehook.h), then
// vx_Frame. False, with "Window classes failed to register" set, on failure.
bool RegisterFrameClass(HINSTANCE instance);

// Start-up's step that makes the frame. With "-i", a later instance hands its folder and command line to
// the running one and ends; otherwise the frame is made at its saved place and the main initialisation
// runs. True when this instance goes on with its frame; false when it ends, handedOver telling whether that
// is because the running instance took its command line over (a successful start).
bool CreateFrameOrForward(const char *commandLine, int show, bool *handedOver);

// True when this instance made the instance semaphore "semVxInstance" (sets APP_FIRST_INSTANCE). Asked
// once: later calls give the first answer, and the semaphore is held for the whole run.
bool IsFirstInstance();

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HWND FrameGetWindow(); // null while there is no frame

// The frame's saved place: the registry values "WindowRect" ("%d, %d, %d, %d": left, top, right, bottom)
// and "WindowShow" (the show command). Without them, or when the rectangle lies on no monitor, the work area
// inset by 30 pixels on each side, shown normally.
void LoadWindowPlacement(RECT *rect, int *show);
void SaveWindowPlacement(); // the frame's last normal rectangle, and whether it was maximised

// Lays out the client area: the rebar at the top, the status bar at the bottom, the docked windows, and the
// MDI client in what is left.
void FrameLayout();

// "Exit": asks the frame to close. 0.
int CmdExit(int32_t command);
