// Running table dialogs:
// - modal runs scripted through the test hook: Esc and the close box (event 2 with code 2, refused in
//   event 1), Enter with and without a default button, DlgKeepOpen in event 1 keeping the end code, a
//   closing button reading values back (an out-of-range number keeps the dialog open), the script ending
//   early, a dialog that cannot be built;
// - the run's surroundings: the splash and dock hooks, the frame disabled and given back, the focus given
//   back, the previous current dialog restored, nested runs, WM_QUIT passed on;
// - callbacks that close their own dialog, pending presses, help on the caption;
// - modeless dialogs: creation, the pump's end code, waiting on the frame's timer or the tick count,
//   DlgDestroyModeless, and a modeless dialog ending inside a modal run without ending the run.
#include "ui/dlgrun.h"

#include "base/heap.h"
#include "base/wnd.h"
#include "support/vxtest.h"
#include "ui/dlgtest.h"
#include "ui/uitest.h"

#include <string>
#include <vector>

namespace {

struct Ev {
    int32_t event;
    int32_t code;
};
std::vector<Ev> events;
std::function<void(DlgObject *, int32_t, int32_t)> react;

intptr_t Recorder(DlgObject *dlg, int32_t event, int32_t code, void *, intptr_t) {
    if (event != DLG_EV_MESSAGE && event != DLG_EV_IDLE) events.push_back({event, code});
    if (react) react(dlg, event, code);
    return 0;
}

bool Has(int32_t event, int32_t code) {
    for (const Ev &e : events)
        if (e.event == event && e.code == code) return true;
    return false;
}

class DlgRunTest : public DlgFixture {
protected:
    void SetUp() override {
        DlgFixture::SetUp();
        events.clear();
        react = nullptr;
        text[0] = '\0';
        data[0] = (DlgSlot)text;
        data[1] = 5;
        data[2] = 0;
    }
    void TearDown() override {
        react = nullptr;
        WndSetAppWindows(nullptr, nullptr);
        DlgFixture::TearDown();
    }
    char text[20];
    DlgSlot data[3];
};

const DlgControl controls[] = {
    {{0, 1, 1, 10}, "Name:", DLG_LABEL, 0, 0, 0, 0},
    {{0, 12, 1, 20}, nullptr, DLG_EDIT, 0, 10, 0, 20},
    {{2, 12, 1, 6}, nullptr, DLG_EDIT, DLGF_SIGNED, 11, 1, 10},
    {{3, 1, 1, 20}, "Wrap lines", DLG_CHECK, 0, 12, 0, 0},
    {{5, 1, 1, 10}, "OK", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES | DLGF_READ_VALUES, 1, 0, 0},
    {{5, 12, 1, 10}, "Cancel", DLG_BUTTON, DLGF_CLOSES, 2, 0, 0},
    {{5, 23, 1, 10}, "Apply", DLG_BUTTON, 0, 5, 0, 0},
    {{5, 34, 1, 10}, "Help", DLG_BUTTON, 0, 6, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
const DlgDesc desc = {{1, 1, 7, 46}, "Run Test", Recorder, DLG_ROW_FIRST, 0, controls};

const DlgControl noDefault[] = {
    {{0, 1, 1, 20}, nullptr, DLG_EDIT, 0, 10, 0, 20},
    {{2, 1, 1, 10}, "Go", DLG_BUTTON, DLGF_CLOSES, 7, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
};
const DlgDesc noDefaultDesc = {{1, 1, 4, 30}, "No Default", Recorder, DLG_ROW_FIRST, 0, noDefault};

void PostEsc(DlgObject *dlg) {
    DlgPressKey(dlg, VK_ESCAPE);
}

} // namespace

// ---- Ending a modal run

TEST_F(DlgRunTest, EscClosesUnlessRefused) {
    bool refuse = true;
    react = [&](DlgObject *, int32_t event, int32_t) {
        if (event == DLG_EV_QUERY_CLOSE && refuse) DlgKeepOpen();
    };
    int stillOpen = 0;
    DlgScript({PostEsc, [&](DlgObject *dlg) {
                   stillOpen = IsWindow(DlgGetWindow(dlg));
                   refuse = false;
                   PostEsc(dlg);
               }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 2);
    EXPECT_TRUE(stillOpen) << "event 1 refused the first Esc";
    EXPECT_TRUE(Has(DLG_EV_USED, 2));
    EXPECT_TRUE(Has(DLG_EV_INIT, 0));
}

TEST_F(DlgRunTest, CloseBoxIsEsc) {
    DlgScript({[](DlgObject *dlg) { PostMessageA(DlgGetWindow(dlg), WM_CLOSE, 0, 0); }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 2);
    EXPECT_TRUE(Has(DLG_EV_USED, 2));
    EXPECT_TRUE(Has(DLG_EV_QUERY_CLOSE, 0));
}

TEST_F(DlgRunTest, EnterWithoutDefaultDoesNothing) {
    bool open = false;
    DlgScript({[](DlgObject *dlg) { DlgPressKey(dlg, VK_RETURN); },
               [&](DlgObject *dlg) {
                   open = IsWindow(DlgGetWindow(dlg));
                   DlgClick(dlg, 7);
               }});
    EXPECT_EQ(DlgRun(&noDefaultDesc, 0, data), 7);
    EXPECT_TRUE(open);
    EXPECT_FALSE(Has(DLG_EV_USED, 1));
}

TEST_F(DlgRunTest, EnterPressesTheDefaultButton) {
    DlgScript({[](DlgObject *dlg) {
        SetWindowTextA(DlgGetControlWindow(dlg, 10), "typed");
        DlgPressKey(dlg, VK_RETURN);
    }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 1);
    EXPECT_STREQ(text, "typed");
    EXPECT_TRUE(Has(DLG_EV_USED, 1));
}

TEST_F(DlgRunTest, KeepOpenInQueryClose) {
    react = [](DlgObject *, int32_t event, int32_t) {
        if (event == DLG_EV_QUERY_CLOSE) DlgKeepOpen();
    };
    int32_t endCode = 0;
    bool open = false;
    DlgScript({[](DlgObject *dlg) { DlgClick(dlg, 1); },
               [&](DlgObject *dlg) {
                   endCode = DlgGetEndCode();
                   open = IsWindow(DlgGetWindow(dlg));
               }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 2) << "the script gives up";
    EXPECT_TRUE(open);
    EXPECT_EQ(endCode, 1) << "the button's end code stays set";
}

TEST_F(DlgRunTest, OutOfRangeNumberKeepsTheDialogOpen) {
    bool open = false;
    DlgScript({[](DlgObject *dlg) {
                   SetWindowTextA(DlgGetControlWindow(dlg, 11), "42");
                   DlgClick(dlg, 1);
               },
               [&](DlgObject *dlg) {
                   open = IsWindow(DlgGetWindow(dlg));
                   SetWindowTextA(DlgGetControlWindow(dlg, 11), "7");
                   DlgClick(dlg, 1);
               }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 1);
    EXPECT_TRUE(open);
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Number must be between 1 and 10.");
    EXPECT_EQ(data[1], 7);
}

TEST_F(DlgRunTest, ScriptDoneCancels) {
    DlgScript({});
    EXPECT_EQ(DlgRun(&desc, 0, data), 2);
    EXPECT_EQ(DlgScriptTurns(), 1);
    EXPECT_EQ(DlgGetCurrent(), nullptr);
}

TEST_F(DlgRunTest, CannotBeBuilt) {
    HeapFailNth(1);
    EXPECT_EQ(DlgRun(&desc, 0, data), 2);
    EXPECT_TRUE(events.empty());
}

// ---- Surroundings

namespace {
int splashCalls;
std::vector<bool> dockCalls;
std::string helpTopic;
} // namespace

TEST_F(DlgRunTest, HooksFrameAndFocus) {
    splashCalls = 0;
    dockCalls.clear();
    DlgSetSplashHook([] { splashCalls++; });
    DlgSetDockEnableHook([](bool enable) { dockCalls.push_back(enable); });
    HWND frame = UiShownPopup(0, 0, 400, 300);
    WndSetAppWindows(frame, nullptr);
    HWND focus =
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, frame, nullptr, nullptr, nullptr);
    SetFocus(focus);
    bool frameEnabled = true;
    HWND owner = nullptr;
    DlgScript({[&](DlgObject *dlg) {
        frameEnabled = IsWindowEnabled(frame);
        owner = GetWindow(DlgGetWindow(dlg), GW_OWNER);
        DlgClick(dlg, 2);
    }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 2);
    EXPECT_EQ(splashCalls, 1);
    EXPECT_EQ(dockCalls, (std::vector<bool>{false, true}));
    EXPECT_FALSE(frameEnabled);
    EXPECT_EQ(owner, frame);
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_EQ(GetFocus(), focus);
    DestroyWindow(focus);
}

TEST_F(DlgRunTest, NestedRuns) {
    static const DlgControl inner[] = {
        {{0, 1, 1, 10}, "Close", DLG_BUTTON, DLGF_CLOSES, 9, 0, 0},
        {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
    };
    static const DlgDesc innerDesc = {{2, 2, 3, 20}, "Inner", nullptr, DLG_ROW_FIRST | DLG_STACK, 0, inner};
    int32_t innerCode = 0;
    DlgObject *outer = nullptr, *currentAfter = nullptr;
    react = [&](DlgObject *dlg, int32_t event, int32_t code) {
        if (event != DLG_EV_USED || code != 5) return;
        outer = dlg;
        innerCode = DlgRun(&innerDesc, 0, nullptr);
        currentAfter = DlgGetCurrent();
    };
    DlgScript({[](DlgObject *dlg) { DlgClick(dlg, 5); },
               [](DlgObject *dlg) { DlgClick(dlg, 9); }, // the inner dialog
               [](DlgObject *dlg) { DlgClick(dlg, 2); }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 2);
    EXPECT_EQ(innerCode, 9);
    EXPECT_EQ(currentAfter, outer);
}

TEST_F(DlgRunTest, QuitIsPassedOn) {
    DlgScript({[](DlgObject *) { PostQuitMessage(3); }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 2);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// ---- Callbacks

TEST_F(DlgRunTest, CallbackEndsItsOwnDialog) {
    react = [](DlgObject *dlg, int32_t event, int32_t code) {
        if (event == DLG_EV_USED && code == 5) DlgEnd(dlg, 5);
    };
    DlgScript({[](DlgObject *dlg) { DlgClick(dlg, 5); }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 5);
}

TEST_F(DlgRunTest, PendingPress) {
    react = [](DlgObject *, int32_t event, int32_t code) {
        if (event == DLG_EV_USED && code == 5) PropSheetEnd(1);
    };
    DlgScript({[](DlgObject *dlg) { DlgClick(dlg, 5); }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 1);
    EXPECT_TRUE(Has(DLG_EV_USED, 1)) << "OK was pressed after Apply's callback returned";
}

TEST_F(DlgRunTest, HelpOnTheCaption) {
    helpTopic = "-";
    DlgSetHelpHook([](const char *topic) { helpTopic = topic; });
    bool handled = false;
    react = [&](DlgObject *dlg, int32_t event, int32_t code) {
        if (event == DLG_EV_USED && code == DLG_CODE_HELP && handled) DlgMarkHandled(dlg);
    };
    std::string first;
    DlgScript({[](DlgObject *dlg) { DlgClick(dlg, 6); },
               [&](DlgObject *dlg) {
                   first = helpTopic;
                   helpTopic = "-";
                   handled = true;
                   DlgClick(dlg, 6);
               },
               [](DlgObject *dlg) { DlgClick(dlg, 2); }});
    DlgRun(&desc, 0, data);
    EXPECT_EQ(first, "Run Test");
    EXPECT_EQ(helpTopic, "-") << "a callback that handled help opens none";
}

// ---- Modeless dialogs

TEST_F(DlgRunTest, ModelessPump) {
    DlgObject *dlg = DlgCreateModeless(&desc, 0, data, nullptr);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(DlgGetCurrent(), dlg);
    HWND window = DlgGetWindow(dlg);
    EXPECT_EQ(DlgPumpPending(dlg), 0);
    PostMessageA(DlgGetControlWindow(dlg, 5), BM_CLICK, 0, 0);
    EXPECT_EQ(DlgPumpPending(dlg), 5);
    EXPECT_TRUE(IsWindow(window));
    DlgPressKey(dlg, VK_ESCAPE);
    EXPECT_EQ(DlgPumpPending(dlg), 2);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(DlgGetCurrent(), nullptr);
}

TEST_F(DlgRunTest, ModelessPumpWaits) {
    HWND frame = UiPopup(0, 0, 100, 100);
    WndSetAppWindows(frame, nullptr);
    DlgObject *dlg = DlgCreateModeless(&desc, 0, data, nullptr);
    ASSERT_NE(dlg, nullptr);
    DWORD start = GetTickCount();
    EXPECT_EQ(DlgPumpModeless(dlg, 60), 0);
    EXPECT_GE(GetTickCount() - start, 40u);
    WndSetAppWindows(nullptr, nullptr);
    start = GetTickCount();
    EXPECT_EQ(DlgPumpModeless(dlg, 60), 0) << "without a frame the tick count is watched";
    EXPECT_GE(GetTickCount() - start, 40u);
    DlgDestroyModeless(dlg);
    EXPECT_TRUE(Has(DLG_EV_USED, 2));
    EXPECT_TRUE(Has(DLG_EV_QUERY_CLOSE, 0));
    DestroyWindow(frame);
}

// A modeless dialog that ends while a modal one runs sets the engine's loop-done flag too: the modal run
// must go on until its own dialog ends, and report its own code.
TEST_F(DlgRunTest, ModelessEndingInsideModalRun) {
    static const DlgControl modeless[] = {
        {{0, 1, 1, 10}, "Stop", DLG_BUTTON, DLGF_CLOSES, 8, 0, 0},
        {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0},
    };
    static const DlgDesc modelessDesc = {{9, 1, 3, 20}, "Modeless", nullptr, DLG_ROW_FIRST, 0, modeless};
    DlgObject *other = DlgCreateModeless(&modelessDesc, 0, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    HWND otherWindow = DlgGetWindow(other);
    bool open = false;
    DlgScript({[&](DlgObject *) { SendMessageA(GetDlgItem(otherWindow, 1000), BM_CLICK, 0, 0); },
               [&](DlgObject *dlg) {
                   open = IsWindow(DlgGetWindow(dlg));
                   DlgClick(dlg, 1);
               }});
    EXPECT_EQ(DlgRun(&desc, 0, data), 1);
    EXPECT_FALSE(IsWindow(otherWindow));
    EXPECT_TRUE(open);
}
