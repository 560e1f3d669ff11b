// undo: undo steps (prefix Undo), least form. The undo file is a temporary file written straight to the
// system, so that a snapshot that cannot be written is known before the edit starts.
#include "doc/undo.h"

#include "base/utilil.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/dochook.h"
#include "doc/doclang.h"
#include "doc/docmrk.h"
#include "ui/dlgalert.h"

#include <cstdio>
#include <cstring>

const char ercUndoOutOfSpace[] =
    "Out of Undo space for %s.  Do you want to empty the Undo list and continue?";

enum {
    UNDO_STEP_BYTES = sizeof(UndoStepHead) + 1, // the fixed part and an empty name
    UNDO_LIST_CAPACITY = 8,
    UNDO_ANSWER_YES = 6, // the system's IDYES
    UNDO_MARK_SETS = 3,
    UNDO_OP_SHIFT = 30,
    UNDO_COUNT_MASK = 0x3FFFFFFF,
};

// Steps are variable-length elements, not aligned: they are copied in and out whole.
static UndoStepHead UndoStepAt(const FileBuffer *doc, int32_t i) {
    UndoStepHead head;
    memcpy(&head, PlexVarElem(doc->hplvUndo, i), sizeof head);
    return head;
}

static void UndoPutStep(FileBuffer *doc, int32_t i, const UndoStepHead *head) {
    memcpy(PlexVarElem(doc->hplvUndo, i), head, sizeof *head);
}

int32_t UndoStepCount(const FileBuffer *doc) {
    return doc->hplvUndo ? PlexVarCount(doc->hplvUndo) : 0;
}

int UndoGetStep(const FileBuffer *doc, int32_t i, UndoStepHead *out) {
    if (i < 0 || i >= UndoStepCount(doc)) return 0;
    *out = UndoStepAt(doc, i);
    return 1;
}

void UndoSuspend(FileBuffer *doc) {
    doc->cUndoSuspend++;
}

void UndoResume(FileBuffer *doc) {
    if (doc->cUndoSuspend > 0) doc->cUndoSuspend--;
}

void UndoFree(FileBuffer *doc) {
    if (doc->hplvUndo) PlexVarFree(doc->hplvUndo);
    doc->hplvUndo = nullptr;
    if (doc->fnUndo >= 0) FileCloseDelete(doc->fnUndo);
    doc->fnUndo = -1;
    doc->iudrCur = 0;
}

static bool UndoEnsureList(FileBuffer *doc) {
    if (doc->fnUndo < 0) {
        doc->fnUndo = DocShell().makeTempFile(nullptr);
        if (doc->fnUndo < 0) return false;
        FileSetDirect(doc->fnUndo, true);
    }
    if (!doc->hplvUndo) {
        doc->hplvUndo = PlexVarCreate(UNDO_LIST_CAPACITY, 0);
        doc->iudrCur = 0;
    }
    return doc->hplvUndo != nullptr;
}

// ---- Snapshots ----

static int UndoWriteSnapshot(FileBuffer *doc, uint32_t at) {
    int file = doc->fnUndo;
    FileSeek(file, at);
    int32_t tableBytes = (int32_t)RunTableBytes(DocRunCount(doc));
    int32_t lines = doc->lnMac;
    if (!FileWriteExact(file, &tableBytes, 4) || !FileWriteExact(file, doc->hrgl->ptr, tableBytes) ||
        !FileWriteExact(file, &lines, 4) || !FileWriteExact(file, DocLengths(doc), lines * 2))
        return 0;
    if (!DocDisplay().swWriteDocPositions(file, doc)) return 0;
    for (MarkSet *set : doc->rgmrk)
        if (!MrkSetWrite(file, set)) return 0;
    return 1;
}

// The tables of a snapshot, each checked against what the file still holds.
struct UndoTables {
    Handle *table;
    Handle *lengths;
    int32_t lines;
    MarkSet *marks[UNDO_MARK_SETS];
};

static void UndoTablesFree(UndoTables *t) {
    if (t->table) HFree(t->table);
    if (t->lengths) HFree(t->lengths);
    for (MarkSet *set : t->marks) MrkSetFree(set);
    *t = UndoTables{};
}

static bool UndoReadTable(int file, UndoTables *t) {
    int32_t bytes;
    uint32_t left = FileGetSize(file) - FileTell(file);
    if (!FileReadExact(file, &bytes, 4) || bytes < (int32_t)RunTableBytes(1) || (uint32_t)bytes > left ||
        (bytes - (int32_t)sizeof(LineRunTable)) % (int32_t)sizeof(LineRun) != 0)
        return false;
    t->table = HAlloc((uint32_t)bytes);
    if (!t->table || !FileReadExact(file, t->table->ptr, bytes)) return false;
    LineRunTable *header = RunTableHeader(t->table);
    if (RunTableBytes(header->count) != (uint32_t)bytes) return false;
    header->capacity = header->count;
    return true;
}

static bool UndoReadLengths(int file, UndoTables *t) {
    uint32_t left = FileGetSize(file) - FileTell(file);
    if (!FileReadExact(file, &t->lines, 4) || t->lines < 0 || (uint64_t)t->lines * 2 > left) return false;
    t->lengths = HAlloc((uint32_t)Max(t->lines, 1) * 2);
    return t->lengths && FileReadExact(file, t->lengths->ptr, t->lines * 2);
}

static bool UndoReadSnapshot(FileBuffer *doc, uint32_t at, UndoTables *t) {
    int file = doc->fnUndo;
    *t = UndoTables{};
    FileSeek(file, at);
    bool ok = UndoReadTable(file, t) && UndoReadLengths(file, t) && RunTableCheck(t->table, t->lines) &&
              DocDisplay().swReadDocPositions(file, doc);
    for (int i = 0; ok && i < UNDO_MARK_SETS; i++) ok = MrkSetRead(file, &t->marks[i]);
    if (!ok) UndoTablesFree(t);
    return ok;
}

// ---- Steps ----

static UndoStepHead UndoNewStep(const FileBuffer *doc, uint32_t at) {
    UndoStepHead head = {};
    head.offset = at;
    head.generation = (uint32_t)doc->cSave;
    if (doc->flags & DOC_FOREIGN_RUNS) head.flags |= UNDO_STEP_FOREIGN;
    if (doc->flags & DOC_MODIFIED) head.flags |= UNDO_STEP_MODIFIED;
    if (MrkSetCount(doc->rgmrk[2]) > 0) head.flags |= UNDO_STEP_LINKS;
    return head;
}

static void UndoDropAfter(FileBuffer *doc, int32_t keep) {
    while (PlexVarCount(doc->hplvUndo) > keep) PlexVarDelete(doc->hplvUndo, PlexVarCount(doc->hplvUndo) - 1);
}

// Stores the step at iudrCur (a new one at the top, else in place of the redo step there, dropping the rest),
// then applies the undo-levels limit.
static bool UndoStoreStep(FileBuffer *doc, const UndoStepHead *head) {
    unsigned char bytes[UNDO_STEP_BYTES] = {};
    memcpy(bytes, head, sizeof *head);
    int32_t count = PlexVarCount(doc->hplvUndo);
    if (doc->iudrCur >= count) {
        if (!PlexVarInsert(doc->hplvUndo, count, bytes, UNDO_STEP_BYTES)) return false;
    } else {
        if (!PlexVarReplace(doc->hplvUndo, doc->iudrCur, bytes, UNDO_STEP_BYTES)) return false;
        UndoDropAfter(doc, doc->iudrCur + 1);
    }
    doc->iudrCur++;
    int32_t levels = DocOpt().undoLevels;
    while (levels > 0 && PlexVarCount(doc->hplvUndo) > levels) PlexVarDelete(doc->hplvUndo, 0);
    if (levels > 0 && doc->iudrCur > levels) doc->iudrCur = levels;
    return true;
}

static bool UndoAskToEmpty(FileBuffer *doc) {
    char name[256], text[512];
    DocGetFileName(doc, name);
    snprintf(text, sizeof text, ercUndoOutOfSpace, name);
    if (AlertBox(text, ALERT_YESNO, 0) != UNDO_ANSWER_YES) return false;
    PlexVarClear(doc->hplvUndo);
    PlexVarTrim(doc->hplvUndo);
    doc->iudrCur = 0;
    FileSetSize(doc->fnUndo, 0);
    return true;
}

static bool UndoTakeSnapshot(FileBuffer *doc) {
    if (doc->iudrCur < PlexVarCount(doc->hplvUndo))
        FileSetSize(doc->fnUndo, UndoStepAt(doc, doc->iudrCur).offset);
    uint32_t at = FileGetSize(doc->fnUndo);
    if (at >= UNDO_FILE_LIMIT) return false;
    UndoStepHead head = UndoNewStep(doc, at);
    if (!UndoStoreStep(doc, &head)) return false;
    if (UndoWriteSnapshot(doc, at)) return true;
    doc->iudrCur--;
    UndoDropAfter(doc, doc->iudrCur);
    FileSetSize(doc->fnUndo, at);
    return false;
}

int UndoBeginStep(FileBuffer *doc) {
    if (doc->cUndoSuspend > 0) return 1;
    if (!UndoEnsureList(doc)) return 0;
    while (!UndoTakeSnapshot(doc))
        if (!UndoAskToEmpty(doc)) return 0;
    return 1;
}

void UndoRecord(FileBuffer *doc, int op, int32_t first, int32_t count) {
    if (!doc->hplvUndo || doc->iudrCur <= 0 || doc->iudrCur > PlexVarCount(doc->hplvUndo)) return;
    UndoStepHead step = UndoStepAt(doc, doc->iudrCur - 1);
    if (op == UNDO_OP_ALL || step.used >= UNDO_ENTRIES) {
        step.flags |= UNDO_STEP_REFRESH_ALL;
    } else {
        uint32_t word = (uint32_t)op << UNDO_OP_SHIFT | ((uint32_t)count & UNDO_COUNT_MASK);
        uint32_t *entry = &step.entries[2 * step.used];
        entry[0] = (uint32_t)first;
        entry[1] = word;
        bool repeat = op == UNDO_OP_CHANGE && step.used > 0 && entry[-2] == entry[0] && entry[-1] == entry[1];
        if (!repeat) step.used++;
    }
    UndoPutStep(doc, doc->iudrCur - 1, &step);
}

// ---- Rollback ----

static void UndoInstall(FileBuffer *doc, UndoTables *t) {
    DocFreeMarkSets(doc);
    if (DocEditLineBuffer() == doc) DocClearEditLine();
    HFree(doc->hrgl);
    HFree(doc->hrgcb);
    doc->hrgl = t->table;
    doc->hrgcb = t->lengths;
    doc->lnMac = t->lines;
    t->table = t->lengths = nullptr;
    RunTableResetCache();
    DocResetFetchCache();
    DocDisplay().swApplyDocPositions(doc);
    TagList *tgl = doc->ptgl;
    if (doc->plexcache) LexCacheSuspend(doc->plexcache);
    doc->ptgl = nullptr;
    DocBroadcastChange(doc, DOC_CHANGE_ALL, 0, DOC_LINE_END);
    doc->ptgl = tgl;
    if (doc->plexcache) LexCacheResume(doc->plexcache);
    for (int i = 0; i < UNDO_MARK_SETS; i++) {
        doc->rgmrk[i] = t->marks[i];
        t->marks[i] = nullptr;
    }
    if (doc->ptgl) DocSymbol().tglOnLinesChanged(doc->ptgl, DOC_CHANGE_ALL, 0, DOC_LINE_END);
    LexCacheOnChange(doc->plexcache, DOC_CHANGE_ALL, 0, DOC_LINE_END);
}

int UndoRollback(FileBuffer *doc) {
    if (doc->cUndoSuspend > 0) return 1;
    if (!doc->hplvUndo || doc->iudrCur <= 0 || doc->iudrCur > PlexVarCount(doc->hplvUndo)) return 0;
    int32_t k = doc->iudrCur - 1;
    UndoStepHead head = UndoStepAt(doc, k);
    UndoTables tables;
    if (!UndoReadSnapshot(doc, head.offset, &tables)) return 0;
    UndoInstall(doc, &tables);
    if (head.generation != (uint32_t)doc->cSave || (head.flags & UNDO_STEP_MODIFIED))
        DocMarkModified(doc);
    else
        DocClearModified(doc);
    UndoDropAfter(doc, k);
    doc->iudrCur = k;
    FileSetSize(doc->fnUndo, head.offset);
    return 1;
}

// ---- Repairing snapshots ----

static bool UndoMoveRuns(Handle *table, const uint16_t *lengths, int file) {
    for (int32_t i = 0; i < RunTableCount(table) - 1; i++) {
        LineRun *run = RunTableAt(table, i);
        if (RunFile(run) != file) continue;
        int32_t next = RunTableAt(table, i + 1)->first;
        uint64_t bytes = 0;
        for (int32_t line = run->first; line < next; line++)
            bytes += lengths[line] == DOC_LINE_LONG && next == line + 1 ? DocLongLineLength(file, run->offset)
                                                                        : lengths[line];
        int64_t at = ScratchFileCopy(file, run->offset, (uint32_t)bytes);
        if (at < 0) return false;
        if (bytes >= DOC_LINE_LONG && next == run->first + 1)
            DocLongLineAdd(ScratchFileNumber(), (uint32_t)at, (uint32_t)bytes);
        run->offset = (uint32_t)at;
        RunSetFile(run, ScratchFileNumber());
    }
    return true;
}

int UndoFixFileRuns(FileBuffer *doc, int file) {
    for (int32_t k = 0; k < UndoStepCount(doc); k++) {
        UndoStepHead head = UndoStepAt(doc, k);
        if (!(head.flags & UNDO_STEP_FOREIGN)) continue;
        UndoTables t;
        if (!UndoReadSnapshot(doc, head.offset, &t)) return 0;
        bool ok = UndoMoveRuns(t.table, (const uint16_t *)t.lengths->ptr, file);
        if (ok) {
            FileSeek(doc->fnUndo, head.offset + 4);
            ok = FileWriteExact(doc->fnUndo, t.table->ptr, (int32_t)HSize(t.table));
        }
        UndoTablesFree(&t);
        if (!ok) return 0;
    }
    return 1;
}

int RecoveryWrite(bool) {
    return 1;
}
