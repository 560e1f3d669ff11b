// dirt: directory trees (prefix Dirt): a tree record list of folders that the file-selection control shows
// as an outline. A tree is built for one path, every level from the root down with the siblings of each
// component, and expanded on demand. Free a tree with PlexFree.
#pragma once

#include "base/trl.h"

#include <cstdint>

enum {
    DIRT_LEAF = 0x1,    // the folder has no subfolders
    DIRT_ON_PATH = 0x2, // the folder is a component of the path the tree was built for
    DIRT_NAME_MAX = 255,
};

// One folder. The root record holds the root of the path (a drive root or a network share root), every
// other record one folder name, whole: a name cut short would build paths that do not exist. Records stand
// in outline order, a folder's subfolders after it one level deeper, sorted by identifier order of their
// names. In memory only.
struct DirtRecord {
    TrlRecord trl;  // the depth; the other two words are the tree list's own
    uint32_t flags; // DIRT_*
    char name[DIRT_NAME_MAX + 1];
};

inline DirtRecord *DirtAt(const Trl *tree, int32_t index) {
    return (DirtRecord *)TrlAt(tree, index);
}

Trl *DirtCreate();
// Null when a component of the path is not among its parent's subfolders; out index is the record of the
// path's own folder.
Trl *DirtCreateForPath(const char *path, int32_t *outIndex);
void DirtGetPath(const Trl *tree, int32_t index, char *out); // PATH_BUFFER bytes
int32_t DirtFindPath(const Trl *tree, const char *path);     // -1 when the tree has no record for it
// Inserts the subfolders of the record's folder after it, and below them as far as value levels reach
// (1: the record's own subfolders); out added is the number of records added.
int DirtExpand(Trl *tree, int32_t index, int32_t value, int32_t *outAdded);
