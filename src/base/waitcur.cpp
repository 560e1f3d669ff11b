// waitcur: the nesting count of the wait cursor and the cursor it replaced.
#include "base/waitcur.h"

#include "base/inputpend.h"
#include "base/seam.h"

#include <cstdint>

static int32_t waitCount;
static void *waitSaved;
static bool waitShown; // the outermost bracket changed the cursor, so its end puts the saved one back
static WaitCursorHooks waitHooks;

static void WaitCursorResetSeams() {
    waitHooks = {};
}

void WaitCursorSetHooks(const WaitCursorHooks *hooks) {
    waitHooks = hooks ? *hooks : WaitCursorHooks{};
    SeamRegisterReset(WaitCursorResetSeams);
}

static bool WaitCursorQuiet() {
    return IsBackgroundWork() || (waitHooks.progressOpen && waitHooks.progressOpen());
}

void WaitCursor() {
    if (waitCount++ != 0 || WaitCursorQuiet()) return;
    waitSaved = WaitCursorOsShow(waitHooks.cursor ? waitHooks.cursor() : nullptr);
    waitShown = true;
}

void WaitCursorOff() {
    if (--waitCount != 0 || !waitShown) return;
    WaitCursorOsRestore(waitSaved);
    waitShown = false;
}

void WaitCursorHold() {
    waitCount++;
}
void WaitCursorRelease() {
    waitCount--;
}
