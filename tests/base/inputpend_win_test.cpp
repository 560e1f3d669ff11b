// The message queue's side of the input-pending test, over real posted messages: which messages count (mouse
// moves left out on request), the latch until reset, suspension, the throttle during background work
// (through the tick clock), the caret-blink timer dispatched, and losing the foreground when only the
// foreground counts.
#include "base/inputpend.h"
#include "base/tick.h"
#include "base/wheel.h"
#include "base/wnd.h"
#include "base/wndtest.h"

#include <gtest/gtest.h>

namespace {

uint32_t fakeNow;
uint32_t FakeTicks() {
    return fakeNow;
}

class InputOs : public testing::Test {
protected:
    void SetUp() override {
        window = WtMakeWindow(WS_POPUP, 0, 0, 40, 40);
        ASSERT_NE(window, nullptr);
        WtDrainQueue();
        InputPendingReset();
        wtSystimerSeen = 0;
        wtSystimerInterrupts = false;
    }
    void TearDown() override {
        TickSetClock(nullptr, nullptr);
        DestroyWindow(window);
        WtDrainQueue();
        InputPendingReset();
    }
    HWND window = nullptr;
};

TEST_F(InputOs, QueuedInputCounts) {
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
        WtDrainQueue();
    }
}

TEST_F(InputOs, LatchHoldsUntilReset) {
    PostMessageA(window, WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(InputPending(), 1);
    WtDrainQueue();
    EXPECT_EQ(InputPending(), 1);
    EXPECT_EQ(InputPending(), 1);
    InputPendingReset();
    EXPECT_EQ(InputPending(), 0);
    InputPendingInterrupt();
    EXPECT_EQ(InputPending(), 1);
}

TEST_F(InputOs, SuspensionClearsTheLatchAndHidesInput) {
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

TEST_F(InputOs, BackgroundWorkLooksAtMostEvery125Ms) {
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
    WtDrainQueue();
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
    WtDrainQueue();
    EXPECT_EQ(InputPending(), 0);
    PostMessageA(window, WM_SYSKEYDOWN, 'A', 1);
    EXPECT_EQ(InputPending(), 1);
}

TEST_F(InputOs, CaretBlinkTimerIsDispatched) {
    PostMessageA(window, 0x118, 0, 0);
    EXPECT_EQ(InputPending(), 0);
    EXPECT_EQ(wtSystimerSeen, 1);
    wtSystimerInterrupts = true;
    PostMessageA(window, 0x118, 0, 0);
    EXPECT_EQ(InputPending(), 1);
    EXPECT_EQ(wtSystimerSeen, 2);
}

TEST_F(InputOs, ForegroundOnlyCountsLosingTheForeground) {
    HWND frame = WtMakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150);
    HWND other = WtMakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 10, 200, 150);
    WndSetAppWindows(frame, nullptr);
    SetForegroundWindow(frame);
    WtDrainQueue();
    if (GetForegroundWindow() != frame) GTEST_SKIP() << "no foreground control under this display";
    EXPECT_EQ(AppIsForeground(), 1);
    InputPendingSetForegroundOnly(1);
    InputPendingReset();
    EXPECT_EQ(InputPending(), 0);
    SetForegroundWindow(other);
    WtDrainQueue();
    EXPECT_EQ(AppIsForeground(), 0);
    InputPendingReset();
    EXPECT_EQ(InputPending(), 1);
    InputPendingSetForegroundOnly(0);
    InputPendingReset();
    WtDrainQueue();
    EXPECT_EQ(InputPending(), 0);
    ShowWindow(other, SW_MINIMIZE);
    SetForegroundWindow(other);
    WtDrainQueue();
    if (GetForegroundWindow() == other) {
        EXPECT_EQ(AppIsForeground(), 1);
    }
    WndSetAppWindows(nullptr, nullptr);
    DestroyWindow(other);
    DestroyWindow(frame);
}

} // namespace
