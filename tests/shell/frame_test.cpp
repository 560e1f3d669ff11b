// Frame window: the class registers, the window is titled "Veltrix", closing it ends the loop with code 0.
#include "shell/hubinit.h"

#include <gtest/gtest.h>

TEST(Frame, ClosingTheFrameEndsTheLoopWithZero) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(HubRegisterFrameClass(instance));
    HWND frame = HubCreateFrame(instance, SW_SHOWNOACTIVATE);
    ASSERT_NE(frame, nullptr);
    char title[64];
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, "Veltrix");
    char cls[64];
    GetClassNameA(frame, cls, sizeof cls);
    EXPECT_STREQ(cls, "vx_Frame");
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(HubMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(frame));
}
