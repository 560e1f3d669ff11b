// The docking tests' frame, panes and scripted moves.
#include "ui/docktest.h"

#include "ui/dockdrag.h"
#include "ui/draw.h"
#include "ui/font.h"

#include <cstring>

RECT DockFixture::mdi;
int DockFixture::dirty;
WPARAM DockFixture::key;

static const char dockTestFrameClass[] = "DockTestFrame";
static const char dockTestPaneClass[] = "DockTestPane";

static LRESULT CALLBACK DockTestFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        RECT rect;
        GetClientRect(window, &rect);
        DockLayoutFrame(&rect);
        DockFixture::mdi = rect;
        return 0;
    }
    if (message == 2025) {
        DockFixture::key = wParam;
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static int32_t DockTestDirty(int32_t) {
    return ++DockFixture::dirty;
}

static void DockTestRegister(const char *name, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

void DockFixture::SetUp() {
    ASSERT_TRUE(DrawInit(nullptr));
    DockTestRegister(dockTestFrameClass, DockTestFrameProc);
    DockTestRegister(dockTestPaneClass, DockPaneWndProc);
    RECT outer = {100, 100, 900, 700};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    frame = CreateWindowExA(0, dockTestFrameClass, "Dock test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            outer.left, outer.top, RectWidth(&outer), RectHeight(&outer), nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(frame);
    GetClientRect(frame, &client);
    ASSERT_TRUE(DockInit(frame));
    dirty = 0;
    key = 0;
    DockSetConfigDirtyHook(DockTestDirty);
    DockRelayoutFrame();
}

void DockFixture::TearDown() {
    EXPECT_TRUE(DockCheck());
    DockExit();
    DestroyWindow(frame);
    DrawExit();
}

HWND DockFixture::Pane(const DockInfo &info, const char *title) {
    return DockCreateWindow(&info, dockTestPaneClass, title, 0, nullptr);
}

DockInfo DockFixture::Docked(int32_t side, int32_t row, int32_t pos, int32_t flags) {
    DockInfo info;
    DockInfoInit(&info);
    info.side = side;
    info.row = row;
    info.pos = pos;
    info.flags = flags;
    return info;
}

DockInfo DockFixture::Floating(Xywh rect, int32_t flags) {
    DockInfo info = Docked(DOCK_NO_SIDE, 0, 0, flags);
    info.state = DOCK_FLOATING;
    info.floatRect = rect;
    return info;
}

int32_t DockFixture::Rows(int32_t side) {
    return PlexCount(DockSideAt(side)->rows);
}

DockLoc DockFixture::Where(HWND window) {
    DockLoc loc = {DOCK_NO_SIDE - 1, -1, -1, nullptr};
    DockFind(window, &loc);
    return loc;
}

RECT DockFixture::WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT DockFixture::AreaOnScreen() {
    RECT area;
    DockAreaOnScreen(&area);
    return area;
}

void DockFixture::Script(std::initializer_list<POINT> held, bool ctrl, bool abortAtEnd) {
    static std::vector<TrackInput> steps;
    steps.clear();
    for (POINT point : held) steps.push_back({true, point, ctrl, false});
    if (abortAtEnd) steps.back().abort = true;
    TrackSetTestScript(steps.data(), (int32_t)steps.size());
}
