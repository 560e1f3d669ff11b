// about: the About window `vx_About` (prefix About), which is also the splash window of the start: the logo,
// the product line, the version and two more lines, over the frame. Once opened it stays up for at least
// 2000 ms, so that the splash is seen even when the start is quick.
//
// Success convention: true when the window is up; handlers return 0.
#pragma once

#include <windows.h>

#include <cstdint>

extern const char aboutClass[]; // "vx_About"

enum : uint32_t { ABOUT_MIN_SHOWN_MS = 2000 };

bool AboutRegisterClass(HINSTANCE instance);

// Notes the time, loads the logo ("Logo256", or "Logo16" below 256 colours or with the "LowColor" switch),
// makes the window and paints it at once. False, and no window, without the logo.
bool AboutOpen();
// Destroys the window, but not before it has been up ABOUT_MIN_SHOWN_MS: it sleeps the rest first.
void AboutClose();
HWND AboutWindow(); // null when closed

// The splash: the About window opened at the start. CloseSplash closes it (after its 2000 ms); it does
// nothing when no splash is open, so that dialogs, alerts and sheets may call it before they show anything.
bool AboutOpenSplash();
void CloseSplash();

// Row 64 "About Veltrix...": the window over a disabled frame until a character or a mouse button goes down.
// A WM_QUIT met meanwhile ends the wait and is put back for the main loop.
int CmdAbout(int32_t command);

// The logo, loaded once with its palette; null when it cannot be loaded.
struct AboutLogo {
    HBITMAP bitmap;
    HPALETTE palette;
    int32_t width;
    int32_t height;
};
const AboutLogo *AboutGetLogo();
void AboutTerm(); // closes the window at once and frees the logo

// The text lines in painting order: the product line, the version, and two lines kept scrambled in the
// program; null past the last.
const char *AboutTextLine(int index, char *buffer, int size);

// Test seam: the module whose resources hold the logo (null: the program).
void AboutSetResourceModule(HMODULE module);
