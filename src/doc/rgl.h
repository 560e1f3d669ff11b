// rgl: the line-run table of a file buffer (prefix RunTable, records LineRun and LineRunTable). A run says
// that a stretch of consecutive lines lies, one after another and each with its stored line end, at a byte
// offset of one open file. The table is a growable array in one movable block: a header of three 32-bit words
// {count, capacity, element size} followed by the elements. The last element is a sentinel whose first line
// is the buffer's line count; the lines of run i are [first(i), first(i + 1)). Undo snapshots and recovery
// files store the header and the runs byte for byte, so both have fixed layouts.
#pragma once

#include "base/heap.h"

#include <cstdint>

// One run (16 bytes).
struct LineRun {
    int32_t first;       // the run's first line; runs are sorted by it
    uint32_t flags;      // RUN_* bits, the file number in bits 8-23, other bits kept as they are
    uint32_t offset;     // byte offset of the run's first line in its file
    uint32_t generation; // low 16 bits: the buffer's save generation when the run was made; high 16 kept
};
static_assert(sizeof(LineRun) == 16, "a line run is stored as four 32-bit words");

enum : uint32_t {
    RUN_TYPING = 0x1,   // bit 0: the run's single line is the typing line, held in memory
    RUN_NO_TEXT = 0x4,  // bit 2: no text for the fast save path
    RUN_SCRATCH = 0x8,  // bit 3: the text lies in the scratch file (a changed or inserted line)
    RUN_FRESH = 0x10,   // bit 4: cleared whenever a run is split or copied
    RUN_FILE_SHIFT = 8, //
    RUN_FILE_MASK = 0xFFFF00,
};

inline int RunFile(const LineRun *run) {
    return (int)((run->flags & RUN_FILE_MASK) >> RUN_FILE_SHIFT);
}
inline void RunSetFile(LineRun *run, int file) {
    run->flags = (run->flags & ~RUN_FILE_MASK) | (((uint32_t)file << RUN_FILE_SHIFT) & RUN_FILE_MASK);
}

// The table's header (12 bytes); the runs follow it.
struct LineRunTable {
    int32_t count;    // runs plus the sentinel
    int32_t capacity; // elements the block holds
    int32_t elementSize;
};
static_assert(sizeof(LineRunTable) == 12, "the run table's header is three 32-bit words");

inline LineRunTable *RunTableHeader(const Handle *table) {
    return (LineRunTable *)table->ptr;
}
inline LineRun *RunTableRuns(const Handle *table) {
    return (LineRun *)((char *)table->ptr + sizeof(LineRunTable));
}
inline LineRun *RunTableAt(const Handle *table, int32_t i) {
    return RunTableRuns(table) + i;
}
inline int32_t RunTableCount(const Handle *table) {
    return RunTableHeader(table)->count;
}
inline uint32_t RunTableBytes(int32_t capacity) {
    return (uint32_t)(sizeof(LineRunTable) + (size_t)capacity * sizeof(LineRun));
}

// A new table: count 2, capacity 2, zeroed runs, run 1 (the sentinel) at line 1. Null when out of memory.
Handle *RunTableCreate(int32_t elementSize);
void RunTableFree(Handle *table);
// Count := n: the capacity grows to n + 10 when too small and shrinks to n when it exceeds n by more than 20.
// Out of memory sets the pending edit error 2 and answers 0, the table unchanged.
int RunTableSetCount(Handle *table, int32_t n);
// The run that holds the line: the exact match of first lines, else the run before the insertion point.
int32_t RunTableFind(const Handle *table, int32_t line);
// Room for n runs at i (the runs from i move up; the new slots hold copies of run i); 0 when out of memory.
int RunTableInsert(Handle *table, int32_t i, int32_t n);
void RunTableDelete(Handle *table, int32_t i, int32_t n);
// A run that starts at the line: i itself when run i starts there or is the sentinel, else a copy of run i
// inserted after it with first line = line, i + 1. -1 when out of memory.
int32_t RunTableSplitAt(Handle *table, int32_t line, int32_t i);
// Copies n runs of src from i into dst at j, their first lines moved so that the first becomes toLine.
int RunTableCopy(const Handle *src, int32_t toLine, int32_t i, int32_t n, Handle *dst, int32_t j);
// Adds delta to the first line of every run that starts at or after the line.
void RunTableShift(Handle *table, int32_t line, int32_t delta);
// Forgets the lookup cache; every change of any table calls it.
void RunTableResetCache();

// Invariant check for tests: a sentinel, first lines ascending (equal only where a run holds no line), the
// header's words consistent with the block.
int RunTableCheck(const Handle *table, int32_t lineCount);
