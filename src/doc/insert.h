// insert: typing and insertion (prefix Insert, and the typing run). Least form: ending a typing run (none is
// opened yet) and giving an empty buffer its one line.
#pragma once

struct FileBuffer;

int EndTypingRun();
int EnsureOneLine(FileBuffer *doc);
