// The edit options section:
// - each option bit alone maps to its file bit and back, word by word as the stored form lays them out;
//   option bits the form does not keep stay as they were across a load;
// - the numbers and their bounds (recovery at least 1, backups 0 to 16000 days, a known line end and paste
//   selection);
// - the symbol path: short and long forms, a path longer than 255 characters kept whole, an old file with the
//   short form only, and a section too short for its record refused.
#include "cfgtest.h"

#include "base/file.h"
#include "display/opts.h"
#include "shell/cfgedit.h"

#include <sstream>

namespace {

using namespace cfgtest;

// The stored form, file bit by file bit from bit 0: A is g_options, B g_options2, C g_options3, L the
// line-end format, P the paste selection, F the space after a function's name, S the spaces between
// parameters; "-" a bit kept zero, "=" a bit always set.
const char *const cfgEditWords[3][2] = {
    {"0", "A1 A3 A4 A5 A8 A9 A10 A11 A12 A13 A14 A2 A6 A7 A26 A15 B0 A16 A17 - A19 A20 A0 - A22 A23 A24 A25 "
          "B1 B2 A27 A18"},
    {"5", "A29 A30 A31 B3 B4 B5 B6 B7 B8 B9 B10 B11 B12 B13 B14 B15 B16 B17 B18 B19 B20 B22 B23 B24 L0 L1 L2 "
          "L3 B25 B26 P0 P1"},
    {"6", "C0 C1 B27 C2 C3 C4 = C5 C6 C7 C8 C9 C10 F0 S0"},
};

uint32_t *CfgEditTarget(char code) {
    switch (code) {
    case 'A': return &g_options;
    case 'B': return &g_options2;
    case 'C': return &g_options3;
    case 'L': return &g_lineEndFormat;
    case 'P': return &g_pasteSelect;
    case 'F': return &g_spaceAfterFuncName;
    default: return &g_spaceBetweenParams;
    }
}

void ClearOptions() {
    for (char code : std::string("ABCLPFS")) *CfgEditTarget(code) = 0;
}

using ConfigEditTest = ConfigTest;

TEST_F(ConfigEditTest, EachBitAloneMapsToItsFileBitAndBack) {
    int checked = 0;
    for (const auto &word : cfgEditWords) {
        int w = atoi(word[0]);
        std::istringstream codes(word[1]);
        std::string code;
        for (int bit = 0; codes >> code; bit++) {
            if (code == "-" || code == "=") continue;
            uint32_t *option = CfgEditTarget(code[0]);
            uint32_t optionBit = 1u << atoi(code.c_str() + 1);
            ClearOptions();
            *option = optionBit;
            ConfigEditRecord record;
            ConfigEditGather(&record);
            for (int i = 0; i < 13; i++) {
                uint32_t expected = i == w ? 1u << bit : 0;
                if (i == 6) expected |= CONFIG_EDIT_LONG_PATH;
                if (i == 1 || i == 2 || i == 3 || i == 4 || i == 7) continue; // the numbers
                EXPECT_EQ(record.words[i], expected) << code << " in word " << i;
            }
            ConfigEditRecord alone = {};
            alone.words[w] = 1u << bit;
            ClearOptions();
            ConfigEditSpread(&alone);
            bool kept = code[0] != 'L' || optionBit <= OPT_LINE_END_CR; // single bits 4 and 8 are no format
            if (kept) {
                EXPECT_EQ(*option, optionBit) << code;
            }
            EXPECT_EQ(g_options, code[0] == 'A' ? optionBit : 0u) << code;
            EXPECT_EQ(g_options2, code[0] == 'B' ? optionBit : 0u) << code;
            EXPECT_EQ(g_options3, code[0] == 'C' ? optionBit : 0u) << code;
            checked++;
        }
    }
    EXPECT_EQ(checked, 30 + 32 + 14);
}

TEST_F(ConfigEditTest, BitsTheFormDoesNotKeepSurviveALoad) {
    ConfigEditRecord record = {};
    g_options = 1u << 21 | 1u << 28;
    g_options2 = 1u << 21 | 1u << 30;
    ConfigEditSpread(&record);
    EXPECT_EQ(g_options, 1u << 21 | 1u << 28);
    EXPECT_EQ(g_options2, 1u << 21 | 1u << 30);
}

TEST_F(ConfigEditTest, NumbersAndTheirBounds) {
    struct Case {
        uint32_t recovery, sync, days, lineEnd, paste;
        int32_t wantRecovery, wantSync, wantDays;
        uint32_t wantLineEnd, wantPaste;
    };
    const Case cases[] = {
        {15, 60, 200, 2, 1, 15, 60, 200, OPT_LINE_END_LF, OPT_PASTE_END},
        {0, 0, 16001, 0, 3, 1, 1, 16000, OPT_LINE_END_CRLF, OPT_PASTE_START},
        {(uint32_t)-5, (uint32_t)-1, (uint32_t)-3, 15, 2, 1, 1, 0, OPT_LINE_END_CRLF, OPT_PASTE_ALL},
    };
    for (const Case &c : cases) {
        ConfigEditRecord record = {};
        record.words[1] = 466;
        record.words[2] = c.sync;
        record.words[3] = c.recovery;
        record.words[4] = 500;
        record.words[7] = c.days;
        record.words[5] = c.lineEnd << 24 | c.paste << 30;
        ConfigEditSpread(&record);
        EXPECT_EQ(g_openCommand, 466);
        EXPECT_EQ(g_undoSteps, 500);
        EXPECT_EQ(g_recoverySeconds, c.wantRecovery);
        EXPECT_EQ(g_syncMinutes, c.wantSync);
        EXPECT_EQ(g_backupDays, c.wantDays);
        EXPECT_EQ(g_lineEndFormat, c.wantLineEnd);
        EXPECT_EQ(g_pasteSelect, c.wantPaste);
    }
}

class ConfigEditSectionTest : public ConfigTest {
protected:
    // The section as the file holds it.
    std::string Section() {
        std::string bytes = FileBytes(path);
        return bytes.substr(SlotOffset(bytes, CONFIG_SLOT_EDIT), SlotSize(bytes, CONFIG_SLOT_EDIT));
    }
    // A file of only an edit section.
    void WriteEditFile(const std::string &section) {
        ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_EDIT));
        std::string bytes = FileBytes(path);
        bytes.resize(SlotOffset(bytes, CONFIG_SLOT_EDIT));
        Put32(bytes, CONFIG_TABLE_OFFSET + 8 * CONFIG_SLOT_EDIT + 4, (uint32_t)section.size());
        WriteBytes(path, bytes + section);
    }
};

TEST_F(ConfigEditSectionTest, SymbolPathInBothForms) {
    std::string long300(300, 'x');
    ConfigSetSymbolPath(long300.c_str());
    EXPECT_TRUE(ConfigIsDirty());
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_EDIT));
    std::string section = Section();
    ASSERT_EQ(section.size(), 52 + 256 + 4 + 301);
    EXPECT_EQ((unsigned char)section[52], 255) << "the short form is cut";
    EXPECT_EQ(Get32(section, 52 + 256), 301u);
    ConfigSetSymbolPath("");
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    EXPECT_EQ(ConfigSymbolPath(), long300);
}

TEST_F(ConfigEditSectionTest, OldFileWithTheShortFormOnly) {
    ConfigEditRecord record;
    ConfigEditGather(&record);
    record.words[6] &= ~CONFIG_EDIT_LONG_PATH;
    std::string section((const char *)&record, sizeof record);
    section += "\x0B"
               "a.pr;b.pr;c";
    WriteEditFile(section);
    ASSERT_TRUE(LoadConfigFile(path.c_str()));
    EXPECT_STREQ(ConfigSymbolPath(), "a.pr;b.pr;c");
}

TEST_F(ConfigEditSectionTest, DamagedSectionsAreRefused) {
    ConfigEditRecord record;
    ConfigEditGather(&record);
    std::string head((const char *)&record, sizeof record);
    const std::string sections[] = {
        head.substr(0, 40), // shorter than its record
        head,               // no path at all
        head + "\x05"
               "ab",                                   // a short form past the section
        head + std::string("\0", 1) + "\xFF\xFF\0\0",  // a long form longer than any path
        head + std::string("\0", 1) + "\x09\0\0\0abc", // a long form past the section
    };
    ConfigSetSymbolPath("kept");
    ClearConfigDirty();
    for (const std::string &section : sections) {
        WriteEditFile(section);
        VxAlertsReset();
        ConfigForgetLastLoad();
        EXPECT_FALSE(LoadConfigFile(path.c_str())) << section.size();
        EXPECT_EQ(VxAlerts().size(), 1u);
        EXPECT_STREQ(ConfigSymbolPath(), "kept");
    }
}

} // namespace
