// The Preferences command and the pages that take effect when applied:
// - the command: the page by command (the first for a command no page has), "Preferences..." at the page
//   last shown, Ctrl for the Advanced Options, a second call while the sheet is open beeps and gives 2, the
//   style sheet's copy committed on OK and freed on Cancel, "Command not available." without a sheet;
// - General: a recovery interval of 0 stored as 1, the source-tip radio both ways, synchronisation made due
//   when it is turned on, event handlers passed on, the configuration marked changed;
// - Typing: the two tab behaviours exclude each other;
// - Files: the reload boxes follow sharing, a sharing change told, overwriting read-only files confirmed,
//   the line-end list, backups without a backup folder turned off with the message, the Open command;
// - Symbol Lookups: a project appended to the path, a missing one only when confirmed;
// - Searching and Remote: the results radio; remote values stored for the next start, told once;
// - Folders: browsing the user data folder sets the four below it, the defaults, only changed folders set.
#include "prefstest.h"

#include "shell/cfgedit.h"
#include "shell/setting.h"

namespace {

using namespace prefstest;

using PrefsCommandTest = PrefsTest;
using PrefsPagesTest = PrefsTest;

TEST_F(PrefsCommandTest, PageByCommandAndTheLastPage) {
    const std::pair<int32_t, int32_t> commands[] = {
        {616, PREFS_GENERAL},     {494, PREFS_TYPING},    {369, PREFS_FILES},  {409, PREFS_LANGUAGES},
        {495, PREFS_LOOKUPS},     {258, PREFS_DISPLAY},   {463, PREFS_COLORS}, {431, PREFS_FORMATTING},
        {482, PREFS_DECORATIONS}, {491, PREFS_SEARCHING}, {650, PREFS_REMOTE}, {671, PREFS_FOLDERS},
    };
    for (auto [command, page] : commands) {
        prefsAnswers.calls.clear();
        EXPECT_EQ(CmdPreferences(command), 0);
        EXPECT_EQ(prefsAnswers.calls[1], "sheet " + std::to_string(page)) << command;
    }
    prefsAnswers.sheetLast = PREFS_COLORS;
    prefsAnswers.calls.clear();
    CmdPreferences(463);
    prefsAnswers.sheetLast = -1;
    prefsAnswers.calls.clear();
    EXPECT_EQ(CmdPreferences(71), 0);
    EXPECT_EQ(prefsAnswers.calls[1], "sheet " + std::to_string(PREFS_COLORS)) << "Preferences... reopens it";
    EXPECT_EQ(PrefsPageId(PREFS_FOLDERS), 671);
}

TEST_F(PrefsCommandTest, OkCancelCtrlAndReentry) {
    EXPECT_EQ(CmdPreferences(71), 0);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"copy styles", "sheet 0", "commit styles"}));
    prefsAnswers.calls.clear();
    prefsAnswers.sheetResult = 0;
    EXPECT_EQ(CmdPreferences(71), 2);
    EXPECT_EQ(prefsAnswers.calls.back(), "free styles");

    prefsAnswers.calls.clear();
    prefsAnswers.whileOpen = [] { Note("again " + std::to_string(CmdPreferences(258))); };
    CmdPreferences(71);
    EXPECT_EQ(prefsAnswers.calls,
              (std::vector<std::string>{"copy styles", "sheet 0", "beep", "again 2", "free styles"}));
    prefsAnswers.whileOpen = nullptr;
    prefsAnswers.calls.clear();
    prefsAnswers.ctrl = true;
    EXPECT_EQ(CmdPreferences(71), 0);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"advanced"}));
}

TEST_F(PrefsCommandTest, NoSheetYet) {
    hooks.runSheet = nullptr;
    PrefsSetHooks(&hooks);
    CmdPreferences(71);
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Command not available.");
}

using PrefsGeneralTest = PrefsTest;

TEST_F(PrefsGeneralTest, RecoveryZeroStoredAsOne) {
    PrefsRecord record = Open(PREFS_GENERAL);
    EXPECT_EQ(record.values[PG_RECOVERY], 15);
    record.values[PG_RECOVERY] = 0;
    PrefsApply(PREFS_GENERAL, &record);
    EXPECT_EQ(g_recoverySeconds, 1);
    EXPECT_TRUE(ConfigIsDirty2()) << "applying marks the configuration changed with 1";
}

TEST_F(PrefsGeneralTest, SourceTipsBothWays) {
    const uint32_t bits[] = {0, OPT2_SOURCE_TIPS, OPT2_SOURCE_TIPS | OPT2_SOURCE_TIPS_VERBOSE};
    for (int32_t tips = 0; tips < 3; tips++) {
        g_options2 = bits[tips];
        PrefsRecord record = Open(PREFS_GENERAL);
        EXPECT_EQ(record.values[PG_TIPS], tips);
        record.values[PG_TIPS] = (tips + 1) % 3;
        PrefsApply(PREFS_GENERAL, &record);
        EXPECT_EQ(g_options2, bits[(tips + 1) % 3]);
    }
}

TEST_F(PrefsGeneralTest, SynchronisationAndEvents) {
    PrefsRecord record = Open(PREFS_GENERAL);
    record.values[PG_SYNC_ON_OPEN] = 1;
    record.values[PG_EVENTS] = 0;
    PrefsApply(PREFS_GENERAL, &record);
    EXPECT_TRUE(g_options & OPT_SYNC_ON_OPEN);
    EXPECT_FALSE(g_options3 & OPT3_EVENT_HANDLERS);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"sync due", "events off"}));
    prefsAnswers.calls.clear();
    record = Open(PREFS_GENERAL);
    PrefsApply(PREFS_GENERAL, &record);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"events off"})) << "already on: not due again";
}

TEST_F(PrefsPagesTest, TypingTabBehavioursExcludeEachOther) {
    PrefsRecord record = Open(PREFS_TYPING);
    Change(PREFS_TYPING, record, PT_TAB_INDENTS, 1);
    Change(PREFS_TYPING, record, PT_TAB_REPLACES, 1);
    EXPECT_EQ(record.values[PT_TAB_INDENTS], 0);
    Change(PREFS_TYPING, record, PT_TAB_INDENTS, 1);
    EXPECT_EQ(record.values[PT_TAB_REPLACES], 0);
    PrefsApply(PREFS_TYPING, &record);
    EXPECT_TRUE(g_options2 & OPT2_TAB_INDENTS);
    EXPECT_FALSE(g_options2 & OPT2_TAB_REPLACES);
}

using PrefsFilesTest = PrefsTest;

TEST_F(PrefsFilesTest, SharingAndReadOnlyFiles) {
    PrefsRecord record = Open(PREFS_FILES);
    EXPECT_TRUE(PrefsEnabled(PREFS_FILES, &record, PF_ASK_RELOAD));
    Change(PREFS_FILES, record, PF_SHARING, 0);
    EXPECT_FALSE(PrefsEnabled(PREFS_FILES, &record, PF_BACKGROUND_RELOAD));
    EXPECT_FALSE(PrefsEnabled(PREFS_FILES, &record, PF_ASK_RELOAD));
    EXPECT_TRUE(PrefsEnabled(PREFS_FILES, &record, PF_CTRL_Z));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text,
              "Changes to file sharing options will only affect files that are opened from "
              "now on.");
    VxAlertAnswer(7); // No
    Change(PREFS_FILES, record, PF_OVERWRITE_READ_ONLY, 1);
    EXPECT_EQ(record.values[PF_OVERWRITE_READ_ONLY], 0) << "No unchecks it";
    VxAlertAnswer(6); // Yes
    Change(PREFS_FILES, record, PF_OVERWRITE_READ_ONLY, 1);
    EXPECT_EQ(record.values[PF_OVERWRITE_READ_ONLY], 1);
}

TEST_F(PrefsFilesTest, LineEndsAndBackups) {
    prefsAnswers.backupFolder = "C:\\Backup";
    PrefsRecord record = Open(PREFS_FILES);
    EXPECT_EQ(record.values[PF_LINE_END], 0);
    record.values[PF_LINE_END] = 2;
    record.values[PF_BACKUP_DAYS] = 20000;
    PrefsApply(PREFS_FILES, &record);
    EXPECT_EQ(g_lineEndFormat, (uint32_t)OPT_LINE_END_CR);
    EXPECT_EQ(g_backupDays, 16000);
    EXPECT_TRUE(g_options2 & OPT2_MAKE_BACKUPS);
    EXPECT_TRUE(VxAlerts().empty());
    prefsAnswers.backupFolder.clear();
    PrefsApply(PREFS_FILES, &record);
    EXPECT_FALSE(g_options2 & OPT2_MAKE_BACKUPS);
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "The backup directory doesn't exist.  Backups cannot be performed.");
}

TEST_F(PrefsFilesTest, OpenCommand) {
    EXPECT_EQ(PrefsOpenCommandChoice(), 0);
    PrefsSetOpenCommandChoice(3);
    EXPECT_EQ(g_openCommand, 294);
    EXPECT_EQ(PrefsOpenCommandChoice(), 3);
    g_openCommand = 57;
    EXPECT_EQ(PrefsOpenCommandChoice(), 0) << "any other command shows the first choice";
}

TEST_F(PrefsPagesTest, LookupsAddProjectToThePath) {
    std::string dir = VxTempDir();
    std::string project = dir + "\\lib.pr";
    FILE *f = VxFileOpen(project, "wb");
    fclose(f);
    ConfigSetSymbolPath("a.pr");
    PrefsRecord record = Open(PREFS_LOOKUPS);
    EXPECT_STREQ(record.symbolPath, "a.pr");
    prefsAnswers.projectChosen = project;
    PrefsLookupsAddProject(&record);
    EXPECT_EQ(std::string(record.symbolPath), "a.pr;" + project);
    prefsAnswers.projectChosen = dir + "\\gone.pr";
    VxAlertAnswer(7);
    PrefsLookupsAddProject(&record);
    EXPECT_EQ(VxAlerts().back().text,
              "The project file " + prefsAnswers.projectChosen +
                  " cannot be found.\n\n Do you still want to add it to the symbol path?");
    EXPECT_EQ(std::string(record.symbolPath), "a.pr;" + project);
    PrefsApply(PREFS_LOOKUPS, &record);
    EXPECT_EQ(std::string(ConfigSymbolPath()), "a.pr;" + project);
    VxRemoveTree(dir);
}

TEST_F(PrefsPagesTest, SearchingResultsRadio) {
    PrefsRecord record = Open(PREFS_SEARCHING);
    record.values[PS_RESULTS] = 2;
    PrefsApply(PREFS_SEARCHING, &record);
    EXPECT_EQ(g_options2 & OPT2_RESULTS_MASK, 2u << OPT2_RESULTS_SHIFT);
    EXPECT_EQ(Open(PREFS_SEARCHING).values[PS_RESULTS], 2);
}

TEST_F(PrefsPagesTest, RemoteValuesForTheNextStart) {
    PrefsRemoteLoad();
    PrefsRecord record = Open(PREFS_REMOTE);
    EXPECT_EQ(record.values[PREFS_REMOTE_FONT_SCALE], 100);
    PrefsApply(PREFS_REMOTE, &record);
    EXPECT_TRUE(VxAlerts().empty()) << "nothing differs";
    record.values[PREFS_REMOTE_NO_SMOOTH_SCROLL] = 1;
    record.values[PREFS_REMOTE_FONT_SCALE] = 500;
    PrefsApply(PREFS_REMOTE, &record);
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text,
              "Remote Session preferences will not take effect until you restart Veltrix.");
    EXPECT_EQ(g_remoteOptions[PREFS_REMOTE_NO_SMOOTH_SCROLL], 0) << "the values in use stay";
    EXPECT_EQ(Open(PREFS_REMOTE).values[PREFS_REMOTE_FONT_SCALE], 200);
    PrefsRemoteLoad();
    EXPECT_EQ(g_remoteOptions[PREFS_REMOTE_NO_SMOOTH_SCROLL], 1);
    g_remoteOptions[PREFS_REMOTE_NO_SMOOTH_SCROLL] = 0;
    g_remoteOptions[PREFS_REMOTE_FONT_SCALE] = 100;
}

TEST_F(PrefsPagesTest, Folders) {
    prefsAnswers.folders[PREFS_FOLDER_USER_DATA] = "C:\\Data";
    prefsAnswers.folders[PREFS_FOLDER_CLIPS] = "C:\\Data\\Clips";
    PrefsRecord record = Open(PREFS_FOLDERS);
    EXPECT_STREQ(record.folders[PREFS_FOLDER_CLIPS], "C:\\Data\\Clips");
    prefsAnswers.folderChosen = "D:\\Mine";
    PrefsFolderBrowse(&record, PREFS_FOLDER_USER_DATA);
    EXPECT_EQ(prefsAnswers.calls[0], "browse Veltrix User Data Folder");
    EXPECT_STREQ(record.folders[PREFS_FOLDER_SETTINGS], "D:\\Mine\\Settings");
    EXPECT_STREQ(record.folders[PREFS_FOLDER_PROJECTS], "D:\\Mine\\Projects");
    EXPECT_STREQ(record.folders[PREFS_FOLDER_BACKUP], "D:\\Mine\\Backup");
    EXPECT_STREQ(record.folders[PREFS_FOLDER_CLIPS], "D:\\Mine\\Clips");
    PrefsFolderBrowse(&record, PREFS_FOLDER_BACKUP);
    EXPECT_STREQ(record.folders[PREFS_FOLDER_BACKUP], "D:\\Mine");
    EXPECT_STREQ(record.folders[PREFS_FOLDER_CLIPS], "D:\\Mine\\Clips");
    PrefsFolderDefaults(&record);
    EXPECT_STREQ(record.folders[PREFS_FOLDER_USER_DATA], "C:\\Docs\\Veltrix");
    EXPECT_STREQ(record.folders[PREFS_FOLDER_CLIPS], "C:\\Docs\\Veltrix\\Clips");
    strcpy(record.folders[PREFS_FOLDER_CLIPS], "c:\\data\\clips");
    strcpy(record.folders[PREFS_FOLDER_USER_DATA], "C:\\Data");
    prefsAnswers.calls.clear();
    PrefsApply(PREFS_FOLDERS, &record);
    EXPECT_EQ(prefsAnswers.calls, (std::vector<std::string>{"folder 1 C:\\Docs\\Veltrix\\Settings",
                                                            "folder 2 C:\\Docs\\Veltrix\\Projects",
                                                            "folder 3 C:\\Docs\\Veltrix\\Backup"}))
        << "only the folders that changed, names compared ignoring case";
}

} // namespace
