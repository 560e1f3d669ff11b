// fileos: the table of system calls in use and the wrappers that turn its failures into error codes
// (prefix FileOs). Portable: the back-end's table does the work.
#include "base/fileos.h"

#include "base/os.h"
#include "base/seam.h"

const char ercFileCreate[] = "Cannot create file: %s";
const char ercFileOpen[] = "Cannot open file: %s";
const char ercFileClose[] = "Error closing file";
const char ercFileSeek[] = "File seeking error";
const char ercFileRead[] = "File read error";
const char ercFileWrite[] = "File write error";
const char ercFileTooLarge[] = "File is too large";

enum { FILEOS_DISK_FULL = 112 };

static const FileOsCalls *fileOsCalls;
static FileOsStats fileOsStats;
static SeamFault fileOsFault;

static const FileOsCalls *FileOsTable() {
    if (!fileOsCalls) fileOsCalls = FileOsDefaultCalls();
    return fileOsCalls;
}

static void FileOsResetSeams() {
    fileOsCalls = nullptr;
    fileOsFault = {};
}

void FileOsSetCalls(const FileOsCalls *calls) {
    fileOsCalls = calls ? calls : FileOsDefaultCalls();
    SeamRegisterReset(FileOsResetSeams);
}
const FileOsCalls *FileOsGetCalls() {
    return FileOsTable();
}

FileOsStats FileOsGetStats() {
    return fileOsStats;
}
void FileOsResetStats() {
    fileOsStats = FileOsStats{};
}
void FileOsWriteFailNth(int n, int count) {
    SeamFaultSet(&fileOsFault, n, count);
    SeamRegisterReset(FileOsResetSeams);
}

static bool FileOsInjectWriteFailure() {
    return SeamFaultHit(&fileOsFault);
}

Erc FileOsOpen(const char *path, uint32_t flags, int shareCode, FileHandle *out) {
    *out = 0;
    if (FileOsTable()->open(path, flags, shareCode, out)) return nullptr;
    *out = 0;
    return ErcSetF(flags & FILE_OPEN_CREATE ? ercFileCreate : ercFileOpen, path);
}

Erc FileOsClose(FileHandle h) {
    return FileOsTable()->close(h) ? nullptr : ErcSetF(ercFileClose);
}

Erc FileOsSeek(FileHandle h, uint32_t offset) {
    fileOsStats.seeks++;
    return FileOsTable()->seek(h, offset) ? nullptr : ErcSetSysF(OsLastError(), ercFileSeek);
}

Erc FileOsRead(FileHandle h, void *buffer, uint32_t length, uint32_t *moved) {
    fileOsStats.reads++;
    *moved = 0;
    return FileOsTable()->read(h, buffer, length, moved) ? nullptr : ErcSetF(ercFileRead);
}

Erc FileOsWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved) {
    fileOsStats.writes++;
    *moved = 0;
    if (FileOsInjectWriteFailure()) return ErcSetSysF(FILEOS_DISK_FULL, ercFileWrite);
    return FileOsTable()->write(h, buffer, length, moved) ? nullptr : ErcSetF(ercFileWrite);
}

Erc FileOsFlush(FileHandle h) {
    return FileOsTable()->flush(h) ? nullptr : ErcSetF(ercFileWrite);
}

// The logical size is 32 bits wide and all ones is no size, so a file must stay below 4 GB - 1.
Erc FileOsGetSize(FileHandle h, uint32_t *size) {
    uint64_t full = 0;
    *size = 0;
    if (!FileOsTable()->getSize(h, &full) || full >= 0xFFFFFFFFull)
        return ErcSetSysF(OsLastError(), ercFileTooLarge);
    *size = (uint32_t)full;
    return nullptr;
}

Erc FileOsSetEnd(FileHandle h, uint32_t size) {
    if (Erc erc = FileOsSeek(h, size)) return erc;
    return FileOsTable()->setEnd(h, size) ? nullptr : ErcSetF(ercFileWrite);
}

bool FileMapHandle(FileHandle h, bool readOnly, uint32_t size, FileHandle *mapping, void **view) {
    *mapping = 0;
    *view = nullptr;
    return FileOsTable()->map(h, readOnly, size, mapping, view) == 1;
}

void FileUnmapHandle(FileHandle mapping, void *view) {
    if (mapping) FileOsTable()->unmap(mapping, view);
}

int FileOsGetInfo(FileHandle h, FileOsInfo *info) {
    *info = FileOsInfo{};
    return FileOsTable()->getInfo(h, info);
}

int FileOsPathInfo(const char *path, FileOsInfo *info) {
    *info = FileOsInfo{};
    return FileOsTable()->pathInfo(path, info);
}

int FileOsCopyGuarded(void *dst, const void *src, uint32_t length) {
    return length == 0 || FileOsTable()->copyGuarded(dst, src, length);
}
