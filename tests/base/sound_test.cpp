// Beeps through the test hook and the tick clock: beep kinds, beep series with their spacing, the mute
// counter, the question beep silenced by the sound scheme; one reset takes the hook away again.
#include "base/sound.h"
#include "base/seam.h"
#include "base/tick.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Beep {
    UINT type;
    uint32_t tick;
};
std::vector<Beep> beeps;
uint32_t fakeTick;

BOOL RecordBeep(UINT type) {
    beeps.push_back({type, fakeTick});
    return TRUE;
}

uint32_t SteppingTicks() {
    return fakeTick += 5;
}

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        beeps.clear();
        fakeTick = 1000;
        SoundSetTestHook(RecordBeep);
        TickSetClock(SteppingTicks, nullptr);
    }
    static std::vector<UINT> Types() {
        std::vector<UINT> types;
        for (const Beep &b : beeps) types.push_back(b.type);
        return types;
    }
};

TEST_F(SoundTest, BeepKinds) {
    const UINT hand = MB_ICONHAND, bang = MB_ICONEXCLAMATION;
    struct Case {
        int kind;
        std::vector<UINT> expected;
    } cases[] = {{3, {hand}}, {4, {hand}}, {5, {hand}}, {6, {bang}}, {12, {bang}}, {11, {0, bang}},
                 {13, {0}},   {0, {}},     {7, {}},     {-1, {}},    {99, {}}};
    for (const Case &c : cases) {
        beeps.clear();
        SoundBeepKind(c.kind);
        EXPECT_EQ(Types(), c.expected) << "kind " << c.kind;
    }
    beeps.clear();
    SoundBeepKind(11);
    ASSERT_EQ(beeps.size(), 2u);
    EXPECT_GE(beeps[1].tick - beeps[0].tick, 166u);
    beeps.clear();
    SoundBeep();
    EXPECT_EQ(Types(), std::vector<UINT>{hand});
}

TEST_F(SoundTest, SeriesIsCappedAndSpaced) {
    struct Case {
        int n;
        size_t expected;
    } cases[] = {{0, 1}, {-3, 1}, {1, 1}, {3, 3}, {10, 10}, {50, 10}};
    for (const Case &c : cases) {
        beeps.clear();
        SoundBeepSeries(c.n);
        EXPECT_EQ(beeps.size(), c.expected) << c.n;
        for (size_t i = 1; i < beeps.size(); i++) EXPECT_GE(beeps[i].tick - beeps[i - 1].tick, 125u);
        for (const Beep &b : beeps) EXPECT_EQ(b.type, 0u);
    }
}

TEST_F(SoundTest, MuteCounterSilencesEveryBeep) {
    SoundMute();
    SoundMute();
    EXPECT_EQ(SoundMessageBeep(MB_ICONHAND), 0);
    SoundBeepKind(11);
    SoundBeepSeries(3);
    SoundUnmute();
    SoundBeep();
    EXPECT_TRUE(beeps.empty());
    SoundUnmute();
    EXPECT_EQ(SoundMessageBeep(MB_ICONHAND), 1);
    EXPECT_EQ(beeps.size(), 1u);
}

TEST_F(SoundTest, QuestionBeepFollowsTheSoundScheme) {
    char saved[256];
    GetProfileStringA("Sounds", "SystemQuestion", "\x01", saved, sizeof saved);
    ASSERT_TRUE(WriteProfileStringA("Sounds", "SystemQuestion", "<none>,0"));
    EXPECT_EQ(SoundMessageBeep(MB_ICONQUESTION), 0);
    EXPECT_EQ(SoundMessageBeep(MB_ICONHAND), 1);
    ASSERT_TRUE(WriteProfileStringA("Sounds", "SystemQuestion", "chord.wav,Question"));
    EXPECT_EQ(SoundMessageBeep(MB_ICONQUESTION), 1);
    WriteProfileStringA("Sounds", "SystemQuestion", strcmp(saved, "\x01") ? saved : nullptr);
    EXPECT_EQ(Types(), (std::vector<UINT>{MB_ICONHAND, MB_ICONQUESTION}));
}

TEST_F(SoundTest, OneResetTakesTheHookAway) {
    SeamResetAll();
    SoundBeep();
    EXPECT_TRUE(beeps.empty()) << "the system sounds it";
}

} // namespace
