// dlgrun: the modal loop, the modeless pump, ending and the closing query, help, the idle step and the
// callback calls (prefix Dlg). The engine's globals live here: the current dialog, the end code, the
// loop-done flag, the keep-open flag and the pending press. Only one dialog ends at a time.
#include "ui/dlgrun.h"

#include "base/inputpend.h"
#include "base/keyinp.h"
#include "base/seam.h"
#include "base/str.h"
#include "base/tick.h"
#include "base/wnd.h"
#include "ui/dlgobj.h"
#include "ui/dlgproc.h"
#include "ui/listbox.h"

#include <commctrl.h>
#include <prsht.h>

enum { DLG_PUMP_TIMER = 101, DLG_CALL_DEPTH_MAX = 15 };

static DlgObject *dlgCurrent;
static int32_t dlgEndCode;
static HWND dlgEnded; // the window of the dialog that ended last
static bool dlgLoopDone;
static bool dlgKeepOpen;
static int32_t dlgPendingPress;
static DlgSplashHook dlgSplashHook;
static DlgDockEnableHook dlgDockEnableHook;
static DlgHelpHook dlgHelpHook;
static DlgTestHook dlgTestHook;

// ---- Hooks and the test seam

static void DlgResetHooks() {
    dlgSplashHook = nullptr;
    dlgDockEnableHook = nullptr;
    dlgHelpHook = nullptr;
    dlgTestHook = nullptr;
}

void DlgSetSplashHook(DlgSplashHook hook) {
    dlgSplashHook = hook;
    SeamRegisterReset(DlgResetHooks);
}

void DlgSetDockEnableHook(DlgDockEnableHook hook) {
    dlgDockEnableHook = hook;
    SeamRegisterReset(DlgResetHooks);
}

void DlgSetHelpHook(DlgHelpHook hook) {
    dlgHelpHook = hook;
    SeamRegisterReset(DlgResetHooks);
}

void DlgSetTestHook(DlgTestHook hook) {
    dlgTestHook = hook;
    SeamRegisterReset(DlgResetHooks);
}

void DlgCloseSplash() {
    if (dlgSplashHook) dlgSplashHook();
}

void DlgDockWindowsEnable(bool enable) {
    if (dlgDockEnableHook) dlgDockEnableHook(enable);
}

void DlgShowHelpTopic(const char *topic) {
    if (dlgHelpHook) dlgHelpHook(topic);
}

// ---- The engine's state

DlgObject *DlgGetCurrent() {
    return dlgCurrent;
}

void DlgSetCurrent(DlgObject *dlg) {
    dlgCurrent = dlg;
}

HWND DlgGetWindow(const DlgObject *dlg) {
    return dlg ? dlg->window : nullptr;
}

HWND DlgGetOwner() {
    HWND frame = WndGetAppFrame();
    return frame ? GetLastActivePopup(frame) : nullptr;
}

int32_t DlgGetEndCode() {
    return dlgEndCode;
}

void DlgSetEndCode(int32_t code) {
    dlgEndCode = code;
}

void DlgKeepOpen() {
    dlgKeepOpen = true;
}

bool DlgKeptOpen() {
    return dlgKeepOpen;
}

int32_t DlgTakePendingPress() {
    int32_t code = dlgPendingPress;
    dlgPendingPress = 0;
    return code;
}

void DlgClearPending() {
    dlgPendingPress = 0;
    dlgKeepOpen = false;
}

// ---- Callback calls

intptr_t DlgCall(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra) {
    if (!dlg || !dlg->header.callback || DlgGone(dlg)) return 0;
    DlgHold(dlg);
    // The counter has four bits: a deeper nesting is not counted rather than carried into the next bit.
    bool raised = DlgCallDepth(dlg) < DLG_CALL_DEPTH_MAX;
    if (raised) dlg->state += DLG_STATE_CALL_ONE;
    intptr_t result = dlg->header.callback(dlg, event, code, ptr, extra);
    if (raised) dlg->state -= DLG_STATE_CALL_ONE;
    DlgRelease(dlg);
    return result;
}

// ---- Ending

void DlgEnd(DlgObject *dlg, int32_t code) {
    dlgEndCode = code;
    dlgLoopDone = true;
    KeyClearAbort();
    if (!dlg || DlgGone(dlg)) return;
    HWND window = dlg->window;
    dlgEnded = window;
    if (!(dlg->state & DLG_STATE_OWN_WINDOW)) {
        EndDialog(window, code);
        return;
    }
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner && !IsWindowEnabled(owner)) EnableWindow(owner, TRUE);
    DestroyWindow(window);
}

bool DlgQueryClose(DlgObject *dlg) {
    InputPendingReset();
    dlgKeepOpen = false;
    DlgHold(dlg);
    DlgCall(dlg, DLG_EV_IDLE, 0, nullptr, 0);
    DlgCall(dlg, DLG_EV_QUERY_CLOSE, 0, nullptr, 0);
    bool open = !DlgGone(dlg);
    DlgRelease(dlg);
    return open && !dlgKeepOpen;
}

void PropSheetEnd(int32_t code) {
    dlgPendingPress = code;
    if (dlgCurrent && dlgCurrent->page && dlgCurrent->window)
        PostMessageA(GetParent(dlgCurrent->window), PSM_PRESSBUTTON,
                     code == DLG_CODE_OK ? PSBTN_OK : PSBTN_CANCEL, 0);
}

// ---- Help

void DlgMarkHandled(DlgObject *dlg) {
    dlg->state |= DLG_STATE_HELP_HANDLED;
}

void DlgHelpByCaption(DlgObject *dlg) {
    char caption[257] = "";
    if (dlg->window) GetWindowTextA(dlg->window, caption, sizeof caption);
    caption[255] = '\0';
    DlgShowHelpTopic(caption);
    DlgMarkHandled(dlg);
}

void DlgHelp(DlgObject *dlg) {
    dlg->state &= ~DLG_STATE_HELP_HANDLED;
    DlgHold(dlg);
    DlgCall(dlg, DLG_EV_USED, DLG_CODE_HELP, nullptr, 0);
    if (!DlgGone(dlg) && !(dlg->state & DLG_STATE_HELP_HANDLED)) DlgHelpByCaption(dlg);
    DlgRelease(dlg);
}

// ---- Idle and the message test

HWND DlgIdle(HWND window) {
    DlgObject *current = dlgCurrent;
    if (!current) return nullptr;
    if (current->window != window) return current->window;
    DlgCall(current, DLG_EV_IDLE, 0, nullptr, 0);
    ListboxTipPoll(window);
    return nullptr;
}

bool DlgLoopIdle(HWND window) {
    DlgIdle(window);
    if (!dlgTestHook) {
        WaitMessage();
        return true;
    }
    DlgObject *dlg = DlgFromWindow(window);
    return dlg && dlgTestHook(dlg);
}

bool DlgIsDialogMessage(HWND dialog, MSG *msg) {
    return ListboxPopupPreTranslate(msg) || IsDialogMessageA(dialog, msg);
}

// ---- Creating and running

// Creates the dialog's window: the object is adopted by the window's initialisation, or freed here when
// no window took it (a dialog closed by its own initialisation went with its window).
static HWND DlgCreateWindow(DlgObject *dlg, HWND owner) {
    DlgHold(dlg);
    HWND window = CreateDialogIndirectParamA(DlgGetInstance(), dlg->tmpl, owner, DlgDialogProc, (LPARAM)dlg);
    if (!window && !(dlg->state & DLG_STATE_ADOPTED)) {
        DlgFreeObject(dlg);
        return nullptr;
    }
    DlgRelease(dlg);
    return window;
}

// The frame, the owner popup and the dockable windows' frames are disabled while a modal dialog runs,
// and given back their state afterwards.
struct DlgDisabled {
    HWND frame;
    HWND owner;
    bool frameEnabled;
    bool ownerEnabled;
};

static DlgDisabled DlgDisableOwners(HWND frame, HWND owner) {
    DlgDisabled saved = {frame, owner != frame ? owner : nullptr, false, false};
    if (saved.frame) saved.frameEnabled = !EnableWindow(saved.frame, FALSE);
    if (saved.owner) saved.ownerEnabled = !EnableWindow(saved.owner, FALSE);
    DlgDockWindowsEnable(false);
    return saved;
}

static void DlgRestoreOwners(const DlgDisabled &saved) {
    DlgDockWindowsEnable(true);
    if (saved.owner && IsWindow(saved.owner)) EnableWindow(saved.owner, saved.ownerEnabled);
    if (saved.frame && IsWindow(saved.frame)) EnableWindow(saved.frame, saved.frameEnabled);
}

// Runs until the dialog's own window is gone: another dialog that ends meanwhile (a modeless one) also
// sets loop-done, and must not end this run with its code.
static int32_t DlgModalLoop(HWND window) {
    MSG msg;
    while (IsWindow(window)) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!DlgLoopIdle(window) && IsWindow(window)) DlgEnd(DlgFromWindow(window), DLG_CODE_CANCEL);
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            DlgEnd(DlgFromWindow(window), DLG_CODE_CANCEL);
            break;
        }
        if (DlgIsDialogMessage(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return dlgEnded == window ? dlgEndCode : DLG_CODE_CANCEL;
}

int32_t DlgRun(const DlgDesc *desc, int32_t byteSize, DlgSlot *data) {
    DlgCloseSplash();
    DlgObject *dlg = DlgCreateObject(desc, byteSize, data, true, false);
    if (!dlg) return DLG_CODE_CANCEL;
    HWND previous = dlgCurrent ? dlgCurrent->window : nullptr;
    dlgCurrent = dlg;
    HWND focus = GetFocus();
    HWND frame = WndGetAppFrame();
    HWND owner = DlgGetOwner();
    HWND window = DlgCreateWindow(dlg, owner);
    int32_t code = DLG_CODE_CANCEL;
    if (window) {
        DlgDisabled saved = DlgDisableOwners(frame, owner);
        bool savedDone = dlgLoopDone;
        dlgLoopDone = false;
        code = DlgModalLoop(window);
        dlgLoopDone = savedDone;
        DlgRestoreOwners(saved);
        if (focus && IsWindow(focus)) SetFocus(focus);
    }
    // The dialog that was current may have gone meanwhile.
    dlgCurrent = DlgFromWindow(previous);
    return code;
}

DlgObject *DlgCreateModeless(const DlgDesc *desc, int32_t byteSize, DlgSlot *data, HWND owner) {
    DlgCloseSplash();
    DlgObject *dlg = DlgCreateObject(desc, byteSize, data, true, false);
    if (!dlg) return nullptr;
    DlgObject *previous = dlgCurrent;
    HWND window = DlgCreateWindow(dlg, owner);
    if (!window) {
        dlgCurrent = previous;
        return nullptr;
    }
    dlgCurrent = DlgFromWindow(window);
    DlgPumpPending(dlgCurrent);
    return DlgFromWindow(window);
}

// Takes queued messages until the wait is over, a control was used or the dialog is gone.
static void DlgPumpLoop(HWND window, uint32_t ms, HWND timerWindow) {
    uint32_t start = TickNow();
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (timerWindow && msg.hwnd == timerWindow && msg.message == WM_TIMER &&
                msg.wParam == DLG_PUMP_TIMER)
                return;
            if (msg.message == WM_QUIT) return PostQuitMessage((int)msg.wParam);
            if (!DlgIsDialogMessage(window, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (dlgEndCode || !IsWindow(window)) return;
            continue;
        }
        if (!ms) return;
        if (timerWindow) {
            WaitMessage();
            continue;
        }
        uint32_t elapsed = TickNow() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

int32_t DlgPumpModeless(DlgObject *dlg, uint32_t ms) {
    if (!dlg || DlgGone(dlg)) return dlgEndCode;
    HWND window = dlg->window;
    HWND frame = WndGetAppFrame();
    bool disables = dlg->header.flags & DLG_PUMP_DISABLES;
    DlgDisabled saved = disables ? DlgDisableOwners(frame, nullptr) : DlgDisabled{};
    dlgEndCode = 0;
    HWND timerWindow = ms && frame && SetTimer(frame, DLG_PUMP_TIMER, ms, nullptr) ? frame : nullptr;
    DlgPumpLoop(window, ms, timerWindow);
    if (timerWindow) KillTimer(frame, DLG_PUMP_TIMER);
    if (disables) DlgRestoreOwners(saved);
    return dlgEndCode;
}

int32_t DlgPumpPending(DlgObject *dlg) {
    return DlgPumpModeless(dlg, 0);
}

void DlgDestroyModeless(DlgObject *dlg) {
    if (!dlg || DlgGone(dlg)) return;
    HWND window = dlg->window;
    DlgHold(dlg);
    DlgCall(dlg, DLG_EV_USED, DLG_CODE_CANCEL, nullptr, 0);
    DlgCall(dlg, DLG_EV_QUERY_CLOSE, 0, nullptr, 0);
    bool open = !DlgGone(dlg);
    DlgRelease(dlg);
    if (open) DestroyWindow(window);
}
