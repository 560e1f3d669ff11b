// The free tooltip window: the paint callback of its creation data, the window text without one, and the
// tip going away when the application is switched.
#include "ui/tip.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string tipPainted;
int tipPaints;

void TipTestPaint(HWND, HDC, const char *text) {
    tipPaints++;
    tipPainted = text;
}

HWND TipMake(const TipCreateData *data, const char *text) {
    EXPECT_TRUE(TipRegisterClass());
    return CreateWindowExA(WS_EX_TOPMOST, tipClass, text, WS_POPUP | WS_BORDER, 10, 10, 120, 24, nullptr,
                           nullptr, GetModuleHandleA(nullptr), (void *)data);
}

} // namespace

TEST(Tip, PaintsThroughItsCallback) {
    TipCreateData data = {TipTestPaint};
    HWND tip = TipMake(&data, "hello");
    ASSERT_NE(tip, nullptr);
    tipPaints = 0;
    SendMessageA(tip, WM_PAINT, 0, 0);
    EXPECT_EQ(tipPaints, 1);
    EXPECT_EQ(tipPainted, "hello");
    SendMessageA(tip, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(IsWindow(tip));
}

TEST(Tip, WithoutCreationDataPaintsItsText) {
    HWND tip = TipMake(nullptr, "plain");
    ASSERT_NE(tip, nullptr);
    tipPaints = 0;
    SendMessageA(tip, WM_PAINT, 0, 0);
    EXPECT_EQ(tipPaints, 0);
    DestroyWindow(tip);
}
