// dlgalert: every message box and question the program shows (prefix Alert), and the progress boxes of long
// work (prefix Progress).
#pragma once

#include <cstdint>

enum AlertKind {
    ALERT_OK = 0,
    ALERT_OKCANCEL = 1,
    ALERT_INFO = 2,
    ALERT_YESNO = 3,
    ALERT_YESNOCANCEL = 4,
    ALERT_WARNING = 5,
    ALERT_ABORTRETRY = 6,
};

// The system message-box result for the given text, kind (0..6) and default button (0..2).
int AlertBox(const char *text, int kind, int defaultButton);

// An OK/Cancel question with Cancel as the default button: true for OK.
bool AlertOkCancelDefCancel(const char *format, ...);

// Errors and information: 0 while suppressed; 1 without showing during background work.
int AlertError(const char *format, ...);
// The error module's report ("Error: text"), shown as an error; start-up registers it with ErcSetAlertHook.
void AlertReportError(const char *message);

void AlertSuppress();
int AlertUnsuppress();
int AlertsSuppressed();

// A question with buttons of its own (the first `count` of `buttons`, defaultButton the default): the index
// of the button chosen, -1 when the box was closed. The dialog runtime does not show such boxes yet: the
// question goes to the choose hook, and without one it is answered -1, which every caller takes as a refusal.
int AlertChoose(const char *text, const char *const *buttons, int count, int defaultButton);
typedef int (*AlertChooseHook)(const char *text, const char *const *buttons, int count, int defaultButton);
void AlertSetChooseHook(AlertChooseHook hook);

// Test seam: while a hook is set, AlertBox asks it instead of opening a message box. The hook sees the text,
// the kind and the default button, and returns the answer the box would have given (IDOK, IDYES, ...).
typedef int (*AlertHook)(const char *text, int kind, int defaultButton);
void AlertSetTestHook(AlertHook hook);

// Progress boxes. They nest: only the outermost begin opens a box (its text formatted from the format), inner
// begins and ends only count, and an end without a begin does no harm. No box is shown yet: the nesting and
// the text are kept for the box to come.
void ProgressBegin(int32_t low, int32_t high, const char *format, ...);
void ProgressEnd();
bool ProgressIsOpen();
// Replaces the text of the open box; false when none is open.
bool ProgressSetText(const char *format, ...);
// The worker's tick: true once the user cancelled the open box; position -1 only polls. Nothing is ever
// cancelled unless a test hook answers.
bool ProgressStep(int position);

// Test seam: while a hook is set, ProgressStep returns its answer for the position.
typedef bool (*ProgressHook)(int position);
void ProgressSetTestHook(ProgressHook hook);
