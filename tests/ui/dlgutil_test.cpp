// The input boxes, run for real through the dialog engine's test hook:
// - one string: the title as caption, an empty answer asks again, the answer comes back;
// - a number shown as text and read back as atoi does;
// - the typed confirmation: a beep, "Yes" enabled and the default only while the edit holds "yes" in any
//   case, Enter answering "No" otherwise; without typed mode the plain Yes/No question with No first.
#include "ui/dlgutil.h"

#include "base/sound.h"
#include "support/vxtest.h"
#include "ui/dlgalert.h"
#include "ui/dlgtest.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// The only edit of each box.
HWND Edit(DlgObject *dlg) {
    return FindWindowExA(DlgGetWindow(dlg), nullptr, "Edit", nullptr);
}

std::string Caption(DlgObject *dlg) {
    char text[64] = "";
    GetWindowTextA(DlgGetWindow(dlg), text, sizeof text);
    return text;
}

using InputBoxTest = DlgFixture;

TEST_F(InputBoxTest, EmptyStringAsksAgain) {
    std::vector<std::string> captions;
    HWND first = nullptr;
    bool secondBox = false;
    DlgScript({[&](DlgObject *dlg) {
                   first = DlgGetWindow(dlg);
                   captions.push_back(Caption(dlg));
                   SetWindowTextA(Edit(dlg), "");
                   DlgClick(dlg, DLG_CODE_OK);
               },
               [&](DlgObject *dlg) {
                   secondBox = !IsWindow(first) || DlgGetWindow(dlg) != first;
                   captions.push_back(Caption(dlg));
                   SetWindowTextA(Edit(dlg), "main.c");
                   DlgClick(dlg, DLG_CODE_OK);
               }});
    char buffer[256] = "old";
    EXPECT_TRUE(AskString("New File", "Name:", buffer));
    EXPECT_STREQ(buffer, "main.c");
    EXPECT_TRUE(secondBox);
    EXPECT_EQ(captions, (std::vector<std::string>{"New File", "New File"}));
}

TEST_F(InputBoxTest, NumberReadAsAtoiDoes) {
    std::string shown;
    DlgScript({[&](DlgObject *dlg) {
        char text[32];
        GetWindowTextA(Edit(dlg), text, sizeof text);
        shown = text;
        SetWindowTextA(Edit(dlg), "42 levels");
        DlgPressKey(dlg, VK_RETURN);
    }});
    int32_t levels = -7;
    EXPECT_TRUE(AskNumber("Levels to expand:", &levels));
    EXPECT_EQ(shown, "-7");
    EXPECT_EQ(levels, 42);
}

int beeps;

TEST_F(InputBoxTest, TypedConfirmationNeedsYes) {
    beeps = 0;
    SoundSetTestHook([](UINT) {
        beeps++;
        return TRUE;
    });
    AskConfirmTypedMode(true);
    struct State {
        bool enabled, isDefault;
    };
    std::vector<State> states;
    auto look = [&](DlgObject *dlg) {
        HWND yes = DlgGetControlWindow(dlg, DLG_CODE_OK);
        LRESULT def = SendMessageA(DlgGetWindow(dlg), DM_GETDEFID, 0, 0);
        states.push_back({IsWindowEnabled(yes) != 0, LOWORD(def) == GetDlgCtrlID(yes)});
    };
    DlgScript({[&](DlgObject *dlg) {
        look(dlg);
        SetWindowTextA(Edit(dlg), "YES");
        look(dlg);
        SetWindowTextA(Edit(dlg), "YE");
        look(dlg);
        DlgPressKey(dlg, VK_RETURN);
    }});
    EXPECT_FALSE(AskConfirmF("Delete %d files?", 3));
    AskConfirmTypedMode(false);
    ASSERT_EQ(states.size(), 3u);
    EXPECT_FALSE(states[0].enabled) << "nothing typed";
    EXPECT_TRUE(states[1].enabled && states[1].isDefault) << "\"YES\"";
    EXPECT_FALSE(states[2].enabled || states[2].isDefault) << "\"YE\"";
    EXPECT_EQ(DlgScriptTurns(), 1) << "Enter answered No";
    EXPECT_EQ(beeps, 1);
}

TEST_F(InputBoxTest, PlainConfirmationIsAYesNoQuestion) {
    VxAlertsReset();
    VxAlertAnswer(IDYES);
    EXPECT_TRUE(AskConfirmF("Delete %s?", "a.c"));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Delete a.c?");
    EXPECT_EQ(VxAlerts()[0].kind, ALERT_YESNO);
    EXPECT_EQ(VxAlerts()[0].defaultButton, 1);
}

} // namespace
