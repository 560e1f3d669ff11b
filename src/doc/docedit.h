// docedit: the edit protocol and the change notice (prefixes Doc, Edit, and the line operations InsertLine,
// ReplaceLine, ...). Every change to a buffer's lines is bracketed by BeginEdit and EndEdit (nesting per
// buffer and over all buffers; only the outermost pair works), goes through a line operation here, and sends
// one change notice, which records the change in the open undo step and tells everything that keeps
// positions or caches about the buffer's lines, in a fixed order. Failures inside an edit are gathered as
// one pending edit error, shown once as "%s : %s" (message, file name); the outermost EndEdit rolls a failed
// edit back to its state at BeginEdit. Listeners of a notice may read the buffer but never start an edit
// of it.
#pragma once

#include "doc/car.h"
#include "doc/doc.h"
#include "doc/sln.h"

#include <cstdint>

// Pending edit error codes. EDIT_ERR_FILE carries the file layer's text (a failed scratch write).
enum EditErrorCode {
    EDIT_ERR_NONE = 0,
    EDIT_ERR_TOO_MANY_LINES = 1, // "Too many lines"
    EDIT_ERR_MEMORY = 2,         // "Out of memory"
    EDIT_ERR_NOT_ALLOWED = 3,    // "Operation not allowed"
    EDIT_ERR_UNDO_SPACE = 4,     // "Out of space for Undo"
    EDIT_ERR_MACRO_RUNNING = 5,  // "Cannot modify the file buffer of a macro that is running"
    EDIT_ERR_READONLY = 6,       // "Cannot modify a read-only file"
    EDIT_ERR_FILE = 7,           // the file layer's error text
};

// Change types of a notice.
enum DocChangeType {
    DOC_CHANGE_NONE = 0,
    DOC_CHANGE_INSERTED = 1, // lines inserted
    DOC_CHANGE_DELETED = 2,  // lines about to be deleted
    DOC_CHANGE_CHANGED = 3,
    DOC_CHANGE_ALL = 4,  // the whole buffer; also any notice from line 0 to DOC_LINE_END
    DOC_CHANGE_LINE = 5, // one line changed in place (the typing line)
    DOC_CHANGE_CHANGED6 = 6,
};
enum : int32_t { DOC_LINE_END = 0x7FFFFFFE };

extern const char ercDocJoinTooLong[]; // "Join operation results in a line that exceeds the maximum length."
extern const char
    ercDocRevertNotSaved[]; // "Cannot revert to original lines because the file is not saved yet."
extern const char ercDocRevertUnchanged[]; // "... because the selected lines are unchanged."

// Admission.
bool DocMayModify(FileBuffer *doc);
bool DocRefuseModify(FileBuffer *doc); // true when refused; the pending error is then 6 or 5
int BeginEdit(FileBuffer *doc);
int EndEdit(FileBuffer *doc); // 1 when no error was pending
int32_t EditNestCount();      // open edits over all buffers
bool EditFailed();            // the last outermost EndEdit rolled back
void EditClearFailed();

// The pending edit error. EditErrorSet with a null buffer names the buffer of the outermost open edit.
int EditErrorSet(int code, FileBuffer *doc);
int EditErrorSetFile(FileBuffer *doc); // EDIT_ERR_FILE with the current error's text
int EditErrorPending();
void ClearEditError();
void EditErrorShow();
void EditErrorShowPending();   // the idle loop's turn
void EditErrorText(char *out); // the pending error as "%s : %s" (512 bytes); "" when none
FileBuffer *DocEditOpenBuffer();

// Line operations: 1 on success, 0 on failure (with a pending error where one applies).
int InsertLine(FileBuffer *doc, int32_t line, const LineRecord *record); // negative line: at the end
int InsertLineSz(FileBuffer *doc, int32_t line, const char *text);
int InsertLinePstr(FileBuffer *doc, int32_t line, const unsigned char *text);
int ReplaceLine(FileBuffer *doc, int32_t line, const LineRecord *record);
int DocDeleteLines(FileBuffer *doc, int32_t line, int32_t n);
int DocEmpty(FileBuffer *doc); // 0, or the refusal code
int DocCopyLines(FileBuffer *src, int32_t srcLine, int32_t n, FileBuffer *dst, int32_t dstLine,
                 int32_t nDelete);
int DocCopyLinesEx(FileBuffer *src, int32_t srcLine, int32_t n, FileBuffer *dst, int32_t dstLine,
                   int32_t nDelete, bool scratchBit, uint32_t generation);
int BeginAppendLines(FileBuffer *doc);
int AppendLineText(const char *text);
int EndAppendLines();
bool DocAppendOpen();
int DocDeleteRange(FileBuffer *doc, Car *range);
int DocCopyRange(FileBuffer *src, const Car *srcRange, FileBuffer *dst, Car *dstRange);
int DocSplitLine(FileBuffer *doc, int32_t line, int32_t column, bool fIndent);
int DocJoinLines(FileBuffer *doc, int32_t line, LineRecord *record, bool fSmart);
int DocRevertLines(FileBuffer *doc, int32_t line);
int DocFindText(FileBuffer *doc, int32_t line, int32_t column, const char *text, int32_t *outLine,
                int32_t *outColumn, bool fInterruptible);
int DocExpandAllTabs(FileBuffer *doc);
int DocTrimTrailingBlanks(FileBuffer *doc);

// The change notice.
void DocChangeNotice(FileBuffer *doc, int type, int32_t first, int32_t last);
void DocMarkModified(FileBuffer *doc);
void DocClearModified(FileBuffer *doc);
void DocShiftLines(FileBuffer *doc, int32_t line, int32_t delta);
void DocBroadcastChange(FileBuffer *doc, int type, int32_t first, int32_t last);

// Queries.
bool DocCanClose(FileBuffer *doc);
bool DocCanEdit(FileBuffer *doc);
bool AnyDocModified();
void ClearAnyDocModified();
void SetAnyDocModified();
void ClipSyncSuspend();
void ClipSyncResume();
bool DocReplaceInProgress();
