// The pen cache: one pen per style, colour and width; the solid-pen selection; freeing everything; and the
// stock black pen, not cached, when the cache cannot grow.
#include "ui/pen.h"

#include "base/heap.h"

#include <gtest/gtest.h>

class PenTest : public testing::Test {
protected:
    void TearDown() override {
        HeapFailNth(0);
        PenFreeAll();
    }
};

TEST_F(PenTest, OnePenPerStyleColourAndWidth) {
    HPEN pen = PenGet(PS_SOLID, RGB(1, 2, 3), 1);
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(PenGet(PS_SOLID, RGB(1, 2, 3), 1), pen);
    EXPECT_EQ(PenGetThin(PS_SOLID, RGB(1, 2, 3)), pen);
    EXPECT_NE(PenGet(PS_DOT, RGB(1, 2, 3), 1), pen);
    EXPECT_NE(PenGet(PS_SOLID, RGB(1, 2, 4), 1), pen);
    EXPECT_NE(PenGet(PS_SOLID, RGB(1, 2, 3), 2), pen);
    LOGPEN info = {};
    GetObjectA(PenGet(PS_SOLID, RGB(1, 2, 3), 2), sizeof info, &info);
    EXPECT_EQ(info.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(info.lopnWidth.x, 2);
}

TEST_F(PenTest, SelectSolidReturnsPrevious) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ original = GetCurrentObject(dc, OBJ_PEN);
    EXPECT_EQ(PenSelectSolid(dc, RGB(9, 9, 9)), original);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), PenGet(PS_SOLID, RGB(9, 9, 9), 1));
    SelectObject(dc, original);
    DeleteDC(dc);
}

TEST_F(PenTest, FreeAllDeletesPens) {
    HPEN pen = PenGet(PS_SOLID, RGB(5, 5, 5), 3);
    PenFreeAll();
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_EQ(GetObjectType(PenGet(PS_SOLID, RGB(5, 5, 5), 3)), (DWORD)OBJ_PEN);
}

TEST_F(PenTest, StockPenWhenNodeFails) {
    HeapFailNth(1);
    HPEN stock = (HPEN)GetStockObject(BLACK_PEN);
    EXPECT_EQ(PenGet(PS_SOLID, RGB(7, 7, 7), 1), stock);
    HeapFailNth(0);
    HPEN pen = PenGet(PS_SOLID, RGB(7, 7, 7), 1);
    EXPECT_NE(pen, stock);
    PenFreeAll();
    EXPECT_EQ(GetObjectType(stock), (DWORD)OBJ_PEN);
}
