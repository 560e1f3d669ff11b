// Alerts and progress boxes:
// - message boxes through the alert hook: each question's kind, default button and answer (the close box of
//   Yes/No/Cancel is Cancel); suppression silences errors and information but still asks questions;
//   background work skips them; the 462-character format cut leaves the caller's format alone; the cause
//   after a blank line, the whole cut at 1,023; the splash closes first;
// - the table questions run for real (caption, default button, Enter, Esc, a click; AlertChoose's own
//   buttons) and through the choose hook;
// - progress boxes on the fake clock: nesting (one box, the outer text, an unmatched end harmless), no
//   meter with high 0, refreshes about every 100 ms, repainting on a new percentage only, the meter drawn
//   over byte-sized and empty ranges and as text in a remote session, the wait cursor left alone, Cancel before and after 30 seconds, Esc
//   destroying the box under the work, no memory for the record.
#include "ui/dlgalert.h"

#include "base/erc.h"
#include "base/heap.h"
#include "base/inputpend.h"
#include "base/tick.h"
#include "base/waitcur.h"
#include "support/vxtest.h"
#include "ui/dlgobj.h"
#include "ui/dlgtest.h"
#include "ui/draw.h"
#include "ui/uitest.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

namespace {

const char ercDiskFull[] = "Disk %s is full";

std::string WindowText(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// ---- Message boxes

TEST(AlertBoxTest, QuestionsKindsDefaultsAndAnswers) {
    struct Case {
        const char *name;
        int (*ask)(); // the question's result as an int
        int kind, defaultButton, answer, result;
    };
    const Case cases[] = {
        {"OkCancel", [] { return (int)AlertOkCancel("q"); }, ALERT_OKCANCEL, 0, IDOK, 1},
        {"OkCancelDefCancel", [] { return (int)AlertOkCancelDefCancel("q"); }, ALERT_OKCANCEL, 1, IDCANCEL,
         0},
        {"YesNo", [] { return (int)AlertYesNo("q"); }, ALERT_YESNO, 0, IDYES, 1},
        {"YesNoDefNo", [] { return (int)AlertYesNoDefNo("q"); }, ALERT_YESNO, 1, IDNO, 0},
        {"YesNoCancel yes", [] { return AlertYesNoCancel("q"); }, ALERT_YESNOCANCEL, 0, IDYES, ALERT_YES},
        {"YesNoCancel no", [] { return AlertYesNoCancel("q"); }, ALERT_YESNOCANCEL, 0, IDNO, ALERT_NO},
        {"YesNoCancel close box", [] { return AlertYesNoCancel("q"); }, ALERT_YESNOCANCEL, 0, IDCANCEL,
         ALERT_CANCEL},
        {"YesNoCancel no box", [] { return AlertYesNoCancel("q"); }, ALERT_YESNOCANCEL, 0, 0, ALERT_CANCEL},
        {"Info", [] { return AlertInfo("q"); }, ALERT_INFO, 0, IDOK, IDOK},
        {"Error", [] { return AlertError("q"); }, ALERT_WARNING, 0, IDOK, IDOK},
        {"OkCancelText", [] { return (int)AlertOkCancelText("q"); }, ALERT_OKCANCEL, 0, IDCANCEL, 0},
    };
    for (const Case &c : cases) {
        VxAlertsReset();
        VxAlertAnswer(c.answer);
        EXPECT_EQ(c.ask(), c.result) << c.name;
        ASSERT_EQ(VxAlerts().size(), 1u) << c.name;
        EXPECT_EQ(VxAlerts()[0].kind, c.kind) << c.name;
        EXPECT_EQ(VxAlerts()[0].defaultButton, c.defaultButton) << c.name;
    }
}

TEST(AlertBoxTest, SuppressedErrorsAreSilentButQuestionsAreAsked) {
    VxAlertsReset();
    AlertSuppress();
    EXPECT_TRUE(AlertsSuppressed());
    EXPECT_EQ(AlertError("error"), 0);
    EXPECT_EQ(AlertInfo("information"), 0);
    EXPECT_EQ(AlertErrorWithCause("error"), 0);
    EXPECT_TRUE(AlertOkCancelText("go on?"));
    EXPECT_TRUE(VxAlerts().empty());
    VxAlertAnswer(IDNO);
    EXPECT_FALSE(AlertYesNo("Save %s?", "a.c"));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Save a.c?");
    EXPECT_EQ(AlertUnsuppress(), 0);
    EXPECT_FALSE(AlertsSuppressed());

    VxAlertsReset();
    BackgroundWorkBegin();
    EXPECT_EQ(AlertError("error"), 1);
    EXPECT_EQ(AlertInfo("information"), 1);
    EXPECT_TRUE(AlertOkCancelText("go on?"));
    BackgroundWorkEnd();
    EXPECT_TRUE(VxAlerts().empty()) << "background work shows nothing";
}

TEST(AlertBoxTest, LongFormatIsCutWithoutTouchingIt) {
    char format[501];
    memset(format, 'x', 500);
    format[500] = '\0';
    VxAlertsReset();
    AlertError(format);
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, std::string(462, 'x'));
    EXPECT_EQ(strlen(format), 500u) << "the caller's format is unchanged";
}

TEST(AlertBoxTest, CauseFollowsAfterABlankLine) {
    VxAlertsReset();
    ErcClear();
    AlertErrorWithCause("Cannot save %s.", "a.c");
    ErcSetF(ercDiskFull, "C:");
    AlertErrorWithCause("Cannot save %s.", "a.c");
    std::string name(1010, 'n');
    AlertErrorWithCause("%s", name.c_str());
    ErcClear();
    ASSERT_EQ(VxAlerts().size(), 3u);
    EXPECT_EQ(VxAlerts()[0].text, "Cannot save a.c.") << "no current error, no blank line";
    EXPECT_EQ(VxAlerts()[1].text, "Cannot save a.c.\n\nDisk C: is full");
    EXPECT_EQ(VxAlerts()[1].kind, ALERT_WARNING);
    const std::string &cut = VxAlerts()[2].text;
    EXPECT_EQ(cut.size(), 1023u);
    EXPECT_EQ(cut.substr(1010), std::string("\n\nDisk C: is full").substr(0, 13));
}

int splashClosed;

TEST(AlertBoxTest, SplashClosesFirst) {
    splashClosed = 0;
    DlgSetSplashHook([] { splashClosed++; });
    AlertInfo("Done.");
    EXPECT_EQ(splashClosed, 1);
}

// ---- Table questions

class AlertQuestionTest : public DlgFixture {
protected:
    void SetUp() override {
        DlgFixture::SetUp();
        AlertSetChooseHook(nullptr); // the dialogs themselves
    }
};

TEST_F(AlertQuestionTest, YesToAllEntersItsDefault) {
    std::string caption;
    bool message = false, defaultIsNoToAll = false;
    DlgScript({[&](DlgObject *dlg) {
        caption = WindowText(DlgGetWindow(dlg));
        message = DlgFindByLabel(dlg, "a.c changed outside the editor.") != nullptr;
        LRESULT def = SendMessageA(DlgGetWindow(dlg), DM_GETDEFID, 0, 0);
        defaultIsNoToAll = LOWORD(def) == GetDlgCtrlID(DlgGetControlWindow(dlg, ALERT_NO_ALL));
        DlgPressKey(dlg, VK_RETURN);
    }});
    EXPECT_EQ(AlertYesNoAll("Files Changed", "a.c changed outside the editor.", ALERT_NO_ALL), ALERT_NO_ALL);
    EXPECT_EQ(caption, "Files Changed");
    EXPECT_TRUE(message);
    EXPECT_TRUE(defaultIsNoToAll);
}

TEST_F(AlertQuestionTest, TryAgainEscIsCancel) {
    std::string caption;
    bool defaultIsTryAgain = false;
    DlgScript({[&](DlgObject *dlg) {
        caption = WindowText(DlgGetWindow(dlg));
        LRESULT def = SendMessageA(DlgGetWindow(dlg), DM_GETDEFID, 0, 0);
        defaultIsTryAgain = LOWORD(def) == GetDlgCtrlID(DlgFindByLabel(dlg, "Try Again"));
        DlgPressKey(dlg, VK_ESCAPE);
    }});
    EXPECT_EQ(AlertRetryContinue(nullptr, "Recovery failed.", ALERT_TRY_AGAIN), ALERT_CANCEL);
    EXPECT_EQ(caption, "Veltrix");
    EXPECT_TRUE(defaultIsTryAgain);
}

TEST_F(AlertQuestionTest, ChooseShowsTheCallersButtons) {
    static const char *const buttons[] = {"Replace", "Append", "New...", "Cancel"};
    bool noOthers = false;
    DlgScript({[&](DlgObject *dlg) {
        noOthers = !DlgFindByLabel(dlg, "No to All") && DlgFindByLabel(dlg, "New...");
        SendMessageA(DlgFindByLabel(dlg, "Append"), BM_CLICK, 0, 0);
    }});
    EXPECT_EQ(AlertChoose("Output already contains text.", buttons, 4, 0), 1);
    EXPECT_TRUE(noOthers);
}

TEST(AlertChooseHookTest, TableQuestionsGoToTheHook) {
    static const char *const buttons[] = {"Replace", "Append"};
    VxAlertsReset();
    VxAlertAnswer(2); // the third button: "Yes to All"
    EXPECT_EQ(AlertYesNoAll("Files Changed", "changed", ALERT_NO), ALERT_YES_ALL);
    EXPECT_EQ(AlertRetryContinue(nullptr, "failed", ALERT_CONTINUE), ALERT_CANCEL) << "unanswered: closed";
    VxAlertAnswer(1);
    EXPECT_EQ(AlertChoose("text", buttons, 2, 1), 1);
    ASSERT_EQ(VxAlerts().size(), 3u);
    EXPECT_EQ(VxAlerts()[0].text, "changed");
    EXPECT_EQ(VxAlerts()[0].defaultButton, 1) << "No is the second button";
    EXPECT_EQ(VxAlerts()[1].defaultButton, 2) << "Continue is the third";
}

// ---- Progress boxes

uint32_t fakeNow;

class ProgressTest : public DlgFixture {
protected:
    void SetUp() override {
        DlgFixture::SetUp();
        fakeNow = 1000;
        TickSetClock([] { return fakeNow; }, [](uint32_t ms) { fakeNow += ms; });
        VxAlertsReset();
    }
    void TearDown() override {
        while (ProgressIsOpen()) ProgressEnd();
        DlgFixture::TearDown();
    }
    static HWND Meter() { return DlgGetControlWindow(ProgressGetDialog(), 11); }
    // A press of the box's Cancel button, handled when the box is pumped next.
    static void PostCancel() {
        HWND cancel = DlgGetControlWindow(ProgressGetDialog(), DLG_CODE_CANCEL);
        PostMessageA(DlgGetWindow(ProgressGetDialog()), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(cancel), BN_CLICKED), (LPARAM)cancel);
    }
};

TEST_F(ProgressTest, NestedBeginsOpenOneBox) {
    ProgressEnd(); // an end without a begin leaves the count at 0: the next begin opens a box
    EXPECT_FALSE(ProgressSetText("no box"));
    ProgressBegin(0, 0, "Printing: %s", "a.txt");
    DlgObject *dlg = ProgressGetDialog();
    ASSERT_NE(dlg, nullptr);
    ProgressBegin(0, 10, "inner");
    EXPECT_EQ(ProgressGetDialog(), dlg);
    EXPECT_EQ(WindowText(DlgGetControlWindow(dlg, 10)), "Printing: a.txt") << "the outer text stays";
    EXPECT_EQ(WindowText(DlgGetWindow(dlg)), "Veltrix");
    EXPECT_FALSE(DlgHasControl(dlg, 11)) << "high 0: no meter";
    EXPECT_TRUE(DlgHasControl(dlg, DLG_CODE_CANCEL));
    ProgressSetPos(5);
    EXPECT_TRUE(ProgressSetText("Page %d", 2));
    EXPECT_EQ(WindowText(DlgGetControlWindow(dlg, 10)), "Page 2");
    ProgressEnd();
    EXPECT_TRUE(ProgressIsOpen());
    ProgressEnd();
    EXPECT_FALSE(ProgressIsOpen());
    EXPECT_EQ(ProgressGetDialog(), nullptr);
    EXPECT_FALSE(ProgressStep(-1));
}

TEST_F(ProgressTest, MeterRefreshesAboutEvery100Ms) {
    ProgressBeginNoCancel(0, 1000, "Parsing");
    DlgObject *dlg = ProgressGetDialog();
    ASSERT_NE(dlg, nullptr);
    RECT client, cancel;
    GetClientRect(DlgGetWindow(dlg), &client);
    DlgGetControlPos(dlg, DLG_CODE_CANCEL, &cancel);
    EXPECT_GE(cancel.top, client.bottom) << "no Cancel: the button lies outside the box";

    int refreshes = 0;
    int32_t shown = DlgGetValue(dlg, 11);
    for (int32_t t = 0; t < 1000; t += 10) {
        fakeNow = 1000 + (uint32_t)t;
        EXPECT_FALSE(ProgressStep(t));
        int32_t now = DlgGetValue(dlg, 11);
        if (now != shown) refreshes++, shown = now;
    }
    EXPECT_GE(refreshes, 9);
    EXPECT_LE(refreshes, 10);

    // The meter repaints only when its whole percentage changes.
    ProgressSetPos(500);
    ValidateRect(Meter(), nullptr);
    ProgressSetPos(504);
    EXPECT_FALSE(GetUpdateRect(Meter(), nullptr, FALSE)) << "still 50 %";
    ProgressSetPos(520);
    EXPECT_TRUE(GetUpdateRect(Meter(), nullptr, FALSE)) << "52 %";

    // A progress box shows its own cursor: the wait cursor leaves the cursor alone.
    const WaitCursorHooks hooks = {DrawWaitCursor, ProgressIsOpen};
    WaitCursorSetHooks(&hooks);
    HCURSOR before = SetCursor(drawMetrics.cursorArrow);
    WaitCursor();
    EXPECT_EQ(GetCursor(), drawMetrics.cursorArrow);
    WaitCursorOff();
    SetCursor(before);
}

TEST_F(ProgressTest, MeterOverByteSizedAndEmptyRanges) {
    ProgressBegin(0, 100, "Reading");
    ASSERT_TRUE(ProgressIsOpen());
    RECT meter;
    GetClientRect(Meter(), &meter);
    ASSERT_GT(meter.right, 20);
    UiCanvas canvas(meter.right, meter.bottom);
    auto paint = [&] {
        canvas.Fill(RGB(255, 0, 255));
        DlgCall(ProgressGetDialog(), DLG_EV_PAINT_USERITEM, 11, Meter(), (intptr_t)canvas.dc());
    };
    int32_t row = meter.bottom / 2, width = meter.right - 1;

    ProgressSetRange(0, 2000000000);
    ProgressSetPos(1500000000);
    paint();
    int32_t filled = (int32_t)(1500000000LL * width / 2000000000LL);
    COLORREF top = canvas.Pixel(1, row), back = canvas.Pixel(width - 2, row);
    EXPECT_NE(top, back);
    EXPECT_EQ(canvas.Pixel(filled - 1, row), top) << "three quarters filled";
    EXPECT_EQ(canvas.Pixel(filled + 1, row), back);

    ProgressSetRange(5, 5); // an empty range stands at 0
    ProgressSetPos(5);
    paint();
    EXPECT_EQ(canvas.Pixel(1, row), back);

    // A remote session without animation shows the percentage as text on the button face.
    UiRemoteSession({{"RemoteNoAnimation", 1}});
    ProgressSetRange(0, 100);
    ProgressSetPos(40);
    paint();
    EXPECT_EQ(canvas.Pixel(1, row), drawMetrics.colorBtnFace);
    bool text = false;
    for (int32_t x = 0; x < width && !text; x++)
        for (int32_t y = 0; y < meter.bottom - 1 && !text; y++)
            text = canvas.Pixel(x, y) == drawMetrics.colorBtnText;
    EXPECT_TRUE(text);
}

TEST_F(ProgressTest, CancelWithin30SecondsEndsAtOnce) {
    ProgressBegin(0, 0, "Searching");
    fakeNow += 29000;
    PostCancel();
    EXPECT_TRUE(ProgressStep(1));
    EXPECT_TRUE(VxAlerts().empty()) << "no question";
    EXPECT_TRUE(ProgressIsOpen()) << "Cancel keeps the box";
    EXPECT_TRUE(ProgressStep(-1)) << "cancelled until the box closes";
    ProgressEnd();

    ProgressBegin(0, 0, "Searching");
    fakeNow += 30000;
    VxAlertAnswer(IDNO);
    PostCancel();
    EXPECT_FALSE(ProgressStep(2)) << "the user goes on";
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Are you sure you want to cancel this operation?");
    EXPECT_EQ(VxAlerts()[0].kind, ALERT_YESNO);
    EXPECT_EQ(VxAlerts()[0].defaultButton, 1);
    fakeNow += 100;
    EXPECT_FALSE(ProgressStep(3));
    fakeNow += 100;
    VxAlertAnswer(IDYES);
    PostCancel();
    EXPECT_TRUE(ProgressStep(4));
    ProgressEnd();
}

// Esc destroys the box while the work runs: the work sees a cancel, and nothing later reaches the gone box.
TEST_F(ProgressTest, EscDestroysTheBoxUnderTheWork) {
    ProgressBegin(0, 100, "Building");
    DlgObject *dlg = ProgressGetDialog();
    ASSERT_NE(dlg, nullptr);
    HWND window = DlgGetWindow(dlg);
    DlgPressKey(dlg, VK_ESCAPE);
    fakeNow += 200;
    EXPECT_TRUE(ProgressStep(10));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(ProgressIsOpen());
    EXPECT_EQ(ProgressGetDialog(), nullptr);
    EXPECT_FALSE(ProgressSetText("Step %d", 2));
    ProgressSetPos(50);
    ProgressSetRange(0, 10);
    ProgressSetOffset(3);
    ProgressHide();
    ProgressShow();
    EXPECT_TRUE(ProgressUpdate(60, 0)) << "still cancelled";
    ProgressEnd();
    EXPECT_FALSE(ProgressStep(-1));
}

TEST_F(ProgressTest, NoMemoryForTheRecord) {
    HeapFailNth(1);
    EXPECT_EQ(ProgressOpen(0, 100, "Parsing", true), nullptr);
    EXPECT_FALSE(ProgressIsOpen());
    fakeNow += 500;
    EXPECT_FALSE(ProgressStep(5)) << "nothing is cancelled";
    ProgressBegin(0, 0, "inner");
    EXPECT_FALSE(ProgressIsOpen()) << "the count stayed raised";
    ProgressEnd();
    ProgressEnd();
}

} // namespace
