// track: what the mouse-tracking loops poll (prefix Track): whether the primary button is down, the cursor
// position on the screen, whether Ctrl is held and whether the user aborted (Esc or Break). The drawing
// layer's line tracking, the drag loop, list tracking and dock moves read the input only through here, so
// that a test can script a drag as a list of steps.
#pragma once

#include <windows.h>

#include <cstdint>

struct TrackInput {
    bool button; // the primary button is down
    POINT pos;   // screen coordinates
    bool ctrl;
    bool abort;
};

// Waits a little for input when none is new, then reads the state.
void TrackPoll(TrackInput *out);
// The cursor's screen position now, without waiting or taking anything from the queue; under a script, the
// position of the step the next poll returns.
void TrackCursorPos(POINT *out);

// Test seam: each poll returns the next step; after the last one, the last position with the button up.
// The steps are copied. Null (or no steps) reads the system again.
void TrackSetTestScript(const TrackInput *steps, int32_t count);
