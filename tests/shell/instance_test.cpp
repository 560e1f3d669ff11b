// Requests between instances:
// - in one process, a frame of the test receiving from a plain window: a request is queued in the other
//   frame with its code, sender and data; no answer ends the wait after 1000 ms (4000 ms when long, at once
//   with input pending) in 250 ms sleeps; an answer queued before the send is dropped, not taken; one tick
//   value twice gives two blocks, never writing into the block that already has the name;
// - the receiver trusts nothing: a request longer than its block, a wrong tag, an atom that names no block;
// - processing: code 1 shows "Server: received data: %s" and answers 12345 to the sender's frame, code 2
//   answers 1 only when the project module released the project; answers go only to frames; an entry
//   without data does nothing; the drain stops for input but not for the queue itself;
// - the switch off: sending fails at once and requests are dropped;
// - other processes: a window of class "VX_FRAME" gets nothing; an idle vx.exe answers code 1 with 12345
//   within a second and lets code 2 time out; vxpeer, linking the shell, sends to the test's frame, whose
//   status then shows its text, and gets no answer while the test's switch is off.
#include "shell/instance.h"

#include "base/inputpend.h"
#include "base/tick.h"
#include "base/wnd.h"
#include "shell/frame.h"
#include "shell/frametest.h"
#include "shell/status.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

uint32_t instanceTestNow;
int instanceTestSleeps;

uint32_t InstanceTestClock() {
    return instanceTestNow;
}
void InstanceTestSleep(uint32_t ms) {
    instanceTestNow += ms;
    instanceTestSleeps++;
}

// The test's frame receives; the sender is a plain window of the test, made the program's frame for the
// module. The clock is the test's: no wait takes real time.
class InstanceLocal : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        own = CreateWindowExA(0, "STATIC", "own", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        WndSetAppWindows(own, nullptr);
        instanceTestNow = 5000;
        instanceTestSleeps = 0;
        TickSetClock(InstanceTestClock, InstanceTestSleep);
        InputPendingReset();
        StatusSetMessage("");
    }
    void TearDown() override {
        WndSetAppWindows(nullptr, nullptr);
        DestroyWindow(own);
        FrameTest::TearDown();
    }
    bool Send(const char *text, bool longWait = false) {
        int32_t answer = 0;
        return InstanceSend(INSTANCE_SHOW_TEXT, text, (uint32_t)strlen(text) + 1, &answer, longWait);
    }
    InstanceEntry Take() {
        InstanceEntry entry = {};
        EXPECT_TRUE(InstanceTakeNext(&entry));
        return entry;
    }
    HWND own = nullptr;
};

TEST_F(InstanceLocal, ARequestIsQueuedInTheOtherFrame) {
    EXPECT_FALSE(Send("abc"));
    EXPECT_EQ(instanceTestNow - 5000, 1000u);
    EXPECT_EQ(instanceTestSleeps, 4);
    ASSERT_EQ(InstanceMsgPending(), 1);
    InstanceEntry entry = Take();
    EXPECT_EQ(entry.code, INSTANCE_SHOW_TEXT);
    EXPECT_EQ(entry.window, HandleToULong(own));
    EXPECT_EQ(entry.length, 4u);
    EXPECT_STREQ(entry.data, "abc");
    InstBlockFreeEntry(&entry);
    EXPECT_FALSE(InstanceTakeNext(&entry));
}

TEST_F(InstanceLocal, TheLongWaitLastsFourSecondsOrUntilInput) {
    EXPECT_FALSE(Send("abc", true));
    EXPECT_EQ(instanceTestNow - 5000, 4000u);
    EXPECT_EQ(instanceTestSleeps, 16);
    instanceTestSleeps = 0;
    InputPendingInterrupt();
    EXPECT_FALSE(Send("abc", true));
    EXPECT_EQ(instanceTestSleeps, 0);
    InputPendingReset();
    InstanceQueueFree();
}

TEST_F(InstanceLocal, AnAnswerQueuedBeforeTheSendIsNotThisOnes) {
    PostMessageA(own, FRAME_MSG_ANSWER, FRAME_MSG_TAG, 777);
    EXPECT_FALSE(Send("abc"));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, own, FRAME_MSG_ANSWER, FRAME_MSG_ANSWER, PM_REMOVE));
}

TEST_F(InstanceLocal, OneTickTwiceGivesTwoBlocks) {
    // Another sender of the same tick has made its block and not yet its atom.
    std::string name = "vxmsg" + std::to_string(instanceTestNow);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, name.c_str());
    ASSERT_NE(mapping, nullptr);
    char *view = (char *)MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 64);
    memset(view, 'J', 64);
    EXPECT_FALSE(Send("abc"));
    for (int i = 0; i < 64; i++) ASSERT_EQ(view[i], 'J') << "the other sender's block at " << i;
    InstanceEntry entry = Take();
    EXPECT_STREQ(entry.data, "abc");
    InstBlockFreeEntry(&entry);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    // An atom alone, left by a sender that ended without deleting it, is passed over too.
    ATOM atom = GlobalAddAtomA(name.c_str());
    instanceTestNow = 5000;
    EXPECT_FALSE(Send("def"));
    entry = Take();
    EXPECT_STREQ(entry.data, "def");
    InstBlockFreeEntry(&entry);
    EXPECT_NE(GlobalFindAtomA(name.c_str()), 0) << "the atom is not the sender's to delete";
    GlobalDeleteAtom(atom);
}

// A block made by hand: the header says length bytes, the mapping holds size.
ATOM InstanceTestForge(const char *name, uint32_t size, uint32_t length, HANDLE *mapping) {
    *mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    unsigned char *view = (unsigned char *)MapViewOfFile(*mapping, FILE_MAP_WRITE, 0, 0, size);
    InstBlockWrite(view, INSTANCE_SHOW_TEXT, 0, 0, nullptr, 0);
    memcpy(view + 12, &length, 4);
    UnmapViewOfFile(view);
    return GlobalAddAtomA(name);
}

TEST_F(InstanceLocal, TheReceiverTrustsNothing) {
    std::string name = "vxInstanceTestForged" + std::to_string(GetCurrentProcessId());
    HANDLE mapping;
    ATOM atom = InstanceTestForge(name.c_str(), 32, 0x100000, &mapping);
    EXPECT_EQ(SendMessageA(frame, FRAME_MSG_REQUEST, FRAME_MSG_TAG, atom), 0);
    ASSERT_EQ(InstanceMsgPending(), 1) << "an entry without data is queued";
    InstanceEntry entry = Take();
    EXPECT_EQ(entry.data, nullptr);
    InstanceProcess(&entry);
    EXPECT_STREQ(StatusGetMessage(), "") << "processing it does nothing";

    EXPECT_EQ(SendMessageA(frame, FRAME_MSG_REQUEST, 0, atom), 0);
    EXPECT_EQ(InstanceMsgPending(), 0) << "another tag is no request";
    GlobalDeleteAtom(atom);
    CloseHandle(mapping);

    ATOM nothing = GlobalAddAtomA((name + "-none").c_str());
    EXPECT_EQ(SendMessageA(frame, FRAME_MSG_REQUEST, FRAME_MSG_TAG, nothing), 0);
    GlobalDeleteAtom(nothing);
    ASSERT_EQ(InstanceMsgPending(), 1);
    entry = Take();
    EXPECT_EQ(entry.data, nullptr);

    atom = InstanceTestForge(name.c_str(), 32, 16, &mapping);
    EXPECT_EQ(SendMessageA(frame, FRAME_MSG_REQUEST, FRAME_MSG_TAG, atom), 1) << "a block that fits is read";
    GlobalDeleteAtom(atom);
    CloseHandle(mapping);
    entry = Take();
    EXPECT_EQ(entry.length, 16u);
    InstBlockFreeEntry(&entry);
}

bool instanceTestReleased;
std::string instanceTestProject;
bool InstanceTestRelease(const char *name) {
    instanceTestProject = name;
    return instanceTestReleased;
}

// An entry as the receiver queues it, from the frame of the test.
InstanceEntry InstanceTestEntry(int32_t code, HWND from, const char *text) {
    InstanceEntry entry = {code, HandleToULong(from), (char *)MemDup(text, strlen(text) + 1),
                           (uint32_t)strlen(text)};
    return entry;
}

LPARAM InstanceTestAnswer(HWND frame) {
    MSG msg;
    if (!PeekMessageA(&msg, frame, FRAME_MSG_ANSWER, FRAME_MSG_ANSWER, PM_REMOVE)) return -1;
    EXPECT_EQ(msg.wParam, FRAME_MSG_TAG);
    return msg.lParam;
}

TEST_F(InstanceLocal, ProcessingAnswersTheSendersFrame) {
    InstanceEntry entry = InstanceTestEntry(INSTANCE_SHOW_TEXT, frame, "abc");
    InstanceProcess(&entry);
    EXPECT_EQ(entry.data, nullptr);
    EXPECT_STREQ(StatusGetMessage(), "Server: received data: abc");
    EXPECT_EQ(InstanceTestAnswer(frame), INSTANCE_TEXT_ANSWER);
    entry = InstanceTestEntry(INSTANCE_SHOW_TEXT, own, "to a window that is no frame");
    InstanceProcess(&entry);
    EXPECT_EQ(InstanceTestAnswer(own), -1);

    entry = InstanceTestEntry(INSTANCE_RELEASE_PROJECT, frame, "Proj");
    InstanceProcess(&entry);
    EXPECT_EQ(InstanceTestAnswer(frame), -1) << "no project module: nothing released";
    InstanceSetReleaseHook(InstanceTestRelease);
    instanceTestReleased = false;
    entry = InstanceTestEntry(INSTANCE_RELEASE_PROJECT, frame, "Proj");
    InstanceProcess(&entry);
    EXPECT_EQ(instanceTestProject, "Proj");
    EXPECT_EQ(InstanceTestAnswer(frame), -1);
    instanceTestReleased = true;
    entry = InstanceTestEntry(INSTANCE_RELEASE_PROJECT, frame, "Proj");
    InstanceProcess(&entry);
    EXPECT_EQ(InstanceTestAnswer(frame), 1);
    entry = InstanceTestEntry(99, frame, "unknown");
    InstanceProcess(&entry);
    EXPECT_EQ(InstanceTestAnswer(frame), -1);
}

TEST_F(InstanceLocal, TheDrainStopsForInputOnly) {
    Send("one");
    Send("two");
    ASSERT_EQ(InstanceMsgPending(), 2);
    InputPendingReset();
    DrainInstanceMessages();
    EXPECT_EQ(InstanceMsgPending(), 0) << "the waiting requests themselves are no reason to stop";
    EXPECT_STREQ(StatusGetMessage(), "Server: received data: two");
    Send("three");
    InputPendingInterrupt();
    DrainInstanceMessages();
    EXPECT_EQ(InstanceMsgPending(), 1);
    InputPendingReset();
}

TEST_F(InstanceLocal, TheSwitchOffDropsEverything) {
    InstanceEnable(false);
    EXPECT_FALSE(Send("abc"));
    EXPECT_EQ(instanceTestSleeps, 0);
    HANDLE mapping;
    std::string name = "vxInstanceTestOff" + std::to_string(GetCurrentProcessId());
    ATOM atom = InstanceTestForge(name.c_str(), 32, 4, &mapping);
    EXPECT_EQ(SendMessageA(frame, FRAME_MSG_REQUEST, FRAME_MSG_TAG, atom), 0);
    EXPECT_EQ(InstanceMsgPending(), 0);
    GlobalDeleteAtom(atom);
    CloseHandle(mapping);
    InstanceEnable(true);
    EXPECT_TRUE(InstanceIsEnabled());
}

// ---- Other processes

// The other window's class is registered after the test's vx_Frame: on the display both read as vx_Frame.
TEST_F(InstanceLocal, AFrameClassInAnotherCaseGetsNothing) {
    DestroyWindow(frame);
    FtPump();
    FtProcess peer;
    ASSERT_TRUE(FtStart("\"" + FtProgram("vxpeer.exe") + "\" window VX_FRAME 60000", "", &peer));
    HWND other = FtWaitWindow(peer, "VX_FRAME", 60000);
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(Send("abc"));
    EXPECT_EQ(instanceTestSleeps, 0) << "no frame was found: no wait";
    PostMessageA(other, WM_CLOSE, 0, 0);
    EXPECT_EQ(FtWait(&peer, 60000), 0u) << "requests the other window received";
}

// The test's frame sends to vx.exe, started beside it and idle.
class InstanceProgram : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(FtStart("\"" + FtProgram("vx.exe") + "\"", VxTempDir(), &child));
        ASSERT_NE(FtWaitWindow(child, "vx_Frame", 60000), nullptr);
        WaitForInputIdle(child.handle, 60000); // started up and waiting for messages
    }
    void TearDown() override {
        HWND other = InstanceFindFrame(frame);
        if (other) PostMessageA(other, WM_CLOSE, 0, 0);
        EXPECT_EQ(FtWait(&child, 60000), 0u);
        FrameTest::TearDown();
    }
    // Sends on the real clock: whether an answer came, the answer, and the milliseconds it took.
    bool Send(int32_t code, const char *data, uint32_t length, bool longWait, int32_t *answer, DWORD *took) {
        DWORD start = GetTickCount();
        bool answered = InstanceSend(code, data, length, answer, longWait);
        *took = GetTickCount() - start;
        return answered;
    }
    FtProcess child;
};

TEST_F(InstanceProgram, AnIdleInstanceAnswersATextAtOnce) {
    int32_t answer = 0;
    DWORD took;
    ASSERT_TRUE(Send(INSTANCE_SHOW_TEXT, "abc", 4, false, &answer, &took)) << "no answer within a second";
    EXPECT_EQ(answer, INSTANCE_TEXT_ANSWER);
}

TEST_F(InstanceProgram, AProjectItDoesNotHoldTimesOut) {
    char project[256] = "NoSuchProject";
    int32_t answer = 0;
    DWORD took;
    EXPECT_FALSE(Send(INSTANCE_RELEASE_PROJECT, project, sizeof project, false, &answer, &took));
    EXPECT_GE(took, 1000u);
    InputPendingReset();
    EXPECT_FALSE(Send(INSTANCE_RELEASE_PROJECT, project, sizeof project, true, &answer, &took));
    EXPECT_GE(took, 4000u);
}

// vxpeer sends "abc" to the test's frame, which drains its requests while it waits.
class InstancePeer : public FrameTest {
protected:
    DWORD RunPeer() {
        StatusSetMessage("");
        FtProcess peer;
        if (!FtStart("\"" + FtProgram("vxpeer.exe") + "\" send 1 abc", "", &peer)) return FT_TIMED_OUT;
        return FtWait(&peer, 60000, [] {
            InputPendingReset();
            DrainInstanceMessages();
        });
    }
};

TEST_F(InstancePeer, TheTestsFrameShowsTheTextAndAnswers) {
    EXPECT_EQ(RunPeer(), (DWORD)INSTANCE_TEXT_ANSWER);
    EXPECT_STREQ(StatusGetMessage(), "Server: received data: abc");
}

TEST_F(InstancePeer, WithTheSwitchOffNothingAnswers) {
    InstanceEnable(false);
    EXPECT_EQ(RunPeer(), 0u);
    EXPECT_STREQ(StatusGetMessage(), "");
    EXPECT_EQ(InstanceMsgPending(), 0);
}

} // namespace
