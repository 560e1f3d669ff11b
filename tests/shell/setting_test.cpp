// The program's values in the registry, through the test store: numbers as DWORD values or as decimal text
// read alike, texts cut to the buffer, values of the program key and of a subkey kept apart, deleting.
#include "shell/setting.h"

#include <gtest/gtest.h>

namespace {

class SettingTest : public testing::Test {
protected:
    void SetUp() override { SettingUseTestStore(true); }
};

TEST_F(SettingTest, NumbersAndTexts) {
    int32_t n = 5;
    EXPECT_FALSE(SettingGetInt(nullptr, "Missing", &n));
    EXPECT_EQ(n, 5) << "a missing value leaves the number alone";
    ASSERT_TRUE(SettingSetDword("Options\\Advanced", "Size", 300));
    ASSERT_TRUE(SettingSetInt(nullptr, "Size", -12));
    ASSERT_TRUE(SettingGetInt("Options\\Advanced", "Size", &n));
    EXPECT_EQ(n, 300);
    ASSERT_TRUE(SettingGetInt(nullptr, "size", &n));
    EXPECT_EQ(n, -12) << "names compare ignoring case; the subkey keeps its own";
    char text[8];
    ASSERT_TRUE(SettingGetText("Options\\Advanced", "Size", text, sizeof text));
    EXPECT_STREQ(text, "300");
    ASSERT_TRUE(SettingSetText(nullptr, "Name", "a long text"));
    ASSERT_TRUE(SettingGetText(nullptr, "Name", text, sizeof text));
    EXPECT_STREQ(text, "a long ");
    ASSERT_TRUE(SettingDelete(nullptr, "Name"));
    EXPECT_FALSE(SettingGetText(nullptr, "Name", text, sizeof text));
}

} // namespace
