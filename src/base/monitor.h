// monitor: the monitors of the desktop (prefixes Monitor and SysMonitor... for the system's functions): which
// monitor holds a point, rectangle or window, its rectangle and work area, and keeping windows on screen.
// Without the system's multi-monitor functions the whole screen is the one monitor.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/rect.h"

inline HMONITOR const SYS_ONE_MONITOR = (HMONITOR)(intptr_t)0x12340042;
struct SysMonitorApi {
    int(WINAPI *getSystemMetrics)(int index);
    HMONITOR(WINAPI *monitorFromWindow)(HWND window, DWORD flags);
    HMONITOR(WINAPI *monitorFromRect)(LPCRECT rect, DWORD flags);
    HMONITOR(WINAPI *monitorFromPoint)(POINT point, DWORD flags);
    BOOL(WINAPI *enumDisplayMonitors)(HDC dc, LPCRECT clip, MONITORENUMPROC callback, LPARAM data);
    BOOL(WINAPI *getMonitorInfoA)(HMONITOR monitor, LPMONITORINFO info);
    BOOL(WINAPI *enumDisplayDevicesA)(LPCSTR device, DWORD index, PDISPLAY_DEVICEA info, DWORD flags);
};
void SysLoadMonitorApi();
// Test seam: these functions stand for the system's (several monitors); null: no multi-monitor support.
void SysSetTestMonitorApi(const SysMonitorApi *api);
void SysResetMonitorApi(); // look the system's functions up again at next use

int SysGetMetrics(int index);
HMONITOR SysMonitorFromPoint(int x, int y, DWORD flags);
HMONITOR SysMonitorFromRect(const RECT *rect, DWORD flags);
HMONITOR SysMonitorFromWindow(HWND window, DWORD flags);
int SysGetMonitorInfo(HMONITOR monitor, MONITORINFO *info);
int SysEnumMonitors(HDC dc, const RECT *clip, MONITORENUMPROC callback, LPARAM data);
int MonitorGetRect(HMONITOR monitor, RECT *out);
void WndMonitorRect(HWND window, RECT *out);
void MonitorRectFromPoint(int x, int y, RECT *out);
void WndGetWorkArea(HWND window, RECT *out);
bool RectIsOnScreen(const RECT *rect);
void RectEnsureOnScreen(RECT *rect);
void RectXywhEnsureOnScreen(Xywh *xywh);
void WndEnsureVisible(HWND window);
