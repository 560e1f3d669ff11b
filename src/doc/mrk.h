// mrk: marks, named positions in a file buffer that move with its lines (prefix Mrk, MrkSet). One mark set is
// a plex of 28-byte marks with a sorted list of their names (identifier order, case-blind, leading
// underscores skipped); each name's value is its mark's index in the plex, so a mark is addressed either by
// its plex index (the order of adding) or by its name index (sorted order). Link sets (a buffer's set 3) also
// keep a file-name list (values are reference counts; an entry whose count drops to 0 is blanked, never
// removed, so file indexes stay valid) and a key list (one entry per link mark, blanked when it goes).
// Link ids: the per-user setting "MarkID" holds the last id handed out.
//
// File form of a set (MrkSetWrite / MrkSetRead), 32-bit little-endian words at the file's position:
//   int32 -1 when there is no set, else the mark count (a presence marker only);
//   the 52-byte header: the seven plex words as the plex file form writes them (count, capacity, element
//     size 28, quantum, 0, 0, plex flags), the set's flags, the current index, three presence words (1 where
//     the names, file-name and key lists follow, else 0) and one zero word;
//   the marks, count x 28 bytes;
//   the names list, then the file-name and key lists when present (string-list file form).
// A set read back names each mark exactly once, with names values inside the plex, kinds 1 to 4, and the file
// and key indexes of kinds 3 and 4 inside their lists; anything else is refused with nothing kept.
// Success convention of the document core: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include "base/plex.h"
#include "base/stl.h"

#include <cstdint>

enum { MARK_HISTORY = 1, MARK_BOOKMARK = 2, MARK_LINK = 3, MARK_BACKLINK = 4 };

struct Mark {
    int32_t kind;       // MARK_*
    int32_t line;       // the field that edits adjust
    int32_t column;     // kinds 1 and 2; 0 for kinds 3 and 4
    int32_t serial;     // kind 1: serial number; kinds 3 and 4: the other end's file index
    int32_t key;        // kinds 3 and 4: key index of the other end's mark name
    int32_t otherLine;  // kinds 3 and 4: the other end's line when the mark was made
    int32_t otherDocId; // kinds 3 and 4: the other buffer's id, 0 when it was not open
};
static_assert(sizeof(Mark) == 28, "a mark is seven 32-bit words");

// Set flag bits; both are cleared together only when the set becomes empty.
enum : uint32_t { MARKSET_HAS_BACKLINKS = 0x1, MARKSET_HAS_LINKS = 0x2 };

// In memory only (its pointers grow on 64-bit); the file form is the header above.
struct MarkSet {
    Plex plex;         // the marks
    uint32_t flags;    // MARKSET_*
    int32_t current;   // -1 when made; follows its mark when marks before it are deleted
    Stl *names;        // one entry per mark, sorted; value: the mark's plex index
    Stl *fileNames;    // link sets only; value: reference count
    Stl *keys;         // link sets only
    uint32_t reserved; // 0
};

// Link ids. MrkIdInit (start-up) reads "MarkID", writing 0 when it is missing; MrkNextId hands out the next id
// (1 after a fresh setting) and writes it at once.
int MrkIdInit();
int32_t MrkNextId();

// One set. Create: a set with its names list, null when out of memory (nothing left allocated).
MarkSet *MrkSetCreate();
int MrkSetAddLinkLists(MarkSet *set); // 0 with nothing added when out of memory
void MrkSetFree(MarkSet *set);
int32_t MrkSetCount(const MarkSet *set); // 0 for a null set
Mark *MrkSetAt(const MarkSet *set, int32_t plexIndex);

// Adds a mark under a name (cut at 255); a mark of that name is overwritten in place. A kind-1 mark takes the
// next serial number. 0 when out of memory, the set as it was.
int MrkSetAdd(MarkSet *set, const Mark *mark, const char *name);
// A new zeroed mark {kind, line, column} at a plex index (the later marks move up); 0 when out of memory, the
// set as it was.
int MrkSetInsertAt(MarkSet *set, int32_t plexIndex, int32_t kind, int32_t line, int32_t column,
                   const char *name);
// Deletes the mark of name index i, releasing its file-name and key entries.
void MrkSetDelete(MarkSet *set, int32_t nameIndex);
// Copies the mark of name index i and, when asked, its name as a C string (256 bytes); 0 for a bad index.
int MrkSetGet(const MarkSet *set, int32_t nameIndex, Mark *out, char *outName);

// Lookups. Names are length-prefixed; -1 and null answer "none".
Mark *MrkSetFindByName(const MarkSet *set, const unsigned char *name); // binary search
int32_t MrkSetIndexByName(const MarkSet *set, const unsigned char *name);
int32_t MrkSetMarkIndex(const MarkSet *set, int32_t nameIndex);
int32_t MrkSetNameIndex(const MarkSet *set, int32_t plexIndex);
int32_t MrkSetFindSerial(const MarkSet *set, int32_t serial);     // plex index; a null set gives -1
int32_t MrkSetFindSerialName(const MarkSet *set, int32_t serial); // name index, walking in name order
int32_t MrkSetFindLine(const MarkSet *set, int32_t line);         // plex index of the first mark on it
Mark *MrkSetMarkAtLine(const MarkSet *set, int32_t line);
const unsigned char *MrkSetMarkName(const MarkSet *set, int32_t plexIndex); // valid until the set changes

// The file form (see above). A null set is written as -1 and read back as null. 1 on success; a failed or
// refused read frees everything it read and leaves *out null.
int MrkSetWrite(int file, const MarkSet *set);
int MrkSetRead(int file, MarkSet **out);
