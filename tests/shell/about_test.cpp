// The About and splash window on a fake clock, over a test frame:
// - closing waits out the 2000 ms since opening, and only then;
// - without the logo resource nothing opens; the 16-colour logo below 256 colours or with "LowColor";
// - the size and place over the frame (wide, narrow and low frames), one line more in a remote session and no
//   logo when the remote options disable it;
// - the splash closes through CloseSplash only while it is the splash;
// - the About command: the frame disabled while it waits for a character or a mouse button, a WM_QUIT put back,
//   a close request ending the wait;
// - the text lines, two of them not stored readable in the program.
#include "shell/about.h"

#include "base/reg.h"
#include "base/sysprobe.h"
#include "base/tick.h"
#include "base/toolbox.h"
#include "base/wndtest.h"
#include "shell/version.h"
#include "support/vxtest.h"
#include "ui/draw.h"

#include <gtest/gtest.h>

#include <cstring>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A vx_About window of this test program: other test programs on the same display (start-up's splash) have
// theirs, which a search of the whole desktop would find.
BOOL CALLBACK OwnAboutFind(HWND window, LPARAM found) {
    char name[64];
    if (GetClassNameA(window, name, sizeof name) && strcmp(name, aboutClass) == 0) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

HWND OwnAboutWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), OwnAboutFind, (LPARAM)&found);
    return found;
}

uint32_t fakeNow;
std::vector<uint32_t> sleeps;
bool frameEnabledInWait;
bool aboutUpInWait;

uint32_t FakeNow() {
    return fakeNow;
}

void FakeSleep(uint32_t ms) {
    sleeps.push_back(ms);
    fakeNow += ms;
}

enum { PROBE_ONLY = 0, PROBE_AND_CLOSE = 1 };

// WM_APP, posted before the About command runs, is dispatched during its wait: it notes what the wait looks
// like and may ask the About window to close.
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        frameEnabledInWait = IsWindowEnabled(window) != FALSE;
        aboutUpInWait = AboutWindow() != nullptr;
        if (wParam == PROBE_AND_CLOSE) PostMessageA(AboutWindow(), WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class AboutTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        ASSERT_TRUE(AboutRegisterClass(GetModuleHandleA(nullptr)));
        WtRegisterClass("vxAboutTestFrame", FrameProc);
        frame = CreateWindowExA(0, "vxAboutTestFrame", "", WS_OVERLAPPEDWINDOW, 100, 50, 900, 700, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(frame);
        WndSetAppWindows(frame, nullptr);
        fakeNow = 10000;
        sleeps.clear();
        TickSetClock(FakeNow, FakeSleep);
        frameEnabledInWait = aboutUpInWait = false;
        WtDrainQueue();
    }
    void TearDown() override {
        AboutTerm();
        WndSetAppWindows(nullptr, nullptr);
        DestroyWindow(frame);
        WtDrainQueue();
        if (remote) {
            SysSetTestAnswers(nullptr);
            SysDetectRemote(nullptr);
            ToolboxRemoteDefaults();
        }
        DrawSetTestColorCount(0);
    }
    void RemoteSession(bool noLogo) {
        remote = true;
        answers = {6, 1, VER_PLATFORM_WIN32_NT, 1, 0, (uint64_t)4 << 30, (uint64_t)4 << 30};
        SysSetTestAnswers(&answers);
        SysDetectRemote(nullptr);
        ToolboxRemoteDefaults();
        *ToolboxRemoteValue(1) = noLogo; // "RemoteNoLogoGraphics"
    }
    static RECT AboutRect() {
        RECT rect = {};
        GetWindowRect(AboutWindow(), &rect);
        return rect;
    }
    // The pixel of the About window's client area, as painted.
    static COLORREF Pixel(int x, int y) {
        HDC dc = GetDC(AboutWindow());
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(AboutWindow(), dc);
        return color;
    }
    HWND frame = nullptr;
    bool remote = false;
    SysTestAnswers answers = {};
};

// ---- Opening and closing

TEST_F(AboutTest, ClosingWaitsOutTwoSecondsSinceOpening) {
    ASSERT_TRUE(AboutOpen());
    ASSERT_TRUE(AboutWindow());
    EXPECT_TRUE(IsWindowVisible(AboutWindow()));
    fakeNow += 500;
    AboutClose();
    EXPECT_EQ(sleeps, (std::vector<uint32_t>{1500}));
    EXPECT_EQ(AboutWindow(), nullptr);
    EXPECT_EQ(OwnAboutWindow(), nullptr);

    sleeps.clear();
    ASSERT_TRUE(AboutOpen());
    fakeNow += 2600;
    AboutClose();
    EXPECT_TRUE(sleeps.empty()) << "shown long enough already";
    AboutClose();
    EXPECT_TRUE(sleeps.empty()) << "nothing to close";
}

TEST_F(AboutTest, WithoutTheLogoNothingOpens) {
    AboutSetResourceModule(GetModuleHandleA("kernel32.dll"));
    EXPECT_FALSE(AboutOpen());
    EXPECT_EQ(AboutWindow(), nullptr);
    EXPECT_EQ(OwnAboutWindow(), nullptr);
    PostThreadMessageA(GetCurrentThreadId(), WM_CHAR, 'x', 0);
    EXPECT_EQ(CmdAbout(64), 0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE)) << "the command did not wait";
    EXPECT_TRUE(IsWindowEnabled(frame));
}

int PaletteSize(HPALETTE palette) {
    return GetPaletteEntries(palette, 0, 0, nullptr);
}

TEST_F(AboutTest, TheSixteenColourLogoForFewColoursOrTheLowColorSwitch) {
    const AboutLogo *logo = AboutGetLogo();
    ASSERT_TRUE(logo);
    EXPECT_GT(PaletteSize(logo->palette), 16);
    AboutTerm();

    DrawSetTestColorCount(16);
    ASSERT_TRUE(DrawInit(nullptr));
    logo = AboutGetLogo();
    ASSERT_TRUE(logo);
    EXPECT_EQ(PaletteSize(logo->palette), 16);
    int32_t width = logo->width, height = logo->height;
    AboutTerm();

    DrawSetTestColorCount(0);
    ASSERT_TRUE(DrawInit(nullptr));
    VxOpenSettings();
    RegSetInt(RegUserProgramKey(), "LowColor", 1);
    logo = AboutGetLogo();
    RegDeleteValueA(RegUserProgramKey(), "LowColor");
    ASSERT_TRUE(logo);
    EXPECT_EQ(PaletteSize(logo->palette), 16);
    EXPECT_EQ(logo->width, width);
    EXPECT_EQ(logo->height, height);
}

// ---- Layout

TEST_F(AboutTest, SizeAndPlaceOverTheFrame) {
    const AboutLogo *logo = AboutGetLogo();
    ASSERT_TRUE(logo);
    int32_t line = drawMetrics.sysFontHeight;
    ASSERT_GT(line, 0);
    int32_t width = logo->width + 2 * (logo->width / 20), height = 10 * line + logo->height;
    struct {
        int32_t frameWidth, frameHeight;
        const char *what;
    } cases[] = {
        {900, 700, "centred, a third down"},
        {200, 700, "narrower frame: a third in from its left"},
        {900, 100, "lower frame: no free height"},
    };
    for (const auto &c : cases) {
        MoveWindow(frame, 100, 50, c.frameWidth, c.frameHeight, FALSE);
        RECT f;
        GetWindowRect(frame, &f);
        int32_t fw = f.right - f.left, fh = f.bottom - f.top;
        ASSERT_TRUE(AboutOpen()) << c.what;
        RECT r = AboutRect();
        EXPECT_EQ(r.right - r.left, width) << c.what;
        EXPECT_EQ(r.bottom - r.top, height) << c.what;
        EXPECT_EQ(r.left, f.left + (fw >= width ? (fw - width) / 2 : fw / 3)) << c.what;
        EXPECT_EQ(r.top, f.top + (fh > height ? (fh - height) / 3 : 0)) << c.what;
        fakeNow += 5000;
        AboutClose();
    }
}

TEST_F(AboutTest, ARemoteSessionAddsALineAndMayDropTheLogo) {
    ASSERT_TRUE(AboutOpen());
    const AboutLogo *logo = AboutGetLogo();
    int32_t line = drawMetrics.sysFontHeight, logoX = logo->width / 20 + 30, logoY = line + 30;
    EXPECT_NE(Pixel(logoX, logoY), RGB(255, 255, 255)) << "the logo is painted";
    fakeNow += 5000;
    AboutClose();

    for (bool noLogo : {false, true}) {
        RemoteSession(noLogo);
        ASSERT_TRUE(AboutOpen());
        RECT r = AboutRect();
        EXPECT_EQ(r.right - r.left, logo->width + 2 * (logo->width / 20)) << noLogo;
        EXPECT_EQ(r.bottom - r.top, 11 * line + (noLogo ? 0 : logo->height)) << noLogo;
        if (noLogo) {
            EXPECT_EQ(Pixel(logoX, logoY), RGB(255, 255, 255)) << "no logo is painted";
        }
        fakeNow += 5000;
        AboutClose();
    }
}

// ---- The splash

TEST_F(AboutTest, TheSplashClosesThroughCloseSplashOnly) {
    CloseSplash();
    EXPECT_TRUE(sleeps.empty()) << "no splash: nothing";

    ASSERT_TRUE(AboutOpenSplash());
    fakeNow += 700;
    CloseSplash();
    EXPECT_EQ(sleeps, (std::vector<uint32_t>{1300}));
    EXPECT_EQ(AboutWindow(), nullptr);

    ASSERT_TRUE(AboutOpenSplash());
    HWND splash = AboutWindow();
    ASSERT_TRUE(AboutOpen()) << "the About window takes over the splash";
    EXPECT_EQ(AboutWindow(), splash);
    CloseSplash();
    EXPECT_EQ(AboutWindow(), splash) << "it is no longer the splash";
    EXPECT_FALSE(AboutOpenSplash()) << "a window is up already";
}

// ---- The About command

TEST_F(AboutTest, TheCommandWaitsForACharacterOrAMouseButton) {
    for (UINT ending : {WM_CHAR, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_XBUTTONDOWN}) {
        sleeps.clear();
        PostMessageA(frame, WM_APP, PROBE_ONLY, 0);
        PostThreadMessageA(GetCurrentThreadId(), WM_MOUSEMOVE, 0, 0);
        PostThreadMessageA(GetCurrentThreadId(), ending, 0, 0);
        PostThreadMessageA(GetCurrentThreadId(), ending, 0, 0);
        EXPECT_EQ(CmdAbout(64), 0);
        EXPECT_TRUE(aboutUpInWait) << ending;
        EXPECT_FALSE(frameEnabledInWait) << ending;
        EXPECT_TRUE(IsWindowEnabled(frame)) << ending;
        EXPECT_EQ(AboutWindow(), nullptr) << ending;
        EXPECT_EQ(sleeps, (std::vector<uint32_t>{2000})) << "closed after its two seconds";
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, nullptr, ending, ending, PM_REMOVE)) << "only the first one is taken";
        WtDrainQueue();
    }
}

TEST_F(AboutTest, AQuitMetDuringTheWaitIsPutBack) {
    PostQuitMessage(7);
    EXPECT_EQ(CmdAbout(64), 0);
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_EQ(AboutWindow(), nullptr);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

// Alt+F4 on the About window asks it to close: the wait ends as for a key, and the window goes the usual way.
TEST_F(AboutTest, ACloseRequestEndsTheWait) {
    PostMessageA(frame, WM_APP, PROBE_AND_CLOSE, 0);
    EXPECT_EQ(CmdAbout(64), 0);
    EXPECT_TRUE(aboutUpInWait);
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_EQ(AboutWindow(), nullptr);
    EXPECT_EQ(OwnAboutWindow(), nullptr);
}

// ---- Text

std::string ProgramBytes() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string bytes;
    FILE *file = VxFileOpen(path, "rb");
    if (!file) return bytes;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
    fclose(file);
    return bytes;
}

TEST_F(AboutTest, TheTextLines) {
    char text[VERSION_TEXT_SIZE];
    ASSERT_TRUE(AboutTextLine(1, text, sizeof text));
    EXPECT_STREQ(text, "Version 3.50.0064  Built on  Jun-24-09");
    std::string bytes = ProgramBytes();
    ASSERT_FALSE(bytes.empty());
    for (int i : {2, 3}) {
        ASSERT_TRUE(AboutTextLine(i, text, sizeof text));
        EXPECT_GT(strlen(text), 10u);
        for (const char *c = text; *c; c++) EXPECT_TRUE(*c >= 32 && *c < 127) << i;
        EXPECT_EQ(bytes.find(text), std::string::npos) << "stored scrambled: " << text;
    }
    EXPECT_EQ(AboutTextLine(4, text, sizeof text), nullptr);
    char small[6];
    AboutTextLine(2, small, sizeof small);
    EXPECT_EQ(strlen(small), 5u) << "cut to the buffer";
}

} // namespace
