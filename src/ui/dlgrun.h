// dlgrun: running table dialogs (prefix Dlg, and PropSheetEnd): modally with the engine's own message loop,
// or modelessly with a pump the caller drives; ending them, the closing query, help, the idle step and the
// callback calls. It also holds the shell's services that dialogs need (closing the splash window,
// enabling the dockable windows' frames, help topics) as hooks, and the test seam of the modal loop.
//
// Test seam: while a test hook is set, the modal loop (DlgRun, and every modal loop of the library that
// waits through DlgLoopIdle) never waits for input: each time it finds no message it runs its idle step
// and then calls the hook with the running dialog. From there a test drives the dialog as a user would,
// with real messages, and reads its controls through the accessors:
//
//     static bool PressOk(DlgObject *dlg) {
//         SetWindowTextA(DlgGetControlWindow(dlg, 10), "text");       // typing into the edit of code 10
//         SendMessageA(DlgGetControlWindow(dlg, 1), BM_CLICK, 0, 0);  // OK ends the dialog
//         return true;
//     }
//     DlgSetTestHook(PressOk);
//     EXPECT_EQ(DlgRun(&desc, 0, data), 1);
//
// Posted messages (keys to the focused control, WM_CHAR, ...) are dispatched by the loop before the hook is
// called again, so a script can post a key, return true, and look at the result at its next call. The
// hook answers false when its script is done: a dialog still open then ends with 2 (Cancel), so a test
// never hangs. Nested runs call the hook with the innermost dialog. SeamResetAll removes the hook.
// Success: true, a pointer or an end code; see each function.
#pragma once

#include "ui/dlg.h"

#include <windows.h>

#include <cstdint>

// Runs the dialog modally; the end code of the control that closed it (1 OK, 2 Cancel, Esc or the close
// box), 2 when it cannot be created.
int32_t DlgRun(const DlgDesc *desc, int32_t byteSize, DlgSlot *data);
// A modeless dialog, made current, its queued messages pumped once; null when it cannot be created.
DlgObject *DlgCreateModeless(const DlgDesc *desc, int32_t byteSize, DlgSlot *data, HWND owner);
// Runs queued messages (and with ms > 0 waits that long for more); the code of the control used meanwhile
// (2 after Cancel or Esc), 0 when none was. The dialog may be gone afterwards when it closed.
int32_t DlgPumpModeless(DlgObject *dlg, uint32_t ms);
int32_t DlgPumpPending(DlgObject *dlg); // DlgPumpModeless with 0 ms
// Callback events 2 (code 2) and 1, then the window is destroyed (and the object freed).
void DlgDestroyModeless(DlgObject *dlg);

// Ends the dialog with the code (an own-window dialog is destroyed with its object).
void DlgEnd(DlgObject *dlg, int32_t code);
// Events 100 and 1: true when the dialog may close (no DlgKeepOpen meanwhile).
bool DlgQueryClose(DlgObject *dlg);
// From event 1: refuses the close; from event 2 of a closing button: keeps the dialog open.
void DlgKeepOpen();
bool DlgKeptOpen();
// From a callback: the control with the code is pressed as soon as the callback returns; a property page
// also presses its sheet's OK (code 1) or Cancel button.
void PropSheetEnd(int32_t code);
int32_t DlgTakePendingPress(); // the pending code, cleared; 0 for none
void DlgClearPending();        // no pending press, no keep-open
// The end code of the dialog that ended last, or of the control used last.
int32_t DlgGetEndCode();
void DlgSetEndCode(int32_t code);

// Help: event 2 with code 6; unless the callback called DlgMarkHandled, help on the dialog's caption.
void DlgHelp(DlgObject *dlg);
void DlgHelpByCaption(DlgObject *dlg);
void DlgMarkHandled(DlgObject *dlg);

// The current table dialog (the one created or activated last), null for none.
DlgObject *DlgGetCurrent();
void DlgSetCurrent(DlgObject *dlg);
HWND DlgGetWindow(const DlgObject *dlg);
// What owns the program's dialogs and boxes: the frame's last active popup; null without a frame.
HWND DlgGetOwner();

// The idle step of modal loops (and of the frame): with the window's dialog current, event 100 and the
// list controls' hover tips; null. When another dialog is current, that dialog's window.
HWND DlgIdle(HWND window);
// The idle turn of a modal loop: DlgIdle, then the test hook or a wait for the next message; false when a
// test script is done.
bool DlgLoopIdle(HWND window);
// The list controls' hover-tip hook first, then the system's dialog-message test.
bool DlgIsDialogMessage(HWND dialog, MSG *msg);

// Calls the dialog's callback (0 without one) with its re-entrancy counter raised.
intptr_t DlgCall(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra);

// The shell's services, as hooks that do nothing while unset. The splash window closes (after it has been
// shown 2000 ms) before a dialog shows anything; the dockable windows' frames are disabled around modal
// runs; help opens at a topic of at most 255 characters.
typedef void (*DlgSplashHook)();
typedef void (*DlgDockEnableHook)(bool enable);
typedef void (*DlgHelpHook)(const char *topic);
void DlgSetSplashHook(DlgSplashHook hook);
void DlgSetDockEnableHook(DlgDockEnableHook hook);
void DlgSetHelpHook(DlgHelpHook hook);
void DlgCloseSplash();
void DlgDockWindowsEnable(bool enable);
void DlgShowHelpTopic(const char *topic);

// Test seam: see the top of this header.
typedef bool (*DlgTestHook)(DlgObject *dlg);
void DlgSetTestHook(DlgTestHook hook);
