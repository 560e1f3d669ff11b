// monitor: the multi-monitor functions are looked up at first use; without all of them the screen is the one
// monitor, and every question is answered for it.
#include "base/monitor.h"

#include "base/seam.h"
#include "base/sysprobe.h"
#include "base/utilil.h"

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

void SysResetMonitorApi() {
    sysMonitorLooked = 0;
}

void SysSetTestMonitorApi(const SysMonitorApi *api) {
    sysMonitorLooked = 1;
    sysMonitorHave = api != nullptr;
    if (api) sysMonitorApi = *api;
    SeamRegisterReset(SysResetMonitorApi);
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

bool RectIsOnScreen(const RECT *rect) {
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
