// doc_bench: the document core on a file of 1,000,000 lines. The first run writes two files into the
// temporary folder, one with CR LF line ends and one with LF (lines of 0 to 200 characters, a few of 5,000);
// later runs reuse them. For each file it prints the size, the time of one plain ReadFile of the whole file
// (the floor) and the time of DocLoadFile. For the CR LF file: the time to show line 999,999 from a cold
// fetch cache (that line and the 50 lines a window shows there) with the seeks it took, and the process's
// working set and private bytes after loading and after showing; then reading every line, one ReplaceLine at
// line 500,000, saving over the file (byte copy) and Save As with LF ends, each beside the floor.
// Then undo: 1,000 edits spread over the file (one line replaced every 1,000 lines, each its own edit, so each
// takes a snapshot), the time per edit beside the floor of writing one snapshot's bytes with WriteFile, the
// undo file's growth, and the time per undo of all 1,000 beside the floor of reading one snapshot's bytes into
// a new block.
// The last line is always the summary: load/floor (CR LF file), mem/file (private bytes after showing less
// those before loading, over the file size; a mapped view's pages are the system's file cache), show_ms,
// edit/floor and undo/floor.
#include "base/file.h"
#include "base/filecache.h"
#include "base/fileos.h"
#include "base/heap.h"
#include "doc/doc.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/docfile.h"
#include "doc/dochook.h"
#include "doc/undo.h"
#include "shell/hubinit.h"

#define PSAPI_VERSION 2
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

enum {
    BENCH_LINES = 1000000,
    BENCH_LONG_EVERY = 50000,
    BENCH_LONG = 5000,
    BENCH_SHOWN = 50,
    BENCH_EDITS = 1000,
};

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

std::string TempPath(const char *name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

// Lines of 0 to 200 characters from a fixed seed, and every 50,000th of 5,000.
bool WriteBenchFile(const std::string &path, const char *eol) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) return false;
    uint32_t seed = 4711;
    std::string line;
    for (int i = 0; i < BENCH_LINES; i++) {
        seed = seed * 1103515245u + 12345u;
        size_t length =
            i % BENCH_LONG_EVERY == BENCH_LONG_EVERY - 1 ? (size_t)BENCH_LONG : (seed >> 16) % 201;
        line.assign(length, ' ');
        for (size_t k = 0; k < length; k++) line[k] = (char)('a' + (seed >> (k % 16)) % 26);
        line += eol;
        fwrite(line.data(), 1, line.size(), f);
    }
    return fclose(f) == 0;
}

// One ReadFile of the whole file into a buffer that is freed again.
double ReadFloor(const std::string &path, uint32_t *size) {
    auto start = std::chrono::steady_clock::now();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    *size = GetFileSize(h, nullptr);
    char *buffer = (char *)malloc(*size);
    DWORD got = 0;
    ReadFile(h, buffer, *size, &got, nullptr);
    CloseHandle(h);
    double ms = Ms(start);
    free(buffer);
    return ms;
}

struct Memory {
    double workingSet;
    double privateBytes;
};

Memory MemoryNow() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS *)&counters, sizeof counters);
    // Where the system does not report private bytes, the page-file usage is the process's private commit.
    SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return {(double)counters.WorkingSetSize, (double)privateBytes};
}

void PrintMemory(const char *when, Memory m, Memory before, uint32_t size) {
    printf("  %-14s working set %7.1f MB  private %7.1f MB (+%.1f MB, %.2f x the file)\n", when,
           m.workingSet / 1e6, m.privateBytes / 1e6, (m.privateBytes - before.privateBytes) / 1e6,
           (m.privateBytes - before.privateBytes) / size);
}

int MakeTemp(char *outPath) {
    return MakeTempFile(outPath);
}

FileBuffer *TimedLoad(const std::string &path, double floor, double *ratio) {
    auto start = std::chrono::steady_clock::now();
    FileBuffer *doc = DocLoadFile(path.c_str(), -1, false);
    double ms = Ms(start);
    *ratio = ms / floor;
    printf("  DocLoadFile     %8.1f ms  %5.2f x the floor  (%d lines)\n", ms, *ratio, doc ? doc->lnMac : -1);
    return doc;
}

double ShowLastLine(FileBuffer *doc) {
    static LineRecord record;
    DocResetFetchCache();
    RunTableResetCache();
    FileOsResetStats();
    DocFetchResetStats();
    auto start = std::chrono::steady_clock::now();
    GetLine(doc, BENCH_LINES - 1, &record);
    for (int32_t line = BENCH_LINES - BENCH_SHOWN; line < BENCH_LINES; line++) GetLine(doc, line, &record);
    double ms = Ms(start);
    FileOsStats os = FileOsGetStats();
    printf("  show line %d  %8.3f ms  (%u positionings, %u lines walked; system: %u seeks, %u reads)\n",
           BENCH_LINES - 1, ms, DocFetchGetStats().positions,
           DocFetchGetStats().walkedForward + DocFetchGetStats().walkedBack, os.seeks, os.reads);
    return ms;
}

void Timed(const char *what, double floor, double ms) {
    printf("  %-15s %8.1f ms  %5.2f x the floor\n", what, ms, ms / floor);
}

void EditAndSave(FileBuffer *doc, const std::string &path, double floor) {
    static LineRecord record;
    auto start = std::chrono::steady_clock::now();
    int64_t bytes = 0;
    for (int32_t line = 0; line < doc->lnMac; line++) {
        GetLine(doc, line, &record);
        bytes += record.length;
    }
    Timed("read all lines", floor, Ms(start));
    LineFromSz("a line replaced in the middle of the file", &record);
    start = std::chrono::steady_clock::now();
    ReplaceLine(doc, BENCH_LINES / 2, &record);
    Timed("ReplaceLine", floor, Ms(start));
    start = std::chrono::steady_clock::now();
    int saved = DocSaveToFile(doc, path.c_str(), false, EOL_CRLF);
    Timed(saved ? "save (byte copy)" : "save FAILED", floor, Ms(start));
    std::string lf = TempPath("vx-doc-bench-saved-lf.txt");
    start = std::chrono::steady_clock::now();
    saved = DocSaveToFile(doc, lf.c_str(), false, EOL_LF);
    Timed(saved ? "Save As (LF)" : "Save As FAILED", floor, Ms(start));
    DeleteFileA(lf.c_str());
    (void)bytes;
}

// WriteFile of `bytes` bytes into a new temporary file, and ReadFile of them back into a new block, each the
// mean of ten: the floors of writing and reading a snapshot. An undo reads into new blocks (the buffer keeps
// its tables until the whole snapshot is read), whose first touch of each page is part of the cost.
void SnapshotFloors(uint32_t bytes, double *writeMs, double *readMs) {
    const int rounds = 10;
    std::string path = TempPath("vx-doc-bench-floor.tmp");
    std::string buffer(bytes, 'x');
    DWORD moved = 0;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; i++) WriteFile(h, buffer.data(), bytes, &moved, nullptr);
    *writeMs = Ms(start) / rounds;
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; i++) {
        Handle *block = HAlloc(bytes);
        ReadFile(h, block->ptr, bytes, &moved, nullptr);
        HFree(block);
    }
    *readMs = Ms(start) / rounds;
    CloseHandle(h);
    DeleteFileA(path.c_str());
}

struct UndoFigures {
    double editRatio;
    double undoRatio;
};

// 1,000 edits spread over the file, each its own step, then every one of them undone.
UndoFigures EditsAndUndos(FileBuffer *doc) {
    static LineRecord record, before, after;
    int32_t lines = doc->lnMac;
    GetLine(doc, 500, &before);
    LineFromSz("a line replaced by one of the spread edits", &record);
    auto start = std::chrono::steady_clock::now();
    int edited = 0;
    for (int i = 0; i < BENCH_EDITS; i++)
        edited += ReplaceLine(doc, i * (BENCH_LINES / BENCH_EDITS) + 500, &record);
    double editMs = Ms(start) / (double)BENCH_EDITS;
    uint32_t grown = FileGetSize(doc->fnUndo);
    double writeFloor, readFloor;
    SnapshotFloors(grown / BENCH_EDITS, &writeFloor, &readFloor);
    start = std::chrono::steady_clock::now();
    int undone = 0;
    while (UndoCanUndo(doc) && UndoStep(doc)) undone++;
    double undoMs = Ms(start) / (undone ? undone : 1);
    GetLine(doc, 500, &after);
    bool restored = doc->lnMac == lines && before.length == after.length &&
                    memcmp(before.text, after.text, (size_t)before.length) == 0;
    printf("  %d edits spread over the file: %.2f ms per edit, %.2f x the floor (WriteFile of a snapshot, "
           "%.2f ms)\n",
           edited, editMs, editMs / writeFloor, writeFloor);
    printf("  undo file: %.1f MB after %d edits, %.2f MB per edit\n", grown / 1e6, edited,
           grown / 1e6 / (double)BENCH_EDITS);
    printf("  %d undos: %.2f ms per undo, %.2f x the floor (ReadFile of a snapshot into a new block, %.2f "
           "ms)%s\n",
           undone, undoMs, undoMs / readFloor, readFloor, restored ? "" : "  NOT RESTORED");
    return {editMs / writeFloor, undoMs / readFloor};
}

} // namespace

int main() {
    HeapInit();
    FileCacheInit(FILE_CACHE_DEFAULT_KB);
    DocShellHook shell = *DocShellNeutral();
    shell.makeTempFile = MakeTemp;
    DocSetShellHook(&shell);
    if (!ScratchFileCreate()) {
        printf("no scratch file\n");
        return 1;
    }
    std::string crlf = TempPath("vx-doc-bench-crlf.txt"), lf = TempPath("vx-doc-bench-lf.txt");
    if (!WriteBenchFile(crlf, "\r\n") || !WriteBenchFile(lf, "\n")) {
        printf("cannot write the bench files in the temporary folder\n");
        return 1;
    }
    uint32_t size = 0;
    printf("LF file\n");
    double floor = ReadFloor(lf, &size), ratio;
    printf("  %u bytes, ReadFile %.1f ms\n", size, floor);
    DocFree(TimedLoad(lf, floor, &ratio), false);

    printf("CR LF file\n");
    floor = ReadFloor(crlf, &size);
    printf("  %u bytes, ReadFile %.1f ms\n", size, floor);
    Memory before = MemoryNow();
    double loadRatio;
    FileBuffer *doc = TimedLoad(crlf, floor, &loadRatio);
    if (!doc) return 1;
    PrintMemory("after loading", MemoryNow(), before, size);
    double showMs = ShowLastLine(doc);
    Memory shown = MemoryNow();
    PrintMemory("after showing", shown, before, size);
    // The bench file is saved over: a copy keeps the original for the next run.
    std::string copy = TempPath("vx-doc-bench-crlf-copy.txt");
    CopyFileA(crlf.c_str(), copy.c_str(), FALSE);
    DocFree(doc, false);
    doc = DocLoadFile(copy.c_str(), -1, false);
    EditAndSave(doc, copy, floor);
    DocFree(doc, false);
    printf("Undo\n");
    doc = DocLoadFile(copy.c_str(), -1, false);
    UndoFigures undo = EditsAndUndos(doc);
    DocFree(doc, false);
    DeleteFileA(copy.c_str());
    ScratchFileClose(false);
    printf("load/floor=%.2f mem/file=%.2f show_ms=%.1f edit/floor=%.2f undo/floor=%.2f\n", loadRatio,
           (shown.privateBytes - before.privateBytes) / size, showMs, undo.editRatio, undo.undoRatio);
    return 0;
}
