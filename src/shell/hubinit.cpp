// hubinit: start-up (prefix Hub). Readies the heap, registers the frame window class, shows the frame and
// runs the main loop until the frame is closed. Also the start-up services that the library and the
// document core use: the temporary folder and its files, and the day count of the backup purge.
#include "shell/hubinit.h"

#include "base/file.h"
#include "base/heap.h"
#include "base/trl.h"
#include "base/utilil.h"
#include "base/win.h"

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
    // Long walks over tree lists stop when the user presses a key.
    TrlSetInputPoll(InputPending);
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

// folder + "\" + name, cut at 255 characters.
static void HubJoinPath(const char *folder, const char *name, char *out) {
    int length = StrCopyMaxLen(folder, out, 255);
    if (length > 0 && out[length - 1] != '\\' && length < 255) out[length++] = '\\';
    StrCopyMaxLen(name, out + length, 255 - length);
}

// The X's of the template, from the right, become the base-36 digits of n.
static void HubFillTemplate(char *name, uint32_t n) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (size_t i = strlen(name); i > 0 && name[i - 1] == 'X'; i--, n /= 36) name[i - 1] = digits[n % 36];
}

enum { HUB_TEMP_ATTEMPTS = 1000 };

int MakeTempFile(char *outPath) {
    static uint32_t serial;
    if (!serial) serial = GetTickCount() ^ (GetCurrentProcessId() << 12);
    char folder[256], path[256];
    HubGetTempDir(folder);
    for (int attempt = 0; attempt < HUB_TEMP_ATTEMPTS; attempt++) {
        char name[] = "TFXXXXXX";
        HubFillTemplate(name, serial++);
        HubJoinPath(folder, name, path);
        // Claim the name first: opening with create would empty a file of the same name that another
        // instance is using.
        HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            return -1;
        }
        CloseHandle(h);
        int file = FileOpen(path, 1);
        if (file < 0) {
            DeleteFileA(path);
            return -1;
        }
        if (outPath) StrCopyMaxLen(path, outPath, 255);
        return file;
    }
    return -1;
}

static int32_t HubDayNumber(const SYSTEMTIME *date) {
    return date->wYear * 365 + date->wMonth * 30 + date->wDay;
}

int32_t DaysBetween(const SYSTEMTIME *now, const SYSTEMTIME *then) {
    return Max(HubDayNumber(now) - HubDayNumber(then), 0);
}
