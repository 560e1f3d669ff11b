// Line-run table:
// - a new table: two runs, the sentinel at line 1;
// - inserts, deletes, splits, copies and shifts against a plain vector doing the same;
// - finding the run of a line, from the lookup cache and after changes;
// - the count's growth and shrinking, and a failed growth (error 2, the table unchanged).
#include "doc/docedit.h"
#include "doc/rgl.h"

#include "base/heap.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<LineRun> Model(const Handle *table) {
    return std::vector<LineRun>(RunTableRuns(table), RunTableRuns(table) + RunTableCount(table));
}

bool Same(const std::vector<LineRun> &a, const std::vector<LineRun> &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (memcmp(&a[i], &b[i], sizeof(LineRun)) != 0) return false;
    return true;
}

int32_t FindInModel(const std::vector<LineRun> &runs, int32_t line) {
    int32_t found = 0;
    for (int32_t i = 0; i < (int32_t)runs.size(); i++)
        if (runs[i].first <= line) found = i;
    return found;
}

TEST(RunTable, NewTable) {
    Handle *table = RunTableCreate(sizeof(LineRun));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(RunTableCount(table), 2);
    EXPECT_EQ(RunTableHeader(table)->elementSize, 16);
    EXPECT_EQ(RunTableAt(table, 1)->first, 1);
    EXPECT_TRUE(RunTableCheck(table, 1));
    RunTableFree(table);
}

// Random changes that keep the first lines in order, checked against a vector.
TEST(RunTable, AgainstAVector) {
    std::mt19937 random(7);
    Handle *table = RunTableCreate(sizeof(LineRun));
    std::vector<LineRun> model = Model(table);
    for (int step = 0; step < 3000; step++) {
        int32_t count = (int32_t)model.size();
        int32_t i = (int32_t)(random() % count);
        switch (random() % 5) {
        case 0: {
            int32_t n = 1 + (int32_t)(random() % 3);
            ASSERT_TRUE(RunTableInsert(table, i, n));
            LineRun copy = model[i];
            model.insert(model.begin() + i, (size_t)n, copy);
            break;
        }
        case 1:
            if (count > 2 && i < count - 1) {
                RunTableDelete(table, i, 1);
                model.erase(model.begin() + i);
            }
            break;
        case 2: {
            int32_t line = (int32_t)(random() % 200);
            int32_t at = RunTableFind(table, line);
            ASSERT_EQ(at, FindInModel(model, line)) << line;
            int32_t split = RunTableSplitAt(table, line, at);
            if (at != count - 1 && model[at].first != line) {
                LineRun copy = model[at];
                copy.first = line;
                model.insert(model.begin() + at + 1, copy);
                ASSERT_EQ(split, at + 1);
            } else {
                ASSERT_EQ(split, at);
            }
            break;
        }
        case 3: {
            int32_t line = (int32_t)(random() % 200), delta = (int32_t)(random() % 4);
            RunTableShift(table, line, delta);
            for (int32_t k = count - 1; k >= 0 && model[k].first >= line; k--) model[k].first += delta;
            break;
        }
        case 4: {
            LineRun run = {model[i].first, (uint32_t)random(), (uint32_t)random(), (uint32_t)step};
            *RunTableAt(table, i) = run;
            model[i] = run;
            break;
        }
        }
        ASSERT_TRUE(Same(Model(table), model)) << "step " << step;
        ASSERT_GE(RunTableHeader(table)->capacity, RunTableCount(table));
        ASSERT_LE(RunTableHeader(table)->capacity, RunTableCount(table) + 20 + 10);
    }
    RunTableFree(table);
}

TEST(RunTable, CopyRebasesFirstLines) {
    Handle *src = RunTableCreate(sizeof(LineRun)), *dst = RunTableCreate(sizeof(LineRun));
    ASSERT_TRUE(RunTableInsert(src, 1, 2));
    for (int32_t i = 0; i < 4; i++) *RunTableAt(src, i) = LineRun{10 * i, 0, (uint32_t)i, 0};
    ASSERT_TRUE(RunTableCopy(src, 5, 1, 2, dst, 1));
    EXPECT_EQ(RunTableCount(dst), 4);
    EXPECT_EQ(RunTableAt(dst, 1)->first, 5);
    EXPECT_EQ(RunTableAt(dst, 2)->first, 15);
    EXPECT_EQ(RunTableAt(dst, 2)->offset, 2u);
    RunTableFree(src);
    RunTableFree(dst);
}

TEST(RunTable, FailedGrowthIsErrorTwo) {
    Handle *table = RunTableCreate(sizeof(LineRun));
    std::vector<LineRun> before = Model(table);
    ClearEditError();
    HeapFailNth(1);
    EXPECT_FALSE(RunTableInsert(table, 1, 5));
    HeapFailNth(0);
    EXPECT_EQ(EditErrorPending(), EDIT_ERR_MEMORY);
    EXPECT_TRUE(Same(Model(table), before));
    ClearEditError();
    ASSERT_TRUE(RunTableSetCount(table, 40));
    EXPECT_EQ(RunTableHeader(table)->capacity, 50);
    ASSERT_TRUE(RunTableSetCount(table, 5));
    EXPECT_EQ(RunTableHeader(table)->capacity, 5) << "shrunk when more than 20 over";
    RunTableFree(table);
}

} // namespace
