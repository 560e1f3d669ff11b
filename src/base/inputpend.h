// inputpend: the input-pending test that long work polls (prefixes Input, IgnoreMouseMoves,
// IgnoreQueuedRequests and BackgroundWork). It answers true when the running operation should stop and give
// way to the user. Once input was seen it answers true without looking again until InputPendingReset (the
// idle chain calls it each turn); during background work it looks at the queue at most every 125 ms.
#pragma once

#include <cstdint>

bool InputPending();
void InputPendingReset();
void InputPendingInterrupt();
void InputPendingSuspend();
void InputPendingResume();
void IgnoreMouseMovesBegin();
void IgnoreMouseMovesEnd();
void IgnoreQueuedRequestsBegin();
void IgnoreQueuedRequestsEnd();
void InputPendingSetForegroundOnly(bool on);

// Background work (parsing, synchronising) nests; alerts are skipped while it runs.
void BackgroundWorkBegin();
void BackgroundWorkEnd();
bool IsBackgroundWork();

// Requests from other instances count as input; the shell registers the count of waiting requests.
typedef int32_t (*InputRequestsHook)();
void InputSetRequestsHook(InputRequestsHook hook);

// The system's side (inputpend_win.cpp; natively there is never input): whether input waits in the queue,
// mouse moves left out while ignoreMouseMoves, and the dispatch of the caret-blink timer.
bool InputOsSeen(bool ignoreMouseMoves, bool foregroundOnly);
void InputOsDispatchTimers();
