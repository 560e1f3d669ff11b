// System probing, monitors, window utilities and the input-pending test:
// - input pending over real posted messages: the latch until reset, mouse moves ignored, suspension, the
//   throttle during background work (through the tick seam), the caret-blink timer dispatched;
// - versions, the remote-session detection and its registry overrides, transparency, memory and the heap's
//   size limit, through the probe's answers seam;
// - the mouse wheel: lines per notch, the page setting, a legacy wheel window on an older system;
// - monitors without multi-monitor support (one screen) and with two monitors through the seam;
// - rectangle helpers, window utilities, the default window procedure, the pump and the wait cursor.
#include "base/heap.h"
#include "base/reg.h"
#include "base/toolbox.h"
#include "base/toolbox_win.h"
#include "base/tick.h"
#include "base/utilil.h"
#include "base/sysprobe.h"
#include "base/wheel.h"
#include "base/monitor.h"
#include "base/rect.h"
#include "base/wnd.h"
#include "base/inputpend.h"
#include "base/waitcur.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Dispatched, not only removed: a paint message stays queued until its window has painted.
void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

int systimerSeen;
bool systimerInterrupts;
std::vector<UINT> received;
std::vector<WPARAM> receivedWParam;
std::vector<LPARAM> receivedLParam;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x118) {
        systimerSeen++;
        if (systimerInterrupts) InputPendingInterrupt();
        return 0;
    }
    if ((message >= WM_USER && message < 0xC000) || message == WM_COMMAND || message == WM_LBUTTONDOWN ||
        message == WM_MOUSEWHEEL || message == WM_CONTEXTMENU) {
        received.push_back(message);
        receivedWParam.push_back(wParam);
        receivedLParam.push_back(lParam);
    }
    return WndDefaultProc(window, message, wParam, lParam);
}

HWND MakeWindow(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, const char *title = "test") {
    static bool registered;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "vxWinTest";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        registered = true;
    }
    Xywh pos = {x, y, w, h};
    return WndCreate("vxWinTest", title, style, &pos, parent, nullptr);
}

void ClearReceived() {
    received.clear();
    receivedWParam.clear();
    receivedLParam.clear();
}

uint32_t fakeNow;
uint32_t FakeTicks() {
    return fakeNow;
}

class InputTest : public testing::Test {
protected:
    void SetUp() override {
        window = MakeWindow(WS_POPUP, 0, 0, 40, 40);
        ASSERT_NE(window, nullptr);
        DrainQueue();
        InputPendingReset();
        systimerSeen = 0;
        systimerInterrupts = false;
    }
    void TearDown() override {
        TickSetClock(nullptr, nullptr);
        DestroyWindow(window);
        DrainQueue();
        InputPendingReset();
    }
    HWND window = nullptr;
};

TEST_F(InputTest, QueuedInputCounts) {
    struct Case {
        const char *name;
        UINT message;
        int ignoreMoves;
        int expected;
    } cases[] = {
        {"key down", WM_KEYDOWN, 0, 1},
        {"system key down", WM_SYSKEYDOWN, 0, 1},
        {"activation", WM_ACTIVATEAPP, 0, 1},
        {"activate", WM_ACTIVATE, 0, 1},
        {"mouse move", WM_MOUSEMOVE, 0, 1},
        {"mouse move ignored", WM_MOUSEMOVE, 1, 0},
        {"click with moves ignored", WM_LBUTTONDOWN, 1, 1},
        {"caption move", WM_NCMOUSEMOVE, 0, 1},
        {"caption move ignored", WM_NCMOUSEMOVE, 1, 0},
        {"caption click ignored moves", WM_NCLBUTTONDOWN, 1, 1},
        {"wheel", WM_MOUSEWHEEL, 1, 1},
        {"end session query", WM_QUERYENDSESSION, 0, 1},
        {"character", WM_CHAR, 0, 0},
        {"key up", WM_KEYUP, 0, 0},
        {"private message", WM_USER + 1, 0, 0},
        {"timer", WM_TIMER, 0, 0},
    };
    WheelInit();
    for (const Case &c : cases) {
        InputPendingReset();
        if (c.ignoreMoves) IgnoreMouseMovesBegin();
        PostMessageA(window, c.message, 0, 0);
        EXPECT_EQ(InputPending(), c.expected) << c.name;
        if (c.ignoreMoves) IgnoreMouseMovesEnd();
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, window, c.message, c.message, PM_REMOVE)) << c.name << ": left queued";
        DrainQueue();
    }
}

TEST_F(InputTest, LatchHoldsUntilReset) {
    PostMessageA(window, WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(InputPending(), 1);
    DrainQueue();
    EXPECT_EQ(InputPending(), 1);
    EXPECT_EQ(InputPending(), 1);
    InputPendingReset();
    EXPECT_EQ(InputPending(), 0);
    InputPendingInterrupt();
    EXPECT_EQ(InputPending(), 1);
}

TEST_F(InputTest, SuspensionClearsTheLatchAndHidesInput) {
    InputPendingInterrupt();
    InputPendingSuspend();
    PostMessageA(window, WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(InputPending(), 0);
    InputPendingSuspend();
    InputPendingResume();
    EXPECT_EQ(InputPending(), 0);
    InputPendingResume();
    EXPECT_EQ(InputPending(), 1);
}

TEST_F(InputTest, BackgroundWorkLooksAtMostEvery125Ms) {
    TickSetClock(FakeTicks, nullptr);
    fakeNow = 1000;
    InputPendingReset();
    BackgroundWorkBegin();
    EXPECT_EQ(InputPending(), 0); // looks: nothing queued
    PostMessageA(window, WM_KEYDOWN, 'A', 1);
    fakeNow = 1124;
    EXPECT_EQ(InputPending(), 0);
    fakeNow = 1125;
    EXPECT_EQ(InputPending(), 1);
    DrainQueue();
    // Across the clock's wrap-around.
    fakeNow = 0xFFFFFFF0u;
    InputPendingReset();
    EXPECT_EQ(InputPending(), 0);
    PostMessageA(window, WM_KEYDOWN, 'A', 1);
    fakeNow = 0x00000010u;
    EXPECT_EQ(InputPending(), 0);
    fakeNow = 0x0000006Du;
    EXPECT_EQ(InputPending(), 1);
    BackgroundWorkEnd();
    // Without background work every call looks.
    InputPendingReset();
    DrainQueue();
    EXPECT_EQ(InputPending(), 0);
    PostMessageA(window, WM_SYSKEYDOWN, 'A', 1);
    EXPECT_EQ(InputPending(), 1);
}

TEST_F(InputTest, CaretBlinkTimerIsDispatched) {
    PostMessageA(window, 0x118, 0, 0);
    EXPECT_EQ(InputPending(), 0);
    EXPECT_EQ(systimerSeen, 1);
    systimerInterrupts = true;
    PostMessageA(window, 0x118, 0, 0);
    EXPECT_EQ(InputPending(), 1);
    EXPECT_EQ(systimerSeen, 2);
}

TEST_F(InputTest, ForegroundOnlyCountsLosingTheForeground) {
    HWND frame = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
    HWND other = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 10, 200, 150);
    WndSetAppWindows(frame, nullptr);
    SetForegroundWindow(frame);
    DrainQueue();
    if (GetForegroundWindow() != frame) GTEST_SKIP() << "no foreground control under this display";
    EXPECT_EQ(AppIsForeground(), 1);
    InputPendingSetForegroundOnly(1);
    InputPendingReset();
    EXPECT_EQ(InputPending(), 0);
    SetForegroundWindow(other);
    DrainQueue();
    EXPECT_EQ(AppIsForeground(), 0);
    InputPendingReset();
    EXPECT_EQ(InputPending(), 1);
    InputPendingSetForegroundOnly(0);
    InputPendingReset();
    DrainQueue();
    EXPECT_EQ(InputPending(), 0);
    ShowWindow(other, SW_MINIMIZE);
    SetForegroundWindow(other);
    DrainQueue();
    if (GetForegroundWindow() == other) {
        EXPECT_EQ(AppIsForeground(), 1);
    }
    WndSetAppWindows(nullptr, nullptr);
    DestroyWindow(other);
    DestroyWindow(frame);
}

class ProbeTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, keyName.c_str());
        key = RegCreate(HKEY_CURRENT_USER, keyName.c_str());
        ASSERT_NE(key, nullptr);
        ToolboxRemoteDefaults();
    }
    void TearDown() override {
        SysSetTestAnswers(nullptr);
        SysResetMonitorApi();
        HeapSetSizeLimit(0);
        RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, keyName.c_str());
        WheelInit();
    }
    SysTestAnswers Answers(uint32_t major, uint32_t minor, uint32_t platform) {
        SysTestAnswers a = {};
        a.major = major;
        a.minor = minor;
        a.platform = platform;
        return a;
    }
    std::string keyName = "SOFTWARE\\VeltrixProbeTest" + std::to_string(GetCurrentProcessId());
    HKEY key = nullptr;
};

TEST_F(ProbeTest, VersionTests) {
    const uint32_t nt = VER_PLATFORM_WIN32_NT, w9x = VER_PLATFORM_WIN32_WINDOWS;
    struct Case {
        const char *name;
        uint32_t major, minor, platform;
        int isNt, is9x, nativeWheel, is98Or2000, isNt5, isWin4, isWin6, is350;
    } cases[] = {
        {"95", 4, 0, w9x, 0, 1, 0, 0, 0, 1, 0, 0},      {"98", 4, 10, w9x, 0, 1, 1, 1, 0, 1, 0, 0},
        {"NT 3.50", 3, 50, nt, 1, 0, 0, 0, 0, 0, 0, 1}, {"NT 3.51", 3, 51, nt, 1, 0, 0, 0, 0, 0, 0, 0},
        {"NT 4", 4, 0, nt, 1, 0, 1, 0, 0, 1, 0, 0},     {"2000", 5, 0, nt, 1, 0, 1, 1, 1, 1, 0, 0},
        {"7", 6, 1, nt, 1, 0, 1, 1, 1, 1, 1, 0},
    };
    for (const Case &c : cases) {
        SysTestAnswers a = Answers(c.major, c.minor, c.platform);
        SysSetTestAnswers(&a);
        ASSERT_EQ(SysProbe(key), 1) << c.name;
        int got[] = {SysIsNtPlatform(), SysIsWin9x(), SysHasNativeWheel(), SysIsWin98Or2000(),
                     SysIsNt5(),        SysIsWin4(),  SysIsWin6(),         SysIsVersion350()};
        int want[] = {c.isNt, c.is9x, c.nativeWheel, c.is98Or2000, c.isNt5, c.isWin4, c.isWin6, c.is350};
        for (int i = 0; i < 8; i++) EXPECT_EQ(got[i], want[i]) << c.name << " test " << i;
    }
    SysSetTestAnswers(nullptr);
    EXPECT_EQ(SysProbe(key), 1);
    EXPECT_GE(SysComctlVersion(), 0x40046u);
    EXPECT_FALSE(SysComctlBelow470());
    EXPECT_EQ(SysComctlVersion(), ComctlGetVersion());
}

TEST_F(ProbeTest, RemoteSessionAndItsOverrides) {
    const uint32_t nt = VER_PLATFORM_WIN32_NT;
    struct Case {
        const char *name;
        const char *sessionValue; // "TerminalServerSession", null when absent
        uint32_t major;
        int32_t metric;
        int expected;
    } cases[] = {
        {"remote metric on 2000", nullptr, 5, 1, 1},  {"no remote metric", nullptr, 5, 0, 0},
        {"metric ignored on NT 4", nullptr, 4, 1, 0}, {"registry says no", "0", 5, 1, 0},
        {"registry says yes", "1", 4, 0, 1},          {"registry number with junk", "1x", 5, 0, 1},
    };
    for (const Case &c : cases) {
        RegDeleteValueA(key, "TerminalServerSession");
        if (c.sessionValue) RegSetString(key, "TerminalServerSession", c.sessionValue);
        SysTestAnswers a = Answers(c.major, 0, nt);
        a.remoteMetric = c.metric;
        SysSetTestAnswers(&a);
        SysDetectRemote(key);
        EXPECT_EQ(SysIsRemoteSession(), c.expected) << c.name;
    }

    SysTestAnswers a = Answers(5, 1, nt);
    a.terminalServer = 1;
    SysSetTestAnswers(&a);
    EXPECT_EQ(SysIsTerminalServer(), 1);
    SysDetectRemote(key);
    EXPECT_EQ(SysIsTerminalServices(), 1);
    RegSetString(key, "TerminalServices", "0");
    SysDetectRemote(key);
    EXPECT_EQ(SysIsTerminalServices(), 0);
    a = Answers(4, 10, VER_PLATFORM_WIN32_WINDOWS);
    a.terminalServer = 1;
    SysSetTestAnswers(&a);
    EXPECT_EQ(SysIsTerminalServer(), 0);
}

TEST_F(ProbeTest, TransparencyNeedsNt5AndIsBarredInRemoteSessions) {
    struct Case {
        const char *name;
        uint32_t major;
        int32_t remoteMetric;
        const char *transparentWindows;
        const char *remoteNoTransparent;
        int expected;
    } cases[] = {
        {"local XP", 5, 0, nullptr, nullptr, 1},   {"local NT 4", 4, 0, nullptr, nullptr, 0},
        {"switched off", 5, 0, "0", nullptr, 0},   {"remote by default barred", 5, 1, nullptr, nullptr, 0},
        {"remote allowed", 5, 1, nullptr, "0", 1}, {"remote option ignored locally", 5, 0, nullptr, "1", 1},
    };
    for (const Case &c : cases) {
        RegDeleteValueA(key, "TransparentWindows");
        if (c.transparentWindows) RegSetString(key, "TransparentWindows", c.transparentWindows);
        ToolboxRemoteDefaults();
        if (c.remoteNoTransparent) {
            RegSetString(key, "RemoteNoTransparent", c.remoteNoTransparent);
            ToolboxReadRemoteOptions(key);
            RegDeleteValueA(key, "RemoteNoTransparent");
        }
        SysTestAnswers a = Answers(c.major, 1, VER_PLATFORM_WIN32_NT);
        a.remoteMetric = c.remoteMetric;
        SysSetTestAnswers(&a);
        ASSERT_EQ(SysProbe(key), 1);
        EXPECT_EQ(WndCanUseTransparency(), c.expected) << c.name;
    }
}

// The budget is 75 % of physical memory; beyond 4 GB it must not wrap around.
TEST_F(ProbeTest, MemoryBudgetSetsTheHeapLimitIn64Bits) {
    const uint64_t MB = 1 << 20, GB = MB << 10;
    struct Case {
        uint64_t physical, virt;
        uint64_t budget;
        int large;
    } cases[] = {
        {6 * GB, 8 * GB, 4831838208u, 1},    {1 * GB, 2 * GB, 805306368u, 1},
        {128 * MB, 128 * MB, 100663296u, 1}, {128 * MB - 1, 4 * GB, 100663295u, 0},
        {4 * GB, 64 * MB, 3221225472u, 0},   {100, 100, 75, 0},
    };
    for (const Case &c : cases) {
        SysTestAnswers a = Answers(6, 1, VER_PLATFORM_WIN32_NT);
        a.totalPhysical = c.physical;
        a.availVirtual = c.virt;
        SysSetTestAnswers(&a);
        ASSERT_EQ(SysProbe(key), 1);
        EXPECT_EQ(SysTotalPhysical(), c.physical);
        EXPECT_EQ(SysMemoryBudget(), (size_t)c.budget) << c.physical;
        EXPECT_EQ(HeapGetSizeLimit(), (size_t)c.budget) << c.physical;
        EXPECT_EQ(SysIsLargeMemory(), c.large) << c.physical;
    }
    // The limit refuses requests at or above it.
    SysTestAnswers a = Answers(6, 1, VER_PLATFORM_WIN32_NT);
    a.totalPhysical = 1000;
    SysSetTestAnswers(&a);
    SysMemoryStatus();
    EXPECT_EQ(MemAlloc(750), nullptr);
    void *block = MemAlloc(749);
    EXPECT_NE(block, nullptr);
    MemFree(block);
}

TEST_F(ProbeTest, WheelLinesPerNotch) {
    SysTestAnswers a = Answers(6, 1, VER_PLATFORM_WIN32_NT);
    SysSetTestAnswers(&a);
    UINT saved = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &saved, 0);
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
    WheelInit();
    EXPECT_TRUE(WheelIsPresent());
    EXPECT_FALSE(WheelIsLegacy());
    ASSERT_EQ(WheelLinesPerNotch(), 3);
    struct Case {
        int delta, max, expected;
    } cases[] = {{-120, 10, 3}, {-60, 10, 1},  {120, 10, -3}, {60, 10, -1}, {-360, 5, 5},
                 {360, 5, -5},  {-240, 10, 6}, {0, 10, -1},   {-1, 10, 1}};
    for (const Case &c : cases)
        EXPECT_EQ(WheelLines(MAKEWPARAM(0, (WORD)(short)c.delta), c.max), c.expected) << c.delta;

    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0);
    WheelInit();
    EXPECT_EQ(WheelLinesPerNotch(), -1);
    EXPECT_EQ(WheelLines(MAKEWPARAM(0, (WORD)(short)-120), 40), 40);
    EXPECT_EQ(WheelLines(MAKEWPARAM(0, 120), 40), -40);
    SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
}

LRESULT CALLBACK LegacyWheelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RegisterWindowMessageA("MSH_WHEELSUPPORT_MSG")) return 1;
    if (message == RegisterWindowMessageA("MSH_SCROLL_LINES_MSG")) return 5;
    return DefWindowProcA(window, message, wParam, lParam);
}

// An older system without the native wheel message: the wheel driver's window answers, and its roll message
// reaches the focus window as a native wheel message.
TEST_F(ProbeTest, LegacyWheelOnAnOlderSystem) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LegacyWheelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MouseZ";
    RegisterClassA(&wc);
    HWND driver = CreateWindowExA(0, "MouseZ", "Magellan MSWHEEL", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_NE(driver, nullptr);
    SysTestAnswers a = Answers(4, 0, VER_PLATFORM_WIN32_WINDOWS);
    SysSetTestAnswers(&a);
    WheelInit();
    EXPECT_TRUE(WheelIsPresent());
    EXPECT_TRUE(WheelIsLegacy());
    EXPECT_EQ(WheelLinesPerNotch(), 5);
    EXPECT_EQ(WheelLines(MAKEWPARAM(0, (WORD)(short)-120), 10), 5);

    HWND target = MakeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetFocus(target);
    ASSERT_EQ(GetFocus(), target);
    ClearReceived();
    UINT roll = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    SendMessageA(target, roll, (WPARAM)(WORD)(short)-120, 0x00050006);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], (UINT)WM_MOUSEWHEEL);
    EXPECT_EQ(receivedWParam[0], (WPARAM)0xFF880000u);
    EXPECT_EQ(receivedLParam[0], 0x00050006);

    // The roll message interrupts long work like any other wheel turn.
    DrainQueue();
    InputPendingReset();
    PostMessageA(target, roll, 0, 0);
    EXPECT_EQ(InputPending(), 1);
    DrainQueue();
    InputPendingReset();
    DestroyWindow(target);
    DestroyWindow(driver);
}

TEST_F(ProbeTest, DefaultWindowProcedure) {
    HWND window = MakeWindow(WS_POPUP, 0, 0, 50, 50);
    struct Case {
        UINT message;
        LRESULT expected;
    } cases[] = {{WM_XBUTTONDOWN, 1},     {WM_XBUTTONUP, 1}, {WM_XBUTTONDBLCLK, 1}, {WM_NCXBUTTONDOWN, 1},
                 {WM_NCXBUTTONDBLCLK, 1}, {2035, 0},         {WM_USER + 7, 0}};
    for (const Case &c : cases) EXPECT_EQ(WndDefaultProc(window, c.message, 0, 0), c.expected) << c.message;

    // Version 3.50's own default procedure sent no context menu on a right-button release, so it is sent here
    // in addition to what the system's default procedure does.
    ClearReceived();
    SendMessageA(window, WM_RBUTTONUP, 0, 0);
    size_t bySystem = received.size();
    SysTestAnswers a = Answers(3, 50, VER_PLATFORM_WIN32_NT);
    SysSetTestAnswers(&a);
    ClearReceived();
    SendMessageA(window, WM_RBUTTONUP, 0, 0x00030004);
    ASSERT_EQ(received.size(), bySystem + 1);
    EXPECT_EQ(received[0], (UINT)WM_CONTEXTMENU);
    EXPECT_EQ(receivedWParam[0], (WPARAM)window);
    DestroyWindow(window);
}

TEST_F(ProbeTest, ProductSuiteIsAnExactEntryMatch) {
    HKEY options;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\ProductOptions", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &options, nullptr),
              ERROR_SUCCESS);
    char saved[512];
    DWORD savedSize = sizeof saved, savedType = 0;
    bool had = RegQueryValueExA(options, "ProductSuite", nullptr, &savedType, (BYTE *)saved, &savedSize) ==
               ERROR_SUCCESS;
    struct Case {
        std::string list;
        const char *suite;
        int expected;
    } cases[] = {
        {std::string("Enterprise\0Terminal Server\0\0", 29), "Terminal Server", 1},
        {std::string("Terminal Server Extra\0\0", 23), "Terminal Server", 0},
        {std::string("Terminal\0\0", 10), "Terminal Server", 0},
        {std::string("\0", 1), "Terminal Server", 0},
        {std::string("Small Business\0Terminal Server", 30), "Terminal Server", 1}, // no terminators
    };
    for (const Case &c : cases) {
        RegSetValueExA(options, "ProductSuite", 0, REG_MULTI_SZ, (const BYTE *)c.list.data(),
                       (DWORD)c.list.size());
        EXPECT_EQ(SysProductSuiteHas(c.suite), c.expected) << c.list;
    }
    if (had)
        RegSetValueExA(options, "ProductSuite", 0, savedType, (const BYTE *)saved, savedSize);
    else
        RegDeleteValueA(options, "ProductSuite");
    RegCloseKey(options);
}

// ---- Monitors

class OneScreenTest : public testing::Test {
protected:
    void SetUp() override {
        SysSetTestMonitorApi(nullptr);
        RectSet(&screen, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    void TearDown() override { SysResetMonitorApi(); }
    RECT screen = {};
};

TEST_F(OneScreenTest, MetricsAndMonitorTests) {
    const int cx = screen.right, cy = screen.bottom;
    EXPECT_EQ(SysGetMetrics(SM_XVIRTUALSCREEN), 0);
    EXPECT_EQ(SysGetMetrics(SM_YVIRTUALSCREEN), 0);
    EXPECT_EQ(SysGetMetrics(SM_CXVIRTUALSCREEN), cx);
    EXPECT_EQ(SysGetMetrics(SM_CYVIRTUALSCREEN), cy);
    EXPECT_EQ(SysGetMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(SysGetMetrics(SM_SAMEDISPLAYFORMAT), 1);
    EXPECT_EQ(SysGetMetrics(SM_CXSCREEN), cx);

    struct PointCase {
        int x, y;
        DWORD flags;
        bool found;
    } points[] = {{0, 0, 0, true},
                  {cx - 1, cy - 1, 0, true},
                  {cx, 0, 0, false},
                  {-1, 5, 0, false},
                  {-1, 5, MONITOR_DEFAULTTONEAREST, true},
                  {5, cy, MONITOR_DEFAULTTOPRIMARY, true}};
    for (const PointCase &p : points)
        EXPECT_EQ(SysMonitorFromPoint(p.x, p.y, p.flags) == SYS_ONE_MONITOR, p.found) << p.x << "," << p.y;

    struct RectCase {
        RECT rect;
        DWORD flags;
        bool found;
    } rects[] = {
        {{10, 10, 50, 50}, 0, true},
        {{-100, -100, 10, 10}, 0, true},
        {{cx - 1, cy - 1, cx + 100, cy + 100}, 0, true},
        {{cx, 0, cx + 100, 100}, 0, false},
        {{0, cy, 100, cy + 100}, 0, false},
        {{-600, -600, -400, -450}, 0, false}, // wholly up and to the left
        {{-600, 10, -1, 100}, 0, false},      // wholly to the left
        {{20, 20, 20, 40}, 0, false},         // empty
        {{-600, -600, -400, -450}, MONITOR_DEFAULTTONEAREST, true},
    };
    for (const RectCase &r : rects)
        EXPECT_EQ(SysMonitorFromRect(&r.rect, r.flags) == SYS_ONE_MONITOR, r.found)
            << r.rect.left << "," << r.rect.top << "," << r.rect.right << "," << r.rect.bottom;
}

TEST_F(OneScreenTest, MonitorInfoAndEnumeration) {
    MONITORINFOEXA info = {};
    info.cbSize = sizeof(MONITORINFO);
    ASSERT_EQ(SysGetMonitorInfo(SYS_ONE_MONITOR, (MONITORINFO *)&info), 1);
    EXPECT_TRUE(EqualRect(&info.rcMonitor, &screen));
    EXPECT_EQ(info.dwFlags, (DWORD)MONITORINFOF_PRIMARY);
    EXPECT_EQ(info.szDevice[0], 0);
    info.cbSize = sizeof info;
    ASSERT_EQ(SysGetMonitorInfo(SYS_ONE_MONITOR, (MONITORINFO *)&info), 1);
    EXPECT_STREQ(info.szDevice, "DISPLAY");
    info.cbSize = sizeof(MONITORINFO) - 1;
    EXPECT_EQ(SysGetMonitorInfo(SYS_ONE_MONITOR, (MONITORINFO *)&info), 0);
    info.cbSize = sizeof info;
    EXPECT_EQ(SysGetMonitorInfo((HMONITOR)(intptr_t)0x1234, (MONITORINFO *)&info), 0);

    RECT out;
    EXPECT_EQ(MonitorGetRect(SYS_ONE_MONITOR, &out), 1);
    EXPECT_TRUE(EqualRect(&out, &screen));
    RECT zero = {};
    EXPECT_EQ(MonitorGetRect(nullptr, &out), 0);
    EXPECT_TRUE(EqualRect(&out, &zero));

    static std::vector<RECT> seen;
    auto record = [](HMONITOR monitor, HDC, LPRECT rect, LPARAM data) -> BOOL {
        EXPECT_EQ(monitor, SYS_ONE_MONITOR);
        EXPECT_EQ(data, 42);
        seen.push_back(*rect);
        return TRUE;
    };
    seen.clear();
    RECT clip = {-50, 100, 200, 300};
    EXPECT_EQ(SysEnumMonitors(nullptr, &clip, record, 42), 1);
    ASSERT_EQ(seen.size(), 1u);
    RECT expected = {0, 100, 200, 300};
    EXPECT_TRUE(EqualRect(&seen[0], &expected));
    seen.clear();
    RECT outside = {-50, -50, -10, -10};
    EXPECT_EQ(SysEnumMonitors(nullptr, &outside, record, 42), 1);
    EXPECT_TRUE(seen.empty());
}

TEST_F(OneScreenTest, WindowsOffScreenAreBroughtBack) {
    struct Case {
        const char *name;
        int x, y;
        bool moved;
    } cases[] = {
        {"on screen", 50, 60, false},
        {"partly off to the right", screen.right - 100, 60, false},
        {"off to the right", screen.right + 50, 60, true},
        {"off below", 50, screen.bottom + 10, true},
        {"off up and left", -600, -600, true},
        {"off to the left", -400, 60, true},
        {"only the border on screen", screen.right - 10, 60, true},
    };
    for (const Case &c : cases) {
        HWND window = MakeWindow(WS_POPUP, c.x, c.y, 200, 150);
        WndEnsureVisible(window);
        RECT rect;
        GetWindowRect(window, &rect);
        int place = 100 + (int)((uintptr_t)window % 20) * 10;
        EXPECT_EQ(rect.left, c.moved ? place : c.x) << c.name;
        EXPECT_EQ(rect.top, c.moved ? place : c.y) << c.name;
        EXPECT_EQ(RectWidth(&rect), 200) << c.name;
        EXPECT_EQ(RectHeight(&rect), 150) << c.name;
        DestroyWindow(window);
    }
}

TEST_F(OneScreenTest, RectanglesOffScreenAreCentredInTheWorkArea) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT onScreen = {10, 20, 110, 70};
    RECT rect = onScreen;
    RectEnsureOnScreen(&rect);
    EXPECT_TRUE(EqualRect(&rect, &onScreen));
    RectSet(&rect, -500, -500, -400, -450);
    RectEnsureOnScreen(&rect);
    EXPECT_EQ(rect.left, (RectWidth(&work) - 100 + 1) / 2);
    EXPECT_EQ(rect.top, (RectHeight(&work) - 50 + 1) / 2);
    EXPECT_EQ(RectWidth(&rect), 100);
    Xywh xywh = {screen.right + 10, 0, 101, 51};
    RectXywhEnsureOnScreen(&xywh);
    EXPECT_EQ(xywh.x, (RectWidth(&work) - 101 + 1) / 2);
    EXPECT_EQ(xywh.w, 101);
    EXPECT_EQ(xywh.h, 51);

    RectSet(&rect, 0, 0, 0, 0);
    WndGetWorkArea(nullptr, &rect);
    EXPECT_TRUE(EqualRect(&rect, &work));
    MonitorRectFromPoint(-5000, -5000, &rect);
    EXPECT_TRUE(EqualRect(&rect, &screen)); // the nearest monitor is the screen
    WndGetRect(nullptr, &rect);
    EXPECT_TRUE(EqualRect(&rect, &screen));
}

// Two monitors side by side, 1280 by 1024 each, through the seam.
const RECT kLeftMonitor = {0, 0, 1280, 1024};
const RECT kRightMonitor = {1280, 0, 2560, 1024};
HMONITOR const kLeft = (HMONITOR)(intptr_t)1;
HMONITOR const kRight = (HMONITOR)(intptr_t)2;

// The monitor sharing the most of the rectangle; with a default flag the nearer one.
HMONITOR TwoFromRect(const RECT *rect, DWORD flags) {
    RECT left, right;
    long onLeft = IntersectRect(&left, rect, &kLeftMonitor) ? RectWidth(&left) * RectHeight(&left) : 0;
    long onRight = IntersectRect(&right, rect, &kRightMonitor) ? RectWidth(&right) * RectHeight(&right) : 0;
    if (onLeft || onRight) return onRight > onLeft ? kRight : kLeft;
    if (!flags) return nullptr;
    return rect->left >= 1280 ? kRight : kLeft;
}

int WINAPI TwoMetrics(int index) {
    return index == SM_CMONITORS ? 2 : index == SM_CXVIRTUALSCREEN ? 2560 : GetSystemMetrics(index);
}
HMONITOR WINAPI TwoFromRectApi(LPCRECT rect, DWORD flags) {
    return TwoFromRect(rect, flags);
}
HMONITOR WINAPI TwoFromPoint(POINT point, DWORD flags) {
    RECT rect = {point.x, point.y, point.x + 1, point.y + 1};
    return TwoFromRect(&rect, flags);
}
HMONITOR WINAPI TwoFromWindow(HWND window, DWORD flags) {
    RECT rect;
    GetWindowRect(window, &rect);
    return TwoFromRect(&rect, flags);
}
BOOL WINAPI TwoInfo(HMONITOR monitor, LPMONITORINFO info) {
    if (monitor != kLeft && monitor != kRight) return FALSE;
    info->rcMonitor = monitor == kLeft ? kLeftMonitor : kRightMonitor;
    info->rcWork = info->rcMonitor;
    info->rcWork.bottom -= 40;
    info->dwFlags = monitor == kLeft ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}
BOOL WINAPI TwoEnum(HDC dc, LPCRECT, MONITORENUMPROC callback, LPARAM data) {
    RECT left = kLeftMonitor, right = kRightMonitor;
    return callback(kLeft, dc, &left, data) && callback(kRight, dc, &right, data);
}
BOOL WINAPI TwoDevices(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD) {
    return FALSE;
}

TEST(TwoMonitors, RectanglesFollowTheirMonitor) {
    SysMonitorApi api = {TwoMetrics, TwoFromWindow, TwoFromRectApi, TwoFromPoint,
                         TwoEnum,    TwoInfo,       TwoDevices};
    SysSetTestMonitorApi(&api);
    EXPECT_EQ(SysGetMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(SysGetMetrics(SM_CXVIRTUALSCREEN), 2560);

    RECT rect;
    MonitorRectFromPoint(1500, 10, &rect);
    EXPECT_TRUE(EqualRect(&rect, &kRightMonitor));
    MonitorRectFromPoint(9000, 10, &rect);
    EXPECT_TRUE(EqualRect(&rect, &kRightMonitor));

    // On the right monitor a rectangle is on screen; the one-screen test would have moved it.
    RECT onRight = {1400, 100, 1600, 300};
    rect = onRight;
    RectEnsureOnScreen(&rect);
    EXPECT_TRUE(EqualRect(&rect, &onRight));
    EXPECT_TRUE(RectIsOnScreen(&onRight));
    RECT beyond = {3000, 100, 3200, 300};
    EXPECT_FALSE(RectIsOnScreen(&beyond));

    HWND window = MakeWindow(WS_POPUP, 1400, 100, 200, 150);
    WndEnsureVisible(window);
    Xywh where;
    WndGetOriginSize(window, &where);
    EXPECT_EQ(where.x, 1400);
    WndMonitorRect(window, &rect);
    EXPECT_TRUE(EqualRect(&rect, &kRightMonitor));
    WndGetWorkArea(window, &rect);
    EXPECT_EQ(rect.bottom, 1024 - 40);
    DestroyWindow(window);

    int count = 0;
    SysEnumMonitors(
        nullptr, nullptr,
        [](HMONITOR, HDC, LPRECT, LPARAM data) -> BOOL {
            ++*(int *)data;
            return TRUE;
        },
        (LPARAM)&count);
    EXPECT_EQ(count, 2);
    SysResetMonitorApi();
}

// ---- Rectangles and points

TEST(Rect, HelpersTable) {
    RECT r;
    RectSet(&r, 10, 20, 30, 40);
    struct Contains {
        int x, y;
        int expected;
    } contains[] = {{10, 20, 1}, {29, 39, 1}, {30, 20, 0}, {10, 40, 0}, {9, 25, 0}};
    for (const Contains &c : contains) EXPECT_EQ(RectContains(&r, c.x, c.y), c.expected) << c.x << "," << c.y;

    struct Overlap {
        RECT other;
        int expected;
    } overlaps[] = {{{29, 39, 50, 50}, 1}, {{30, 20, 50, 40}, 0}, {{0, 0, 10, 20}, 0}, {{15, 0, 16, 100}, 1}};
    for (const Overlap &o : overlaps) EXPECT_EQ(RectIntersects(&r, &o.other), o.expected);
    EXPECT_EQ(SpanOverlap(0, 10, 10, 20), 0);
    EXPECT_EQ(SpanOverlap(0, 10, 9, 20), 1);
    EXPECT_EQ(SpanOverlap(5, 6, 0, 100), 1);

    struct Center {
        int width, height;
        RECT outer;
        int x, y;
    } centers[] = {{30, 10, {0, 0, 100, 50}, 35, 20},
                   {31, 11, {0, 0, 100, 50}, 35, 20},
                   {30, 10, {500, 500, 600, 550}, 35, 20}, // the outer origin is not added
                   {150, 10, {0, 0, 100, 50}, -24, 20}};
    for (const Center &c : centers) {
        RECT rect = {7, 7, 7 + c.width, 7 + c.height};
        RectCenterIn(&rect, &c.outer);
        EXPECT_EQ(rect.left, c.x);
        EXPECT_EQ(rect.top, c.y);
        EXPECT_EQ(RectWidth(&rect), c.width);
        EXPECT_EQ(RectHeight(&rect), c.height);
    }

    RECT u = {};
    RECT a = {10, 10, 20, 20}, b = {5, 15, 12, 30}, empty = {50, 50, 50, 60};
    RectUnion(&u, &a);
    RectUnion(&u, &empty);
    RectUnion(&u, &b);
    RECT expected = {5, 10, 20, 30};
    EXPECT_TRUE(EqualRect(&u, &expected));

    RECT moved = a;
    RectInset(&moved, 2, 3);
    RECT inset = {12, 13, 18, 17};
    EXPECT_TRUE(EqualRect(&moved, &inset));
    RectOffset(&moved, -12, 1);
    RectMoveTo(&moved, 100, 200);
    RECT at = {100, 200, 106, 204};
    EXPECT_TRUE(EqualRect(&moved, &at));
    Xywh xywh;
    RectToOriginSize(&at, &xywh);
    EXPECT_EQ(xywh.w, 6);
    RectFromOriginSize(&moved, &xywh);
    EXPECT_TRUE(EqualRect(&moved, &at));

    struct Clamp {
        POINT in, out;
    } clamps[] = {{{0, 0}, {10, 20}}, {{100, 100}, {29, 39}}, {{15, 25}, {15, 25}}};
    for (const Clamp &c : clamps) {
        POINT p = c.in;
        PointClampToRect(&p, &r);
        EXPECT_EQ(p.x, c.out.x);
        EXPECT_EQ(p.y, c.out.y);
    }

    POINT p = PointFromLParam((LPARAM)PackWords(-3, -40));
    EXPECT_EQ(p.x, -3);
    EXPECT_EQ(p.y, -40);
    EXPECT_EQ(PackWords(-1, 2), 0x0002FFFFu);
    EXPECT_EQ(PackWords(0x12345, 1), 0x00012345u);
}

// ---- Windows

TEST(Wnd, TextAncestryStateAndProcess) {
    std::string longTitle(300, 't');
    HWND window = MakeWindow(WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, "abcdef");
    HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, window);
    struct Case {
        int size;
        std::string expected;
    } cases[] = {{5, "abc"}, {2, ""}, {1, ""}, {0, "unchanged"}, {300, "abcdef"}};
    for (const Case &c : cases) {
        unsigned char pstr[400];
        memcpy(pstr, "\x09unchanged", 10);
        WndGetTextPstr(window, pstr, c.size);
        EXPECT_EQ(std::string((char *)pstr + 1, pstr[0]), c.expected) << c.size;
    }
    SetWindowTextA(window, longTitle.c_str());
    unsigned char pstr[400];
    WndGetTextPstr(window, pstr, sizeof pstr);
    EXPECT_EQ(pstr[0], 255);

    EXPECT_EQ(WndIsAncestor(window, child), 1);
    EXPECT_EQ(WndIsAncestor(window, window), 1);
    EXPECT_EQ(WndIsAncestor(child, window), 0);
    EXPECT_EQ(WndInOwnProcess(window), 1);
    EXPECT_EQ(WndInOwnProcess(nullptr), 0);
    EXPECT_EQ(WndGetProc(window), (WNDPROC)RecordingProc);

    struct Show {
        int state, expected;
    } shows[] = {{2, 2}, {0, 0}, {1, 1}, {0, 0}, {7, 0}};
    for (const Show &s : shows) {
        WndShowByState(window, s.state);
        EXPECT_EQ(WndShowState(window), s.expected) << s.state;
    }
    WndShow(window, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    DestroyWindow(window);
}

TEST(Wnd, ParentMessagesAndPlacement) {
    HWND parent = MakeWindow(WS_POPUP, 100, 100, 300, 200);
    Xywh childPos = {10, 20, 50, 40};
    HWND child = WndCreateEx(0, "vxWinTest", "", WS_CHILD | WS_VISIBLE, &childPos, parent, nullptr);
    SetWindowLongPtrA(child, GWLP_ID, 77);
    ClearReceived();
    WndNotifyParent(child, 5);
    WndCommandParent(child, 9, 0);
    WndCommandParent(child, 9, 1234);
    WndForwardMouseToParent(child, WM_LBUTTONDOWN, MK_LBUTTON, (LPARAM)PackWords(5, 6));
    ASSERT_EQ(received.size(), 4u);
    EXPECT_EQ(received[0], (UINT)WM_COMMAND);
    EXPECT_EQ(receivedWParam[0], (WPARAM)((5 << 16) | 77));
    EXPECT_EQ(receivedLParam[0], (LPARAM)child);
    EXPECT_EQ(receivedLParam[1], (LPARAM)child);
    EXPECT_EQ(receivedLParam[2], 1234);
    EXPECT_EQ(received[3], (UINT)WM_LBUTTONDOWN);
    EXPECT_EQ(receivedLParam[3], (LPARAM)PackWords(15, 26));

    // Relative to the MDI client's client area when there is one, else the frame's.
    HWND client = MakeWindow(WS_CHILD | WS_VISIBLE, 30, 40, 200, 100, parent);
    HWND inner = MakeWindow(WS_CHILD | WS_VISIBLE, 7, 8, 20, 20, client);
    RECT rect;
    WndSetAppWindows(parent, client);
    WndGetRectInFrame(inner, &rect);
    EXPECT_EQ(rect.left, 7);
    EXPECT_EQ(rect.top, 8);
    WndSetAppWindows(parent, nullptr);
    WndGetRectInFrame(inner, &rect);
    EXPECT_EQ(rect.left, 37);
    EXPECT_EQ(rect.bottom, 68);
    WndSetAppWindows(nullptr, nullptr);

    Xywh pos = {120, 130, 90, 80};
    WndSetPosXywh(parent, &pos);
    Xywh got;
    WndGetOriginSize(parent, &got);
    EXPECT_EQ(got.x, 120);
    EXPECT_EQ(got.h, 80);
    EXPECT_EQ(WndGetWidth(parent), 90);
    RECT moveTo = {10, 10, 60, 30};
    WndMoveRect(parent, &moveTo, 1);
    WndGetClientSize(parent, &got);
    EXPECT_EQ(got.w, 50);
    EXPECT_EQ(got.h, 20);
    RECT screenRect = {0, 0, 5, 5};
    WndClientToScreenRect(parent, &screenRect);
    EXPECT_EQ(screenRect.left, 10);
    WndScreenToClientRect(parent, &screenRect);
    EXPECT_EQ(screenRect.left, 0);
    Xywh sx = {15, 15, 1, 1};
    WndScreenToClientXywh(parent, &sx);
    EXPECT_EQ(sx.x, 5);
    DestroyWindow(parent);
}

// A quit request met by a pump inside long work stays for the main loop.
TEST(Wnd, PumpDispatchesAndKeepsTheQuitRequest) {
    HWND window = MakeWindow(WS_POPUP, 0, 0, 10, 10);
    DrainQueue();
    ClearReceived();
    PostMessageA(window, WM_USER + 3, 0, 0);
    PostQuitMessage(7);
    PumpMessages();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], (UINT)WM_USER + 3);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    DestroyWindow(window);
    DrainQueue();
}

TEST(Wnd, WaitCursorNests) {
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW), wait = LoadCursor(nullptr, IDC_WAIT);
    SetCursor(arrow);
    WaitCursor();
    EXPECT_EQ(GetCursor(), wait);
    WaitCursor();
    WaitCursorOff();
    EXPECT_EQ(GetCursor(), wait);
    WaitCursorOff();
    EXPECT_EQ(GetCursor(), arrow);

    WaitCursorHold();
    WaitCursor();
    EXPECT_EQ(GetCursor(), arrow);
    WaitCursorOff();
    WaitCursorRelease();

    BackgroundWorkBegin();
    WaitCursor();
    EXPECT_EQ(GetCursor(), arrow);
    WaitCursorOff();
    BackgroundWorkEnd();

    // Background work that starts inside the bracket does not strand the wait cursor.
    WaitCursor();
    BackgroundWorkBegin();
    WaitCursorOff();
    BackgroundWorkEnd();
    EXPECT_EQ(GetCursor(), arrow);

    CursorSetHelp();
    EXPECT_NE(GetCursor(), arrow);
    CursorSet(arrow);
    EXPECT_EQ(GetCursor(), arrow);
    CursorFreeHelp();
}

} // namespace
