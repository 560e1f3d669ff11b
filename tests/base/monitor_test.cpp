// Monitors: without multi-monitor support the screen is the one monitor (metrics, monitor tests of points
// and rectangles, its information and enumeration, windows and rectangles off screen brought back or centred
// in the work area); with two monitors side by side through the seam, rectangles and windows follow their
// monitor; one reset puts the system's functions back.
#include "base/monitor.h"
#include "base/rect.h"
#include "base/seam.h"
#include "base/wnd.h"
#include "base/wndtest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class MonitorOneScreen : public testing::Test {
protected:
    void SetUp() override {
        SysSetTestMonitorApi(nullptr);
        RectSet(&screen, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    void TearDown() override { SysResetMonitorApi(); }
    RECT screen = {};
};

TEST_F(MonitorOneScreen, MetricsAndMonitorTests) {
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

TEST_F(MonitorOneScreen, MonitorInfoAndEnumeration) {
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

TEST_F(MonitorOneScreen, WindowsOffScreenAreBroughtBack) {
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
        HWND window = WtMakeWindow(WS_POPUP, c.x, c.y, 200, 150);
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

TEST_F(MonitorOneScreen, RectanglesOffScreenAreCentredInTheWorkArea) {
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

TEST(MonitorTwoScreens, RectanglesFollowTheirMonitor) {
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

    HWND window = WtMakeWindow(WS_POPUP, 1400, 100, 200, 150);
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

TEST(MonitorTwoScreens, OneResetPutsTheSystemsFunctionsBack) {
    SysMonitorApi api = {TwoMetrics, TwoFromWindow, TwoFromRectApi, TwoFromPoint,
                         TwoEnum,    TwoInfo,       TwoDevices};
    SysSetTestMonitorApi(&api);
    ASSERT_EQ(SysGetMetrics(SM_CMONITORS), 2);
    SeamResetAll();
    EXPECT_EQ(SysGetMetrics(SM_CMONITORS), GetSystemMetrics(SM_CMONITORS));
}

} // namespace
