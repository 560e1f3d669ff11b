// track: the input poll of mouse-tracking loops (prefix Track), and its scripted stand-in for tests.
#include "ui/track.h"

#include "base/keyinp.h"
#include "base/seam.h"

#include <vector>

enum { TRACK_WAIT_MS = 10 };

static std::vector<TrackInput> trackScript;
static size_t trackNext;

static void TrackResetSeams() {
    trackScript.clear();
    trackNext = 0;
}

void TrackSetTestScript(const TrackInput *steps, int32_t count) {
    TrackResetSeams();
    if (steps && count > 0) trackScript.assign(steps, steps + count);
    SeamRegisterReset(TrackResetSeams);
}

static void TrackScripted(TrackInput *out) {
    if (trackNext < trackScript.size()) {
        *out = trackScript[trackNext++];
        return;
    }
    *out = {false, trackScript.back().pos, false, false};
}

// Mouse moves are taken from the queue so that the wait sleeps until something new happens; button and key
// messages stay for the window that started the loop.
void TrackPoll(TrackInput *out) {
    if (!trackScript.empty()) {
        TrackScripted(out);
        return;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, TRACK_WAIT_MS, QS_INPUT);
    out->button = MouseButtonsDown(1) != 0;
    GetCursorPos(&out->pos);
    out->ctrl = GetKeyState(VK_CONTROL) < 0;
    out->abort = KeyCheckAbort() != 0;
}

void TrackCursorPos(POINT *out) {
    if (trackScript.empty()) {
        GetCursorPos(out);
        return;
    }
    *out = trackScript[trackNext < trackScript.size() ? trackNext : trackScript.size() - 1].pos;
}
