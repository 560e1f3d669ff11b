// Shared by the tests of the Preferences: the option words and the configuration at their defaults, the
// settings in the test store, and every hook of the pages recorded as a line of text, answered from a few
// fields the tests set.
#pragma once

#include "display/opts.h"
#include "shell/config.h"
#include "shell/prefs.h"
#include "shell/setting.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace prefstest {

struct Answers {
    std::vector<std::string> calls;
    bool ctrl = false;
    bool remote = false;
    bool languagesRegistered = false;
    bool projectOpen = false;
    bool colorChosen = true;
    uint32_t color = 0x123456;
    std::string folderChosen;
    std::string backupFolder;
    std::string projectChosen;
    int32_t languages = 25;
    uint32_t parseStates[25] = {};
    std::string script;
    std::string folders[PREFS_FOLDER_COUNT];
    // The sheet: what it does while open, and how it ends.
    int sheetResult = 1;
    int32_t sheetLast = -1;
    void (*whileOpen)() = nullptr;
};
inline Answers prefsAnswers;

inline void Note(const std::string &call) {
    prefsAnswers.calls.push_back(call);
}

inline PrefsHooks PrefsTestHooks() {
    PrefsHooks h = {};
    h.runSheet = [](int32_t first, bool alone, int32_t *last) {
        Note("sheet " + std::to_string(first) + (alone ? " alone" : ""));
        if (prefsAnswers.whileOpen) prefsAnswers.whileOpen();
        *last = prefsAnswers.sheetLast >= 0 ? prefsAnswers.sheetLast : first;
        return prefsAnswers.sheetResult;
    };
    h.ctrlDown = [] { return prefsAnswers.ctrl; };
    h.advancedOptions = [] {
        Note("advanced");
        return 0;
    };
    h.beep = [] { Note("beep"); };
    h.styleSheetCopy = [] {
        Note("copy styles");
        return true;
    };
    h.styleSheetDone = [](bool commit) { Note(commit ? "commit styles" : "free styles"); };
    h.syncDueNow = [] { Note("sync due"); };
    h.macroEvents = [](bool on) { Note(std::string("events ") + (on ? "on" : "off")); };
    h.statusShow = [](bool on) { Note(std::string("status ") + (on ? "on" : "off")); };
    h.toolbarShow = [](bool on) { Note(std::string("toolbar ") + (on ? "on" : "off")); };
    h.retitleWindows = [] { Note("retitle"); };
    h.applyTheme = [] { Note("theme"); };
    h.remoteSession = [] { return prefsAnswers.remote; };
    h.spacingChanged = [] { Note("spacing"); };
    h.askColor = [](const char *title, uint32_t *color) {
        Note(std::string("color ") + title);
        *color = prefsAnswers.color;
        return prefsAnswers.colorChosen;
    };
    h.backupFolder = [](char *out) {
        strcpy(out, prefsAnswers.backupFolder.c_str());
        return !prefsAnswers.backupFolder.empty();
    };
    h.languageCount = [] { return prefsAnswers.languages; };
    h.languageName = [](int32_t language, char *out) { snprintf(out, 256, "Lang%d", (int)language); };
    h.languageAtCaret = [] { return (int32_t)3; };
    h.languageHasKeywords = [](int32_t language) { return language == 3; };
    if (prefsAnswers.languagesRegistered)
        h.languageButton = [](int32_t button, int32_t *language) {
            Note("language button " + std::to_string(button) + " on " + std::to_string(*language));
            if (button == PREFS_LANG_ADD) *language = 22;
            return true;
        };
    h.languageParseState = [](int32_t language) { return prefsAnswers.parseStates[language]; };
    h.projectOpen = [] { return prefsAnswers.projectOpen; };
    h.reparseProject = [](int32_t language) { Note("reparse project " + std::to_string(language)); };
    h.reparseOpenFiles = [](int32_t language) { Note("reparse files " + std::to_string(language)); };
    h.markParseChanged = [](uint32_t which) { Note("parse changed " + std::to_string(which)); };
    h.defaultScript = [](char *name, bool set) {
        if (set)
            prefsAnswers.script = name;
        else
            strcpy(name, prefsAnswers.script.c_str());
    };
    h.askProject = [](char *path) {
        strcpy(path, prefsAnswers.projectChosen.c_str());
        return !prefsAnswers.projectChosen.empty();
    };
    h.folderGet = [](int32_t kind, char *out) { strcpy(out, prefsAnswers.folders[kind].c_str()); };
    h.folderSet = [](int32_t kind, const char *path) {
        Note("folder " + std::to_string(kind) + " " + path);
        prefsAnswers.folders[kind] = path;
        return true;
    };
    h.askFolder = [](const char *title, char *path) {
        Note(std::string("browse ") + title);
        strcpy(path, prefsAnswers.folderChosen.c_str());
        return !prefsAnswers.folderChosen.empty();
    };
    h.documentsFolder = [](char *out) { strcpy(out, "C:\\Docs"); };
    return h;
}

class PrefsTest : public testing::Test {
protected:
    void SetUp() override {
        prefsAnswers = Answers();
        SettingUseTestStore(true);
        OptSetDefaults();
        OptDisplayDefaults(&g_displayOptions);
        ConfigResetState();
        ConfigSetHooks(nullptr);
        hooks = PrefsTestHooks();
        PrefsSetHooks(&hooks);
        CmdPreferences(616); // the last page shown is the first one
        prefsAnswers.calls.clear();
        VxAlertsReset();
    }
    void TearDown() override {
        PrefsSetHooks(nullptr);
        ConfigResetState();
    }
    // A page opened, one control changed to a value, as the sheet does it.
    PrefsRecord Open(int32_t page) {
        PrefsRecord record;
        PrefsCreate(page, &record);
        return record;
    }
    void Change(int32_t page, PrefsRecord &record, int32_t control, int32_t value) {
        record.values[control] = value;
        PrefsChanged(page, &record, control);
    }
    PrefsHooks hooks;
};

} // namespace prefstest
