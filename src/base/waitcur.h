// waitcur: the wait cursor (prefix WaitCursor). Brackets nest: only the outermost one changes the cursor,
// and not while background work runs or a progress box (which shows its own) is open.
#pragma once

void WaitCursor();
void WaitCursorOff();
void WaitCursorHold(); // raise and lower the count without touching the cursor
void WaitCursorRelease();

// From above: the drawing layer's wait cursor (null: the system's) and whether a progress box is open.
struct WaitCursorHooks {
    void *(*cursor)();
    bool (*progressOpen)();
};
void WaitCursorSetHooks(const WaitCursorHooks *hooks);

// The system's side (waitcur_win.cpp; nothing natively): shows the cursor, or the system's wait cursor when
// it is null, and returns the one it replaced; the restore puts a saved cursor back as it was, null too.
void *WaitCursorOsShow(void *cursor);
void WaitCursorOsRestore(void *saved);
