// waitcur_posix: the native build shows no cursor.
#include "base/waitcur.h"

void *WaitCursorOsShow(void *) {
    return nullptr;
}

void WaitCursorOsRestore(void *) {}
