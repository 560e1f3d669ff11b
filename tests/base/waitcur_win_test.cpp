// The wait cursor over the system's cursors: the outermost bracket shows the wait cursor and its end puts
// the arrow back; held counts, background work and background work that starts inside a bracket leave the
// cursor alone.
#include "base/inputpend.h"
#include "base/waitcur.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(WaitCursorWin, WaitCursorNests) {
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW), wait = LoadCursor(nullptr, IDC_WAIT);
    SetCursor(arrow);
    WaitCursor();
    EXPECT_EQ(GetCursor(), wait);
    WaitCursor();
    WaitCursorOff();
    EXPECT_EQ(GetCursor(), wait);
    WaitCursorOff();
    EXPECT_EQ(GetCursor(), arrow);

    WaitCursorHold();
    WaitCursor();
    EXPECT_EQ(GetCursor(), arrow);
    WaitCursorOff();
    WaitCursorRelease();

    BackgroundWorkBegin();
    WaitCursor();
    EXPECT_EQ(GetCursor(), arrow);
    WaitCursorOff();
    BackgroundWorkEnd();

    // Background work that starts inside the bracket does not strand the wait cursor.
    WaitCursor();
    BackgroundWorkBegin();
    WaitCursorOff();
    BackgroundWorkEnd();
    EXPECT_EQ(GetCursor(), arrow);
}

} // namespace
