// The key map and key names:
// - the two presets: their sizes, a sample of their keys, and the keypad keys stored with both flags;
// - lookup: printable characters never looked up, the keypad operators' fallback commands, the newest
//   binding first, one form for either Shift bit and for letters of either case;
// - changes: add and delete with the menus of the changed command marked, a failed growth, copy and install;
// - display texts of key codes, and the texts of a command's keys;
// - the configuration section: a round trip that finds a user command again by name, and sections refused
//   whole (a huge count, a short section, names past the end, stray bytes), with the live map untouched;
//   bindings of commands below 0 or from 4000 dropped while 683 to 1999 stay.
#include "cmdtest.h"

#include "base/formtest.h"
#include "base/heap.h"
#include "shell/cmd.h"
#include "shell/cmduser.h"
#include "shell/keymap.h"

#include <string>

static bool operator==(const KeyBinding &a, const KeyBinding &b) {
    return a.command == b.command && a.key == b.key;
}

namespace {

std::string KeyName(KeyCode key) {
    char text[KEY_NAME_MAX];
    KeyCodeName(key, text, sizeof text);
    return text;
}

std::vector<KeyBinding> Bindings(const KeyMap *map) {
    std::vector<KeyBinding> out;
    for (uint32_t i = 0; i < map->count; i++) out.push_back(((const KeyBinding *)map->bindings->ptr)[i]);
    return out;
}

using KeyMapTest = CmdTest;

TEST_F(KeyMapTest, Presets) {
    ASSERT_TRUE(KeyMapReset(1));
    EXPECT_EQ(KeyMapCount(), 191);
    EXPECT_EQ(KeyToCommand(KEY_FUNCTION | 0x70), 33);              // F1: Help...
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'S'), 59);                   // Save
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'A'), 89);                   // Save All
    EXPECT_EQ(KeyToCommand(KEY_ALT), 27);                          // Alt alone: Activate Menu Bar
    EXPECT_EQ(KeyToCommand(0x1B), 2);                              // Esc
    EXPECT_EQ(KeyToCommand(KEY_MOUSE | KEY_MOUSE_LEFT), 31);       // L Click
    EXPECT_EQ(KeyToCommand(KEY_CTRL | KEY_MOUSE | 0x82), 86);      // Ctrl+L Click (select)
    EXPECT_EQ(KeyToCommand(KEY_NAV | KEY_KEYPAD | 0x21), 12);      // (KeyPad) PgUp: Page Up
    EXPECT_EQ(KeyToCommand(KEY_KEYPAD | '\r'), 3);                 // (KeyPad) Enter
    EXPECT_EQ(KeyToCommand(KEY_SHIFT | KEY_FUNCTION | 0x71), 152); // Shift+F2: Select Next Window
    EXPECT_EQ(KeyToCommand(KEY_ALT | KEY_SHIFT | 'N'), 74);        // Alt+Shift+N: New Project...
    EXPECT_EQ(KeyToCommand(KEY_MOUSE | KEY_MOUSE_X1), 43);         // Thumb 1 Click: Go Back
    ASSERT_TRUE(KeyMapReset(2));
    EXPECT_EQ(KeyMapCount(), 190);
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'C'), 11); // Page Down
    EXPECT_EQ(KeyToCommand(KEY_ALT | 'Q'), 24);  // Exit
    EXPECT_EQ(KeyToCommand(KEY_CTRL | KEY_FUNCTION | 0x7B), 0) << "unbound";
    EXPECT_EQ(KeyToCommand(KEY_ALT | ' '), 155); // Alt+Space: Zoom Window
    ASSERT_TRUE(KeyMapReset(7));
    EXPECT_EQ(KeyMapCount(), 191) << "any other preset is the standard one";
}

TEST_F(KeyMapTest, PrintableCharactersAreNeverLookedUp) {
    ASSERT_TRUE(KeyMapAdd(90, 'a'));
    ASSERT_TRUE(KeyMapAdd(91, ' '));
    EXPECT_EQ(KeyToCommand('a'), 0);
    EXPECT_EQ(KeyToCommand('A'), 0);
    EXPECT_EQ(KeyToCommand(' '), 0);
    EXPECT_EQ(KeyToCommand('~'), 0);
    EXPECT_EQ(KeyMapFind('a'), 1) << "the binding is there, only never consulted";
}

TEST_F(KeyMapTest, KeypadOperatorsInsertWhileUnbound) {
    ASSERT_TRUE(KeyMapReset(1));
    EXPECT_EQ(KeyToCommand(KEY_KEYPAD | '*'), 36) << "bound: Scroll Half Page Down";
    KeyMapDelete(KeyMapFind(KEY_KEYPAD | '*'));
    EXPECT_EQ(KeyToCommand(KEY_KEYPAD | '*'), 623);
    struct Case {
        KeyCode key;
        int32_t command;
    } unbound[] = {{KEY_KEYPAD | '/', 622}, {KEY_KEYPAD | '-', 624}, {KEY_KEYPAD | '+', 625}};
    KeyMap empty = {};
    KeyMapInstall(&empty);
    for (const Case &c : unbound) EXPECT_EQ(KeyToCommand(c.key), c.command) << c.key;
    EXPECT_EQ(KeyToCommand(KEY_CTRL | KEY_KEYPAD | '*'), 0) << "only the plain keypad keys";
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'Q'), 0);
}

std::vector<int32_t> menusMarked;

TEST_F(KeyMapTest, TheNewestBindingWinsAndMenusFollowEveryChange) {
    CmdHooks hooks = {};
    hooks.menuInvalidate = [](int32_t command) { menusMarked.push_back(command); };
    CmdSetHooks(&hooks);
    menusMarked.clear();
    ASSERT_TRUE(KeyMapAdd(90, KEY_CTRL | 'x'));
    ASSERT_TRUE(KeyMapAdd(127, KEY_CTRL | 'X'));
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'X'), 127);
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'x'), 127) << "stored upper-cased";
    EXPECT_EQ(KeyForCommand(90), KEY_CTRL | 'X');
    ASSERT_TRUE(KeyMapAdd(145, 0x100 | KEY_NAV | 0x25));
    EXPECT_EQ(KeyToCommand(KEY_SHIFT | KEY_NAV | 0x25), 145) << "either Shift bit is Shift";
    EXPECT_EQ(KeyMapDelete(KeyMapFind(KEY_CTRL | 'X')), 2);
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'X'), 90) << "the older binding stayed behind";
    EXPECT_EQ(KeyMapDelete(5), 2) << "past the end: nothing";
    EXPECT_EQ(KeyMapDelete(-1), 2);
    EXPECT_EQ(menusMarked, (std::vector<int32_t>{90, 127, 145, 127}));
    KeyBinding binding;
    ASSERT_TRUE(KeyMapGet(0, &binding));
    EXPECT_EQ(binding.command, 145u);
    EXPECT_FALSE(KeyMapGet(2, &binding));
}

TEST_F(KeyMapTest, AFailedGrowthLeavesTheMapAsItWas) {
    ASSERT_TRUE(KeyMapReset(1));
    HeapFailNth(1);
    EXPECT_FALSE(KeyMapAdd(90, KEY_CTRL | KEY_FUNCTION | 0x7B));
    HeapFailNth(0);
    EXPECT_EQ(KeyMapCount(), 191);
    EXPECT_EQ(KeyToCommand(KEY_FUNCTION | 0x70), 33);
    HeapFailNth(1);
    EXPECT_FALSE(KeyMapReset(2));
    HeapFailNth(0);
    EXPECT_EQ(KeyMapCount(), 191) << "the standard keys stay";
}

TEST_F(KeyMapTest, CopyInstallAndRightClick) {
    ASSERT_TRUE(KeyMapReset(1));
    EXPECT_FALSE(KeyMapRightClickBound());
    KeyMap saved;
    ASSERT_TRUE(KeyMapCopy(&saved));
    ASSERT_TRUE(KeyMapAdd(82, KEY_MOUSE | KEY_MOUSE_SELECT | KEY_MOUSE_RIGHT));
    EXPECT_TRUE(KeyMapRightClickBound());
    std::vector<KeyBinding> before = Bindings(&saved);
    KeyMapInstall(&saved);
    EXPECT_EQ(saved.bindings, nullptr) << "the map was taken";
    EXPECT_EQ(Bindings(KeyMapLive()), before);
    EXPECT_FALSE(KeyMapRightClickBound());
    ASSERT_TRUE(KeyMapAdd(82, KEY_MOUSE | KEY_MOUSE_RIGHT));
    EXPECT_TRUE(KeyMapRightClickBound());
    int32_t position = -1;
    KeyBinding binding;
    std::vector<int32_t> positions;
    while (KeyMapNextForCommand(KeyMapLive(), 152, &position, &binding)) positions.push_back(position);
    EXPECT_EQ(positions.size(), 3u) << "F2, Shift+F2 and Ctrl+F6";
}

TEST_F(KeyMapTest, DisplayTexts) {
    struct Case {
        KeyCode key;
        const char *text;
    } cases[] = {
        {0xC521, "Ctrl+Shift+(KeyPad) PgUp"},
        {0x20C2, "Double L Click (select)"},
        {0x2005, "Mouse Click"},
        {0x800, "Alt+"},
        {KEY_CTRL | KEY_SHIFT | KEY_FUNCTION | 0x72, "Ctrl+Shift+F3"},
        {KEY_CTRL | KEY_MOUSE | 0x82, "Ctrl+L Click (select)"},
        {KEY_MOUSE | 0x01, "R Click"},
        {KEY_MOUSE | 0x03, "L+R Click"},
        {KEY_MOUSE | 0x04, "M Click"},
        {KEY_MOUSE | 0x07, "L+M+R Click"},
        {KEY_MOUSE | 0x08, "Thumb 1 Click"},
        {KEY_MOUSE | 0x10, "Thumb 2 Click"},
        {KEY_MOUSE | KEY_ALT | 0x42, "Alt+Double L Click"},
        {KEY_NAV | 0x2E, "Del"},
        {KEY_NAV | 0x41, ""}, // no navigation key: only its prefixes
        {KEY_ALT | KEY_NAV | 0x41, "Alt+"},
        {KEY_FUNCTION | 0x7B, "F12"},
        {KEY_FUNCTION | 0x7F, "F16"},
        {KEY_FUNCTION | 0x41, ""},
        {0x0D, "Enter"},
        {KEY_SHIFT | 0x09, "Shift+Tab"},
        {KEY_CTRL | 0x20, "Ctrl+Space"},
        {KEY_ALT | 0x08, "Alt+BackSpace"},
        {0x1B, "Esc"},
        {KEY_CTRL | ',', "Ctrl+,"},
        {KEY_KEYPAD | '*', "(KeyPad) *"},
        {KEY_CTRL | KEY_ALT | ']', "Ctrl+Alt+]"},
    };
    for (const Case &c : cases) EXPECT_EQ(KeyName(c.key), c.text) << std::hex << c.key;
    char text[8];
    memset(text, '#', sizeof text);
    KeyCodeName(0xC521, text, 6);
    EXPECT_STREQ(text, "Ctrl+");
    EXPECT_EQ(text[6], '#');
}

TEST_F(KeyMapTest, NamesOfACommandsKeys) {
    ASSERT_TRUE(KeyMapReset(1));
    Stb *names = KeyNamesOfCommand(86, true); // Jump To Definition
    ASSERT_NE(names, nullptr);
    ASSERT_EQ(StbCount(names), 3);
    char text[KEY_NAME_MAX];
    std::vector<std::string> texts;
    for (int32_t i = 0; i < StbCount(names); i++) {
        StbGetString(names, i, text);
        texts.push_back(text);
        KeyBinding binding;
        ASSERT_TRUE(KeyMapGet(StbGetValue(names, i), &binding));
        EXPECT_EQ(binding.command, 86u) << "the value is the binding's position";
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Ctrl+=", "Ctrl+L Click (select)", "Ctrl+Double L Click"}));
    StbFree(&names);
    names = KeyNamesOfCommand(86, false);
    EXPECT_EQ(StbCount(names), 1);
    StbFree(&names);
    names = KeyNamesOfCommand(0, true);
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(StbCount(names), 0);
    StbFree(&names);
}

FormBytes Section() {
    return FormWrite([](int file) { return (int)KeyMapWrite(file); });
}

bool ReadSection(const FormBytes &bytes, KeyMap *out) {
    return FormRead(bytes, [&](int file) { return KeyMapRead(file, (uint32_t)bytes.size(), out); });
}

TEST_F(KeyMapTest, SectionRoundTripFindsUserCommandsByName) {
    int32_t lint = GetUserCommandId("Lint"), build = GetUserCommandId("Build");
    ASSERT_TRUE(KeyMapAdd(59, KEY_CTRL | 'S'));
    ASSERT_TRUE(KeyMapAdd(build, KEY_FUNCTION | 0x77));
    ASSERT_TRUE(KeyMapAdd(lint, KEY_FUNCTION | 0x78));
    FormBytes bytes = Section();
    ASSERT_EQ(bytes.size(), 4u + 3 * 8 + 5 + 6);
    EXPECT_EQ(FormGet32(bytes, 0), 3);
    EXPECT_EQ(std::string(bytes.begin() + 28, bytes.end()), std::string("\x04Lint\x05"
                                                                        "Build"));

    // Another run made its user commands in another order: the names find the ids of this one.
    TermCommands();
    int32_t build2 = GetUserCommandId("Build"), lint2 = GetUserCommandId("Lint");
    EXPECT_NE(build2, build);
    KeyMap read;
    ASSERT_TRUE(ReadSection(bytes, &read));
    std::vector<KeyBinding> expected = {{(uint32_t)lint2, KEY_FUNCTION | 0x78},
                                        {(uint32_t)build2, KEY_FUNCTION | 0x77},
                                        {59, KEY_CTRL | 'S'}};
    EXPECT_EQ(Bindings(&read), expected);
    KeyMapInstall(&read);
    EXPECT_EQ(KeyToCommand(KEY_FUNCTION | 0x78), lint2);
}

TEST_F(KeyMapTest, SectionWithoutBindings) {
    FormBytes bytes = Section();
    ASSERT_EQ(bytes.size(), 4u);
    KeyMap read;
    ASSERT_TRUE(ReadSection(bytes, &read));
    EXPECT_EQ(read.count, 0u);
    KeyMapFree(&read);
}

// Bindings as stored, with the names of the user commands behind them.
FormBytes Stored(std::vector<KeyBinding> bindings, const std::string &names, int32_t count = -1) {
    FormBytes bytes(4 + 8 * bindings.size());
    FormPut32(bytes, 0, count < 0 ? (int32_t)bindings.size() : count);
    for (size_t i = 0; i < bindings.size(); i++) {
        FormPut32(bytes, 4 + 8 * i, (int32_t)bindings[i].command);
        FormPut32(bytes, 8 + 8 * i, (int32_t)bindings[i].key);
    }
    bytes.insert(bytes.end(), names.begin(), names.end());
    return bytes;
}

TEST_F(KeyMapTest, SectionsThatDoNotHoldWhatTheySayAreRefusedWhole) {
    ASSERT_TRUE(KeyMapReset(1));
    std::vector<KeyBinding> before = Bindings(KeyMapLive());
    KeyBinding save = {59, KEY_CTRL | 'S'}, user = {2000, KEY_FUNCTION | 0x77};
    struct Case {
        const char *what;
        FormBytes bytes;
    } cases[] = {
        {"empty", {}},
        {"cut in the count", {1, 0}},
        {"a count of 2^30", Stored({save}, "", 1 << 30)},
        {"a count of -1", Stored({save}, "", -1 & 0x7FFFFFFF)},
        {"a count past the bindings", Stored({save, save}, "", 3)},
        {"a binding cut short", FormPatch(Stored({save}, ""), 10, 0, true)},
        {"a user command without its name", Stored({save, user}, "")},
        {"a name running past the section", Stored({user}, "\x09"
                                                           "Build")},
        {"a stray name", Stored({save}, "\x05"
                                        "Build")},
        {"a stray byte", Stored({save, user}, std::string("\x05"
                                                          "Build") +
                                                  '\0')},
    };
    int32_t handles = HLiveCount();
    for (const Case &c : cases) {
        KeyMap read = {90, nullptr};
        EXPECT_FALSE(ReadSection(c.bytes, &read)) << c.what;
        EXPECT_EQ(read.count, 0u) << c.what;
        EXPECT_EQ(read.bindings, nullptr) << c.what;
        EXPECT_EQ(HLiveCount(), handles) << c.what << ": nothing kept";
        EXPECT_EQ(FindUserCommandByName("Build"), 0) << c.what << ": no user command made";
    }
    EXPECT_EQ(Bindings(KeyMapLive()), before);
}

TEST_F(KeyMapTest, SectionLargerThanTheFileIsRefused) {
    FormBytes bytes = Stored({{59, KEY_CTRL | 'S'}}, "");
    KeyMap read;
    EXPECT_FALSE(
        FormRead(bytes, [&](int file) { return KeyMapRead(file, (uint32_t)bytes.size() + 8, &read); }));
    EXPECT_FALSE(FormRead(bytes, [&](int file) { return KeyMapRead(file, 0xFFFFFFFF, &read); }));
}

TEST_F(KeyMapTest, BindingsOfNoCommandAreDropped) {
    FormBytes bytes = Stored({{59, KEY_CTRL | 's'},
                              {(uint32_t)-1, KEY_CTRL | 'A'},
                              {900, KEY_CTRL | 'B'},
                              {1999, KEY_CTRL | 'C'},
                              {2001, KEY_CTRL | 'D'},
                              {4000, KEY_CTRL | 'E'},
                              {2002, KEY_CTRL | 'F'},
                              {0x80000000, KEY_CTRL | 'G'}},
                             std::string("\x00", 1) + "\x04"
                                                      "Lint");
    KeyMap read;
    ASSERT_TRUE(ReadSection(bytes, &read));
    int32_t lint = FindUserCommandByName("Lint");
    ASSERT_NE(lint, 0);
    std::vector<KeyBinding> expected = {{59, KEY_CTRL | 'S'},
                                        {900, KEY_CTRL | 'B'},
                                        {1999, KEY_CTRL | 'C'},
                                        {(uint32_t)lint, KEY_CTRL | 'F'}};
    EXPECT_EQ(Bindings(&read), expected) << "an empty name gives no id; 900 reads as row 370";
    KeyMapFree(&read);
}

} // namespace
