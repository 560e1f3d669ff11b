// The one clock, through its seam: the pace keeps calls 33 ms apart across the clock's wrap-around, the busy
// wait returns the time that passed.
#include "base/tick.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

uint32_t fakeNow;
uint32_t fakeStep;
std::vector<uint32_t> fakeSleeps;

uint32_t FakeTick() {
    uint32_t t = fakeNow;
    fakeNow += fakeStep;
    return t;
}

void FakeSleep(uint32_t ms) {
    fakeSleeps.push_back(ms);
    fakeNow += ms;
}

struct TickClock : ::testing::Test {
    void SetUp() override {
        fakeNow = 0;
        fakeStep = 0;
        fakeSleeps.clear();
        TickSetClock(FakeTick, FakeSleep);
    }
    void TearDown() override { TickSetClock(nullptr, nullptr); }
};

} // namespace

TEST_F(TickClock, PaceKeepsCallsApart) {
    fakeNow = 5000;
    TickPace(); // whatever came before, the pace starts here
    fakeSleeps.clear();
    fakeNow += 10;
    TickPace();
    fakeNow += 40;
    TickPace();
    fakeNow = 0xfffffff0u; // the tick count wraps after 49.7 days
    TickPace();
    fakeNow += 0x20; // 32 ms later, past the wrap
    TickPace();
    EXPECT_EQ(fakeSleeps, (std::vector<uint32_t>{23, 1}));
}

TEST_F(TickClock, BusyWaitReturnsTimePassed) {
    fakeNow = 0xfffffffau;
    fakeStep = 4;
    EXPECT_EQ(TickBusyWait(10), 12u);
    EXPECT_EQ(TickBusyWait(0), 4u) << "the first look at the clock already ends a wait of 0";
}
