// The configuration's other sections:
// - the key map of an older file: the keys later versions bound are bound where free (Alt+K below
//   0x03000089), never over the user's own binding, and not at all for current files;
// - the languages chain: a sound chain is checked and skipped; the relation windows' head and records;
// - records of slots without an owner carried through a load and a save byte for byte, dropped by the
//   defaults; a toolbar layout whose third word is not 10 taken as none;
// - the project report settings: defaults, and "MS Sans Serif" of an older file replaced by the dialog font;
// - the display options: the width characters of the defaults from the registry values; background textures
//   only without a visual style.
#include "cfgtest.h"

#include "display/opts.h"
#include "shell/keymap.h"

#include <array>

namespace {

using namespace cfgtest;

class ConfigSectTest : public ConfigTest {
protected:
    // A saved file whose header says the given version.
    std::string SavedAs(uint32_t version, uint32_t mask = CONFIG_ALL) {
        EXPECT_TRUE(ConfigSave(path.c_str(), false, mask));
        std::string bytes = FileBytes(path);
        Put32(bytes, 4, version);
        return bytes;
    }
    bool Load(const std::string &bytes, uint32_t mask = CONFIG_ALL) {
        WriteBytes(path, bytes);
        ConfigForgetLastLoad();
        return ConfigLoadMasked(path.c_str(), mask);
    }
    void AddSection(std::string &bytes, int32_t slot, const std::string &section) {
        Put32(bytes, CONFIG_TABLE_OFFSET + 8 * slot, (uint32_t)bytes.size());
        Put32(bytes, CONFIG_TABLE_OFFSET + 8 * slot + 4, (uint32_t)section.size());
        bytes += section;
    }
};

TEST_F(ConfigSectTest, KeysOfLaterVersionsBoundWhereFree) {
    int32_t at = KeyMapFind(KEY_ALT | 'K');
    ASSERT_GE(at, 0);
    KeyMapDelete(at);
    std::string older = SavedAs(0x03000088, CONFIG_KEYMAP);
    ASSERT_TRUE(Load(older, CONFIG_KEYMAP));
    EXPECT_EQ(KeyToCommand(KEY_ALT | 'K'), 634) << "a free Alt+K is bound";
    EXPECT_TRUE(ConfigIsDirty());

    KeyMapDelete(KeyMapFind(KEY_ALT | 'K'));
    ASSERT_TRUE(KeyMapAdd(100, KEY_ALT | 'K'));
    int32_t count = KeyMapCount();
    ClearConfigDirty();
    ASSERT_TRUE(Load(SavedAs(0x03000088, CONFIG_KEYMAP), CONFIG_KEYMAP));
    EXPECT_EQ(KeyToCommand(KEY_ALT | 'K'), 100) << "the user's own binding stays";
    EXPECT_EQ(KeyMapCount(), count);
    EXPECT_FALSE(ConfigIsDirty());

    KeyMapDelete(KeyMapFind(KEY_ALT | 'K'));
    ASSERT_TRUE(Load(SavedAs(0x03000089, CONFIG_KEYMAP), CONFIG_KEYMAP));
    EXPECT_EQ(KeyToCommand(KEY_ALT | 'K'), 0) << "a current file gets nothing";
}

TEST_F(ConfigSectTest, OldestFilesGetEveryLaterKey) {
    KeyMap empty = {};
    KeyMapInstall(&empty);
    ASSERT_TRUE(Load(SavedAs(0x02000000, CONFIG_KEYMAP), CONFIG_KEYMAP));
    EXPECT_EQ(KeyToCommand(KEY_CTRL | '\''), 347);
    EXPECT_EQ(KeyToCommand(KEY_ALT | ' '), 373);
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'E'), 411);
    EXPECT_EQ(KeyToCommand(KEY_MOUSE | KEY_MOUSE_X1), 43);
    EXPECT_EQ(KeyToCommand(KEY_MOUSE | KEY_MOUSE_X2), 106);
    EXPECT_EQ(KeyToCommand(KEY_ALT | KEY_FUNCTION | 0x7B), 628);
    EXPECT_EQ(KeyMapCount(), 7);
}

// Language headers (slot, next, keywords, conditions, properties), offsets relative to the section.
std::string LanguageChain(uint32_t base, const std::vector<std::array<uint32_t, 5>> &headers, size_t size) {
    std::string section(size, '\0');
    for (size_t i = 0; i < headers.size(); i++) {
        const auto &h = headers[i];
        uint32_t at = (uint32_t)(i == 0 ? 0 : headers[i - 1][1]);
        Put32(section, at, h[0]);
        Put32(section, at + 8, h[1] ? base + h[1] : 0);
        for (int k = 0; k < 3; k++) Put32(section, at + 12 + 4 * k, h[2 + k] ? base + h[2 + k] : 0);
    }
    return section;
}

TEST_F(ConfigSectTest, LanguagesChainCheckedAndSkipped) {
    std::string bytes = SavedAs(VERSION_WORD);
    uint32_t base = (uint32_t)bytes.size();
    struct Case {
        const char *name;
        std::vector<std::array<uint32_t, 5>> headers;
        size_t size;
        bool ok;
    };
    const Case cases[] = {
        {"last header only", {{0, 0, 0, 0, 0}}, 56, true},
        {"two languages and the last",
         {{3, 1000, 56, 60, 64}, {21, 2000, 0, 0, 1056}, {0, 0, 2056, 0, 0}},
         2100,
         true},
        {"property record past the end", {{3, 100, 0, 0, 60}, {0, 0, 0, 0, 0}}, 900, false},
        {"records inside their header", {{3, 100, 20, 0, 0}, {0, 0, 0, 0, 0}}, 200, false},
        {"next header backwards", {{3, 56, 0, 0, 0}, {4, 56, 0, 0, 0}}, 200, false},
        {"no last header", {{3, 0, 0, 0, 0}}, 56, false},
        {"header past the section", {{3, 60, 0, 0, 0}}, 80, false},
        {"slot 100", {{100, 56, 0, 0, 0}, {0, 0, 0, 0, 0}}, 112, false},
    };
    for (const Case &c : cases) {
        std::string file = bytes;
        AddSection(file, CONFIG_SLOT_LANGUAGES, LanguageChain(base, c.headers, c.size));
        VxAlertsReset();
        EXPECT_EQ(Load(file), c.ok) << c.name;
        EXPECT_EQ(VxAlerts().size(), c.ok ? 0u : 1u) << c.name;
    }
}

TEST_F(ConfigSectTest, RelationWindowsHeadAndRecords) {
    std::string bytes = SavedAs(VERSION_WORD);
    struct Case {
        uint32_t count;
        size_t size;
        bool ok;
    };
    const Case cases[] = {{0, 6028, true},
                          {2, 6028 + 2 * 5896 + 40, true},
                          {1, 6028, false},
                          {0, 6000, false},
                          {0x40000000, 6028, false}};
    for (const Case &c : cases) {
        std::string file = bytes;
        std::string section(c.size, '\0');
        Put32(section, 0, c.count);
        AddSection(file, CONFIG_SLOT_RELATION, section);
        EXPECT_EQ(Load(file), c.ok) << c.count << " in " << c.size;
    }
}

TEST_F(ConfigSectTest, RecordsWithoutOwnersAreCarried) {
    std::string bytes = SavedAs(VERSION_WORD);
    std::string symbols(212, 'S'), filter(16, 'F'), style(1480, 'T');
    AddSection(bytes, CONFIG_SLOT_SYMBOL_WINDOW, symbols);
    AddSection(bytes, CONFIG_SLOT_TYPE_FILTER, filter);
    AddSection(bytes, CONFIG_SLOT_STYLE_RECORD, style);
    ASSERT_TRUE(Load(bytes));
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    std::string saved = FileBytes(path);
    EXPECT_EQ(saved.substr(SlotOffset(saved, CONFIG_SLOT_SYMBOL_WINDOW), 212), symbols);
    EXPECT_EQ(saved.substr(SlotOffset(saved, CONFIG_SLOT_TYPE_FILTER), 16), filter);
    EXPECT_EQ(saved.substr(SlotOffset(saved, CONFIG_SLOT_STYLE_RECORD), 1480), style);
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL & ~CONFIG_STYLES));
    saved = FileBytes(path);
    EXPECT_EQ(SlotOffset(saved, CONFIG_SLOT_STYLE_RECORD) | SlotSize(saved, CONFIG_SLOT_STYLE_RECORD), 0u);
    ConfigSetDefaults();
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    saved = FileBytes(path);
    EXPECT_EQ(SlotSize(saved, CONFIG_SLOT_SYMBOL_WINDOW), 0u) << "the defaults hold none";
}

TEST_F(ConfigSectTest, ToolbarLayoutNeedsItsCount) {
    std::string bytes = SavedAs(VERSION_WORD);
    std::string layout(5024, '\0');
    Put32(layout, 8, 10);
    std::string file = bytes;
    AddSection(file, CONFIG_SLOT_TOOLBARS, layout);
    ASSERT_TRUE(Load(file));
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_TOOLBARS));
    EXPECT_EQ(SlotSize(FileBytes(path), CONFIG_SLOT_TOOLBARS), 5024u);
    Put32(layout, 8, 9);
    file = bytes;
    AddSection(file, CONFIG_SLOT_TOOLBARS, layout);
    ASSERT_TRUE(Load(file));
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_TOOLBARS));
    EXPECT_EQ(SlotSize(FileBytes(path), CONFIG_SLOT_TOOLBARS), 0u) << "the default toolbars instead";
}

void CfgTestDialogFont(FontDesc *out) {
    FontDescInit(out, "Tahoma", 32);
}

TEST_F(ConfigSectTest, ReportSettingsAndTheOldDialogFont) {
    ProjectReportSettings defaults;
    ConfigReportDefaults(&defaults);
    EXPECT_EQ(defaults.words[0], 0xFFFFFFFFu);
    EXPECT_EQ(defaults.words[2], 0u);
    EXPECT_EQ(defaults.words[7], 0u);
    char face[FONT_FACE_MAX + 1];
    EXPECT_STREQ(FontDescFace(&defaults.font, face), "Courier New");

    ConfigHooks hooks = {};
    hooks.dialogFont = CfgTestDialogFont;
    ConfigSetHooks(&hooks);
    FontDescInit(&g_projectReport.font, "MS Sans Serif", 32);
    std::string older = SavedAs(0x03320011, CONFIG_REPORT);
    std::string current = SavedAs(0x03320012, CONFIG_REPORT);
    ASSERT_TRUE(Load(current, CONFIG_REPORT));
    EXPECT_STREQ(FontDescFace(&g_projectReport.font, face), "MS Sans Serif");
    ASSERT_TRUE(Load(older, CONFIG_REPORT));
    EXPECT_STREQ(FontDescFace(&g_projectReport.font, face), "Tahoma");
}

TEST_F(ConfigSectTest, DisplayDefaultsAndTextures) {
    SettingSetText(nullptr, "SpaceWidthChar", "M");
    SettingSetText(nullptr, "DelimWidthChar", "");
    ConfigSetDefaults();
    EXPECT_EQ(g_spaceWidthChar, 'M');
    EXPECT_EQ(g_delimWidthChar, 0) << "an empty value: no substitute width";
    SettingDelete(nullptr, "SpaceWidthChar");
    ConfigSetDefaults();
    EXPECT_EQ(g_spaceWidthChar, '1');

    g_viewOptions2 |= VIEW2_TEXTURES;
    EXPECT_TRUE(UseBackgroundTextures());
    ConfigHooks hooks = {};
    hooks.themeActive = [] { return true; };
    ConfigSetHooks(&hooks);
    EXPECT_FALSE(UseBackgroundTextures());
}

} // namespace
