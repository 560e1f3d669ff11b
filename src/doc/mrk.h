// mrk: one mark set (prefix MrkSet): marks are named positions in a file buffer that move with its lines.
// A set is a plex of 28-byte marks with a sorted list of their names (identifier order, case-blind); each
// name's value is its mark's index in the plex. This is the set's least form: adding, finding, deleting and
// the file form that undo snapshots keep; ids, link lists and the macro functions come with the marks'
// own commands.
#pragma once

#include "base/plex.h"
#include "base/stl.h"

#include <cstdint>

enum { MARK_HISTORY = 1, MARK_BOOKMARK = 2, MARK_LINK = 3, MARK_BACKLINK = 4 };

struct Mark {
    int32_t kind;       // MARK_*
    int32_t line;       // the field that edits adjust
    int32_t column;     // kinds 1 and 2
    int32_t serial;     // kind 1: serial number; kinds 3 and 4: file index
    int32_t key;        // kinds 3 and 4: key index
    int32_t otherLine;  // kinds 3 and 4
    int32_t otherDocId; // kinds 3 and 4
};
static_assert(sizeof(Mark) == 28, "a mark is seven 32-bit words");

// Set flag bits.
enum : uint32_t { MARKSET_HAS_BACKLINKS = 0x1, MARKSET_HAS_LINKS = 0x2 };

// In memory only (pointers); the file form is told at MrkSetWrite.
struct MarkSet {
    Plex plex;       // the marks
    uint32_t flags;  // MARKSET_*
    int32_t current; // -1 when made
    Stl *names;      // one entry per mark, sorted; value: the mark's plex index
    Stl *fileNames;  // link sets only
    Stl *keys;       // link sets only
};

MarkSet *MrkSetCreate();
void MrkSetFree(MarkSet *set);
int32_t MrkSetCount(const MarkSet *set);
Mark *MrkSetAt(const MarkSet *set, int32_t plexIndex);
// Adds a mark under a name (cut at 255); a mark of that name is overwritten. 0 when out of memory.
int MrkSetAdd(MarkSet *set, const Mark *mark, const char *name);
void MrkSetDelete(MarkSet *set, int32_t nameIndex);
int32_t MrkSetNameIndex(const MarkSet *set, int32_t plexIndex); // -1 when none
int32_t MrkSetFindLine(const MarkSet *set, int32_t line);       // plex index of the first mark on it, -1
// The file form: int32 -1 for no set, else the mark count; the plex with its 52-byte header (the seven plex
// words, then flags, current index, and three words that are 1 where the names, file-name and key lists
// follow); then those lists. 1 on success; a failed read frees what it read.
int MrkSetWrite(int file, const MarkSet *set);
int MrkSetRead(int file, MarkSet **out);
