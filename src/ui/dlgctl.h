// dlgctl: the two window classes of the dialog engine's own controls (prefixes DlgHline, DlgUserItem),
// registered by DlgRegisterClasses. "HLINE" paints its text at the top left and an etched rule from the
// end of the text to the right edge; "USERITEM" is painted and sized by the dialog's callback (events 22
// and 27). Both are static to the dialog manager (DLGC_STATIC).
#pragma once

#include <windows.h>

LRESULT CALLBACK DlgHlineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DlgUserItemProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
