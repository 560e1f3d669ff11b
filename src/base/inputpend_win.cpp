// inputpend_win: the message queue's side of the input-pending test. Only key, mouse, activation and
// end-of-session messages count; the caret-blink timer is dispatched so that the caret keeps blinking.
#include "base/inputpend.h"

#include "base/wheel.h"
#include "base/wnd.h"

#include <windows.h>

enum : UINT { WM_SYSTIMER = 0x118 }; // drives the caret blink

static bool InputQueued(UINT first, UINT last) {
    MSG msg;
    return PeekMessageA(&msg, nullptr, first, last, PM_NOREMOVE | PM_NOYIELD) != 0;
}

static bool InputMouseQueued(bool ignoreMouseMoves) {
    UINT skip = ignoreMouseMoves ? 1 : 0; // from the first button message on
    if (InputQueued(WM_MOUSEMOVE + skip, 0x20D) || InputQueued(WM_NCMOUSEMOVE + skip, WM_NCMBUTTONDBLCLK))
        return true;
    if (!WheelIsPresent()) return false;
    if (WheelIsNative()) return InputQueued(WM_MOUSEWHEEL, WM_MOUSEWHEEL);
    UINT roll = WheelRollMessage();
    return roll != (UINT)-1 && InputQueued(roll, roll);
}

// An empty queue, the common answer of long work's frequent polls, costs one question instead of a search
// for each kind of message.
static bool InputQueueEmpty(UINT kinds) {
    return HIWORD(GetQueueStatus(kinds)) == 0;
}

bool InputOsSeen(bool ignoreMouseMoves, bool foregroundOnly) {
    if (foregroundOnly && !AppIsForeground()) return true;
    if (InputQueueEmpty(QS_ALLINPUT)) return false;
    static const UINT keyMessages[] = {WM_ACTIVATE, WM_ACTIVATEAPP, WM_KEYDOWN, WM_SYSKEYDOWN};
    for (UINT message : keyMessages)
        if (InputQueued(message, message)) return true;
    if (InputMouseQueued(ignoreMouseMoves)) return true;
    return InputQueued(WM_QUERYENDSESSION, WM_QUERYENDSESSION) || InputQueued(WM_ENDSESSION, WM_ENDSESSION);
}

void InputOsDispatchTimers() {
    if (InputQueueEmpty(QS_TIMER | QS_POSTMESSAGE)) return;
    MSG msg;
    if (PeekMessageA(&msg, nullptr, WM_SYSTIMER, WM_SYSTIMER, PM_REMOVE)) DispatchMessageA(&msg);
}
