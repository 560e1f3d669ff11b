// status: the status bar's message and mode fields (prefix Status).
#pragma once

// Replaces the message when the text differs from the current one; out of memory keeps the old text.
void StatusSetMessage(const char *text);
const char *StatusGetMessage(); // "" when no message is shown
void StatusCanceled();          // shows "Canceled"

// A printf-style message, cut to 511 characters; a null format or an empty text clears the field. Nothing
// happens while messages are suspended (help mode and long work keep their own text in the field).
void StatusPrintf(const char *format, ...);
// Raise and lower the suspension count of messages; each returns the new count, never below 0.
int StatusSuspend();
int StatusResume();
bool StatusIsSuspended();

// The mode field: a printf-style text cut to the field's 511 characters, and its reset.
void StatusModePrintf(const char *format, ...);
void StatusModeClear();
const char *StatusGetMode(); // "" when the field is clear
