// status: the status bar's message field (prefix Status).
#pragma once

// Replaces the message when the text differs from the current one; out of memory keeps the old text.
void StatusSetMessage(const char *text);
const char *StatusGetMessage(); // "" when no message is shown
void StatusCanceled();          // shows "Canceled"
