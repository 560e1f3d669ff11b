// The program's values in the real registry: DWORD values and decimal text, in the program key and in a
// subkey made on the first store.
#include "shell/setting.h"

#include "base/reg.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

namespace {

DWORD ValueType(const char *subKey, const char *name) {
    HKEY key = RegOpen(RegUserProgramKey(), subKey, false);
    DWORD type = 0;
    RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr);
    RegCloseKey(key);
    return type;
}

TEST(SettingWinTest, DwordsAndTextsInTheRegistry) {
    VxOpenSettings();
    ASSERT_TRUE(SettingSetDword("Options\\Advanced", "NoSymCache", 1));
    ASSERT_TRUE(SettingSetInt("Options\\Advanced", "Text", 42));
    EXPECT_EQ(ValueType("Options\\Advanced", "NoSymCache"), (DWORD)REG_DWORD);
    EXPECT_EQ(ValueType("Options\\Advanced", "Text"), (DWORD)REG_SZ);
    int32_t n = 0;
    ASSERT_TRUE(SettingGetInt("Options\\Advanced", "NoSymCache", &n));
    EXPECT_EQ(n, 1);
    ASSERT_TRUE(SettingGetInt("Options\\Advanced", "Text", &n));
    EXPECT_EQ(n, 42);
    char text[16];
    ASSERT_TRUE(SettingGetText("Options\\Advanced", "NoSymCache", text, sizeof text));
    EXPECT_STREQ(text, "1");
    EXPECT_TRUE(SettingDelete("Options\\Advanced", "NoSymCache"));
    EXPECT_TRUE(SettingDelete("Options\\Advanced", "Text"));
    EXPECT_FALSE(SettingGetInt("Options\\Advanced", "Text", &n));
}

} // namespace
