// The Preferences' pages as table dialogs, each run by itself through the dialog engine's test hook:
// - every description holds its page's record words in record order;
// - Display: clicking "Maximize new windows" clears "Cascade new windows" in the dialog, OK stores both;
// - Syntax Decorations: unchecking the substitutions disables the nine boxes with their checks kept, Cancel
//   puts the bits back;
// - General: a recovery interval typed as 0 is stored as 1;
// - Folders: "..." fills the edits, OK sets the changed folders; Colors lists its nine items by name;
// - "Preferences..." opens the page of its command by itself until the property sheets stand.
#include "shell/prefsdlg.h"

#include "display/opts.h"
#include "prefstest.h"
#include "ui/dlg.h"
#include "ui/dlgrun.h"
#include "ui/dlgval.h"
#include "ui/draw.h"
#include "ui/listbox.h"

#include <functional>

namespace {

using namespace prefstest;

std::function<void(DlgObject *)> pdScript;
int pdTurns;

bool PdStep(DlgObject *dlg) {
    if (++pdTurns > 20) return false;
    pdScript(dlg);
    return true;
}

void Click(DlgObject *dlg, int32_t code) {
    SendMessageA(DlgGetControlWindow(dlg, code), BM_CLICK, 0, 0);
}

bool Checked(DlgObject *dlg, int32_t code) {
    return SendMessageA(DlgGetControlWindow(dlg, code), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class PrefsDlgTest : public PrefsTest {
protected:
    void SetUp() override {
        PrefsTest::SetUp();
        ASSERT_TRUE(DrawInit(nullptr));
        ASSERT_TRUE(DlgInit(GetModuleHandleA(nullptr)));
        ASSERT_TRUE(DlgRegisterClasses(GetModuleHandleA(nullptr)));
        ASSERT_TRUE(ListboxRegisterClass());
        pdTurns = 0;
        DlgSetTestHook(PdStep);
    }
    void TearDown() override {
        DlgTerm();
        DrawExit();
        PrefsTest::TearDown();
    }
};

TEST_F(PrefsDlgTest, DescriptionsHoldTheRecordsInOrder) {
    const int32_t words[PREFS_PAGES] = {13, 20, 16, 1, 7, 24, 2, 13, 14, 4, 9, 5};
    for (int32_t page = 0; page < PREFS_PAGES; page++) {
        const DlgDesc *desc = PrefsDlgPage(page);
        ASSERT_NE(desc, nullptr);
        EXPECT_STREQ(desc->caption, PrefsPageTitle(page));
        int32_t next = 0;
        for (const DlgControl *c = desc->controls; c->type != DLG_END; c++) {
            bool value = c->code >= PREFS_DLG_VALUE && c->code < PREFS_DLG_BUTTON && c->type != DLG_BUTTON;
            if (!value) continue;
            EXPECT_EQ(c->code, PrefsDlgCode(next)) << PrefsPageTitle(page);
            next++;
        }
        EXPECT_EQ(next, words[page]) << PrefsPageTitle(page);
    }
}

TEST_F(PrefsDlgTest, DisplayMaximizeClearsCascade) {
    g_options &= ~OPT_CASCADE_NEW;
    g_viewOptions2 &= ~VIEW2_MAXIMIZE_NEW;
    pdScript = [](DlgObject *dlg) {
        if (pdTurns == 1) {
            Click(dlg, PrefsDlgCode(PD_CASCADE));
            Click(dlg, PrefsDlgCode(PD_MAXIMIZE));
            EXPECT_FALSE(Checked(dlg, PrefsDlgCode(PD_CASCADE)));
            EXPECT_TRUE(Checked(dlg, PrefsDlgCode(PD_MAXIMIZE)));
            return;
        }
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(PrefsDlgRunPage(PREFS_DISPLAY), 1);
    EXPECT_FALSE(g_options & OPT_CASCADE_NEW);
    EXPECT_TRUE(g_viewOptions2 & VIEW2_MAXIMIZE_NEW);
}

TEST_F(PrefsDlgTest, DecorationsSwitchAndCancel) {
    g_decorOptions = DECOR_SUBSTITUTIONS | DECOR_NOT_EQUAL;
    pdScript = [](DlgObject *dlg) {
        if (pdTurns == 1) {
            EXPECT_TRUE(IsWindowEnabled(DlgGetControlWindow(dlg, PrefsDlgCode(PR_NOT_EQUAL))));
            Click(dlg, PrefsDlgCode(PR_SUBSTITUTIONS));
            for (int32_t c = PR_ARROW; c <= PR_OR; c++)
                EXPECT_FALSE(IsWindowEnabled(DlgGetControlWindow(dlg, PrefsDlgCode(c)))) << c;
            EXPECT_TRUE(Checked(dlg, PrefsDlgCode(PR_NOT_EQUAL))) << "the box keeps its check";
            EXPECT_EQ(g_decorOptions, (uint32_t)DECOR_NOT_EQUAL) << "the switch took effect at once";
            return;
        }
        Click(dlg, DLG_CODE_CANCEL);
    };
    EXPECT_EQ(PrefsDlgRunPage(PREFS_DECORATIONS), 0);
    EXPECT_EQ(g_decorOptions, DECOR_SUBSTITUTIONS | DECOR_NOT_EQUAL);
}

TEST_F(PrefsDlgTest, RecoveryTypedAsZero) {
    pdScript = [](DlgObject *dlg) {
        SetWindowTextA(DlgGetControlWindow(dlg, PrefsDlgCode(PG_RECOVERY)), "0");
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(PrefsDlgRunPage(PREFS_GENERAL), 1);
    EXPECT_EQ(g_recoverySeconds, 1);
}

TEST_F(PrefsDlgTest, FoldersAndColors) {
    prefsAnswers.folders[PREFS_FOLDER_USER_DATA] = "C:\\Data";
    prefsAnswers.folderChosen = "D:\\Mine";
    pdScript = [](DlgObject *dlg) {
        if (pdTurns == 1) {
            Click(dlg, PREFS_DLG_BROWSE);
            char text[256];
            DlgGetText(dlg, PrefsDlgCode(PREFS_FOLDER_CLIPS), text);
            EXPECT_STREQ(text, "D:\\Mine\\Clips");
            return;
        }
        Click(dlg, DLG_CODE_OK);
    };
    ASSERT_EQ(PrefsDlgRunPage(PREFS_FOLDERS), 1);
    EXPECT_EQ(prefsAnswers.folders[PREFS_FOLDER_USER_DATA], "D:\\Mine");
    EXPECT_EQ(prefsAnswers.folders[PREFS_FOLDER_BACKUP], "D:\\Mine\\Backup");

    pdScript = [](DlgObject *dlg) {
        EXPECT_EQ(DlgGetListCount(dlg, PrefsDlgCode(PC_ITEM)), 9);
        Click(dlg, DLG_CODE_CANCEL);
    };
    EXPECT_EQ(PrefsDlgRunPage(PREFS_COLORS), 0);
}

TEST_F(PrefsDlgTest, CommandOpensItsPage) {
    hooks.runSheet = PrefsDlgRunSheet;
    PrefsSetHooks(&hooks);
    std::string caption;
    static std::string *seen;
    seen = &caption;
    pdScript = [](DlgObject *dlg) {
        char text[64] = "";
        GetWindowTextA(DlgGetWindow(dlg), text, sizeof text);
        *seen = text;
        Click(dlg, DLG_CODE_OK);
    };
    EXPECT_EQ(CmdPreferences(491), 0);
    EXPECT_EQ(caption, "Searching");
}

} // namespace
