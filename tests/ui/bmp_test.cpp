// The named-bitmap cache: sharing by use count and case-blind name, purging unused bitmaps only, names that
// are not resources, and a release too many that must not free a bitmap still in use.
#include "ui/bmp.h"

#include <gtest/gtest.h>

class BmpTest : public testing::Test {
protected:
    void TearDown() override { BmpTerm(); }
};

TEST_F(BmpTest, UseCountKeepsBitmapUntilLastRelease) {
    HBITMAP first = BmpGet("bmpFuelTop");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(BmpGet("bmpFuelTop"), first);
    BmpRelease(first);
    BmpPurge();
    EXPECT_EQ(GetObjectType(first), (DWORD)OBJ_BITMAP);
    BmpRelease(first);
    BmpPurge();
    EXPECT_EQ(GetObjectType(first), 0u);
    HBITMAP again = BmpGet("bmpFuelTop");
    EXPECT_NE(again, nullptr);
    EXPECT_EQ(GetObjectType(again), (DWORD)OBJ_BITMAP);
}

TEST_F(BmpTest, NamesCompareCaseBlind) {
    HBITMAP bitmap = BmpGet("bmpOtlPlus");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(BmpGet("BMPOTLPLUS"), bitmap);
    EXPECT_NE(BmpGet("bmpOtlMinus"), bitmap);
}

TEST_F(BmpTest, UnknownNameGivesNull) {
    EXPECT_EQ(BmpGet("bmpNoSuchPicture"), nullptr);
    EXPECT_EQ(BmpGet(""), nullptr);
}

TEST_F(BmpTest, ExtraReleaseDoesNotFreeBitmapInUse) {
    HBITMAP bitmap = BmpGet("bmpFuelBack");
    ASSERT_NE(bitmap, nullptr);
    BmpRelease(bitmap);
    BmpRelease(bitmap);
    EXPECT_EQ(BmpGet("bmpFuelBack"), bitmap);
    BmpPurge();
    EXPECT_EQ(GetObjectType(bitmap), (DWORD)OBJ_BITMAP);
}

TEST_F(BmpTest, TermDeletesBitmapsInUse) {
    HBITMAP bitmap = BmpGet("bmpMarbleHi");
    ASSERT_NE(bitmap, nullptr);
    BmpTerm();
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}
