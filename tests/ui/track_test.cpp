// The tracking input's script: steps in order, then the button up at the last position; the cursor position
// read without taking a step.
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

TEST(Track, CursorPositionPeeksAtTheScript) {
    const TrackInput steps[] = {{true, {5, 6}, false, false}, {false, {7, 8}, false, false}};
    TrackSetTestScript(steps, 2);
    POINT cursor;
    TrackCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 5);
    TrackCursorPos(&cursor); // nothing is taken
    EXPECT_EQ(cursor.y, 6);
    TrackInput input;
    TrackPoll(&input);
    TrackPoll(&input);
    TrackPoll(&input);
    TrackCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 7);
    EXPECT_EQ(cursor.y, 8);
}
