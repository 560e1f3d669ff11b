// docmrk: the mark sets of a file buffer and their adjustment by the change notice (prefix Doc). Every loop
// walks a set's plex from the end and deletes through MrkSetDelete, so indexes still to visit stay valid.
#include "doc/docmrk.h"

enum { DOC_MARK_SETS = 3 };

// A link set carries its file-name and key lists from the start, or is not made.
static MarkSet *DocCreateMarkSet(int n) {
    MarkSet *set = MrkSetCreate();
    if (set && n == MARK_LINK && !MrkSetAddLinkLists(set)) {
        MrkSetFree(set);
        return nullptr;
    }
    return set;
}

MarkSet *DocGetMarkSetEx(FileBuffer *doc, int n, bool create) {
    if (n < 1 || n > DOC_MARK_SETS) return nullptr;
    MarkSet **slot = &doc->rgmrk[n - 1];
    if (!*slot && create) *slot = DocCreateMarkSet(n);
    return *slot;
}

MarkSet *DocGetMarkSet(FileBuffer *doc, int n) {
    return DocGetMarkSetEx(doc, n, true);
}

MarkSet *DocGetLinkSet(FileBuffer *doc) {
    MarkSet *set = doc->rgmrk[MARK_LINK - 1];
    return MrkSetCount(set) > 0 ? set : nullptr;
}

int32_t DocLinkCount(FileBuffer *doc) {
    return MrkSetCount(doc->rgmrk[MARK_LINK - 1]);
}

void DocFreeMarkSets(FileBuffer *doc) {
    for (MarkSet *&set : doc->rgmrk) {
        MrkSetFree(set);
        set = nullptr;
    }
}

static void DocSetDeleteRange(MarkSet *set, int32_t first, int32_t end) {
    for (int32_t i = MrkSetCount(set) - 1; i >= 0; i--) {
        int32_t line = MrkSetAt(set, i)->line;
        if (line >= first && line < end) MrkSetDelete(set, MrkSetNameIndex(set, i));
    }
}

void DocMarksDeleteRange(FileBuffer *doc, int32_t first, int32_t end) {
    if (first == 0 && end == DOC_MARKS_ALL_END) {
        MarkSet *links = doc->rgmrk[MARK_LINK - 1];
        if (links && (links->flags & MARKSET_HAS_LINKS)) DropBackLinksToDoc(doc);
        DocFreeMarkSets(doc);
        return;
    }
    for (MarkSet *set : doc->rgmrk) DocSetDeleteRange(set, first, end);
}

void DocLinksDeleteRange(FileBuffer *doc, int32_t first, int32_t end) {
    DocSetDeleteRange(doc->rgmrk[MARK_LINK - 1], first, end);
}

void DocMarksShift(FileBuffer *doc, int32_t first, int32_t last, int32_t delta) {
    for (MarkSet *set : doc->rgmrk)
        for (int32_t i = 0; i < MrkSetCount(set); i++) {
            Mark *mark = MrkSetAt(set, i);
            if (mark->line >= first && mark->line <= last) mark->line += delta;
        }
}

int DocAddBookmark(FileBuffer *doc, const char *name, int32_t line, int32_t column) {
    MarkSet *set = DocGetMarkSet(doc, MARK_BOOKMARK);
    Mark mark = {MARK_BOOKMARK, line, column, 0, 0, 0, 0};
    return set && MrkSetAdd(set, &mark, name);
}

int GetBookmarkAtLine(FileBuffer *doc, int32_t line, Mark *out, char *outName) {
    MarkSet *set = doc->rgmrk[MARK_BOOKMARK - 1];
    int32_t a = MrkSetFindLine(set, line);
    return a >= 0 && MrkSetGet(set, MrkSetNameIndex(set, a), out, outName);
}

bool DocHasBookmarkAtLine(FileBuffer *doc, int32_t line) {
    return MrkSetFindLine(doc->rgmrk[MARK_BOOKMARK - 1], line) >= 0;
}

void RestoreSourceLinks(FileBuffer *, int32_t) {}
void DocRenameInLinks(FileBuffer *, const char *) {}
void DropBackLinksToDoc(FileBuffer *) {}
