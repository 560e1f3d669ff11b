// dirt: directory trees over the tree record list (prefix Dirt); see dirt.h. A level is listed from the
// current folder: the build and the expansion change into each folder they list and put the current folder
// back on every way out.
#include "base/dirt.h"

#include "base/folder.h"
#include "base/path.h"
#include "base/str.h"
#include "base/ident.h"
#include "base/utilil.h"
#include "base/waitcur.h"

#include <cstring>

enum { DIRT_GROWTH = 10 };

Trl *DirtCreate() {
    Trl *tree = TrlCreate(0, sizeof(DirtRecord), 0, 1);
    if (tree) PlexSetGrowth(&tree->plex, DIRT_GROWTH);
    return tree;
}

static int DirtCmpName(const void *a, const void *b) {
    return StrCmpIdent(((const DirtRecord *)a)->name, ((const DirtRecord *)b)->name);
}

// Inserts the current folder's subfolders after the parent record, one level deeper, sorted, each with its
// leaf bit; the first one named target (ignoring case) is marked on the path. The target may be a short
// name ("PROGRA~1"), as the system hands out in temporary and profile folders: the record keeps the whole
// name, so paths built from the tree are in long form. The number inserted, or -1
// when an insertion failed (the ones inserted are taken out again).
static int32_t DirtScanHere(Trl *tree, int32_t parent, const char *target) {
    int32_t depth = TrlDepthAt(tree, parent) + 1, n = 0;
    FileFindSlot h;
    FileFindInitSlot(&h);
    FileFindData fd;
    DirtRecord record;
    for (int more = FileFindEx(&h, 1, FIND_FOLDERS, "*", &fd, nullptr, 0); more;
         more = FileFindEx(&h, 0, FIND_FOLDERS, "*", &fd, nullptr, 0)) {
        if (PathIsDots(fd.name) || strlen(fd.name) > DIRT_NAME_MAX) continue;
        memset(&record, 0, sizeof record);
        strcpy(record.name, fd.name);
        if (target && (StrEqualI(record.name, target) || StrEqualI(fd.shortName, target))) {
            record.flags = DIRT_ON_PATH;
            target = nullptr;
        }
        if (!DirHasSubfolders(record.name)) record.flags |= DIRT_LEAF;
        if (!TrlInsert(tree, parent + 1 + n, 1, &record, depth)) {
            FileFindCloseSlot(&h);
            TrlDelete(tree, parent + 1, n);
            return -1;
        }
        n++;
    }
    FileFindCloseSlot(&h);
    PlexSortRange(&tree->plex, parent + 1, n, DirtCmpName);
    return n;
}

// The next component of rest (empty ones, from doubled separators, are passed over); 0 at the end.
static int DirtNextComponent(const char **rest, char *out) {
    while (**rest == '\\') (*rest)++;
    if (!**rest) return 0;
    const char *end = StrChrEnd(*rest, '\\');
    StrCopyRange(*rest, end, out, PATH_BUFFER);
    *rest = end;
    return 1;
}

static int32_t DirtFindMarked(const Trl *tree, int32_t first, int32_t n) {
    for (int32_t i = first; i < first + n; i++)
        if (DirtAt(tree, i)->flags & DIRT_ON_PATH) return i;
    return -1;
}

// Lists each folder of the path from the root down; the record of each component is where the next level
// goes. The index of the path's own record, or -1 when a component is missing or an insertion failed.
static int32_t DirtBuildLevels(Trl *tree, const char *full, const char *root) {
    char folder[PATH_BUFFER], component[PATH_BUFFER];
    const char *rest = full + strlen(root);
    int32_t parent = 0;
    strcpy(folder, root);
    while (DirtNextComponent(&rest, component)) {
        if (!PathOsSetCurrentDir(folder)) return -1;
        int32_t n = DirtScanHere(tree, parent, component);
        int32_t next = n > 0 ? DirtFindMarked(tree, parent + 1, n) : -1;
        if (next < 0) return -1;
        TrlAt(tree, parent)->bits |= TRL_EXPANDED;
        parent = next;
        PathAppend(DirtAt(tree, parent)->name, folder);
    }
    return parent;
}

// A drive root always with its backslash: "C:" alone names the drive's current folder.
static void DirtRootOf(const char *full, char *root) {
    PathGetRoot(full, root);
    if (PathGetDrive(root) && !root[2]) strcpy(root + 2, "\\");
}

Trl *DirtCreateForPath(const char *path, int32_t *outIndex) {
    char full[PATH_BUFFER];
    DirtRecord record = {};
    if (outIndex) *outIndex = -1;
    if (!DirFullPath(path, full)) return nullptr;
    DirtRootOf(full, record.name);
    DirKeep keep;
    Trl *tree = DirtCreate();
    if (!tree) return nullptr;
    int32_t index = TrlInsert(tree, 0, 1, &record, 0) ? DirtBuildLevels(tree, full, record.name) : -1;
    if (index < 0) {
        PlexFree(&tree->plex);
        return nullptr;
    }
    if (outIndex) *outIndex = index;
    return tree;
}

void DirtGetPath(const Trl *tree, int32_t index, char *out) {
    out[0] = 0;
    if (index < 0 || index >= TrlCount(tree)) return;
    StrCopyMaxLen(DirtAt(tree, index)->name, out, PATH_MAX_CHARS);
    for (int32_t p = TrlParentIndex(tree, index); p >= 0; p = TrlParentIndex(tree, p)) {
        char whole[PATH_BUFFER];
        StrCopyMaxLen(DirtAt(tree, p)->name, whole, PATH_MAX_CHARS);
        PathAppend(out, whole);
        strcpy(out, whole);
    }
}

// Roots compare ignoring case and a trailing backslash: "c:" finds the record "C:\".
static int DirtSameRoot(const char *a, const char *b) {
    size_t na = strlen(a), nb = strlen(b);
    if (na && a[na - 1] == '\\') na--;
    if (nb && b[nb - 1] == '\\') nb--;
    return na == nb && MemEqualI(a, b, (int)na);
}

static int32_t DirtFindChild(const Trl *tree, int32_t parent, const char *name) {
    int32_t depth = TrlDepthAt(tree, parent) + 1;
    for (int32_t i = parent + 1; i < TrlCount(tree) && TrlDepthAt(tree, i) >= depth; i++)
        if (TrlDepthAt(tree, i) == depth && StrEqualI(DirtAt(tree, i)->name, name)) return i;
    return -1;
}

int32_t DirtFindPath(const Trl *tree, const char *path) {
    char p[PATH_BUFFER], root[PATH_BUFFER], component[PATH_BUFFER];
    StrCopyMaxLen(path, p, PATH_MAX_CHARS);
    PathNormalize(p);
    PathGetRoot(p, root);
    int32_t at = 0;
    while (at < TrlCount(tree) && !(TrlDepthAt(tree, at) == 0 && DirtSameRoot(DirtAt(tree, at)->name, root)))
        at++;
    if (at == TrlCount(tree)) return -1;
    const char *rest = p + strlen(root);
    while (at >= 0 && DirtNextComponent(&rest, component)) at = DirtFindChild(tree, at, component);
    return at;
}

// The walk's step: lists one record's subfolders after it.
static int DirtScanStep(TrlWalk *, Trl *tree, int32_t index) {
    char folder[PATH_BUFFER];
    DirtGetPath(tree, index, folder);
    return PathOsSetCurrentDir(folder) && DirtScanHere(tree, index, nullptr) >= 0;
}

int DirtExpand(Trl *tree, int32_t index, int32_t value, int32_t *outAdded) {
    if (outAdded) *outAdded = 0;
    if (index < 0 || index >= TrlCount(tree)) return 0;
    DirKeep keep;
    WaitCursor();
    int32_t before = TrlCount(tree);
    TrlWalk walk;
    TrlWalkInit(&walk);
    walk.callback = DirtScanStep;
    walk.levelLimit = value;
    int ok = TrlWalkSubtree(tree, index, &walk);
    WaitCursorOff();
    if (outAdded) *outAdded = TrlCount(tree) - before;
    return ok;
}
