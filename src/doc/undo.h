// undo: undo and redo of a file buffer's edits (prefix Undo, Redo). Undo works by snapshots, not by replaying
// edits: line text is never rewritten in place, so a buffer's text is its run table, its line lengths and its
// line count; the positions its windows keep and its three mark sets complete its state. At the start of
// every outermost edit that state is appended to the buffer's own undo file (a temporary file made at the
// first edit) and a step record is added to its step list; undo and redo copy a snapshot back, and the same
// snapshot rolls back an edit that failed half-way. The entries the change notice adds to a step only tell
// the tag list and the lexer cache which lines changed, so that those caches are patched, not rebuilt.
//
// The list: for k below iudrCur, step k holds the state before edit k; step iudrCur, when it exists, holds
// the present state (the first undo at the top snapshots it, so that it can be redone).
//
// Step record (an element of the step list; 101 bytes plus the name's length):
//   0 flags (bit 0 the buffer held runs of other buffers' files, bit 1 it was modified, bit 2 its link set
//     held marks, bit 3 refresh everything: a whole-buffer change, or more than ten entries), 4 reserved 0,
//   8 the snapshot's offset in the undo file, 12 the save generation, 16 entries used (0..10), 20 ten entries
//   of {first line, operation in bits 30-31 and line count in bits 0-29}, 100 the step's name as a
//   length-prefixed string (empty when never named).
// Snapshot (at the undo file's end; read back whole or not at all): int32 byte count of the run table, the
//   table (header and runs); int32 line count and the 16-bit lengths; the positions the buffer's windows keep
//   (written by the display layer); the three mark sets in their file form (-1 for an absent set).
// Limits: a step does not begin once the undo file has reached 0xFFFF0000 bytes; the undo-levels preference
// caps the edits kept (the snapshot of the present state is not counted).
// Success convention of the document core: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure; command handlers answer 0 done, 1 failed, 2 refused.
#pragma once

#include "doc/doc.h"

#include <cstdint>

enum {
    UNDO_OP_ALL = 0,
    UNDO_OP_INSERT = 1,
    UNDO_OP_DELETE = 2,
    UNDO_OP_CHANGE = 3,
    UNDO_ENTRIES = 10,
    UNDO_NAME_MAX = 255,
};

#pragma pack(push, 1)
struct UndoStepHead {
    uint32_t flags;                     // UNDO_STEP_*
    uint32_t reserved;                  // 0
    uint32_t offset;                    // the snapshot's byte offset in the undo file
    uint32_t generation;                // the buffer's save generation when the step began
    uint32_t used;                      // entries used
    uint32_t entries[2 * UNDO_ENTRIES]; // {first line, op << 30 | count}
    uint8_t nameLength;                 // the name's characters follow
};
#pragma pack(pop)
static_assert(sizeof(UndoStepHead) == 101, "a step record's fixed part is 101 bytes");

enum : uint32_t {
    UNDO_STEP_FOREIGN = 0x1,
    UNDO_STEP_MODIFIED = 0x2,
    UNDO_STEP_LINKS = 0x4,
    UNDO_STEP_REFRESH_ALL = 0x8,
    UNDO_FILE_LIMIT = 0xFFFF0000,
};

// The command table's rows that share the two handlers.
enum : int32_t { UNDO_ROW_UNDO = 87, UNDO_ROW_REDO = 88, UNDO_ROW_UNDO_ALL = 307, UNDO_ROW_REDO_ALL = 308 };

extern const char ercUndoOutOfSpace[]; // "Out of Undo space for %s.  Do you want to empty the Undo list..."
extern const char ercUndoPastSave[];   // "You are about to undo changes that have already been saved..."

// The outermost BeginEdit: a snapshot of the present state as a new step. 0 when there is no undo file or
// the user refused to empty a full undo list (the edit is then refused).
int UndoBeginStep(FileBuffer *doc);
// The change notice, while an edit is open: an entry of the open step.
void UndoRecord(FileBuffer *doc, int op, int32_t first, int32_t count);
// The failed-edit path of EndEdit: the state at the last step's BeginEdit, the step dropped (nothing to redo).
int UndoRollback(FileBuffer *doc);

bool UndoCanUndo(FileBuffer *doc);
bool UndoCanRedo(FileBuffer *doc);
// One step back or forward; 0 when refused (by the user, past a save) or failed (the buffer unchanged).
int UndoStep(FileBuffer *doc);
int RedoStep(FileBuffer *doc);
// The save generation of the step below the present state, or the buffer's when there is none.
int32_t UndoLastGeneration(const FileBuffer *doc);
// Names the step below the present state (cut at 255 characters). Nothing while suspended.
void UndoSetStepName(FileBuffer *doc, const char *name);

int32_t UndoStepCount(const FileBuffer *doc);
int UndoGetStep(const FileBuffer *doc, int32_t i, UndoStepHead *out);
int UndoGetStepName(const FileBuffer *doc, int32_t i, char *out); // 256 bytes
// While suspended, steps begin, roll back and restore as done without doing anything.
void UndoSuspend(FileBuffer *doc);
void UndoResume(FileBuffer *doc);
// The snapshots of steps begun while the buffer held runs of other buffers' files stop using the file: the
// bytes of their runs in it are copied to the scratch file. 0 on a failed copy or write.
int UndoFixFileRuns(FileBuffer *doc, int file);
void UndoFree(FileBuffer *doc);

// "Undo" and "Undo All" (rows 87, 307), "Redo" and "Redo All" (88, 308), on the current buffer.
int CmdUndo(int32_t command);
int CmdRedo(int32_t command);

// Recovery data (the workspace's recovery file); least form: nothing to write yet, 1.
int RecoveryWrite(bool fInterruptible);
