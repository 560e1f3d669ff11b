// trl: the tree record list (prefix Trl). A Trl is a plex whose header carries four more words (natural
// order flag, record size, header size, last key) and whose records start with three words: depth and
// flags, saved position, key. Record i's parent is the nearest earlier record with a smaller depth; its
// subtree is the run of following records deeper than it; its next sibling is the first later record of
// equal depth before any shallower one.
// Invariants: every key lies in 1..last key and no two records share one; keys are never reused.
#include "base/trl.h"

#include "base/inputpend.h"
#include "base/seam.h"

#include <algorithm>
#include <vector>

static TrlInputHook trlInput;
static TrlProgressHook trlProgress;

static void TrlResetSeams() {
    trlInput = nullptr;
    trlProgress = nullptr;
}

void TrlSetInputHook(TrlInputHook hook) {
    trlInput = hook;
    SeamRegisterReset(TrlResetSeams);
}

void TrlSetProgressHook(TrlProgressHook hook) {
    trlProgress = hook;
    SeamRegisterReset(TrlResetSeams);
}

static bool TrlInputPending() {
    return trlInput ? trlInput() : InputPending();
}

static bool TrlCanceled() {
    return trlProgress && trlProgress(-1);
}

static int TrlValid(const Trl *list, int32_t index) {
    return index >= 0 && index < TrlCount(list);
}

static int32_t TrlIndexOf(const Trl *list, const TrlRecord *record) {
    return (int32_t)(((const char *)record - (const char *)list->plex.elem0) / list->recordSize);
}

static TrlRecord *TrlAtOrNull(const Trl *list, int32_t index) {
    return index >= 0 ? TrlAt(list, index) : nullptr;
}

Trl *TrlCreate(int32_t headerSize, int32_t recordSize, int32_t capacity, int autoShrink) {
    headerSize = std::max({headerSize, (int32_t)TRL_HEADER_MIN, (int32_t)sizeof(Trl)});
    recordSize = std::max(recordSize, (int32_t)TRL_RECORD_MIN);
    Trl *list = (Trl *)PlexCreateEx(headerSize, recordSize, capacity, autoShrink);
    if (!list) return nullptr;
    list->naturalOrder = 1;
    list->recordSize = recordSize;
    list->headerSize = headerSize;
    list->lastKey = 0;
    return list;
}

TrlRecord *TrlInsert(Trl *list, int32_t index, int32_t n, const void *source, int32_t depth) {
    char *first = (char *)PlexInsert(&list->plex, index, n, source);
    if (!first) return nullptr;
    for (int32_t i = 0; i < n; i++) {
        TrlRecord *record = (TrlRecord *)(first + (size_t)i * list->recordSize);
        record->bits = (uint32_t)depth & TRL_DEPTH_MASK;
        record->savedPos = 0;
        record->key = ++list->lastKey;
    }
    return (TrlRecord *)first;
}

void TrlDelete(Trl *list, int32_t index, int32_t n) {
    if (!TrlValid(list, index) || n <= 0) return;
    PlexDelete(&list->plex, index, std::min(n, TrlCount(list) - index));
}

void TrlDeleteSubtree(Trl *list, int32_t index) {
    TrlDelete(list, index, TrlSubtreeLen(list, index));
}

void TrlClear(Trl *list) {
    PlexClear(&list->plex);
}

int TrlCollapse(Trl *list, int32_t index) {
    if (!TrlValid(list, index)) return 1;
    TrlDelete(list, index + 1, TrlSubtreeSize(list, index));
    TrlAt(list, index)->bits &= ~(uint32_t)TRL_EXPANDED;
    return 1;
}

// The record before the first deeper one is collapsed, which takes that deeper run away; the scan goes on
// with the record that now follows it.
void TrlCollapseDeeper(Trl *list, int32_t depth) {
    for (int32_t i = 1; i < TrlCount(list); i++)
        if (TrlDepthAt(list, i) > depth) TrlCollapse(list, i - 1);
}

int32_t TrlParentIndex(const Trl *list, int32_t index) {
    if (!TrlValid(list, index)) return -1;
    int32_t depth = TrlDepthAt(list, index);
    for (int32_t i = index - 1; i >= 0; i--)
        if (TrlDepthAt(list, i) < depth) return i;
    return -1;
}

TrlRecord *TrlParent(const Trl *list, const TrlRecord *record) {
    return TrlAtOrNull(list, TrlParentIndex(list, TrlIndexOf(list, record)));
}

bool TrlIsAncestorAt(const Trl *list, int32_t a, int32_t b) {
    return TrlValid(list, a) && TrlValid(list, b) && a <= b && b < TrlSubtreeEnd(list, a);
}

bool TrlIsAncestor(const Trl *list, const TrlRecord *a, const TrlRecord *b) {
    return TrlIsAncestorAt(list, TrlIndexOf(list, a), TrlIndexOf(list, b));
}

bool TrlHasChildrenAt(const Trl *list, int32_t index) {
    return TrlValid(list, index) && index + 1 < TrlCount(list) &&
           TrlDepthAt(list, index + 1) > TrlDepthAt(list, index);
}

bool TrlHasChildren(const Trl *list, const TrlRecord *record) {
    return TrlHasChildrenAt(list, TrlIndexOf(list, record));
}

TrlRecord *TrlFirstChild(const Trl *list, const TrlRecord *record) {
    int32_t index = TrlIndexOf(list, record);
    return TrlHasChildrenAt(list, index) ? TrlAt(list, index + 1) : nullptr;
}

int32_t TrlNextAtDepth(const Trl *list, int32_t index, int32_t depth) {
    if (index < -1 || index >= TrlCount(list)) return -1;
    for (int32_t i = index + 1; i < TrlCount(list); i++) {
        int32_t d = TrlDepthAt(list, i);
        if (d < depth) return -1;
        if (d == depth) return i;
    }
    return -1;
}

int32_t TrlNextSiblingIndex(const Trl *list, int32_t index) {
    return TrlValid(list, index) ? TrlNextAtDepth(list, index, TrlDepthAt(list, index)) : -1;
}

TrlRecord *TrlNextSibling(const Trl *list, const TrlRecord *record) {
    return TrlAtOrNull(list, TrlNextSiblingIndex(list, TrlIndexOf(list, record)));
}

TrlRecord *TrlPrevSibling(const Trl *list, const TrlRecord *record) {
    int32_t index = TrlIndexOf(list, record);
    if (!TrlValid(list, index)) return nullptr;
    int32_t depth = TrlDepthAt(list, index);
    for (int32_t i = index - 1; i >= 0; i--) {
        int32_t d = TrlDepthAt(list, i);
        if (d < depth) return nullptr;
        if (d == depth) return TrlAt(list, i);
    }
    return nullptr;
}

int32_t TrlSubtreeEnd(const Trl *list, int32_t index) {
    if (!TrlValid(list, index)) return std::clamp(index, 0, TrlCount(list));
    int32_t depth = TrlDepthAt(list, index), end = index + 1;
    while (end < TrlCount(list) && TrlDepthAt(list, end) > depth) end++;
    return end;
}

int32_t TrlSubtreeLen(const Trl *list, int32_t index) {
    return TrlSubtreeEnd(list, index) - std::clamp(index, 0, TrlCount(list));
}

int32_t TrlSubtreeSize(const Trl *list, int32_t index) {
    return std::max(TrlSubtreeLen(list, index) - 1, 0);
}

int32_t TrlIndexOfKey(const Trl *list, int32_t key) {
    for (int32_t i = 0; i < TrlCount(list); i++)
        if (TrlAt(list, i)->key == key) return i;
    return -1;
}

int TrlOutlineState(const Trl *list, int32_t index) {
    if (!TrlValid(list, index)) return 0;
    if (TrlHasChildrenAt(list, index)) return 1;
    return TrlAt(list, index)->bits & TRL_EXPANDED ? 3 : 2;
}

void TrlNumber(Trl *list) {
    for (int32_t i = 0; i < TrlCount(list); i++) TrlAt(list, i)->savedPos = i;
}

void TrlMarkNumbered(Trl *list) {
    list->naturalOrder = 1;
}

int TrlCmpSavedPos(const void *a, const void *b) {
    int32_t x = ((const TrlRecord *)a)->savedPos, y = ((const TrlRecord *)b)->savedPos;
    return x < y ? -1 : x > y;
}

void TrlRestoreOrder(Trl *list) {
    if (list->naturalOrder) return;
    PlexSort(&list->plex, TrlCmpSavedPos);
    list->naturalOrder = 1;
}

// Every sort starts here, so that the natural order can be restored.
static void TrlSavePositions(Trl *list) {
    if (list->naturalOrder) TrlNumber(list);
    list->naturalOrder = 0;
}

// Moves the run of n records at index from to stand before index to (to < from). A rotation in place needs
// no memory, so a move can never fail halfway.
static void TrlMoveBefore(Trl *list, int32_t to, int32_t from, int32_t n) {
    char *base = (char *)list->plex.elem0;
    size_t size = list->recordSize;
    std::rotate(base + to * size, base + from * size, base + (from + n) * size);
}

// Insertion sort of the sibling run that starts at first, each subtree kept with its root and sorted first.
// A record moves only before a sibling that it compares below, so equal records keep their order.
static void TrlSortSiblings(Trl *list, int32_t first, PlexCompare compare) {
    if (TrlHasChildrenAt(list, first)) TrlSortSiblings(list, first + 1, compare);
    int32_t r = TrlNextSiblingIndex(list, first);
    while (r >= 0) {
        // Found before r moves: the move stays inside [first, r + subtree), so the index still holds.
        int32_t next = TrlNextSiblingIndex(list, r);
        if (TrlHasChildrenAt(list, r)) TrlSortSiblings(list, r + 1, compare);
        for (int32_t c = first; c < r; c = TrlNextSiblingIndex(list, c)) {
            if (compare(TrlAt(list, r), TrlAt(list, c)) < 0) {
                TrlMoveBefore(list, c, r, TrlSubtreeLen(list, r));
                break;
            }
        }
        r = next;
    }
}

void TrlSortFlat(Trl *list, PlexCompare compare) {
    TrlSavePositions(list);
    PlexSort(&list->plex, compare);
}

void TrlSortTree(Trl *list, PlexCompare compare) {
    TrlSavePositions(list);
    if (TrlCount(list) >= 2) TrlSortSiblings(list, 0, compare);
}

void TrlSortChildren(Trl *list, int32_t index, PlexCompare compare) {
    TrlSavePositions(list);
    if (TrlHasChildrenAt(list, index)) TrlSortSiblings(list, index + 1, compare);
}

void TrlSortChildrenFlat(Trl *list, int32_t index, PlexCompare compare) {
    TrlSavePositions(list);
    int32_t n = TrlSubtreeSize(list, index);
    if (n > 1) PlexSortRange(&list->plex, index + 1, n, compare);
}

void TrlSortAtDepth(Trl *list, int32_t depth, PlexCompare compare) {
    TrlSavePositions(list);
    TrlCollapseDeeper(list, depth);
    for (int32_t i = 0; i < TrlCount(list);) {
        int32_t end = i;
        while (end < TrlCount(list) && TrlDepthAt(list, end) == depth) end++;
        if (end - i > 1) PlexSortRange(&list->plex, i, end - i, compare);
        i = std::max(end, i + 1);
    }
}

void TrlWalkInit(TrlWalk *walk) {
    walk->flags = 3;
    walk->callback = TrlWalkAccept;
    walk->levelLimit = 0;
    walk->baseDepth = 0;
}

int TrlWalkAccept(TrlWalk *, Trl *, int32_t) {
    return 1;
}

// Expands each record below the start that is not yet expanded and lies within the level limit; the walk
// then goes on into the children the callback inserted.
int TrlWalkSubtree(Trl *list, int32_t index, TrlWalk *walk) {
    if (!TrlValid(list, index)) return 1;
    walk->baseDepth = TrlDepthAt(list, index);
    for (int32_t i = index; i < TrlCount(list); i++) {
        if ((walk->flags & TRL_WALK_INPUT) && TrlInputPending()) return 0;
        if ((walk->flags & TRL_WALK_CANCEL) && TrlCanceled()) return 1;
        int32_t level = TrlDepthAt(list, i) - walk->baseDepth;
        if (i > index && level <= 0) break;
        if (TrlAt(list, i)->bits & TRL_EXPANDED || level >= walk->levelLimit) continue;
        if (!walk->callback(walk, list, i)) return 0;
        // The callback may have deleted records as well as inserted them.
        if (i < TrlCount(list)) TrlAt(list, i)->bits |= TRL_EXPANDED;
    }
    return 1;
}

int TrlCheck(const Trl *list) {
    if (!PlexCheck(&list->plex) || list->plex.elemSize != list->recordSize) return 0;
    if (list->recordSize < TRL_RECORD_MIN || list->headerSize < TRL_HEADER_MIN) return 0;
    if (list->naturalOrder != 0 && list->naturalOrder != 1) return 0;
    std::vector<int32_t> keys;
    for (int32_t i = 0; i < TrlCount(list); i++) keys.push_back(TrlAt(list, i)->key);
    std::sort(keys.begin(), keys.end());
    if (!keys.empty() && (keys.front() < 1 || keys.back() > list->lastKey)) return 0;
    return std::adjacent_find(keys.begin(), keys.end()) == keys.end();
}
