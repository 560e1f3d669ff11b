// hubinit: start-up (prefix Hub). Readies the heap and the drawing layer, registers the window classes, shows
// the frame with the splash over it (unless the switch "s" is given), and runs the main loop until the frame
// is closed. Also the start-up services that the library and the document core use: the temporary folder and
// its files.
#include "shell/hubinit.h"

#include "base/file.h"
#include "base/filetemp.h"
#include "base/folder.h"
#include "base/heap.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "base/inputpend.h"
#include "shell/about.h"
#include "shell/help.h"
#include "ui/draw.h"

#include <cctype>
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
    wc.hIcon = LoadIconA(instance, "$iconApp");
    if (!wc.hIcon) wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = hubFrameClass;
    if (!AboutRegisterClass(instance)) return 0;
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
        if (HelpPreTranslate(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

// An argument "-name" or "/name", ended by the end or a character that cannot be part of a name.
static bool HubHasSwitch(const char *commandLine, const char *name) {
    size_t length = strlen(name);
    for (const char *p = commandLine; *p; p++) {
        bool starts = (*p == '-' || *p == '/') && (p == commandLine || p[-1] == ' ' || p[-1] == '\t');
        if (starts && _strnicmp(p + 1, name, length) == 0 && !isalnum((unsigned char)p[1 + length]))
            return true;
    }
    return false;
}

int HubRun(HINSTANCE instance, const char *commandLine, int show) {
    HeapInit();
    if (!DrawInit(nullptr) || !HubRegisterFrameClass(instance) || !HubCreateFrame(instance, show)) return 1;
    if (!HubHasSwitch(commandLine ? commandLine : "", "s")) AboutOpenSplash();
    CloseSplash();
    int code = HubMessageLoop();
    HelpTerm();
    DrawExit();
    return code;
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
