// docproj: a file buffer's membership of a project (prefix Doc...Proj...): the project's slot in the
// open-project table and the file's index in its file list (both -1 when none), set and cleared as
// projects open, close or become current; the project's read-only state and its flag bit 27 copied onto the
// buffer; and the buffer's symbol questions forwarded to the project layer (its hook table, doc/dochook.h).
#pragma once

#include "doc/doc.h"

#include <cstdint>

// Stores the membership (slot -1: none); a buffer that was a member has its symbols marked out of date.
// Flag bit 27 becomes the project's own (cleared without a project).
void DocSetProject(FileBuffer *doc, int32_t slot, int32_t fileIndex);
// The buffer joins the project when its file is one of the project's, else leaves any project; a read-only
// project makes the buffer and its open file read-only. The buffer's windows are retitled.
void DocJoinProject(FileBuffer *doc, int32_t slot);
void DocsJoinProject(int32_t slot); // every buffer
// The project's symbol database updated from the buffer's file; 1 without a project.
int DocUpdateProjectSymbols(FileBuffer *doc);
// The project's entry for the file is marked for re-parse, or (with fCheckFile) the file changed since the
// project stored it; false outside a project or without a file.
bool DocChangedSinceParse(FileBuffer *doc, bool fCheckFile);
// Sets the project file entry's re-parse and second bits (-1 leaves one unchanged); the re-parse value is
// copied into the buffer's flag bit 29.
void DocSetProjParseState(FileBuffer *doc, int reparse, int other);
