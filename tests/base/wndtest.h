// Helpers of the window tests (Windows-only modules): windows of a class whose procedure records what it
// receives and passes the rest to the library's default procedure, the queue drained, and the system probe's
// answers for a given version.
#pragma once

#include "base/inputpend.h"
#include "base/sysprobe.h"
#include "base/wnd.h"

#include <windows.h>

#include <vector>

// Dispatched, not only removed: a paint message stays queued until its window has painted.
inline void WtDrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// What the recording procedure saw: caret-blink timers, and private, command, click, wheel and context-menu
// messages with their parameters.
inline int wtSystimerSeen;
inline bool wtSystimerInterrupts; // a caret-blink timer interrupts long work
inline std::vector<UINT> wtReceived;
inline std::vector<WPARAM> wtReceivedWParam;
inline std::vector<LPARAM> wtReceivedLParam;

inline LRESULT CALLBACK WtRecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x118) {
        wtSystimerSeen++;
        if (wtSystimerInterrupts) InputPendingInterrupt();
        return 0;
    }
    if ((message >= WM_USER && message < 0xC000) || message == WM_COMMAND || message == WM_LBUTTONDOWN ||
        message == WM_MOUSEWHEEL || message == WM_CONTEXTMENU) {
        wtReceived.push_back(message);
        wtReceivedWParam.push_back(wParam);
        wtReceivedLParam.push_back(lParam);
    }
    return WndDefaultProc(window, message, wParam, lParam);
}

// A window class of the test program with the arrow cursor; registering it again changes nothing.
inline void WtRegisterClass(const char *name, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
}

inline HWND WtMakeWindow(DWORD style, int x, int y, int w, int h, HWND parent = nullptr,
                         const char *title = "test") {
    WtRegisterClass("vxWinTest", WtRecordingProc);
    Xywh pos = {x, y, w, h};
    return WndCreate("vxWinTest", title, style, &pos, parent, nullptr);
}

inline void WtClearReceived() {
    wtReceived.clear();
    wtReceivedWParam.clear();
    wtReceivedLParam.clear();
}

inline SysTestAnswers WtAnswers(uint32_t major, uint32_t minor, uint32_t platform) {
    SysTestAnswers a = {};
    a.major = major;
    a.minor = minor;
    a.platform = platform;
    return a;
}

// The older wheel driver's window, which answers that it supports the wheel and scrolls 5 lines a notch. On
// an older system (WtAnswers(4, 0, VER_PLATFORM_WIN32_WINDOWS)) WheelInit finds it; the caller destroys it
// and runs WheelInit again.
inline LRESULT CALLBACK WtLegacyWheelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RegisterWindowMessageA("MSH_WHEELSUPPORT_MSG")) return 1;
    if (message == RegisterWindowMessageA("MSH_SCROLL_LINES_MSG")) return 5;
    return DefWindowProcA(window, message, wParam, lParam);
}

inline HWND WtLegacyWheelDriver() {
    WtRegisterClass("MouseZ", WtLegacyWheelProc);
    return CreateWindowExA(0, "MouseZ", "Magellan MSWHEEL", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}
