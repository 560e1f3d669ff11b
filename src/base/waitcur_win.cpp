// waitcur_win: the cursor itself.
#include "base/waitcur.h"

#include <windows.h>

void *WaitCursorOsShow(void *cursor) {
    return SetCursor(cursor ? (HCURSOR)cursor : LoadCursor(nullptr, IDC_WAIT));
}

void WaitCursorOsRestore(void *saved) {
    SetCursor((HCURSOR)saved);
}
