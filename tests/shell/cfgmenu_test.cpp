// The menus of the configuration:
// - the menu names, with "OtherMenu" outside the table;
// - the default bar: eight menus of the sizes and first items the defaults give;
// - the section: a round trip with user commands found again by name; a lost user command drops only its
//   item; values no command can have are dropped; sections refused whole (more than 15 menus, counts and
//   names past the section, stray bytes) with the bar unchanged and no user command made;
// - the upgrades of older files: Smart Rename and the Context Window added only where missing, Preferences
//   and Toolbars moved to the front of their menus.
#include "cfgtest.h"

#include "shell/cfgmenu.h"

namespace {

using namespace cfgtest;

using ConfigMenuTest = ConfigTest;

TEST_F(ConfigMenuTest, Names) {
    EXPECT_STREQ(ConfigMenuTitle(0), "&File");
    EXPECT_STREQ(ConfigMenuName(0), "File");
    EXPECT_STREQ(ConfigMenuTitle(8), "Wor&k");
    EXPECT_STREQ(ConfigMenuName(8), "Work");
    EXPECT_STREQ(ConfigMenuTitle(9), "OtherMenu");
    EXPECT_STREQ(ConfigMenuName(-1), "OtherMenu");
}

TEST_F(ConfigMenuTest, DefaultBar) {
    cfgTestBar.clear();
    ASSERT_TRUE(ConfigDefaultMenus());
    ASSERT_EQ(cfgTestBar.size(), 8u);
    const size_t sizes[] = {28, 26, 25, 12, 11, 13, 13, 9};
    const int32_t first[] = {56, 87, 62, 74, 71, 596, 110, 33}; // New, Undo, Search..., ..., Help...
    for (size_t m = 0; m < 8; m++) {
        EXPECT_EQ(cfgTestBar[m].size(), sizes[m]) << m;
        EXPECT_EQ(cfgTestBar[m][0], first[m]) << m;
    }
    EXPECT_EQ(cfgTestBar[0].back(), 24) << "File ends with Exit";
    EXPECT_EQ(cfgTestBar[6].back(), -1) << "Window ends with a separator before the windows";
}

class ConfigMenuSectionTest : public ConfigTest {
protected:
    void WriteMenus(const std::string &section) {
        ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_MENUS));
        std::string bytes = FileBytes(path);
        bytes.resize(SlotOffset(bytes, CONFIG_SLOT_MENUS));
        Put32(bytes, CONFIG_TABLE_OFFSET + 8 * CONFIG_SLOT_MENUS + 4, (uint32_t)section.size());
        WriteBytes(path, bytes + section);
        ConfigForgetLastLoad();
    }
    static std::string Word(uint32_t v) { return std::string((const char *)&v, 4); }
    static std::string Name(const std::string &name) { return std::string(1, (char)name.size()) + name; }
};

TEST_F(ConfigMenuSectionTest, RoundTripFindsUserCommandsByName) {
    int32_t mine = GetUserCommandId("Mine");
    int32_t other = GetUserCommandId("Other");
    cfgTestBar = {{57, mine, -1, 58}, {other}, {}};
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_MENUS));
    UserCommandsFree();
    GetUserCommandId("Unrelated"); // takes id 2000
    cfgTestBar.clear();
    ASSERT_TRUE(ConfigLoadMasked(path.c_str(), CONFIG_MENUS));
    ASSERT_EQ(cfgTestBar.size(), 3u);
    EXPECT_EQ(cfgTestBar[0], (std::vector<int32_t>{57, FindUserCommandByName("Mine"), -1, 58}));
    EXPECT_EQ(cfgTestBar[1], (std::vector<int32_t>{FindUserCommandByName("Other")}));
    EXPECT_NE(FindUserCommandByName("Mine"), mine) << "ids are given again by name";
}

TEST_F(ConfigMenuSectionTest, LostItemsAreDroppedAlone) {
    // A user command whose name gives no id, and values no command can have.
    WriteMenus(Word(1) + Word(7) + Word(57) + Word(2005) + Word(58) + Word(0) + Word(4000) +
               Word((uint32_t)-2) + Word(900) + Name(""));
    ASSERT_TRUE(ConfigLoadMasked(path.c_str(), CONFIG_MENUS));
    ASSERT_EQ(cfgTestBar.size(), 1u);
    EXPECT_EQ(cfgTestBar[0], (std::vector<int32_t>{57, 58, 900}));
    EXPECT_EQ(UserCommandSlots(), 0);
}

TEST_F(ConfigMenuSectionTest, DamagedSectionsAreRefusedWhole) {
    cfgTestBar = {{57}};
    const std::string sections[] = {
        Word(16),                     // more menus than the table
        Word(1) + Word(5) + Word(57), // items past the section
        Word(1) + Word(0x40000000),   // a count of 2^30
        Word(1) + Word(1) + Word(2000) +
            "\x08"
            "abc",                                               // a name past the section
        Word(1) + Word(1) + Word(2000),                          // a name missing
        Word(1) + Word(1) + Word(57) + "x",                      // stray bytes
        Word(2) + Word(1) + Word(2000) + Name("Made") + Word(3), // a later menu short
    };
    for (const std::string &section : sections) {
        WriteMenus(section);
        VxAlertsReset();
        EXPECT_FALSE(ConfigLoadMasked(path.c_str(), CONFIG_MENUS)) << section.size();
        EXPECT_EQ(VxAlerts().size(), 1u);
        EXPECT_EQ(cfgTestBar, (Menus{{57}}));
        EXPECT_EQ(UserCommandSlots(), 0) << "a refused section makes no user command";
    }
}

TEST_F(ConfigMenuTest, UpgradesOfOlderFiles) {
    struct Case {
        uint32_t version;
        Menus before, after;
    };
    const Case cases[] = {
        {0x02000000, {{100, 1}, {291, 2}}, {{100, 347, 1}, {291, 349, 2}}},
        {0x02000000, {{100, 347}, {349, 291}}, {{100, 347}, {349, 291}}}, // the user has them
        {0x02000010, {{100}, {291}}, {{100}, {291}}},
        {0x03000000, {{}, {}, {}, {}, {5, 71}, {7}, {596}}, {{}, {}, {}, {}, {71, 5}, {596, 7}, {}}},
        {0x0300003D, {{}, {}, {}, {}, {5, 71}}, {{}, {}, {}, {}, {5, 71}}},
        {0x03000000, {{71}}, {{71}}}, // no Options menu: nothing moves
    };
    for (const Case &c : cases) {
        cfgTestBar = c.before;
        ConfigMenuSet set = {};
        set.count = (int32_t)c.before.size();
        for (int32_t m = 0; m < set.count; m++) {
            set.menus[m].count = (int32_t)c.before[m].size();
            set.menus[m].items = (int32_t *)MemAlloc(c.before[m].size() * 4 + 4);
            for (size_t i = 0; i < c.before[m].size(); i++) set.menus[m].items[i] = c.before[m][i];
        }
        bool changed = ConfigMenusUpgrade(&set, c.version);
        CfgTestMenuInstall(&set);
        ConfigMenuSetFree(&set);
        EXPECT_EQ(cfgTestBar, c.after) << std::hex << c.version;
        EXPECT_EQ(changed, c.after != c.before);
    }
}

} // namespace
