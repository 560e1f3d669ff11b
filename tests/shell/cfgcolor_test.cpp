// The colours of the configuration:
// - the two default tables by the display's colour depth, the application background the system's;
// - names as the Colors page shows them, "" outside the table;
// - setting one colour, the application background repainting the frame, an index outside the table ignored;
// - a stored record: its colours taken without their top byte, the words around them written fresh.
#include "cfgtest.h"

#include "shell/cfgcolor.h"

namespace {

using namespace cfgtest;

bool cfgColorHigh;
int cfgColorRepaints;

class ConfigColorTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        ConfigHooks hooks = {};
        hooks.hiColor = [] { return cfgColorHigh; };
        hooks.appBackgroundColor = [] { return (uint32_t)0x00336699; };
        hooks.appBackgroundChanged = [] { cfgColorRepaints++; };
        ConfigSetHooks(&hooks);
        cfgColorRepaints = 0;
    }
};

TEST_F(ConfigColorTest, DefaultsByColourDepth) {
    ColorRecord record;
    cfgColorHigh = false;
    ConfigColorDefaults(&record);
    EXPECT_EQ(record.magic, 1313u);
    EXPECT_EQ(record.version, (uint32_t)VERSION_WORD);
    EXPECT_EQ(record.count, 13u);
    EXPECT_EQ(record.colors[3], 0x00FF00u);
    EXPECT_EQ(record.colors[11], 0xFFFFFFu);
    EXPECT_EQ(record.colors[12], 0x336699u);
    cfgColorHigh = true;
    ConfigColorDefaults(&record);
    EXPECT_EQ(record.colors[3], 0xBADDBDu);
    EXPECT_EQ(record.colors[4], 0xDCD6BCu);
    EXPECT_EQ(record.colors[11], 0xE6E6E6u);
    EXPECT_EQ(record.colors[6], 0x800000u);
}

TEST_F(ConfigColorTest, Names) {
    char name[CONFIG_COLOR_NAME_MAX];
    ConfigColorName(0, name);
    EXPECT_STREQ(name, "Window Background");
    ConfigColorName(9, name);
    EXPECT_STREQ(name, "Printed Window Background");
    ConfigColorName(12, name);
    EXPECT_STREQ(name, "Application Background");
    ConfigColorName(13, name);
    EXPECT_STREQ(name, "");
}

TEST_F(ConfigColorTest, SettingColours) {
    ConfigSetColor(5, 0x01ABCDEF);
    EXPECT_EQ(ConfigGetColor(5), 0xABCDEFu);
    EXPECT_EQ(cfgColorRepaints, 0);
    ConfigSetColor(12, 0x123456);
    EXPECT_EQ(cfgColorRepaints, 1);
    ConfigSetColor(13, 0);
    ConfigSetColor(-1, 0);
    EXPECT_EQ(ConfigGetColor(13), 0u);
}

TEST_F(ConfigColorTest, StoredRecordGivesItsColoursOnly) {
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_DISPLAY));
    std::string bytes = FileBytes(path);
    uint32_t at = SlotOffset(bytes, CONFIG_SLOT_COLORS);
    Put32(bytes, at, 7);                       // not 1313
    Put32(bytes, at + 44 + 4 * 2, 0xFF00FF00); // colour 2 with a top byte
    WriteBytes(path, bytes);
    cfgColorRepaints = 0;
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    EXPECT_EQ(ConfigGetColor(2), 0x00FF00u);
    EXPECT_EQ(g_colorRecord.magic, 1313u);
    EXPECT_EQ(cfgColorRepaints, 1) << "the background repainted once";
}

} // namespace
