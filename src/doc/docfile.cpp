// docfile: loading and saving text files (prefixes Doc, Ksad). Globals: the line-end style each open file was
// loaded with, and the time of the last backup purge.
// A line end that completes exactly at the 4,092-character cut belongs to the cut line: "4,092 characters and
// LF" is one line of 4,093 stored bytes, not a line and an empty line that a save would write as a blank
// line.
#include "doc/docfile.h"

#include "base/log.h"
#include "base/fileprim.h"
#include "base/erc.h"
#include "base/path.h"
#include "base/tick.h"
#include "base/utilil.h"
#include "base/heap.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/docmrk.h"
#include "doc/docproj.h"
#include "doc/dta.h"
#include "doc/insert.h"
#include "doc/undo.h"
#include "ui/dlgalert.h"

#include <cctype>
#include <cstdio>
#include <cstring>

const char ercDocTooManyLines[] = "Too many lines in file.  Cannot open.";
const char ercDocReadError[] = "KsadOfTextFile: file read error";
const char ercDocAlreadyOpen[] = "Cannot save to %s because it is already open.";
const char ercDocTempFile[] = "Unable to write to temp file for saving operation: %s";
const char ercDocBusy[] = "\"%s\" is busy.\nIt is not currently available for write access. ";
const char ercDocChangedOutside[] =
    "%s has been changed outside of Veltrix since it was loaded.\n\nDo you want "
    "to continue and overwrite it?";
const char ercDocAddToProject[] = "Do you want to add \"%s\" to the current project?";

enum : uint32_t {
    KSAD_BLOCK = 8192,
    KSAD_DETECT_LIMIT = 65535,
    KSAD_RUN_LINES = 500,
    KSAD_CTRL_Z = 0x1A,
    DOC_ANSWER_YES = 6, // the system's IDYES
    DOC_PURGE_MS = 1800000,
    DOC_BACKUP_NUMBERS = 8192,
    DOC_LINE_BUFFER = 8192,
};

static uint8_t docFileStyles[FILE_MAX_OPEN];
static uint32_t docPurgeTime;
static bool docPurgeRan;

void DocFileStyleSet(int file, uint32_t style) {
    if (file >= 0 && file < FILE_MAX_OPEN) docFileStyles[file] = (uint8_t)(style + 1);
}

uint32_t DocFileStyle(int file) {
    if (file == ScratchFileNumber()) return EOL_CRLF;
    return file >= 0 && file < FILE_MAX_OPEN && docFileStyles[file] ? docFileStyles[file] - 1u
                                                                    : (uint32_t)EOL_NONE;
}

// ---- Detecting line ends ----

int DetectLineEnds(int file) {
    uint32_t size = FileGetSize(file), pos = 0;
    bool crSeen = false;
    char buffer[KSAD_BLOCK];
    while (pos < size) {
        int32_t want = (int32_t)Min((int32_t)(size - pos), (int32_t)KSAD_BLOCK), got;
        if (pos + (uint32_t)want > KSAD_DETECT_LIMIT) break;
        const char *p = (const char *)FileReadPtr(file, pos, buffer, want, &got);
        if (!p || got <= 0) {
            ErcSetF(ercDocReadError);
            LogWrite(ercDocReadError);
            return -1;
        }
        for (int32_t i = 0; i < got; i++) {
            if (p[i] == '\n') return crSeen ? EOL_CRLF : EOL_LF;
            if (p[i] == '\r') {
                if (crSeen) return EOL_CR;
                crSeen = true;
            }
        }
        pos += (uint32_t)got;
    }
    return EOL_NONE;
}

// ---- Loading ----

// The tables a load builds beside the buffer's, installed only when the whole load succeeded.
struct KsadBuild {
    FileBuffer *doc;
    int file;
    int style;
    bool whole;
    uint16_t *lengths;
    int32_t capacity;
    int32_t lines;
    LineRun *runs;
    int32_t runCount;
    int32_t runCapacity;
    uint32_t flags; // DOC_BINARY, DOC_CTRL_Z, DOC_LONG_LINE, DOC_LAST_LINE_ENDED
    uint32_t lineStart;
    uint32_t stored;
    int32_t counted;
    bool needRun;
};

static void KsadFree(KsadBuild *b) {
    MemFree(b->lengths);
    MemFree(b->runs);
    b->lengths = nullptr;
    b->runs = nullptr;
}

static bool KsadAddRun(KsadBuild *b, int32_t first, int file, uint32_t offset, uint32_t flags) {
    if (b->runCount == b->runCapacity) {
        int32_t capacity = b->runCapacity * 2 + 8;
        void *grown = MemRealloc(b->runs, (size_t)capacity * sizeof(LineRun));
        if (!grown) return false;
        b->runs = (LineRun *)grown;
        b->runCapacity = capacity;
    }
    LineRun *run = &b->runs[b->runCount++];
    *run = LineRun{first, flags, offset, 0};
    RunSetFile(run, file);
    return true;
}

static bool KsadRoomForLine(KsadBuild *b) {
    if (b->lines + 1 >= DOC_LINES_LIMIT) {
        ErcSetF(ercDocTooManyLines);
        return false;
    }
    if (b->lines < b->capacity) return true;
    int32_t capacity = b->capacity + (int32_t)KSAD_RUN_LINES;
    void *grown = MemRealloc(b->lengths, (size_t)capacity * 2);
    if (!grown) return false;
    b->lengths = (uint16_t *)grown;
    b->capacity = capacity;
    return true;
}

// A line of 65,535 bytes or more is the only line of its run; its exact length goes to the long-line table.
static bool KsadEndLine(KsadBuild *b) {
    if (!KsadRoomForLine(b)) return false;
    bool isLong = b->stored >= DOC_LINE_LONG;
    if ((b->needRun || isLong) && b->runs[b->runCount - 1].first != b->lines &&
        !KsadAddRun(b, b->lines, b->file, b->lineStart, 0))
        return false;
    b->needRun = false;
    if (isLong) {
        if (!DocLongLineAdd(b->file, b->lineStart, b->stored)) return false;
        b->flags |= DOC_LONG_LINE;
        b->needRun = true;
    }
    b->lengths[b->lines++] = (uint16_t)(isLong ? (uint32_t)DOC_LINE_LONG : b->stored);
    if (b->whole && b->lines % KSAD_RUN_LINES == 0) b->needRun = true;
    b->lineStart += b->stored;
    b->stored = 0;
    b->counted = 0;
    return true;
}

// After the cut, the line end that completes there: LF or CR LF (styles 1 and 2), CR (style 3).
static uint32_t KsadLineEndAfterCut(const KsadBuild *b, uint32_t at, uint32_t to) {
    if (b->style == EOL_NONE || at >= to) return 0;
    char buffer[2];
    int32_t got;
    const char *p = (const char *)FileReadPtr(b->file, at, buffer, (int32_t)Min((int32_t)(to - at), 2), &got);
    if (!p || got <= 0) return 0;
    if (b->style == EOL_CR) return p[0] == '\r';
    if (p[0] == '\n') return 1;
    return got == 2 && p[0] == '\r' && p[1] == '\n' ? 2 : 0;
}

enum KsadStep { KSAD_GO_ON, KSAD_LINE_END, KSAD_CUT, KSAD_TEXT_END };

static KsadStep KsadByte(KsadBuild *b, unsigned char c, bool ctrlZ) {
    if (c == '\n') {
        b->stored++;
        return b->style == EOL_CRLF || b->style == EOL_LF ? KSAD_LINE_END : KSAD_GO_ON;
    }
    if (c == KSAD_CTRL_Z && ctrlZ) return KSAD_TEXT_END;
    if (c != '\r' && ((c < 32 && c != '\t') || c >= 128)) b->flags |= DOC_BINARY;
    b->stored++;
    b->counted++;
    if (c == '\r' && b->style == EOL_CR) return KSAD_LINE_END;
    return b->counted >= LINE_TEXT_MAX ? KSAD_CUT : KSAD_GO_ON;
}

// 1 when the bytes hold one that sets the binary flag: below 32 other than tab, LF and CR, or 128 and above.
// Eight bytes at a time: a word without high bits and without bytes below 32 is plain text.
static bool KsadHasBinary(const unsigned char *p, int32_t n) {
    const uint64_t high = 0x8080808080808080ull, blanks = 0x2020202020202020ull;
    int32_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        memcpy(&w, p + i, 8);
        if (w & high) return true;
        if (((w - blanks) & ~w & high) == 0) continue;
        for (int32_t k = 0; k < 8; k++)
            if (p[i + k] < 32 && p[i + k] != '\t' && p[i + k] != '\n' && p[i + k] != '\r') return true;
    }
    for (; i < n; i++)
        if ((p[i] < 32 && p[i] != '\t' && p[i] != '\n' && p[i] != '\r') || p[i] >= 128) return true;
    return false;
}

// One byte through the line rules; the cut takes the line end that completes at it. Returns the bytes
// consumed beyond this one (the line end after a cut), or -1 on failure, -2 at a ^Z that ends the text.
static int32_t KsadSlowByte(KsadBuild *b, unsigned char c, bool ctrlZ, uint32_t at, uint32_t to) {
    KsadStep step = KsadByte(b, c, ctrlZ);
    if (step == KSAD_GO_ON) return 0;
    if (step == KSAD_TEXT_END) {
        b->flags |= DOC_CTRL_Z;
        return -2;
    }
    uint32_t extra = step == KSAD_CUT ? KsadLineEndAfterCut(b, at + 1, to) : 0;
    b->stored += extra;
    return KsadEndLine(b) ? (int32_t)extra : -1;
}

enum KsadFast { KSAD_FAST_DONE, KSAD_FAST_NO, KSAD_FAST_FAILED };

// Lines that end with LF well within the cut pass whole: the next LF is found, the bytes before it are
// checked for the binary flag once, and the line ends there.
static KsadFast KsadFastLine(KsadBuild *b, const unsigned char *p, int32_t got, int32_t *i) {
    const unsigned char *lf = (const unsigned char *)memchr(p + *i, '\n', (size_t)(got - *i));
    int32_t span = (int32_t)((lf ? lf - p : got) - *i);
    if (b->counted + span >= LINE_TEXT_MAX) return KSAD_FAST_NO;
    if (!(b->flags & DOC_BINARY) && KsadHasBinary(p + *i, span)) b->flags |= DOC_BINARY;
    b->stored += (uint32_t)span;
    b->counted += span;
    *i += span;
    if (!lf) return KSAD_FAST_DONE;
    b->stored++;
    (*i)++;
    return KsadEndLine(b) ? KSAD_FAST_DONE : KSAD_FAST_FAILED;
}

// Scans [pos, to): 1 at the end of the range, 0 on failure, -1 at a ^Z that ends the text.
static int KsadScan(KsadBuild *b, uint32_t pos, uint32_t to) {
    bool ctrlZ = DocOpt().ctrlZEndsText;
    bool lfEnds = b->style == EOL_CRLF || b->style == EOL_LF;
    char buffer[KSAD_BLOCK];
    while (pos < to) {
        int32_t got;
        const unsigned char *p = (const unsigned char *)FileReadPtr(
            b->file, pos, buffer, (int32_t)Min((int32_t)(to - pos), (int32_t)KSAD_BLOCK), &got);
        if (!p || got <= 0) return 0;
        bool fast = lfEnds && !(ctrlZ && memchr(p, KSAD_CTRL_Z, (size_t)got));
        uint32_t next = pos + (uint32_t)got;
        for (int32_t i = 0; i < got;) {
            KsadFast done = fast ? KsadFastLine(b, p, got, &i) : KSAD_FAST_NO;
            if (done == KSAD_FAST_FAILED) return 0;
            if (done == KSAD_FAST_DONE) continue;
            int32_t extra = KsadSlowByte(b, p[i], ctrlZ, pos + (uint32_t)i, to);
            if (extra < 0) return extra == -2 ? -1 : 0;
            i += 1 + extra;
            if (i > got) next = pos + (uint32_t)i;
        }
        pos = next;
    }
    return 1;
}

// The last line without a line end gets a run of its own in the scratch file, with CR LF added.
static bool KsadLastLine(KsadBuild *b) {
    if (b->stored == 0) return true;
    if (!KsadRoomForLine(b)) return false;
    int64_t at = ScratchFileCopyLine(b->file, b->lineStart, b->stored);
    if (at < 0) return false;
    // A file that is one line without a line end: that line's run replaces the first run.
    if (b->runs[b->runCount - 1].first == b->lines) b->runCount--;
    if (!KsadAddRun(b, b->lines, ScratchFileNumber(), (uint32_t)at, RUN_SCRATCH)) return false;
    uint32_t stored = b->stored + 2;
    if (stored >= DOC_LINE_LONG && !DocLongLineAdd(ScratchFileNumber(), (uint32_t)at, stored)) return false;
    if (stored >= DOC_LINE_LONG) b->flags |= DOC_LONG_LINE;
    b->lengths[b->lines++] = (uint16_t)Min((int32_t)stored, DOC_LINE_LONG);
    b->flags &= ~DOC_LAST_LINE_ENDED;
    b->stored = 0;
    return true;
}

static void KsadInstall(KsadBuild *b, Handle *table, Handle *lengths) {
    FileBuffer *doc = b->doc;
    if (DocEditLineBuffer() == doc) DocClearEditLine();
    RunTableFree(doc->hrgl);
    HFree(doc->hrgcb);
    doc->hrgl = table;
    doc->hrgcb = lengths;
    doc->lnMac = b->lines;
    doc->eol = (uint32_t)b->style;
    const uint32_t found = DOC_BINARY | DOC_CTRL_Z | DOC_LONG_LINE | DOC_LAST_LINE_ENDED;
    doc->flags = (doc->flags & ~found) | b->flags;
    DocFileStyleSet(b->file, (uint32_t)b->style);
}

// The run table and the length array as the buffer keeps them.
static bool KsadFinish(KsadBuild *b) {
    uint32_t end = b->lineStart;
    if (b->runs[b->runCount - 1].first == b->lines) b->runCount--; // a run without lines (no text at all)
    if (!KsadAddRun(b, b->lines, b->file, end, 0)) return false;
    Handle *table = HAlloc(RunTableBytes(b->runCount));
    Handle *lengths = HAllocCopy((uint32_t)Max(b->lines, 1) * 2, b->lengths);
    if (!table || !lengths) {
        if (table) HFree(table);
        if (lengths) HFree(lengths);
        return false;
    }
    *RunTableHeader(table) = LineRunTable{b->runCount, b->runCount, (int32_t)sizeof(LineRun)};
    memcpy(RunTableRuns(table), b->runs, (size_t)b->runCount * sizeof(LineRun));
    KsadInstall(b, table, lengths);
    return true;
}

static bool KsadBegin(KsadBuild *b, FileBuffer *doc, int file, uint32_t from, uint32_t to, bool whole) {
    *b = KsadBuild{};
    b->doc = doc;
    b->file = file;
    b->whole = whole;
    b->lineStart = from;
    b->flags = DOC_LAST_LINE_ENDED;
    b->capacity = Max((int32_t)((to - from) / 20), 1);
    b->lengths = (uint16_t *)MemAlloc((size_t)b->capacity * 2);
    if (!b->lengths) {
        b->capacity = 0;
        ErcClear();
    }
    return KsadAddRun(b, 0, file, from, 0);
}

int KsadOfTextFile(FileBuffer *doc, int file, int32_t from, int32_t to) {
    bool whole = from < 0;
    uint32_t start = whole ? 0 : (uint32_t)from, end = whole ? FileGetSize(file) : (uint32_t)to;
    ErcClear();
    KsadBuild b;
    if (!KsadBegin(&b, doc, file, start, end, whole)) return KsadFree(&b), 0;
    bool mapped = FileIsMapped(file);
    if (!mapped) FileMapNow(file);
    b.style = DetectLineEnds(file);
    int scanned = b.style < 0 ? 0 : KsadScan(&b, start, end);
    bool ok = scanned != 0 && KsadLastLine(&b) && KsadFinish(&b);
    if (!mapped) FileUnmap(file);
    KsadFree(&b);
    DocResetFetchCache();
    RunTableResetCache();
    return ok;
}

int DocReloadFrom(FileBuffer *doc, int file) {
    return KsadOfTextFile(doc, file, -1, -1);
}

// ---- Writing text ----

// Byte copies write runs as stored; only lines that end CR LF may go into a CR LF file that way.
static bool DocRunsAllCrLf(const FileBuffer *doc) {
    for (int32_t i = 0; i < DocRunCount(doc) - 1; i++) {
        const LineRun *run = DocGetRun(doc, i);
        if (!(run->flags & RUN_NO_TEXT) && DocFileStyle(RunFile(run)) != EOL_CRLF) return false;
    }
    return true;
}

// The stored line end of a line: LF, then CR before it, as the fetch strips them.
static uint32_t DocStoredLineEnd(FileBuffer *doc, int32_t line) {
    uint32_t stored = DocStoredLength(doc, line);
    char tail[2];
    uint32_t from = stored >= 2 ? stored - 2 : 0;
    int32_t n = DocReadStoredBytes(doc, line, from, tail, (int32_t)(stored - from));
    if (n <= 0) return 0;
    uint32_t cut = 0;
    if (tail[n - 1] == '\n') cut++;
    if (n - (int32_t)cut > 0 && tail[n - 1 - cut] == '\r') cut++;
    return cut;
}

// A line longer than a line record holds is written from its stored bytes.
static int DocWriteStoredLine(FileBuffer *doc, int32_t line, int file) {
    static char buffer[DOC_LINE_BUFFER];
    uint32_t text = DocStoredLength(doc, line) - DocStoredLineEnd(doc, line);
    for (uint32_t at = 0; at < text;) {
        int32_t n =
            DocReadStoredBytes(doc, line, at, buffer, (int32_t)Min((int32_t)(text - at), DOC_LINE_BUFFER));
        if (n <= 0 || !FileWriteExact(file, buffer, n)) return 0;
        at += (uint32_t)n;
    }
    return 1;
}

static int DocWriteLines(FileBuffer *doc, int file, uint32_t style) {
    static LineRecord record;
    const char *eol = style == EOL_LF ? "\n" : style == EOL_CR ? "\r" : "\r\n";
    int32_t eolLength = (int32_t)strlen(eol);
    FileSeek(file, 0);
    for (int32_t line = 0; line < doc->lnMac; line++) {
        if (DocStoredLength(doc, line) > LINE_TEXT_MAX + 2) {
            if (!DocWriteStoredLine(doc, line, file)) return 0;
        } else {
            GetLine(doc, line, &record);
            if (!FileWriteExact(file, record.text, record.length)) return 0;
        }
        bool last = line == doc->lnMac - 1;
        if ((!last || (doc->flags & DOC_LAST_LINE_ENDED)) && !FileWriteExact(file, eol, eolLength)) return 0;
    }
    return 1;
}

// The last run is written without the line end its last line does not have in the file.
static int DocWriteRuns(FileBuffer *doc, int file) {
    FileSeek(file, 0);
    int32_t last = DocRunCount(doc) - 2;
    uint32_t cut =
        doc->lnMac > 0 && !(doc->flags & DOC_LAST_LINE_ENDED) ? DocStoredLineEnd(doc, doc->lnMac - 1) : 0;
    for (int32_t i = 0; i <= last; i++) {
        const LineRun *run = DocGetRun(doc, i);
        if (run->flags & RUN_NO_TEXT) continue;
        uint32_t bytes = DocRunEnd(doc, i) - run->offset - (i == last ? cut : 0);
        if (bytes && !FileCopyRange(RunFile(run), run->offset, file, bytes)) return 0;
    }
    return 1;
}

int DocWriteText(FileBuffer *doc, int file, uint32_t style, bool fRebuild) {
    if (DocEditLineBuffer() == doc && !DocFlushEditLine(doc)) return 0;
    if (doc->fn < 0 && !(doc->flags & DOC_CLIP)) doc->flags |= DOC_LAST_LINE_ENDED;
    if (DocOpt().trimOnSave) DocTrimTrailingBlanks(doc);
    if (style == EOL_NONE || style == 4) style = doc->eol;
    bool byLine = style == EOL_LF || style == EOL_CR ||
                  (style == EOL_CRLF && (doc->eol != EOL_CRLF || !DocRunsAllCrLf(doc)));
    int ok = byLine ? DocWriteLines(doc, file, style) : DocWriteRuns(doc, file);
    const char ctrlZ = (char)KSAD_CTRL_Z;
    if (ok && (doc->flags & DOC_CTRL_Z)) ok = FileWriteExact(file, &ctrlZ, 1);
    ok = ok && FileSetSize(file, FileTell(file));
    return ok && (!fRebuild || DocReloadFrom(doc, file));
}

// ---- Detaching and backing files ----

// Copies the runs of a buffer that lie in the file to the scratch file; 1 when any moved.
static int DocMoveRunsOut(FileBuffer *doc, int file, bool *moved) {
    for (int32_t i = 0; i < DocRunCount(doc) - 1; i++) {
        LineRun *run = DocGetRun(doc, i);
        if (RunFile(run) != file || (run->flags & RUN_TYPING)) continue;
        uint32_t bytes = DocRunEnd(doc, i) - run->offset;
        int64_t at = ScratchFileCopy(file, run->offset, bytes);
        if (at < 0) return 0;
        if (DocIsLongRun(doc, i)) DocLongLineAdd(ScratchFileNumber(), (uint32_t)at, bytes);
        run = DocGetRun(doc, i);
        run->offset = (uint32_t)at;
        RunSetFile(run, ScratchFileNumber());
        *moved = true;
    }
    return 1;
}

int DocDetachFile(int file, FileBuffer *exceptDoc) {
    if (FileRefCount(file) == 0 || file == ScratchFileNumber()) return 1;
    bool shared = FileHasDocLines(file);
    for (FileBuffer *doc = DocListHead(); doc; doc = doc->pdocNext) {
        if (doc == exceptDoc) continue;
        bool moved = false;
        if (!DocMoveRunsOut(doc, file, &moved)) return 0;
        if (moved) {
            SetAnyDocModified();
            RunTableResetCache();
            DocResetFetchCache();
        }
        if (shared && (doc->flags & DOC_FOREIGN_RUNS) && !UndoFixFileRuns(doc, file)) return 0;
    }
    FileMarkDocLines(file, false);
    return 1;
}

static void DocRenumberRuns(FileBuffer *doc, int from, int to) {
    for (int32_t i = 0; i < DocRunCount(doc) - 1; i++) {
        LineRun *run = DocGetRun(doc, i);
        if (RunFile(run) != from) continue;
        if (DocIsLongRun(doc, i)) DocLongLineAdd(to, run->offset, DocLongLineLength(from, run->offset));
        RunSetFile(run, to);
    }
    RunTableResetCache();
    DocResetFetchCache();
}

int DocCopyBacking(FileBuffer *doc, int file, int mode) {
    if (mode == DOC_COPY_RENUMBER && ((doc->flags & DOC_MODIFIED) || !(doc->flags & DOC_LAST_LINE_ENDED)))
        mode = DOC_COPY_RELOAD;
    FileInfo info;
    FileGetInfo(file, &info);
    if (mode == DOC_COPY_RELOAD && !DocDetachFile(doc->fn, doc)) return 0;
    int copy = DocShell().makeTempFile(nullptr);
    if (copy < 0) return 0;
    bool ok = FileCopyData(file, copy) && FileFlushEx(copy, FILE_FLUSH_CACHE);
    if (ok) DocFileStyleSet(copy, DocFileStyle(file));
    if (ok && mode == DOC_COPY_RELOAD) ok = DocReloadFrom(doc, copy);
    if (!ok) {
        DocCloseBacking(copy, true);
        return 0;
    }
    if (mode == DOC_COPY_RENUMBER) DocRenumberRuns(doc, doc->fn, copy);
    doc->fn = copy;
    doc->flags |= DOC_TEMP_COPY;
    doc->fileInfo = info;
    return 1;
}

int DocBackByCopy(FileBuffer *doc, int mode) {
    int old = doc->fn;
    bool oldCopy = (doc->flags & DOC_TEMP_COPY) != 0;
    if (!DocCopyBacking(doc, old, mode)) return 0;
    if (old >= 0) DocCloseBacking(old, oldCopy);
    return 1;
}

// ---- Files beside the target ----

// A new, empty file in the target's folder, under a name no file has.
static int DocCreateBeside(const char *path, char *out) {
    char folder[PATH_BUFFER], name[32];
    PathSplit(path, folder, nullptr);
    uint32_t counter = TickNow();
    for (int tries = 0; tries < 1000; tries++) {
        FileOsInfo info;
        snprintf(name, sizeof name, "TF%06u.tmp", (unsigned)(counter++ % 1000000));
        PathJoin(folder, name, out);
        if (!FileOsPathInfo(out, &info) && FileFindOpen(out) < 0)
            return FileOpenEx(out, FILE_OPEN_CREATE | FILE_OPEN_SEQ);
    }
    return -1;
}

static void DocRemoveFile(const char *path) {
    FileOsGetCalls()->remove(path);
}

static void DocReportBusy(const char *path) {
    if (DocOpt().fileBusyState)
        DocReportError(ercDocBusy, path);
    else
        DocReportCurrentError();
}

// Writes the buffer into a new file beside the target and flushes it to disk; its name in out. On failure
// nothing of it is left and the failure is told.
static bool DocWriteBeside(FileBuffer *doc, const char *path, uint32_t style, char *out) {
    int file = DocCreateBeside(path, out);
    if (file < 0) {
        DocReportBusy(path);
        return false;
    }
    bool ok = DocWriteText(doc, file, style, false) && FileFlushEx(file, FILE_FLUSH_DISK);
    FileClose(file);
    if (ok) return true;
    DocReportCurrentError();
    DocRemoveFile(out);
    return false;
}

static bool DocReplaceTarget(const char *written, const char *path) {
    if (FileOsGetCalls()->replace(written, path)) return true;
    DocRemoveFile(written);
    DocReportBusy(path);
    return false;
}

// ---- Saving over the buffer's own file ----

// A buffer backed by its own file moves to a copy of it, so that its runs survive the file's replacement.
static bool DocLeaveOwnFile(FileBuffer *doc) {
    if (doc->fn < 0 || (doc->flags & DOC_TEMP_COPY)) return true;
    int own = doc->fn;
    if (!DocCopyBacking(doc, own, DOC_COPY_KEEP_RUNS)) return false;
    int copy = doc->fn;
    FileSwapSlots(own, copy);
    uint32_t ownStyle = DocFileStyle(own);
    DocFileStyleSet(own, DocFileStyle(copy));
    DocFileStyleSet(copy, ownStyle);
    doc->fn = own;
    DocCloseBacking(copy, false);
    return true;
}

int DocWriteOver(FileBuffer *doc, const char *path, uint32_t style) {
    char written[PATH_BUFFER];
    if (!DocWriteBeside(doc, path, style, written)) return 0;
    if (!DocLeaveOwnFile(doc)) {
        DocReportCurrentError();
        DocRemoveFile(written);
        return 0;
    }
    if (!DocReplaceTarget(written, path)) return 0;
    DocClearModified(doc);
    doc->cSave++;
    FileGetInfoByPath(path, &doc->fileInfo);
    return 1;
}

// The previous contents of the target, for the backup of the first save.
static int DocKeepPrevious(const char *path, char *tempPath) {
    int source = FileOpenEx(path, FILE_OPEN_READONLY | FILE_OPEN_SEQ);
    if (source < 0) return -1;
    int keep = DocShell().makeTempFile(tempPath);
    bool ok = keep >= 0 && FileCopyData(source, keep) && FileFlushEx(keep, FILE_FLUSH_DISK);
    FileClose(source);
    if (keep >= 0 && !ok) {
        DocCloseBacking(keep, true);
        keep = -2;
    }
    return keep;
}

static bool DocChangedOutsideAllowed(FileBuffer *doc, const char *path) {
    FileInfo now;
    if (!(doc->flags & DOC_TEMP_COPY) || !FileGetInfoByPath(path, &now) ||
        FileInfoEqual(&now, &doc->fileInfo))
        return true;
    char text[512];
    snprintf(text, sizeof text, ercDocChangedOutside, path);
    return AlertBox(text, ALERT_YESNO, 0) == DOC_ANSWER_YES;
}

// The copy the buffer reads from holds the file as it was loaded; a copy of the saved file replaces it. Undo
// snapshots read from the old copy, so it is kept while the buffer has undo steps; the save generation stays.
static void DocRecopyAfterSave(FileBuffer *doc) {
    if (DocOpt().keepCopiesAfterSave || !(doc->flags & DOC_TEMP_COPY) || DocIsModified(doc) ||
        UndoStepCount(doc) > 0)
        return;
    char name[256];
    DocGetFileName(doc, name);
    int source = FileOpenEx(name, FILE_OPEN_READONLY | FILE_OPEN_SEQ);
    if (source < 0) return;
    int old = doc->fn;
    if (DocCopyBacking(doc, source, DOC_COPY_RELOAD)) DocCloseBacking(old, true);
    FileClose(source);
}

static void DocAfterSaveReplace(FileBuffer *doc, bool wasModified, bool fDeferredParse) {
    DocRecopyAfterSave(doc);
    DocResetFetchCache();
    if (wasModified || AnyDocModified() || DocOpt().backSavedByCopy) RecoveryWrite(false);
    if (doc->flags & DOC_TOKEN_MACRO_LANG) DocLang().refreshTokenMacros(doc);
    if (doc->iProj >= 0) DocBrowse().pwRefresh();
    if (doc->iProj >= 0 && wasModified) {
        if (fDeferredParse && doc->iProj == DocSymbol().currentProject()) {
            DocSetProjParseState(doc, 1, 1);
        } else {
            DocShell().status("Updating Symbol Database...");
            DocUpdateProjectSymbols(doc);
            DocShell().status("");
        }
    }
    if (DocOpt().changedLineMarks) DocDisplay().swRepaintDocLines(doc, 0, DOC_LINE_END);
}

static void DocShowSaving(const char *path) {
    char text[300];
    snprintf(text, sizeof text, "Saving %s", path);
    DocShell().status(text);
}

int DocSaveReplace(FileBuffer *doc, const char *path, uint32_t style, bool fDeferredParse) {
    if (!DocPathWritable(path)) {
        DocReportBusy(path);
        return 0;
    }
    if (!DocChangedOutsideAllowed(doc, path)) return 0;
    bool backup = DocOpt().makeBackups && DocOpt().backupDir[0] && doc->cSave == 0;
    char previous[PATH_BUFFER] = "";
    int keep = backup ? DocKeepPrevious(path, previous) : -1;
    if (keep == -2) {
        DocReportError(ercDocTempFile, previous);
        return 0;
    }
    bool wasModified = DocIsModified(doc);
    DocShowSaving(path);
    int ok = DocWriteOver(doc, path, style);
    DocShell().status("");
    if (keep >= 0) FileClose(keep);
    if (!ok) {
        if (keep >= 0) DocRemoveFile(previous);
        return 0;
    }
    if (keep >= 0) MoveToBackup(previous, path);
    DocAfterSaveReplace(doc, wasModified, fDeferredParse);
    return 1;
}

// ---- Save and Save As ----

static bool DocSameName(FileBuffer *doc, const char *path) {
    char own[256];
    DocGetFileName(doc, own);
    return StrEqualI(own, path);
}

// The buffer takes the written file: loaded from it, the old backing closed, the new name and type.
static int DocTakeNewFile(FileBuffer *doc, const char *path) {
    int file = FileOpenEx(path, FILE_OPEN_READONLY | FILE_OPEN_SEQ | FILE_OPEN_MAPPABLE);
    if (file < 0) return 0;
    if (!DocReloadFrom(doc, file)) {
        DocCloseBacking(file, false);
        return 0;
    }
    char oldName[256];
    DocGetFileName(doc, oldName);
    int32_t oldType = doc->idta;
    if (doc->fn >= 0) DocCloseBacking(doc->fn, (doc->flags & DOC_TEMP_COPY) != 0);
    doc->fn = file;
    DocSetName(doc, path);
    doc->flags &= ~(DOC_TEMP_COPY | DOC_READONLY | DOC_MODIFIED);
    doc->cSave = 0;
    doc->iProj = doc->ifileProj = -1;
    FileGetInfo(file, &doc->fileInfo);
    if (!StrEqualI(oldName, path)) {
        DocSetTypeFromName(doc);
        if (doc->idta != oldType) DocDisplay().retitleDocSw(doc);
        DocRenameInLinks(doc, oldName);
    }
    return 1;
}

// Save As: the target is only ever replaced whole by a file already written and flushed, so a failure
// leaves an existing target as it was.
static int DocSaveAs(FileBuffer *doc, const char *path, uint32_t style) {
    if (doc->fn >= 0 && !DocDetachFile(doc->fn, doc)) return 0;
    UndoFree(doc);
    DocShowSaving(path);
    char written[PATH_BUFFER];
    bool ok = DocWriteBeside(doc, path, style, written) && DocReplaceTarget(written, path);
    DocShell().status("");
    if (!ok) return 0;
    if (DocTakeNewFile(doc, path)) return 1;
    DocReportCurrentError();
    return 0;
}

static void DocAskAddToProject(FileBuffer *doc, const char *path) {
    int32_t project = DocSymbol().currentProject();
    if (DocOpt().batchWork || project < 0 || (doc->flags & DOC_NO_PROJECT_ASK)) return;
    DtaOptions options;
    DtaGetOptions(doc->idta, &options);
    if (options.flags & DTA_NOT_IN_PROJECTS) return;
    char text[512];
    snprintf(text, sizeof text, ercDocAddToProject, path);
    if (AlertBox(text, ALERT_YESNO, 0) == DOC_ANSWER_YES) DocSymbol().projAddFile(project, doc);
}

static bool DocPrepareSave(FileBuffer *doc, const char *path) {
    EndTypingRun();
    DocMacro().macroEventDocumentSave(path);
    FileBuffer *other = DocFindByFileName(path);
    if (other && other != doc) {
        DocReportError(ercDocAlreadyOpen, path);
        return false;
    }
    if (!EnsureOneLine(doc)) return false;
    bool background = DocOpt().parseInBackground && !(doc->flags & DOC_MACRO_LANG);
    if (!background && DocIsModified(doc) && doc->iProj >= 0) DocLang().ensureDocParsed(doc, false);
    if ((doc->flags & DOC_OUTPUT) && DocIsCaptureRunning(doc)) {
        DocMacro().stopCapture(doc);
        DocSetTitle(doc, nullptr);
    }
    return true;
}

int DocSaveToFile(FileBuffer *doc, const char *path, bool fAskAddToProject, uint32_t style) {
    if (!DocPrepareSave(doc, path)) return 0;
    if (DocSameName(doc, path)) return DocSaveReplace(doc, path, style, DocOpt().parseInBackground);
    bool wasModified = DocIsModified(doc);
    if (!DocSaveAs(doc, path, style)) return 0;
    if (DocOpt().backSavedByCopy) DocBackByCopy(doc, DOC_COPY_RENUMBER);
    if (wasModified || AnyDocModified() || DocOpt().backSavedByCopy) RecoveryWrite(false);
    DocSymbol().projNoteFileSaved(DocSymbol().currentProject(), path);
    if (doc->flags & DOC_TOKEN_MACRO_LANG) DocLang().refreshTokenMacros(doc);
    DocBrowse().pwRefresh();
    if (fAskAddToProject) DocAskAddToProject(doc, path);
    if (DocOpt().changedLineMarks) DocDisplay().swRepaintDocLines(doc, 0, DOC_LINE_END);
    DocMacro().macroEventDocumentSave(path);
    return 1;
}

// ---- Reloading, renaming, file information ----

int DocReload(FileBuffer *doc, bool fNotify) {
    char name[256];
    DocGetFileName(doc, name);
    bool byName = (doc->flags & DOC_TEMP_COPY) || doc->fn < 0;
    int source = byName ? FileOpenEx(name, FILE_OPEN_READONLY | FILE_OPEN_SEQ) : doc->fn;
    if (source < 0) {
        DocReportCurrentError();
        return 0;
    }
    if (!byName) FileRereadSize(source);
    doc->flags = DocPathWritable(name) ? doc->flags & ~DOC_READONLY : doc->flags | DOC_READONLY;
    int old = doc->fn;
    bool oldCopy = (doc->flags & DOC_TEMP_COPY) != 0;
    int ok = DocCopyBacking(doc, source, DOC_COPY_RELOAD);
    if (byName) FileClose(source);
    if (!ok) {
        DocReportCurrentError();
        return 0;
    }
    if (old >= 0) DocCloseBacking(old, oldCopy);
    if (fNotify) DocChangeNotice(doc, DOC_CHANGE_ALL, 0, DOC_LINE_END);
    DocClearModified(doc);
    doc->cSave = 0;
    UndoFree(doc);
    DocSymbol().projNoteFileSaved(doc->iProj, name);
    return 1;
}

int DocRename(FileBuffer *doc, const char *path) {
    char full[PATH_BUFFER], own[256];
    if (!PathMakeFull(path, full)) return 0;
    DocGetFileName(doc, own);
    bool changed = !StrEqualI(own, full);
    FileOsInfo info;
    if (doc->fn >= 0 && changed && FileOsPathInfo(full, &info)) return 0;
    if (doc->fn >= 0) {
        int ok = (doc->flags & DOC_TEMP_COPY) ? FileOsGetCalls()->rename(own, full)
                                              : FileRenameOpen(doc->fn, full);
        if (!ok) return 0;
    }
    if (doc->iProj >= 0) DocSymbol().projRenameFile(doc->iProj, doc->ifileProj, full);
    if (!DocSetName(doc, full)) return 0;
    int32_t oldType = doc->idta;
    DocSetTypeFromName(doc);
    if (doc->idta != oldType) DocDisplay().retitleDocSw(doc);
    return 1;
}

int DocGetFileInfo(FileBuffer *doc, FileInfo *out) {
    char name[256];
    DocGetFileName(doc, name);
    return FileGetInfoByPath(name, out);
}

int DocTouchFile(FileBuffer *doc) {
    char name[256];
    DocGetFileName(doc, name);
    int ok = FileTouchByPath(name);
    if (doc->fn >= 0 && (doc->flags & DOC_TEMP_COPY)) FileTouch(doc->fn);
    FileGetInfoByPath(name, &doc->fileInfo);
    return ok;
}

// ---- Backups ----

static int32_t DocDayNumber(const OsDateTime *date) {
    return date->year * 365 + date->month * 30 + date->day;
}

int32_t DaysBetween(const OsDateTime *now, const OsDateTime *then) {
    return Max(DocDayNumber(now) - DocDayNumber(then), 0);
}

// The civil date of a day count since 1601-01-01 (a proleptic Gregorian calendar).
void DocDateOfFileTime(uint32_t timeLow, uint32_t timeHigh, OsDateTime *out) {
    uint64_t ticks = (uint64_t)timeHigh << 32 | timeLow;
    int64_t days = (int64_t)(ticks / 864000000000ull) - 134774; // days since 1970-01-01
    int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097, yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    int64_t month = mp < 10 ? mp + 3 : mp - 9;
    *out = OsDateTime{(uint16_t)(yoe + era * 400 + (month <= 2)),
                      (uint16_t)month,
                      (uint16_t)(doy - (153 * mp + 2) / 5 + 1),
                      0,
                      0,
                      0};
}

// "%s(%u)%s": a name, a number in parentheses, then nothing or an extension.
bool DocIsBackupName(const char *name) {
    const char *open = strrchr(name, '(');
    if (!open || !isdigit((unsigned char)open[1])) return false;
    const char *p = open + 1;
    while (isdigit((unsigned char)*p)) p++;
    if (*p != ')') return false;
    const char *ext = p + 1;
    return *ext == 0 || (*ext == '.' && !strpbrk(ext, "()"));
}

int MakeBackupName(const char *folder, const char *path, char *out) {
    char base[PATH_BUFFER], name[PATH_BUFFER];
    StrCopyMaxLen(PathGetName(path), base, PATH_MAX_CHARS);
    const char *ext = PathGetExt(path);
    base[strlen(base) - strlen(ext)] = 0;
    uint32_t n = TickNow() % DOC_BACKUP_NUMBERS;
    for (uint32_t tries = 0; tries < DOC_BACKUP_NUMBERS * 4; tries++, n++) {
        FileOsInfo info;
        snprintf(name, sizeof name, "%s(%u)%s", base, (unsigned)n, ext);
        PathJoin(folder, name, out);
        if (!FileOsPathInfo(out, &info)) return 1;
    }
    return 0;
}

static bool DocCopyFile(const char *from, const char *to) {
    int source = FileOpenEx(from, FILE_OPEN_READONLY | FILE_OPEN_SEQ);
    int target = source >= 0 ? FileOpenEx(to, FILE_OPEN_CREATE | FILE_OPEN_SEQ) : -1;
    bool ok = target >= 0 && FileCopyData(source, target) && FileFlushEx(target, FILE_FLUSH_DISK);
    FileClose(source);
    FileClose(target);
    if (!ok && target >= 0) DocRemoveFile(to);
    return ok;
}

int MoveToBackup(const char *tempPath, const char *path) {
    const char *folder = DocOpt().backupDir;
    char name[PATH_BUFFER];
    bool ok = false;
    if (folder[0] && MakeBackupName(folder, path, name) && !StrEqualI(name, tempPath) &&
        FileFindOpen(name) < 0) {
        DocRemoveFile(name);
        ok = FileOsGetCalls()->rename(tempPath, name) || DocCopyFile(tempPath, name);
    }
    DocRemoveFile(tempPath);
    return ok;
}

struct DocPurge {
    const char *folder;
    OsDateTime today;
    int32_t days;
    bool interruptible;
    bool stopped;
};

// One entry of the backup folder: 0 stops the purge (input is pending).
static int DocPurgeVisit(DocPurge *purge, const FileFindData *fd) {
    if (purge->interruptible && DocShell().inputPending()) {
        purge->stopped = true;
        return 0;
    }
    if ((fd->attributes & FILEOS_ATTR_FOLDER) || !DocIsBackupName(fd->name)) return 1;
    OsDateTime written;
    DocDateOfFileTime(fd->timeLow, fd->timeHigh, &written);
    if (DaysBetween(&purge->today, &written) < purge->days) return 1;
    char path[PATH_BUFFER];
    PathJoin(purge->folder, fd->name, path);
    DocRemoveFile(path);
    return 1;
}

// Only names of the backup form are purged: the backup folder may be one of the user's own folders.
int PurgeOldBackups(bool fInterruptible) {
    const DocOptions &options = DocOpt();
    FileOsInfo info;
    if (!options.purgeBackups || options.purgeDays <= 0 || !options.backupDir[0] ||
        !FileOsPathInfo(options.backupDir, &info) || !(info.attributes & FILEOS_ATTR_FOLDER))
        return 1;
    DocPurge purge = {options.backupDir, {}, options.purgeDays, fInterruptible, false};
    OsGetLocalTime(&purge.today);
    char pattern[PATH_BUFFER];
    PathJoin(options.backupDir, "*", pattern);
    FileFindSlot search;
    FileFindInitSlot(&search);
    FileFindData fd;
    for (bool more = FileFindEx(&search, true, FIND_FILES, pattern, &fd, nullptr, 0); more;
         more = FileFindEx(&search, false, FIND_FILES, pattern, &fd, nullptr, 0))
        if (!DocPurgeVisit(&purge, &fd)) break;
    FileFindCloseSlot(&search);
    return !purge.stopped;
}

void PurgeOldBackupsIdle() {
    uint32_t now = TickNow();
    if (docPurgeRan && now - docPurgeTime < DOC_PURGE_MS) return;
    docPurgeRan = true;
    docPurgeTime = now;
    PurgeOldBackups(true);
}
