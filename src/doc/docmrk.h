// docmrk: a file buffer's three mark sets (prefix Doc...Mark...): 1 selection-history positions, 2 bookmarks,
// 3 source links and their back-marks, made on first demand, freed with the buffer or when its whole text is
// replaced, and kept valid as the change notice reports inserted and deleted lines: a mark moves with the
// lines above it and goes with its own line. The upkeep of source links between buffers answers as if no
// other buffer held links until the links themselves are built.
#pragma once

#include "doc/doc.h"
#include "doc/mrk.h"

#include <cstdint>

enum : int32_t { DOC_MARKS_ALL_END = 0x7FFFFFFF }; // the end of a range that covers the whole buffer

// Set n (1..3), created when missing and create is set (set 3 with its file-name and key lists); null for
// another n or when out of memory.
MarkSet *DocGetMarkSetEx(FileBuffer *doc, int n, bool create);
MarkSet *DocGetMarkSet(FileBuffer *doc, int n);
// Set 3 when it holds a mark, else null; the number of its marks.
MarkSet *DocGetLinkSet(FileBuffer *doc);
int32_t DocLinkCount(FileBuffer *doc);

// Edit adjustments. Marks whose line l satisfies first <= l < end are deleted; the whole buffer (0,
// DOC_MARKS_ALL_END) frees the three sets instead, after other buffers' back-marks into this one are dropped.
void DocMarksDeleteRange(FileBuffer *doc, int32_t first, int32_t end);
// Marks whose line l satisfies first <= l <= last move by delta.
void DocMarksShift(FileBuffer *doc, int32_t first, int32_t last, int32_t delta);
// The range deletion for set 3 alone (the whole range clears every link, keeping the set).
void DocLinksDeleteRange(FileBuffer *doc, int32_t first, int32_t end);
void DocFreeMarkSets(FileBuffer *doc);

// Bookmarks (set 2). A bookmark named `name` at the line (an existing name moves); 1 on success.
int DocAddBookmark(FileBuffer *doc, const char *name, int32_t line, int32_t column);
// The first bookmark in plex order on the line, and its name as a C string (256 bytes) when asked; 0 when
// none.
int GetBookmarkAtLine(FileBuffer *doc, int32_t line, Mark *out, char *outName);
bool DocHasBookmarkAtLine(FileBuffer *doc, int32_t line);

// Source-link upkeep (no links exist yet: nothing to do).
void RestoreSourceLinks(FileBuffer *doc, int32_t fromLine);
void DocRenameInLinks(FileBuffer *doc, const char *oldName);
void DropBackLinksToDoc(FileBuffer *doc);
