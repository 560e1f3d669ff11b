// docproj: a file buffer's membership of a project (prefix Doc...Proj...). Least form: what loading and
// saving call: the parse-state marks and the update of the project's symbols.
#pragma once

#include "doc/doc.h"

// Sets the project file entry's re-parse and second bits (-1 leaves one unchanged); the re-parse value is
// copied into the buffer's flag bit 29.
void DocSetProjParseState(FileBuffer *doc, int reparse, int other);
int DocUpdateProjectSymbols(FileBuffer *doc);
