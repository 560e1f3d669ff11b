// The tracking input's script: steps in order, then the button up at the last position.
#include "ui/track.h"

#include <gtest/gtest.h>

TEST(Track, ScriptPlaysThenReleasesButton) {
    const TrackInput steps[] = {{true, {10, 20}, false, false}, {true, {30, 40}, true, false}};
    TrackSetTestScript(steps, 2);
    TrackInput input;
    TrackPoll(&input);
    EXPECT_TRUE(input.button);
    EXPECT_EQ(input.pos.x, 10);
    TrackPoll(&input);
    EXPECT_TRUE(input.ctrl);
    EXPECT_EQ(input.pos.y, 40);
    for (int i = 0; i < 2; i++) {
        TrackPoll(&input);
        EXPECT_FALSE(input.button);
        EXPECT_FALSE(input.abort);
        EXPECT_EQ(input.pos.x, 30);
        EXPECT_EQ(input.pos.y, 40);
    }
}
