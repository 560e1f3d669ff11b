// The drawing layer:
// - start-up: metrics against the device, the program's cursors and marble bitmap by colour depth, the hand
//   cursor by system version, the wait cursor's hourglass, monitors by "MultiMonitor" and count (the list's
//   capacity), the 3-D control library on version 3 only with all eight entries;
// - drawing into a DIB section: gradients or solid fills, the background rules, check boxes themed and
//   drawn, shadow boxes at both colour depths;
// - scrolling: past the rectangle only an invalidation, smooth steps from the scroll clock, the 250 ms rule;
// - transparency and layered windows, the segment hit test, the off-screen buffer (no buffer in a remote
//   session or on several monitors), line tracking and the zoom animation through scripted input and the
//   tick clock, unit conversions with and without a printer.
#include "ui/draw.h"

#include "base/reg.h"
#include "base/tick.h"
#include "base/waitcur.h"
#include "ui/bmp.h"
#include "ui/color.h"
#include "ui/theme.h"
#include "ui/track.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class DrawTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(DrawInit(nullptr)); }
    void TearDown() override {
        DrawExit();
        DrawSetSmoothScroll(false);
        DrawSetAnimation(false);
        DrawSetGradients(false);
        TickSetClock(nullptr, nullptr);
        BmpTerm();
    }
    void Restart(HKEY key = nullptr) {
        DrawExit();
        ASSERT_TRUE(DrawInit(key));
    }
};

// The tick clock: each read answers the next time of the list, the last one once the list is used up.
std::vector<uint32_t> clockTimes;
size_t clockNext;
uint32_t ListedTicks() {
    uint32_t t = clockTimes[clockNext < clockTimes.size() ? clockNext : clockTimes.size() - 1];
    if (clockNext < clockTimes.size()) clockNext++;
    return t;
}
void ClockPlays(std::vector<uint32_t> times) {
    clockTimes = std::move(times);
    clockNext = 0;
    TickSetClock(ListedTicks, nullptr);
}

uint32_t steppingNow;
uint32_t SteppingTicks() {
    return ++steppingNow;
}

} // namespace

// ---- Start-up

TEST_F(DrawTest, MetricsAgreeWithDevice) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(drawMetrics.dpiX, GetDeviceCaps(screen, LOGPIXELSX));
    EXPECT_EQ(drawMetrics.dpiY, GetDeviceCaps(screen, LOGPIXELSY));
    EXPECT_EQ(drawMetrics.halfDpiX, drawMetrics.dpiX / 2);
    int bits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
    EXPECT_EQ(drawMetrics.colors, bits >= 32 ? 0xFFFFFFFFu : 1u << bits);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(drawMetrics.screenWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(drawMetrics.screenHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NE(drawMetrics.scratchDC, nullptr);
    EXPECT_EQ(DrawGetDC(DRAW_SCREEN), drawMetrics.scratchDC);
    EXPECT_GE(drawMetrics.guiFontHeight, 4);
    EXPECT_GT(drawMetrics.nWidth, 0);
    EXPECT_GT(drawMetrics.blankWidth, 0);
    EXPECT_EQ(drawMetrics.colorBtnFace, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(drawMetrics.colorGrayText, GetSysColor(COLOR_GRAYTEXT));
    EXPECT_NE(drawMetrics.guiFontDesc.face[0], 0);
    EXPECT_GT(drawMetrics.guiFontDesc.size, 0);
    for (HCURSOR cursor : {drawMetrics.cursorBackArrow, drawMetrics.cursorDrag, drawMetrics.cursorDragAdd,
                           drawMetrics.cursorNoAccess, drawMetrics.cursorLineIns, drawMetrics.cursorHand})
        EXPECT_NE(cursor, nullptr);
    EXPECT_NE(drawMetrics.bmpSizeBox, nullptr);
    EXPECT_TRUE(DrawIsHiColor());
    EXPECT_EQ(drawMetrics.bmpMarble, BmpGet("bmpMarbleHi"));
}

TEST_F(DrawTest, FewColoursTakeLowMarble) {
    DrawSetTestColorCount(256);
    Restart();
    EXPECT_FALSE(DrawIsHiColor());
    EXPECT_EQ(drawMetrics.bmpMarble, BmpGet("bmpMarbleLow"));
}

TEST_F(DrawTest, HandCursorFrom98And2000) {
    UiSystemVersion(4, 0);
    Restart();
    EXPECT_EQ(drawMetrics.cursorHand, nullptr);
    UiSystemVersion(5, 0);
    Restart();
    EXPECT_NE(drawMetrics.cursorHand, nullptr);
}

TEST_F(DrawTest, WaitCursorIsMetricsHourglass) {
    const WaitCursorHooks hooks = {DrawWaitCursor, nullptr}; // as start-up registers them
    WaitCursorSetHooks(&hooks);
    HCURSOR before = SetCursor(drawMetrics.cursorArrow);
    drawMetrics.cursorWait = drawMetrics.cursorDrag;
    WaitCursor();
    EXPECT_EQ(GetCursor(), drawMetrics.cursorDrag);
    WaitCursorOff();
    EXPECT_EQ(GetCursor(), drawMetrics.cursorArrow);
    SetCursor(before);
}

TEST_F(DrawTest, MonitorsBySettingAndCount) {
    struct Case {
        int monitors;
        int setting; // -1: no "MultiMonitor" value
        bool multi;
        int count;
    } cases[] = {{2, 0, false, 1},
                 {2, -1, true, 2},
                 {1, -1, false, 1},
                 {2, 1, true, 2},
                 {DRAW_MONITORS_MAX + 4, -1, true, DRAW_MONITORS_MAX}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.monitors << " monitors, setting " << c.setting);
        UiFakeMonitors(c.monitors);
        HKEY key = UiTestKey();
        if (c.setting >= 0) RegSetInt(key, "MultiMonitor", c.setting);
        Restart(key);
        EXPECT_EQ(drawMetrics.multiMonitor, c.multi);
        ASSERT_EQ(drawMetrics.monitorCount, c.count);
        const RECT &last = drawMetrics.monitors[c.count - 1];
        if (c.multi) {
            EXPECT_EQ(last.left, (c.count - 1) * 640);
            EXPECT_EQ(last.right, c.count * 640);
        } else {
            EXPECT_EQ(last.right, drawMetrics.screenWidth);
            EXPECT_EQ(last.bottom, drawMetrics.screenHeight);
        }
    }
}

namespace {

int ctl3dRegisters, ctl3dUnregisters, ctl3dSubclasses;
BOOL WINAPI FakeRegister(HINSTANCE) {
    ctl3dRegisters++;
    return TRUE;
}
BOOL WINAPI FakeUnregister(HINSTANCE) {
    ctl3dUnregisters++;
    return TRUE;
}
BOOL WINAPI FakeAutoSubclass(HINSTANCE) {
    ctl3dSubclasses++;
    return TRUE;
}
BOOL WINAPI FakeSubclassDlg(HWND, WORD) {
    return TRUE;
}
HBRUSH WINAPI FakeCtlColor(UINT, WPARAM, LPARAM) {
    return nullptr;
}
BOOL WINAPI FakeColorChange() {
    return TRUE;
}
LONG WINAPI FakeFramePaint(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}
BOOL WINAPI FakeSubclassDlgEx(HWND, DWORD) {
    return TRUE;
}

DrawLibraries AllCtl3d() {
    DrawLibraries libraries = {};
    libraries.ctl3d = {FakeRegister, FakeUnregister,  FakeAutoSubclass, FakeSubclassDlg,
                       FakeCtlColor, FakeColorChange, FakeFramePaint,   FakeSubclassDlgEx};
    return libraries;
}

} // namespace

TEST_F(DrawTest, Ctl3dOnlyOnVersion3WithEveryEntry) {
    struct Case {
        uint32_t major;
        int missing; // index of the entry left out, -1 none
        bool used;
    } cases[] = {{3, 2, false}, {3, 7, false}, {3, -1, true}, {4, -1, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.major << ", missing " << c.missing);
        DrawExit();
        ctl3dRegisters = ctl3dUnregisters = ctl3dSubclasses = 0;
        static DrawLibraries libraries;
        libraries = AllCtl3d();
        if (c.missing >= 0) ((void (**)()) & libraries.ctl3d)[c.missing] = nullptr;
        DrawSetTestLibraries(&libraries);
        UiSystemVersion(c.major, 51);
        ASSERT_TRUE(DrawInit(nullptr));
        EXPECT_EQ(DrawCtl3d() != nullptr, c.used);
        EXPECT_EQ(ctl3dRegisters, c.used ? 1 : 0);
        EXPECT_EQ(ctl3dSubclasses, c.used ? 1 : 0);
        DrawExit();
        DrawExit();
        EXPECT_EQ(ctl3dUnregisters, c.used ? 1 : 0);
        EXPECT_EQ(DrawCtl3d(), nullptr);
        ASSERT_TRUE(DrawInit(nullptr));
    }
}

// ---- Drawing

TEST_F(DrawTest, GradientsOrSolidFills) {
    struct Case {
        const char *name;
        uint32_t colors;
        int remote; // 0 none, 1 remote session, 2 remote session with "RemoteNoColorGrad"
        bool on;
        bool gradient;
    } cases[] = {
        {"true colour", 0, 0, true, true},
        {"256 colours", 256, 0, true, false},
        {"gradients off", 0, 0, false, false},
        {"remote session", 0, 1, true, true},
        {"remote without gradients", 0, 2, true, false},
    };
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DrawSetTestColorCount(c.colors);
        if (c.remote == 1) UiRemoteSession();
        if (c.remote == 2) UiRemoteSession({{"RemoteNoColorGrad", 1}});
        Restart();
        DrawSetGradients(c.on);
        EXPECT_EQ(DrawCanGradient(), c.gradient);
        UiCanvas canvas(100, 10);
        RECT rect = {0, 0, 100, 10};
        DrawGradientH(canvas.dc(), &rect, red, blue);
        EXPECT_TRUE(ColorNear(canvas.Pixel(0, 5), red));
        EXPECT_EQ(ColorNear(canvas.Pixel(99, 5), blue), c.gradient);
        EXPECT_EQ(canvas.Pixel(99, 5) == red, !c.gradient);
        DrawGradientPart(canvas.dc(), &rect, red, blue, DRAW_GRADIENT_H, 0, 30);
        EXPECT_EQ(canvas.Pixel(60, 5), c.gradient ? blue : red);
        UiRestore();
    }
}

namespace {

bool texturesOn;
bool TexturesHook() {
    return texturesOn;
}

int themeOpens;
bool themePartDefined;
std::vector<int> themeParts, themeStates;
HTHEME WINAPI FakeOpen(HWND, LPCWSTR) {
    return themeOpens > 0 ? (themeOpens++, (HTHEME)1) : nullptr;
}
HRESULT WINAPI FakeClose(HTHEME) {
    return S_OK;
}
BOOL WINAPI FakePartDefined(HTHEME, int, int) {
    return themePartDefined;
}
HRESULT WINAPI FakeDrawBackground(HTHEME, HDC dc, int part, int state, const RECT *rect, const RECT *) {
    themeParts.push_back(part);
    themeStates.push_back(state);
    DrawFillRect(dc, rect, RGB(0, 128, 0));
    return S_OK;
}

ThemeCalls FakeTheme() {
    ThemeCalls calls = {};
    calls.openThemeData = FakeOpen;
    calls.closeThemeData = FakeClose;
    calls.isThemePartDefined = FakePartDefined;
    calls.drawThemeBackground = FakeDrawBackground;
    return calls;
}

void UseFakeTheme(bool opens, bool partDefined) {
    static ThemeCalls calls;
    calls = FakeTheme();
    ThemeSetTestLibrary(&calls);
    ThemeLoad();
    themeOpens = opens ? 1 : 0;
    themePartDefined = partDefined;
    themeParts.clear();
    themeStates.clear();
}

} // namespace

TEST_F(DrawTest, BackgroundRules) {
    HWND window = UiShownPopup(0, 0, 100, 40);
    UiCanvas canvas(100, 40, RGB(1, 2, 3)), marble(64, 64);
    RECT rect = {0, 0, 100, 40};
    COLORREF face = drawMetrics.colorBtnFace;
    DrawBitmap(marble.dc(), drawMetrics.bmpMarble, 0, 0, SRCCOPY);
    DrawSetTexturesHook(TexturesHook);
    DrawSetGradients(true);

    texturesOn = true;
    ASSERT_TRUE(WndSetTransparency(window, 50));
    DrawBackgroundEx(canvas.dc(), L"REBAR", 3, nullptr, &rect, true);
    EXPECT_EQ(canvas.Pixel(50, 20), RGB(255, 255, 255)) << "layered window";
    WndSetTransparency(window, 0);

    DrawBackgroundEx(canvas.dc(), L"REBAR", 3, nullptr, &rect, true);
    EXPECT_EQ(canvas.Pixel(70, 5), marble.Pixel(6, 5)) << "textures";
    texturesOn = false;

    UseFakeTheme(true, false);
    DrawBackgroundEx(canvas.dc(), L"REBAR", 3, nullptr, &rect, true);
    EXPECT_EQ(canvas.Pixel(50, 20), RGB(0, 128, 0)) << "theme";
    themePartDefined = true;
    DrawRebarBackground(canvas.dc(), &rect);
    EXPECT_EQ(themeParts, (std::vector<int>{0, 3}));
    EXPECT_EQ(themeStates, (std::vector<int>{1, 1}));

    UseFakeTheme(false, true);
    DrawBackgroundEx(canvas.dc(), L"REBAR", 3, nullptr, &rect, true);
    EXPECT_EQ(canvas.Pixel(0, 20), face) << "theme that does not open";
    EXPECT_EQ(canvas.Pixel(99, 20), face);
    ThemeUnload();

    DrawBackgroundEx(canvas.dc(), L"REBAR", 3, nullptr, &rect, true);
    EXPECT_TRUE(ColorNear(canvas.Pixel(0, 20), ColorScale(face, 110))) << "gradient";
    EXPECT_TRUE(ColorNear(canvas.Pixel(99, 20), ColorScale(face, 90)));

    DrawBackgroundEx(canvas.dc(), L"REBAR", 3, nullptr, &rect, false);
    EXPECT_EQ(canvas.Pixel(0, 20), face) << "button face";
}

TEST_F(DrawTest, CheckBoxDrawnOrThemed) {
    struct Case {
        DrawCheckState state;
        COLORREF centre; // on the cross when there is one
        COLORREF beside; // off both diagonals
    } cases[] = {{DRAW_CHECK_CLEAR, RGB(255, 255, 255), RGB(255, 255, 255)},
                 {DRAW_CHECK_CHECKED, RGB(0, 0, 0), RGB(255, 255, 255)},
                 {DRAW_CHECK_MIXED, RGB(0, 0, 0), RGB(192, 192, 192)}};
    for (const Case &c : cases) {
        UiCanvas canvas(13, 13);
        DrawCheckBox(canvas.dc(), 0, 0, 13, c.state);
        EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 0)) << c.state;
        EXPECT_EQ(canvas.Pixel(6, 6), c.centre) << c.state;
        EXPECT_EQ(canvas.Pixel(6, 3), c.beside) << c.state;
    }
    UseFakeTheme(true, true);
    themeOpens = 1;
    UiCanvas canvas(13, 13);
    for (const Case &c : cases) DrawCheckBox(canvas.dc(), 0, 0, 13, c.state);
    EXPECT_EQ(themeParts, (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(themeStates, (std::vector<int>{1, 5, 9}));
}

TEST_F(DrawTest, OutlinesLinesAndTiles) {
    const COLORREF white = RGB(255, 255, 255);
    UiCanvas canvas(40, 40);
    RECT box = {0, 0, 10, 10};
    Draw3DRectEx(canvas.dc(), &box, true);
    EXPECT_EQ(canvas.Pixel(0, 5), drawMetrics.colorBtnShadow);
    EXPECT_EQ(canvas.Pixel(5, 0), drawMetrics.colorBtnShadow);
    EXPECT_EQ(canvas.Pixel(9, 5), drawMetrics.colorBtnHighlight);
    EXPECT_EQ(canvas.Pixel(5, 9), drawMetrics.colorBtnHighlight);
    RECT empty = {20, 20, 20, 30};
    DrawRectOutline(canvas.dc(), &empty);
    EXPECT_EQ(canvas.Pixel(20, 25), white);
    DrawDottedLineH(canvas.dc(), 12, 15, 17, RGB(0, 0, 255));
    for (int x = 12; x < 18; x++)
        EXPECT_EQ(canvas.Pixel(x, 15), x % 2 == 0 && x < 17 ? RGB(0, 0, 255) : white) << x;
    RECT tile = {20, 0, 40, 10};
    DrawTileBitmap(canvas.dc(), &tile, nullptr, SRCCOPY);
    EXPECT_EQ(canvas.Pixel(30, 5), RGB(192, 192, 192));
    HBITMAP stretched = BitmapStretchCopy(drawMetrics.bmpMarble, 20, 30);
    int32_t width = 0, height = 0;
    EXPECT_TRUE(BitmapGetSize(stretched, &width, &height));
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 30);
    DeleteObject(stretched);
}

TEST_F(DrawTest, ShadowBoxAtBothDepths) {
    const COLORREF white = RGB(255, 255, 255), fill = RGB(255, 0, 0), shadow = RGB(0, 0, 255);
    for (uint32_t colors : {0u, 256u}) {
        SCOPED_TRACE(colors);
        DrawSetTestColorCount(colors);
        Restart();
        UiCanvas canvas(60, 50);
        RECT rect = {10, 10, 50, 40};
        DrawShadowBox(canvas.dc(), &rect, fill, shadow);
        EXPECT_EQ(canvas.Pixel(20, 20), fill);
        EXPECT_EQ(canvas.Pixel(10, 10), RGB(0, 0, 0));
        bool hi = colors == 0;
        EXPECT_EQ(canvas.Pixel(20, 40), hi ? RGB(96, 96, 96) : shadow);
        EXPECT_EQ(canvas.Pixel(20, 41), hi ? RGB(128, 128, 128) : shadow);
        EXPECT_EQ(canvas.Pixel(50, 20), hi ? RGB(96, 96, 96) : shadow);
        EXPECT_EQ(canvas.Pixel(51, 20), hi ? RGB(128, 128, 128) : shadow);
        EXPECT_EQ(canvas.Pixel(13, 40), hi ? RGB(96, 96, 96) : shadow);
        EXPECT_EQ(canvas.Pixel(12, 40), white);
        EXPECT_EQ(canvas.Pixel(50, 13), hi ? RGB(96, 96, 96) : shadow);
        EXPECT_EQ(canvas.Pixel(50, 12), white);
    }
}

// ---- Scrolling

TEST_F(DrawTest, ScrollPastRectangleOnlyInvalidates) {
    HWND window = UiShownPopup(300, 300, 200, 100);
    DrawSetSmoothScroll(true);
    for (POINT move : {POINT{0, 101}, POINT{200, 0}, POINT{-200, 0}}) {
        ValidateRect(window, nullptr);
        DrawScrollWindow(window, nullptr, move.x, move.y);
        RECT update = {};
        EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
        EXPECT_EQ(update.right - update.left, 200);
        EXPECT_EQ(update.bottom - update.top, 100);
        EXPECT_EQ(uiPaints, 0);
    }
}

TEST_F(DrawTest, SmoothScrollStepsFromScrollClock) {
    struct Case {
        const char *name;
        std::vector<uint32_t> times; // the stamp, the scroll's start, then one read per step
        int dy;
        int remote;
        int steps;
    } cases[] = {
        {"after a pause: eight steps", {0, 1000}, 16, 0, 8},
        {"quick repeat: one step", {0, 5}, 16, 0, 1},
        {"past 250 ms the rest at once", {0, 1000, 1000, 1300}, 16, 0, 2},
        {"a half inch or more: no steps", {0, 1000}, 60, 0, 0},
        {"remote session: no steps", {0, 1000}, 16, 1, 0},
    };
    HWND window = UiShownPopup(300, 300, 200, 100);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.remote) UiRemoteSession();
        ClockPlays(c.times);
        DrawSetSmoothScroll(true);
        UiDrain();
        uiPaints = 0;
        DrawScrollWindow(window, nullptr, 0, c.dy);
        EXPECT_EQ(uiPaints, c.steps);
        UiRestore();
    }
}

// ---- Transparency

namespace {

std::vector<int> alphas;
BOOL layeredAnswer;
BOOL WINAPI FakeSetLayered(HWND, COLORREF, BYTE alpha, DWORD flags) {
    EXPECT_EQ(flags, (DWORD)LWA_ALPHA);
    alphas.push_back(alpha);
    return layeredAnswer;
}

bool IsLayeredStyle(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

} // namespace

TEST_F(DrawTest, TransparencyOpacityAndLayeredStyle) {
    static DrawLibraries libraries = {};
    libraries.setLayeredWindowAttributes = FakeSetLayered;
    DrawSetTestLibraries(&libraries);
    layeredAnswer = TRUE;
    alphas.clear();
    HWND window = UiPopup(400, 0, 50, 50);
    struct Case {
        int percent;
        bool layered;
    } cases[] = {{95, true}, {100, true}, {50, true}, {0, false}, {30, true}, {-20, false}};
    for (const Case &c : cases) {
        EXPECT_TRUE(WndSetTransparency(window, c.percent));
        EXPECT_EQ(IsLayeredStyle(window), c.layered) << c.percent;
        EXPECT_EQ(WndIsLayered(window), c.layered) << c.percent;
    }
    EXPECT_EQ(alphas, (std::vector<int>{26, 26, 128, 179}));
    layeredAnswer = FALSE;
    EXPECT_FALSE(WndSetTransparency(window, 50));
    DestroyWindow(window);
}

TEST_F(DrawTest, TransparencyWithoutSystemFunctionSucceeds) {
    static DrawLibraries libraries = {};
    DrawSetTestLibraries(&libraries);
    HWND window = UiPopup(400, 0, 50, 50);
    EXPECT_TRUE(WndSetTransparency(window, 50));
    EXPECT_FALSE(IsLayeredStyle(window));
    DestroyWindow(window);
}

TEST_F(DrawTest, LayeredAncestorAndRemoteBar) {
    HWND window = UiPopup(400, 0, 50, 50, WS_EX_LAYERED);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(WndIsLayered(child));
    UiRemoteSession(); // "RemoteNoTransparent" is on by default
    EXPECT_FALSE(WndIsLayered(child));
    EXPECT_TRUE(WndSetTransparency(window, 0));
    EXPECT_TRUE(IsLayeredStyle(window));
    DestroyWindow(window);
}

// ---- Hit test, buffer, tracking and animation

TEST(DrawHit, SegmentWithinThreePixels) {
    struct Case {
        const char *name;
        int x, y, x1, y1, x2, y2;
        bool hit;
    } cases[] = {
        {"on a horizontal segment", 50, 10, 0, 10, 100, 10, true},
        {"3 below a horizontal one", 50, 13, 0, 10, 100, 10, true},
        {"4 above a horizontal one", 50, 6, 0, 10, 100, 10, false},
        {"past a horizontal one's end", 104, 10, 0, 10, 100, 10, false},
        {"beside a vertical segment", 23, 50, 20, 0, 20, 100, true},
        {"4 beside a vertical one", 16, 50, 20, 0, 20, 100, false},
        {"on a slanted segment", 50, 25, 0, 0, 100, 50, true},
        {"3 off a slanted one", 50, 28, 0, 0, 100, 50, true},
        {"5 off a slanted one", 50, 30, 0, 0, 100, 50, false},
        {"near a slanted one outside its bounds", 0, 2, 0, 0, 100, 50, true},
        {"beyond a slanted one's bounds", -1, 0, 0, 0, 100, 50, false},
        {"below a steep one's bounds", 50, 101, 40, 0, 50, 100, false},
        {"beside a steep one", 47, 70, 40, 0, 50, 100, true},
    };
    for (const Case &c : cases) EXPECT_EQ(DrawHitSegment(c.x, c.y, c.x1, c.y1, c.x2, c.y2), c.hit) << c.name;
}

TEST_F(DrawTest, BufferCopiesAtEndAndNests) {
    HWND window = UiPopup(0, 0, 60, 30);
    UiCanvas target(60, 30, RGB(255, 255, 255));
    DrawBuffer buffer;
    DrawBufferClear(&buffer);
    HDC dc = DrawBufferBegin(&buffer, target.dc(), window, true);
    ASSERT_NE(dc, target.dc());
    EXPECT_EQ(DrawBufferBegin(&buffer, target.dc(), window, true), dc);
    EXPECT_EQ(buffer.rect.w, 60);
    RECT rect = {0, 0, 60, 30};
    DrawFillRect(dc, &rect, RGB(0, 0, 255));
    EXPECT_EQ(DrawBufferEnd(&buffer, false), target.dc());
    EXPECT_EQ(target.Pixel(10, 10), RGB(255, 255, 255)) << "an inner end copies nothing";
    EXPECT_EQ(DrawBufferEnd(&buffer, false), target.dc());
    EXPECT_EQ(target.Pixel(10, 10), RGB(0, 0, 255));
    EXPECT_EQ(buffer.memory, nullptr);
    DestroyWindow(window);
}

TEST_F(DrawTest, NoBufferEndReturnsTarget) {
    HWND window = UiPopup(0, 0, 60, 30);
    UiCanvas target(60, 30, RGB(255, 255, 255));
    DrawBuffer buffer;
    DrawBufferClear(&buffer);
    // A buffer record used once before, then begun where no buffer can be used.
    DrawBufferEnd(&buffer, true);
    DrawBufferBegin(&buffer, target.dc(), window, false);
    DrawBufferEnd(&buffer, true);
    HDC bystander = CreateCompatibleDC(nullptr);
    for (int where : {0, 1}) {
        SCOPED_TRACE(where ? "several monitors, no window" : "remote session");
        if (where == 0) UiRemoteSession();
        if (where == 1) {
            UiFakeMonitors(2);
            Restart();
        }
        EXPECT_EQ(DrawBufferBegin(&buffer, target.dc(), where ? nullptr : window, true), target.dc());
        RECT rect = {0, 0, 60, 30};
        DrawFillRect(target.dc(), &rect, RGB(0, 255, 0));
        EXPECT_EQ(DrawBufferEnd(&buffer, false), target.dc());
        EXPECT_EQ(buffer.count, 0);
        EXPECT_EQ(target.Pixel(5, 5), RGB(0, 255, 0));
        EXPECT_EQ(GetObjectType(bystander), (DWORD)OBJ_MEMDC);
        UiRestore();
        Restart();
    }
    DeleteDC(bystander);
    DestroyWindow(window);
}

TEST_F(DrawTest, TrackLineScripted) {
    struct Case {
        const char *name;
        DrawTrackOrientation orientation;
        std::vector<TrackInput> steps;
        bool moved;
        int delta;
        POINT end;
    } cases[] = {
        {"vertical line follows x, clamped",
         DRAW_TRACK_VERTICAL,
         {{true, {80, 60}, false, false}, {true, {300, 70}, false, false}},
         true,
         149,
         {199, 70}},
        {"vertical line, y only", DRAW_TRACK_VERTICAL, {{true, {50, 90}, false, false}}, false, 0, {50, 90}},
        {"horizontal line follows y",
         DRAW_TRACK_HORIZONTAL,
         {{true, {70, 5}, false, false}},
         true,
         -40,
         {70, 10}},
        {"Esc",
         DRAW_TRACK_VERTICAL,
         {{true, {80, 60}, false, false}, {true, {90, 60}, false, true}},
         false,
         0,
         {50, 50}},
    };
    RECT limit = {10, 10, 200, 200};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TrackSetTestScript(c.steps.data(), (int32_t)c.steps.size());
        POINT point = {50, 50};
        int32_t delta = 12345;
        EXPECT_EQ(DrawTrackLine(&point, &limit, c.orientation, &delta), c.moved);
        EXPECT_EQ(delta, c.delta);
        EXPECT_EQ(point.x, c.end.x);
        EXPECT_EQ(point.y, c.end.y);
    }
}

TEST_F(DrawTest, ZoomWaitsEightMillisecondsPerFrame) {
    RECT from = {10, 10, 60, 60}, to = {10, 10, 460, 260}; // 400 pixels wider: 12 frames at most
    steppingNow = 0;
    TickSetClock(SteppingTicks, nullptr);
    DrawZoomRect(nullptr, &from, &to);
    EXPECT_EQ(steppingNow, 0u) << "animation off";
    DrawSetAnimation(true);
    DrawZoomRect(nullptr, &from, &to);
    EXPECT_GE(steppingNow, 12u * 8);
    EXPECT_LE(steppingNow, 12u * 9);
    UiRemoteSession(); // "RemoteNoAnimation" is on by default
    steppingNow = 0;
    DrawZoomRect(nullptr, &from, &to);
    EXPECT_EQ(steppingNow, 0u) << "remote session";
    RECT small = {10, 10, 70, 60};
    UiRestore();
    steppingNow = 0;
    DrawZoomRect(nullptr, &from, &small);
    EXPECT_GE(steppingNow, 8u);
    EXPECT_LE(steppingNow, 9u) << "a change under 25 pixels: one frame";
}

// ---- Units

namespace {

HDC fakePrinter;
HDC FakePrinter(SIZE *resolution) {
    *resolution = SIZE{600, 600}; // the hook's answer, not the DC's
    return fakePrinter;
}

} // namespace

TEST_F(DrawTest, UnitConversions) {
    int32_t dpi = drawMetrics.dpiY;
    EXPECT_EQ(DrawQuarterPointsToScreen(288), dpi);
    EXPECT_EQ(DrawScreenToQuarterPoints(dpi), 288);
    EXPECT_EQ(DrawGetDC(DRAW_PRINTER), nullptr);
    EXPECT_EQ(DrawGetResolution(DRAW_PRINTER).cy, 0);
    EXPECT_EQ(DrawScreenToPrinterX(100), 0);
    EXPECT_EQ(DrawPrinterToQuarterPoints(100), 0);
    fakePrinter = CreateCompatibleDC(nullptr);
    DrawSetPrinterHook(FakePrinter);
    int32_t printerDpi = 600;
    EXPECT_EQ(DrawGetResolution(DRAW_PRINTER).cy, printerDpi);
    EXPECT_EQ(DrawScreenToPrinterY(dpi), printerDpi);
    EXPECT_EQ(DrawPointHundredthsToPrinterY(7200), printerDpi);
    EXPECT_EQ(DrawQuarterPointsToPrinter(288), printerDpi);
    EXPECT_EQ(DrawPrinterToQuarterPoints(printerDpi), 288);
    DeleteDC(fakePrinter);
}
