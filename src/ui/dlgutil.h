// dlgutil: the input boxes (prefix Ask, and ShowTextBox): one or two strings, a number, a read-only text, and
// the confirmation that may have to be typed as "yes". They are table dialogs with the caption "Veltrix"
// unless the caller gives one. Text buffers are the caller's and hold 256 bytes: at most 254 characters come
// back.
// Success: true on OK (or Yes), false on Cancel, No, Esc or the close box.
#pragma once

#include <cstdint>

// One string with the title as caption; asked again while the answer is empty.
bool AskString(const char *title, const char *prompt, char *buffer);
// The same with the caption "Veltrix".
bool AskText(const char *prompt, char *buffer);
// Two strings; asked again while either answer is empty.
bool AskTwoStrings(const char *prompt1, char *buffer1, const char *prompt2, char *buffer2);
// A number, shown as decimal text and read back as atoi does.
bool AskNumber(const char *prompt, int32_t *value);
// The text, read-only, under the label; the end code (1 for OK, 2 for Esc or the close box).
int32_t ShowTextBox(const char *label, const char *text);

// A Yes/No question with No as the default (the question formatted into 256 bytes). In typed mode the user
// must type "yes" (in any case) before Yes can be chosen.
bool AskConfirmF(const char *format, ...);
void AskConfirmTypedMode(bool on);
