// mrk: one mark set (prefix MrkSet). Names values are plex indexes, so deleting a mark subtracts 1 from the
// values above it in one pass.
#include "doc/mrk.h"

#include "base/file.h"
#include "base/utilil.h"

#include <cstring>

enum { MARKSET_CAPACITY = 3, MARKSET_BUCKETS = 10, MARKSET_TAIL_WORDS = 6 };

MarkSet *MrkSetCreate() {
    MarkSet *set = (MarkSet *)PlexCreateEx(sizeof(MarkSet), sizeof(Mark), MARKSET_CAPACITY, PLEX_AUTOSHRINK);
    if (!set) return nullptr;
    set->current = -1;
    set->names = StlCreateHashed(MARKSET_CAPACITY, MARKSET_BUCKETS);
    if (set->names) return set;
    PlexFree(&set->plex);
    return nullptr;
}

void MrkSetFree(MarkSet *set) {
    if (!set) return;
    StlFreeNull(&set->names);
    StlFreeNull(&set->fileNames);
    StlFreeNull(&set->keys);
    PlexFree(&set->plex);
}

int32_t MrkSetCount(const MarkSet *set) {
    return set ? set->plex.count : 0;
}

Mark *MrkSetAt(const MarkSet *set, int32_t plexIndex) {
    return (Mark *)PlexElem(&set->plex, plexIndex);
}

static void MrkSetNoteKind(MarkSet *set, int32_t kind) {
    if (kind == MARK_LINK) set->flags |= MARKSET_HAS_LINKS;
    if (kind == MARK_BACKLINK) set->flags |= MARKSET_HAS_BACKLINKS;
}

int MrkSetAdd(MarkSet *set, const Mark *mark, const char *name) {
    unsigned char pstr[256];
    PstrFromSz(name, pstr);
    int32_t index;
    if (StlSearchIdent(set->names, pstr, &index)) {
        *MrkSetAt(set, StlItemValue(StlItem(set->names, index))) = *mark;
    } else {
        if (!StlInsert(set->names, index, pstr, set->plex.count)) return 0;
        if (!PlexInsert(&set->plex, -1, 1, mark)) {
            StlDelete(set->names, index);
            return 0;
        }
    }
    MrkSetNoteKind(set, mark->kind);
    return 1;
}

void MrkSetDelete(MarkSet *set, int32_t nameIndex) {
    if (nameIndex < 0 || nameIndex >= StlCount(set->names)) return;
    int32_t a = StlItemValue(StlItem(set->names, nameIndex));
    StlDelete(set->names, nameIndex);
    PlexDelete(&set->plex, a, 1);
    StlAdjustValues(set->names, a, -1);
    if (set->current >= a && --set->current < 0) set->current = set->plex.count - 1;
    if (set->plex.count == 0) set->flags &= ~(MARKSET_HAS_LINKS | MARKSET_HAS_BACKLINKS);
}

int32_t MrkSetNameIndex(const MarkSet *set, int32_t plexIndex) {
    int32_t index;
    return StlFindValue(set->names, plexIndex, &index) ? index : -1;
}

int32_t MrkSetFindLine(const MarkSet *set, int32_t line) {
    for (int32_t i = 0; i < MrkSetCount(set); i++)
        if (MrkSetAt(set, i)->line == line) return i;
    return -1;
}

// ---- The file form ----

static int MrkListWrite(int file, const Stl *list) {
    return !list || StlWrite(list, file);
}

int MrkSetWrite(int file, const MarkSet *set) {
    int32_t count = set ? set->plex.count : -1;
    if (!FileWriteExact(file, &count, 4)) return 0;
    if (!set) return 1;
    int32_t tail[MARKSET_TAIL_WORDS] = {(int32_t)set->flags,   set->current,
                                        set->names != nullptr, set->fileNames != nullptr,
                                        set->keys != nullptr,  0};
    return PlexWrite(&set->plex, sizeof(Plex), file) && FileWriteExact(file, tail, sizeof tail) &&
           MrkListWrite(file, set->names) && MrkListWrite(file, set->fileNames) &&
           MrkListWrite(file, set->keys);
}

static int MrkListRead(int file, int32_t present, Stl **out) {
    *out = present ? StlRead(file) : nullptr;
    return !present || *out;
}

// Each name's value is a plex index, and each plex index is named once.
static bool MrkSetNamesAreIndexes(const MarkSet *set) {
    int32_t count = set->plex.count;
    bool *named = (bool *)MemAlloc((size_t)count + 1);
    bool ok = named != nullptr;
    for (int32_t i = 0; ok && i < StlCount(set->names); i++) {
        uint32_t value = (uint32_t)StlItemValue(StlItem(set->names, i));
        ok = value < (uint32_t)count && !named[value];
        if (ok) named[value] = true;
    }
    MemFree(named);
    return ok;
}

int MrkSetRead(int file, MarkSet **out) {
    *out = nullptr;
    int32_t count;
    if (!FileReadExact(file, &count, 4)) return 0;
    if (count == -1) return 1;
    Plex *plex = nullptr;
    int32_t tail[MARKSET_TAIL_WORDS] = {};
    if (!PlexReadExpect(&plex, sizeof(Plex), sizeof(Mark), file)) return 0;
    MarkSet *set = (MarkSet *)MemAlloc(sizeof(MarkSet));
    if (!set) {
        PlexFree(plex);
        return 0;
    }
    set->plex = *plex;
    MemFree(plex);
    bool ok = FileReadExact(file, tail, sizeof tail) && MrkListRead(file, tail[2], &set->names) &&
              MrkListRead(file, tail[3], &set->fileNames) && MrkListRead(file, tail[4], &set->keys) &&
              set->names && StlCount(set->names) == set->plex.count;
    set->flags = (uint32_t)tail[0];
    set->current = ClampValue(tail[1], -1, set->plex.count - 1);
    ok = ok && MrkSetNamesAreIndexes(set);
    if (!ok) {
        MrkSetFree(set);
        return 0;
    }
    *out = set;
    return 1;
}
