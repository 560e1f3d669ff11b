// docfetch: the line store and the line fetch (prefixes Doc, ScratchFile, GetLine). Globals: the scratch
// file; the fetch cache {buffer, file, offset of the next line, run, next line, in-memory bit, first line of
// the next run, line count when positioned}; the typing line {buffer, line, its record}; the long-line table
// (file, offset, exact length), sorted, for lines whose length entry is 65,535.
// The scratch file is written straight to the system (no block cache), so that a failed write is seen by the
// edit that makes it and never later, when the lines it was meant to hold are already in use.
#include "doc/docfetch.h"

#include "base/utilil.h"
#include "doc/docedit.h"
#include "doc/dochook.h"

#include <cstring>

const char ercDocScratchFile[] =
    "Cannot create Scratch File; possibly not enough space on disk for temporary files.";

enum { DOC_LENGTH_SLACK = 1000, DOC_READ_MAX = LINE_TEXT_MAX + 2 };

// ---- The scratch file ----

static int scratchFile = -1;
static char scratchPath[256];

int ScratchFileCreate() {
    if (scratchFile >= 0) return 1;
    scratchFile = DocShell().makeTempFile(scratchPath);
    if (scratchFile < 0) {
        scratchPath[0] = 0;
        ErcSetF(ercDocScratchFile);
        return 0;
    }
    FileSetDirect(scratchFile, true);
    return 1;
}

int ScratchFileNumber() {
    return scratchFile;
}

void ScratchFileGetPath(char *out) {
    StrCopyMaxLen(scratchPath, out, 255);
}

void ScratchFileClose(bool fKeep) {
    if (scratchFile < 0) return;
    DocLongLinesDropFile(scratchFile);
    if (fKeep)
        FileClose(scratchFile);
    else
        FileCloseDelete(scratchFile);
    scratchFile = -1;
    scratchPath[0] = 0;
}

// One write of the text and its CR LF. Offsets in the file are 32-bit: the file layer refuses a write that
// would take it to 4 GB.
int64_t ScratchFileAppend(FileBuffer *doc, const char *text, int32_t length) {
    static char line[LINE_TEXT_MAX + 2];
    if (scratchFile < 0) {
        ErcSetF(ercDocScratchFile);
        if (doc) EditErrorSetFile(doc);
        return -1;
    }
    length = ClampValue(length, 0, LINE_TEXT_MAX);
    memcpy(line, text, (size_t)length);
    memcpy(line + length, "\r\n", 2);
    uint32_t at = FileGetSize(scratchFile);
    FileSeek(scratchFile, at);
    if (!FileWriteExact(scratchFile, line, length + 2)) {
        if (doc) EditErrorSetFile(doc);
        return -1;
    }
    return at;
}

int64_t ScratchFileCopy(int file, uint32_t offset, uint32_t length) {
    if (scratchFile < 0) return -1;
    uint32_t at = FileGetSize(scratchFile);
    FileSeek(scratchFile, at);
    return FileCopyRange(file, offset, scratchFile, length) ? at : -1;
}

int64_t ScratchFileCopyLine(int file, uint32_t offset, uint32_t length) {
    int64_t at = ScratchFileCopy(file, offset, length);
    if (at < 0) return -1;
    FileSeek(scratchFile, FileGetSize(scratchFile));
    return FileWriteExact(scratchFile, "\r\n", 2) ? at : -1;
}

// ---- The long-line table ----

struct DocLongLine {
    int32_t file;
    uint32_t offset;
    uint32_t length;
};

static DocLongLine *longLines;
static int32_t longLineCount;
static int32_t longLineCapacity;

static int32_t DocLongLineSearch(int file, uint32_t offset, bool *found) {
    int32_t lo = 0, hi = longLineCount;
    while (lo < hi) {
        int32_t mid = (lo + hi) / 2;
        const DocLongLine &e = longLines[mid];
        if (e.file < file || (e.file == file && e.offset < offset))
            lo = mid + 1;
        else
            hi = mid;
    }
    *found = lo < longLineCount && longLines[lo].file == file && longLines[lo].offset == offset;
    return lo;
}

int DocLongLineAdd(int file, uint32_t offset, uint32_t length) {
    bool found;
    int32_t i = DocLongLineSearch(file, offset, &found);
    if (found) {
        longLines[i].length = length;
        return 1;
    }
    if (longLineCount == longLineCapacity) {
        int32_t capacity = longLineCapacity + 16;
        void *grown = MemRealloc(longLines, (size_t)capacity * sizeof(DocLongLine));
        if (!grown) return 0;
        longLines = (DocLongLine *)grown;
        longLineCapacity = capacity;
    }
    memmove(longLines + i + 1, longLines + i, (size_t)(longLineCount - i) * sizeof(DocLongLine));
    longLines[i] = DocLongLine{file, offset, length};
    longLineCount++;
    return 1;
}

uint32_t DocLongLineLength(int file, uint32_t offset) {
    bool found;
    int32_t i = DocLongLineSearch(file, offset, &found);
    return found ? longLines[i].length : (uint32_t)DOC_LINE_LONG;
}

void DocLongLinesDropFile(int file) {
    int32_t to = 0;
    for (int32_t i = 0; i < longLineCount; i++)
        if (longLines[i].file != file) longLines[to++] = longLines[i];
    longLineCount = to;
}

// ---- Lengths ----

uint16_t *DocLengths(const FileBuffer *doc) {
    return (uint16_t *)doc->hrgcb->ptr;
}

LineRun *DocGetRun(const FileBuffer *doc, int32_t i) {
    return RunTableAt(doc->hrgl, i);
}

int32_t DocRunCount(const FileBuffer *doc) {
    return RunTableCount(doc->hrgl);
}

bool DocIsLongRun(const FileBuffer *doc, int32_t i) {
    const LineRun *run = DocGetRun(doc, i);
    return i + 1 < DocRunCount(doc) && DocGetRun(doc, i + 1)->first == run->first + 1 &&
           DocLengths(doc)[run->first] == DOC_LINE_LONG;
}

// A long line is the only line of its run, so its offset is the run's.
uint32_t DocStoredLength(const FileBuffer *doc, int32_t line) {
    uint16_t entry = DocLengths(doc)[line];
    if (entry != DOC_LINE_LONG) return entry;
    const LineRun *run = DocGetRun(doc, RunTableFind(doc->hrgl, line));
    return run->first == line ? DocLongLineLength(RunFile(run), run->offset) : (uint32_t)DOC_LINE_LONG;
}

static uint64_t DocSumLengths(const FileBuffer *doc, int32_t from, int32_t to) {
    const uint16_t *lengths = DocLengths(doc);
    uint64_t sum = 0;
    for (int32_t line = from; line < to; line++)
        sum += lengths[line] == DOC_LINE_LONG ? DocStoredLength(doc, line) : lengths[line];
    return sum;
}

int DocSetLengthCapacity(FileBuffer *doc, int32_t entries) {
    return HRealloc(doc->hrgcb, (uint32_t)Max(entries, 1) * 2, 1);
}

int DocEnsureLines(FileBuffer *doc, int32_t n) {
    int64_t total = (int64_t)doc->lnMac + n;
    if (total >= DOC_LINES_LIMIT) {
        EditErrorSet(EDIT_ERR_TOO_MANY_LINES, doc);
        return 0;
    }
    if ((uint64_t)total * 2 <= HSize(doc->hrgcb)) return 1;
    if (!HRealloc(doc->hrgcb, (uint32_t)(total * 2 + DOC_LENGTH_SLACK), 1)) {
        EditErrorSet(EDIT_ERR_MEMORY, doc);
        return 0;
    }
    return 1;
}

void DocShiftLengths(FileBuffer *doc, int32_t line, int32_t n) {
    uint16_t *lengths = DocLengths(doc);
    memmove(lengths + line + n, lengths + line, (size_t)(doc->lnMac - line) * 2);
    doc->lnMac += n;
}

void DocDropLengths(FileBuffer *doc, int32_t line, int32_t n) {
    uint16_t *lengths = DocLengths(doc);
    memmove(lengths + line, lengths + line + n, (size_t)(doc->lnMac - line - n) * 2);
    doc->lnMac -= n;
    DocSetLengthCapacity(doc, doc->lnMac);
}

// ---- Runs ----

uint32_t DocRunEnd(const FileBuffer *doc, int32_t i) {
    const LineRun *run = DocGetRun(doc, i);
    int32_t next = i + 1 < DocRunCount(doc) ? DocGetRun(doc, i + 1)->first : run->first;
    return run->offset + (uint32_t)DocSumLengths(doc, run->first, next);
}

int32_t DocSplitRunAt(FileBuffer *doc, int32_t line) {
    int32_t i = RunTableFind(doc->hrgl, line);
    int32_t j = RunTableSplitAt(doc->hrgl, line, i);
    if (j < 0) return -1;
    LineRun *run = DocGetRun(doc, j);
    run->flags &= ~RUN_FRESH;
    if (j == i + 1) {
        const LineRun *prev = DocGetRun(doc, i);
        run->offset = prev->offset + (uint32_t)DocSumLengths(doc, prev->first, line);
        run->flags &= ~RUN_TYPING;
    }
    RunTableResetCache();
    return j;
}

// A run of a long line is never merged: its neighbours' offsets are what keeps the lines after it exact.
int DocMergeRun(FileBuffer *doc, int32_t i) {
    if (i <= 0 || i >= DocRunCount(doc) - 1) return 0;
    const LineRun *a = DocGetRun(doc, i - 1), *b = DocGetRun(doc, i);
    if (RunFile(a) != RunFile(b) || ((a->flags ^ b->flags) & (RUN_SCRATCH | RUN_NO_TEXT))) return 0;
    if (((a->generation ^ b->generation) & 0xFFFF) || ((a->flags | b->flags) & RUN_TYPING)) return 0;
    if (DocIsLongRun(doc, i - 1) || DocIsLongRun(doc, i) || DocRunEnd(doc, i - 1) != b->offset) return 0;
    RunTableDelete(doc->hrgl, i, 1);
    return 1;
}

// The nearest run before i that lies in the same file, -1 when none.
static int32_t DocPrevRunOfFile(const FileBuffer *doc, int32_t i, int file) {
    for (int32_t k = i - 1; k >= 0; k--)
        if (RunFile(DocGetRun(doc, k)) == file && !(DocGetRun(doc, k)->flags & RUN_SCRATCH)) return k;
    return -1;
}

int DocLineChangeKind(FileBuffer *doc, int32_t line, LineRun *outRun, int *outKind) {
    *outKind = 0;
    if (doc->fn < 0 || doc->fn == scratchFile || doc->idta == DOC_TYPE_OUTPUT ||
        doc->idta == DOC_TYPE_SEARCH_RESULTS || line < 0 || line >= doc->lnMac)
        return 0;
    int32_t i = RunTableFind(doc->hrgl, line);
    const LineRun *run = DocGetRun(doc, i);
    if (run->flags & RUN_SCRATCH) {
        *outKind = 1;
    } else if (run->first == line && RunFile(run) == doc->fn) {
        int32_t prev = DocPrevRunOfFile(doc, i, doc->fn);
        if (prev < 0 ? run->offset != 0 : DocRunEnd(doc, prev) != run->offset) *outKind = 2;
    }
    if (*outKind) *outRun = *run;
    return *outKind != 0;
}

void DocRemapFiles(const int *map, int32_t mapCount) {
    FileBuffer *typing = nullptr;
    for (FileBuffer *doc = DocListHead(); doc; doc = doc->pdocNext) {
        if (!(doc->flags & DOC_REMAP_RUNS)) continue;
        for (int32_t i = 0; i < DocRunCount(doc) - 1; i++) {
            LineRun *run = DocGetRun(doc, i);
            if (run->flags & RUN_TYPING) typing = doc;
            int file = RunFile(run);
            if (file >= 0 && file < mapCount) RunSetFile(run, map[file]);
            if (FileIsUnreadable(RunFile(run))) doc->flags |= DOC_UNAVAILABLE_RUNS;
        }
    }
    DocResetFetchCache();
    if (typing) DocFlushEditLine(typing);
}

// ---- The fetch cache ----

struct DocFetchCache {
    FileBuffer *doc; // null: nothing cached
    int file;
    uint32_t offset; // of the next line
    int32_t run;
    int32_t line; // the next line
    bool inMemory;
    int32_t nextFirst;
    int32_t lineCount;
};

static DocFetchCache fetch;
static DocFetchStats fetchStats;

void DocResetFetchCache() {
    fetch = DocFetchCache{};
}

DocFetchStats DocFetchGetStats() {
    return fetchStats;
}
void DocFetchResetStats() {
    fetchStats = DocFetchStats{};
}

static void DocFetchEnterRun(FileBuffer *doc, int32_t i, uint32_t offset, int32_t line) {
    const LineRun *run = DocGetRun(doc, i);
    int32_t count = DocRunCount(doc);
    fetch = DocFetchCache{doc,
                          RunFile(run),
                          offset,
                          i,
                          line,
                          (run->flags & RUN_TYPING) != 0,
                          i + 1 < count ? DocGetRun(doc, i + 1)->first : doc->lnMac,
                          doc->lnMac};
}

// Walks from the run's first line, or from the cached line when that is nearer, adding lengths forwards and
// subtracting them backwards.
static void DocFetchPosition(FileBuffer *doc, int32_t line) {
    fetchStats.positions++;
    int32_t i = RunTableFind(doc->hrgl, line);
    const LineRun *run = DocGetRun(doc, i);
    uint32_t offset = run->offset;
    int32_t at = run->first;
    if (fetch.doc == doc && fetch.run == i && fetch.lineCount == doc->lnMac &&
        Abs(fetch.line - line) < line - run->first) {
        offset = fetch.offset;
        at = fetch.line;
    }
    for (; at < line; at++, fetchStats.walkedForward++) offset += DocStoredLength(doc, at);
    for (; at > line; fetchStats.walkedBack++) offset -= DocStoredLength(doc, --at);
    DocFetchEnterRun(doc, i, offset, line);
}

static void DocFetchAdvance(FileBuffer *doc, uint32_t stored) {
    fetch.offset += stored;
    fetch.line++;
    if (fetch.line < fetch.nextFirst) return;
    if (fetch.line >= doc->lnMac) {
        DocResetFetchCache();
        return;
    }
    DocFetchEnterRun(doc, fetch.run + 1, DocGetRun(doc, fetch.run + 1)->offset, fetch.line);
}

static void DocFetchAt(FileBuffer *doc, int32_t line) {
    if (fetch.doc != doc || fetch.line != line || fetch.lineCount != doc->lnMac) DocFetchPosition(doc, line);
}

// ---- The typing line ----

struct DocEditLine {
    FileBuffer *doc; // null: no typing line
    int32_t line;
    LineRecord record;
};

static DocEditLine editLine;

// Reads up to `want` stored bytes of the cached line into buffer: the typing line, '?' for a file marked
// unavailable or a short read, else the file's bytes.
static int32_t DocFetchBytes(char *buffer, int32_t want) {
    if (fetch.inMemory) {
        int32_t n = Min(editLine.record.length, want);
        memcpy(buffer, editLine.record.text, (size_t)n);
        return n;
    }
    if (FileRefCount(fetch.file) > 0 && !FileIsUnreadable(fetch.file)) {
        FileSeek(fetch.file, fetch.offset);
        if (FileReadWrite(fetch.file, buffer, want, FILE_TRANSFER_READ) == want) return want;
    }
    memset(buffer, '?', (size_t)want);
    return want;
}

// The text of a line of `stored` bytes read into buffer (room for cut + 2 bytes), cut to `cut` characters.
// The line end is stripped when the whole line was read (LF, then CR); a longer line is cut without one.
static int32_t DocFetchText(FileBuffer *doc, int32_t line, char *buffer, int32_t cut) {
    DocFetchAt(doc, line);
    uint32_t stored = DocStoredLength(doc, line);
    bool typing = fetch.inMemory;
    int32_t want = stored > (uint32_t)(cut + 2) ? cut + 2 : (int32_t)stored;
    int32_t n = DocFetchBytes(buffer, typing ? cut : want);
    if (!typing && (uint32_t)want == stored) {
        if (n > 0 && buffer[n - 1] == '\n') n--;
        if (n > 0 && buffer[n - 1] == '\r') n--;
    }
    DocFetchAdvance(doc, stored);
    return Min(n, cut);
}

void GetLine(FileBuffer *doc, int32_t line, LineRecord *out) {
    if (!doc || line < 0 || line >= doc->lnMac) {
        LineClear(out);
        return;
    }
    int32_t n = DocFetchText(doc, line, out->text, LINE_TEXT_MAX);
    out->length = (int16_t)n;
    out->text[n] = 0;
}

void GetLineShort(FileBuffer *doc, int32_t line, unsigned char *out) {
    char buffer[DOC_LINE_SHORT_MAX + 2];
    out[0] = 0;
    if (!doc || line < 0 || line >= doc->lnMac) return;
    int32_t n = DocFetchText(doc, line, buffer, DOC_LINE_SHORT_MAX);
    out[0] = (unsigned char)n;
    memcpy(out + 1, buffer, (size_t)n);
}

void GetLineSubstring(FileBuffer *doc, int32_t line, int32_t from, int32_t to, char *out) {
    static LineRecord record;
    GetLine(doc, line, &record);
    from = ClampValue(from, 0, record.length);
    to = ClampValue(to, from, record.length);
    memcpy(out, record.text + from, (size_t)(to - from));
    out[to - from] = 0;
}

int32_t GetLineLength(FileBuffer *doc, int32_t line) {
    static LineRecord record;
    GetLine(doc, line, &record);
    return record.length;
}

uint32_t DocLineRawLength(FileBuffer *doc, int32_t line) {
    if (!doc || line < 0 || line >= doc->lnMac) return 0;
    if (editLine.doc == doc && editLine.line == line) return (uint32_t)editLine.record.length;
    return DocStoredLength(doc, line);
}

int DocCharAt(FileBuffer *doc, int32_t line, int32_t column) {
    static LineRecord record;
    GetLine(doc, line, &record);
    return column >= 0 && column < record.length ? (unsigned char)record.text[column] : 0;
}

int32_t DocLastLine(const FileBuffer *doc) {
    return Max(doc->lnMac - 1, 0);
}

int32_t DocReadStoredBytes(FileBuffer *doc, int32_t line, uint32_t from, char *buffer, int32_t length) {
    DocFetchAt(doc, line);
    if (fetch.inMemory) return -1;
    uint32_t stored = DocStoredLength(doc, line);
    if (from >= stored) return 0;
    int32_t n = stored - from > (uint32_t)length ? length : (int32_t)(stored - from);
    FileSeek(fetch.file, fetch.offset + from);
    int32_t got = FileReadWrite(fetch.file, buffer, n, FILE_TRANSFER_READ);
    return got == n ? n : -1;
}

// ---- Offsets ----

uint64_t DocOffsetOfLine(const FileBuffer *doc, int32_t line) {
    return DocSumLengths(doc, 0, ClampValue(line, 0, doc->lnMac));
}

uint64_t DocByteSize(const FileBuffer *doc) {
    return DocOffsetOfLine(doc, doc->lnMac);
}

uint64_t DocOffsetOfPos(const FileBuffer *doc, int32_t line, int32_t column) {
    return DocOffsetOfLine(doc, line) + (uint64_t)Max(column, 0);
}

void DocPosOfOffset(const FileBuffer *doc, uint64_t offset, int32_t *outLine, int32_t *outColumn) {
    uint64_t at = 0;
    for (int32_t line = 0; line < doc->lnMac; line++) {
        uint32_t length = DocStoredLength(doc, line);
        if (offset < at + length) {
            *outLine = line;
            *outColumn = (int32_t)(offset - at);
            return;
        }
        at += length;
    }
    *outLine = doc->lnMac;
    *outColumn = 0;
}

int64_t DocDistance(const FileBuffer *doc, int32_t line1, int32_t col1, int32_t line2, int32_t col2) {
    if (line1 == line2) return (int64_t)col2 - col1;
    return (int64_t)DocOffsetOfPos(doc, line2, col2) - (int64_t)DocOffsetOfPos(doc, line1, col1);
}

void DocEndPos(const FileBuffer *doc, int32_t *outLine, int32_t *outColumn) {
    *outLine = doc->lnMac;
    *outColumn = 0;
}

// ---- Store-level changes ----

// The text goes to the scratch file first: when that fails, nothing else has changed.
int DocStoreInsertLine(FileBuffer *doc, int32_t line, const char *text, int32_t length) {
    DocResetFetchCache();
    length = ClampValue(length, 0, LINE_TEXT_MAX);
    int64_t at = ScratchFileAppend(doc, text, length);
    if (at < 0) return 0;
    int32_t i = DocSplitRunAt(doc, line);
    if (i < 0 || !DocEnsureLines(doc, 1) || !RunTableInsert(doc->hrgl, i, 1)) return 0;
    DocShiftLines(doc, line, 1);
    DocShiftLengths(doc, line, 1);
    DocLengths(doc)[line] = (uint16_t)(length + 2);
    LineRun *run = DocGetRun(doc, i);
    *run = LineRun{line, RUN_SCRATCH, (uint32_t)at, (uint32_t)doc->cSave & 0xFFFF};
    RunSetFile(run, scratchFile);
    DocMergeRun(doc, i);
    return 1;
}

int DocStoreDeleteLines(FileBuffer *doc, int32_t line, int32_t n) {
    DocResetFetchCache();
    int32_t i = DocSplitRunAt(doc, line);
    int32_t j = i < 0 ? -1 : DocSplitRunAt(doc, line + n);
    if (j < 0) return 0;
    RunTableDelete(doc->hrgl, i, j - i);
    DocShiftLines(doc, line, -n);
    DocDropLengths(doc, line, n);
    return 1;
}

// ---- The typing line ----

static int32_t DocEditRunIndex(FileBuffer *doc) {
    int32_t i = RunTableFind(doc->hrgl, editLine.line);
    if (DocGetRun(doc, i)->flags & RUN_TYPING) return i;
    for (i = 0; i < DocRunCount(doc) - 1; i++)
        if (DocGetRun(doc, i)->flags & RUN_TYPING) return i;
    return -1;
}

int DocBeginLineEdit(FileBuffer *doc, int32_t line, LineRecord *out) {
    if (line < 0 || line >= doc->lnMac) return 0;
    GetLine(doc, line, out);
    DocResetFetchCache();
    int32_t i = DocSplitRunAt(doc, line);
    if (i < 0 || DocSplitRunAt(doc, line + 1) < 0) return 0;
    LineRun *run = DocGetRun(doc, i);
    *run = LineRun{line, RUN_TYPING | RUN_SCRATCH, 0, (uint32_t)doc->cSave & 0xFFFF};
    RunSetFile(run, scratchFile);
    editLine.doc = doc;
    editLine.line = line;
    LineFromText(out->text, out->length, &editLine.record);
    DocLengths(doc)[line] = (uint16_t)(out->length + 2);
    return 1;
}

int32_t DocSetEditLine(const LineRecord *record, bool fNotify) {
    if (!editLine.doc) return 0;
    LineFromText(record->text, record->length, &editLine.record);
    DocLengths(editLine.doc)[editLine.line] = (uint16_t)(record->length + 2);
    if (!fNotify) return record->length + 2;
    DocChangeNotice(editLine.doc, DOC_CHANGE_LINE, editLine.line, editLine.line);
    return 0;
}

int DocFlushEditLine(FileBuffer *doc) {
    if (!doc || editLine.doc != doc) return 1;
    int32_t i = DocEditRunIndex(doc);
    int64_t at = ScratchFileAppend(doc, editLine.record.text, editLine.record.length);
    if (at < 0 || i < 0) {
        DocClearEditLine();
        return 0;
    }
    DocLengths(doc)[editLine.line] = (uint16_t)(editLine.record.length + 2);
    LineRun *run = DocGetRun(doc, i);
    run->offset = (uint32_t)at;
    run->flags = (run->flags & ~RUN_TYPING) | RUN_SCRATCH;
    RunSetFile(run, scratchFile);
    DocClearEditLine();
    DocResetFetchCache();
    DocMergeRun(doc, i);
    return 1;
}

FileBuffer *DocEditLineBuffer() {
    return editLine.doc;
}

int32_t DocEditLineNumber() {
    return editLine.doc ? editLine.line : -1;
}

void DocClearEditLine() {
    editLine.doc = nullptr;
    editLine.line = -1;
    LineClear(&editLine.record);
}

void DocEditLineShort(unsigned char *out) {
    int32_t n = editLine.doc ? Min(editLine.record.length, 255) : 0;
    out[0] = (unsigned char)n;
    memcpy(out + 1, editLine.record.text, (size_t)n);
}

// Lines inserted or deleted above the typing line move it; deleting it ends it.
void DocEditLineOnShift(FileBuffer *doc, int32_t line, int32_t delta) {
    if (editLine.doc != doc || editLine.line < line) return;
    if (delta < 0 && editLine.line < line - delta)
        DocClearEditLine();
    else
        editLine.line += delta;
}

// ---- Invariants ----

int DocStoreCheck(const FileBuffer *doc) {
    if (!RunTableCheck(doc->hrgl, doc->lnMac) || HSize(doc->hrgcb) < (uint32_t)doc->lnMac * 2) return 0;
    int32_t typing = 0;
    for (int32_t i = 0; i < DocRunCount(doc) - 1; i++) {
        const LineRun *run = DocGetRun(doc, i);
        int32_t next = DocGetRun(doc, i + 1)->first;
        if (run->flags & RUN_TYPING) typing++;
        for (int32_t line = run->first; line < next; line++)
            if (DocLengths(doc)[line] == DOC_LINE_LONG && (line != run->first || next != line + 1)) return 0;
    }
    return typing <= 1;
}
