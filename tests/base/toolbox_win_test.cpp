// The library's settings in the registry, under a key of the test's own: the remote-session options'
// defaults, reading them (a missing scale means no zoom, other missing values keep theirs) and writing them
// as decimal text.
#include "base/reg.h"
#include "base/toolbox.h"
#include "base/toolbox_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string RawText(HKEY key, const char *name, DWORD *type) {
    char buffer[64] = {};
    DWORD size = sizeof buffer - 1;
    if (RegQueryValueExA(key, name, nullptr, type, (BYTE *)buffer, &size) != ERROR_SUCCESS) return "<none>";
    return std::string(buffer);
}

class ToolboxWin : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, keyName.c_str());
        user = RegCreate(HKEY_CURRENT_USER, keyName.c_str());
        ASSERT_NE(user, nullptr);
    }
    void TearDown() override {
        ToolboxRemoteDefaults();
        RegCloseKey(user);
        RegDeleteTreeA(HKEY_CURRENT_USER, keyName.c_str());
    }
    std::string keyName = "SOFTWARE\\VeltrixToolboxTest" + std::to_string(GetCurrentProcessId());
    HKEY user = nullptr;
};

TEST_F(ToolboxWin, RemoteOptionsDefaultsAndReads) {
    HKEY key = RegCreate(user, "Remote");
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(RegSetString(key, "RemoteNoThemes", "1"));
    ASSERT_EQ(ToolboxInit(key), 1);
    const ToolboxRemoteOptions *o = ToolboxRemote();
    typedef int32_t ToolboxRemoteOptions::*Field;
    const struct {
        Field field;
        int32_t expected;
    } rows[] = {{&ToolboxRemoteOptions::noTransparent, 1}, {&ToolboxRemoteOptions::noLogoGraphics, 1},
                {&ToolboxRemoteOptions::noColorGrad, 0},   {&ToolboxRemoteOptions::noAnimation, 1},
                {&ToolboxRemoteOptions::noThemes, 1},      {&ToolboxRemoteOptions::noSmoothScroll, 1},
                {&ToolboxRemoteOptions::noShadowText, 0},  {&ToolboxRemoteOptions::scalePercent, 100},
                {&ToolboxRemoteOptions::noDblBuffer, 1}};
    for (const auto &row : rows) EXPECT_EQ(o->*row.field, row.expected) << &row - rows;

    // Written and read back through another key; then a key with no values keeps them, except the scale.
    ASSERT_TRUE(RegSetString(key, "RemoteScalePercent", "150"));
    ASSERT_TRUE(RegSetString(key, "RemoteNoColorGrad", "-5"));
    ToolboxReadRemoteOptions(key);
    EXPECT_EQ(o->scalePercent, 150);
    EXPECT_EQ(o->noColorGrad, -5);
    HKEY copy = RegCreate(user, "RemoteCopy");
    ToolboxWriteRemoteOptions(copy);
    DWORD type = 0;
    EXPECT_EQ(RawText(copy, "RemoteNoColorGrad", &type), "-5");
    EXPECT_EQ(RawText(copy, "RemoteScalePercent", &type), "150");
    HKEY empty = RegCreate(user, "RemoteEmpty");
    ToolboxReadRemoteOptions(empty);
    EXPECT_EQ(o->scalePercent, 100);
    EXPECT_EQ(o->noColorGrad, -5);
    EXPECT_EQ(o->noThemes, 1);
    ToolboxReadRemoteOptions(copy);
    EXPECT_EQ(o->scalePercent, 150);
    ToolboxRemoteDefaults();
    EXPECT_EQ(o->noColorGrad, 0);
    EXPECT_EQ(o->noThemes, 0);
    for (HKEY k : {key, copy, empty}) RegCloseKey(k);
}

} // namespace
