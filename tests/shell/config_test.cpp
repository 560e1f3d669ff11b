// The configuration file's container and engine:
// - round trip: every owned record changed, saved with the whole mask, the defaults installed, loaded back
//   equal; the reserved slots of the header zero; a full 80-byte description loads cut to 79 characters;
// - the safe save: a full disk from each write in turn leaves the old file byte for byte, no temporary file,
//   the configuration still dirty; the retry saves; the first save's backup stays;
// - refused files change nothing: a wrong magic, a version 1 file, a newer oldest reader, a cut at every
//   section boundary, a key map count of 2^30, 1,000 menus, a language chain that loops or names slot 150,
//   a section that points past the end: each gives 0, one alert, the settings as they were and clean;
// - loading: a file of the 19-slot header, a search section of the wrong size (the defaults), the same file
//   and mask again (nothing read), the display group left alone when slot 0 is not 44 bytes, partial masks,
//   the dirty marks and the change count, the hooks of a successful load.
#include "cfgtest.h"

#include "base/fileos.h"
#include "base/folder.h"
#include "display/opts.h"
#include "shell/cfgcolor.h"
#include "shell/cfgedit.h"
#include "shell/keymap.h"
#include "shell/srchopt.h"

#include <functional>
#include <string>

static bool operator==(const KeyBinding &a, const KeyBinding &b) {
    return a.command == b.command && a.key == b.key;
}

namespace {

using namespace cfgtest;

std::vector<KeyBinding> Bindings() {
    std::vector<KeyBinding> out;
    for (int32_t i = 0; i < KeyMapCount(); i++) {
        KeyBinding b;
        KeyMapGet(i, &b);
        out.push_back(b);
    }
    return out;
}

std::string Bytes(const void *p, size_t n) {
    return std::string((const char *)p, n);
}

// Everything a configuration holds, to compare before and after.
struct Snapshot {
    std::string display, edit, path, search, report, colors, types;
    std::vector<KeyBinding> keys;
    Menus menus;
    bool operator==(const Snapshot &) const = default;
};

Snapshot Take() {
    Snapshot s;
    s.display = Bytes(&g_displayOptions, sizeof g_displayOptions);
    ConfigEditRecord record;
    ConfigEditGather(&record);
    s.edit = Bytes(&record, sizeof record);
    s.path = ConfigSymbolPath();
    s.search = Bytes(g_searchOptions, sizeof g_searchOptions);
    s.report = Bytes(&g_projectReport, sizeof g_projectReport);
    s.colors = Bytes(g_colorRecord.colors, sizeof g_colorRecord.colors);
    for (int32_t i = 0; i < DtaCount(); i++) {
        char name[256];
        DtaOptions entry;
        DtaGetType(i, &entry, name, nullptr, nullptr, nullptr);
        s.types += std::string(name) + ":" + std::to_string(entry.tabWidth) + ";";
    }
    s.keys = Bindings();
    s.menus = cfgTestBar;
    return s;
}

class ConfigFileTest : public ConfigTest {
protected:
    // Changes every record the configuration owns.
    void ChangeEverything() {
        g_viewOptions = 0x12345678;
        g_viewOptions2 = 0x0BADF00D;
        g_decorOptions = 0x3FFF;
        g_spaceWidthChar = 'M';
        g_displayOptions.reserved1[2] = 7;
        g_options = 0xFFFFFFFF & ~(1u << 21 | 1u << 28);
        g_options2 = 0x0FBFFFFF & ~(1u << 21);
        g_options3 = 0x7FF;
        g_openCommand = 466;
        g_syncMinutes = 5;
        g_recoverySeconds = 99;
        g_undoSteps = 12;
        g_backupDays = 3;
        g_lineEndFormat = OPT_LINE_END_CR;
        g_pasteSelect = OPT_PASTE_ALL;
        g_spaceBetweenParams = 1;
        g_spaceAfterFuncName = 1;
        ConfigSetSymbolPath(std::string(400, 'p').c_str());
        ASSERT_TRUE(KeyMapAdd(GetUserCommandId("MyMacro"), KEY_CTRL | KEY_ALT | 'Z'));
        ASSERT_TRUE(KeyMapAdd(100, KEY_CTRL | 'Q'));
        cfgTestBar = {{57, -1, 58, GetUserCommandId("MyMacro")}, {90, 91}, {}};
        g_searchOptions[2].flags = 0x1234;
        g_searchOptions[3].kind = 0x50003;
        g_projectReport.words[4] = 42;
        FontDescInit(&g_projectReport.font, "Arial", 48);
        ConfigSetColor(6, 0x00ABCDEF);
        DtaOptions entry;
        char name[256], wildcards[256], pattern[256];
        DtaFont font;
        DtaGetType(3, &entry, name, wildcards, pattern, &font);
        entry.tabWidth = 7;
        ASSERT_TRUE(DtaReplace(3, &entry, name, wildcards, pattern, nullptr, &font));
    }
    // A valid file with a custom key map, menu and colour, the state clean.
    void SavedCustom() {
        ASSERT_TRUE(KeyMapAdd(100, KEY_CTRL | 'Q'));
        cfgTestBar = {{57, 58}, {90}};
        ConfigSetColor(1, 0x00112233);
        ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
        ASSERT_FALSE(ConfigIsDirty());
    }
    int32_t FilesInFolder() { return DirCountFilesTop(dir.c_str(), nullptr); }
};

TEST_F(ConfigFileTest, RoundTripOfEveryOwnedRecord) {
    ChangeEverything();
    Snapshot changed = Take();
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    ConfigSetDefaults();
    ASSERT_NE(Take(), changed);
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    Snapshot loaded = Take();
    EXPECT_EQ(loaded.display, changed.display);
    EXPECT_EQ(loaded.edit, changed.edit);
    EXPECT_EQ(loaded.path, changed.path);
    EXPECT_EQ(loaded.keys, changed.keys);
    EXPECT_EQ(loaded.menus, changed.menus);
    EXPECT_EQ(loaded.search, changed.search);
    EXPECT_EQ(loaded.report, changed.report);
    EXPECT_EQ(loaded.colors, changed.colors);
    EXPECT_EQ(loaded.types, changed.types);
    EXPECT_TRUE(VxAlerts().empty());
}

TEST_F(ConfigFileTest, HeaderOfAWholeSave) {
    ConfigSetDescription("Team settings");
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    std::string bytes = FileBytes(path);
    EXPECT_EQ(Get32(bytes, 0), CONFIG_MAGIC);
    EXPECT_EQ(Get32(bytes, 4), (uint32_t)VERSION_WORD);
    EXPECT_EQ(std::string(bytes.data() + 8), "Team settings");
    EXPECT_EQ(Get32(bytes, 88), CONFIG_OLDEST_READER);
    for (size_t at = 92; at < 120; at++) EXPECT_EQ(bytes[at], 0) << at;
    for (int32_t slot : {17, 21, 22, 24})
        EXPECT_EQ(SlotOffset(bytes, slot) | SlotSize(bytes, slot), 0u) << slot;
    for (int32_t slot = 26; slot < CONFIG_SLOTS; slot++)
        EXPECT_EQ(SlotOffset(bytes, slot) | SlotSize(bytes, slot), 0u) << slot;
    // The sections follow each other in the save order, the empty ones with their offset.
    EXPECT_EQ(SlotOffset(bytes, 0), CONFIG_HEADER_SIZE);
    EXPECT_EQ(SlotSize(bytes, 0), 44u);
    EXPECT_EQ(SlotOffset(bytes, 1), CONFIG_HEADER_SIZE + 44);
    EXPECT_EQ(SlotSize(bytes, 2), 32u);
    EXPECT_EQ(SlotSize(bytes, 5), 80u);
    EXPECT_EQ(SlotSize(bytes, 10), 68u);
    EXPECT_EQ(SlotSize(bytes, 20), 172u);
    EXPECT_NE(SlotOffset(bytes, 9), 0u);
    EXPECT_EQ(SlotSize(bytes, 9), 0u);
    EXPECT_EQ(SlotOffset(bytes, 25) + SlotSize(bytes, 25), bytes.size());
    EXPECT_EQ(Get32(bytes, SlotOffset(bytes, 20)), 1313u);
}

TEST_F(ConfigFileTest, PartialSaveLeavesUnselectedSlotsEmpty) {
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_KEYMAP | CONFIG_STYLES));
    std::string bytes = FileBytes(path);
    EXPECT_EQ(SlotOffset(bytes, CONFIG_SLOT_KEYMAP), CONFIG_HEADER_SIZE);
    EXPECT_NE(SlotSize(bytes, CONFIG_SLOT_KEYMAP), 0u);
    EXPECT_NE(SlotOffset(bytes, CONFIG_SLOT_STYLES), 0u);
    for (int32_t slot : {0, 1, 2, 4, 5, 7, 9, 10, 20, 23})
        EXPECT_EQ(SlotOffset(bytes, slot) | SlotSize(bytes, slot), 0u) << slot;
}

TEST_F(ConfigFileTest, FullDescriptionLoadsCut) {
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    std::string bytes = FileBytes(path);
    memset(&bytes[8], 'D', CONFIG_DESCRIPTION_SIZE);
    WriteBytes(path, bytes);
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    EXPECT_EQ(std::string(ConfigDescription()), std::string(79, 'D'));
    // A partial load leaves the description alone.
    ConfigSetDescription("kept");
    ConfigForgetLastLoad();
    ASSERT_TRUE(ConfigLoadMasked(path.c_str(), CONFIG_KEYMAP));
    EXPECT_STREQ(ConfigDescription(), "kept");
}

TEST_F(ConfigFileTest, FullDiskFromEachWriteLeavesTheOldFile) {
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    std::string old = FileBytes(path);
    std::string backup = dir + "\\Backup of GLOBAL.CF3";
    ChangeEverything();
    int failures = 0;
    for (int n = 1; n < 1000; n++) {
        FileOsWriteFailNth(n, -1);
        bool saved = ConfigSave(path.c_str(), false, CONFIG_ALL);
        FileOsWriteFailNth(0);
        if (saved) break;
        failures++;
        ASSERT_EQ(FileBytes(path), old) << "failing from write " << n;
        EXPECT_EQ(FilesInFolder(), 1) << "failing from write " << n;
        EXPECT_TRUE(ConfigIsDirty());
    }
    EXPECT_GE(failures, 1);
    EXPECT_FALSE(ConfigIsDirty()) << "the retry saved";
    EXPECT_NE(FileBytes(path), old);
    EXPECT_FALSE(VxFileExists(backup)) << "no file to back up at the first save";
}

TEST_F(ConfigFileTest, FirstSaveKeepsABackup) {
    WriteBytes(path, "previous");
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    std::string backup = dir + "\\Backup of GLOBAL.CF3";
    EXPECT_EQ(FileBytes(backup), "previous");
    std::string first = FileBytes(path);
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    EXPECT_EQ(FileBytes(backup), "previous") << "later saves keep the first save's backup";
    EXPECT_EQ(FileBytes(path), first);
}

TEST_F(ConfigFileTest, SaveIfDirtyAndTheChangeCount) {
    ConfigSetPath(path.c_str());
    EXPECT_FALSE(SaveConfigIfDirty(false));
    EXPECT_FALSE(VxFileExists(path));
    int32_t count = ConfigChangeCount();
    EXPECT_EQ(SetConfigDirty(0), count + 1);
    EXPECT_TRUE(ConfigIsDirty());
    EXPECT_FALSE(ConfigIsDirty2());
    SetConfigDirty(1);
    EXPECT_TRUE(ConfigIsDirty2());
    EXPECT_TRUE(SaveConfigIfDirty(true));
    EXPECT_FALSE(ConfigIsDirty());
    EXPECT_FALSE(ConfigIsDirty2());
    EXPECT_EQ(ConfigChangeCount(), count + 3) << "a refreshing save raises the count";
}

// Each way a file is refused: the alert it gives and the bytes.
struct Refusal {
    const char *name;
    const char *alert;
    std::function<void(std::string &)> damage;
};

void AddSection(std::string &bytes, int32_t slot, const std::string &section) {
    Put32(bytes, CONFIG_TABLE_OFFSET + 8 * slot, (uint32_t)bytes.size());
    Put32(bytes, CONFIG_TABLE_OFFSET + 8 * slot + 4, (uint32_t)section.size());
    bytes += section;
}

// A languages section of headers (slot, next) at the section's start; next is relative to the section.
std::string Languages(const std::string &bytes, std::vector<std::pair<uint32_t, uint32_t>> headers) {
    std::string section(56 * headers.size(), '\0');
    uint32_t base = (uint32_t)bytes.size();
    for (size_t i = 0; i < headers.size(); i++) {
        Put32(section, 56 * i, headers[i].first);
        Put32(section, 56 * i + 8, base + headers[i].second);
    }
    return section;
}

TEST_F(ConfigFileTest, RefusedFilesChangeNothing) {
    SavedCustom();
    const std::string good = FileBytes(path);
    const char *invalid = "%s is not a valid configuration file.\nIt cannot be opened.";
    const char *newer = "The Configuration File format has changed.  You must use a newer version of Veltrix "
                        "to open it.\n\nFile: %s";
    std::vector<Refusal> cases = {
        {"wrong magic", invalid, [](std::string &b) { Put32(b, 0, 0x3804); }},
        {"version 1", invalid, [](std::string &b) { Put32(b, 4, 0x01000000); }},
        {"newer reader", newer, [](std::string &b) { Put32(b, 88, 0x03320041); }},
        {"short header", invalid, [](std::string &b) { b.resize(300); }},
        {"key map count 2^30", invalid,
         [](std::string &b) { Put32(b, SlotOffset(b, CONFIG_SLOT_KEYMAP), 1u << 30); }},
        {"1,000 menus", invalid, [](std::string &b) { Put32(b, SlotOffset(b, CONFIG_SLOT_MENUS), 1000); }},
        {"section past the end", invalid,
         [](std::string &b) { Put32(b, CONFIG_TABLE_OFFSET + 8 * CONFIG_SLOT_EDIT + 4, 1u << 20); }},
        {"section inside the header", invalid,
         [](std::string &b) { Put32(b, CONFIG_TABLE_OFFSET + 8 * CONFIG_SLOT_KEYMAP, 100); }},
        {"overrun section", invalid,
         [](std::string &b) { Put32(b, CONFIG_TABLE_OFFSET + 8 * CONFIG_SLOT_DOCTYPES + 4, 40); }},
        {"language chain cycle", invalid,
         [](std::string &b) {
             AddSection(b, CONFIG_SLOT_LANGUAGES, Languages(b, {{5, 56}, {6, 0}}));
         }},
        {"language slot 150", invalid,
         [](std::string &b) {
             AddSection(b, CONFIG_SLOT_LANGUAGES, Languages(b, {{150, 56}, {0, 0}}));
         }},
        {"language named twice", invalid,
         [](std::string &b) {
             AddSection(b, CONFIG_SLOT_LANGUAGES, Languages(b, {{5, 56}, {5, 112}, {0, 0}}));
         }},
    };
    // A cut at every section boundary.
    std::vector<uint32_t> cuts;
    for (int32_t slot = 0; slot < CONFIG_SLOTS; slot++) {
        uint32_t offset = SlotOffset(good, slot);
        if (offset && offset < good.size()) cuts.push_back(offset);
    }
    ASSERT_GE(cuts.size(), 10u);
    for (uint32_t cut : cuts) cases.push_back({"cut", invalid, [cut](std::string &b) { b.resize(cut); }});

    Snapshot before = Take();
    for (const Refusal &c : cases) {
        std::string bytes = good;
        c.damage(bytes);
        std::string damaged = dir + "\\damaged.cf3";
        WriteBytes(damaged, bytes);
        VxAlertsReset();
        EXPECT_FALSE(LoadConfigFile(damaged.c_str())) << c.name;
        ASSERT_EQ(VxAlerts().size(), 1u) << c.name;
        char expected[1024];
        snprintf(expected, sizeof expected, c.alert, damaged.c_str());
        EXPECT_EQ(VxAlerts()[0].text, expected) << c.name;
        EXPECT_TRUE(Take() == before) << c.name;
        EXPECT_FALSE(ConfigIsDirty()) << c.name;
    }
}

TEST_F(ConfigFileTest, RefusedFileMakesNoUserCommand) {
    ASSERT_TRUE(KeyMapAdd(GetUserCommandId("Fresh"), KEY_CTRL | 'Q'));
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    KeyMapDelete(KeyMapFind(KEY_CTRL | 'Q'));
    UserCommandsFree();
    int32_t kept = GetUserCommandId("Kept");
    std::string bytes = FileBytes(path);
    Put32(bytes, SlotOffset(bytes, CONFIG_SLOT_MENUS), 1000); // read after the key map
    WriteBytes(path, bytes);
    EXPECT_FALSE(LoadConfigFile(path.c_str()));
    EXPECT_EQ(FindUserCommandByName("Fresh"), 0);
    EXPECT_EQ(FindUserCommandByName("Kept"), kept);
}

TEST_F(ConfigFileTest, MissingFileChangesNothingQuietly) {
    Snapshot before = Take();
    EXPECT_FALSE(LoadConfigFile((dir + "\\none.cf3").c_str()));
    EXPECT_TRUE(VxAlerts().empty());
    EXPECT_TRUE(Take() == before);
}

// A file of the 19-slot header of version 0x03000001, its sections right after the table.
TEST_F(ConfigFileTest, OldHeaderOfNineteenSlots) {
    std::string bytes(CONFIG_OLD_HEADER_SIZE, '\0');
    Put32(bytes, 0, CONFIG_MAGIC);
    Put32(bytes, 4, 0x03000001);
    Put32(bytes, 88, 0x03000001);
    DisplayOptions display = {};
    display.viewOptions = VIEW_STATUS_BAR | VIEW_CLIP_WINDOW;
    display.spaceWidthChar = 'x';
    AddSection(bytes, CONFIG_SLOT_DISPLAY, Bytes(&display, sizeof display));
    std::string keys(4, '\0');
    Put32(keys, 0, 1);
    keys += Bytes("\x64\0\0\0\x51\x04\0\0", 8); // command 100, Ctrl+Q
    AddSection(bytes, CONFIG_SLOT_KEYMAP, keys);
    ConfigSetColor(0, 0x010203);
    WriteBytes(path, bytes);
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    EXPECT_EQ(g_viewOptions, VIEW_STATUS_BAR | VIEW_CLIP_WINDOW);
    EXPECT_EQ(g_spaceWidthChar, 'x');
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'Q'), 100);
    EXPECT_EQ(ConfigGetColor(0), 0xFFFFFFu) << "a file without colours gives the default colours";
    EXPECT_EQ(ConfigLoadedVersion(), 0x03000001u);
    EXPECT_EQ(KeyToCommand(KEY_ALT | 'K'), 634) << "the keys that later versions bound";
    EXPECT_TRUE(ConfigIsDirty()) << "so that the next save writes the new form";
}

TEST_F(ConfigFileTest, SearchSectionOfTheWrongSizeGivesTheDefaults) {
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    std::string bytes = FileBytes(path);
    Put32(bytes, CONFIG_TABLE_OFFSET + 8 * CONFIG_SLOT_SEARCH + 4, 60);
    WriteBytes(path, bytes);
    g_searchOptions[0].flags = 1;
    g_searchOptions[3].flags = 2;
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    SearchOptions defaults[SEARCH_OPTIONS_COUNT];
    memcpy(defaults, g_searchOptions, sizeof defaults);
    SearchOptionsDefaults();
    EXPECT_EQ(Bytes(defaults, sizeof defaults), Bytes(g_searchOptions, sizeof g_searchOptions));
}

TEST_F(ConfigFileTest, SameFileAndMaskAgainReadsNothing) {
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    int32_t count = ConfigChangeCount();
    VxRemoveFile(path);
    std::string upper = path;
    for (char &c : upper) c = (char)toupper((unsigned char)c);
    EXPECT_TRUE(LoadConfigFile(upper.c_str())) << "names compare ignoring case";
    EXPECT_EQ(ConfigChangeCount(), count);
    EXPECT_FALSE(ConfigLoadMasked(path.c_str(), CONFIG_KEYMAP)) << "another mask reads the file";
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    uint32_t saved = g_options;
    g_options = 0;
    SetConfigDirty(0);
    ASSERT_TRUE(LoadConfigFile(path.c_str())) << "a dirty configuration is read again";
    EXPECT_EQ(g_options, saved);
}

TEST_F(ConfigFileTest, DisplayGroupNeedsItsRecord) {
    ConfigSetColor(2, 0x00445566);
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    std::string bytes = FileBytes(path);
    Put32(bytes, CONFIG_TABLE_OFFSET + 4, 40); // slot 0 no longer 44 bytes
    WriteBytes(path, bytes);
    ConfigSetColor(2, 0x00778899);
    g_viewOptions = 0x5;
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    EXPECT_EQ(g_viewOptions, 0x5u);
    EXPECT_EQ(ConfigGetColor(2), 0x778899u) << "the whole group is left as it is";
}

TEST_F(ConfigFileTest, MaskChoosesTheSections) {
    ChangeEverything();
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    Snapshot saved = Take();
    ConfigSetDefaults();
    Snapshot defaults = Take();
    ASSERT_TRUE(ConfigLoadMasked(path.c_str(), CONFIG_KEYMAP | CONFIG_MENUS));
    Snapshot loaded = Take();
    EXPECT_EQ(loaded.keys, saved.keys);
    EXPECT_EQ(loaded.menus, saved.menus);
    EXPECT_EQ(loaded.display, defaults.display);
    EXPECT_EQ(loaded.edit, defaults.edit);
    EXPECT_EQ(loaded.colors, defaults.colors);
}

TEST_F(ConfigFileTest, DocumentTypesReplaceOrMerge) {
    int32_t count = DtaCount();
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_DOCTYPES));
    DtaOptions entry;
    DtaOptionsDefault(&entry);
    DtaFont font;
    DtaFontDefault(&font);
    ASSERT_TRUE(DtaAppend(&entry, "Mine", "*.mine", "", "None", &font));
    ASSERT_TRUE(ConfigLoadMasked(path.c_str(), CONFIG_DOCTYPES_MERGE));
    EXPECT_EQ(DtaCount(), count + 1) << "merging keeps a type the file lacks";
    ASSERT_TRUE(ConfigLoadMasked(path.c_str(), CONFIG_DOCTYPES));
    EXPECT_EQ(DtaCount(), count);
    EXPECT_EQ(DtaFindByName("Mine"), -1);
}

int cfgTestRebuilt, cfgTestRedrawn;
std::vector<std::pair<ConfigWindowKind, bool>> cfgTestShown;

TEST_F(ConfigFileTest, SuccessfulLoadRefreshesTheWindows) {
    ConfigHooks hooks = {};
    hooks.windowMenuRebuild = [] { cfgTestRebuilt++; };
    hooks.redrawSourceWindows = [] { cfgTestRedrawn++; };
    hooks.showWindows = [](ConfigWindowKind kind, bool show) { cfgTestShown.push_back({kind, show}); };
    ConfigSetHooks(&hooks);
    cfgTestRebuilt = cfgTestRedrawn = 0;
    cfgTestShown.clear();
    g_viewOptions = VIEW_CLIP_WINDOW | VIEW_RELATION_WINDOWS;
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_ALL));
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    EXPECT_EQ(cfgTestRebuilt, 1);
    EXPECT_EQ(cfgTestRedrawn, 1);
    std::vector<std::pair<ConfigWindowKind, bool>> shown = {{CONFIG_WINDOW_PROJECT, false},
                                                            {CONFIG_WINDOW_CLIP, true},
                                                            {CONFIG_WINDOW_CONTEXT, false},
                                                            {CONFIG_WINDOW_RELATION, true}};
    EXPECT_EQ(cfgTestShown, shown);
    std::string bytes = FileBytes(path);
    Put32(bytes, 0, 0);
    WriteBytes(path, bytes);
    ConfigForgetLastLoad();
    EXPECT_FALSE(LoadConfigFile(path.c_str()));
    EXPECT_EQ(cfgTestRebuilt, 1) << "a refused file refreshes nothing";
}

} // namespace
