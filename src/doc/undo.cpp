// undo: undo and redo (prefixes Undo, Redo). The undo file is a temporary file written straight to the
// system, so that a snapshot that cannot be written is known before the edit starts. A snapshot is written
// before its step is stored, so that a failed write leaves the list as it was.
#include "doc/undo.h"

#include "base/log.h"
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
const char ercUndoPastSave[] =
    "You are about to undo changes that have already been saved to disk.\n\nDo you want to continue?";
static const char undoLogSpace[] = "Out of Undo Space: %s, iudrCur=%d, iudrMac=%d";
static const char undoLogSizes[] = " >> hplvUndo size = %d, fnUndo size = %ul";

enum {
    UNDO_STEP_BYTES = sizeof(UndoStepHead), // the fixed part with an empty name
    UNDO_LIST_CAPACITY = 8,
    UNDO_ANSWER_YES = 6, // the system's IDYES
    UNDO_BEEP = 3,       // the error beep
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

int UndoGetStepName(const FileBuffer *doc, int32_t i, char *out) {
    out[0] = 0;
    if (i < 0 || i >= UndoStepCount(doc)) return 0;
    const unsigned char *step = PlexVarElem(doc->hplvUndo, i);
    uint8_t n = step[sizeof(UndoStepHead) - 1];
    memcpy(out, step + sizeof(UndoStepHead), n);
    out[n] = 0;
    return 1;
}

// The step below the present state, -1 when there is none.
static int32_t UndoTopStep(const FileBuffer *doc) {
    return doc->iudrCur > 0 && doc->iudrCur <= UndoStepCount(doc) ? doc->iudrCur - 1 : -1;
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
    if (MrkSetCount(doc->rgmrk[MARK_LINK - 1]) > 0) head.flags |= UNDO_STEP_LINKS;
    return head;
}

static void UndoDropAfter(FileBuffer *doc, int32_t keep) {
    while (PlexVarCount(doc->hplvUndo) > keep) PlexVarDelete(doc->hplvUndo, PlexVarCount(doc->hplvUndo) - 1);
}

// Redo steps go with their snapshots, whose space the new step takes.
static void UndoDropRedo(FileBuffer *doc) {
    if (doc->iudrCur >= PlexVarCount(doc->hplvUndo)) return;
    FileSetSize(doc->fnUndo, UndoStepAt(doc, doc->iudrCur).offset);
    UndoDropAfter(doc, doc->iudrCur);
}

// Appends the step, then keeps at most `limit` steps (0: no limit), dropping the oldest; their snapshots stay
// in the file.
static bool UndoStoreStep(FileBuffer *doc, const UndoStepHead *head, int32_t limit) {
    int32_t count = PlexVarCount(doc->hplvUndo);
    if (!PlexVarInsert(doc->hplvUndo, count, head, UNDO_STEP_BYTES)) return false;
    doc->iudrCur = count + 1;
    while (limit > 0 && PlexVarCount(doc->hplvUndo) > limit) PlexVarDelete(doc->hplvUndo, 0);
    if (limit > 0 && doc->iudrCur > limit) doc->iudrCur = limit;
    return true;
}

// The undo-levels preference counts edits: the snapshot of the present state that the first undo adds is one
// step more, else a cap of N would leave N - 1 undos (and a cap of 1 none).
static int32_t UndoLevelsLimit(bool presentState) {
    int32_t levels = DocOpt().undoLevels;
    return levels > 0 ? levels + (presentState ? 1 : 0) : 0;
}

static bool UndoTakeSnapshot(FileBuffer *doc, bool presentState) {
    UndoDropRedo(doc);
    uint32_t at = FileGetSize(doc->fnUndo);
    if (at >= UNDO_FILE_LIMIT) return false;
    UndoStepHead head = UndoNewStep(doc, at);
    if (UndoWriteSnapshot(doc, at) && UndoStoreStep(doc, &head, UndoLevelsLimit(presentState))) return true;
    FileSetSize(doc->fnUndo, at);
    return false;
}

static void UndoLogOutOfSpace(FileBuffer *doc, const char *name) {
    if (!DocOpt().logUndoSpace) return;
    LogPrintf(undoLogSpace, name, doc->iudrCur, PlexVarCount(doc->hplvUndo));
    LogPrintf(undoLogSizes, doc->hplvUndo->poolUsed, FileGetSize(doc->fnUndo));
}

// Yes empties the list and the undo file, so that the step can begin again from nothing.
static bool UndoOutOfSpace(FileBuffer *doc) {
    char name[256], text[512];
    DocGetFileName(doc, name);
    UndoLogOutOfSpace(doc, name);
    DocShell().beep(UNDO_BEEP);
    snprintf(text, sizeof text, ercUndoOutOfSpace, name);
    if (AlertBox(text, ALERT_YESNO, 0) != UNDO_ANSWER_YES) return false;
    PlexVarClear(doc->hplvUndo);
    PlexVarTrim(doc->hplvUndo);
    doc->iudrCur = 0;
    FileSetSize(doc->fnUndo, 0);
    return true;
}

static int UndoBeginStepEx(FileBuffer *doc, bool presentState) {
    if (doc == DocShell().currentDoc()) DocDisplay().pushSelectionHistory();
    if (doc->cUndoSuspend > 0) return 1;
    if (!UndoEnsureList(doc)) return 0;
    while (!UndoTakeSnapshot(doc, presentState))
        if (!UndoOutOfSpace(doc)) return 0;
    return 1;
}

int UndoBeginStep(FileBuffer *doc) {
    return UndoBeginStepEx(doc, false);
}

void UndoRecord(FileBuffer *doc, int op, int32_t first, int32_t count) {
    int32_t k = doc->hplvUndo ? UndoTopStep(doc) : -1;
    if (k < 0) return;
    UndoStepHead step = UndoStepAt(doc, k);
    if (op == UNDO_OP_ALL || step.used >= UNDO_ENTRIES) {
        step.flags |= UNDO_STEP_REFRESH_ALL;
    } else {
        uint32_t n = step.used;
        step.entries[2 * n] = (uint32_t)first;
        step.entries[2 * n + 1] = (uint32_t)op << UNDO_OP_SHIFT | ((uint32_t)count & UNDO_COUNT_MASK);
        bool repeat = op == UNDO_OP_CHANGE && n > 0 && step.entries[2 * n - 2] == step.entries[2 * n] &&
                      step.entries[2 * n - 1] == step.entries[2 * n + 1];
        if (!repeat) step.used++;
    }
    UndoPutStep(doc, k, &step);
}

int32_t UndoLastGeneration(const FileBuffer *doc) {
    int32_t k = doc->hplvUndo ? UndoTopStep(doc) : -1;
    return k < 0 ? doc->cSave : (int32_t)UndoStepAt(doc, k).generation;
}

void UndoSetStepName(FileBuffer *doc, const char *name) {
    int32_t k = doc->hplvUndo ? UndoTopStep(doc) : -1;
    if (doc->cUndoSuspend > 0 || k < 0) return;
    unsigned char bytes[sizeof(UndoStepHead) + UNDO_NAME_MAX];
    UndoStepHead head = UndoStepAt(doc, k);
    head.nameLength = (uint8_t)strnlen(name, UNDO_NAME_MAX);
    memcpy(bytes, &head, sizeof head);
    memcpy(bytes + sizeof head, name, head.nameLength);
    PlexVarReplace(doc->hplvUndo, k, bytes, (int32_t)sizeof head + head.nameLength);
}

// ---- Restoring a step ----

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
    if (DocLinkCount(doc) > 0) DocDisplay().swRepaintDocLines(nullptr, 0, DOC_LINE_END);
}

static void UndoPatchLines(FileBuffer *doc, int type, int32_t first, int32_t last) {
    if (doc->ptgl) DocSymbol().tglOnLinesChanged(doc->ptgl, type, first, last);
    LexCacheOnChange(doc->plexcache, type, first, last);
}

static void UndoPatchShift(FileBuffer *doc, int32_t line, int32_t delta) {
    if (doc->ptgl) DocSymbol().tglShiftLines(doc->ptgl, line, delta, 0);
    DocLexShift(doc, line, delta);
}

// One entry, inverted for undo: undoing an insertion or redoing a deletion takes the lines away again.
static void UndoPatchEntry(FileBuffer *doc, uint32_t first, uint32_t word, bool redo) {
    uint32_t op = word >> UNDO_OP_SHIFT;
    int32_t line = (int32_t)first, count = (int32_t)(word & UNDO_COUNT_MASK);
    if (op == UNDO_OP_CHANGE) {
        UndoPatchLines(doc, DOC_CHANGE_LINE, line, line + count - 1);
    } else if ((op == UNDO_OP_INSERT) != redo) {
        UndoPatchLines(doc, DOC_CHANGE_DELETED, line, line + count - 1);
        UndoPatchShift(doc, line, -count);
    } else {
        UndoPatchShift(doc, line, count);
    }
}

// The caches learn the lines the edit changed: for undo its entries backwards, for redo forwards.
static void UndoPatchCaches(FileBuffer *doc, const UndoStepHead *edit, bool redo) {
    if (edit->flags & UNDO_STEP_REFRESH_ALL) {
        UndoPatchLines(doc, DOC_CHANGE_ALL, 0, DOC_LINE_END);
    } else {
        uint32_t used = Min(edit->used, (uint32_t)UNDO_ENTRIES);
        for (uint32_t i = 0; i < used; i++) {
            uint32_t e = redo ? i : used - 1 - i;
            UndoPatchEntry(doc, edit->entries[2 * e], edit->entries[2 * e + 1], redo);
        }
    }
    if (doc->ptgl) DocLang().parseBufferPublish(doc);
}

// The state of step s. The edit that leads from the present state to it is step s's own for undo (step s
// began it), and step s - 1's for redo: that step's entries tell the caches what changes.
static bool UndoRestore(FileBuffer *doc, int32_t s, bool redo) {
    UndoStepHead step = UndoStepAt(doc, s);
    bool modified = step.generation != (uint32_t)doc->cSave || (step.flags & UNDO_STEP_MODIFIED);
    UndoTables tables;
    if (!UndoReadSnapshot(doc, step.offset, &tables)) return false;
    UndoStepHead edit = redo ? UndoStepAt(doc, s - 1) : step;
    UndoInstall(doc, &tables);
    UndoPatchCaches(doc, &edit, redo);
    if (modified)
        DocMarkModified(doc);
    else
        DocClearModified(doc);
    if (doc == DocShell().currentDoc()) DocMacro().macroNoteDocEdited(doc);
    return true;
}

int UndoRollback(FileBuffer *doc) {
    if (doc->cUndoSuspend > 0) return 1;
    int32_t k = doc->hplvUndo ? UndoTopStep(doc) : -1;
    if (k < 0 || !UndoRestore(doc, k, false)) return 0;
    uint32_t offset = UndoStepAt(doc, k).offset;
    UndoDropAfter(doc, k);
    doc->iudrCur = k;
    FileSetSize(doc->fnUndo, offset);
    return 1;
}

// ---- Undo and redo ----

bool UndoCanUndo(FileBuffer *doc) {
    return DocMayModify(doc) && doc->hplvUndo && doc->iudrCur > 0;
}

bool UndoCanRedo(FileBuffer *doc) {
    return DocMayModify(doc) && doc->hplvUndo && doc->iudrCur < PlexVarCount(doc->hplvUndo) - 1;
}

enum UndoOutcome { UNDO_DONE, UNDO_FAILED, UNDO_REFUSED };

// Undoing past a save is asked once per save generation.
static bool UndoPastSaveAllowed(FileBuffer *doc) {
    UndoStepHead step = UndoStepAt(doc, doc->iudrCur - 1);
    if ((int32_t)step.generation >= doc->cSave || doc->cSaveConfirmed == doc->cSave) return true;
    DocShell().beep(UNDO_BEEP);
    if (AlertBox(ercUndoPastSave, ALERT_YESNO, 0) != UNDO_ANSWER_YES) return false;
    doc->cSaveConfirmed = doc->cSave;
    return true;
}

// While suspended nothing is taken or restored, so the counts stay as they are.
static UndoOutcome UndoOne(FileBuffer *doc) {
    if (!UndoCanUndo(doc) || doc->iudrCur > PlexVarCount(doc->hplvUndo)) return UNDO_FAILED;
    if (doc->cUndoSuspend > 0) return UNDO_DONE;
    if (!UndoPastSaveAllowed(doc)) return UNDO_REFUSED;
    if (doc->iudrCur >= PlexVarCount(doc->hplvUndo)) {
        if (!UndoBeginStepEx(doc, true)) return UNDO_FAILED;
        doc->iudrCur--;
    }
    int32_t s = doc->iudrCur - 1;
    if (s < 0 || !UndoRestore(doc, s, false)) return UNDO_FAILED;
    doc->iudrCur = s;
    return UNDO_DONE;
}

static UndoOutcome RedoOne(FileBuffer *doc) {
    if (!UndoCanRedo(doc)) return UNDO_FAILED;
    if (doc->cUndoSuspend > 0) return UNDO_DONE;
    int32_t s = doc->iudrCur + 1;
    if (!UndoRestore(doc, s, true)) return UNDO_FAILED;
    doc->iudrCur = s;
    return UNDO_DONE;
}

int UndoStep(FileBuffer *doc) {
    return UndoOne(doc) == UNDO_DONE;
}

int RedoStep(FileBuffer *doc) {
    return RedoOne(doc) == UNDO_DONE;
}

// ---- The commands ----

static void UndoAfterCommand(FileBuffer *doc, bool everyWindow) {
    DocDisplay().swResetLinePastEnd(doc->lnMac);
    DocDisplay().swRepaintDocLines(doc, 0, DOC_LINE_END);
    if (everyWindow)
        DocDisplay().swUpdateAll();
    else
        DocDisplay().swUpdateCurrent();
    DocDisplay().showSelection();
    SetAnyDocModified();
}

typedef UndoOutcome (*UndoMove)(FileBuffer *doc);
typedef bool (*UndoMayMove)(FileBuffer *doc);

// One step, or every step while one is possible; a refused or failed step ends the command.
static int UndoCommand(bool all, UndoMove move, UndoMayMove mayMove, bool everyWindow) {
    FileBuffer *doc = DocShell().currentDoc();
    if (!doc) return 1;
    int32_t done = 0;
    UndoOutcome outcome;
    do {
        outcome = move(doc);
        if (outcome == UNDO_DONE) done++;
    } while (all && outcome == UNDO_DONE && mayMove(doc));
    if (done > 0) UndoAfterCommand(doc, everyWindow);
    return outcome == UNDO_DONE ? 0 : outcome == UNDO_REFUSED ? 2 : 1;
}

int CmdUndo(int32_t command) {
    return UndoCommand(command == UNDO_ROW_UNDO_ALL, UndoOne, UndoCanUndo, false);
}

int CmdRedo(int32_t command) {
    return UndoCommand(command == UNDO_ROW_REDO_ALL, RedoOne, UndoCanRedo, true);
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
