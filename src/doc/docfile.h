// docfile: loading and saving text files (prefixes Doc, Ksad, DetectLineEnds, and the backups MakeBackupName,
// MoveToBackup, PurgeOldBackups). Loading builds a buffer's run table and line lengths in one pass over the
// file without copying the text: the runs point into the file, which stays open, shared for reading, as the
// buffer's backing file. Saving writes the buffer's lines into a new file beside the target, either by
// copying the byte ranges of its runs (every line ends CR LF) or line by line with the chosen line ends,
// flushes it to disk and then replaces the target with it in one rename, so that a failed save leaves the
// target as it was. Before a file is replaced, the runs other buffers and undo snapshots hold in it are
// copied to the scratch file. The first save after loading keeps the previous file as a backup "name(n).ext".
#pragma once

#include "base/os.h"
#include "doc/doc.h"

#include <cstdint>

// Modes of backing a buffer by a temporary copy of a file.
enum DocCopyMode {
    DOC_COPY_RELOAD = 0,    // the buffer is loaded again from the copy
    DOC_COPY_RENUMBER = 1,  // runs of the old file are renumbered to the copy (same offsets)
    DOC_COPY_KEEP_RUNS = 2, // no run changes
};

extern const char ercDocTooManyLines[]; // "Too many lines in file.  Cannot open."
extern const char ercDocReadError[];    // "KsadOfTextFile: file read error"
extern const char ercDocAlreadyOpen[];  // "Cannot save to %s because it is already open."
extern const char ercDocTempFile[];     // "Unable to write to temp file for saving operation: %s"
extern const char ercDocBusy[];         // "\"%s\" is busy.\nIt is not currently available for write access. "
extern const char ercDocChangedOutside[]; // "%s has been changed outside of Veltrix since it was loaded..."
extern const char ercDocAddToProject[];   // "Do you want to add \"%s\" to the current project?"

// The line-end style of a file as loaded (EOL_*; EOL_NONE when unknown); the scratch file is CR LF.
void DocFileStyleSet(int file, uint32_t style);
uint32_t DocFileStyle(int file);

// Loading. DetectLineEnds: 1, 2, 3 or 0 from the first 57,344 bytes, -1 on a read failure. KsadOfTextFile
// loads the whole file (from = to = -1) or the byte range [from, to); on failure the buffer keeps its lines.
int DetectLineEnds(int file);
int KsadOfTextFile(FileBuffer *doc, int file, int32_t from, int32_t to);
int DocReloadFrom(FileBuffer *doc, int file);

// Saving. Style 0 or 4 saves in the buffer's own style.
int DocSaveToFile(FileBuffer *doc, const char *path, bool fAskAddToProject, uint32_t style);
int DocSaveReplace(FileBuffer *doc, const char *path, uint32_t style, bool fDeferredParse);
int DocWriteOver(FileBuffer *doc, const char *path, uint32_t style);
int DocWriteText(FileBuffer *doc, int file, uint32_t style, bool fRebuild);

// Every buffer but exceptDoc stops using the file (its runs there move to the scratch file). 0 on failure.
int DocDetachFile(int file, FileBuffer *exceptDoc);
int DocBackByCopy(FileBuffer *doc, int mode);
int DocCopyBacking(FileBuffer *doc, int file, int mode);
int DocReload(FileBuffer *doc, bool fNotify);
int DocRename(FileBuffer *doc, const char *path);
int DocGetFileInfo(FileBuffer *doc, FileInfo *out);
int DocTouchFile(FileBuffer *doc);

// Backups.
int32_t DaysBetween(const OsDateTime *now, const OsDateTime *then);
void DocDateOfFileTime(uint32_t timeLow, uint32_t timeHigh, OsDateTime *out); // the UTC calendar date
bool DocIsBackupName(const char *name);
int MakeBackupName(const char *folder, const char *path, char *out);
int MoveToBackup(const char *tempPath, const char *path);
int PurgeOldBackups(bool fInterruptible);
// The idle loop's step: PurgeOldBackups(true) at most every 30 minutes.
void PurgeOldBackupsIdle();
