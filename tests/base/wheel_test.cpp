// The mouse wheel: lines per notch from the system setting, the page setting, and a legacy wheel driver's
// window on an older system, whose roll message reaches the focus window as a native wheel message and
// interrupts long work.
#include "base/inputpend.h"
#include "base/sysprobe.h"
#include "base/wheel.h"
#include "base/wndtest.h"

#include <gtest/gtest.h>

namespace {

class WheelTest : public testing::Test {
protected:
    void TearDown() override {
        SysSetTestAnswers(nullptr);
        WheelInit();
    }
    SysTestAnswers Answers(uint32_t major, uint32_t minor, uint32_t platform) {
        return WtAnswers(major, minor, platform);
    }
};

TEST_F(WheelTest, WheelLinesPerNotch) {
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

// An older system without the native wheel message: the wheel driver's window answers, and its roll message
// reaches the focus window as a native wheel message.
TEST_F(WheelTest, LegacyWheelOnAnOlderSystem) {
    HWND driver = WtLegacyWheelDriver();
    ASSERT_NE(driver, nullptr);
    SysTestAnswers a = Answers(4, 0, VER_PLATFORM_WIN32_WINDOWS);
    SysSetTestAnswers(&a);
    WheelInit();
    EXPECT_TRUE(WheelIsPresent());
    EXPECT_TRUE(WheelIsLegacy());
    EXPECT_EQ(WheelLinesPerNotch(), 5);
    EXPECT_EQ(WheelLines(MAKEWPARAM(0, (WORD)(short)-120), 10), 5);

    HWND target = WtMakeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetFocus(target);
    ASSERT_EQ(GetFocus(), target);
    WtClearReceived();
    UINT roll = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    SendMessageA(target, roll, (WPARAM)(WORD)(short)-120, 0x00050006);
    ASSERT_EQ(wtReceived.size(), 1u);
    EXPECT_EQ(wtReceived[0], (UINT)WM_MOUSEWHEEL);
    EXPECT_EQ(wtReceivedWParam[0], (WPARAM)0xFF880000u);
    EXPECT_EQ(wtReceivedLParam[0], 0x00050006);

    // The roll message interrupts long work like any other wheel turn.
    WtDrainQueue();
    InputPendingReset();
    PostMessageA(target, roll, 0, 0);
    EXPECT_EQ(InputPending(), 1);
    WtDrainQueue();
    InputPendingReset();
    DestroyWindow(target);
    DestroyWindow(driver);
}

} // namespace
