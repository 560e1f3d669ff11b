// The wait cursor's nesting, through its hooks: only the outermost bracket shows the cursor (the drawing
// layer's, asked through the hook), held counts and background work and an open progress box leave it
// alone; unset, the hooks answer neutrally (the system's cursor, no progress box).
#include "base/waitcur.h"

#include "base/inputpend.h"

#include <gtest/gtest.h>

namespace {

int cursorAsked;
bool progressOpen;

// Null stands for the system's wait cursor: the count of questions is what the tests look at.
void *DrawingCursor() {
    cursorAsked++;
    return nullptr;
}

bool ProgressOpen() {
    return progressOpen;
}

class WaitCursorTest : public testing::Test {
protected:
    void SetUp() override {
        cursorAsked = 0;
        progressOpen = false;
        WaitCursorHooks hooks = {DrawingCursor, ProgressOpen};
        WaitCursorSetHooks(&hooks);
    }
};

TEST_F(WaitCursorTest, OnlyTheOutermostBracketShowsTheCursor) {
    WaitCursor();
    EXPECT_EQ(cursorAsked, 1);
    WaitCursor();
    WaitCursorOff();
    WaitCursorOff();
    EXPECT_EQ(cursorAsked, 1) << "the inner bracket changes nothing";
    WaitCursor();
    EXPECT_EQ(cursorAsked, 2) << "every bracket was closed";
    WaitCursorOff();

    WaitCursorHold();
    WaitCursor();
    WaitCursorOff();
    WaitCursorRelease();
    EXPECT_EQ(cursorAsked, 2) << "inside a held count";
}

TEST_F(WaitCursorTest, BackgroundWorkAndProgressBoxesKeepTheirCursor) {
    BackgroundWorkBegin();
    WaitCursor();
    WaitCursorOff();
    BackgroundWorkEnd();
    EXPECT_EQ(cursorAsked, 0) << "background work";
    progressOpen = true;
    WaitCursor();
    WaitCursorOff();
    EXPECT_EQ(cursorAsked, 0) << "a progress box shows its own";
    progressOpen = false;

    // Background work that starts inside the bracket: the bracket still ends, and the next one shows.
    WaitCursor();
    BackgroundWorkBegin();
    WaitCursorOff();
    BackgroundWorkEnd();
    WaitCursor();
    WaitCursorOff();
    EXPECT_EQ(cursorAsked, 2);
}

TEST_F(WaitCursorTest, UnsetHooksAnswerNeutrally) {
    WaitCursorSetHooks(nullptr);
    WaitCursor();
    WaitCursor();
    WaitCursorOff();
    WaitCursorOff();
    WaitCursorHooks hooks = {DrawingCursor, nullptr};
    WaitCursorSetHooks(&hooks);
    WaitCursor();
    WaitCursorOff();
    EXPECT_EQ(cursorAsked, 1) << "the brackets without hooks were closed; no progress hook, no box";
}

} // namespace
