// status: the status bar's message and mode fields (prefix Status).
#pragma once

// Replaces the message when the text differs from the current one; out of memory keeps the old text.
void StatusSetMessage(const char *text);
const char *StatusGetMessage(); // "" when no message is shown
void StatusCanceled();          // shows "Canceled"

// The mode field: a printf-style text cut to the field's 511 characters, and its reset.
void StatusModePrintf(const char *format, ...);
void StatusModeClear();
const char *StatusGetMode(); // "" when the field is clear
