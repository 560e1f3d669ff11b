// hubinit: start-up (prefix Hub). Readies the heap, registers the frame window class, shows the frame and
// runs the main loop until the frame is closed. Also the start-up services that the library and the
// document core use: the temporary folder and its files.
#include "shell/hubinit.h"

#include "base/file.h"
#include "base/filetemp.h"
#include "base/folder.h"
#include "base/heap.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "base/inputpend.h"

#include <cstring>

const char hubFrameClass[] = "vx_Frame";

static LRESULT CALLBACK HubFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY:
        WndSetAppWindows(nullptr, nullptr);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int HubRegisterFrameClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = HubFrameProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = hubFrameClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND HubCreateFrame(HINSTANCE instance, int show) {
    HWND frame =
        CreateWindowExA(0, hubFrameClass, "Veltrix", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (frame) {
        WndSetAppWindows(frame, nullptr);
        ShowWindow(frame, show);
        UpdateWindow(frame);
    }
    return frame;
}

int HubMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

int HubRun(HINSTANCE instance, const char *, int show) {
    HeapInit();
    if (!HubRegisterFrameClass(instance) || !HubCreateFrame(instance, show)) return 1;
    return HubMessageLoop();
}

int InputPendingIf(int flag) {
    return flag && InputPending();
}

static char hubTempDir[256];

void HubSetTempDir(const char *folder) {
    StrCopyMaxLen(folder, hubTempDir, 255);
}

void HubGetTempDir(char *folder) {
    if (hubTempDir[0]) {
        StrCopyMaxLen(hubTempDir, folder, 255);
        return;
    }
    char system[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof system, system);
    StrCopyMaxLen(length > 0 && length < sizeof system ? system : ".", folder, 255);
}

// The system makes the unique name and the empty file together, so a file that another instance is using is
// never taken or emptied.
int MakeTempFile(char *outPath) {
    char folder[256];
    HubGetTempDir(folder);
    return FileCreateTemp("TFXXXXXX", nullptr, folder, outPath);
}
