// frame: the frame window vx_Frame, its start-up step and its saved place (prefix Frame). The procedure
// dispatches each message to one handler that takes the frame record; what belongs to modules built later
// or above the shell goes through framehook.h. Windows-only.
#include "shell/frame.h"

#include "base/erc.h"
#include "base/heap.h"
#include "base/reg.h"
#include "base/sysprobe.h"
#include "base/wnd.h"
#include "shell/cmdargs.h"
#include "shell/cmdline.h"
#include "shell/cmdrun.h"
#include "shell/dde.h"
#include "shell/framehook.h"
#include "shell/help.h"
#include "shell/instance.h"
#include "shell/keymap.h"
#include "shell/vars.h"
#include "ui/dlgalert.h"
#include "ui/dock.h"
#include "ui/graph.h"
#include "ui/listbox.h"
#include "ui/mdi.h"
#include "ui/menu.h"
#include "ui/tip.h"

#include <dde.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstdio>
#include <cstring>

const char frameClass[] = "vx_Frame";

enum : int32_t {
    FRAME_INSET = 30,           // the default place: the work area less this on each side
    FRAME_TIMER_RECOVERY = 1,   // the timer whose ticks may write recovery data
    FRAME_HANDOVER_WAIT = 5000, // ms a running instance has to take a hand-over
    FRAME_HANDOVER_TEXT = 512,  // the most of a handed-over text that is read
};

// The frame. In memory only.
struct FrameRecord {
    HWND window;
    RECT placement; // the last normal (neither minimised nor maximised) rectangle, on the screen
    bool maximized;
};

static FrameRecord frameRec;
static int frameFirstInstance = -1; // not asked yet
static HANDLE frameSemaphore;       // held for the whole run

HWND FrameGetWindow() {
    return frameRec.window;
}

// ---- The class

static bool FrameRegisterOwnClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "$iconApp");
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = frameClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool RegisterFrameClass(HINSTANCE instance) {
    bool ok = ListboxRegisterClass() && TipRegisterClass() && GraphRegister() &&
              FrameShell().registerClasses(instance) && FrameRegisterOwnClass(instance);
    if (!ok) ErcSetF("Window classes failed to register");
    return ok;
}

// ---- Instances

bool IsFirstInstance() {
    if (frameFirstInstance < 0) {
        // Made in one step: two starts at the same moment cannot both find it missing.
        frameFirstInstance = !InstanceSemaphoreOpen("semVxInstance", &frameSemaphore, false);
        if (frameFirstInstance) g_appFlags |= APP_FIRST_INSTANCE;
    }
    return frameFirstInstance != 0;
}

// The text "folder;command line" in a global atom, sent to the running frame. An atom holds at most 255
// characters, and the running instance may not take it: then this instance starts as usual rather than
// end with the line lost.
static bool FrameHandOver(const char *commandLine) {
    HWND running = InstanceFindFrame(nullptr);
    char folder[MAX_PATH + 1];
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    // The receiver splits at the first ";": a folder holding one would be read wrongly.
    if (!running || !length || length >= sizeof folder || strchr(folder, ';')) return false;
    size_t size = strlen(folder) + strlen(commandLine) + 2;
    char *text = (char *)MemAlloc(size);
    if (!text) return false;
    snprintf(text, size, "%s;%s", folder, commandLine);
    ATOM atom = GlobalAddAtomA(text);
    MemFree(text);
    if (!atom) return false;
    DWORD_PTR taken = 0;
    if (!SendMessageTimeoutA(running, FRAME_MSG_HANDOVER, FRAME_MSG_TAG, atom, SMTO_ABORTIFHUNG,
                             FRAME_HANDOVER_WAIT, &taken) ||
        taken != 1) {
        GlobalDeleteAtom(atom);
        return false;
    }
    SetForegroundWindow(running);
    return true;
}

// ---- The saved place

static void FrameDefaultPlace(RECT *rect) {
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) SetRect(&work, 0, 0, 800, 600);
    SetRect(rect, work.left + FRAME_INSET, work.top + FRAME_INSET, work.right - FRAME_INSET,
            work.bottom - FRAME_INSET);
}

void LoadWindowPlacement(RECT *rect, int *show) {
    FrameDefaultPlace(rect);
    *show = SW_SHOWNORMAL;
    HKEY key = RegUserProgramKey();
    char text[64];
    int left, top, right, bottom;
    if (!key || !RegQueryBuf(key, "WindowRect", text, sizeof text) ||
        sscanf(text, "%d , %d , %d , %d", &left, &top, &right, &bottom) != 4)
        return;
    RECT saved = {left, top, right, bottom};
    // A place on a monitor that has gone would leave the frame out of sight.
    if (right <= left || bottom <= top || !MonitorFromRect(&saved, MONITOR_DEFAULTTONULL)) return;
    *rect = saved;
    int32_t value = 0;
    if (RegQueryInt(key, "WindowShow", &value) && value == SW_SHOWMAXIMIZED) *show = SW_SHOWMAXIMIZED;
}

void SaveWindowPlacement() {
    HKEY key = RegUserProgramKey();
    const RECT *r = &frameRec.placement;
    if (!key || IsRectEmpty(r)) return;
    char text[64];
    snprintf(text, sizeof text, "%d, %d, %d, %d", (int)r->left, (int)r->top, (int)r->right, (int)r->bottom);
    RegSetString(key, "WindowRect", text);
    RegSetInt(key, "WindowShow", frameRec.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

// The show state asked for by whoever started the program wins over the saved one, unless it is plain.
static int FrameShowState(int asked, int saved) {
    return asked == SW_SHOWNORMAL || asked == SW_SHOW || asked == SW_SHOWDEFAULT ? saved : asked;
}

// ---- Start-up

static bool FrameMake(CmdArgs *args, int show) {
    RECT rect;
    int saved;
    LoadWindowPlacement(&rect, &saved);
    HWND frame =
        CreateWindowExA(0, frameClass, "Veltrix", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
    if (!frame) {
        ErcSetF("Can't create application window");
        return false;
    }
    frameRec.placement = rect;
    DockInit(frame);
    bool quitWhenDone = false;
    if (!FrameShell().initApp(args->count, args->args, FrameShowState(show, saved), &quitWhenDone)) {
        if (IsWindow(frame)) DestroyWindow(frame);
        return false;
    }
    FrameDoc().linkClipboard();
    FrameMacro().appStart();
    return true;
}

bool CreateFrameOrForward(const char *commandLine, int show, bool *handedOver) {
    *handedOver = false;
    bool first = IsFirstInstance();
    CmdArgs args;
    if (!commandLine) commandLine = "";
    if (!CmdArgsMake(commandLine, &args)) return false;
    if (HasSwitch(args.count, args.args, "ub") && !(g_appFlags & APP_ALERTS_SUPPRESSED)) {
        AlertSuppress();
        g_appFlags |= APP_ALERTS_SUPPRESSED;
    }
    bool made = false;
    if (HasSwitch(args.count, args.args, "i") && !first && FrameHandOver(commandLine))
        *handedOver = true;
    else
        made = FrameMake(&args, show);
    CmdArgsFree(&args);
    return made;
}

// ---- Layout

void FrameLayout() {
    HWND client = MdiGetClient();
    if (!frameRec.window || !client) return;
    RECT rect;
    GetClientRect(frameRec.window, &rect);
    rect.top += FrameShell().rebarHeight();
    rect.bottom -= FrameShell().statusBarHeight();
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    DockLayoutFrame(&rect);
    MoveWindow(client, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

int CmdExit(int32_t) {
    HWND frame = frameRec.window ? frameRec.window : WndGetAppFrame();
    if (frame) SendMessageA(frame, WM_CLOSE, 0, 0);
    return 0;
}

// ---- Messages

static LRESULT FrameDefault(FrameRecord *f, UINT message, WPARAM wParam, LPARAM lParam) {
    return MdiFrameDefProc(f->window, MdiGetClient(), message, wParam, lParam);
}

static LRESULT FrameOnCreate(FrameRecord *f) {
    RECT rect;
    GetClientRect(f->window, &rect);
    if (!MdiCreateClient(f->window, &rect, -1, FRAME_FIRST_CHILD_ID)) {
        f->window = nullptr;
        return -1;
    }
    DragAcceptFiles(f->window, TRUE);
    InstanceMarkFrame(f->window, true);
    return 0;
}

static LRESULT FrameOnDestroy(FrameRecord *f) {
    DragAcceptFiles(f->window, FALSE);
    InstanceMarkFrame(f->window, false);
    if (WndGetAppFrame() == f->window) WndSetAppWindows(nullptr, nullptr);
    f->window = nullptr;
    PostQuitMessage(0);
    return 0;
}

static void FrameKeepPlacement(FrameRecord *f) {
    if (!IsIconic(f->window) && !IsZoomed(f->window)) GetWindowRect(f->window, &f->placement);
}

static LRESULT FrameOnMove(FrameRecord *f) {
    FrameKeepPlacement(f);
    return 0;
}

// The client area is laid out here, not by the default procedure, which would give all of it to the MDI
// client.
static LRESULT FrameOnSize(FrameRecord *f, WPARAM kind, LPARAM size) {
    FrameKeepPlacement(f);
    if (kind == SIZE_MAXIMIZED) f->maximized = true;
    if (kind == SIZE_RESTORED) f->maximized = false;
    if (g_appRunState == APP_CLOSING) return 0;
    FrameShell().rebarResize(LOWORD(size));
    if (kind != SIZE_MINIMIZED) FrameLayout();
    return 0;
}

static LRESULT FrameOnActivate(FrameRecord *f, UINT message, WPARAM wParam, LPARAM lParam) {
    bool active = message == WM_ACTIVATEAPP ? wParam != 0 : LOWORD(wParam) != WA_INACTIVE;
    if (!FrameShell().modalState()) {
        if (active) {
            FrameDoc().activated();
        } else {
            if (message == WM_ACTIVATEAPP) FrameSymbol().closeCompletionPopup();
            FrameDoc().endTypingRun();
            FrameDoc().endCommandEdit();
        }
    }
    return FrameDefault(f, message, wParam, lParam);
}

static LRESULT FrameOnSetFocus(FrameRecord *) {
    FrameDisplay().focusFrontWindow();
    return 0;
}

static LRESULT FrameOnPaint(FrameRecord *f) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(f->window, &ps);
    FrameShell().paintStatusBar(f->window, dc);
    EndPaint(f->window, &ps);
    return 0;
}

static LRESULT FrameOnEraseBackground(FrameRecord *f, WPARAM wParam, LPARAM lParam) {
    if (FrameShell().paintStatusBar(f->window, (HDC)wParam)) return 1;
    return FrameDefault(f, WM_ERASEBKGND, wParam, lParam);
}

static LRESULT FrameOnClose(FrameRecord *f) {
    if (!FrameShell().queryCloseApp(true)) return 0;
    g_appRunState = APP_CLOSING;
    DestroyWindow(f->window);
    return 0;
}

static LRESULT FrameOnQueryEndSession(FrameRecord *) {
    return FrameShell().queryCloseApp(true);
}

static LRESULT FrameOnEndSession(FrameRecord *, WPARAM ending) {
    if (ending) FrameShell().shutdownApp();
    return 0;
}

static LRESULT FrameOnSettingChange(FrameRecord *f) {
    SysProbe(RegUserProgramKey());
    FrameShell().settingChange();
    RedrawWindow(f->window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return 0;
}

static LRESULT FrameOnNotify(FrameRecord *, NMHDR *notify) {
    bool heightChanged = false;
    LRESULT result = FrameShell().toolbarNotify(notify, &heightChanged);
    if (heightChanged) FrameLayout();
    return result;
}

static LRESULT FrameOnContextMenu(FrameRecord *f, WPARAM wParam, LPARAM lParam) {
    if (FrameShell().contextMenu((HWND)wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) return 0;
    return FrameDefault(f, WM_CONTEXTMENU, wParam, lParam);
}

static LRESULT FrameOnMenuSelect(FrameRecord *, WPARAM wParam, LPARAM lParam) {
    MenuOnSelect(wParam, (HMENU)lParam);
    return 0;
}

static LRESULT FrameOnInitMenu(FrameRecord *f, WPARAM wParam, LPARAM lParam) {
    MenuUpdateCommandStates(f->window);
    return FrameDefault(f, WM_INITMENU, wParam, lParam);
}

static LRESULT FrameOnEnterIdle(FrameRecord *, WPARAM wParam, LPARAM lParam) {
    if (wParam == MSGF_DIALOGBOX) FrameShell().dialogIdle((HWND)lParam);
    return 0;
}

// Ids from the MDI client's first child id on are its window list; every id below is a command.
static LRESULT FrameOnCommand(FrameRecord *f, WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    if (id >= FRAME_FIRST_CHILD_ID) return FrameDefault(f, WM_COMMAND, wParam, lParam);
    if (g_appRunState == APP_RUNNING) RunCommand((int32_t)id, false);
    return 0;
}

static LRESULT FrameOnTimer(FrameRecord *, WPARAM id) {
    if (id == FRAME_TIMER_RECOVERY) FrameShell().recoveryTimer();
    return 0;
}

// Each file is opened in turn; the first that fails ends the drop.
static LRESULT FrameOnDropFiles(FrameRecord *, HDROP drop) {
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; i++) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        char *path = (char *)MemAlloc(length + 1);
        bool opened = path && DragQueryFileA(drop, i, path, length + 1) == length &&
                      FrameDoc().openDocumentFile(path) == 0;
        MemFree(path);
        if (!opened) break;
    }
    DragFinish(drop);
    return 0;
}

static LRESULT FrameOnRender(FrameRecord *, UINT format) {
    FrameDoc().renderClipboard(format);
    return 0;
}

static LRESULT FrameOnQueryNewPalette(FrameRecord *f) {
    return FrameShell().realizePalette(f->window, true);
}

static LRESULT FrameOnPaletteChanged(FrameRecord *f, HWND changer) {
    if (changer != f->window) FrameShell().realizePalette(f->window, false);
    return 0;
}

static LRESULT FrameOnKey(FrameRecord *, WPARAM key) {
    if (g_appRunState != APP_RUNNING) return 0;
    int32_t command = KeyToCommand((KeyCode)key);
    if (!command) return 0;
    RunCommand(command, true);
    return 1;
}

static LRESULT FrameOnHelp(FrameRecord *) {
    HelpOnCommand(CurrentCommand());
    return 0;
}

// A later instance's "folder;command line": queued for the idle chain; the atom is the receiver's to delete.
static LRESULT FrameOnHandOver(FrameRecord *, WPARAM tag, LPARAM lParam) {
    char text[FRAME_HANDOVER_TEXT + 1];
    ATOM atom = (ATOM)lParam;
    if (tag != FRAME_MSG_TAG || !GlobalGetAtomNameA(atom, text, sizeof text)) return 0;
    GlobalDeleteAtom(atom);
    return CmdLineQueueRequest(text) ? 1 : 0;
}

static LRESULT FrameOnRequest(FrameRecord *, WPARAM tag, LPARAM lParam) {
    return tag == FRAME_MSG_TAG && InstanceReceive((ATOM)lParam) ? 1 : 0;
}

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameRecord *f = &frameRec;
    if (message == WM_CREATE) f->window = window;
    if (window != f->window) return MdiFrameDefProc(window, nullptr, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: return FrameOnCreate(f);
    case WM_DESTROY: return FrameOnDestroy(f);
    case WM_MOVE: return FrameOnMove(f);
    case WM_SIZE: return FrameOnSize(f, wParam, lParam);
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP: return FrameOnActivate(f, message, wParam, lParam);
    case WM_SETFOCUS: return FrameOnSetFocus(f);
    case WM_PAINT: return FrameOnPaint(f);
    case WM_ERASEBKGND: return FrameOnEraseBackground(f, wParam, lParam);
    case WM_CLOSE: return FrameOnClose(f);
    case WM_QUERYENDSESSION: return FrameOnQueryEndSession(f);
    case WM_ENDSESSION: return FrameOnEndSession(f, wParam);
    case WM_SETTINGCHANGE: return FrameOnSettingChange(f);
    case WM_NOTIFY: return FrameOnNotify(f, (NMHDR *)lParam);
    case WM_CONTEXTMENU: return FrameOnContextMenu(f, wParam, lParam);
    case WM_MENUSELECT: return FrameOnMenuSelect(f, wParam, lParam);
    case WM_INITMENU: return FrameOnInitMenu(f, wParam, lParam);
    case WM_ENTERIDLE: return FrameOnEnterIdle(f, wParam, lParam);
    case WM_COMMAND: return FrameOnCommand(f, wParam, lParam);
    case WM_TIMER: return FrameOnTimer(f, wParam);
    case WM_DROPFILES: return FrameOnDropFiles(f, (HDROP)wParam);
    case WM_RENDERFORMAT: return FrameOnRender(f, (UINT)wParam);
    case WM_RENDERALLFORMATS: return FrameOnRender(f, 0);
    case WM_QUERYNEWPALETTE: return FrameOnQueryNewPalette(f);
    case WM_PALETTECHANGED: return FrameOnPaletteChanged(f, (HWND)wParam);
    case WM_DDE_INITIATE: return DdeOnInitiate(f->window, (HWND)wParam, lParam);
    case WM_DDE_EXECUTE: return DdeExecute(f->window, (HWND)wParam, (HGLOBAL)lParam);
    case WM_DDE_TERMINATE: return DdeOnTerminate(f->window, (HWND)wParam);
    case FRAME_MSG_KEY: return FrameOnKey(f, wParam);
    case FRAME_MSG_HELP: return FrameOnHelp(f);
    case FRAME_MSG_HANDOVER: return FrameOnHandOver(f, wParam, lParam);
    case FRAME_MSG_REQUEST: return FrameOnRequest(f, wParam, lParam);
    }
    return FrameDefault(f, message, wParam, lParam);
}
