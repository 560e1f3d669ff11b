// dlgedit: the history edit and combo (prefix History). Stand-ins until the history exists: nothing is
// installed.
#include "ui/dlgedit.h"

void HistoryEditSubclass(HWND, bool) {}

void HistoryComboSubclass(HWND, bool) {}
