// Key codes and the abort poll:
// - real key-down and character messages to a real window with the thread's key state set: letters, shifted
//   characters, Ctrl and Alt, function, keypad and navigation keys, the system's task-switch keys, AltGr;
// - mouse messages with buttons and modifiers held, double clicks and extra buttons;
// - printable and upper-case tests on codes (mouse codes are never printable);
// - the abort poll through the asynchronous key state seam, the status bar told through the canceled hook
//   (nothing while unset), the primary button with swapped buttons.
#include "base/keyinp.h"
#include "base/monitor.h"
#include "base/seam.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

enum Mods { M_NONE = 0, M_SHIFT = 1, M_CTRL = 2, M_ALT = 4, M_NUMLOCK = 8 };

void SetMods(int mods) {
    BYTE state[256] = {};
    if (mods & M_SHIFT) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if (mods & M_CTRL) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    if (mods & M_ALT) state[VK_MENU] = state[VK_LMENU] = 0x80;
    if (mods & M_NUMLOCK) state[VK_NUMLOCK] = 0x01;
    SetKeyboardState(state);
}

// Dispatched, not only removed: a paint message stays queued until its window has painted.
void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

LPARAM KeyLParam(UINT vk, int mods) {
    LPARAM lParam = 1 | ((LPARAM)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) << 16);
    if (mods & M_ALT) lParam |= 1 << 29;
    return lParam;
}

class KeyTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "vxKeyTest";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "vxKeyTest", "keys", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        DrainQueue();
    }
    void TearDown() override {
        SetMods(M_NONE);
        DestroyWindow(window);
        DrainQueue();
    }
    KeyCode Key(UINT message, UINT vk, int mods) {
        SetMods(mods);
        MSG msg = {};
        msg.hwnd = window;
        msg.message = message;
        msg.wParam = vk;
        msg.lParam = KeyLParam(vk, mods);
        KeyCode code = KeyFromMsg(&msg);
        EXPECT_EQ(msg.lParam & (1 << 29), KeyLParam(vk, mods) & (1 << 29)) << "Alt bit restored";
        MSG left;
        EXPECT_FALSE(PeekMessageA(&left, window, WM_CHAR, WM_SYSCHAR, PM_NOREMOVE)) << "character taken";
        DrainQueue();
        return code;
    }
    HWND window = nullptr;
};

TEST_F(KeyTest, KeyDownTable) {
    struct Case {
        const char *name;
        UINT message;
        UINT vk;
        int mods;
        KeyCode expected;
    } cases[] = {
        {"a", WM_KEYDOWN, 'A', M_NONE, 'a'},
        {"Shift+a", WM_KEYDOWN, 'A', M_SHIFT, 'A'},
        {"Shift+1", WM_KEYDOWN, '1', M_SHIFT, 0x321},
        {"Ctrl+A", WM_KEYDOWN, 'A', M_CTRL, 0x441},
        {"Ctrl+Shift+Z", WM_KEYDOWN, 'Z', M_CTRL | M_SHIFT, 0x75A},
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, M_ALT, 0x1873},
        {"F12", WM_KEYDOWN, VK_F12, M_NONE, 0x107B},
        {"Ctrl+F1", WM_KEYDOWN, VK_F1, M_CTRL, 0x1470},
        {"Shift+F5", WM_KEYDOWN, VK_F5, M_SHIFT, 0x1374},
        {"Alt+x", WM_SYSKEYDOWN, 'X', M_ALT, 0x878},
        {"Esc", WM_KEYDOWN, VK_ESCAPE, M_NONE, 0x1B},
        {"keypad +", WM_KEYDOWN, VK_ADD, M_NUMLOCK, 0x402B},
        {"keypad - (not Insert)", WM_KEYDOWN, VK_SUBTRACT, M_NUMLOCK, 0x402D},
        {"Ctrl+keypad *", WM_KEYDOWN, VK_MULTIPLY, M_CTRL | M_NUMLOCK, 0x442A},
        {"keypad 5", WM_KEYDOWN, VK_NUMPAD5, M_NUMLOCK, '5'},
        {"keypad . (not Delete)", WM_KEYDOWN, VK_DECIMAL, M_NUMLOCK, '.'},
        {"Delete", WM_KEYDOWN, VK_DELETE, M_NONE, 0x802E},
        {"Shift+Delete", WM_KEYDOWN, VK_DELETE, M_SHIFT, 0x832E},
        {"Insert", WM_KEYDOWN, VK_INSERT, M_NONE, 0x802D},
        {"Ctrl+Home", WM_KEYDOWN, VK_HOME, M_CTRL, 0x8424},
        {"Page Down", WM_KEYDOWN, VK_NEXT, M_NONE, 0x8022},
        {"Ctrl+;", WM_KEYDOWN, VK_OEM_1, M_CTRL, 0x43B},
        {"Ctrl+`", WM_KEYDOWN, VK_OEM_3, M_CTRL, 0x460},
        {"Ctrl+\\", WM_KEYDOWN, VK_OEM_5, M_CTRL, 0x45C},
        {"Ctrl+Scroll Lock", WM_KEYDOWN, VK_SCROLL, M_CTRL, 0},
        {"Ctrl+OEM 102", WM_KEYDOWN, VK_OEM_102, M_CTRL, 0},
        {"Ctrl+Esc", WM_KEYDOWN, VK_ESCAPE, M_CTRL, 0},
        {"Alt+Esc", WM_SYSKEYDOWN, VK_ESCAPE, M_ALT, 0},
        {"Alt+Tab", WM_SYSKEYDOWN, VK_TAB, M_ALT, 0},
        {"Shift alone", WM_KEYDOWN, VK_SHIFT, M_SHIFT, 0},
        {"Ctrl alone", WM_KEYDOWN, VK_CONTROL, M_CTRL, 0},
        {"Alt alone", WM_SYSKEYDOWN, VK_MENU, M_ALT, 0},
        {"Num Lock", WM_KEYDOWN, VK_NUMLOCK, M_NONE, 0},
        {"Caps Lock", WM_KEYDOWN, VK_CAPITAL, M_NONE, 0},
        {"virtual key 255", WM_KEYDOWN, 255, M_NONE, 0},
        {"key up", WM_KEYUP, 'A', M_NONE, 0},
    };
    for (const Case &c : cases) EXPECT_EQ(Key(c.message, c.vk, c.mods), c.expected) << c.name;
}

TEST_F(KeyTest, CharacterMessagesAndAltGr) {
    struct Case {
        const char *name;
        UINT ch;
        int mods;
        KeyCode expected;
    } cases[] = {
        {"q", 'q', M_NONE, 'q'},         {"! with Shift", '!', M_SHIFT, 0x321}, {"Alt+q", 'q', M_ALT, 0x871},
        {"Ctrl+Q", 0x11, M_CTRL, 0x411}, {"char 255", 255, M_NONE, 0},
    };
    for (const Case &c : cases) EXPECT_EQ(Key(WM_CHAR, c.ch, c.mods), c.expected) << c.name;

    // AltGr: the system reports a left Ctrl and a right Alt; the character then carries neither.
    SetMods(M_CTRL | M_ALT);
    KeyFromMsgParts(window, WM_KEYDOWN, VK_CONTROL, 1);
    KeyFromMsgParts(window, WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 24) | (1 << 29));
    EXPECT_EQ(KeyFromMsgParts(window, WM_CHAR, '@', 1 | (1 << 29)), '@');
    // A right Ctrl with the right Alt is a real Ctrl+Alt.
    KeyFromMsgParts(window, WM_KEYDOWN, VK_CONTROL, 1 | (1 << 24));
    EXPECT_EQ(KeyFromMsgParts(window, WM_CHAR, '@', 1 | (1 << 29)), 0xC40);
    DrainQueue();
}

TEST_F(KeyTest, MouseCodes) {
    struct Case {
        const char *name;
        UINT message;
        WPARAM wParam;
        int mods;
        KeyCode expected;
    } cases[] = {
        {"left", WM_LBUTTONDOWN, MK_LBUTTON, M_NONE, 0x2002},
        {"left with right held", WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, M_NONE, 0x2003},
        {"right with left and middle held", WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON | MK_MBUTTON, M_NONE,
         0x2007},
        {"middle with Shift", WM_MBUTTONDOWN, MK_MBUTTON | MK_SHIFT, M_NONE, 0x2304},
        {"left double with Ctrl", WM_LBUTTONDBLCLK, MK_LBUTTON | MK_CONTROL | MK_RBUTTON, M_NONE, 0x2442},
        {"right double", WM_RBUTTONDBLCLK, MK_RBUTTON, M_NONE, 0x2041},
        {"middle double", WM_MBUTTONDBLCLK, MK_MBUTTON, M_NONE, 0x2044},
        {"left with Alt", WM_LBUTTONDOWN, MK_LBUTTON, M_ALT, 0x2802},
        {"first extra with left held", WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1 | MK_LBUTTON, XBUTTON1), M_NONE,
         0x200A},
        {"second extra double", WM_XBUTTONDBLCLK, MAKEWPARAM(MK_XBUTTON2 | MK_XBUTTON1, XBUTTON2), M_NONE,
         0x2010},
        {"move", WM_MOUSEMOVE, MK_LBUTTON, M_NONE, 0},
        {"button up", WM_LBUTTONUP, 0, M_NONE, 0},
    };
    for (const Case &c : cases) {
        SetMods(c.mods);
        EXPECT_EQ(KeyFromMsgParts(window, c.message, c.wParam, 0), c.expected) << c.name;
        EXPECT_EQ(KeyFromMouseMsg(c.message, c.wParam), c.expected) << c.name;
    }
}

TEST(KeyCode, PrintableAndUpcase) {
    struct Case {
        KeyCode key;
        int printable;
    } cases[] = {
        {'A', 1},    {0x321, 1},  {' ', 1},    {'~', 1},    {0x7F, 0},   {0x1F, 0},   {0x441, 0},  {0x841, 0},
        {0x107B, 0}, {0x402B, 0}, {0x802E, 0}, {0x2041, 0}, {0x2042, 0}, {0x2044, 0}, {0x2342, 0},
    };
    for (const Case &c : cases) EXPECT_EQ(KeyIsPrintable(c.key), c.printable) << std::hex << c.key;

    struct Up {
        KeyCode key;
        KeyCode expected;
    } ups[] = {{'a', 'A'}, {0x461, 0x441}, {'1', '1'}, {0x1070, 0x1070}, {0x8061, 0x8061}, {0x402D, 0x402D}};
    for (const Up &u : ups) EXPECT_EQ(KeyUpcase(u.key), u.expected) << std::hex << u.key;

    EXPECT_TRUE(KeyIsKeyMsg(WM_SYSKEYDOWN));
    EXPECT_FALSE(KeyIsKeyMsg(WM_SYSCHAR));
    EXPECT_TRUE(KeyIsMouseMsg(WM_XBUTTONDBLCLK));
    EXPECT_FALSE(KeyIsMouseMsg(WM_LBUTTONUP));
}

std::map<int, SHORT> asyncState;
std::vector<int> asyncAsked;

SHORT FakeAsync(int vk) {
    asyncAsked.push_back(vk);
    auto it = asyncState.find(vk);
    return it == asyncState.end() ? 0 : it->second;
}

int canceledShown;
void CountCanceled() {
    canceledShown++;
}

class KeyAbort : public KeyTest {
protected:
    void SetUp() override {
        KeyTest::SetUp();
        asyncState.clear();
        asyncAsked.clear();
        KeySetTestAsyncState(FakeAsync);
        KeySetCanceledHook(CountCanceled);
        canceledShown = 0;
    }
    void TearDown() override {
        SysResetMonitorApi();
        KeyTest::TearDown();
    }
};

TEST_F(KeyAbort, BreakAndBareEscCancel) {
    struct Case {
        const char *name;
        std::map<int, SHORT> state;
        int expected;
    } cases[] = {
        {"nothing", {}, 0},
        {"Break pressed", {{VK_CANCEL, (SHORT)0x8001}}, 1},
        {"Break held from before", {{VK_CANCEL, (SHORT)0x8000}}, 0},
        {"Esc pressed", {{VK_ESCAPE, (SHORT)0x8001}}, 1},
        {"Esc pressed and released", {{VK_ESCAPE, 0x0001}}, 0},
        {"Shift+Esc", {{VK_ESCAPE, (SHORT)0x8001}, {VK_SHIFT, (SHORT)0x8000}}, 0},
        {"Ctrl+Esc", {{VK_ESCAPE, (SHORT)0x8001}, {VK_CONTROL, (SHORT)0x8000}}, 0},
        {"Alt+Esc", {{VK_ESCAPE, (SHORT)0x8001}, {VK_MENU, (SHORT)0x8000}}, 0},
        {"Break with Ctrl", {{VK_CANCEL, (SHORT)0x8001}, {VK_CONTROL, (SHORT)0x8000}}, 1},
    };
    for (const Case &c : cases) {
        asyncState = c.state;
        canceledShown = 0;
        PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_EQ(KeyCheckAbort(), c.expected) << c.name;
        EXPECT_EQ(canceledShown, c.expected) << c.name << ": the status bar told once";
        DrainQueue();
    }

    // The Esc that cancelled is taken from the queue, so that it does not act again; other messages stay.
    asyncState = {{VK_ESCAPE, (SHORT)0x8001}};
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(window, WM_SYSKEYDOWN, VK_ESCAPE, 1 << 29);
    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_EQ(KeyCheckAbort(), 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_KEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_USER, WM_USER, PM_NOREMOVE));
}

// Unset, the canceled hook tells nobody: the poll still cancels.
TEST_F(KeyAbort, CancelsWithoutTheCanceledHook) {
    KeySetCanceledHook(nullptr);
    asyncState = {{VK_ESCAPE, (SHORT)0x8001}};
    EXPECT_EQ(KeyCheckAbort(), 1);
    EXPECT_EQ(canceledShown, 0);
    DrainQueue();
}

// One reset puts the system's key state back: the test's fake is no longer asked.
TEST_F(KeyAbort, OneResetPutsTheKeyStateBack) {
    asyncState = {{VK_ESCAPE, (SHORT)0x8001}};
    SeamResetAll();
    asyncAsked.clear();
    KeyClearAbort();
    EXPECT_TRUE(asyncAsked.empty());
    EXPECT_EQ(KeyCheckAbort(), 0) << "no key is down under the virtual display";
    EXPECT_EQ(canceledShown, 0);
}

TEST_F(KeyAbort, ClearAbortReadsBreakAndEsc) {
    KeyClearAbort();
    EXPECT_EQ(asyncAsked, (std::vector<int>{VK_CANCEL, VK_ESCAPE}));
}

int WINAPI SwappedMetrics(int index) {
    return index == SM_SWAPBUTTON ? 1 : GetSystemMetrics(index);
}

TEST_F(KeyAbort, MouseButtonsFollowTheSwapSetting) {
    asyncState = {{VK_RBUTTON, (SHORT)0x8000}};
    SysSetTestMonitorApi(nullptr);
    if (GetSystemMetrics(SM_SWAPBUTTON)) GTEST_SKIP() << "buttons swapped in this prefix";
    EXPECT_FALSE(MouseButtonsDown(1));
    EXPECT_TRUE(MouseButtonsDown(2));
    asyncState = {{VK_LBUTTON, (SHORT)0x8000}};
    EXPECT_TRUE(MouseButtonsDown(1));

    SysMonitorApi swapped = {};
    swapped.getSystemMetrics = SwappedMetrics;
    SysSetTestMonitorApi(&swapped);
    EXPECT_FALSE(MouseButtonsDown(1));
    EXPECT_TRUE(MouseButtonsDown(2));
    asyncState = {{VK_RBUTTON, (SHORT)0x8000}};
    EXPECT_TRUE(MouseButtonsDown(1));
    asyncState = {};
    EXPECT_FALSE(MouseButtonsDown(2));
}

} // namespace
