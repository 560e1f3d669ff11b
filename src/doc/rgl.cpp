// rgl: the line-run table (prefix RunTable). One movable block holds the 12-byte header and the 16-byte
// runs; a lookup cache remembers the run found last (its first line, the next run's first line, the table,
// the index) because display, parsing and search ask for lines in order.
#include "doc/rgl.h"

#include "doc/docedit.h"

#include <cstring>

enum { RUN_TABLE_SLACK = 10, RUN_TABLE_SHRINK = 20 };

struct RunTableLookup {
    int32_t first;
    int32_t nextFirst;
    const Handle *table;
    int32_t index;
};

static RunTableLookup runLookup;

void RunTableResetCache() {
    runLookup = RunTableLookup{};
}

Handle *RunTableCreate(int32_t elementSize) {
    Handle *table = HAlloc(RunTableBytes(2));
    if (!table) return nullptr;
    *RunTableHeader(table) = LineRunTable{2, 2, elementSize};
    RunTableAt(table, 1)->first = 1;
    return table;
}

void RunTableFree(Handle *table) {
    if (table == runLookup.table) RunTableResetCache();
    HFree(table);
}

int RunTableSetCount(Handle *table, int32_t n) {
    RunTableResetCache();
    LineRunTable *header = RunTableHeader(table);
    int32_t capacity = header->capacity;
    if (capacity < n)
        capacity = n + RUN_TABLE_SLACK;
    else if (capacity > n + RUN_TABLE_SHRINK)
        capacity = n;
    // A failed shrink keeps the larger block; only a failed growth is an error.
    if (capacity != header->capacity) {
        if (HRealloc(table, RunTableBytes(capacity), 1))
            RunTableHeader(table)->capacity = capacity;
        else if (capacity > header->capacity) {
            EditErrorSet(EDIT_ERR_MEMORY, nullptr);
            return 0;
        }
    }
    RunTableHeader(table)->count = n;
    return 1;
}

static int32_t RunTableSearch(const Handle *table, int32_t line) {
    const LineRun *runs = RunTableRuns(table);
    int32_t lo = 0, hi = RunTableCount(table) - 1;
    while (lo < hi) {
        int32_t mid = lo + (hi - lo + 1) / 2;
        if (runs[mid].first <= line)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

int32_t RunTableFind(const Handle *table, int32_t line) {
    if (runLookup.table == table && line >= runLookup.first && line < runLookup.nextFirst)
        return runLookup.index;
    int32_t i = RunTableSearch(table, line);
    int32_t count = RunTableCount(table);
    runLookup.table = table;
    runLookup.index = i;
    runLookup.first = RunTableAt(table, i)->first;
    runLookup.nextFirst = i + 1 < count ? RunTableAt(table, i + 1)->first : runLookup.first + 1;
    return i;
}

int RunTableInsert(Handle *table, int32_t i, int32_t n) {
    int32_t count = RunTableCount(table);
    if (n <= 0) return 1;
    if (!RunTableSetCount(table, count + n)) return 0;
    LineRun *runs = RunTableRuns(table);
    memmove(runs + i + n, runs + i, (size_t)(count - i) * sizeof(LineRun));
    LineRun model = i < count ? runs[i + n] : LineRun{};
    for (int32_t k = 0; k < n; k++) runs[i + k] = model;
    return 1;
}

void RunTableDelete(Handle *table, int32_t i, int32_t n) {
    int32_t count = RunTableCount(table);
    if (n <= 0) return;
    LineRun *runs = RunTableRuns(table);
    memmove(runs + i, runs + i + n, (size_t)(count - i - n) * sizeof(LineRun));
    RunTableSetCount(table, count - n);
}

int32_t RunTableSplitAt(Handle *table, int32_t line, int32_t i) {
    if (i == RunTableCount(table) - 1 || RunTableAt(table, i)->first == line) return i;
    if (!RunTableInsert(table, i + 1, 1)) return -1;
    *RunTableAt(table, i + 1) = *RunTableAt(table, i);
    RunTableAt(table, i + 1)->first = line;
    return i + 1;
}

int RunTableCopy(const Handle *src, int32_t toLine, int32_t i, int32_t n, Handle *dst, int32_t j) {
    if (n <= 0) return 1;
    if (!RunTableInsert(dst, j, n)) return 0;
    int32_t delta = toLine - RunTableAt(src, i)->first;
    for (int32_t k = 0; k < n; k++) {
        LineRun *run = RunTableAt(dst, j + k);
        *run = *RunTableAt(src, i + k);
        run->first += delta;
    }
    return 1;
}

void RunTableShift(Handle *table, int32_t line, int32_t delta) {
    RunTableResetCache();
    for (int32_t i = RunTableCount(table) - 1; i >= 0; i--) {
        LineRun *run = RunTableAt(table, i);
        if (run->first < line) break;
        run->first += delta;
    }
}

int RunTableCheck(const Handle *table, int32_t lineCount) {
    const LineRunTable *header = RunTableHeader(table);
    if (header->count < 1 || header->count > header->capacity) return 0;
    if (HSize(table) < RunTableBytes(header->capacity)) return 0;
    if (RunTableAt(table, header->count - 1)->first != lineCount) return 0;
    if (header->count > 1 && RunTableAt(table, 0)->first != 0) return 0;
    for (int32_t i = 1; i < header->count; i++)
        if (RunTableAt(table, i)->first <= RunTableAt(table, i - 1)->first) return 0;
    return 1;
}
