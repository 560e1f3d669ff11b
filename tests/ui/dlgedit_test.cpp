// The history of entered strings and its controls:
// - the history: newest first, an exchange with the newest for a text entered again, at most 19 entries
//   with the oldest dropped, texts shorter than 2 characters never recorded; written and read back in the
//   workspace's form, an unreadable block giving an empty history;
// - a history edit in a dialog: Up in an empty field shows the newest, Up again turns the history; a
//   function key reaches the dialog as message 2025; codes of message 2025 typed or swallowed; leaving the
//   field records its text;
// - a list-forwarding edit passes Page Down to its list only while it holds text;
// - the fields windows make themselves: styles, the dialog font, Up in a history combo.
#include "ui/dlgedit.h"

#include "base/formtest.h"
#include "base/keycode.h"
#include "ui/dlg.h"
#include "ui/dlgtest.h"
#include "ui/listbox.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    Stb *history = HistoryGet();
    for (int32_t i = 0; history && i < StbCount(history); i++) {
        char text[256];
        StbGetString(history, i, text);
        entries.emplace_back(text);
    }
    return entries;
}

typedef std::vector<std::string> Names;

class HistoryTest : public testing::Test {
protected:
    void SetUp() override { HistoryClear(); }
};

TEST_F(HistoryTest, NewestFirstWithAnExchange) {
    EXPECT_EQ(HistoryAddSz("alpha"), 1);
    HistoryAddSz("beta");
    EXPECT_EQ(HistoryAddSz("gamma"), 3);
    EXPECT_EQ(Entries(), (Names{"gamma", "beta", "alpha"}));
    EXPECT_EQ(HistoryAddSz("alpha"), 3);
    EXPECT_EQ(Entries(), (Names{"alpha", "beta", "gamma"})) << "the newest and alpha change places";
    EXPECT_EQ(HistoryAddSz("x"), 1) << "the length of a text too short";
    EXPECT_EQ(HistoryAddSz(""), 0);
    EXPECT_EQ(HistoryAddSz("Alpha"), 4) << "compared exactly";
    unsigned char pstr[] = "\x04"
                           "beta";
    EXPECT_TRUE(HistoryFind(pstr));
    EXPECT_FALSE(HistoryFind((const unsigned char *)"\x01x"));
}

TEST_F(HistoryTest, NineteenKeptTheOldestDropped) {
    for (int i = 0; i < 20; i++) HistoryAddSz(("entry" + std::to_string(i)).c_str());
    Names entries = Entries();
    ASSERT_EQ(entries.size(), 19u);
    EXPECT_EQ(entries.front(), "entry19");
    EXPECT_EQ(entries.back(), "entry1");
}

TEST_F(HistoryTest, WorkspaceFormBothWays) {
    HistoryAddSz("first");
    HistoryAddSz("second");
    FormBytes bytes = FormWrite([](int file) { return (int)HistoryWrite(file); });
    HistoryClear();
    EXPECT_TRUE(FormRead(bytes, [](int file) { return HistoryRead(file); }));
    EXPECT_EQ(Entries(), (Names{"second", "first"}));
    EXPECT_TRUE(FormRead(FormPatch(bytes, 2, 0, true), [](int file) { return HistoryRead(file); }));
    EXPECT_TRUE(Entries().empty()) << "unreadable: an empty history";
    EXPECT_EQ(HistoryAddSz("again"), 1);
}

// ---- Edits in a dialog

enum { CODE_HISTORY = 10, CODE_FIND = 11, CODE_LIST = 12 };

std::vector<WPARAM> keysToDialog; // the codes of message 2025 as the dialog saw it

intptr_t EditDialogProc(DlgObject *, int32_t event, int32_t code, void *ptr, intptr_t) {
    if (event == DLG_EV_ITEM_COUNT && code == CODE_LIST) return 40;
    if (event == DLG_EV_ITEM_TEXT) {
        auto *text = (unsigned char *)ptr;
        text[0] = (unsigned char)snprintf((char *)text + 1, 255, "item");
    }
    if (event == DLG_EV_MESSAGE && ((MSG *)ptr)->message == HISTORY_MSG_KEY)
        keysToDialog.push_back(((MSG *)ptr)->wParam);
    return 0;
}

const DlgControl editControls[] = {
    {{0, 1, 1, 20}, nullptr, DLG_EDIT, 0, CODE_HISTORY, 0, 64},
    {{2, 1, 1, 20}, nullptr, DLG_EDIT, 0, CODE_FIND, 0, 64},
    {{3, 1, 5, 20}, nullptr, DLG_LIST, 0, CODE_LIST, 0, 0},
    {{9, 1, 1, 10}, "OK", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES, 1, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
const DlgDesc editDesc = {{1, 1, 11, 30}, "Edits", EditDialogProc, DLG_ROW_FIRST, 0, editControls};

std::string Text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

using HistoryEditTest = DlgFixture;

TEST_F(HistoryEditTest, KeysInTheDialogsFields) {
    HistoryClear();
    for (const char *text : {"alpha", "beta", "gamma"}) HistoryAddSz(text);
    keysToDialog.clear();
    std::vector<std::string> shown;
    int32_t selected[3] = {-1, -1, -1};
    auto post = [](HWND window, UINT key) { PostMessageA(window, WM_KEYDOWN, key, 1); };
    DlgScript({
        [&](DlgObject *dlg) { post(DlgGetControlWindow(dlg, CODE_HISTORY), VK_UP); },
        [&](DlgObject *dlg) {
            shown.push_back(Text(DlgGetControlWindow(dlg, CODE_HISTORY)));
            post(DlgGetControlWindow(dlg, CODE_HISTORY), VK_UP);
        },
        [&](DlgObject *dlg) {
            HWND edit = DlgGetControlWindow(dlg, CODE_HISTORY);
            shown.push_back(Text(edit));
            post(edit, VK_F5);
            SetWindowTextA(edit, "");
            SendMessageA(edit, HISTORY_MSG_KEY, 'z', 0);
            SendMessageA(edit, HISTORY_MSG_KEY, KEY_CTRL | 'C', 0);
            SendMessageA(edit, HISTORY_MSG_KEY, KEY_NAV | VK_LEFT, 0);
            shown.push_back(Text(edit));
            SetWindowTextA(edit, "delta");
            SetFocus(edit);
            DlgSetFocus(dlg, CODE_FIND); // leaving the field records it
            selected[0] = ListboxGetCurSel(DlgGetControlWindow(dlg, CODE_LIST));
            post(DlgGetControlWindow(dlg, CODE_FIND), VK_NEXT);
        },
        [&](DlgObject *dlg) {
            HWND find = DlgGetControlWindow(dlg, CODE_FIND);
            selected[1] = ListboxGetCurSel(DlgGetControlWindow(dlg, CODE_LIST));
            SetWindowTextA(find, "it");
            DlgSetFocus(dlg, CODE_FIND);
            post(find, VK_NEXT);
        },
        [&](DlgObject *dlg) { selected[2] = ListboxGetCurSel(DlgGetControlWindow(dlg, CODE_LIST)); },
    });
    char history[64] = "", find[64] = "";
    DlgSlot data[] = {(DlgSlot)history, (DlgSlot)find, 0};
    DlgRun(&editDesc, 0, data);
    EXPECT_EQ(shown, (Names{"gamma", "beta", "z"}));
    EXPECT_EQ(keysToDialog, (std::vector<WPARAM>{KEY_FUNCTION | VK_F5, KEY_NAV | VK_NEXT}))
        << "F5, and Page Down from the field with text";
    EXPECT_EQ(Entries().front(), "delta");
    EXPECT_EQ(selected[1], selected[0]) << "an empty field keeps its keys";
    EXPECT_GT(selected[2], selected[1]) << "Page Down went to the list";
}

// ---- Fields made by windows

TEST_F(HistoryEditTest, FieldsMadeByWindows) {
    HWND parent = UiPopup(0, 0, 300, 200);
    const RECT place = {10, 10, 210, 30};
    HWND edit = HistoryEditCreate(parent, &place, false, false);
    ASSERT_NE(edit, nullptr);
    // The system turns an edit's border into a client edge.
    EXPECT_EQ((uint32_t)GetWindowLongA(edit, GWL_STYLE) | WS_BORDER, 0x42810080u);
    EXPECT_EQ((HFONT)SendMessageA(edit, WM_GETFONT, 0, 0), DlgGetFont());
    WNDPROC subclassed = (WNDPROC)GetWindowLongPtrA(edit, GWLP_WNDPROC);
    HistoryEditSubclass(edit, true);
    EXPECT_EQ((WNDPROC)GetWindowLongPtrA(edit, GWLP_WNDPROC), subclassed)
        << "subclassing again changes nothing";

    HistoryClear();
    HistoryAddSz("older");
    HistoryAddSz("newer");
    HWND combo = HistoryComboCreate(parent, &place, true, false);
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE((uint32_t)GetWindowLongA(combo, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(SendMessageA(combo, CB_GETEXTENDEDUI, 0, 0));
    SendMessageA(combo, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(Text(combo), "newer");
    SendMessageA(combo, WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(Text(combo), "older");
    DestroyWindow(parent);
}

} // namespace
