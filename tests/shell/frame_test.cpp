// The frame window vx_Frame:
// - the class and the window: its icon, the MDI client whose first child id is 20000;
// - commands: menu ids below 20000 run while the program runs, never before, and the MDI window list's ids
//   never; message 2025 runs the command bound to its key only while running; "Exit" closes the frame
//   unless closing is refused;
// - dropped files open in turn until one fails;
// - the client area: the rebar and the status bar take their heights, the MDI client the rest;
// - the saved place: the registry values restored, a place on no monitor or a garbled value giving the
//   default, the last normal place saved;
// - start-up: the main initialisation gets the arguments and the saved show state, "-ub" silences alerts,
//   a failed initialisation leaves no frame;
// - the instance semaphore is made once and held;
// - hand-over, the test's frame being the first instance: "vx.exe -i" ends with 0 and no window, and the
//   next idle turn opens the file in the sent folder; two hand-overs open both in order; a line too long for
//   an atom, or a folder holding ";", starts a normal instance.
#include "shell/frame.h"

#include "base/reg.h"
#include "shell/cmdline.h"
#include "shell/cmdrun.h"
#include "shell/framehook.h"
#include "shell/frametest.h"
#include "shell/instance.h"
#include "shell/keymap.h"
#include "shell/vars.h"
#include "support/vxtest.h"
#include "ui/dlgalert.h"
#include "ui/mdi.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

TEST_F(FrameTest, ClassIconAndClient) {
    char name[32];
    GetClassNameA(frame, name, sizeof name);
    EXPECT_STREQ(name, "vx_Frame");
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), "$iconApp"), nullptr);
    EXPECT_EQ((HICON)GetClassLongPtrA(frame, GCLP_HICON), LoadIconA(GetModuleHandleA(nullptr), "$iconApp"));
    HWND client = MdiGetClient();
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(GetParent(client), frame);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefMDIChildProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "vxFrameTestChild";
    RegisterClassA(&wc);
    HWND child = MdiCreateChild("vxFrameTestChild", "child", 0, 0, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), (int)FRAME_FIRST_CHILD_ID);
    MdiDestroy(child);
}

TEST_F(FrameTest, MenuIdsRunCommandsOnlyWhileRunning) {
    Row(5, "Five");
    Install();
    SendMessageA(frame, WM_COMMAND, 5, 0);
    EXPECT_EQ(cmdTestCalls, std::vector<int32_t>{5});
    cmdTestCalls.clear();
    g_appRunState = APP_STARTING;
    SendMessageA(frame, WM_COMMAND, 5, 0);
    EXPECT_TRUE(cmdTestCalls.empty());
    // The MDI client's own ids (its window list) are no commands: run, they would read as row 370.
    g_appRunState = APP_RUNNING;
    for (UINT id : {20000u, 20010u, 20049u}) SendMessageA(frame, WM_COMMAND, id, 0);
    EXPECT_TRUE(cmdTestCalls.empty());
}

TEST_F(FrameTest, KeysRunTheirBoundCommandOnlyWhileRunning) {
    Row(7, "Seven");
    Install();
    const KeyCode key = KEY_CTRL | 'K';
    ASSERT_TRUE(KeyMapAdd(7, key));
    g_appRunState = APP_STARTING;
    EXPECT_EQ(SendMessageA(frame, FRAME_MSG_KEY, key, 0), 0);
    EXPECT_TRUE(cmdTestCalls.empty());
    g_appRunState = APP_RUNNING;
    EXPECT_EQ(SendMessageA(frame, FRAME_MSG_KEY, KEY_CTRL | 'J', 0), 0);
    EXPECT_EQ(SendMessageA(frame, FRAME_MSG_KEY, key, 0), 1);
    EXPECT_EQ(cmdTestCalls, std::vector<int32_t>{7});
}

bool frameTestMayClose;
bool FrameTestQueryClose(bool save) {
    ftCalls.push_back(save ? "query close+save" : "query close");
    return frameTestMayClose;
}

TEST_F(FrameTest, ExitClosesUnlessRefused) {
    FrameShellHook shell = FrameShell();
    shell.queryCloseApp = FrameTestQueryClose;
    FrameSetShellHook(&shell);
    frameTestMayClose = false;
    EXPECT_EQ(CmdExit(24), 0);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(g_appRunState, APP_RUNNING);
    frameTestMayClose = true;
    EXPECT_EQ(CmdExit(24), 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(g_appRunState, APP_CLOSING);
    EXPECT_EQ(FrameGetWindow(), nullptr);
    EXPECT_EQ(ftCalls, (std::vector<std::string>{"query close+save", "query close+save"}));
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop ends";
}

// A dropped-files block as the shell makes it: the header, then the names, each ended by a NUL, and a NUL.
HDROP FrameTestDrop(const std::vector<std::string> &names) {
    std::string list;
    for (const std::string &name : names) list += name + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    DROPFILES *files = (DROPFILES *)GlobalLock(memory);
    files->pFiles = sizeof(DROPFILES);
    memcpy(files + 1, list.data(), list.size());
    GlobalUnlock(memory);
    return (HDROP)memory;
}

TEST_F(FrameTest, DroppedFilesOpenUntilOneFails) {
    ftFailing = {"b.c"};
    SendMessageA(frame, WM_DROPFILES, (WPARAM)FrameTestDrop({"C:\\w\\a.c", "C:\\w\\b.c", "C:\\w\\c.c"}), 0);
    EXPECT_EQ(ftCalls, (std::vector<std::string>{"open:C:\\w\\a.c", "open:C:\\w\\b.c"}));
}

int32_t FrameTestStatusHeight() {
    return 20;
}
int32_t FrameTestRebarHeight() {
    return 30;
}

TEST_F(FrameTest, TheClientTakesWhatTheBarsLeave) {
    FrameShellHook shell = FrameShell();
    shell.statusBarHeight = FrameTestStatusHeight;
    shell.rebarHeight = FrameTestRebarHeight;
    FrameSetShellHook(&shell);
    SetWindowPos(frame, nullptr, 0, 0, 600, 450, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT area, client;
    GetClientRect(frame, &area);
    GetWindowRect(MdiGetClient(), &client);
    MapWindowPoints(nullptr, frame, (POINT *)&client, 2);
    EXPECT_EQ(client.top, 30);
    EXPECT_EQ(client.bottom, area.bottom - 20);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.right, area.right);
}

class FramePlace : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        VxOpenSettings();
        key = RegUserProgramKey();
        ASSERT_NE(key, nullptr);
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        fallback = {work.left + 30, work.top + 30, work.right - 30, work.bottom - 30};
    }
    void TearDown() override {
        RegDeleteValueA(key, "WindowRect");
        RegDeleteValueA(key, "WindowShow");
        FrameTest::TearDown();
    }
    HKEY key = nullptr;
    RECT fallback = {};
};

TEST_F(FramePlace, SavedPlaceOrTheDefault) {
    struct Case {
        const char *rect;
        const char *show;
        RECT want;
        int wantShow;
    } cases[] = {
        {nullptr, nullptr, fallback, SW_SHOWNORMAL},
        {"100, 120, 700, 520", "3", {100, 120, 700, 520}, SW_SHOWMAXIMIZED},
        {"100,120,700,520", nullptr, {100, 120, 700, 520}, SW_SHOWNORMAL},
        {"30000, 30000, 30600, 30400", "3", fallback, SW_SHOWNORMAL}, // on no monitor
        {"700, 120, 100, 520", nullptr, fallback, SW_SHOWNORMAL},     // inside out
        {"100, 120, 700", nullptr, fallback, SW_SHOWNORMAL},
        {"garbage", "3", fallback, SW_SHOWNORMAL},
    };
    for (const Case &c : cases) {
        RegDeleteValueA(key, "WindowRect");
        RegDeleteValueA(key, "WindowShow");
        if (c.rect) RegSetString(key, "WindowRect", c.rect);
        if (c.show) RegSetString(key, "WindowShow", c.show);
        RECT rect;
        int show;
        LoadWindowPlacement(&rect, &show);
        EXPECT_TRUE(EqualRect(&rect, &c.want)) << (c.rect ? c.rect : "none") << ": " << rect.left << ", "
                                               << rect.top << ", " << rect.right << ", " << rect.bottom;
        EXPECT_EQ(show, c.wantShow) << (c.rect ? c.rect : "none");
    }
}

TEST_F(FramePlace, TheLastNormalPlaceIsSaved) {
    SetWindowPos(frame, nullptr, 50, 60, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    SaveWindowPlacement();
    char text[64] = {};
    ASSERT_TRUE(RegQueryBuf(key, "WindowRect", text, sizeof text));
    EXPECT_STREQ(text, "50, 60, 450, 360");
    int32_t show = 0;
    ASSERT_TRUE(RegQueryInt(key, "WindowShow", &show));
    EXPECT_EQ(show, SW_SHOWNORMAL);
    ShowWindow(frame, SW_MAXIMIZE);
    SaveWindowPlacement();
    ShowWindow(frame, SW_HIDE);
    ASSERT_TRUE(RegQueryBuf(key, "WindowRect", text, sizeof text));
    EXPECT_STREQ(text, "50, 60, 450, 360") << "the normal place, not the maximised one";
    ASSERT_TRUE(RegQueryInt(key, "WindowShow", &show));
    EXPECT_EQ(show, SW_SHOWMAXIMIZED);
    RECT rect;
    int shown;
    LoadWindowPlacement(&rect, &shown);
    EXPECT_EQ(shown, SW_SHOWMAXIMIZED);
}

// ---- Start-up

std::vector<std::string> frameTestArgs;
int frameTestShow;
bool frameTestInitOk;

bool FrameTestInitApp(int32_t count, char **args, int show, bool *quitWhenDone) {
    frameTestArgs.assign(args, args + count);
    frameTestShow = show;
    ftCalls.push_back("init");
    *quitWhenDone = false;
    return frameTestInitOk;
}

void FrameTestLinkClipboard() {
    ftCalls.push_back("link clipboard");
}
void FrameTestAppStart() {
    ftCalls.push_back("AppStart");
}

class FrameStart : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        FtInstallFakes();
        ASSERT_TRUE(RegisterFrameClass(GetModuleHandleA(nullptr)));
        FrameShellHook shell = FrameShell();
        shell.initApp = FrameTestInitApp;
        FrameSetShellHook(&shell);
        FrameDocHook doc = FrameDoc();
        doc.linkClipboard = FrameTestLinkClipboard;
        FrameSetDocHook(&doc);
        FrameMacroHook macro = {FrameTestAppStart};
        FrameSetMacroHook(&macro);
        frameTestInitOk = true;
    }
    void TearDown() override {
        if (FrameGetWindow()) DestroyWindow(FrameGetWindow());
        FtPump();
        if (g_appFlags & APP_ALERTS_SUPPRESSED) AlertUnsuppress();
        g_appFlags &= ~(uint32_t)APP_ALERTS_SUPPRESSED;
        CmdTest::TearDown();
    }
};

TEST_F(FrameStart, TheFrameIsMadeAndInitialised) {
    bool handedOver = true;
    ASSERT_TRUE(CreateFrameOrForward("\"a b.c\" -i +3", SW_SHOWNORMAL, &handedOver));
    EXPECT_FALSE(handedOver);
    HWND frame = FrameGetWindow();
    ASSERT_NE(frame, nullptr);
    char title[32];
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, "Veltrix");
    EXPECT_FALSE(IsWindowVisible(frame)) << "the main initialisation shows it";
    EXPECT_EQ(frameTestArgs, (std::vector<std::string>{"a b.c", "-i", "+3"}));
    EXPECT_EQ(frameTestShow, SW_SHOWNORMAL);
    EXPECT_EQ(ftCalls, (std::vector<std::string>{"init", "link clipboard", "AppStart"}));
    EXPECT_FALSE(AlertsSuppressed());
}

TEST_F(FrameStart, BatchUpdatesSilenceAlerts) {
    bool handedOver;
    ASSERT_TRUE(CreateFrameOrForward("-ub", SW_SHOWMINNOACTIVE, &handedOver));
    EXPECT_TRUE(AlertsSuppressed());
    EXPECT_TRUE(g_appFlags & APP_ALERTS_SUPPRESSED);
    EXPECT_EQ(frameTestShow, SW_SHOWMINNOACTIVE) << "the show state asked for wins over a plain saved one";
}

TEST_F(FrameStart, AFailedInitialisationLeavesNoFrame) {
    frameTestInitOk = false;
    bool handedOver = true;
    EXPECT_FALSE(CreateFrameOrForward("", SW_SHOWNORMAL, &handedOver));
    EXPECT_FALSE(handedOver);
    EXPECT_EQ(FrameGetWindow(), nullptr);
    EXPECT_EQ(InstanceFindFrame(nullptr), nullptr);
}

TEST(FrameInstance, TheSemaphoreIsMadeOnceAndHeld) {
    bool first = IsFirstInstance();
    EXPECT_EQ(IsFirstInstance(), first);
    EXPECT_EQ((g_appFlags & APP_FIRST_INSTANCE) != 0, first);
    HANDLE held = OpenSemaphoreA(SYNCHRONIZE, FALSE, "semVxInstance");
    EXPECT_NE(held, nullptr);
    CloseHandle(held);

    std::string name = "vxFrameTestSemaphore" + std::to_string(GetCurrentProcessId());
    HANDLE mine = nullptr, again = nullptr;
    EXPECT_FALSE(InstanceSemaphoreOpen(name.c_str(), &mine, true));
    ASSERT_NE(mine, nullptr);
    EXPECT_TRUE(InstanceSemaphoreOpen(name.c_str(), &again, true));
    EXPECT_EQ(again, nullptr);
    EXPECT_TRUE(InstanceSemaphoreOpen(name.c_str(), &again, false));
    EXPECT_NE(again, nullptr);
    CloseHandle(again);
    CloseHandle(mine);
}

// ---- Hand-over

class FrameHandOver : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        IsFirstInstance(); // the semaphore is held by this process from now on
        folder = VxTempDir();
    }
    // Runs vx.exe with the arguments in the test's folder while the test's frame takes messages.
    DWORD RunProgram(const std::string &args) {
        FtProcess child;
        if (!FtStart("\"" + FtProgram("vx.exe") + "\" " + args, folder, &child)) return FT_TIMED_OUT;
        return FtWait(&child, 60000);
    }
    std::string folder;
};

TEST_F(FrameHandOver, TheRunningInstanceOpensTheFileOnItsNextIdleTurn) {
    EXPECT_EQ(RunProgram("-i \"a b.c\""), 0u);
    EXPECT_EQ(InstanceFindFrame(frame), nullptr) << "the later instance made no frame";
    EXPECT_TRUE(ftCalls.empty()) << "nothing is applied while the message is handled";
    ASSERT_TRUE(CmdLineRequestPending());
    EXPECT_TRUE(CmdLineRequestStep());
    EXPECT_EQ(ftCalls, std::vector<std::string>{"open:" + folder + "\\a b.c"});
    EXPECT_FALSE(CmdLineRequestPending());
}

TEST_F(FrameHandOver, TwoHandOversOpenBothInOrder) {
    EXPECT_EQ(RunProgram("-i one.c"), 0u);
    EXPECT_EQ(RunProgram("-i two.c +5"), 0u);
    EXPECT_TRUE(CmdLineRequestStep());
    EXPECT_EQ(ftCalls, std::vector<std::string>{"open:" + folder + "\\one.c"});
    EXPECT_TRUE(CmdLineRequestStep());
    EXPECT_EQ(ftCalls,
              (std::vector<std::string>{"open:" + folder + "\\one.c", "open:" + folder + "\\two.c"}));
    EXPECT_FALSE(CmdLineRequestStep());
}

// The later instance starts as usual, showing its own frame, which the test closes.
TEST_F(FrameHandOver, WhatCannotBeHandedOverStartsANormalInstance) {
    std::string longLine = "-i";
    for (int i = 0; i < 10; i++) longLine += " file-with-a-longish-name-" + std::to_string(i) + ".c";
    ASSERT_GT(longLine.size() + folder.size() + 1, 255u) << "more than an atom holds";
    std::string semicolon = folder + "\\x;y"; // the receiver would split the folder there
    VxMakeDir(semicolon);
    for (const auto &[args, where] :
         {std::pair{longLine, folder}, std::pair{std::string("-i a.c"), semicolon}}) {
        FtProcess child;
        ASSERT_TRUE(FtStart("\"" + FtProgram("vx.exe") + "\" " + args, where, &child));
        HWND other = FtWaitWindow(child, "vx_Frame", 60000);
        EXPECT_NE(other, nullptr) << where;
        char title[32] = {};
        if (other) GetWindowTextA(other, title, sizeof title);
        EXPECT_STREQ(title, "Veltrix");
        if (other) PostMessageA(other, WM_CLOSE, 0, 0);
        EXPECT_EQ(FtWait(&child, 60000), 0u);
        EXPECT_FALSE(CmdLineRequestPending());
    }
}

} // namespace
