// docsel: selection-level buffer operations (prefix Paste, and the copies between buffers). Least form: the
// two pastes of a selection's text at a position, as stream text and as a column block, which copying one
// selection over another (SelCopyTextTo) uses.
#pragma once

#include "doc/sel.h"

#include <cstdint>

// The source's range copied into the target at (line, column) (the range copy of the edit protocol).
int PasteStreamAt(FileBuffer *target, int32_t line, int32_t column, Sel *source);
// The source inserted as a column block: its lines go, one each, into the target's lines from the given one
// on, at one column (with a window: at the pixel position of (line, column) on every line), lines past the
// target's end appended. The result of the closing EndEdit.
int PasteColumnAt(FileBuffer *target, int32_t line, int32_t column, Sel *source, void *window);
