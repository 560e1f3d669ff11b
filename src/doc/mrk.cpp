// mrk: marks and mark sets (prefix Mrk, MrkSet). Globals: the run-time serial counter of kind-1 marks
// (starts at 0, not saved) and the last link id handed out. Names values are plex indexes, so every insertion
// or deletion in the plex adds or subtracts 1 across the names in one pass.
#include "doc/mrk.h"

#include "base/file.h"
#include "base/os.h"
#include "base/utilil.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>

enum { MARKSET_CAPACITY = 3, MARKSET_BUCKETS = 10, MARKSET_TAIL_WORDS = 6 };

static const char mrkIdValue[] = "MarkID";

static int32_t mrkSerial;
static int32_t mrkIdCurrent;

// ---- Link ids ----

int MrkIdInit() {
    if (!OsSettingGetInt(mrkIdValue, &mrkIdCurrent)) {
        mrkIdCurrent = 0;
        OsSettingSetInt(mrkIdValue, 0);
    }
    return 1;
}

int32_t MrkNextId() {
    mrkIdCurrent++;
    OsSettingSetInt(mrkIdValue, mrkIdCurrent);
    return mrkIdCurrent;
}

static int32_t MrkNextSerial() {
    return ++mrkSerial;
}

// ---- Creating and freeing ----

MarkSet *MrkSetCreate() {
    MarkSet *set = (MarkSet *)PlexCreateEx(sizeof(MarkSet), sizeof(Mark), MARKSET_CAPACITY, PLEX_AUTOSHRINK);
    if (!set) return nullptr;
    set->current = -1;
    set->names = StlCreateHashed(MARKSET_CAPACITY, MARKSET_BUCKETS);
    if (set->names) return set;
    PlexFree(&set->plex);
    return nullptr;
}

int MrkSetAddLinkLists(MarkSet *set) {
    if (set->fileNames && set->keys) return 1;
    Stl *fileNames = StlCreateHashed(MARKSET_CAPACITY, MARKSET_BUCKETS);
    Stl *keys = StlCreateHashed(MARKSET_CAPACITY, MARKSET_BUCKETS);
    if (!fileNames || !keys) {
        StlFreeNull(&fileNames);
        StlFreeNull(&keys);
        return 0;
    }
    StlFreeNull(&set->fileNames);
    StlFreeNull(&set->keys);
    set->fileNames = fileNames;
    set->keys = keys;
    return 1;
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

// ---- Adding and deleting ----

static void MrkSetNoteKind(MarkSet *set, int32_t kind) {
    if (kind == MARK_LINK) set->flags |= MARKSET_HAS_LINKS;
    if (kind == MARK_BACKLINK) set->flags |= MARKSET_HAS_BACKLINKS;
}

int MrkSetAdd(MarkSet *set, const Mark *mark, const char *name) {
    unsigned char pstr[256];
    PstrFromSz(name, pstr);
    Mark copy = *mark;
    if (copy.kind == MARK_HISTORY) copy.serial = MrkNextSerial();
    int32_t index;
    if (StlSearchIdent(set->names, pstr, &index)) {
        *MrkSetAt(set, StlItemValue(StlItem(set->names, index))) = copy;
    } else {
        if (!StlInsert(set->names, index, pstr, set->plex.count)) return 0;
        if (!PlexInsert(&set->plex, -1, 1, &copy)) {
            StlDelete(set->names, index);
            return 0;
        }
    }
    MrkSetNoteKind(set, copy.kind);
    return 1;
}

// The current index keeps pointing at its mark, as it does when marks before it are deleted.
int MrkSetInsertAt(MarkSet *set, int32_t plexIndex, int32_t kind, int32_t line, int32_t column,
                   const char *name) {
    if (plexIndex < 0 || plexIndex > set->plex.count) plexIndex = set->plex.count;
    unsigned char pstr[256];
    PstrFromSz(name, pstr);
    Mark mark = {kind, line, column, 0, 0, 0, 0};
    if (kind == MARK_HISTORY) mark.serial = MrkNextSerial();
    StlAdjustValues(set->names, plexIndex, 1);
    int32_t at;
    StlSearchIdent(set->names, pstr, &at);
    bool named = StlInsert(set->names, at, pstr, plexIndex);
    if (!named || !PlexInsert(&set->plex, plexIndex, 1, &mark)) {
        if (named) StlDelete(set->names, at);
        StlAdjustValues(set->names, plexIndex + 1, -1);
        return 0;
    }
    if (set->current >= plexIndex) set->current++;
    MrkSetNoteKind(set, kind);
    return 1;
}

static bool MrkListHas(const Stl *list, int32_t index) {
    return list && index >= 0 && index < StlCount(list);
}

static void MrkListBlank(Stl *list, int32_t index) {
    static const unsigned char empty[1] = {0};
    StlSet(list, index, empty, 0);
}

// A link end lets go of its file-name entry (blanked when no other mark uses it) and of its key.
static void MrkSetReleaseLink(MarkSet *set, const Mark *mark) {
    if (MrkListHas(set->fileNames, mark->serial)) {
        unsigned char *item = StlItem(set->fileNames, mark->serial);
        int32_t count = StlItemValue(item);
        if (count <= 1)
            MrkListBlank(set->fileNames, mark->serial);
        else
            PlexVarPut32(item, count - 1);
    }
    if (MrkListHas(set->keys, mark->key)) MrkListBlank(set->keys, mark->key);
}

void MrkSetDelete(MarkSet *set, int32_t nameIndex) {
    if (!set || nameIndex < 0 || nameIndex >= StlCount(set->names)) return;
    int32_t a = StlItemValue(StlItem(set->names, nameIndex));
    Mark *mark = MrkSetAt(set, a);
    if (mark->kind == MARK_LINK || mark->kind == MARK_BACKLINK) MrkSetReleaseLink(set, mark);
    StlDelete(set->names, nameIndex);
    PlexDelete(&set->plex, a, 1);
    StlAdjustValues(set->names, a, -1);
    if (set->current >= a && --set->current < 0) set->current = set->plex.count - 1;
    if (set->plex.count == 0) set->flags &= ~(MARKSET_HAS_LINKS | MARKSET_HAS_BACKLINKS);
}

int MrkSetGet(const MarkSet *set, int32_t nameIndex, Mark *out, char *outName) {
    int32_t a = MrkSetMarkIndex(set, nameIndex);
    if (a < 0) return 0;
    *out = *MrkSetAt(set, a);
    if (outName) {
        const unsigned char *name = StlItemPstr(StlItem(set->names, nameIndex));
        memcpy(outName, name + 1, name[0]);
        outName[name[0]] = 0;
    }
    return 1;
}

// ---- Lookups ----

int32_t MrkSetIndexByName(const MarkSet *set, const unsigned char *name) {
    int32_t index;
    if (!set || !StlSearchIdent(set->names, name, &index)) return -1;
    return StlItemValue(StlItem(set->names, index));
}

Mark *MrkSetFindByName(const MarkSet *set, const unsigned char *name) {
    int32_t a = MrkSetIndexByName(set, name);
    return a < 0 ? nullptr : MrkSetAt(set, a);
}

int32_t MrkSetMarkIndex(const MarkSet *set, int32_t nameIndex) {
    if (!set || nameIndex < 0 || nameIndex >= StlCount(set->names)) return -1;
    return StlItemValue(StlItem(set->names, nameIndex));
}

int32_t MrkSetNameIndex(const MarkSet *set, int32_t plexIndex) {
    int32_t index;
    return set && StlFindValue(set->names, plexIndex, &index) ? index : -1;
}

int32_t MrkSetFindSerial(const MarkSet *set, int32_t serial) {
    for (int32_t i = 0; i < MrkSetCount(set); i++)
        if (MrkSetAt(set, i)->serial == serial) return i;
    return -1;
}

int32_t MrkSetFindSerialName(const MarkSet *set, int32_t serial) {
    for (int32_t i = 0; set && i < StlCount(set->names); i++)
        if (MrkSetAt(set, StlItemValue(StlItem(set->names, i)))->serial == serial) return i;
    return -1;
}

int32_t MrkSetFindLine(const MarkSet *set, int32_t line) {
    for (int32_t i = 0; i < MrkSetCount(set); i++)
        if (MrkSetAt(set, i)->line == line) return i;
    return -1;
}

Mark *MrkSetMarkAtLine(const MarkSet *set, int32_t line) {
    int32_t a = MrkSetFindLine(set, line);
    return a < 0 ? nullptr : MrkSetAt(set, a);
}

const unsigned char *MrkSetMarkName(const MarkSet *set, int32_t plexIndex) {
    int32_t i = MrkSetNameIndex(set, plexIndex);
    return i < 0 ? nullptr : StlItemPstr(StlItem(set->names, i));
}

// ---- The file form ----

// The stored header: the plex record, whose file form the plex layer writes, and the set's own words behind
// it, so that the plex layer carries them as the caller's header bytes.
struct MrkSetFileHead {
    Plex plex;
    int32_t words[MARKSET_TAIL_WORDS]; // flags, current, three presence words, 0
};
static_assert(offsetof(MrkSetFileHead, words) == sizeof(Plex), "the set's words follow the plex record");
static_assert(PLEX_FILE_HEADER + sizeof(MrkSetFileHead::words) == 52, "a stored set header is 52 bytes");

enum { MARKSET_HEAD_BYTES = sizeof(Plex) + MARKSET_TAIL_WORDS * 4 };
enum { MARKSET_WORD_FLAGS, MARKSET_WORD_CURRENT, MARKSET_WORD_NAMES, MARKSET_WORD_FILES, MARKSET_WORD_KEYS };

int MrkSetWrite(int file, const MarkSet *set) {
    int32_t count = set ? set->plex.count : -1;
    if (!FileWriteExact(file, &count, 4)) return 0;
    if (!set) return 1;
    MrkSetFileHead head = {set->plex,
                           {(int32_t)set->flags, set->current, set->names != nullptr,
                            set->fileNames != nullptr, set->keys != nullptr, 0}};
    if (!PlexWrite(&head.plex, MARKSET_HEAD_BYTES, file) || !StlWrite(set->names, file)) return 0;
    for (Stl *list : {set->fileNames, set->keys}) {
        if (!list) continue;
        PlexVarTrim(&list->pv);
        if (!StlWrite(list, file)) return 0;
    }
    return 1;
}

static bool MrkListRead(int file, int32_t present, Stl **out) {
    *out = present ? StlRead(file) : nullptr;
    return !present || *out;
}

// Each name's value is a plex index, and each plex index is named once.
static bool MrkSetNamesAreIndexes(const MarkSet *set) {
    int32_t count = set->plex.count;
    if (StlCount(set->names) != count) return false;
    bool *named = (bool *)MemAlloc((size_t)count + 1);
    bool ok = named != nullptr;
    for (int32_t i = 0; ok && i < count; i++) {
        uint32_t value = (uint32_t)StlItemValue(StlItem(set->names, i));
        ok = value < (uint32_t)count && !named[value];
        if (ok) named[value] = true;
    }
    MemFree(named);
    return ok;
}

// Kinds 1 to 4; the link ends' file and key indexes inside their lists.
static bool MrkSetMarksSound(const MarkSet *set) {
    for (int32_t i = 0; i < set->plex.count; i++) {
        const Mark *mark = MrkSetAt(set, i);
        if (mark->kind < MARK_HISTORY || mark->kind > MARK_BACKLINK) return false;
        bool link = mark->kind == MARK_LINK || mark->kind == MARK_BACKLINK;
        if (link && !(MrkListHas(set->fileNames, mark->serial) && MrkListHas(set->keys, mark->key)))
            return false;
    }
    return true;
}

// The names list is always there; the file-name and key lists come together or not at all.
static bool MrkSetPresenceSound(const int32_t *words) {
    int32_t files = words[MARKSET_WORD_FILES], keys = words[MARKSET_WORD_KEYS];
    return words[MARKSET_WORD_NAMES] == 1 && (files == 0 || files == 1) && keys == files;
}

static bool MrkSetReadBody(int file, MarkSet *set, const int32_t *words) {
    return MrkSetPresenceSound(words) && MrkListRead(file, words[MARKSET_WORD_NAMES], &set->names) &&
           MrkListRead(file, words[MARKSET_WORD_FILES], &set->fileNames) &&
           MrkListRead(file, words[MARKSET_WORD_KEYS], &set->keys) && MrkSetNamesAreIndexes(set) &&
           MrkSetMarksSound(set);
}

int MrkSetRead(int file, MarkSet **out) {
    *out = nullptr;
    int32_t count;
    if (!FileReadExact(file, &count, 4)) return 0;
    if (count == -1) return 1;
    Plex *plex = nullptr;
    if (!PlexReadExpect(&plex, MARKSET_HEAD_BYTES, sizeof(Mark), file)) return 0;
    MarkSet *set = (MarkSet *)MemAlloc(sizeof(MarkSet));
    if (!set) {
        PlexFree(plex);
        return 0;
    }
    int32_t words[MARKSET_TAIL_WORDS];
    memcpy(words, ((MrkSetFileHead *)plex)->words, sizeof words);
    set->plex = *plex;
    MemFree(plex);
    set->flags = (uint32_t)words[MARKSET_WORD_FLAGS] & (MARKSET_HAS_LINKS | MARKSET_HAS_BACKLINKS);
    set->current = ClampValue(words[MARKSET_WORD_CURRENT], -1, set->plex.count - 1);
    if (!MrkSetReadBody(file, set, words)) {
        MrkSetFree(set);
        return 0;
    }
    *out = set;
    return 1;
}
