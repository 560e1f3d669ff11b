// The advanced and logging options:
// - the twenty registry values round-trip through a save and a load, stored as DWORD values; a missing
//   value leaves the program's own; a cache size outside 1..1024 is clamped; a resize the file layer refuses
//   leaves the old size;
// - applying: the mapping of files and the log switched in the foundation, command logging through its
//   hook, background projects closed only when they stop being allowed, the format cache flushed;
// - logging: "Use a log file" in step between the two dialogs, emptying the log leaves it on or off as it
//   was, Notepad started on the log's path, quoted when it holds a blank;
// - symbol tracking: the dialog's record from a word and back, bits 7 and above unchanged;
// - "Parse File Now" parses the current buffer, and nothing without one.
#include "shell/advopt.h"

#include "base/filetest.h"
#include "base/log.h"
#include "base/toolbox.h"
#include "doc/dochook.h"
#include "shell/setting.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> advTestCalls;

class AdvancedTest : public FileLayerTest {
protected:
    void SetUp() override {
        FileLayerTest::SetUp();
        VxOpenSettings();
        ToolboxSetUserDataDir(dir.c_str());
        LogForgetPath();
        AdvancedOptionsGet(&initial);
        advTestCalls.clear();
        AdvancedHooks hooks = {};
        hooks.logCommands = [](bool on) { advTestCalls.push_back(on ? "log commands" : "quiet commands"); };
        hooks.closeBackgroundProjects = [] { advTestCalls.push_back("close projects"); };
        hooks.flushFormatCache = [] { advTestCalls.push_back("flush"); };
        hooks.runProgram = [](const char *line, const char *) {
            advTestCalls.push_back(line);
            return true;
        };
        AdvancedSetHooks(&hooks);
    }
    void TearDown() override {
        AdvancedOptionsApply(&initial);
        AdvancedSetHooks(nullptr);
        for (int32_t i = 0; i < ADV_VALUES; i++) SettingDelete(advancedKey, AdvancedOptionName(i));
        LogEnable(false);
        LogForgetPath();
        ToolboxSetUserDataDir("");
        FileLayerTest::TearDown();
    }
    AdvancedOptions initial;
};

TEST_F(AdvancedTest, TwentyValuesRoundTrip) {
    AdvancedOptions changed;
    for (int32_t i = 0; i < ADV_VALUES; i++) changed.values[i] = 1;
    changed.values[ADV_FILE_CACHE_KB] = 512;
    AdvancedOptionsApply(&changed);
    ASSERT_TRUE(AdvancedOptionsSave());
    for (int32_t i = 0; i < ADV_VALUES; i++) {
        int32_t stored = -1;
        ASSERT_TRUE(SettingGetInt(advancedKey, AdvancedOptionName(i), &stored)) << AdvancedOptionName(i);
        EXPECT_EQ(stored, changed.values[i]) << AdvancedOptionName(i);
    }
    AdvancedOptionsApply(&initial);
    AdvancedOptions now;
    AdvancedOptionsGet(&now);
    ASSERT_EQ(now.values[ADV_NO_SYM_CACHE], 0);
    AdvancedOptionsLoad();
    AdvancedOptionsGet(&now);
    for (int32_t i = 0; i < ADV_VALUES; i++)
        EXPECT_EQ(now.values[i], changed.values[i]) << AdvancedOptionName(i);
    EXPECT_EQ(FileCacheBlockCount(), FileCacheBlocksFor(512));
    EXPECT_FALSE(FileMemoryMapping());
    EXPECT_TRUE(LogIsOn());
}

TEST_F(AdvancedTest, MissingValuesKeepTheProgramsOwn) {
    SettingSetDword(advancedKey, "ShowHiddenTags", 1);
    AdvancedOptionsLoad();
    EXPECT_EQ(AdvancedOption(ADV_SHOW_HIDDEN_TAGS), 1);
    EXPECT_EQ(AdvancedOption(ADV_NO_SYM_CACHE), initial.values[ADV_NO_SYM_CACHE]);
    EXPECT_EQ(AdvancedOption(ADV_FILE_CACHE_KB), initial.values[ADV_FILE_CACHE_KB]);
}

TEST_F(AdvancedTest, CacheSizeFromTheRegistryIsClamped) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 1}, {5000, 1024}, {-7, 1}, {256, 256}};
    for (auto [stored, expected] : cases) {
        SettingSetInt(advancedKey, "FileCacheKbV2", stored);
        AdvancedOptionsLoad();
        EXPECT_EQ(AdvancedOption(ADV_FILE_CACHE_KB), expected) << stored;
    }
}

TEST_F(AdvancedTest, ApplyingReachesTheirOwners) {
    AdvancedOptions record = initial;
    record.values[ADV_NO_BACKGROUND_PROJECTS] = 1;
    record.values[ADV_LOG_COMMANDS] = 1;
    record.values[ADV_NO_FILE_MAPPING] = 1;
    AdvancedOptionsApply(&record);
    EXPECT_EQ(advTestCalls, (std::vector<std::string>{"close projects", "log commands", "flush"}));
    EXPECT_FALSE(FileMemoryMapping());
    advTestCalls.clear();
    AdvancedOptionsApply(&record);
    EXPECT_EQ(advTestCalls, (std::vector<std::string>{"log commands", "flush"})) << "closed only once";
}

TEST_F(AdvancedTest, LogSwitchInStepBetweenTheDialogs) {
    AdvancedOptions advanced;
    AdvancedOptionsGet(&advanced);
    for (int32_t on : {1, 0, 1}) {
        LoggingOptionsRecord logging;
        LoggingOptionsFill(&logging);
        logging.useLog = on;
        ASSERT_TRUE(LoggingOptionsApply(&logging));
        AdvancedAfterLogging(&advanced);
        EXPECT_EQ(advanced.values[ADV_USE_LOG_FILE], on);
        LoggingOptionsFill(&logging);
        EXPECT_EQ(logging.useLog, on);
    }
    advanced.values[ADV_USE_LOG_FILE] = 0;
    AdvancedOptionsApply(&advanced);
    LoggingOptionsRecord logging;
    LoggingOptionsFill(&logging);
    EXPECT_EQ(logging.useLog, 0);
}

TEST_F(AdvancedTest, EmptyingTheLogKeepsItsSwitch) {
    char path[LOG_PATH_MAX + 1];
    LogEnable(true);
    LogWrite("a line");
    LogFlush();
    LogGetPath(path);
    LogEnable(false);
    ASSERT_NE(VxDiskRead(path), "");
    LoggingEmpty();
    EXPECT_FALSE(LogIsOn());
    EXPECT_EQ(VxDiskRead(path), "");
    LogEnable(true);
    LogWrite("again");
    LoggingEmpty();
    EXPECT_TRUE(LogIsOn());
    LogFlush();
    EXPECT_EQ(VxDiskRead(path), "");
}

TEST_F(AdvancedTest, NotepadOnTheLog) {
    char line[300];
    ASSERT_TRUE(LoggingOpenInNotepad(line));
    char path[LOG_PATH_MAX + 1];
    LogGetPath(path);
    EXPECT_EQ(std::string(line), std::string("notepad.exe ") + path);
    std::string spaced = dir + "\\my data";
    VxMakeDir(spaced);
    ToolboxSetUserDataDir(spaced.c_str());
    LogForgetPath();
    ASSERT_TRUE(LoggingOpenInNotepad(line));
    LogGetPath(path);
    EXPECT_EQ(std::string(line), std::string("notepad.exe \"") + path + "\"");
    EXPECT_EQ(advTestCalls.back(), line);
    AdvancedSetHooks(nullptr);
    EXPECT_FALSE(LoggingOpenInNotepad(line)) << "no program runner yet";
}

int advTestAnswer;

TEST_F(AdvancedTest, DialogsApplyAndSaveOnOk) {
    AdvancedHooks hooks = {};
    hooks.advancedDialog = [](AdvancedOptions *record) {
        record->values[ADV_NO_QUICK_FORMAT] = 1;
        return advTestAnswer;
    };
    hooks.loggingDialog = [](LoggingOptionsRecord *record) {
        record->logCommands = 1;
        return advTestAnswer;
    };
    hooks.trackingDialog = [](TrackingOptionsRecord *record) {
        record->mode = 2;
        return advTestAnswer;
    };
    AdvancedSetHooks(&hooks);
    uint32_t word = 0x180;
    advTestAnswer = 0;
    EXPECT_EQ(CmdAdvancedOptions(440), 2);
    EXPECT_EQ(LoggingOptionsDialog(), 2);
    EXPECT_EQ(TrackingOptionsDialog(&word), 2);
    EXPECT_EQ(AdvancedOption(ADV_NO_QUICK_FORMAT), 0);
    EXPECT_EQ(word, 0x180u);
    advTestAnswer = 1;
    EXPECT_EQ(CmdAdvancedOptions(440), 0);
    EXPECT_EQ(AdvancedOption(ADV_NO_QUICK_FORMAT), 1);
    int32_t stored = 0;
    EXPECT_TRUE(SettingGetInt(advancedKey, "NoQuickFormat", &stored));
    EXPECT_EQ(stored, 1);
    EXPECT_EQ(LoggingOptionsDialog(), 0);
    EXPECT_EQ(AdvancedOption(ADV_LOG_COMMANDS), 1);
    EXPECT_EQ(TrackingOptionsDialog(&word), 0);
    EXPECT_EQ(word, 0x182u);
    AdvancedSetHooks(nullptr);
    VxAlertsReset();
    CmdAdvancedOptions(440);
    EXPECT_EQ(VxAlerts().size(), 1u) << "\"Command not available.\" without the dialog";
}

TEST(TrackingOptionsTest, RecordFromTheWordAndBack) {
    struct Case {
        uint32_t word;
        TrackingOptionsRecord record;
    };
    const Case cases[] = {
        {0x00, {0, 0, 0, 0}}, {0x11, {1, 1, 0, 0}}, {0x62, {2, 0, 1, 1}}, {0xFFFFFF80, {0, 0, 0, 0}}};
    for (const Case &c : cases) {
        TrackingOptionsRecord record;
        TrackingOptionsFill(c.word, &record);
        EXPECT_EQ(record.mode, c.record.mode) << c.word;
        EXPECT_EQ(record.comments, c.record.comments) << c.word;
        EXPECT_EQ(record.strings, c.record.strings) << c.word;
        EXPECT_EQ(record.allFiles, c.record.allFiles) << c.word;
        EXPECT_EQ(TrackingOptionsApply(c.word, &record), c.word);
    }
    TrackingOptionsRecord record = {2, 1, 0, 1};
    EXPECT_EQ(TrackingOptionsApply(0xABCD0F80, &record), 0xABCD0F80u | 0x32u) << "bits 7 and above kept";
}

FileBuffer *const advTestDoc = (FileBuffer *)0x1000;
FileBuffer *advTestCurrent;
std::vector<std::pair<FileBuffer *, bool>> advTestParsed;

TEST(ParseFileNowTest, ParsesTheCurrentBuffer) {
    DocShellHook shell = *DocShellNeutral();
    shell.currentDoc = [] { return advTestCurrent; };
    DocSetShellHook(&shell);
    DocLangHook lang = *DocLangNeutral();
    lang.ensureDocParsed = [](FileBuffer *doc, bool background) {
        advTestParsed.push_back({doc, background});
    };
    DocSetLangHook(&lang);
    advTestCurrent = nullptr;
    EXPECT_EQ(CmdParseFileNow(658), 0);
    EXPECT_TRUE(advTestParsed.empty());
    advTestCurrent = advTestDoc;
    EXPECT_EQ(CmdParseFileNow(658), 0);
    EXPECT_EQ(advTestParsed, (std::vector<std::pair<FileBuffer *, bool>>{{advTestDoc, false}}));
    EXPECT_EQ(CmdInternalTest(468), 0);
}

} // namespace
