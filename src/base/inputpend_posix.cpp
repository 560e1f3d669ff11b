// inputpend_posix: the native build has no message queue, so no input is ever waiting.
#include "base/inputpend.h"

bool InputOsSeen(bool, bool) {
    return false;
}

void InputOsDispatchTimers() {}
