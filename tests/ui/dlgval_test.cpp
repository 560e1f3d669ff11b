// Values and accessors of table dialogs:
// - loading and reading back: radio groups (the chosen button checked, a click storing its position and
//   naming the head), signed and unsigned numbers in both directions, unsigned values of 2^31 and more
//   unchanged, numbers past 32 bits refused, text buffers cut at extra 2 - 1 characters, check boxes,
//   drop-down lists, user items through events 25 and 26, a multiple-selection list's plex of indexes;
// - texts: DlgSetTextF cut at 511 characters, selection of an edit's text, case-blind comparison;
// - enabling (flag 0x8000 kept, a radio head's buttons, the focus leaving, ranges skipping statics),
//   showing by code and index range, focus, the default button, record words, geometry, combos refilled.
#include "ui/dlgval.h"

#include "base/plex.h"
#include "support/vxtest.h"
#include "ui/dlgobj.h"
#include "ui/dlgtest.h"
#include "ui/draw.h"
#include "ui/listbox.h"

#include <string>

namespace {

std::vector<std::pair<int32_t, int32_t>> used; // (event, code) of events 2, 25 and 26
int32_t userValue;

intptr_t Callback(DlgObject *, int32_t event, int32_t code, void *ptr, intptr_t) {
    static const char *const items[] = {"alpha", "beta", "gamma"};
    switch (event) {
    case DLG_EV_USED: used.push_back({event, code}); return 0;
    case DLG_EV_ITEM_COUNT: return 3;
    case DLG_EV_ITEM_TEXT: {
        auto *pstr = (unsigned char *)ptr;
        const char *text = items[0];
        pstr[0] = (unsigned char)strlen(text);
        memcpy(pstr + 1, text, pstr[0]);
        return pstr[0];
    }
    case DLG_EV_SET_USERITEM:
        used.push_back({event, code});
        userValue = *(int32_t *)ptr;
        return 0;
    case DLG_EV_GET_USERITEM:
        used.push_back({event, code});
        *(int32_t *)ptr = userValue;
        return 0;
    default: return 0;
    }
}

const DlgControl end = {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0};

class DlgValueTest : public DlgFixture {
protected:
    void SetUp() override {
        DlgFixture::SetUp();
        used.clear();
        userValue = 0;
    }
    void TearDown() override {
        if (dlg && IsWindow(DlgGetWindow(dlg))) DestroyWindow(DlgGetWindow(dlg));
        DlgFixture::TearDown();
    }
    DlgObject *Open(const DlgControl *controls, DlgSlot *data) {
        desc = {{1, 1, 12, 50}, "Values", Callback, DLG_ROW_FIRST, 0, controls};
        dlg = DlgCreateModeless(&desc, 0, data, nullptr);
        EXPECT_NE(dlg, nullptr);
        return dlg;
    }
    std::string Text(int32_t code) {
        char text[1024] = "";
        GetWindowTextA(DlgGetControlWindow(dlg, code), text, sizeof text);
        return text;
    }
    DlgDesc desc = {};
    DlgObject *dlg = nullptr;
};

} // namespace

// ---- Loading and reading back

TEST_F(DlgValueTest, RadioGroup) {
    const DlgControl controls[] = {
        {{0, 0, 0, 0}, nullptr, DLG_RADIO_HEAD, 0, 20, 0, 0},
        {{0, 1, 1, 10}, "One", DLG_RADIO, 0, 21, 0, 0},
        {{1, 1, 1, 10}, "Two", DLG_RADIO, 0, 22, 0, 0},
        {{2, 1, 1, 10}, "Three", DLG_RADIO, 0, 23, 0, 0},
        {{3, 1, 1, 10}, "Four", DLG_RADIO, 0, 24, 0, 0},
        end,
    };
    DlgSlot data[] = {2};
    ASSERT_TRUE(Open(controls, data));
    for (int32_t code = 21; code <= 24; code++)
        EXPECT_EQ(IsDlgButtonChecked(DlgGetWindow(dlg), 1000 + code - 20), code == 23 ? 1u : 0u) << code;
    DlgClick(dlg, 21);
    EXPECT_EQ(DlgGetValue(dlg, 20), 0);
    EXPECT_EQ(IsDlgButtonChecked(DlgGetWindow(dlg), 1001), 1u);
    EXPECT_EQ(IsDlgButtonChecked(DlgGetWindow(dlg), 1003), 0u);
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(used[0].second, 20) << "the event names the group's head";
    ASSERT_TRUE(DlgReadValues(dlg, data, true));
    EXPECT_EQ(data[0], 0);
    DlgSetValue(dlg, 20, 3);
    EXPECT_EQ(IsDlgButtonChecked(DlgGetWindow(dlg), 1004), 1u);
    DlgSetValue(dlg, 20, 9);
    for (int id = 1001; id <= 1004; id++) EXPECT_EQ(IsDlgButtonChecked(DlgGetWindow(dlg), id), 0u) << id;
}

TEST_F(DlgValueTest, Numbers) {
    const DlgControl controls[] = {
        {{0, 1, 1, 12}, nullptr, DLG_EDIT, DLGF_SIGNED, 10, -100, 100},
        {{1, 1, 1, 12}, nullptr, DLG_EDIT, DLGF_UNSIGNED, 11, 0, -1},
        {{2, 1, 1, 12}, nullptr, DLG_EDIT, DLGF_UNSIGNED, 12, 0, -1},
        {{3, 1, 1, 12}, nullptr, DLG_TEXT_STATIC, DLGF_SIGNED, 13, 0, 0},
        end,
    };
    DlgSlot data[] = {-5, -5, (DlgSlot)(int32_t)0x80000000u, 42};
    ASSERT_TRUE(Open(controls, data));
    EXPECT_EQ(Text(10), "-5");
    EXPECT_EQ(Text(11), "4294967291");
    EXPECT_EQ(Text(12), "2147483648");
    EXPECT_EQ(Text(13), "42");
    DlgSlot back[] = {0, 0, 0, 0};
    ASSERT_TRUE(DlgReadValues(dlg, back, true));
    EXPECT_EQ(back[0], -5);
    EXPECT_EQ(back[1], -5) << "the same 32 bits";
    EXPECT_EQ((uint32_t)back[2], 0x80000000u) << "an unsigned value of 2^31 or more comes back unchanged";
    EXPECT_EQ(back[3], 0) << "a text static is not read back without its flag";
    EXPECT_EQ(DlgGetValue(dlg, 12), (int32_t)0x80000000u);
    EXPECT_TRUE(VxAlerts().empty());
}

TEST_F(DlgValueTest, NumbersOutOfRange) {
    const DlgControl controls[] = {
        {{0, 1, 1, 12}, nullptr, DLG_EDIT, DLGF_SIGNED, 10, -100, 100},
        {{1, 1, 1, 12}, nullptr, DLG_EDIT, DLGF_UNSIGNED, 11, 0, -1},
        end,
    };
    DlgSlot data[] = {0, 0};
    ASSERT_TRUE(Open(controls, data));
    struct {
        const char *signedText, *unsignedText;
        bool valid;
        const char *alert;
    } cases[] = {
        {"100", "4294967295", true, nullptr},
        {" -100xyz", "-1", true, nullptr},
        {"101", "7", false, "Number must be between -100 and 100."},
        {"1", "4294967296", false, "Number must be between 0 and 4294967295."},
        {"99999999999", "0", false, "Number must be between -100 and 100."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.signedText) + " / " + c.unsignedText);
        VxAlertsReset();
        SetWindowTextA(DlgGetControlWindow(dlg, 10), c.signedText);
        SetWindowTextA(DlgGetControlWindow(dlg, 11), c.unsignedText);
        EXPECT_EQ(DlgReadValues(dlg, data, true), c.valid);
        ASSERT_EQ(VxAlerts().size(), c.alert ? 1u : 0u);
        if (c.alert) {
            EXPECT_EQ(VxAlerts()[0].text, c.alert);
        }
    }
    DWORD start = 0, stop = 0;
    SendMessageA(DlgGetControlWindow(dlg, 10), EM_GETSEL, (WPARAM)&start, (LPARAM)&stop);
    EXPECT_EQ(stop - start, 11u) << "the text of the field out of range is selected";
    EXPECT_EQ(data[0], -100) << "its minimum is taken";
}

TEST_F(DlgValueTest, TextsChecksListsAndUserItems) {
    const DlgControl controls[] = {
        {{0, 1, 1, 30}, nullptr, DLG_EDIT, 0, 10, 0, 20},
        {{1, 1, 1, 10}, "Wrap", DLG_CHECK, 0, 11, 0, 0},
        {{2, 1, 5, 20}, nullptr, DLG_DROPLIST, 0, 12, 0, 0},
        {{3, 1, 1, 10}, "label", DLG_LABEL, 0, 13, 0, 0},
        {{4, 1, 2, 10}, nullptr, DLG_USERITEM, 0, 14, 0, 0},
        {{6, 1, 1, 30}, nullptr, DLG_TEXT_STATIC, DLGF_READ_TEXT, 15, 0, 16},
        end,
    };
    char text[20] = "start", shown[16] = "static";
    DlgSlot data[] = {(DlgSlot)text, 1, 2, 77, (DlgSlot)shown};
    ASSERT_TRUE(Open(controls, data));
    EXPECT_EQ(Text(10), "start");
    EXPECT_EQ(IsDlgButtonChecked(DlgGetWindow(dlg), 1001), 1u);
    EXPECT_EQ(SendMessageA(DlgGetControlWindow(dlg, 12), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(DlgGetControlWindow(dlg, 12), CB_GETCOUNT, 0, 0), 3) << "items from event 12";
    EXPECT_EQ(DlgGetValue(dlg, 14), 0) << "a user item's value comes from event 26";
    DlgSetValue(dlg, 14, 31);
    EXPECT_EQ(userValue, 31);
    EXPECT_EQ(DlgGetValue(dlg, 14), 31);
    SetWindowTextA(DlgGetControlWindow(dlg, 10), "abcdefghijklmnopqrstuvwxyz");
    SetWindowTextA(DlgGetControlWindow(dlg, 15), "a static text past sixteen");
    DlgClick(dlg, 11);
    DlgSlot back[] = {(DlgSlot)text, 0, 0, 0, (DlgSlot)shown};
    ASSERT_TRUE(DlgReadValues(dlg, back, false));
    EXPECT_STREQ(text, "start") << "texts are read only with all";
    ASSERT_TRUE(DlgReadValues(dlg, back, true));
    EXPECT_STREQ(text, "abcdefghijklmnopqrs") << "at most extra 2 - 1 = 19 characters";
    EXPECT_STREQ(shown, "a static text p");
    EXPECT_EQ(back[1], 0);
    EXPECT_EQ(back[2], 2);
    EXPECT_EQ(back[3], 31);
    char got[20];
    EXPECT_EQ(DlgGetText(dlg, 10, got), 19);
    EXPECT_EQ(DlgGetText(dlg, 13, got), 0) << "a label has no buffer size";
    EXPECT_STREQ(got, "");
}

TEST_F(DlgValueTest, SetTextF) {
    const DlgControl controls[] = {{{0, 1, 4, 40}, nullptr, DLG_EDIT, 0, 10, 0, 1024}, end};
    char text[1024] = "";
    DlgSlot data[] = {(DlgSlot)text};
    ASSERT_TRUE(Open(controls, data));
    std::string argument(600, 'x');
    DlgSetTextF(dlg, 10, "<%s>", argument.c_str());
    std::string shown = Text(10);
    EXPECT_EQ(shown.size(), 511u);
    EXPECT_EQ(shown.substr(0, 4), "<xxx");
    DWORD start = 1, stop = 0;
    SendMessageA(DlgGetControlWindow(dlg, 10), EM_GETSEL, (WPARAM)&start, (LPARAM)&stop);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(stop, 511u) << "an edit's new text is selected";
    unsigned char pstr[] = "\x05hello";
    DlgSetTextPstr(dlg, 10, pstr);
    EXPECT_EQ(Text(10), "hello");
    EXPECT_TRUE(DlgTextEqualsI(dlg, 10, "HELLO"));
    EXPECT_FALSE(DlgTextEqualsI(dlg, 10, "hell"));
    EXPECT_TRUE(DlgHasText(dlg, 10));
    DlgSetText(dlg, 10, "");
    EXPECT_FALSE(DlgHasText(dlg, 10));
    EXPECT_FALSE(DlgHasText(dlg, 99));
}

// ---- Enabling, showing, focus, words

TEST_F(DlgValueTest, EnablingAndShowing) {
    const DlgControl controls[] = {
        {{0, 1, 1, 20}, nullptr, DLG_EDIT, 0, 10, 0, 20},
        {{1, 1, 1, 20}, nullptr, DLG_EDIT, DLGF_INACTIVE, 11, 0, 20},
        {{0, 0, 0, 0}, nullptr, DLG_RADIO_HEAD, 0, 12, 0, 0},
        {{2, 1, 1, 10}, "A", DLG_RADIO, 0, 13, 0, 0},
        {{3, 1, 1, 10}, "B", DLG_RADIO, 0, 14, 0, 0},
        {{4, 1, 1, 20}, "rule", DLG_HLINE, 0, 15, 0, 0},
        {{5, 1, 1, 10}, "OK", DLG_BUTTON, 0, 16, 0, 0},
        end,
    };
    char a[20] = "", b[20] = "";
    DlgSlot data[] = {(DlgSlot)a, (DlgSlot)b, 0};
    ASSERT_TRUE(Open(controls, data));
    EXPECT_FALSE(DlgIsEnabled(dlg, 11)) << "created inactive";
    DlgSetFocus(dlg, 10);
    EXPECT_EQ(DlgGetFocusCode(dlg), 10);
    DlgEnable(dlg, 10, false);
    EXPECT_FALSE(DlgIsEnabled(dlg, 10));
    EXPECT_TRUE(DlgControlAt(dlg, 10)->flags & DLGF_INACTIVE);
    EXPECT_NE(DlgGetFocusCode(dlg), 10) << "the focus left the disabled field";
    DlgEnable(dlg, 12, false);
    EXPECT_FALSE(DlgIsEnabled(dlg, 13));
    EXPECT_FALSE(DlgIsEnabled(dlg, 14));
    DlgEnableRange(dlg, 10, 16, true);
    for (int32_t code : {10, 11, 13, 14, 16}) EXPECT_TRUE(DlgIsEnabled(dlg, code)) << code;
    EXPECT_FALSE(DlgControlAt(dlg, 11)->flags & DLGF_INACTIVE);
    DlgShowRange(dlg, 13, 14, false);
    EXPECT_FALSE(IsWindowVisible(DlgGetControlWindow(dlg, 13)));
    EXPECT_FALSE(IsWindowVisible(DlgGetControlWindow(dlg, 14)));
    EXPECT_TRUE(IsWindowVisible(DlgGetControlWindow(dlg, 16)));
    DlgShowRange(dlg, 0, 0, true);
    EXPECT_TRUE(IsWindowVisible(DlgGetControlWindow(dlg, 13)));
    DlgShowIndexRange(dlg, 0, 2, false);
    EXPECT_FALSE(IsWindowVisible(DlgGetControlWindow(dlg, 10)));
    EXPECT_FALSE(IsWindowVisible(DlgGetControlWindow(dlg, 11)));
    EXPECT_TRUE(IsWindowVisible(DlgGetControlWindow(dlg, 13)));
    DlgShowIndexRange(dlg, 0, 2, true);
    EXPECT_EQ(DlgSetFocus(dlg, 11), 1);
    EXPECT_EQ(DlgGetFocusIndex(dlg), 1);
    EXPECT_EQ(DlgSetFocus(dlg, 99), -1);
    DlgSetDefault(dlg, 16);
    EXPECT_EQ(LOWORD(SendMessageA(DlgGetWindow(dlg), DM_GETDEFID, 0, 0)), 1006);
    EXPECT_EQ(GetWindowLongA(DlgGetControlWindow(dlg, 16), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
}

TEST_F(DlgValueTest, WordsGeometryAndCombos) {
    const DlgControl controls[] = {
        {{0, 1, 1, 20}, nullptr, DLG_EDIT, 0, 10, 0, 20},
        {{2, 1, 5, 20}, nullptr, DLG_DROPLIST, 0, 11, 0, 0},
        end,
    };
    char a[20] = "";
    DlgSlot data[] = {(DlgSlot)a, 0};
    ASSERT_TRUE(Open(controls, data));
    DlgSetFlag400(dlg, 10, true);
    EXPECT_TRUE(DlgTestFlag400(dlg, 10));
    SetWindowTextA(DlgGetControlWindow(dlg, 10), "changed");
    DlgPumpPending(dlg);
    EXPECT_FALSE(DlgTestFlag400(dlg, 10)) << "a text change clears the synchronised bit";
    DlgSetData(dlg, 11, 2);
    EXPECT_EQ(DlgGetData(dlg, 11), 2);
    EXPECT_EQ(DlgGetData(dlg, 99), 0);
    DlgRefillList(dlg, 11, -3);
    EXPECT_EQ(DlgGetListCount(dlg, 11), 3);
    EXPECT_EQ(DlgGetValue(dlg, 11), 2) << "-3 selects the last item";
    EXPECT_EQ(SendMessageA(DlgGetControlWindow(dlg, 11), CB_GETCURSEL, 0, 0), 2);
    RECT pos;
    ASSERT_TRUE(DlgGetControlPos(dlg, 10, &pos));
    RECT moved = {5, 6, 105, 30};
    DlgSetControlPos(dlg, 10, &moved);
    ASSERT_TRUE(DlgGetControlPos(dlg, 10, &pos));
    EXPECT_EQ(pos.left, 5);
    EXPECT_EQ(pos.bottom, 30);
    RECT client, inner;
    GetClientRect(DlgGetWindow(dlg), &client);
    DlgGetClientRect(dlg, &inner);
    EXPECT_TRUE(EqualRect(&client, &inner)) << "no texture band without textures";
    DlgSetCaption(dlg, "Renamed");
    char caption[32];
    GetWindowTextA(DlgGetWindow(dlg), caption, sizeof caption);
    EXPECT_STREQ(caption, "Renamed");
    int user;
    DlgSetUser(dlg, &user);
    EXPECT_EQ(DlgGetUser(dlg), &user);
    EXPECT_EQ(DlgGetSheetWindow(dlg), nullptr);
    EXPECT_EQ(DlgSendMessage(dlg, 11, CB_GETCOUNT, 0, 0), 3);
}

TEST_F(DlgValueTest, MultipleSelectionList) {
    const DlgControl controls[] = {{{0, 1, 5, 20}, nullptr, DLG_LIST, DLGF_MULTISEL, 10, 0, 0}, end};
    Plex *chosen = PlexCreate(sizeof(int32_t), 4, 0);
    for (int32_t item : {2, 0}) PlexInsert(chosen, -1, 1, &item);
    DlgSlot data[] = {(DlgSlot)chosen};
    ASSERT_TRUE(Open(controls, data));
    HWND list = DlgGetControlWindow(dlg, 10);
    EXPECT_TRUE(ListboxIsSelected(list, 0));
    EXPECT_TRUE(ListboxIsSelected(list, 2));
    EXPECT_FALSE(ListboxIsSelected(list, 1));
    EXPECT_EQ(DlgGetData(dlg, 10), 2) << "the plex's first index is the stored selection";
    EXPECT_EQ(PlexCount(chosen), 2) << "the list took a copy";
    ListboxSelectRange(list, 1, 1, false, LISTBOX_SEL_ADD);
    ASSERT_TRUE(DlgReadValues(dlg, data, true));
    auto *back = (Plex *)data[0]; // the old plex was freed and replaced
    ASSERT_TRUE(back);
    ASSERT_EQ(PlexCount(back), 3);
    for (int32_t i = 0; i < 3; i++) EXPECT_EQ(*(int32_t *)PlexElem(back, i), i);
    PlexFree(back);
}
