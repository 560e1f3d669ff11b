// The options' table dialogs, driven through the dialog engine's test hook:
// - Advanced Options: the record in the check boxes and the cache edit, changes read back on OK, nothing on
//   Cancel; "Logging..." runs the Logging Options inside it and "Use a log file" follows the log;
// - Logging Options: Notepad started on the log, the two boxes read back;
// - Symbol Tracking Options: the radio group and the three boxes in record order;
// - Open Command Options, Character Spacing Options (an emptied character stores 0) and Special Language
//   Options (the script languages listed after "None", stored by name).
#include "shell/optdlg.h"

#include "base/log.h"
#include "display/opts.h"
#include "support/vxtest.h"
#include "ui/dlg.h"
#include "ui/dlgrun.h"
#include "ui/dlgval.h"
#include "ui/draw.h"
#include "ui/listbox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

std::function<void(DlgObject *, const std::string &)> optScript;
int optTurns;
std::vector<std::string> optCalls;
std::string optScriptName;

std::string Caption(DlgObject *dlg) {
    char text[128] = "";
    GetWindowTextA(DlgGetWindow(dlg), text, sizeof text);
    return text;
}

// Each idle turn runs the script once with the innermost dialog; a dialog still open after 20 turns is
// cancelled.
bool OptStep(DlgObject *dlg) {
    if (++optTurns > 20) return false;
    optScript(dlg, Caption(dlg));
    return true;
}

void Click(DlgObject *dlg, int32_t code) {
    SendMessageA(DlgGetControlWindow(dlg, code), BM_CLICK, 0, 0);
}

class OptDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DrawInit(nullptr));
        ASSERT_TRUE(DlgInit(GetModuleHandleA(nullptr)));
        ASSERT_TRUE(DlgRegisterClasses(GetModuleHandleA(nullptr)));
        ASSERT_TRUE(ListboxRegisterClass());
        optTurns = 0;
        optCalls.clear();
        AdvancedHooks advanced = {};
        advanced.loggingDialog = OptDlgLogging;
        advanced.runProgram = [](const char *line, const char *) {
            optCalls.push_back(line);
            return true;
        };
        AdvancedSetHooks(&advanced);
        PrefsHooks prefs = {};
        prefs.languageCount = [] { return (int32_t)3; };
        prefs.languageName = [](int32_t i, char *out) { snprintf(out, 256, "Lang%d", (int)i); };
        prefs.defaultScript = [](char *name, bool set) {
            if (set)
                optScriptName = name;
            else
                strcpy(name, optScriptName.c_str());
        };
        PrefsSetHooks(&prefs);
        DlgSetTestHook(OptStep);
    }
    void TearDown() override {
        AdvancedSetHooks(nullptr);
        PrefsSetHooks(nullptr);
        LogEnable(false);
        DlgTerm();
        DrawExit();
    }
};

TEST_F(OptDlgTest, AdvancedOptionsReadBackOnOk) {
    AdvancedOptions record = {};
    record.values[ADV_NO_SYM_CACHE] = 1;
    record.values[ADV_FILE_CACHE_KB] = 1024;
    optScript = [](DlgObject *dlg, const std::string &) {
        EXPECT_EQ(DlgGetValue(dlg, 20), 1);
        EXPECT_EQ(DlgGetValue(dlg, 36), 1024);
        Click(dlg, 25);
        SetWindowTextA(DlgGetControlWindow(dlg, 36), "512");
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(OptDlgAdvanced(&record), 1);
    EXPECT_EQ(record.values[ADV_NO_QUICK_FORMAT], 1);
    EXPECT_EQ(record.values[ADV_NO_SYM_CACHE], 1);
    EXPECT_EQ(record.values[ADV_FILE_CACHE_KB], 512);
    AdvancedOptions cancelled = {};
    optScript = [](DlgObject *dlg, const std::string &) {
        Click(dlg, 20);
        Click(dlg, DLG_CODE_CANCEL);
    };
    EXPECT_EQ(OptDlgAdvanced(&cancelled), 0);
    EXPECT_EQ(cancelled.values[ADV_NO_SYM_CACHE], 0);
}

TEST_F(OptDlgTest, LoggingInsideAdvancedKeepsTheBoxesInStep) {
    LogEnable(false);
    AdvancedOptions record;
    AdvancedOptionsGet(&record);
    optScript = [](DlgObject *dlg, const std::string &caption) {
        if (caption == "Logging Options") {
            Click(dlg, 20);
            Click(dlg, DLG_CODE_OK);
        } else if (DlgGetValue(dlg, 35) == 0) {
            Click(dlg, OPTDLG_LOGGING);
        } else {
            Click(dlg, DLG_CODE_OK);
        }
    };
    ASSERT_EQ(OptDlgAdvanced(&record), 1);
    EXPECT_TRUE(LogIsOn());
    EXPECT_EQ(record.values[ADV_USE_LOG_FILE], 1);
}

TEST_F(OptDlgTest, LoggingOptionsButtons) {
    LoggingOptionsRecord record = {0, 1};
    optScript = [](DlgObject *dlg, const std::string &) {
        EXPECT_EQ(DlgGetValue(dlg, 21), 1);
        if (optCalls.empty()) {
            Click(dlg, OPTDLG_NOTEPAD);
            return;
        }
        Click(dlg, 21);
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(OptDlgLogging(&record), 1);
    ASSERT_EQ(optCalls.size(), 1u);
    EXPECT_EQ(optCalls[0].rfind("notepad.exe ", 0), 0u);
    EXPECT_EQ(record.logCommands, 0);
}

TEST_F(OptDlgTest, TrackingRecordInControlOrder) {
    TrackingOptionsRecord record = {1, 0, 1, 0};
    optScript = [](DlgObject *dlg, const std::string &) {
        EXPECT_EQ(DlgGetValue(dlg, 20), 1);
        EXPECT_EQ(DlgGetValue(dlg, 22), 1);
        Click(dlg, 32);
        Click(dlg, 23);
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(OptDlgTracking(&record), 1);
    EXPECT_EQ(record.mode, 2);
    EXPECT_EQ(record.comments, 0);
    EXPECT_EQ(record.strings, 1);
    EXPECT_EQ(record.allFiles, 1);
}

TEST_F(OptDlgTest, OpenCommandSpacingAndSpecial) {
    g_openCommand = 460;
    optScript = [](DlgObject *dlg, const std::string &) {
        Click(dlg, 32);
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(OptDlgOpenCommand(), 1);
    EXPECT_EQ(g_openCommand, 342);

    g_spaceWidthChar = '1';
    g_delimWidthChar = '1';
    optScript = [](DlgObject *dlg, const std::string &) {
        SetWindowTextA(DlgGetControlWindow(dlg, 20), "");
        SetWindowTextA(DlgGetControlWindow(dlg, 21), "W");
        Click(dlg, 24);
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(OptDlgSpacing(), 1);
    EXPECT_EQ(g_spaceWidthChar, 0);
    EXPECT_EQ(g_delimWidthChar, 'W');
    EXPECT_TRUE(g_viewOptions2 & VIEW2_SMALL_LEADING);
    g_viewOptions2 &= ~VIEW2_SMALL_LEADING;

    optScriptName = "Lang1";
    optScript = [](DlgObject *dlg, const std::string &) {
        HWND list = DlgGetControlWindow(dlg, 23);
        EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 4);
        EXPECT_EQ(DlgGetValue(dlg, 23), 2) << "Lang1 follows None and Lang0";
        DlgSetValue(dlg, 23, 0);
        Click(dlg, 22);
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(OptDlgSpecial(), 1);
    EXPECT_EQ(optScriptName, "None");
    EXPECT_TRUE(g_options2 & OPT2_IGNORE_PACKAGES);
    g_options2 &= ~OPT2_IGNORE_PACKAGES;
}

} // namespace
