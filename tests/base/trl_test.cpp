// Tree record list: navigation over tables of depths (parents, siblings, subtrees, signed depths, indexes
// outside the list); deletion and collapse; the stable sibling sort against a model of nested vectors;
// flat sorts and the restored natural order; keys never reused; failed insertion; the expanding walk with
// its level limit, re-expansion after collapse, and stops for pending input and a cancelled progress box
// (through the hooks, and through the input-pending test itself while they are unset).
#include "base/erc.h"
#include "base/heap.h"
#include "base/inputpend.h"
#include "base/trl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

namespace {

struct Node {
    TrlRecord head;
    int32_t value;
};

struct TrlFree {
    void operator()(Trl *list) const { PlexFree(&list->plex); }
};
using TrlPtr = std::unique_ptr<Trl, TrlFree>;

TrlPtr MakeTree(const std::vector<int> &depths, const std::vector<int> &values = {}) {
    TrlPtr list(TrlCreate(0, sizeof(Node), 0, 0));
    for (size_t i = 0; i < depths.size(); i++) {
        Node node = {{}, values.empty() ? (int)i : values[i]};
        EXPECT_NE(TrlInsert(list.get(), -1, 1, &node, depths[i]), nullptr);
    }
    return list;
}

Node *At(const Trl *list, int32_t i) {
    return (Node *)TrlAt(list, i);
}

int32_t IndexOf(const Trl *list, const TrlRecord *record) {
    return record ? (int32_t)((const char *)record - (const char *)list->plex.elem0) / list->recordSize : -1;
}

std::vector<int> Depths(const Trl *list) {
    std::vector<int> out;
    for (int32_t i = 0; i < TrlCount(list); i++) out.push_back(TrlDepthAt(list, i));
    return out;
}

std::vector<int> Field(const Trl *list, int32_t Node::*field) {
    std::vector<int> out;
    for (int32_t i = 0; i < TrlCount(list); i++) out.push_back(At(list, i)->*field);
    return out;
}

std::vector<int> Keys(const Trl *list) {
    std::vector<int> out;
    for (int32_t i = 0; i < TrlCount(list); i++) out.push_back(TrlAt(list, i)->key);
    return out;
}

int CmpValue(const void *a, const void *b) {
    return ((const Node *)a)->value - ((const Node *)b)->value;
}

} // namespace

TEST(Trl, CreateRaisesSizesToTheirLeast) {
    TrlPtr list(TrlCreate(8, 4, 0, 0));
    EXPECT_EQ(list->recordSize, TRL_RECORD_MIN);
    EXPECT_GE(list->headerSize, TRL_HEADER_MIN);
    EXPECT_EQ(list->naturalOrder, 1);
    EXPECT_EQ(list->lastKey, 0);
    EXPECT_TRUE(TrlCheck(list.get()));
}

TEST(Trl, Navigation) {
    enum Op { PARENT, NEXT_SIBLING, PREV_SIBLING, SUBTREE_END, SUBTREE_SIZE, FIRST_CHILD, NEXT_AT_DEPTH_1 };
    struct Case {
        std::vector<int> depths;
        Op op;
        int32_t index, expected;
    } cases[] = {
        {{0, 1, 2, 1, 0}, PARENT, 2, 1},
        {{0, 1, 2, 1, 0}, PARENT, 3, 0},
        {{0, 1, 2, 1, 0}, PARENT, 0, -1},
        {{0, 1, 2, 1, 0}, SUBTREE_END, 1, 3},
        {{0, 1, 2, 1, 0}, SUBTREE_END, 4, 5},
        {{0, 1, 2, 1, 0}, NEXT_SIBLING, 1, 3},
        {{0, 1, 2, 1, 0}, NEXT_SIBLING, 3, -1},
        {{0, 1, 2, 1, 0}, SUBTREE_SIZE, 0, 3},
        {{0, 1, 2, 1, 0}, SUBTREE_SIZE, 2, 0},
        {{0, 1, 2, 1, 0}, FIRST_CHILD, 1, 2},
        {{0, 1, 2, 1, 0}, FIRST_CHILD, 2, -1},
        {{0, 1, 2, 1, 0}, NEXT_AT_DEPTH_1, 1, 3},
        {{0, 1, 2, 1, 0}, NEXT_AT_DEPTH_1, 3, -1},
        {{0, 1, 0, 0}, PREV_SIBLING, 3, 2},
        {{0, 1, 0, 0}, PREV_SIBLING, 2, 0},
        {{0, 1, 0, 0}, PREV_SIBLING, 1, -1},
        // Depths are signed 10-bit values: -1 is shallower than 0.
        {{-1, 0, 0, -1}, PARENT, 2, 0},
        {{-1, 0, 0, -1}, NEXT_SIBLING, 0, 3},
        {{-1, 0, 0, -1}, SUBTREE_SIZE, 0, 2},
        {{0, 511, -512}, PARENT, 1, 0},
        {{0, 511, -512}, SUBTREE_END, 0, 2},
        // Indexes outside the list answer without reading outside it.
        {{0, 1}, PARENT, 2, -1},
        {{0, 1}, NEXT_SIBLING, -1, -1},
        {{0, 1}, SUBTREE_SIZE, 7, 0},
    };
    for (const Case &c : cases) {
        TrlPtr list = MakeTree(c.depths);
        Trl *l = list.get();
        bool inside = c.index >= 0 && c.index < TrlCount(l);
        int32_t got = -2;
        switch (c.op) {
        case PARENT:
            got = TrlParentIndex(l, c.index);
            if (inside) {
                EXPECT_EQ(IndexOf(l, TrlParent(l, TrlAt(l, c.index))), got);
            }
            break;
        case NEXT_SIBLING:
            got = TrlNextSiblingIndex(l, c.index);
            if (inside) {
                EXPECT_EQ(IndexOf(l, TrlNextSibling(l, TrlAt(l, c.index))), got);
            }
            break;
        case PREV_SIBLING: got = IndexOf(l, TrlPrevSibling(l, TrlAt(l, c.index))); break;
        case SUBTREE_END: got = TrlSubtreeEnd(l, c.index); break;
        case SUBTREE_SIZE: got = TrlSubtreeSize(l, c.index); break;
        case FIRST_CHILD: got = IndexOf(l, TrlFirstChild(l, TrlAt(l, c.index))); break;
        case NEXT_AT_DEPTH_1: got = TrlNextAtDepth(l, c.index, 1); break;
        }
        EXPECT_EQ(got, c.expected) << "op " << c.op << " at " << c.index << " of "
                                   << testing::PrintToString(c.depths);
    }
}

TEST(Trl, AncestorsChildrenAndOutlineState) {
    TrlPtr list = MakeTree({0, 1, 2, 1, 0});
    Trl *l = list.get();
    EXPECT_TRUE(TrlIsAncestorAt(l, 1, 1));
    EXPECT_TRUE(TrlIsAncestorAt(l, 0, 3));
    EXPECT_TRUE(TrlIsAncestor(l, TrlAt(l, 1), TrlAt(l, 2)));
    EXPECT_FALSE(TrlIsAncestorAt(l, 1, 3));
    EXPECT_FALSE(TrlIsAncestorAt(l, 2, 1));
    EXPECT_FALSE(TrlIsAncestorAt(l, 0, 4));
    EXPECT_TRUE(TrlHasChildren(l, TrlAt(l, 1)));
    EXPECT_FALSE(TrlHasChildrenAt(l, 4));
    EXPECT_EQ(TrlOutlineState(l, 0), 1);
    EXPECT_EQ(TrlOutlineState(l, 4), 2);
    TrlAt(l, 4)->bits |= TRL_EXPANDED;
    EXPECT_EQ(TrlOutlineState(l, 4), 3);
    EXPECT_EQ(TrlOutlineState(l, 5), 0);
}

TEST(Trl, DeleteCollapseAndClear) {
    struct Case {
        std::vector<int> depths;
        std::function<void(Trl *)> op;
        std::vector<int> after;
    } cases[] = {
        {{0, 1, 2, 1}, [](Trl *l) { TrlDeleteSubtree(l, 1); }, {0, 1}},
        {{0, 1, 2, 1, 0}, [](Trl *l) { TrlDeleteSubtree(l, 0); }, {0}},
        {{0, 1, 2, 1, 0}, [](Trl *l) { TrlCollapse(l, 0); }, {0, 0}},
        {{0, 1, 2, 2, 1, 2, 0, 1}, [](Trl *l) { TrlCollapseDeeper(l, 1); }, {0, 1, 1, 0, 1}},
        {{0, 1, 2, 2, 1, 2, 0, 1}, [](Trl *l) { TrlCollapseDeeper(l, 0); }, {0, 0}},
        {{0, 1, 2}, [](Trl *l) { TrlDelete(l, 1, 9); }, {0}},
        {{0, 1, 2}, [](Trl *l) { TrlDelete(l, 3, 1); }, {0, 1, 2}},
        {{0, 1, 2}, [](Trl *l) { TrlClear(l); }, {}},
    };
    for (const Case &c : cases) {
        TrlPtr list = MakeTree(c.depths);
        c.op(list.get());
        EXPECT_EQ(Depths(list.get()), c.after) << testing::PrintToString(c.depths);
        EXPECT_TRUE(TrlCheck(list.get()));
    }
}

TEST(Trl, CollapseClearsExpandedBit) {
    TrlPtr list = MakeTree({0, 1, 1});
    TrlAt(list.get(), 0)->bits |= TRL_EXPANDED | 0x800;
    EXPECT_EQ(TrlCollapse(list.get(), 0), 1);
    EXPECT_EQ(TrlCount(list.get()), 1);
    EXPECT_EQ(TrlAt(list.get(), 0)->bits, 0x800u) << "the depth and the caller's flags stay";
}

TEST(Trl, KeysAreNeverReused) {
    TrlPtr list = MakeTree({0, 0, 0, 0, 0});
    EXPECT_EQ(Keys(list.get()), (std::vector<int>{1, 2, 3, 4, 5}));
    TrlDelete(list.get(), TrlIndexOfKey(list.get(), 5), 1);
    TrlDelete(list.get(), TrlIndexOfKey(list.get(), 2), 1);
    TrlClear(list.get());
    Node node = {{0xFFFFFFFF, 77, 99}, 7};
    TrlRecord *r = TrlInsert(list.get(), 0, 1, &node, 3);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->key, 6);
    EXPECT_EQ(r->bits, 3u) << "the source's flag bits are cleared";
    EXPECT_EQ(r->savedPos, 0);
    EXPECT_EQ(((Node *)r)->value, 7) << "the caller's words are copied";
    EXPECT_EQ(TrlIndexOfKey(list.get(), 5), -1);
    EXPECT_TRUE(TrlCheck(list.get()));
}

TEST(Trl, FailedInsertLeavesListUnchanged) {
    TrlPtr list = MakeTree({0, 1});
    ErcClear();
    HeapFailNth(1);
    EXPECT_EQ(TrlInsert(list.get(), 1, 1000, nullptr, 1), nullptr);
    HeapFailNth(0);
    EXPECT_EQ(ErcGet(), ercLowMemory);
    EXPECT_EQ(Depths(list.get()), (std::vector<int>{0, 1}));
    EXPECT_EQ(list->lastKey, 2) << "no key was spent";
    ErcClear();
}

namespace {

// A tree of nested vectors: the reference for the sibling sort.
struct ModelNode {
    int value, key;
    std::vector<ModelNode> children;
};

void ModelBuild(std::mt19937 &rng, std::vector<ModelNode> &level, int depth, int &key) {
    int n = (int)(rng() % (depth == 0 ? 6 : 4));
    for (int i = 0; i < n; i++) {
        level.push_back({(int)(rng() % 3), ++key, {}});
        if (depth < 3 && rng() % 2) ModelBuild(rng, level.back().children, depth + 1, key);
    }
}

void ModelFlatten(const std::vector<ModelNode> &level, int depth, std::vector<std::pair<int, int>> &out) {
    for (const ModelNode &n : level) {
        out.push_back({depth, n.value});
        ModelFlatten(n.children, depth + 1, out);
    }
}

void ModelKeys(const std::vector<ModelNode> &level, std::vector<int> &out) {
    for (const ModelNode &n : level) {
        out.push_back(n.key);
        ModelKeys(n.children, out);
    }
}

void ModelSort(std::vector<ModelNode> &level) {
    std::stable_sort(level.begin(), level.end(),
                     [](const ModelNode &a, const ModelNode &b) { return a.value < b.value; });
    for (ModelNode &n : level) ModelSort(n.children);
}

ModelNode *ModelAt(std::vector<ModelNode> &level, int &index) {
    for (ModelNode &n : level) {
        if (index-- == 0) return &n;
        if (ModelNode *found = ModelAt(n.children, index)) return found;
    }
    return nullptr;
}

TrlPtr TreeFromModel(const std::vector<ModelNode> &roots) {
    std::vector<std::pair<int, int>> flat;
    ModelFlatten(roots, 0, flat);
    std::vector<int> depths, values;
    for (auto [d, v] : flat) depths.push_back(d), values.push_back(v);
    return MakeTree(depths, values);
}

} // namespace

TEST(Trl, SiblingSortMatchesStableModel) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; round++) {
        std::vector<ModelNode> roots;
        int key = 0;
        ModelBuild(rng, roots, 0, key);
        TrlPtr list = TreeFromModel(roots);
        std::vector<int> natural = Keys(list.get());
        std::vector<ModelNode> model = roots;
        std::vector<int> expected;
        if (round % 2 == 0 || natural.empty()) {
            TrlSortTree(list.get(), CmpValue);
            ModelSort(model);
        } else {
            int index = (int)(rng() % natural.size()), walk = index;
            TrlSortChildren(list.get(), index, CmpValue);
            ModelSort(ModelAt(model, walk)->children);
        }
        ModelKeys(model, expected);
        ASSERT_EQ(Keys(list.get()), expected) << "round " << round;
        ASSERT_TRUE(TrlCheck(list.get()));
        EXPECT_EQ(list->naturalOrder, 0);
        TrlRestoreOrder(list.get());
        ASSERT_EQ(Keys(list.get()), natural) << "round " << round;
    }
}

TEST(Trl, SiblingSortKeepsSubtreesAndEqualRoots) {
    // Roots B, A, B2 (each with a child); A sorts first, the two equal B roots keep their order.
    TrlPtr list = MakeTree({0, 1, 0, 1, 0, 1}, {2, 10, 1, 11, 2, 12});
    TrlSortTree(list.get(), CmpValue);
    EXPECT_EQ(Field(list.get(), &Node::value), (std::vector<int>{1, 11, 2, 10, 2, 12}));
    EXPECT_EQ(Depths(list.get()), (std::vector<int>{0, 1, 0, 1, 0, 1}));
}

TEST(Trl, FlatSortsAndRestoredOrder) {
    struct Case {
        const char *name;
        std::function<void(Trl *)> sort;
        std::vector<int> depths, values, sorted;
    } cases[] = {
        {"flat",
         [](Trl *l) { TrlSortFlat(l, CmpValue); },
         {0, 0, 0, 0, 0, 0},
         {3, 1, 2, 3, 0, 1},
         {0, 1, 1, 2, 3, 3}},
        {"children flat",
         [](Trl *l) { TrlSortChildrenFlat(l, 0, CmpValue); },
         {0, 1, 2, 1, 2, 0},
         {9, 5, 4, 3, 2, 0},
         {9, 2, 3, 4, 5, 0}},
        {"at depth 1",
         [](Trl *l) { TrlSortAtDepth(l, 1, CmpValue); },
         {0, 1, 0, 0, 1, 1},
         {9, 3, 8, 7, 2, 1},
         {9, 3, 8, 7, 1, 2}},
    };
    for (const Case &c : cases) {
        TrlPtr list = MakeTree(c.depths, c.values);
        std::vector<int> keys = Keys(list.get());
        c.sort(list.get());
        EXPECT_EQ(Field(list.get(), &Node::value), c.sorted) << c.name;
        EXPECT_EQ(list->naturalOrder, 0);
        TrlRestoreOrder(list.get());
        EXPECT_EQ(Keys(list.get()), keys) << c.name;
        EXPECT_EQ(list->naturalOrder, 1);
        TrlRestoreOrder(list.get());
        EXPECT_EQ(Keys(list.get()), keys) << c.name << ": a second restore does nothing";
    }
}

TEST(Trl, SortAtDepthCollapsesDeeperRecords) {
    TrlPtr list = MakeTree({0, 1, 2, 1, 2, 0}, {5, 4, 3, 2, 1, 0});
    TrlSortAtDepth(list.get(), 1, CmpValue);
    EXPECT_EQ(Depths(list.get()), (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(Field(list.get(), &Node::value), (std::vector<int>{5, 2, 4, 0}));
}

TEST(Trl, SecondSortKeepsFirstSavedPositions) {
    TrlPtr list = MakeTree({0, 0, 0, 0}, {2, 3, 0, 1});
    TrlSortFlat(list.get(), CmpValue);
    TrlSortTree(list.get(), [](const void *a, const void *b) { return CmpValue(b, a); });
    TrlRestoreOrder(list.get());
    EXPECT_EQ(Keys(list.get()), (std::vector<int>{1, 2, 3, 4}));
    TrlNumber(list.get());
    TrlSortFlat(list.get(), CmpValue);
    TrlMarkNumbered(list.get());
    TrlRestoreOrder(list.get());
    EXPECT_EQ(Field(list.get(), &Node::value), (std::vector<int>{0, 1, 2, 3}))
        << "marked: nothing to restore";
}

namespace {

// Gives every visited record two children; counts the visits.
struct GrowWalk {
    TrlWalk walk;
    int calls;
};

int GrowTwo(TrlWalk *walk, Trl *list, int32_t index) {
    ((GrowWalk *)walk)->calls++;
    return TrlInsert(list, index + 1, 2, nullptr, TrlDepthAt(list, index) + 1) != nullptr;
}

// Grows two children below every record down to three levels, polling as the flags say.
void GrowThreeLevels(GrowWalk *g, uint32_t flags) {
    *g = {};
    TrlWalkInit(&g->walk);
    g->walk.flags = flags;
    g->walk.callback = GrowTwo;
    g->walk.levelLimit = 3;
}

int pollCalls, pollPendingAt, progressCalls, progressLastPosition;
bool PollAfter() {
    return ++pollCalls >= pollPendingAt;
}
bool CancelNow(int position) {
    progressCalls++;
    progressLastPosition = position;
    return true;
}

} // namespace

TEST(Trl, WalkExpandsDownToLevelLimit) {
    TrlPtr list = MakeTree({0, 0});
    GrowWalk g = {};
    TrlWalkInit(&g.walk);
    EXPECT_EQ(g.walk.flags, 3u);
    EXPECT_EQ(g.walk.callback(&g.walk, list.get(), 0), 1);
    g.walk.callback = GrowTwo;
    g.walk.levelLimit = 3;
    EXPECT_EQ(TrlWalkSubtree(list.get(), 0, &g.walk), 1);
    EXPECT_EQ(g.calls, 7);
    EXPECT_EQ(TrlCount(list.get()), 16) << "1 + 2 + 4 + 8 below the first root, and the second root";
    EXPECT_EQ(TrlOutlineState(list.get(), 15), 2) << "the walk stays inside the start's subtree";
    int expanded = 0;
    for (int32_t i = 0; i < TrlCount(list.get()); i++)
        expanded += (TrlAt(list.get(), i)->bits & TRL_EXPANDED) != 0;
    EXPECT_EQ(expanded, 7) << "records at the level limit are not visited";

    g.calls = 0;
    EXPECT_EQ(TrlWalkSubtree(list.get(), 0, &g.walk), 1);
    EXPECT_EQ(g.calls, 0) << "expanded records are not expanded again";

    TrlCollapse(list.get(), 1);
    EXPECT_EQ(TrlCount(list.get()), 10);
    EXPECT_EQ(TrlWalkSubtree(list.get(), 0, &g.walk), 1);
    EXPECT_EQ(g.calls, 3) << "a collapsed record is expanded again with its children";
    EXPECT_EQ(TrlCount(list.get()), 16);
    EXPECT_EQ(g.walk.baseDepth, 0);
    EXPECT_TRUE(TrlCheck(list.get()));
}

TEST(Trl, WalkStopsForInputAndCancel) {
    struct Case {
        uint32_t flags;
        int pendingAt, cancel, result, calls;
    } cases[] = {
        {TRL_WALK_INPUT, 3, 0, 0, 2},                   // input seen before the third record
        {TRL_WALK_INPUT | TRL_WALK_CANCEL, 1, 1, 0, 0}, // input wins over cancel
        {TRL_WALK_CANCEL, 1, 1, 1, 0},                  // cancel stops with success
        {0, 1, 1, 1, 7},                                // neither is polled without its flag
    };
    for (const Case &c : cases) {
        TrlPtr list = MakeTree({0});
        GrowWalk g;
        GrowThreeLevels(&g, c.flags);
        pollCalls = progressCalls = 0;
        pollPendingAt = c.pendingAt;
        progressLastPosition = 0;
        TrlSetInputHook(PollAfter);
        TrlSetProgressHook(c.cancel ? CancelNow : nullptr);
        EXPECT_EQ(TrlWalkSubtree(list.get(), 0, &g.walk), c.result) << c.flags;
        EXPECT_EQ(g.calls, c.calls) << c.flags;
        if (c.flags & TRL_WALK_CANCEL && c.result) {
            EXPECT_EQ(progressLastPosition, -1) << "the step only polls";
        }
        TrlSetInputHook(nullptr);
        TrlSetProgressHook(nullptr);
    }
}

TEST(Trl, WalkCallbackRefusalStops) {
    TrlPtr list = MakeTree({0, 1, 1});
    TrlWalk walk;
    TrlWalkInit(&walk);
    walk.levelLimit = 5;
    walk.callback = [](TrlWalk *, Trl *, int32_t index) { return index < 1 ? 1 : 0; };
    EXPECT_EQ(TrlWalkSubtree(list.get(), 0, &walk), 0);
    EXPECT_TRUE(TrlAt(list.get(), 0)->bits & TRL_EXPANDED);
    EXPECT_FALSE(TrlAt(list.get(), 1)->bits & TRL_EXPANDED) << "a refused record stays unexpanded";
    EXPECT_EQ(TrlWalkSubtree(list.get(), 3, &walk), 1) << "a start outside the list has nothing to walk";
}

// Unset, the walk asks the input-pending test itself, and nothing is ever cancelled.
TEST(Trl, WalkWithoutHooksAsksInputPending) {
    TrlSetInputHook(nullptr);
    TrlSetProgressHook(nullptr);
    struct Case {
        uint32_t flags;
        bool interrupted;
        int result, calls;
    } cases[] = {
        {TRL_WALK_INPUT, true, 0, 0},
        {TRL_WALK_INPUT, false, 1, 7},
        {TRL_WALK_CANCEL, false, 1, 7},
    };
    for (const Case &c : cases) {
        TrlPtr list = MakeTree({0});
        GrowWalk g;
        GrowThreeLevels(&g, c.flags);
        InputPendingReset();
        if (c.interrupted) InputPendingInterrupt();
        EXPECT_EQ(TrlWalkSubtree(list.get(), 0, &g.walk), c.result) << c.flags << " " << c.interrupted;
        EXPECT_EQ(g.calls, c.calls) << c.flags << " " << c.interrupted;
    }
    InputPendingReset();
}
