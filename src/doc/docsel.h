// docsel: selection-level buffer operations (prefix Paste, and the copies between buffers). Least form: the
// two pastes of a selection's text at a position, as stream text and as a column block, which copying one
// selection over another (SelCopyTextTo) uses, and inserting one line of text at a selection.
#pragma once

#include "doc/sel.h"

#include <cstdint>

// The source's range copied into the target at (line, column) (the range copy of the edit protocol).
int PasteStreamAt(FileBuffer *target, int32_t line, int32_t column, Sel *source);
// The source inserted as a column block: its lines go, one each, into the target's lines from the given one
// on, at one column (with a window: at the pixel position of (line, column) on every line), lines past the
// target's end appended. The result of the closing EndEdit.
int PasteColumnAt(FileBuffer *target, int32_t line, int32_t column, Sel *source, void *window);

extern const char ercPasteSameBuffer[]; // "Can't paste to the same file buffer."

// The text becomes the only line of the hidden "Scratch" buffer (its line-break flag cleared), which is
// pasted over the selection without intelligent paste, inside one edit: a pending new line is first made
// an indented line, and the selection then becomes, by "After pasting, select", an insertion point at the
// start or the end of the inserted text, or that text; the window showing the buffer takes it. 1 on success.
int InsertTextAtSel(Sel *sel, const char *text);
