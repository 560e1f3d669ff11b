// win: system probing, monitors, rectangle and window utilities, the input-pending test that long work polls,
// and the wait cursor (prefixes Sys, Comctl, Wheel, Monitor, Rect, Point, Wnd, Input, Cursor, Tick).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The tick clock (TickNow, TickSetTestSource) lives with the other timing helpers.
#include "base/util.h"

// The shell's frame and MDI client windows, which the window utilities measure against.
void WndSetAppWindows(HWND frame, HWND mdiClient);

// System facts. SysProbe runs once at start-up, before any window exists; 0 when the version is unknown.
// In a remote session it sets the screen-font zoom to the remote scale option through the hook below.
int SysProbe(HKEY programKey);
// Hook: sets the screen fonts' zoom percent (the font module registers it before the probe); unset, the
// probe sets no zoom.
typedef int32_t (*SysFontZoomHook)(int32_t percent);
void SysSetFontZoomHook(SysFontZoomHook hook);
int SysIsNtPlatform();
int SysIsWin9x();
int SysHasNativeWheel();
int SysIsWin98Or2000();
int SysIsNt5();
int SysIsWin4();
int SysIsWin6();
int SysIsVersion350();
uint32_t ComctlGetVersion(); // (major << 16) | minor of "comctl32.dll", 0 without a version entry
uint32_t SysComctlVersion(); // as probed
int SysComctlBelow470();
int SysComctlAbove471();
int SysComctlAbove579();
void SysDetectRemote(HKEY programKey);
int SysIsRemoteSession();
int SysIsTerminalServices(); // the Terminal Server flag as probed
int SysIsTerminalServer();   // asks the system
int SysProductSuiteHas(const char *suite);
int WndCanUseTransparency();
uint32_t SysGetProcessId();
uint32_t SysSaveLastError();

// Memory: the probe also sets the heap's size limit to 75 % of physical memory.
void SysMemoryStatus();
uint64_t SysTotalPhysical();
uint64_t SysAvailVirtual();
int SysIsLargeMemory(); // physical memory and free address space both at least 128 MB
size_t SysMemoryBudget();

// Test seam: answers that stand in for the system's while set (null asks the system again): the version,
// the remote-session metric, the Terminal Server suite test and the memory status.
struct SysTestAnswers {
    uint32_t major;
    uint32_t minor;
    uint32_t platform; // VER_PLATFORM_WIN32_NT and its siblings
    int32_t remoteMetric;
    int32_t terminalServer;
    uint64_t totalPhysical;
    uint64_t availVirtual;
};
void SysSetTestAnswers(const SysTestAnswers *answers);

// The mouse wheel.
void WheelInit();
int WheelIsPresent();
int WheelIsLegacy();
int WheelLinesPerNotch();               // -1: the system scrolls by pages
int WheelLines(WPARAM wParam, int max); // lines to scroll for a wheel message, positive downwards, 1..max

// Monitors. Without the system's multi-monitor functions the whole screen is the one monitor.
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
int RectIsOnScreen(const RECT *rect);
void WndEnsureVisible(HWND window);

// Rectangles and points. A rectangle's right and bottom are exclusive; an Xywh is origin and size.
struct Xywh {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};
inline int32_t RectWidth(const RECT *rect) {
    return rect->right - rect->left;
}
inline int32_t RectHeight(const RECT *rect) {
    return rect->bottom - rect->top;
}
inline int RectIsEmpty(const RECT *rect) {
    return !(rect->left < rect->right && rect->top < rect->bottom);
}
inline int RectSetEmpty(RECT *rect) {
    rect->left = rect->top = rect->right = rect->bottom = 0;
    return 0;
}
void RectSet(RECT *rect, int32_t left, int32_t top, int32_t right, int32_t bottom);
int RectContains(const RECT *rect, int32_t x, int32_t y);
int RectIntersects(const RECT *a, const RECT *b);            // they share at least one pixel
int SpanOverlap(int32_t a, int32_t b, int32_t c, int32_t d); // [a, b) and [c, d) share a value
void RectFromOriginSize(RECT *rect, const Xywh *xywh);
void RectToOriginSize(const RECT *rect, Xywh *xywh);
// Keeps the size and moves to the middle of the outer rectangle's size; the outer origin is not added.
void RectCenterIn(RECT *rect, const RECT *outer);
void RectInset(RECT *rect, int32_t dx, int32_t dy);
void RectOffset(RECT *rect, int32_t dx, int32_t dy);
void RectMoveTo(RECT *rect, int32_t x, int32_t y);
void RectUnion(RECT *rect, const RECT *other); // an empty rectangle adds nothing
void PointClampToRect(POINT *point, const RECT *rect);
POINT PointFromLParam(LPARAM lParam); // signed low and high words
uint32_t PackWords(int32_t low, int32_t high);
void RectEnsureOnScreen(RECT *rect);
void RectXywhEnsureOnScreen(Xywh *xywh);
void WndClientToScreenRect(HWND window, RECT *rect);
void WndScreenToClientRect(HWND window, RECT *rect);
void WndScreenToClientXywh(HWND window, Xywh *xywh);
void PointMapWindows(HWND from, HWND to, POINT *point);

// Windows.
void WndShowByState(HWND window, int state); // 0 normal, 1 maximised, 2 minimised, other shown
int WndShowState(HWND window);               // 1 zoomed, 2 iconic, else 0
WNDPROC WndGetProc(HWND window);
void WndGetRectInFrame(HWND window, RECT *out);
void WndRepaintNow(HWND window);
void WndRedrawNow(HWND window);
void PumpMessages();
void WndGetClientSize(HWND window, Xywh *out);
void WndGetOriginSize(HWND window, Xywh *out);
void WndGetRect(HWND window, RECT *out); // the nearest monitor's rectangle when no window is given
int32_t WndGetWidth(HWND window);
void WndSetPosXywh(HWND window, const Xywh *pos);
void WndSetPosRect(HWND window, const RECT *rect);
void WndMoveRect(HWND window, const RECT *rect, int repaint);
void WndMoveXywh(HWND window, const Xywh *pos, int repaint);
void WndShow(HWND window, int show);
HWND WndCreate(const char *className, const char *title, DWORD style, const Xywh *pos, HWND parent,
               void *param);
HWND WndCreateEx(DWORD exStyle, const char *className, const char *title, DWORD style, const Xywh *pos,
                 HWND parent, void *param);
int WndInOwnProcess(HWND window);
void WndGetTextPstr(HWND window, unsigned char *out, int size); // at most size - 2 characters
int WndIsAncestor(HWND ancestor, HWND window);
int AppIsForeground();
LRESULT WndCommandParent(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT WndNotifyParent(HWND control, int code);
LRESULT WndForwardMouseToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int WndGetScrollTrackPos(HWND window, int bar);
int WndSetScrollInfo(HWND window, int bar, const SCROLLINFO *info, int redraw);
LRESULT CALLBACK WndDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void CursorSet(HCURSOR cursor);
void CursorSetHelp();
void CursorFreeHelp();
void OleInitOnce();

// The input-pending test: 1 when the running operation should stop and give way to the user. Once input was
// seen it answers 1 without looking again until InputPendingReset (the idle chain calls it each turn).
int InputPending();
void InputPendingReset();
void InputPendingInterrupt();
void InputPendingSuspend();
void InputPendingResume();
void IgnoreMouseMovesBegin();
void IgnoreMouseMovesEnd();
void IgnoreQueuedRequestsBegin();
void IgnoreQueuedRequestsEnd();
void InputPendingSetForegroundOnly(int on);

// Background work (parsing, synchronising) nests; alerts are skipped while it runs.
void BackgroundWorkBegin();
void BackgroundWorkEnd();
int IsBackgroundWork();

// The wait cursor nests: only the outermost bracket changes the cursor.
// Hook: the drawing layer's hourglass (registered when it starts); unset or null, the system's.
typedef HCURSOR (*WaitCursorHook)();
void WaitCursorSetHook(WaitCursorHook hook);
void WaitCursor();
void WaitCursorOff();
void WaitCursorHold();
void WaitCursorRelease();
