// The dispatcher over a table of stub rows:
// - follow-up commands: newest first, at most 20, dropped after a failing handler, never after Exit;
// - the "AppCommand" event: after a command that succeeded, not while a macro or a typing run goes on;
// - disabled commands: named to a macro, beeped at from a key, explained when resources are low;
// - the recorder and help mode taking a command instead of running it;
// - what goes around a handler: the typing run and the open edit, the current command and its key flag,
//   the log line, the heap figures, low memory during a command;
// - the state bits from the facts of the buffer, window and project, and the memory test;
// - running by name, and row 109 redrawing every window.
#include "cmdtest.h"

#include "base/erc.h"
#include "base/sound.h"
#include "shell/cmd.h"
#include "shell/cmdrun.h"
#include "shell/help.h"
#include "shell/recorder.h"
#include "shell/status.h"
#include "support/vxtest.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

std::vector<int32_t> appCommands;
std::vector<std::string> events;
CommandStateFacts facts;
bool macroRunning;
bool typingRunOpen;
std::vector<UINT> beeps;

BOOL RecordBeep(UINT type) {
    beeps.push_back(type);
    return TRUE;
}

class CmdRunTest : public CmdTest {
protected:
    void SetUp() override {
        CmdTest::SetUp();
        appCommands.clear();
        events.clear();
        beeps.clear();
        facts = {};
        macroRunning = typingRunOpen = false;
        hooks.stateFacts = [](CommandStateFacts *out) { *out = facts; };
        hooks.macroRunning = [] { return macroRunning; };
        hooks.typingRunOpen = [] { return typingRunOpen; };
        hooks.appCommandEvent = [](int32_t command) { appCommands.push_back(command); };
        hooks.endTypingRun = [] { events.push_back("end typing"); };
        hooks.endCommandEdit = [] { events.push_back("end edit"); };
        hooks.freeSymbolCaches = [] { events.push_back("free symbols"); };
        hooks.freeCustomCommandCaches = [] { events.push_back("free custom"); };
        hooks.closeIdleProjects = [](uint32_t ms) {
            events.push_back("close projects " + std::to_string(ms));
        };
        CmdRunSetHooks(&hooks);
        CmdRunSetMemoryProbe(PlentyOfMemory);
        HelpOsCalls noHelpEngine = {}; // help mode's topics open nothing
        HelpSetOsCalls(&noHelpEngine);
        SoundSetTestHook(RecordBeep);
        VxAlertsReset();
        for (int32_t row : {90, 91, 92, 93, 94, 436}) Row(row, "Stub", CMD_GROUP_EDIT);
        Row(90, "Cut", CMD_GROUP_EDIT);
    }
    void TearDown() override {
        SoundSetTestHook(nullptr);
        RecordingStop();
        EndHelpMode();
        CmdRunSetLogCommands(false);
        CmdRunSetHeapStatus(false);
        ErcClear();
        CmdTest::TearDown();
    }
    static bool PlentyOfMemory(uint64_t *pageFile, uint64_t *address) {
        *pageFile = *address = 1ull << 30;
        return true;
    }
    std::vector<std::string> Alerts() {
        std::vector<std::string> texts;
        for (const VxAlert &alert : VxAlerts()) texts.push_back(alert.text);
        return texts;
    }
    CmdRunHooks hooks = {};
};

// A handler that pushes the commands listed for it in pushes, then answers as the stub does.
std::map<int32_t, std::vector<int32_t>> pushes;
int PushingHandler(int32_t command) {
    for (int32_t next : pushes[command]) PushPendingCommand(next);
    return CmdTestHandler(command);
}

TEST_F(CmdRunTest, FollowUpsRunNewestFirst) {
    Row(100, "A").handler = PushingHandler;
    pushes = {{100, {91, 92}}};
    Install();
    EXPECT_TRUE(RunCommand(100, false));
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{100, 92, 91}));
    EXPECT_EQ(appCommands, (std::vector<int32_t>{100})) << "one event, for the command that was asked for";
}

TEST_F(CmdRunTest, TheTwentyFirstPushIsDropped) {
    Row(100, "A").handler = PushingHandler;
    pushes[100].clear();
    for (int32_t i = 0; i < 21; i++) {
        Row(200 + i, "Follow-up");
        pushes[100].push_back(200 + i);
    }
    Install();
    EXPECT_TRUE(RunCommand(100, false));
    ASSERT_EQ(cmdTestCalls.size(), 21u);
    EXPECT_EQ(cmdTestCalls[1], 219);
    EXPECT_EQ(std::count(cmdTestCalls.begin(), cmdTestCalls.end(), 220), 0) << "the 21st never runs";
}

TEST_F(CmdRunTest, AFailingHandlerDropsTheRest) {
    Row(100, "A").handler = PushingHandler;
    pushes = {{100, {91, 92}}};
    cmdTestResults[92] = 1;
    Install();
    EXPECT_FALSE(RunCommand(100, false));
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{100, 92}));
    EXPECT_TRUE(appCommands.empty());
    cmdTestCalls.clear();
    cmdTestResults = {{100, 2}};
    EXPECT_FALSE(RunCommand(100, false)) << "cancelled";
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{100}));
    EXPECT_EQ(LastCommandResult(), 2);
    int32_t left;
    EXPECT_FALSE(PopPendingCommand(&left)) << "the rest is discarded";
}

TEST_F(CmdRunTest, ExitRunsNoFollowUpAndNoEvent) {
    Row(24, "Exit", CMD_GROUP_APPLICATION).handler = PushingHandler;
    Row(141, "Exit and Suspend", CMD_GROUP_APPLICATION).handler = PushingHandler;
    pushes = {{24, {91}}, {141, {91}}};
    cmdTestResults[24] = 2;
    Install();
    EXPECT_TRUE(RunCommand(24, false)) << "answers at once, whatever the handler said";
    EXPECT_TRUE(RunCommand(141, false));
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{24, 141}));
    EXPECT_TRUE(appCommands.empty());
}

TEST_F(CmdRunTest, TheEventWaitsForMacrosAndTypingRuns) {
    Install();
    macroRunning = true;
    EXPECT_TRUE(RunCommand(91, false));
    macroRunning = false;
    typingRunOpen = true;
    EXPECT_TRUE(RunCommand(91, false));
    typingRunOpen = false;
    EXPECT_TRUE(appCommands.empty());
    EXPECT_TRUE(RunCommand(91, false));
    EXPECT_EQ(appCommands, (std::vector<int32_t>{91}));
}

TEST_F(CmdRunTest, DisabledCommandsAreRefusedAsTheirSourceCanHear) {
    rows[90].enableMask = CMD_STATE_SELECTION;
    Install();
    macroRunning = true;
    EXPECT_FALSE(RunCommand(90, false));
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Command is not enabled: Cut"}));
    EXPECT_TRUE(beeps.empty());
    macroRunning = false;
    VxAlertsReset();
    EXPECT_FALSE(RunCommand(90, true));
    EXPECT_TRUE(Alerts().empty());
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONHAND}));
    CmdRunSetMemoryProbe([](uint64_t *pageFile, uint64_t *address) {
        *pageFile = 0x9FFFFF;
        *address = 1ull << 30;
        return true;
    });
    EXPECT_FALSE(RunCommand(90, true));
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"System resources are too low.  Restart Windows soon!"}));
    EXPECT_EQ(beeps.size(), 1u);
    EXPECT_TRUE(cmdTestCalls.empty());
    facts.buffer = facts.selection = true;
    CmdRunSetMemoryProbe(PlentyOfMemory);
    EXPECT_TRUE(RunCommand(90, true));
}

TEST_F(CmdRunTest, RecordingStopsAtAWindowsOwnCommandOrEsc) {
    Row(332, "Rollup Window", CMD_GROUP_NONE, CMD_CLASS_LIST_WINDOW);
    Row(2, "");
    Install();
    for (int32_t command : {332, 2}) {
        RecordingBegin();
        EXPECT_TRUE(RunCommand(command, true)) << command;
        EXPECT_FALSE(IsRecording()) << command;
    }
    EXPECT_TRUE(cmdTestCalls.empty());
    EXPECT_TRUE(RunCommand(332, false)) << "without a recording it runs";
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{332}));
}

TEST_F(CmdRunTest, AFailedCommandEndsTheRecording) {
    cmdTestResults[91] = 1;
    Install();
    RecordingBegin();
    EXPECT_TRUE(RunCommand(90, false));
    EXPECT_TRUE(IsRecording());
    EXPECT_FALSE(RunCommand(91, false));
    EXPECT_FALSE(IsRecording());
}

TEST_F(CmdRunTest, HelpModeTakesTheNextCommand) {
    Install();
    HelpModeBegin();
    EXPECT_TRUE(RunCommand(90, false));
    EXPECT_FALSE(HelpModeIsOn());
    EXPECT_TRUE(cmdTestCalls.empty());
    EXPECT_TRUE(RunCommand(90, false));
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{90}));
}

int32_t seenCommand;
bool seenFromKey;

TEST_F(CmdRunTest, AroundTheHandler) {
    Row(3, "Enter", CMD_GROUP_EDIT).handler = [](int32_t command) {
        seenCommand = CurrentCommand();
        seenFromKey = CommandFromKey();
        events.push_back("typing " + std::to_string(command));
        return 0;
    };
    hooks.typingHandler = rows[3].handler;
    CmdRunSetHooks(&hooks);
    Install();
    EXPECT_TRUE(RunCommand(3, true));
    EXPECT_EQ(seenCommand, 3);
    EXPECT_TRUE(seenFromKey);
    EXPECT_FALSE(CommandFromKey()) << "only while the handler runs";
    EXPECT_TRUE(RunCommand(436, false));
    EXPECT_TRUE(RunCommand(91, false));
    EXPECT_EQ(events,
              (std::vector<std::string>{"end edit", "typing 3", "end typing", "end typing", "end edit"}))
        << "a typing command keeps its run open; dragging keeps the edit open";
    EXPECT_EQ(CurrentCommand(), 91);
}

TEST_F(CmdRunTest, LogAndHeapFigures) {
    Install();
    VxLogCaptureStart();
    EXPECT_TRUE(RunCommand(90, false));
    CmdRunSetLogCommands(true);
    EXPECT_TRUE(RunCommand(90, false));
    std::vector<std::string> lines = VxLogCaptureStop();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "command: Cut"), 1);
    CmdRunSetHeapStatus(true);
    StatusModePrintf("busy");
    EXPECT_TRUE(RunCommand(91, false));
    EXPECT_EQ(std::string(StatusGetMode()).rfind("handles=", 0), 0u) << StatusGetMode();
    CmdRunSetHeapStatus(false);
    EXPECT_TRUE(RunCommand(91, false));
    EXPECT_STREQ(StatusGetMode(), "") << "every command starts with a clear mode field";
}

TEST_F(CmdRunTest, LowMemoryDuringACommand) {
    Row(100, "Greedy").handler = [](int32_t command) {
        PushPendingCommand(91);
        ErcSetSysF(0, ercLowMemory); // as a failed growth records it
        return CmdTestHandler(command);
    };
    Install();
    EXPECT_FALSE(RunCommand(100, false));
    EXPECT_FALSE(RunCommand(100, false));
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{100, 100})) << "no follow-up";
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Not enough memory to complete operation."}))
        << "reported once";
    EXPECT_EQ(events, (std::vector<std::string>{"end typing", "end edit", "free symbols", "free custom",
                                                "close projects 0", "end typing", "end edit", "free symbols",
                                                "free custom", "close projects 0"}));
    EXPECT_TRUE(RunCommand(91, false));
    EXPECT_FALSE(RunCommand(100, false));
    EXPECT_EQ(Alerts().size(), 2u) << "a command that went well lets the next shortage be reported";
}

TEST_F(CmdRunTest, ErrorsLeftByAHandlerAreReported) {
    Row(100, "Failing").handler = [](int32_t) {
        ErcSetF("Disk full");
        return 1;
    };
    Install();
    EXPECT_FALSE(RunCommand(100, false));
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Error: Disk full"}));
}

TEST_F(CmdRunTest, StateBits) {
    struct Case {
        const char *what;
        CommandStateFacts facts;
        uint32_t state;
    } cases[] = {
        {"nothing", {}, 0x4},
        {"a buffer", {true, false, false, false, false, false, false, false, false, false, false}, 0x1},
        {"everything", {true, false, true, true, true, true, true, true, true, true, true}, 0x1FB9},
        {"the clipboard document",
         {true, true, true, true, true, true, true, true, true, false, false},
         0x1802},
        {"no buffer, a read-only project",
         {false, false, false, false, false, false, false, true, false, true, true},
         0x40C},
    };
    for (const Case &c : cases) {
        facts = c.facts;
        EXPECT_EQ(GetCommandState(), c.state) << c.what;
    }
    facts = {};
    RecordingBegin();
    EXPECT_EQ(GetCommandState(), 0x2004u);
    CmdRunSetMemoryProbe([](uint64_t *pageFile, uint64_t *address) {
        *pageFile = 1ull << 30;
        *address = 0x9FFFFF;
        return true;
    });
    EXPECT_EQ(GetCommandState(), 0x2044u);
}

TEST_F(CmdRunTest, MemoryTest) {
    struct Case {
        uint64_t pageFile, address;
        bool known, low;
    } cases[] = {
        {0xA00000, 0xA00000, true, false},   {0x9FFFFF, 1ull << 40, true, true},
        {1ull << 40, 0x9FFFFF, true, true},  {0, 0, false, false},
        {5ull << 32, 0xA00000, true, false}, // figures past 4 GB are not cut to 32 bits
    };
    static Case current;
    for (const Case &c : cases) {
        current = c;
        CmdRunSetMemoryProbe([](uint64_t *pageFile, uint64_t *address) {
            *pageFile = current.pageFile;
            *address = current.address;
            return current.known;
        });
        EXPECT_EQ(SystemResourcesLow(), c.low) << std::hex << c.pageFile << " " << c.address;
    }
    CmdRunSetMemoryProbe(PlentyOfMemory);
    EXPECT_FALSE(ResourcesLow());
    EXPECT_FALSE(ReportLowResources());
    ErcSetSysF(0, ercLowMemory); // as a failed growth records it
    EXPECT_TRUE(ResourcesLow());
    EXPECT_TRUE(ReportLowResources());
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Low on Memory.  Please close some files."}));
}

TEST_F(CmdRunTest, EnabledNow) {
    rows[91].enableMask = CMD_STATE_BUFFER;
    Row(95, "Nothing").handler = nullptr;
    Install();
    EXPECT_TRUE(IsCommandEnabledNow(90));
    EXPECT_FALSE(IsCommandEnabledNow(91));
    facts.buffer = true;
    EXPECT_TRUE(IsCommandEnabledNow(91));
    EXPECT_FALSE(IsCommandEnabledNow(95)) << "no handler";
    EXPECT_TRUE(RunCommand(95, false)) << "nothing had to run";
}

TEST_F(CmdRunTest, RunByName) {
    Row(92, "Save As...", CMD_GROUP_FILE);
    cmdTestResults[92] = 2;
    Install();
    EXPECT_EQ(RunCommandByName("cut"), 0);
    EXPECT_EQ(RunCommandByName("Save As"), 2) << "the handler's own result";
    Row(91, "Copy", CMD_GROUP_EDIT).enableMask = CMD_STATE_SELECTION;
    EXPECT_EQ(RunCommandByName("Copy"), 1) << "refused: not a stale result";
    EXPECT_NE(RunCommandByName("Foo"), 0);
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Unknown command or macro: Foo"}));
    EXPECT_EQ(cmdTestCalls, (std::vector<int32_t>{90, 92}));
}

int paints;
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        paints++;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(CmdRunTest, RedrawScreenRepaintsEveryWindow) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountPaints;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "vxRedrawTest";
    RegisterClassA(&wc);
    // Made visible by their style alone: showing a top-level window waits for the display to map it.
    HWND top = CreateWindowExA(0, "vxRedrawTest", "top", WS_POPUP, 0, 0, 60, 60, nullptr, nullptr,
                               wc.hInstance, nullptr);
    HWND child = CreateWindowExA(0, "vxRedrawTest", "child", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, top,
                                 nullptr, wc.hInstance, nullptr);
    HWND other = CreateWindowExA(0, "vxRedrawTest", "other", WS_POPUP, 100, 0, 60, 60, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    HWND hidden = CreateWindowExA(0, "vxRedrawTest", "hidden", WS_POPUP, 200, 0, 60, 60, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_TRUE(top && child && other && hidden);
    for (HWND window : {top, other})
        SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | WS_VISIBLE);
    paints = 0;
    EXPECT_EQ(CmdRedrawScreen(109), 0);
    EXPECT_EQ(paints, 3) << "the hidden window is left alone";
    for (HWND window : {top, other, hidden}) DestroyWindow(window);
}

} // namespace
