// win: system probing, window utilities and the input-pending test (prefixes Sys, Comctl, Wheel, Monitor,
// Rect, Point, Wnd, Input, Cursor, Tick). The probe runs once at start-up and keeps the system's facts: the
// version, the common-controls version, the remote-session flags, the wheel and the memory status, from which
// the heap's size limit is set. The multi-monitor functions are looked up at first use; without all of them
// the screen is the one monitor. InputPending is polled in inner loops: it latches the first input it sees,
// and during background work looks at the queue at most every 125 ms.
#include "base/win.h"

#include "base/heap.h"
#include "base/keyinp.h"
#include "base/reg.h"
#include "base/seam.h"
#include "base/toolbox.h"
#include "base/utilil.h"
#include "shell/instance.h"

#include <ole2.h>

#include <cstring>

enum : uint32_t {
    SYS_LARGE_MEMORY = 134217728, // 128 MB
    INPUT_CHECK_GAP_MS = 125,
    WM_SYSTIMER = 0x118, // drives the caret blink
    WND_DRAG_MESSAGE = 2035,
};

// Looks up an entry point in a loaded library; null when it is missing.
template <typename Fn>
static Fn SysProc(HMODULE module, const char *name) {
    return module ? (Fn)(void (*)())GetProcAddress(module, name) : nullptr;
}

// ---- System facts

static HWND wndFrame;
static HWND wndMdiClient;

static int sysVersionKnown;
static uint32_t sysMajor, sysMinor, sysPlatform;
static uint32_t sysComctlVersion;
static int sysRemote;
static int sysTerminalServices;
static int sysTransparentWindows = 1;
static uint64_t sysTotalPhysical, sysAvailVirtual;
static int sysLargeMemory;
static size_t sysMemoryBudget;
static uint32_t sysLastError;
static const SysTestAnswers *sysAnswers;

void WndSetAppWindows(HWND frame, HWND mdiClient) {
    wndFrame = frame;
    wndMdiClient = mdiClient;
}

void SysSetTestAnswers(const SysTestAnswers *answers) {
    sysAnswers = answers;
    sysVersionKnown = 0;
}

static int SysReadVersion() {
    if (sysAnswers) {
        sysMajor = sysAnswers->major;
        sysMinor = sysAnswers->minor;
        sysPlatform = sysAnswers->platform;
        return sysVersionKnown = 1;
    }
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return 0;
    sysMajor = info.dwMajorVersion;
    sysMinor = info.dwMinorVersion;
    sysPlatform = info.dwPlatformId;
    return sysVersionKnown = 1;
}

// The version tests answer before the probe too.
static void SysEnsureVersion() {
    if (!sysVersionKnown) SysReadVersion();
}

int SysIsNtPlatform() {
    SysEnsureVersion();
    return sysPlatform == VER_PLATFORM_WIN32_NT;
}
int SysIsWin9x() {
    return !SysIsNtPlatform() && sysMajor == 4;
}
int SysHasNativeWheel() {
    int nt = SysIsNtPlatform();
    return (nt && sysMajor > 3) || (!nt && sysMajor > 4) || (!nt && sysMajor == 4 && sysMinor > 0);
}
int SysIsWin98Or2000() {
    int nt = SysIsNtPlatform();
    return (nt && sysMajor > 4) || (!nt && sysMajor > 4) || (!nt && sysMajor == 4 && sysMinor > 0);
}
int SysIsNt5() {
    return SysIsNtPlatform() && sysMajor > 4;
}
int SysIsWin4() {
    SysEnsureVersion();
    return sysMajor > 3;
}
int SysIsWin6() {
    SysEnsureVersion();
    return sysMajor > 5;
}
int SysIsVersion350() {
    SysEnsureVersion();
    return sysMajor == 3 && sysMinor == 50;
}

// The version record that DllGetVersion fills.
struct ComctlVersionInfo {
    DWORD size;
    DWORD major;
    DWORD minor;
    DWORD build;
    DWORD platform;
};
static_assert(sizeof(ComctlVersionInfo) == 20);

uint32_t ComctlGetVersion() {
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (!library) return 0;
    auto getVersion = SysProc<HRESULT(CALLBACK *)(ComctlVersionInfo *)>(library, "DllGetVersion");
    ComctlVersionInfo info = {};
    info.size = sizeof info;
    uint32_t version = 0;
    if (getVersion && SUCCEEDED(getVersion(&info))) version = (info.major << 16) | (info.minor & 0xFFFF);
    FreeLibrary(library);
    return version;
}

uint32_t SysComctlVersion() {
    return sysComctlVersion;
}
int SysComctlBelow470() {
    return sysComctlVersion < 0x40046;
}
int SysComctlAbove471() {
    return sysComctlVersion > 0x40047;
}
int SysComctlAbove579() {
    return sysComctlVersion > 0x5004F;
}

// An exact match of one entry of a REG_MULTI_SZ list. The list is read into a block two bytes longer than the
// value, zero-filled, so that a list stored without its terminators still ends inside the block.
int SysProductSuiteHas(const char *suite) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\ProductOptions", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0, size = 0;
    int found = 0;
    if (RegQueryValueExA(key, "ProductSuite", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_MULTI_SZ) {
        char *list = (char *)MemAlloc(size + 2);
        if (list &&
            RegQueryValueExA(key, "ProductSuite", nullptr, &type, (BYTE *)list, &size) == ERROR_SUCCESS)
            for (const char *entry = list; *entry && !found; entry += strlen(entry) + 1)
                found = strcmp(entry, suite) == 0;
        MemFree(list);
    }
    RegCloseKey(key);
    return found;
}

int SysIsTerminalServer() {
    if (!SysIsNtPlatform()) return 0;
    if (sysMajor < 5) return SysProductSuiteHas("Terminal Server");
    if (sysAnswers) return sysAnswers->terminalServer;
    auto conditionMask = SysProc<ULONGLONG(WINAPI *)(ULONGLONG, DWORD, BYTE)>(GetModuleHandleA("ntdll.dll"),
                                                                              "VerSetConditionMask");
    auto verify = SysProc<BOOL(WINAPI *)(OSVERSIONINFOEXA *, DWORD, DWORDLONG)>(
        GetModuleHandleA("KERNEL32.DLL"), "VerifyVersionInfoA");
    if (!conditionMask || !verify) return 0;
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    info.wSuiteMask = VER_SUITE_TERMINAL;
    return verify(&info, VER_SUITENAME, conditionMask(0, VER_SUITENAME, VER_AND)) != 0;
}

static int SysRemoteMetric() {
    return sysAnswers ? sysAnswers->remoteMetric : GetSystemMetrics(SM_REMOTESESSION);
}

// The registry values "TerminalServerSession" and "TerminalServices" override what the system says.
void SysDetectRemote(HKEY programKey) {
    int32_t value;
    if (RegQueryInt(programKey, "TerminalServerSession", &value))
        sysRemote = value != 0;
    else
        sysRemote = SysIsNt5() && SysRemoteMetric() != 0;
    if (RegQueryInt(programKey, "TerminalServices", &value))
        sysTerminalServices = value != 0;
    else
        sysTerminalServices = SysIsTerminalServer();
}

int SysIsRemoteSession() {
    return sysRemote;
}
int SysIsTerminalServices() {
    return sysTerminalServices;
}

int WndCanUseTransparency() {
    if (!sysTransparentWindows) return 0;
    if (sysRemote && ToolboxRemote()->noTransparent) return 0;
    return SysIsNt5();
}

uint32_t SysGetProcessId() {
    return GetCurrentProcessId();
}
uint32_t SysSaveLastError() {
    return sysLastError = GetLastError();
}

// The budget is 75 % of physical memory in 64 bits: a machine with 6 GB must not wrap it to a few hundred MB,
// which would make the heap refuse every larger block.
void SysMemoryStatus() {
    if (sysAnswers) {
        sysTotalPhysical = sysAnswers->totalPhysical;
        sysAvailVirtual = sysAnswers->availVirtual;
    } else {
        MEMORYSTATUSEX status = {};
        status.dwLength = sizeof status;
        if (GlobalMemoryStatusEx(&status)) {
            sysTotalPhysical = status.ullTotalPhys;
            sysAvailVirtual = status.ullAvailVirtual;
        }
    }
    sysLargeMemory = sysTotalPhysical >= SYS_LARGE_MEMORY && sysAvailVirtual >= SYS_LARGE_MEMORY;
    sysMemoryBudget = HeapLimitFromPhysical(sysTotalPhysical);
    HeapSetSizeLimit(sysMemoryBudget);
}

uint64_t SysTotalPhysical() {
    return sysTotalPhysical;
}
uint64_t SysAvailVirtual() {
    return sysAvailVirtual;
}
int SysIsLargeMemory() {
    return sysLargeMemory;
}
size_t SysMemoryBudget() {
    return sysMemoryBudget;
}

// ---- Hooks registered from above

static SysFontZoomHook sysFontZoomHook;
static WaitCursorHook waitCursorHook;

static void SysResetHooks() {
    sysFontZoomHook = nullptr;
    waitCursorHook = nullptr;
}

void SysSetFontZoomHook(SysFontZoomHook hook) {
    sysFontZoomHook = hook;
    SeamRegisterReset(SysResetHooks);
}

void WaitCursorSetHook(WaitCursorHook hook) {
    waitCursorHook = hook;
    SeamRegisterReset(SysResetHooks);
}

int SysProbe(HKEY programKey) {
    if (!SysReadVersion()) return 0;
    sysComctlVersion = ComctlGetVersion();
    SysDetectRemote(programKey);
    if (sysRemote && sysFontZoomHook) sysFontZoomHook(ToolboxRemote()->scalePercent);
    WheelInit();
    int32_t transparent = 1;
    RegQueryInt(programKey, "TransparentWindows", &transparent);
    sysTransparentWindows = transparent;
    SysMemoryStatus();
    return 1;
}

// ---- Mouse wheel

static int wheelPresent;
static int wheelNative;
static int wheelLegacySupport;
static int wheelLines = 3;
static UINT wheelRollMsg = (UINT)-1;
static UINT wheelSupportMsg = (UINT)-1;
static UINT wheelScrollLinesMsg = (UINT)-1;
static HWND wheelLegacyWindow;

// A registered message number, or -1 when it could not be registered.
static UINT WheelRegister(const char *name) {
    UINT message = RegisterWindowMessageA(name);
    return message ? message : (UINT)-1;
}

static void WheelFindLegacy() {
    wheelLegacyWindow = FindWindowA("MouseZ", "Magellan MSWHEEL");
    wheelRollMsg = WheelRegister("MSWHEEL_ROLLMSG");
    wheelSupportMsg = WheelRegister("MSH_WHEELSUPPORT_MSG");
    wheelScrollLinesMsg = WheelRegister("MSH_SCROLL_LINES_MSG");
    if (!wheelLegacyWindow) return;
    wheelPresent = 1;
    if (wheelSupportMsg != (UINT)-1)
        wheelLegacySupport = (int)SendMessageA(wheelLegacyWindow, wheelSupportMsg, 0, 0);
    wheelLines =
        wheelScrollLinesMsg != (UINT)-1 ? (int)SendMessageA(wheelLegacyWindow, wheelScrollLinesMsg, 0, 0) : 3;
}

void WheelInit() {
    wheelPresent = wheelNative = wheelLegacySupport = 0;
    wheelRollMsg = wheelSupportMsg = wheelScrollLinesMsg = (UINT)-1;
    wheelLegacyWindow = nullptr;
    wheelLines = 3;
    if (!SysHasNativeWheel()) {
        WheelFindLegacy();
        return;
    }
    wheelPresent = wheelNative = 1;
    UINT lines = 3;
    if (SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        wheelLines = lines == WHEEL_PAGESCROLL ? -1 : (int)lines;
}

int WheelIsPresent() {
    return wheelPresent;
}
int WheelIsLegacy() {
    return wheelPresent && !wheelNative;
}
int WheelLinesPerNotch() {
    return wheelLines;
}

// A turn towards the user (a negative delta) scrolls down.
int WheelLines(WPARAM wParam, int max) {
    int delta = (short)HIWORD(wParam);
    if (wheelLines == -1) return delta < 0 ? max : -max;
    int lines = -delta / 120 * wheelLines;
    if (lines == 0) lines = delta < 0 ? 1 : -1;
    return lines > 0 ? Clamp(lines, 1, max) : Clamp(lines, -max, -1);
}

// ---- Monitors

static int sysMonitorLooked;
static int sysMonitorHave;
static SysMonitorApi sysMonitorApi;

void SysLoadMonitorApi() {
    if (sysMonitorLooked) return;
    sysMonitorLooked = 1;
    HMODULE user = GetModuleHandleA("USER32");
    SysMonitorApi &api = sysMonitorApi;
    api.getSystemMetrics = SysProc<decltype(api.getSystemMetrics)>(user, "GetSystemMetrics");
    api.monitorFromWindow = SysProc<decltype(api.monitorFromWindow)>(user, "MonitorFromWindow");
    api.monitorFromRect = SysProc<decltype(api.monitorFromRect)>(user, "MonitorFromRect");
    api.monitorFromPoint = SysProc<decltype(api.monitorFromPoint)>(user, "MonitorFromPoint");
    api.enumDisplayMonitors = SysProc<decltype(api.enumDisplayMonitors)>(user, "EnumDisplayMonitors");
    api.getMonitorInfoA = SysProc<decltype(api.getMonitorInfoA)>(user, "GetMonitorInfoA");
    api.enumDisplayDevicesA = SysProc<decltype(api.enumDisplayDevicesA)>(user, "EnumDisplayDevicesA");
    sysMonitorHave = api.getSystemMetrics && api.monitorFromWindow && api.monitorFromRect &&
                     api.monitorFromPoint && api.enumDisplayMonitors && api.getMonitorInfoA &&
                     api.enumDisplayDevicesA;
}

void SysSetTestMonitorApi(const SysMonitorApi *api) {
    sysMonitorLooked = 1;
    sysMonitorHave = api != nullptr;
    if (api) sysMonitorApi = *api;
}

void SysResetMonitorApi() {
    sysMonitorLooked = 0;
}

static const SysMonitorApi *SysMonitors() {
    SysLoadMonitorApi();
    return sysMonitorHave ? &sysMonitorApi : nullptr;
}

static void SysScreenRect(RECT *rect) {
    RectSet(rect, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

static void SysWorkArea(RECT *rect) {
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, rect, 0)) SysScreenRect(rect);
}

int SysGetMetrics(int index) {
    if (const SysMonitorApi *api = SysMonitors()) return api->getSystemMetrics(index);
    switch (index) {
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVIRTUALSCREEN: return GetSystemMetrics(SM_CXSCREEN);
    case SM_CYVIRTUALSCREEN: return GetSystemMetrics(SM_CYSCREEN);
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT: return 1;
    }
    return GetSystemMetrics(index);
}

static int SysDefaultFlag(DWORD flags) {
    return (flags & (MONITOR_DEFAULTTOPRIMARY | MONITOR_DEFAULTTONEAREST)) != 0;
}

HMONITOR SysMonitorFromPoint(int x, int y, DWORD flags) {
    if (const SysMonitorApi *api = SysMonitors()) return api->monitorFromPoint(POINT{x, y}, flags);
    RECT screen;
    SysScreenRect(&screen);
    return SysDefaultFlag(flags) || RectContains(&screen, x, y) ? SYS_ONE_MONITOR : nullptr;
}

// A rectangle lies on the one screen when it shares a pixel with it. Testing only its start against the far
// edges would count a window dragged off to the left or the top as visible, and it would never be brought
// back.
static HMONITOR SysOneMonitorFromRect(const RECT *rect, DWORD flags) {
    RECT screen;
    SysScreenRect(&screen);
    if (SysDefaultFlag(flags)) return SYS_ONE_MONITOR;
    return !RectIsEmpty(rect) && RectIntersects(rect, &screen) ? SYS_ONE_MONITOR : nullptr;
}

HMONITOR SysMonitorFromRect(const RECT *rect, DWORD flags) {
    if (const SysMonitorApi *api = SysMonitors()) return api->monitorFromRect(rect, flags);
    return SysOneMonitorFromRect(rect, flags);
}

HMONITOR SysMonitorFromWindow(HWND window, DWORD flags) {
    if (const SysMonitorApi *api = SysMonitors()) return api->monitorFromWindow(window, flags);
    RECT rect = {};
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (window && IsIconic(window) && GetWindowPlacement(window, &placement))
        rect = placement.rcNormalPosition;
    else if (window)
        GetWindowRect(window, &rect);
    return SysOneMonitorFromRect(&rect, flags);
}

int SysGetMonitorInfo(HMONITOR monitor, MONITORINFO *info) {
    if (const SysMonitorApi *api = SysMonitors()) return api->getMonitorInfoA(monitor, info);
    if (monitor != SYS_ONE_MONITOR || info->cbSize < sizeof(MONITORINFO)) return 0;
    SysScreenRect(&info->rcMonitor);
    SysWorkArea(&info->rcWork);
    info->dwFlags = MONITORINFOF_PRIMARY;
    if (info->cbSize >= sizeof(MONITORINFOEXA)) strcpy(((MONITORINFOEXA *)info)->szDevice, "DISPLAY");
    return 1;
}

int SysEnumMonitors(HDC dc, const RECT *clip, MONITORENUMPROC callback, LPARAM data) {
    if (const SysMonitorApi *api = SysMonitors()) return api->enumDisplayMonitors(dc, clip, callback, data);
    RECT rect;
    SysScreenRect(&rect);
    if (dc) {
        POINT origin;
        RECT box;
        GetDCOrgEx(dc, &origin);
        RectOffset(&rect, -origin.x, -origin.y);
        if (GetClipBox(dc, &box) == NULLREGION || !IntersectRect(&rect, &rect, &box)) return 1;
    }
    if (clip && !IntersectRect(&rect, &rect, clip)) return 1;
    return callback(SYS_ONE_MONITOR, dc, &rect, data);
}

static int MonitorGetInfo(HMONITOR monitor, MONITORINFO *info) {
    memset(info, 0, sizeof *info);
    info->cbSize = sizeof *info;
    return monitor && SysGetMonitorInfo(monitor, info);
}

int MonitorGetRect(HMONITOR monitor, RECT *out) {
    MONITORINFO info;
    if (!MonitorGetInfo(monitor, &info)) return RectSetEmpty(out);
    *out = info.rcMonitor;
    return 1;
}

void WndMonitorRect(HWND window, RECT *out) {
    MonitorGetRect(SysMonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), out);
}

void MonitorRectFromPoint(int x, int y, RECT *out) {
    if (!MonitorGetRect(SysMonitorFromPoint(x, y, MONITOR_DEFAULTTONEAREST), out)) SysWorkArea(out);
}

void WndGetWorkArea(HWND window, RECT *out) {
    MONITORINFO info;
    if (MonitorGetInfo(SysMonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        *out = info.rcWork;
    else
        SysWorkArea(out);
}

int RectIsOnScreen(const RECT *rect) {
    return SysMonitorFromRect(rect, MONITOR_DEFAULTTONULL) != nullptr;
}

void RectEnsureOnScreen(RECT *rect) {
    if (RectIsOnScreen(rect)) return;
    RECT work;
    SysWorkArea(&work);
    RectCenterIn(rect, &work);
}

void RectXywhEnsureOnScreen(Xywh *xywh) {
    RECT rect;
    RectFromOriginSize(&rect, xywh);
    RectEnsureOnScreen(&rect);
    RectToOriginSize(&rect, xywh);
}

// The spread keeps windows brought back together from landing on one spot; the handle is taken unsigned so
// that no handle value moves a window to a negative place.
void WndEnsureVisible(HWND window) {
    RECT rect, inner;
    GetWindowRect(window, &rect);
    inner = rect;
    RectInset(&inner, 16, 16);
    if (RectIsOnScreen(&inner)) return;
    int place = 100 + (int)((uint32_t)(uintptr_t)window % 20) * 10;
    SetWindowPos(window, nullptr, place, place, Max(RectWidth(&rect), 16), Max(RectHeight(&rect), 16),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Rectangles and points

void RectSet(RECT *rect, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    rect->left = left;
    rect->top = top;
    rect->right = right;
    rect->bottom = bottom;
}

int RectContains(const RECT *rect, int32_t x, int32_t y) {
    return x >= rect->left && x < rect->right && y >= rect->top && y < rect->bottom;
}

int SpanOverlap(int32_t a, int32_t b, int32_t c, int32_t d) {
    return a < d && c < b;
}

int RectIntersects(const RECT *a, const RECT *b) {
    return SpanOverlap(a->left, a->right, b->left, b->right) &&
           SpanOverlap(a->top, a->bottom, b->top, b->bottom);
}

void RectFromOriginSize(RECT *rect, const Xywh *xywh) {
    RectSet(rect, xywh->x, xywh->y, xywh->x + xywh->w, xywh->y + xywh->h);
}

void RectToOriginSize(const RECT *rect, Xywh *xywh) {
    *xywh = {rect->left, rect->top, RectWidth(rect), RectHeight(rect)};
}

void RectCenterIn(RECT *rect, const RECT *outer) {
    int32_t w = RectWidth(rect), h = RectHeight(rect);
    RectMoveTo(rect, (RectWidth(outer) - w + 1) / 2, (RectHeight(outer) - h + 1) / 2);
}

void RectInset(RECT *rect, int32_t dx, int32_t dy) {
    RectSet(rect, rect->left + dx, rect->top + dy, rect->right - dx, rect->bottom - dy);
}

void RectOffset(RECT *rect, int32_t dx, int32_t dy) {
    RectSet(rect, rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy);
}

void RectMoveTo(RECT *rect, int32_t x, int32_t y) {
    RectOffset(rect, x - rect->left, y - rect->top);
}

void RectUnion(RECT *rect, const RECT *other) {
    if (RectIsEmpty(other)) return;
    if (RectIsEmpty(rect)) {
        *rect = *other;
        return;
    }
    RectSet(rect, Min(rect->left, other->left), Min(rect->top, other->top), Max(rect->right, other->right),
            Max(rect->bottom, other->bottom));
}

// The point ends inside: at most one less than the exclusive right and bottom edges.
void PointClampToRect(POINT *point, const RECT *rect) {
    point->x = Max(rect->left, Min(point->x, rect->right - 1));
    point->y = Max(rect->top, Min(point->y, rect->bottom - 1));
}

POINT PointFromLParam(LPARAM lParam) {
    return POINT{(short)LOWORD(lParam), (short)HIWORD(lParam)};
}

uint32_t PackWords(int32_t low, int32_t high) {
    return ((uint32_t)high << 16) | ((uint32_t)low & 0xFFFF);
}

void PointMapWindows(HWND from, HWND to, POINT *point) {
    MapWindowPoints(from, to, point, 1);
}

void WndClientToScreenRect(HWND window, RECT *rect) {
    MapWindowPoints(window, nullptr, (POINT *)rect, 2);
}

void WndScreenToClientRect(HWND window, RECT *rect) {
    MapWindowPoints(nullptr, window, (POINT *)rect, 2);
}

void WndScreenToClientXywh(HWND window, Xywh *xywh) {
    POINT origin = {xywh->x, xywh->y};
    MapWindowPoints(nullptr, window, &origin, 1);
    xywh->x = origin.x;
    xywh->y = origin.y;
}

// ---- Windows

void WndShowByState(HWND window, int state) {
    static const int shows[] = {SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED};
    ShowWindow(window, state >= 0 && state <= 2 ? shows[state] : SW_SHOW);
}

int WndShowState(HWND window) {
    return IsZoomed(window) ? 1 : IsIconic(window) ? 2 : 0;
}

WNDPROC WndGetProc(HWND window) {
    return (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC);
}

void WndGetRectInFrame(HWND window, RECT *out) {
    GetWindowRect(window, out);
    POINT origin = {0, 0};
    HWND base = wndMdiClient ? wndMdiClient : wndFrame;
    if (base) ClientToScreen(base, &origin);
    RectOffset(out, -origin.x, -origin.y);
}

void WndRepaintNow(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void WndRedrawNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// A quit request met here is put back: swallowing it would leave the main loop running after the program was
// asked to end.
void PumpMessages() {
    KeyClearAbort();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void WndGetClientSize(HWND window, Xywh *out) {
    RECT rect = {};
    GetClientRect(window, &rect);
    RectToOriginSize(&rect, out);
}

void WndGetOriginSize(HWND window, Xywh *out) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    RectToOriginSize(&rect, out);
}

void WndGetRect(HWND window, RECT *out) {
    if (!window)
        WndMonitorRect(nullptr, out);
    else if (!GetWindowRect(window, out))
        RectSetEmpty(out);
}

int32_t WndGetWidth(HWND window) {
    RECT rect;
    WndGetRect(window, &rect);
    return RectWidth(&rect);
}

void WndSetPosXywh(HWND window, const Xywh *pos) {
    SetWindowPos(window, nullptr, pos->x, pos->y, pos->w, pos->h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WndSetPosRect(HWND window, const RECT *rect) {
    Xywh pos;
    RectToOriginSize(rect, &pos);
    WndSetPosXywh(window, &pos);
}

void WndMoveXywh(HWND window, const Xywh *pos, int repaint) {
    MoveWindow(window, pos->x, pos->y, pos->w, pos->h, repaint);
}

void WndMoveRect(HWND window, const RECT *rect, int repaint) {
    Xywh pos;
    RectToOriginSize(rect, &pos);
    WndMoveXywh(window, &pos, repaint);
}

void WndShow(HWND window, int show) {
    ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

HWND WndCreateEx(DWORD exStyle, const char *className, const char *title, DWORD style, const Xywh *pos,
                 HWND parent, void *param) {
    return CreateWindowExA(exStyle, className, title, style, pos->x, pos->y, pos->w, pos->h, parent, nullptr,
                           GetModuleHandleA(nullptr), param);
}

HWND WndCreate(const char *className, const char *title, DWORD style, const Xywh *pos, HWND parent,
               void *param) {
    return WndCreateEx(0, className, title, style, pos, parent, param);
}

// The frame lives in this process; before it exists the process itself is the answer.
int WndInOwnProcess(HWND window) {
    DWORD process = 0, own = GetCurrentProcessId();
    if (!GetWindowThreadProcessId(window, &process)) return 0;
    if (wndFrame) GetWindowThreadProcessId(wndFrame, &own);
    return process == own;
}

void WndGetTextPstr(HWND window, unsigned char *out, int size) {
    if (size < 1) return;
    int max = Min(size - 2, 255);
    out[0] = 0;
    if (max <= 0) return;
    out[0] = (unsigned char)GetWindowTextA(window, (char *)out + 1, max + 1);
}

int WndIsAncestor(HWND ancestor, HWND window) {
    for (HWND w = window; w; w = GetParent(w))
        if (w == ancestor) return 1;
    return 0;
}

int AppIsForeground() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return 0;
    if (wndFrame &&
        (foreground == wndFrame || IsChild(wndFrame, foreground) || GetParent(foreground) == wndFrame))
        return !IsIconic(wndFrame);
    return IsIconic(foreground) != 0;
}

LRESULT WndCommandParent(HWND window, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(GetParent(window), WM_COMMAND, wParam, lParam ? lParam : (LPARAM)window);
}

LRESULT WndNotifyParent(HWND control, int code) {
    WPARAM wParam = ((WPARAM)(code & 0xFFFF) << 16) | (GetDlgCtrlID(control) & 0xFFFF);
    return SendMessageA(GetParent(control), WM_COMMAND, wParam, (LPARAM)control);
}

LRESULT WndForwardMouseToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND parent = GetParent(window);
    POINT point = PointFromLParam(lParam);
    PointMapWindows(window, parent, &point);
    return SendMessageA(parent, message, wParam, (LPARAM)PackWords(point.x, point.y));
}

int WndGetScrollTrackPos(HWND window, int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    return GetScrollInfo(window, bar, &info) ? info.nTrackPos : 1;
}

int WndSetScrollInfo(HWND window, int bar, const SCROLLINFO *info, int redraw) {
    if (!SysIsVersion350()) return SetScrollInfo(window, bar, info, redraw);
    if (info->fMask & SIF_RANGE) SetScrollRange(window, bar, info->nMin, info->nMax, redraw);
    return info->fMask & SIF_POS ? SetScrollPos(window, bar, info->nPos, redraw) : 0;
}

LRESULT CALLBACK WndDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message >= WM_NCXBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK) ||
        (message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK))
        return 1;
    if (message == WND_DRAG_MESSAGE) return 0;
    if (message == WM_RBUTTONUP && SysIsVersion350()) {
        POINT point = PointFromLParam(lParam);
        ClientToScreen(window, &point);
        SendMessageA(window, WM_CONTEXTMENU, (WPARAM)window, (LPARAM)PackWords(point.x, point.y));
    }
    if (WheelIsLegacy() && message == wheelRollMsg)
        return SendMessageA(GetFocus(), WM_MOUSEWHEEL, (WPARAM)((wParam & 0xFFFF) << 16), lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

static HCURSOR cursorCurrent;
static HCURSOR cursorHelp;
static int cursorHelpOwn; // loaded from the program's own resources, so destroyed at exit

void CursorSet(HCURSOR cursor) {
    cursorCurrent = cursor;
    SetCursor(cursor);
}

void CursorSetHelp() {
    if (!cursorHelp) {
        cursorHelp = LoadCursorA(GetModuleHandleA(nullptr), "help");
        cursorHelpOwn = cursorHelp != nullptr;
        if (!cursorHelp) cursorHelp = LoadCursor(nullptr, IDC_HELP);
    }
    CursorSet(cursorHelp);
}

void CursorFreeHelp() {
    if (cursorHelp && cursorHelpOwn) DestroyCursor(cursorHelp);
    cursorHelp = nullptr;
    cursorHelpOwn = 0;
}

void OleInitOnce() {
    static int done;
    if (done) return;
    done = 1;
    CoInitialize(nullptr);
    OleInitialize(nullptr);
}

// ---- Input pending

static int32_t inputLatch;
static uint32_t inputLastCheck;
static int32_t inputSuspend;
static int32_t inputIgnoreMouseMoves;
static int32_t inputIgnoreRequests;
static int32_t inputForegroundOnly;
static int32_t winBackgroundWork;

static int InputQueued(UINT first, UINT last) {
    MSG msg;
    return PeekMessageA(&msg, nullptr, first, last, PM_NOREMOVE | PM_NOYIELD) != 0;
}

static int InputMouseQueued() {
    UINT skip = inputIgnoreMouseMoves > 0 ? 1 : 0; // from the first button message on
    if (InputQueued(WM_MOUSEMOVE + skip, 0x20D) || InputQueued(WM_NCMOUSEMOVE + skip, WM_NCMBUTTONDBLCLK))
        return 1;
    if (!wheelPresent) return 0;
    if (wheelNative) return InputQueued(WM_MOUSEWHEEL, WM_MOUSEWHEEL);
    return wheelRollMsg != (UINT)-1 && InputQueued(wheelRollMsg, wheelRollMsg);
}

static int InputSeen() {
    if (inputIgnoreRequests <= 0 && InstanceMsgPending() > 0) return 1;
    if (inputForegroundOnly && !AppIsForeground()) return 1;
    static const UINT keyMessages[] = {WM_ACTIVATE, WM_ACTIVATEAPP, WM_KEYDOWN, WM_SYSKEYDOWN};
    for (UINT message : keyMessages)
        if (InputQueued(message, message)) return 1;
    if (InputMouseQueued()) return 1;
    return InputQueued(WM_QUERYENDSESSION, WM_QUERYENDSESSION) || InputQueued(WM_ENDSESSION, WM_ENDSESSION);
}

// Input messages stay in the queue for the main loop; only the caret-blink timer is handled here.
int InputPending() {
    if (inputLatch) return 1;
    uint32_t now = TickNow();
    if (winBackgroundWork > 0 && now - inputLastCheck < INPUT_CHECK_GAP_MS) return 0;
    inputLastCheck = now;
    if (inputSuspend > 0) return 0;
    if (InputSeen()) return inputLatch = 1;
    MSG msg;
    if (PeekMessageA(&msg, nullptr, WM_SYSTIMER, WM_SYSTIMER, PM_REMOVE)) DispatchMessageA(&msg);
    return inputLatch;
}

void InputPendingReset() {
    inputLatch = 0;
    inputLastCheck = TickNow() - INPUT_CHECK_GAP_MS;
}
void InputPendingInterrupt() {
    inputLatch = 1;
}
void InputPendingSuspend() {
    inputSuspend++;
    inputLatch = 0;
}
void InputPendingResume() {
    inputSuspend--;
}
void IgnoreMouseMovesBegin() {
    inputIgnoreMouseMoves++;
}
void IgnoreMouseMovesEnd() {
    inputIgnoreMouseMoves--;
}
void IgnoreQueuedRequestsBegin() {
    inputIgnoreRequests++;
}
void IgnoreQueuedRequestsEnd() {
    inputIgnoreRequests--;
}
void InputPendingSetForegroundOnly(int on) {
    inputForegroundOnly = on;
}

void BackgroundWorkBegin() {
    winBackgroundWork++;
}
void BackgroundWorkEnd() {
    winBackgroundWork--;
}
int IsBackgroundWork() {
    return winBackgroundWork > 0;
}

// ---- Wait cursor

static int32_t waitCount;
static HCURSOR waitSaved;
static int waitShown; // the outermost bracket changed the cursor, so its end puts the saved one back

void WaitCursor() {
    if (waitCount++ != 0 || IsBackgroundWork()) return;
    HCURSOR wait = waitCursorHook ? waitCursorHook() : nullptr;
    waitSaved = SetCursor(wait ? wait : LoadCursor(nullptr, IDC_WAIT));
    waitShown = 1;
}

void WaitCursorOff() {
    if (--waitCount != 0 || !waitShown) return;
    SetCursor(waitSaved);
    waitShown = 0;
}

void WaitCursorHold() {
    waitCount++;
}
void WaitCursorRelease() {
    waitCount--;
}
