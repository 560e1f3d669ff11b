// docedit: the edit protocol and the change notice (prefixes Doc, Edit). Globals: the pending edit error
// {code, the buffer's file name, the file layer's text for EDIT_ERR_FILE}, the buffer of the outermost open
// edit, the count of open edits over all buffers, the edit-failed flag, the any-buffer-modified flag, the
// replace-in-progress flag (set only inside ReplaceLine), the clipboard-sync suspension count, and the state
// of an open append.
#include "doc/docedit.h"

#include "base/erc.h"
#include "base/utilil.h"
#include "doc/clip.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/doclang.h"
#include "doc/docmrk.h"
#include "doc/dta.h"
#include "doc/sysclip.h"
#include "doc/undo.h"
#include "ui/dlgalert.h"

#include <cstdio>
#include <cstring>

const char ercDocJoinTooLong[] = "Join operation results in a line that exceeds the maximum length.";
const char ercDocRevertNotSaved[] = "Cannot revert to original lines because the file is not saved yet.";
const char ercDocRevertUnchanged[] =
    "Cannot revert to original lines because the selected lines are unchanged.";
static const char ercDocEditError[] = "%s : %s";

static const char *const editErrorTexts[] = {
    "",
    "Too many lines",
    "Out of memory",
    "Operation not allowed",
    "Out of space for Undo",
    "Cannot modify the file buffer of a macro that is running",
    "Cannot modify a read-only file",
};

// The undo operation each change type is recorded as; -1 records nothing.
static const int docChangeUndoOp[] = {-1,          UNDO_OP_INSERT, UNDO_OP_DELETE, UNDO_OP_CHANGE,
                                      UNDO_OP_ALL, UNDO_OP_CHANGE, UNDO_OP_CHANGE};

enum { DOC_FIND_POLL_LINES = 50 };

static int editErrorCode;
static char editErrorName[256];
static char editErrorFileText[ERC_TEXT_MAX];
static FileBuffer *editOuterDoc;
static int32_t editNestAll;
static bool editFailed;
static bool anyDocModified;
static bool replaceInProgress;
static int32_t clipSyncSuspend;

struct DocAppendState {
    FileBuffer *doc; // null: no append open
    int32_t firstLine;
    uint32_t firstOffset;
    uint32_t nextOffset;
};
static DocAppendState append;

// ---- The pending edit error ----

int EditErrorSet(int code, FileBuffer *doc) {
    if (!doc && code) doc = editOuterDoc;
    editErrorCode = code;
    if (code && doc)
        DocGetFileName(doc, editErrorName);
    else
        editErrorName[0] = 0;
    return code;
}

int EditErrorSetFile(FileBuffer *doc) {
    if (!ErcGetText(editErrorFileText))
        StrCopyMaxLen("File write error", editErrorFileText, ERC_TEXT_MAX - 1);
    return EditErrorSet(EDIT_ERR_FILE, doc);
}

int EditErrorPending() {
    return editErrorCode;
}

void ClearEditError() {
    EditErrorSet(EDIT_ERR_NONE, nullptr);
}

static const char *EditErrorMessage() {
    if (editErrorCode == EDIT_ERR_FILE) return editErrorFileText;
    return editErrorCode > 0 && editErrorCode < EDIT_ERR_FILE ? editErrorTexts[editErrorCode] : "";
}

void EditErrorText(char *out) {
    out[0] = 0;
    if (editErrorCode) snprintf(out, ERC_TEXT_MAX, ercDocEditError, EditErrorMessage(), editErrorName);
}

// Through the error reporter, which shows a code once: the earlier report is forgotten first, so that each
// failed edit is told.
void EditErrorShow() {
    if (!editErrorCode) return;
    ErcClear();
    ErcSetF(ercDocEditError, EditErrorMessage(), editErrorName);
    ErcReport();
}

void EditErrorShowPending() {
    if (!editErrorCode) return;
    EditErrorShow();
    ClearEditError();
}

FileBuffer *DocEditOpenBuffer() {
    return editNestAll > 0 ? editOuterDoc : nullptr;
}

int32_t EditNestCount() {
    return editNestAll;
}
bool EditFailed() {
    return editFailed;
}
void EditClearFailed() {
    editFailed = false;
}

// ---- Admission ----

bool DocMayModify(FileBuffer *doc) {
    if ((doc->flags & DOC_READONLY) && !DocOpt().editReadOnly) return false;
    return !((doc->flags & DOC_MACRO_LANG) && DocMacro().macroRunningFrom(doc));
}

bool DocRefuseModify(FileBuffer *doc) {
    if (DocMayModify(doc)) return false;
    EditErrorSet((doc->flags & DOC_READONLY) && !DocOpt().editReadOnly ? EDIT_ERR_READONLY
                                                                       : EDIT_ERR_MACRO_RUNNING,
                 doc);
    return true;
}

// A refusal left pending by an earlier attempt is shown before a new outermost edit clears it.
static void EditBeginOutermost(FileBuffer *doc) {
    if (editNestAll == 1) {
        if (editErrorCode == EDIT_ERR_READONLY || editErrorCode == EDIT_ERR_MACRO_RUNNING) EditErrorShow();
        ClearEditError();
        editOuterDoc = doc;
    }
}

int BeginEdit(FileBuffer *doc) {
    if (DocRefuseModify(doc)) return 0;
    editNestAll++;
    if (++doc->cEditNest > 1) return 1;
    EditBeginOutermost(doc);
    if (DocIsClipboardOrSystem(doc)) return 1;
    if (UndoBeginStep(doc)) return 1;
    editNestAll--;
    doc->cEditNest--;
    EditErrorSet(EDIT_ERR_UNDO_SPACE, doc);
    EditErrorShow();
    ClearEditError();
    return 0;
}

// A buffer without an open edit changes nothing: lowering the global count for it would let another
// buffer's outermost edit end while its own is still open.
int EndEdit(FileBuffer *doc) {
    if (doc->cEditNest <= 0) return !editErrorCode;
    editNestAll--;
    if (DocEditLineBuffer() == doc) DocFlushEditLine(doc);
    if (--doc->cEditNest > 0) return !editErrorCode;
    if (editNestAll == 0) editOuterDoc = nullptr;
    if (editErrorCode) {
        if (DocIsClipboardOrSystem(doc))
            DocEmpty(doc);
        else
            UndoRollback(doc);
        EditErrorShow();
        editFailed = true;
        ClearEditError();
        return 0;
    }
    if (doc == DocShell().currentDoc()) DocMacro().macroNoteDocEdited(doc);
    return 1;
}

// ---- The change notice ----

void DocMarkModified(FileBuffer *doc) {
    doc->flags |= DOC_MODIFIED;
    doc->wChangeAux = 0;
    doc->cChange++;
    if (!DocIsClipboardOrSystem(doc)) anyDocModified = true;
    if (doc == DocClipboardDoc() && clipSyncSuspend == 0) SysClipClaim();
}

void DocClearModified(FileBuffer *doc) {
    doc->flags &= ~DOC_MODIFIED;
}

void DocChangeNotice(FileBuffer *doc, int type, int32_t first, int32_t last) {
    if (first == 0 && last == DOC_LINE_END) type = DOC_CHANGE_ALL;
    int op = type >= 0 && type <= DOC_CHANGE_CHANGED6 ? docChangeUndoOp[type] : -1;
    if (op >= 0 && editNestAll > 0) UndoRecord(doc, op, first, last - first + 1);
    DocMarkModified(doc);
    DocBroadcastChange(doc, type, first, last);
}

void DocBroadcastChange(FileBuffer *doc, int type, int32_t first, int32_t last) {
    if (type == DOC_CHANGE_ALL || (type == DOC_CHANGE_DELETED && !replaceInProgress)) {
        DocMarksDeleteRange(doc, first, last == DOC_LINE_END ? DOC_LINE_END + 1 : last + 1);
        DocDisplay().swRepaintDocLines(doc, first, last);
    }
    DocDisplay().swInvalidateDocLines(doc, type, first, last);
    if (doc->ptgl) DocSymbol().tglOnLinesChanged(doc->ptgl, type, first, last);
    DocLexOnChange(doc, type, first, last);
    DocLang().onLinesChanged(doc->plang, type, doc, first, last);
    if (doc->flags & DOC_CLIP) {
        ClipListChanged();
        if (doc != DocClipboardDoc() && DocDisplay().swFindByDoc(doc))
            DocSetClipSource(doc, "Typing", "Text");
    }
    DocBrowse().ctwNoteDocChanged(doc);
}

void DocShiftLines(FileBuffer *doc, int32_t line, int32_t delta) {
    DocMarkModified(doc);
    doc->lnMac += delta;
    DocResetFetchCache();
    RunTableShift(doc->hrgl, line, delta);
    DocEditLineOnShift(doc, line, delta);
    if (!replaceInProgress) {
        DocMarksShift(doc, line, DOC_LINE_END, delta);
        if (doc->ptgl) DocSymbol().tglShiftLines(doc->ptgl, line, delta, 0);
        DocDisplay().swNoteEditShift(doc, line, delta);
    }
    DocLexShift(doc, line, delta);
    DocDisplay().swShiftDocLines(doc, line, delta);
    doc->lnMac -= delta;
}

// ---- Line operations ----

int InsertLine(FileBuffer *doc, int32_t line, const LineRecord *record) {
    if (DocRefuseModify(doc)) return 0;
    if (line < 0 || line > doc->lnMac) line = doc->lnMac;
    if (!DocStoreInsertLine(doc, line, record->text, record->length)) return 0;
    DocChangeNotice(doc, DOC_CHANGE_INSERTED, line, line);
    return 1;
}

int InsertLineSz(FileBuffer *doc, int32_t line, const char *text) {
    static LineRecord record;
    LineFromSz(text, &record);
    return InsertLine(doc, line, &record);
}

int InsertLinePstr(FileBuffer *doc, int32_t line, const unsigned char *text) {
    static LineRecord record;
    LineFromPstr(text, &record);
    return InsertLine(doc, line, &record);
}

int ReplaceLine(FileBuffer *doc, int32_t line, const LineRecord *record) {
    if (line < 0 || line >= doc->lnMac) return 0;
    if (!BeginEdit(doc)) return 0;
    replaceInProgress = true;
    int ok = DocDeleteLines(doc, line, 1) && InsertLine(doc, line, record);
    replaceInProgress = false;
    return EndEdit(doc) && ok;
}

bool DocReplaceInProgress() {
    return replaceInProgress;
}

int DocDeleteLines(FileBuffer *doc, int32_t line, int32_t n) {
    if (DocRefuseModify(doc)) return 0;
    if (line < 0) return 0;
    n = Min(n, doc->lnMac - line);
    if (n <= 0) return 1;
    DocResetFetchCache();
    if (DocSplitRunAt(doc, line) < 0 || DocSplitRunAt(doc, line + n) < 0) return 0;
    DocChangeNotice(doc, DOC_CHANGE_DELETED, line, line + n - 1);
    return DocStoreDeleteLines(doc, line, n);
}

int DocEmpty(FileBuffer *doc) {
    if (DocRefuseModify(doc)) return EditErrorPending();
    DocResetFetchCache();
    if (DocEditLineBuffer() == doc) DocClearEditLine();
    DocChangeNotice(doc, DOC_CHANGE_DELETED, 0, DOC_LINE_END);
    DocSetLengthCapacity(doc, 1);
    RunTableSetCount(doc->hrgl, 1);
    LineRun *sentinel = DocGetRun(doc, 0);
    *sentinel = LineRun{0, 0, 0, 0};
    RunSetFile(sentinel, ScratchFileNumber());
    RunTableResetCache();
    doc->lnMac = 0;
    if (!(doc->flags & DOC_CLIP)) doc->flags |= DOC_LAST_LINE_ENDED;
    return 0;
}

// ---- Copying lines by their runs ----

// The runs [i, j) of src and their lengths, taken out before dst changes (src may be dst).
struct DocRunSlice {
    LineRun *runs;
    int32_t runCount;
    uint16_t *lengths;
};

static bool DocTakeRuns(FileBuffer *src, int32_t srcLine, int32_t n, DocRunSlice *slice) {
    int32_t i = DocSplitRunAt(src, srcLine);
    int32_t j = i < 0 ? -1 : DocSplitRunAt(src, srcLine + n);
    if (j < 0) return false;
    slice->runCount = j - i;
    slice->runs = (LineRun *)MemDup(DocGetRun(src, i), (size_t)slice->runCount * sizeof(LineRun));
    slice->lengths = (uint16_t *)MemDup(DocLengths(src) + srcLine, (size_t)n * 2);
    if (slice->runs && slice->lengths) return true;
    EditErrorSet(EDIT_ERR_MEMORY, nullptr);
    return false;
}

// Files whose runs another buffer uses are flagged, so that they are detached before being replaced.
static void DocNoteSharedRuns(FileBuffer *dst, const DocRunSlice *slice) {
    for (int32_t k = 0; k < slice->runCount; k++) {
        int file = RunFile(&slice->runs[k]);
        if (dst != DocClipboardDoc()) FileMarkDocLines(file, true);
        if (file != ScratchFileNumber()) dst->flags |= DOC_FOREIGN_RUNS;
    }
}

static int DocPutRuns(FileBuffer *dst, int32_t dstLine, int32_t n, const DocRunSlice *slice, bool scratchBit,
                      uint32_t generation) {
    int32_t k = DocSplitRunAt(dst, dstLine);
    if (k < 0 || !DocEnsureLines(dst, n) || !RunTableInsert(dst->hrgl, k, slice->runCount)) return 0;
    DocNoteSharedRuns(dst, slice);
    DocShiftLines(dst, dstLine, n);
    int32_t delta = dstLine - slice->runs[0].first;
    for (int32_t r = 0; r < slice->runCount; r++) {
        LineRun *run = DocGetRun(dst, k + r);
        *run = slice->runs[r];
        run->first += delta;
        run->flags = (run->flags & ~(RUN_FRESH | RUN_SCRATCH | RUN_TYPING)) |
                     (scratchBit ? (uint32_t)RUN_SCRATCH : 0u);
        run->generation = generation;
    }
    DocShiftLengths(dst, dstLine, n);
    memcpy(DocLengths(dst) + dstLine, slice->lengths, (size_t)n * 2);
    RunTableResetCache();
    return 1;
}

// Merges the source's runs back where they were split, when nothing else came between.
static void DocMergeBack(FileBuffer *doc, int32_t line) {
    int32_t i = RunTableFind(doc->hrgl, line);
    if (DocGetRun(doc, i)->first == line) DocMergeRun(doc, i);
}

static int DocCopyRuns(FileBuffer *src, int32_t srcLine, int32_t n, FileBuffer *dst, int32_t dstLine,
                       bool scratchBit, uint32_t generation) {
    // A typing line lives in memory: its run could not be shared.
    if (DocEditLineBuffer() == src && !DocFlushEditLine(src)) return 0;
    DocRunSlice slice = {};
    int ok =
        DocTakeRuns(src, srcLine, n, &slice) && DocPutRuns(dst, dstLine, n, &slice, scratchBit, generation);
    MemFree(slice.runs);
    MemFree(slice.lengths);
    if (!ok) return 0;
    src->flags |= DOC_RUNS_COPIED;
    if (src != dst) {
        DocMergeBack(src, srcLine + n);
        DocMergeBack(src, srcLine);
    }
    DocChangeNotice(dst, DOC_CHANGE_INSERTED, dstLine, dstLine + n - 1);
    return 1;
}

int DocCopyLinesEx(FileBuffer *src, int32_t srcLine, int32_t n, FileBuffer *dst, int32_t dstLine,
                   int32_t nDelete, bool scratchBit, uint32_t generation) {
    if (!BeginEdit(dst)) return 0;
    int ok = nDelete <= 0 || DocDeleteLines(dst, dstLine, nDelete);
    srcLine = ClampValue(srcLine, 0, src->lnMac);
    n = Min(n, src->lnMac - srcLine);
    if (dstLine < 0 || dstLine > dst->lnMac) dstLine = dst->lnMac;
    if (ok && n > 0) ok = DocCopyRuns(src, srcLine, n, dst, dstLine, scratchBit, generation);
    return EndEdit(dst) && ok;
}

int DocCopyLines(FileBuffer *src, int32_t srcLine, int32_t n, FileBuffer *dst, int32_t dstLine,
                 int32_t nDelete) {
    return DocCopyLinesEx(src, srcLine, n, dst, dstLine, nDelete, true, (uint32_t)dst->cSave & 0xFFFF);
}

// ---- Appending ----

int BeginAppendLines(FileBuffer *doc) {
    if (append.doc || !BeginEdit(doc)) return 0;
    uint32_t end = FileGetSize(ScratchFileNumber());
    append = DocAppendState{doc, doc->lnMac, end, end};
    return 1;
}

// The lines of an append must lie one after another in the scratch file: they become one run.
int AppendLineText(const char *text) {
    FileBuffer *doc = append.doc;
    if (!doc || editErrorCode) return 0;
    if (!DocEnsureLines(doc, 1)) return 0;
    int32_t length = (int32_t)strnlen(text, LINE_TEXT_MAX);
    int64_t at = ScratchFileAppend(doc, text, length);
    if (at < 0) return 0;
    if ((uint32_t)at != append.nextOffset) {
        EditErrorSet(EDIT_ERR_NOT_ALLOWED, doc);
        return 0;
    }
    append.nextOffset += (uint32_t)length + 2;
    DocLengths(doc)[doc->lnMac++] = (uint16_t)(length + 2);
    doc->flags |= DOC_LAST_LINE_ENDED;
    return 1;
}

static int DocAppendInstallRun(FileBuffer *doc, int32_t count) {
    int32_t sentinel = DocRunCount(doc) - 1;
    if (!RunTableInsert(doc->hrgl, sentinel, 1)) return 0;
    doc->lnMac = append.firstLine;
    DocShiftLines(doc, append.firstLine, count);
    doc->lnMac = append.firstLine + count;
    LineRun *run = DocGetRun(doc, sentinel);
    *run = LineRun{append.firstLine, RUN_SCRATCH, append.firstOffset, (uint32_t)doc->cSave & 0xFFFF};
    RunSetFile(run, ScratchFileNumber());
    RunTableResetCache();
    DocChangeNotice(doc, DOC_CHANGE_INSERTED, append.firstLine, append.firstLine + count - 1);
    return 1;
}

int EndAppendLines() {
    FileBuffer *doc = append.doc;
    if (!doc) return 0;
    int32_t count = doc->lnMac - append.firstLine;
    if (!editErrorCode && count > 0) DocAppendInstallRun(doc, count);
    append = DocAppendState{};
    return EndEdit(doc);
}

bool DocAppendOpen() {
    return append.doc != nullptr;
}

// ---- Ranges ----

// Line + the next one as one line; a result past the line limit is refused with error 3.
static int DocJoinRaw(FileBuffer *doc, int32_t line) {
    static LineRecord first, second;
    if (line + 1 >= doc->lnMac) return 1;
    GetLine(doc, line, &first);
    GetLine(doc, line + 1, &second);
    if (!LineAppend(&second, &first)) {
        EditErrorSet(EDIT_ERR_NOT_ALLOWED, doc);
        return 0;
    }
    DocMarksShift(doc, line + 1, line + 1, -1);
    return DocDeleteLines(doc, line + 1, 1) && ReplaceLine(doc, line, &first);
}

// The line without its columns [from, to) (to DOC_COLUMN_END: to the end).
static int DocCutLine(FileBuffer *doc, int32_t line, int32_t from, int32_t to) {
    static LineRecord record;
    GetLine(doc, line, &record);
    from = ClampValue(from, 0, record.length);
    to = to >= record.length ? record.length : Max(to, from);
    LineDeleteChars(&record, from, to - from);
    return ReplaceLine(doc, line, &record);
}

static int DocDeleteParts(FileBuffer *doc, RangeParts p) {
    if (p.firstLine >= 0 && !DocCutLine(doc, p.firstLine, p.firstFrom, p.firstTo)) return 0;
    if (p.wholeFirst >= 0) {
        if (!DocDeleteLines(doc, p.wholeFirst, p.wholeCount)) return 0;
        if (p.lastLine >= 0) p.lastLine -= p.wholeCount;
    }
    if (p.lastLine >= 0) {
        if (!DocCutLine(doc, p.lastLine, 0, p.lastTo)) return 0;
        return p.firstLine < 0 || DocJoinRaw(doc, p.firstLine);
    }
    return p.firstLine < 0 || p.firstTo != DOC_COLUMN_END || DocJoinRaw(doc, p.firstLine);
}

int DocDeleteRange(FileBuffer *doc, Car *range) {
    if (!BeginEdit(doc)) return 0;
    Car start = *range;
    CarNormalize(doc, &start);
    RangeParts parts;
    RangeSplitLines(doc, range, &parts);
    int ok = DocDeleteParts(doc, parts);
    if (ok) CarSet(range, start.firstLine, start.firstColumn, start.firstLine, start.firstColumn);
    return EndEdit(doc) && ok;
}

// The text of one part of a source line.
static void DocPartText(FileBuffer *doc, int32_t line, int32_t from, int32_t to, LineRecord *out) {
    GetLine(doc, line, out);
    from = ClampValue(from, 0, out->length);
    to = to >= out->length ? out->length : Max(to, from);
    LineFromText(out->text + from, to - from, out);
}

static int DocAppendOrRefuse(const LineRecord *piece, LineRecord *row, FileBuffer *doc) {
    if (LineAppend(piece, row)) return 1;
    EditErrorSet(EDIT_ERR_NOT_ALLOWED, doc);
    return 0;
}

// The source parts inserted at (line, column) of dst as stream text: head + the first piece, the whole lines
// (shared by their runs), the last piece + tail. Text without a line break stays on the one line.
static int DocInsertParts(FileBuffer *src, RangeParts p, FileBuffer *dst, int32_t line, int32_t column) {
    static LineRecord head, tail, piece;
    GetLine(dst, line, &head);
    column = ClampValue(column, 0, head.length);
    LineFromText(head.text + column, head.length - column, &tail);
    LineFromText(head.text, column, &head);
    bool hasBreak = p.wholeFirst >= 0 || (p.firstLine >= 0 && p.firstTo == DOC_COLUMN_END);
    if (!hasBreak) {
        LineClear(&piece); // an empty range brings nothing, not the piece of the copy before
        if (p.firstLine >= 0) DocPartText(src, p.firstLine, p.firstFrom, p.firstTo, &piece);
        if (p.lastLine >= 0) DocPartText(src, p.lastLine, 0, p.lastTo, &piece);
        return DocAppendOrRefuse(&piece, &head, dst) && DocAppendOrRefuse(&tail, &head, dst) &&
               ReplaceLine(dst, line, &head);
    }
    bool hasFirst = p.firstLine >= 0 || column > 0;
    if (p.firstLine >= 0) {
        DocPartText(src, p.firstLine, p.firstFrom, DOC_COLUMN_END, &piece);
    } else if (column > 0) {
        DocPartText(src, p.wholeFirst, 0, DOC_COLUMN_END, &piece);
        p.wholeFirst++;
        p.wholeCount--;
    }
    if (hasFirst && !DocAppendOrRefuse(&piece, &head, dst)) return 0;
    LineClear(&piece);
    if (p.lastLine >= 0) DocPartText(src, p.lastLine, 0, p.lastTo, &piece);
    if (!DocAppendOrRefuse(&tail, &piece, dst)) return 0;
    int32_t at = hasFirst ? line + 1 : line;
    if (hasFirst && !(ReplaceLine(dst, line, &head) && InsertLine(dst, at, &piece))) return 0;
    if (!hasFirst && !ReplaceLine(dst, line, &piece)) return 0;
    return p.wholeCount <= 0 || DocCopyLines(src, p.wholeFirst, p.wholeCount, dst, at, 0);
}

int DocCopyRange(FileBuffer *src, const Car *srcRange, FileBuffer *dst, Car *dstRange) {
    if (!BeginEdit(dst)) return 0;
    RangeParts parts;
    RangeSplitLines(src, srcRange, &parts);
    int ok = DocDeleteRange(dst, dstRange);
    if (ok && dst->lnMac == 0) ok = InsertLineSz(dst, 0, "");
    if (ok) ok = DocInsertParts(src, parts, dst, dstRange->firstLine, dstRange->firstColumn);
    return EndEdit(dst) && ok;
}

// ---- Splitting and joining ----

static int32_t DocLeadingBlanks(const LineRecord *record) {
    int32_t n = 0;
    while (n < record->length && (record->text[n] == ' ' || record->text[n] == '\t')) n++;
    return n;
}

static bool DocIsBlankChar(char c) {
    return c == ' ' || c == '\t';
}

// With fIndent and auto-indent, the new line takes the line's indent and drops the blanks after the split
// point, unless that would not fit: a split never loses text.
int DocSplitLine(FileBuffer *doc, int32_t line, int32_t column, bool fIndent) {
    static LineRecord record, rest;
    if (column <= 0) return InsertLineSz(doc, line, "");
    if (!BeginEdit(doc)) return 0;
    GetLine(doc, line, &record);
    column = Min(column, record.length);
    int32_t skip = column;
    LineClear(&rest);
    if (fIndent && DtaAutoIndent(doc)) {
        while (skip < record.length && DocIsBlankChar(record.text[skip])) skip++;
        int32_t indent = Min(DocLeadingBlanks(&record), column);
        if (indent + record.length - skip <= LINE_TEXT_MAX)
            LineFromText(record.text, indent, &rest);
        else
            skip = column;
    }
    memcpy(rest.text + rest.length, record.text + skip, (size_t)(record.length - skip));
    LineFromText(rest.text, rest.length + record.length - skip, &rest);
    int ok = 1;
    if (column < record.length) {
        LineFromText(record.text, column, &record);
        ok = ReplaceLine(doc, line, &record);
    }
    ok = ok && InsertLine(doc, line + 1, &rest);
    return EndEdit(doc) && ok;
}

static void DocSmartJoin(LineRecord *first, LineRecord *second) {
    int32_t n = first->length;
    while (n > 0 && DocIsBlankChar(first->text[n - 1])) n--;
    LineFromText(first->text, n, first);
    LineInsertChar(first, first->length, ' ');
    LineDeleteChars(second, 0, DocLeadingBlanks(second));
}

int DocJoinLines(FileBuffer *doc, int32_t line, LineRecord *record, bool fSmart) {
    static LineRecord second;
    if (line < 0 || line >= doc->lnMac) return 0;
    GetLine(doc, line, record);
    if (record->length == 0) return DocDeleteLines(doc, line, 1);
    if (line + 1 >= doc->lnMac) return 1;
    GetLine(doc, line + 1, &second);
    if (record->length + second.length >= LINE_TEXT_MAX) {
        AlertError(ercDocJoinTooLong);
        return 0;
    }
    int32_t joinAt = record->length;
    if (fSmart) DocSmartJoin(record, &second);
    LineAppend(&second, record);
    if (!BeginEdit(doc)) return 0;
    DocMarksShift(doc, line + 1, line + 1, -1);
    int ok = DocDeleteLines(doc, line + 1, 1) && ReplaceLine(doc, line, record);
    ok = EndEdit(doc) && ok;
    if (ok && doc == DocShell().currentDoc()) DocDisplay().swMoveCaret(line, joinAt);
    return ok;
}

// ---- Reverting ----

static bool DocIsOwnRun(const FileBuffer *doc, int32_t i) {
    const LineRun *run = DocGetRun(doc, i);
    return RunFile(run) == doc->fn && !(run->flags & (RUN_SCRATCH | RUN_TYPING));
}

// The changed stretch around the line: the runs around it that do not lie in the own file, or none at a
// place where lines of the own file were deleted.
static bool DocChangedStretch(FileBuffer *doc, int32_t line, int32_t *outFirst, int32_t *outCount) {
    int32_t i = RunTableFind(doc->hrgl, line);
    if (!DocIsOwnRun(doc, i)) {
        int32_t a = i, b = i;
        while (a > 0 && !DocIsOwnRun(doc, a - 1)) a--;
        while (b + 1 < DocRunCount(doc) - 1 && !DocIsOwnRun(doc, b + 1)) b++;
        *outFirst = DocGetRun(doc, a)->first;
        *outCount = DocGetRun(doc, b + 1)->first - *outFirst;
        return true;
    }
    LineRun kindRun;
    int kind;
    if (!DocLineChangeKind(doc, line, &kindRun, &kind) || kind != 2) return false;
    *outFirst = line;
    *outCount = 0;
    return true;
}

// The bytes of the own file between the own-file runs around the stretch.
static void DocStretchBytes(FileBuffer *doc, int32_t first, int32_t count, uint32_t *from, uint32_t *to) {
    *from = 0;
    *to = FileGetSize(doc->fn);
    for (int32_t k = RunTableFind(doc->hrgl, first) - 1; k >= 0; k--)
        if (DocIsOwnRun(doc, k)) {
            *from = DocRunEnd(doc, k);
            break;
        }
    for (int32_t k = RunTableFind(doc->hrgl, first + count); k < DocRunCount(doc) - 1; k++)
        if (DocIsOwnRun(doc, k)) {
            *to = DocGetRun(doc, k)->offset;
            break;
        }
}

int DocRevertLines(FileBuffer *doc, int32_t line) {
    if (doc->fn < 0 || doc->fn == ScratchFileNumber()) {
        AlertError(ercDocRevertNotSaved);
        return 0;
    }
    int32_t first, count;
    if (!DocChangedStretch(doc, line, &first, &count)) {
        AlertError(ercDocRevertUnchanged);
        return 0;
    }
    uint32_t from, to;
    DocStretchBytes(doc, first, count, &from, &to);
    char path[FILE_PATH_MAX + 1];
    FileGetPath(doc->fn, path);
    FileBuffer *disk =
        to > from ? DocLoadFileEx(path, -1, false, false, false, (int32_t)from, (int32_t)to) : nullptr;
    if (to > from && !disk) return 0;
    if (!BeginEdit(doc)) {
        if (disk) DocFree(disk, false);
        return 0;
    }
    int ok = !disk || DocCopyLinesEx(disk, 0, disk->lnMac, doc, first, 0, false, 0);
    ok = ok && DocDeleteLines(doc, first + (disk ? disk->lnMac : 0), count);
    if (disk) DocFree(disk, false);
    return EndEdit(doc) && ok;
}

// ---- Whole-buffer line passes ----

static const char *DocFindIn(const LineRecord *record, int32_t from, const char *text, int32_t n) {
    for (int32_t i = from; i + n <= record->length; i++)
        if (memcmp(record->text + i, text, (size_t)n) == 0) return record->text + i;
    return nullptr;
}

int DocFindText(FileBuffer *doc, int32_t line, int32_t column, const char *text, int32_t *outLine,
                int32_t *outColumn, bool fInterruptible) {
    static LineRecord record;
    int32_t n = (int32_t)strlen(text);
    for (int32_t l = Max(line, 0); l < doc->lnMac; l++) {
        if (fInterruptible && (l - line) % DOC_FIND_POLL_LINES == 0 && l > line && DocShell().inputPending())
            return 0;
        GetLine(doc, l, &record);
        const char *hit = DocFindIn(&record, l == line ? Max(column, 0) : 0, text, n);
        if (hit) {
            *outLine = l;
            *outColumn = (int32_t)(hit - record.text);
            return 1;
        }
    }
    return 0;
}

typedef bool (*DocLinePass)(LineRecord *record, int32_t tabWidth);

static int DocPassLines(FileBuffer *doc, DocLinePass pass) {
    static LineRecord record;
    if (!BeginEdit(doc)) return 0;
    int32_t tabWidth = DtaTabWidth(doc);
    int ok = 1;
    for (int32_t line = 0; ok && line < doc->lnMac; line++) {
        GetLine(doc, line, &record);
        if (pass(&record, tabWidth)) ok = ReplaceLine(doc, line, &record);
    }
    return EndEdit(doc) && ok;
}

static bool DocExpandPass(LineRecord *record, int32_t tabWidth) {
    return memchr(record->text, '\t', (size_t)record->length) && LineExpandTabs(record, tabWidth);
}

static bool DocTrimPass(LineRecord *record, int32_t) {
    int32_t n = record->length;
    while (n > 0 && (record->text[n - 1] == ' ' || record->text[n - 1] == '\t')) n--;
    if (n == record->length) return false;
    LineFromText(record->text, n, record);
    return true;
}

int DocExpandAllTabs(FileBuffer *doc) {
    return DocPassLines(doc, DocExpandPass);
}

int DocTrimTrailingBlanks(FileBuffer *doc) {
    return DocPassLines(doc, DocTrimPass);
}

// ---- Queries ----

bool DocCanClose(FileBuffer *doc) {
    if (append.doc) return false;
    return !(doc->cEditNest > 0 && editErrorCode);
}

bool DocCanEdit(FileBuffer *doc) {
    return !append.doc && !DocEditLineBuffer() && DocMayModify(doc);
}

bool AnyDocModified() {
    return anyDocModified;
}
void ClearAnyDocModified() {
    anyDocModified = false;
}
void SetAnyDocModified() {
    anyDocModified = true;
}
void ClipSyncSuspend() {
    clipSyncSuspend++;
}
void ClipSyncResume() {
    if (clipSyncSuspend > 0) clipSyncSuspend--;
}
