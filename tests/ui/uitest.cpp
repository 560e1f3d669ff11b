// Shared test support of the window library: canvas, registry key and system stand-ins.
#include "ui/uitest.h"

#include "base/heap.h"
#include "base/reg.h"
#include "base/seam.h"
#include "base/toolbox.h"
#include "base/toolbox_win.h"
#include "base/sysprobe.h"
#include "base/monitor.h"
#include "base/wnd.h"
#include "base/wndtest.h"
#include "ui/mdi.h"

#include <gtest/gtest.h>

#include <string>

UiCanvas::UiCanvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    void *bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = (uint32_t *)bits;
    previous_ = SelectObject(dc_, bitmap_);
    Fill(fill);
}

UiCanvas::~UiCanvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF UiCanvas::Pixel(int x, int y) const {
    GdiFlush();
    uint32_t v = bits_[y * width_ + x];
    return RGB(v >> 16 & 0xFF, v >> 8 & 0xFF, v & 0xFF);
}

void UiCanvas::Fill(COLORREF color) {
    RECT all = {0, 0, width_, height_};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
    GdiFlush();
}

// ---- Registry

static std::string uiKeyName;
static HKEY uiKey;

static void UiResetKey() {
    if (uiKey) RegCloseKey(uiKey);
    uiKey = nullptr;
    if (!uiKeyName.empty()) RegDeleteTreeA(HKEY_CURRENT_USER, uiKeyName.c_str());
    uiKeyName.clear();
}

HKEY UiTestKey() {
    UiResetKey();
    const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
    uiKeyName = std::string("Software\\VeltrixTest\\") + info->test_suite_name() + "." + info->name();
    for (char &c : uiKeyName)
        if (c == '/') c = '_';
    RegDeleteTreeA(HKEY_CURRENT_USER, uiKeyName.c_str());
    uiKey = RegCreate(HKEY_CURRENT_USER, uiKeyName.c_str());
    SeamRegisterReset(UiResetKey);
    return uiKey;
}

// ---- System stand-ins

static SysTestAnswers uiAnswers;
static size_t uiHeapLimit;
static bool uiSystemReplaced;

static void UiResetSystem() {
    if (!uiSystemReplaced) return;
    uiSystemReplaced = false;
    SysSetTestAnswers(nullptr);
    SysDetectRemote(nullptr);
    ToolboxRemoteDefaults();
    HeapSetSizeLimit(uiHeapLimit);
}

static void UiReplaceSystem(uint32_t major, uint32_t minor, int32_t remote) {
    if (!uiSystemReplaced) uiHeapLimit = HeapGetSizeLimit();
    uiSystemReplaced = true;
    uiAnswers = {};
    uiAnswers.major = major;
    uiAnswers.minor = minor;
    uiAnswers.platform = VER_PLATFORM_WIN32_NT;
    uiAnswers.remoteMetric = remote;
    uiAnswers.totalPhysical = uiAnswers.availVirtual = (uint64_t)4 << 30;
    SysSetTestAnswers(&uiAnswers);
    SysDetectRemote(nullptr);
    SeamRegisterReset(UiResetSystem);
}

void UiRemoteSession(std::initializer_list<std::pair<const char *, int32_t>> options) {
    UiReplaceSystem(6, 1, 1);
    HKEY key = UiTestKey();
    for (const auto &option : options) RegSetInt(key, option.first, option.second);
    ToolboxRemoteDefaults();
    ToolboxReadRemoteOptions(key);
}

void UiSystemVersion(uint32_t major, uint32_t minor) {
    UiReplaceSystem(major, minor, 0);
}

// ---- Fake monitors

static int uiMonitorCount;

static int WINAPI UiFakeMetrics(int index) {
    return index == SM_CMONITORS ? uiMonitorCount : GetSystemMetrics(index);
}

static RECT UiFakeMonitorRect(int i) {
    return RECT{i * 640, 0, (i + 1) * 640, 480};
}

static HMONITOR UiFakeMonitor(int i) {
    return (HMONITOR)(intptr_t)(0x5000 + i);
}

static HMONITOR WINAPI UiFakeFromPoint(POINT point, DWORD) {
    return UiFakeMonitor(point.x >= 0 && point.x / 640 < uiMonitorCount ? point.x / 640 : 0);
}

static HMONITOR WINAPI UiFakeFromRect(LPCRECT rect, DWORD flags) {
    return UiFakeFromPoint(POINT{rect->left, rect->top}, flags);
}

static HMONITOR WINAPI UiFakeFromWindow(HWND window, DWORD flags) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return UiFakeFromRect(&rect, flags);
}

// Calls back for every monitor even after a callback asked to stop, so that a list that relies on
// stopping the enumeration shows its bound.
static BOOL WINAPI UiFakeEnum(HDC dc, LPCRECT, MONITORENUMPROC callback, LPARAM data) {
    for (int i = 0; i < uiMonitorCount; i++) {
        RECT rect = UiFakeMonitorRect(i);
        callback(UiFakeMonitor(i), dc, &rect, data);
    }
    return TRUE;
}

static BOOL WINAPI UiFakeInfo(HMONITOR monitor, LPMONITORINFO info) {
    int i = (int)((intptr_t)monitor - 0x5000);
    if (i < 0 || i >= uiMonitorCount) return FALSE;
    info->rcMonitor = info->rcWork = UiFakeMonitorRect(i);
    info->dwFlags = i == 0 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

static BOOL WINAPI UiFakeDevices(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD) {
    return FALSE;
}

static void UiResetMonitors() {
    SysResetMonitorApi();
}

void UiRestore() {
    UiResetSystem();
    UiResetMonitors();
}

void UiFakeMonitors(int count) {
    static const SysMonitorApi api = {UiFakeMetrics, UiFakeFromWindow, UiFakeFromRect, UiFakeFromPoint,
                                      UiFakeEnum,    UiFakeInfo,       UiFakeDevices};
    uiMonitorCount = count;
    SysSetTestMonitorApi(&api);
    SeamRegisterReset(UiResetMonitors);
}

// ---- Windows

int uiPaints;

static LRESULT CALLBACK UiPopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        uiPaints++;
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A white-backed window class of the tests, registered once.
static const char *UiTestClass(const char *name, WNDPROC proc) {
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &wc)) return name;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    RegisterClassA(&wc);
    return name;
}

static HWND UiMakePopup(int x, int y, int width, int height, DWORD exStyle, DWORD style) {
    UiTestClass("vxUiTestPopup", UiPopupProc);
    return CreateWindowExA(exStyle, "vxUiTestPopup", "", WS_POPUP | style, x, y, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND UiPopup(int x, int y, int width, int height, DWORD exStyle) {
    return UiMakePopup(x, y, width, height, exStyle, 0);
}

HWND UiShownPopup(int x, int y, int width, int height) {
    static HWND shown;
    if (!shown) shown = UiMakePopup(x, y, width, height, WS_EX_TOPMOST, WS_VISIBLE);
    SetWindowLongA(shown, GWL_EXSTYLE, WS_EX_TOPMOST);
    SetWindowPos(shown, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    UiDrain();
    uiPaints = 0;
    return shown;
}

void UiDrain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// ---- The shown frame

static LRESULT CALLBACK UiFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MdiFrameDefProc(window, MdiGetClient(), message, wParam, lParam);
}

HWND UiShownFrame() {
    static HWND frame;
    static HWND client;
    if (!frame) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = UiFrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "vxUiTestFrame";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        frame =
            CreateWindowExA(0, "vxUiTestFrame", "frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                            40, 40, 600, 420, nullptr, nullptr, wc.hInstance, nullptr);
        RECT area;
        GetClientRect(frame, &area);
        MdiCreateClient(frame, &area, -1, 0xFF00);
        client = MdiGetClient();
        UiDrain();
    }
    WndSetAppWindows(frame, client);
    return frame;
}

void UiCloseMdiChildren() {
    HWND client = WndGetMdiClient();
    if (!client) return;
    for (HWND child; (child = GetWindow(client, GW_CHILD)) != nullptr;) {
        if (GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_MDICHILD)
            MdiDestroy(child);
        else
            DestroyWindow(child);
    }
    UiDrain();
}

// ---- A parent that records

std::vector<UiMessage> uiNotifies;
std::vector<UiMessage> uiCommands;
LRESULT (*uiNotifyAnswer)(NMHDR *notification);

static LRESULT CALLBACK UiRecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const NMHDR *header = (const NMHDR *)lParam;
        uiNotifies.push_back({header->code, header->hwndFrom, header->idFrom});
        return uiNotifyAnswer ? uiNotifyAnswer((NMHDR *)lParam) : 0;
    }
    if (message == WM_COMMAND) {
        uiCommands.push_back({(UINT)wParam, (HWND)lParam, 0});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND UiRecordingParent(int width, int height) {
    const char *className = UiTestClass("vxUiTestParent", UiRecordingProc);
    HWND popup = UiShownPopup(0, 0, width, height);
    uiNotifies.clear();
    uiCommands.clear();
    uiNotifyAnswer = nullptr;
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                           popup, nullptr, GetModuleHandleA(nullptr), nullptr);
}
