// Font descriptions: a new description holds the face cut at 30 characters and the size; equality compares
// style, size and character set exactly and faces ignoring case; a stored face without its NUL reads as its
// first 30 characters.
#include "ui/fontdesc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(FontDescTest, InitAndEquality) {
    FontDesc a, b;
    FontDescInit(&a, "Courier New", 32);
    EXPECT_STREQ(a.face, "Courier New");
    EXPECT_EQ(a.size, 32);
    EXPECT_EQ(a.style, 0);
    EXPECT_EQ(a.charset, 0);
    EXPECT_TRUE(FontDescEqual(&a, FontDescInit(&b, "COURIER new", 32)));
    EXPECT_FALSE(FontDescEqual(&a, FontDescInit(&b, "Courier New", 36)));
    b = a;
    b.style = FONT_BOLD;
    EXPECT_FALSE(FontDescEqual(&a, &b));
    b = a;
    b.charset = 1;
    EXPECT_FALSE(FontDescEqual(&a, &b));
    std::string longFace(40, 'f');
    FontDescInit(&a, longFace.c_str(), 8);
    EXPECT_EQ(strlen(a.face), 30u);
}

TEST(FontDescTest, StoredFaceWithoutNul) {
    FontDesc stored, thirty;
    FontDescInit(&stored, "", 40);
    memset(stored.face, 'a', sizeof stored.face);
    FontDescInit(&thirty, std::string(30, 'a').c_str(), 40);
    char face[FONT_FACE_MAX + 1];
    EXPECT_EQ(std::string(FontDescFace(&stored, face)), std::string(30, 'a'));
    EXPECT_TRUE(FontDescEqual(&stored, &thirty));
}

} // namespace
