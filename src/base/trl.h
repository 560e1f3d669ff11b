// trl: the tree record list (prefix Trl), a tree kept as a flat plex of fixed-size records in depth-first
// order. Each record carries its depth; a record's children are the records that follow it with a greater
// depth. A list control shows it row by row; a subtree is expanded lazily by inserting child records after
// its root and collapsed by deleting them. Free a list with PlexFree.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

#include "base/plex.h"

#include <cstdint>

// The header: the plex header, then four words. Callers may create the list with a larger header and keep
// their own fields behind it. In memory only.
struct Trl {
    Plex plex;
    int32_t naturalOrder; // 1 while the records stand in insertion order; 0 after a sort until restored
    int32_t recordSize;   // bytes per record, at least 12
    int32_t headerSize;   // as given at creation, at least 56
    int32_t lastKey;      // the last record key issued; 0 at creation
};

// The three words every record starts with; the caller's fields follow.
struct TrlRecord {
    uint32_t bits;    // depth in bits 0-9 (signed), TRL_EXPANDED, the caller's flags in bits 11-31
    int32_t savedPos; // the record's index in natural order, written before a sort
    int32_t key;      // unique within the list, never reused
};

enum {
    TRL_DEPTH_MASK = 0x3FF,
    TRL_EXPANDED = 0x400, // the children were inserted, or the record was found to have none
    TRL_HEADER_MIN = 56,
    TRL_RECORD_MIN = 12,
};

// Walk flags: TRL_WALK_INPUT stops the walk (result 0) when input is pending; TRL_WALK_CANCEL stops it
// (result 1) when the open progress box was cancelled. Bits 0-1 are set by TrlWalkInit and not read.
enum { TRL_WALK_INPUT = 4, TRL_WALK_CANCEL = 8 };

struct TrlWalk;
// Expands the record at the index (it may insert child records after it); 0 stops the walk.
typedef int (*TrlWalkProc)(TrlWalk *walk, Trl *list, int32_t index);

// Walk parameters; callers may embed them first in a larger record of their own.
struct TrlWalk {
    uint32_t flags;
    TrlWalkProc callback;
    int32_t levelLimit; // records are visited while their depth minus the base depth is below it
    int32_t baseDepth;  // set by the walk
};

inline TrlRecord *TrlAt(const Trl *list, int32_t index) {
    return (TrlRecord *)PlexElem(&list->plex, index);
}
inline int32_t TrlCount(const Trl *list) {
    return list->plex.count;
}
inline int32_t TrlDepth(const TrlRecord *record) {
    int32_t depth = (int32_t)(record->bits & TRL_DEPTH_MASK);
    return depth & 0x200 ? depth - 0x400 : depth;
}
inline int32_t TrlDepthAt(const Trl *list, int32_t index) {
    return TrlDepth(TrlAt(list, index));
}

Trl *TrlCreate(int32_t headerSize, int32_t recordSize, int32_t capacity, int autoShrink);
TrlRecord *TrlInsert(Trl *list, int32_t index, int32_t n, const void *source, int32_t depth);
void TrlDelete(Trl *list, int32_t index, int32_t n);
void TrlDeleteSubtree(Trl *list, int32_t index);
void TrlClear(Trl *list);
int TrlCollapse(Trl *list, int32_t index);
void TrlCollapseDeeper(Trl *list, int32_t depth);

// Navigation. Index forms answer -1 (or 0) for an index outside the list.
TrlRecord *TrlParent(const Trl *list, const TrlRecord *record);
int32_t TrlParentIndex(const Trl *list, int32_t index);
bool TrlIsAncestor(const Trl *list, const TrlRecord *a, const TrlRecord *b);
bool TrlIsAncestorAt(const Trl *list, int32_t a, int32_t b);
TrlRecord *TrlFirstChild(const Trl *list, const TrlRecord *record);
bool TrlHasChildren(const Trl *list, const TrlRecord *record);
bool TrlHasChildrenAt(const Trl *list, int32_t index);
TrlRecord *TrlNextSibling(const Trl *list, const TrlRecord *record);
int32_t TrlNextSiblingIndex(const Trl *list, int32_t index);
TrlRecord *TrlPrevSibling(const Trl *list, const TrlRecord *record);
int32_t TrlNextAtDepth(const Trl *list, int32_t index, int32_t depth);
int32_t TrlSubtreeEnd(const Trl *list, int32_t index);
int32_t TrlSubtreeLen(const Trl *list, int32_t index);
int32_t TrlSubtreeSize(const Trl *list, int32_t index);
int32_t TrlIndexOfKey(const Trl *list, int32_t key);
int TrlOutlineState(const Trl *list,
                    int32_t index); // 1 children follow; 2 none, not expanded; 3 none, expanded

// Sorts. Every sort first saves each record's index (when in natural order) so that TrlRestoreOrder can undo
// it. Only the sibling sorts (tree and children) are stable.
void TrlNumber(Trl *list);
void TrlMarkNumbered(Trl *list);
void TrlRestoreOrder(Trl *list);
void TrlSortFlat(Trl *list, PlexCompare compare);
void TrlSortTree(Trl *list, PlexCompare compare);
void TrlSortChildren(Trl *list, int32_t index, PlexCompare compare);
void TrlSortChildrenFlat(Trl *list, int32_t index, PlexCompare compare);
void TrlSortAtDepth(Trl *list, int32_t depth, PlexCompare compare);
int TrlCmpSavedPos(const void *a, const void *b);

// The expanding walk.
void TrlWalkInit(TrlWalk *walk);
int TrlWalkAccept(TrlWalk *walk, Trl *list, int32_t index);
int TrlWalkSubtree(Trl *list, int32_t index, TrlWalk *walk);

// The walk polls the input-pending test (InputPending unless a hook answers in its place) and, for
// TRL_WALK_CANCEL, the open progress box: the window library registers its progress step (position -1 only
// polls; true once the user cancelled). Unset, nothing is ever cancelled.
typedef bool (*TrlInputHook)();
void TrlSetInputHook(TrlInputHook hook);
typedef bool (*TrlProgressHook)(int position);
void TrlSetProgressHook(TrlProgressHook hook);

// Invariant check for tests: 1 when the plex is sound, the sizes are in range and the keys are unique and
// issued.
int TrlCheck(const Trl *list);
