// fmtcmt: whether a line of a C-family buffer begins inside a "/*" comment (prefix CLine), for the C family's
// comment test: from a one-entry cache, from the line before the cached one, from a visible window's row, or
// by scanning down from the nearest "/*" at most 400 lines above. Portable.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include <cstdint>

struct FileBuffer;

// 1 when the line begins inside a "/*" comment; line 0 and lines past the end give 0.
int CLineStartsInComment(FileBuffer *doc, int32_t line);
// Forgets the cached answer (flushing the format cache does it too).
void CLineFlush();

// Hook: the comment flag of the row of a visible source window that shows the line (or of the row before):
// 1 inside a comment, 0 not, -1 when no window shows it (the answer while unset).
typedef int (*CLineRowHook)(FileBuffer *doc, int32_t line);
void CLineSetRowHook(CLineRowHook hook);
