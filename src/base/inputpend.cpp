// inputpend: the latch, the counters and the pacing of the input-pending test; the queue itself is the
// system's (InputOsSeen). Input messages stay in the queue for the main loop.
#include "base/inputpend.h"

#include "base/seam.h"
#include "base/tick.h"

enum : uint32_t { INPUT_CHECK_GAP_MS = 125 };

static bool inputLatch;
static uint32_t inputLastCheck;
static int32_t inputSuspend;
static int32_t inputIgnoreMouseMoves;
static int32_t inputIgnoreRequests;
static bool inputForegroundOnly;
static int32_t inputBackgroundWork;
static InputRequestsHook inputRequests;

static void InputResetSeams() {
    inputRequests = nullptr;
}

void InputSetRequestsHook(InputRequestsHook hook) {
    inputRequests = hook;
    SeamRegisterReset(InputResetSeams);
}

static bool InputSeen() {
    if (inputIgnoreRequests <= 0 && inputRequests && inputRequests() > 0) return true;
    return InputOsSeen(inputIgnoreMouseMoves > 0, inputForegroundOnly);
}

bool InputPending() {
    if (inputLatch) return true;
    uint32_t now = TickNow();
    if (inputBackgroundWork > 0 && now - inputLastCheck < INPUT_CHECK_GAP_MS) return false;
    inputLastCheck = now;
    if (inputSuspend > 0) return false;
    if (InputSeen()) return inputLatch = true;
    InputOsDispatchTimers();
    return inputLatch;
}

void InputPendingReset() {
    inputLatch = false;
    inputLastCheck = TickNow() - INPUT_CHECK_GAP_MS;
}
void InputPendingInterrupt() {
    inputLatch = true;
}
void InputPendingSuspend() {
    inputSuspend++;
    inputLatch = false;
}
void InputPendingResume() {
    inputSuspend--;
}
void IgnoreMouseMovesBegin() {
    inputIgnoreMouseMoves++;
}
void IgnoreMouseMovesEnd() {
    inputIgnoreMouseMoves--;
}
void IgnoreQueuedRequestsBegin() {
    inputIgnoreRequests++;
}
void IgnoreQueuedRequestsEnd() {
    inputIgnoreRequests--;
}
void InputPendingSetForegroundOnly(bool on) {
    inputForegroundOnly = on;
}

void BackgroundWorkBegin() {
    inputBackgroundWork++;
}
void BackgroundWorkEnd() {
    inputBackgroundWork--;
}
bool IsBackgroundWork() {
    return inputBackgroundWork > 0;
}
