// undo: undo steps of a file buffer (prefix Undo). Undo works by snapshots: at the start of every outermost
// edit the buffer's run table, line lengths, the positions its windows keep and its mark sets are appended to
// the buffer's own undo file, and a step record is added to its step list; restoring a step copies the
// snapshot back. Least form: the snapshot at BeginEdit, the entries the change notice records, the rollback
// of a failed edit, the repair of snapshots whose runs use a file about to be replaced, and freeing; undo and
// redo themselves come with the undo commands.
//
// Step record (an element of the step list; 101 bytes plus the name's length):
//   0 flags (bit 0 the buffer had flag bit 13, bit 1 it was modified, bit 2 its link set held marks, bit 3
//     refresh everything), 4 reserved, 8 snapshot offset in the undo file, 12 save generation, 16 entries
//     used (0..10), 20 ten entries of {first line, operation in bits 30-31 and count in bits 0-29}, 100 the
//     step's name as a length-prefixed string.
// Snapshot: int32 byte count of the run table, its header and runs; int32 line count and the 16-bit lengths;
//   the windows' positions (written by the display layer); the three mark sets (MrkSetWrite).
#pragma once

#include "doc/doc.h"

#include <cstdint>

enum { UNDO_OP_ALL = 0, UNDO_OP_INSERT = 1, UNDO_OP_DELETE = 2, UNDO_OP_CHANGE = 3, UNDO_ENTRIES = 10 };

struct UndoStepHead {
    uint32_t flags;
    uint32_t reserved;
    uint32_t offset;
    uint32_t generation;
    uint32_t used;
    uint32_t entries[2 * UNDO_ENTRIES];
};
static_assert(sizeof(UndoStepHead) == 100, "a step record's fixed part is 100 bytes");

enum : uint32_t {
    UNDO_STEP_FOREIGN = 0x1,
    UNDO_STEP_MODIFIED = 0x2,
    UNDO_STEP_LINKS = 0x4,
    UNDO_STEP_REFRESH_ALL = 0x8,
    UNDO_FILE_LIMIT = 0xFFFF0000,
};

extern const char ercUndoOutOfSpace[]; // "Out of Undo space for %s.  Do you want to empty the Undo list..."

int UndoBeginStep(FileBuffer *doc);
void UndoRecord(FileBuffer *doc, int op, int32_t first, int32_t count);
// Restores the state at the last step's BeginEdit and drops the step (no redo of a failed edit).
int UndoRollback(FileBuffer *doc);
int32_t UndoStepCount(const FileBuffer *doc);
int UndoGetStep(const FileBuffer *doc, int32_t i, UndoStepHead *out);
void UndoSuspend(FileBuffer *doc);
void UndoResume(FileBuffer *doc);
// The snapshots of steps begun while the buffer held runs of other buffers' files stop using the file: the
// bytes of their runs in it are copied to the scratch file. 0 on a failed copy or write.
int UndoFixFileRuns(FileBuffer *doc, int file);
void UndoFree(FileBuffer *doc);

// Recovery data (the workspace's recovery file); least form: nothing to write yet, 1.
int RecoveryWrite(bool fInterruptible);
