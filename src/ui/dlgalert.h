// dlgalert: every message box and question the program shows (prefix Alert), and the progress boxes of long
// work (prefix Progress). Boxes carry the caption "Veltrix" (the table questions set their own), are owned by
// the frame's last active popup, close the start-up splash first and give the focus back afterwards.
// Success: questions answer true (or the chosen code); see each function.
#pragma once

#include <cstdint>

struct DlgObject;

enum AlertKind {
    ALERT_OK = 0,
    ALERT_OKCANCEL = 1,
    ALERT_INFO = 2,
    ALERT_YESNO = 3,
    ALERT_YESNOCANCEL = 4,
    ALERT_WARNING = 5,
    ALERT_ABORTRETRY = 6,
};

// The end codes of the questions with answers of their own.
enum AlertAnswer : int32_t {
    ALERT_CANCEL = 2,
    ALERT_YES = 3,
    ALERT_NO = 4,
    ALERT_YES_ALL = 7,
    ALERT_NO_ALL = 8,
    ALERT_TRY_AGAIN = 9,
    ALERT_CONTINUE = 10,
};

// The system message-box result for the given text, kind (0..6) and default button (0..2); 0 when the box
// cannot be shown, which every question takes as a refusal.
int AlertBox(const char *text, int kind, int defaultButton);

// Questions, printf-style (the format is cut at 462 characters, the text at 511). They are asked also while
// alerts are suppressed.
bool AlertOkCancel(const char *format, ...);
bool AlertOkCancelDefCancel(const char *format, ...);
bool AlertYesNo(const char *format, ...);
bool AlertYesNoDefNo(const char *format, ...);
int AlertYesNoCancel(const char *format, ...); // ALERT_YES, ALERT_NO, or ALERT_CANCEL for anything else

// Errors and information: 0 while suppressed; 1 without showing during background work; else the box's
// result. With the cause, the current error's text follows after a blank line (the whole cut at 1,023).
int AlertError(const char *format, ...);
int AlertErrorWithCause(const char *format, ...);
int AlertInfo(const char *format, ...);
// A plain-text OK/Cancel question that is not asked (true) while suppressed or during background work.
bool AlertOkCancelText(const char *text);
// The error module's report ("Error: text"), shown as an error; start-up registers it with ErcSetAlertHook.
void AlertReportError(const char *message);

void AlertSuppress();
int AlertUnsuppress(); // the new count
bool AlertsSuppressed();

// Table questions with the caption given (null: "Veltrix") and the button of defaultCode as the default.
// AlertYesNoAll: ALERT_YES, ALERT_NO, ALERT_YES_ALL, ALERT_NO_ALL, ALERT_CANCEL on Esc or the close box.
// AlertRetryContinue: ALERT_TRY_AGAIN, ALERT_CONTINUE, ALERT_CANCEL for Cancel, Esc or the close box.
int32_t AlertYesNoAll(const char *caption, const char *message, int32_t defaultCode);
int32_t AlertRetryContinue(const char *caption, const char *message, int32_t defaultCode);
// A table question with buttons of its own (the first `count` of `buttons`, at most ALERT_CHOOSE_MAX, button
// defaultButton the default): the index of the button chosen, -1 when the box was closed.
enum { ALERT_CHOOSE_MAX = 4 };
int AlertChoose(const char *text, const char *const *buttons, int count, int defaultButton);

// Test seams. While the alert hook is set, AlertBox asks it instead of opening a message box: the hook sees
// the text, the kind and the default button, and returns the answer the box would have given (IDOK, IDYES,
// ...). While the choose hook is set, every table question asks it instead: it sees the message, the button
// texts and the default button's index, and answers an index, -1 for a closed box.
typedef int (*AlertHook)(const char *text, int kind, int defaultButton);
void AlertSetTestHook(AlertHook hook);
typedef int (*AlertChooseHook)(const char *text, const char *const *buttons, int count, int defaultButton);
void AlertSetChooseHook(AlertChooseHook hook);

// ---- Progress boxes
//
// A modeless box with a text line, an optional fuel meter (high above 0) and an optional Cancel button, for
// work that runs on the one thread. Boxes nest: only the outermost begin opens a box (with its text), inner
// begins and ends only count, and an end without a begin does no harm. The worker steps often; a step
// refreshes the box at most every 100 ms, pumps its messages and reports whether the user cancelled:
// Cancel within the first 29,999 ms cancels at once, later after the question "Are you sure you want to
// cancel this operation?". Esc or the close box close the box, which the work still sees as a cancel.

// Texts are printf-style (512 bytes).
void ProgressBegin(int32_t low, int32_t high, const char *format, ...);
void ProgressBeginNoCancel(int32_t low, int32_t high, const char *format, ...);
// The box opened (or null: nested, or no memory; the count is raised all the same).
DlgObject *ProgressOpen(int32_t low, int32_t high, const char *text, bool cancellable);
void ProgressEnd();
// The worker's tick: true once the user cancelled; position -1 only polls.
bool ProgressStep(int32_t position);
// Shows the box, sets the meter (unless -1), pumps the box's messages for ms (0: what is queued) and tests
// Cancel: the cancelled flag.
bool ProgressUpdate(int32_t position, uint32_t ms);
bool ProgressSetText(const char *format, ...); // false when no box is open
void ProgressSetPos(int32_t position);         // position + offset, without pumping; -1 does nothing
void ProgressSetRange(int32_t low, int32_t high);
void ProgressSetOffset(int32_t offset);
void ProgressHide();
void ProgressShow();
bool ProgressIsOpen(); // a box exists
DlgObject *ProgressGetDialog();

// Test seam: while a hook is set, ProgressStep returns its answer for the position.
typedef bool (*ProgressHook)(int32_t position);
void ProgressSetTestHook(ProgressHook hook);
