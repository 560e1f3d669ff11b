// hubinit: start-up (prefix Hub). Readies the heap, registers the frame window class, shows the frame and
// runs the main loop until the frame is closed.
#include "shell/hubinit.h"

#include "base/heap.h"

const char hubFrameClass[] = "vx_Frame";

static LRESULT CALLBACK HubFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
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
