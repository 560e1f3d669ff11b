// Test seams: the meaning of an injected fault (the nth call from now, count calls in a row, -1 without end, 0
// off, set again to start over); the registry of resets (each function once, however often registered; a
// reset may register again); and one SeamResetAll putting the foundation's seams back, each setter having
// registered its module's reset.
#include "base/seam.h"

#include "base/erc.h"
#include "base/fileos.h"
#include "base/globalblock.h"
#include "base/heap.h"
#include "base/inputpend.h"
#include "base/tick.h"
#include "base/waitcur.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The calls of the next eight that fail, as a string of '.' and 'x'.
std::string FaultPattern(SeamFault *fault) {
    std::string pattern;
    for (int i = 0; i < 8; i++) pattern += SeamFaultHit(fault) ? 'x' : '.';
    return pattern;
}

} // namespace

TEST(Seam, FaultFailsCountCallsFromTheNth) {
    struct Case {
        int n, count;
        const char *pattern;
    } cases[] = {
        {0, 1, "........"},  {1, 1, "x......."},  {3, 1, "..x....."}, {2, 3, ".xxx...."},
        {1, -1, "xxxxxxxx"}, {4, -1, "...xxxxx"}, {2, 0, "........"}, {-1, 1, "........"},
    };
    for (const Case &c : cases) {
        SeamFault fault = {};
        SeamFaultSet(&fault, c.n, c.count);
        EXPECT_EQ(FaultPattern(&fault), c.pattern) << "n " << c.n << ", count " << c.count;
    }
    SeamFault fault = {};
    SeamFaultSet(&fault, 2, -1);
    EXPECT_EQ(FaultPattern(&fault), ".xxxxxxx");
    SeamFaultSet(&fault, 0, -1);
    EXPECT_EQ(FaultPattern(&fault), "........") << "n = 0 turns it off";
    SeamFaultSet(&fault, 1, 2);
    EXPECT_EQ(FaultPattern(&fault), "xx......");
    SeamFaultSet(&fault, 1, 1);
    EXPECT_EQ(FaultPattern(&fault), "x.......") << "set again, it starts over";
}

namespace {

std::vector<std::string> resetsRun;
void ResetA() {
    resetsRun.push_back("a");
}
void ResetB() {
    resetsRun.push_back("b");
    SeamRegisterReset(ResetB); // a reset may register again, as a setter it calls does
}

} // namespace

TEST(Seam, EachResetRunsOnce) {
    resetsRun.clear();
    SeamRegisterReset(ResetA);
    SeamRegisterReset(ResetB);
    SeamRegisterReset(ResetA);
    SeamResetAll();
    EXPECT_EQ(std::count(resetsRun.begin(), resetsRun.end(), "a"), 1);
    EXPECT_EQ(std::count(resetsRun.begin(), resetsRun.end(), "b"), 1);
    resetsRun.clear();
    SeamResetAll();
    EXPECT_EQ(resetsRun.size(), 2u) << "registered for good";
}

namespace {

uint32_t FrozenClock() {
    return 7;
}
int32_t OneRequest() {
    return 1;
}
int fakeCursorShown;
void *FakeCursor() {
    fakeCursorShown++;
    return nullptr;
}
std::vector<std::string> writtenLines;
void RecordLine(const char *line) {
    writtenLines.push_back(line);
}

} // namespace

TEST(Seam, OneResetPutsEverySeamBack) {
    FileOsCalls calls = *FileOsDefaultCalls();
    FileOsSetCalls(&calls);
    HeapFailNth(1, -1);
    GlobalBlockFailNth(1, -1);
    TickSetClock(FrozenClock, nullptr);
    InputSetRequestsHook(OneRequest);
    WaitCursorHooks hooks = {FakeCursor, nullptr};
    WaitCursorSetHooks(&hooks);
    ErcSetLineWriter(RecordLine);
    ASSERT_EQ(MemAlloc(8), nullptr);
    ASSERT_EQ(TickNow(), 7u);
    InputPendingReset();
    ASSERT_TRUE(InputPending());

    SeamResetAll();
    EXPECT_EQ(FileOsGetCalls(), FileOsDefaultCalls());
    void *block = MemAlloc(8);
    EXPECT_NE(block, nullptr);
    MemFree(block);
    block = GlobalBlockAlloc(8);
    EXPECT_NE(block, nullptr);
    GlobalBlockFree(block);
    uint32_t before = TickNow();
    TickSleep(20);
    EXPECT_NE(TickNow(), before) << "the system's clock again";
    InputPendingReset();
    EXPECT_FALSE(InputPending()) << "no requests hook";
    fakeCursorShown = 0;
    WaitCursor();
    WaitCursorOff();
    EXPECT_EQ(fakeCursorShown, 0);
    writtenLines.clear();
    ErcWriteLine("nowhere");
    EXPECT_TRUE(writtenLines.empty());
    ErcClear();
}
