// docmrk: a file buffer's three mark sets (prefix Doc...Mark...): 1 selection-history positions, 2 bookmarks,
// 3 source links and their back-marks, kept valid as lines are inserted and deleted. Least form: the sets,
// the edit adjustments and bookmarks; the upkeep of source links between buffers answers as if no buffer
// held links until the links themselves are built.
#pragma once

#include "doc/doc.h"
#include "doc/mrk.h"

#include <cstdint>

// Set n (1..3), created when missing and create is set; null for another n or when out of memory.
MarkSet *DocGetMarkSetEx(FileBuffer *doc, int n, bool create);
MarkSet *DocGetMarkSet(FileBuffer *doc, int n);
// Marks whose line l satisfies first <= l < end are deleted; the whole buffer (0, 0x7FFFFFFF) frees the sets.
void DocMarksDeleteRange(FileBuffer *doc, int32_t first, int32_t end);
// Marks whose line l satisfies first <= l <= last move by delta.
void DocMarksShift(FileBuffer *doc, int32_t first, int32_t last, int32_t delta);
void DocFreeMarkSets(FileBuffer *doc);
// A bookmark named `name` at the line; 1 on success.
int DocAddBookmark(FileBuffer *doc, const char *name, int32_t line, int32_t column);
bool DocHasBookmarkAtLine(FileBuffer *doc, int32_t line);

// Source-link upkeep (no links exist yet: nothing to do).
void RestoreSourceLinks(FileBuffer *doc, int32_t fromLine);
void DocRenameInLinks(FileBuffer *doc, const char *oldName);
void DropBackLinksToDoc(FileBuffer *doc);
