// The input-pending test's own rules, with the requests of other instances as the input (the requests hook;
// unset, there are none): the latch holds until reset, an interrupt sets it; suspension clears it and hides
// input, nesting; queued requests ignored on demand; during background work the test looks at most every
// 125 ms, across the clock's wrap-around, through the tick clock.
#include "base/inputpend.h"

#include "base/tick.h"

#include <gtest/gtest.h>

namespace {

int32_t requestsWaiting;
int requestsAsked;

int32_t WaitingRequests() {
    requestsAsked++;
    return requestsWaiting;
}

uint32_t fakeNow;
uint32_t FakeTicks() {
    return fakeNow;
}

class InputPendingTest : public testing::Test {
protected:
    void SetUp() override {
        requestsWaiting = 0;
        requestsAsked = 0;
        InputSetRequestsHook(WaitingRequests);
        InputPendingReset();
    }
    void TearDown() override { InputPendingReset(); }
};

TEST_F(InputPendingTest, RequestsCountAsInputThroughTheHook) {
    EXPECT_FALSE(InputPending());
    EXPECT_EQ(requestsAsked, 1);
    requestsWaiting = 2;
    EXPECT_TRUE(InputPending());
    requestsWaiting = 0;
    EXPECT_TRUE(InputPending()) << "the latch holds until reset";
    InputPendingReset();
    EXPECT_FALSE(InputPending());
    InputPendingInterrupt();
    EXPECT_TRUE(InputPending());

    InputPendingReset();
    requestsWaiting = 1;
    IgnoreQueuedRequestsBegin();
    EXPECT_FALSE(InputPending()) << "requests ignored on demand";
    IgnoreQueuedRequestsEnd();
    EXPECT_TRUE(InputPending());

    InputSetRequestsHook(nullptr);
    InputPendingReset();
    EXPECT_FALSE(InputPending()) << "unset, no requests wait";
}

TEST_F(InputPendingTest, SuspensionClearsTheLatchAndHidesInput) {
    InputPendingInterrupt();
    InputPendingSuspend();
    requestsWaiting = 1;
    EXPECT_FALSE(InputPending());
    InputPendingSuspend();
    InputPendingResume();
    EXPECT_FALSE(InputPending()) << "suspensions nest";
    InputPendingResume();
    EXPECT_TRUE(InputPending());
}

TEST_F(InputPendingTest, BackgroundWorkLooksAtMostEvery125Ms) {
    TickSetClock(FakeTicks, nullptr);
    fakeNow = 1000;
    InputPendingReset();
    BackgroundWorkBegin();
    EXPECT_TRUE(IsBackgroundWork());
    EXPECT_FALSE(InputPending()); // looks: nothing waits
    requestsWaiting = 1;
    fakeNow = 1124;
    EXPECT_FALSE(InputPending());
    fakeNow = 1125;
    EXPECT_TRUE(InputPending());
    requestsWaiting = 0;
    // Across the clock's wrap-around.
    fakeNow = 0xFFFFFFF0u;
    InputPendingReset();
    EXPECT_FALSE(InputPending());
    requestsWaiting = 1;
    fakeNow = 0x00000010u;
    EXPECT_FALSE(InputPending());
    fakeNow = 0x0000006Du;
    EXPECT_TRUE(InputPending());
    BackgroundWorkEnd();
    EXPECT_FALSE(IsBackgroundWork());
    // Without background work every call looks.
    requestsWaiting = 0;
    InputPendingReset();
    EXPECT_FALSE(InputPending());
    requestsWaiting = 1;
    EXPECT_TRUE(InputPending());
}

} // namespace
