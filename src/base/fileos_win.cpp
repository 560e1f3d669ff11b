// fileos: the Win32 back-end of the file layer's table of system calls (the default table).
// The guarded copy: a fault while touching a mapped view (the file shrank, its network went away) must not
// end the program. The copy is one `rep movsb` in a small assembly routine; a vectored exception handler that
// sees an access or in-page fault on exactly that instruction moves the instruction pointer to the routine's
// failure exit, which returns 0 with the stack as the routine left it.
#include "base/fileos.h"

#include "base/file.h"
#include "base/fileprim.h"

#include <cstdio>
#include <cstring>
#include <windows.h>

#ifndef __x86_64__
#error "the guarded copy is written for x86-64"
#endif

extern "C" int FileOsCopyRoutine(void *dst, const void *src, uint64_t length);
extern "C" char FileOsCopyFaultFirst[], FileOsCopyFaultLast[], FileOsCopyFailExit[];

// Windows x64 calling convention: rcx destination, rdx source, r8 length; rdi and rsi are callee-saved.
asm(R"(
    .text
    .globl FileOsCopyRoutine
FileOsCopyRoutine:
    pushq %rdi
    pushq %rsi
    movq %rcx, %rdi
    movq %rdx, %rsi
    movq %r8, %rcx
    .globl FileOsCopyFaultFirst
FileOsCopyFaultFirst:
    rep movsb
    .globl FileOsCopyFaultLast
FileOsCopyFaultLast:
    movl $1, %eax
    popq %rsi
    popq %rdi
    ret
    .globl FileOsCopyFailExit
FileOsCopyFailExit:
    xorl %eax, %eax
    popq %rsi
    popq %rdi
    ret
)");

static LONG CALLBACK FileOsFaultFilter(EXCEPTION_POINTERS *info) {
    DWORD code = info->ExceptionRecord->ExceptionCode;
    if (code != EXCEPTION_ACCESS_VIOLATION && code != EXCEPTION_IN_PAGE_ERROR)
        return EXCEPTION_CONTINUE_SEARCH;
    DWORD64 rip = info->ContextRecord->Rip;
    if (rip < (DWORD64)FileOsCopyFaultFirst || rip >= (DWORD64)FileOsCopyFaultLast)
        return EXCEPTION_CONTINUE_SEARCH;
    info->ContextRecord->Rip = (DWORD64)FileOsCopyFailExit;
    return EXCEPTION_CONTINUE_EXECUTION;
}

static int FileOsWinCopyGuarded(void *dst, const void *src, uint32_t length) {
    static bool filterAdded;
    if (!filterAdded) filterAdded = AddVectoredExceptionHandler(1, FileOsFaultFilter) != nullptr;
    return FileOsCopyRoutine(dst, src, length);
}

static DWORD FileOsShareMode(int shareCode) {
    switch (shareCode) {
    case 32: return FILE_SHARE_READ;
    case 48: return FILE_SHARE_WRITE;
    default: return 0;
    }
}

static int FileOsWinOpen(const char *path, int fCreate, int fReadOnly, int fSeq, int shareCode,
                         FileHandle *out) {
    DWORD access = fReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD flags = FILE_ATTRIBUTE_NORMAL | (fSeq ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_FLAG_RANDOM_ACCESS);
    HANDLE h = CreateFileA(path, access, FileOsShareMode(shareCode), nullptr,
                           fCreate ? CREATE_ALWAYS : OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    *out = (FileHandle)h;
    return 1;
}

static int FileOsWinClose(FileHandle h) {
    return CloseHandle((HANDLE)h);
}

static int FileOsWinSeek(FileHandle h, uint32_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx((HANDLE)h, to, nullptr, FILE_BEGIN);
}

static int FileOsWinRead(FileHandle h, void *buffer, uint32_t length, uint32_t *moved) {
    DWORD n = 0;
    BOOL ok = ReadFile((HANDLE)h, buffer, length, &n, nullptr);
    *moved = n;
    return ok;
}

static int FileOsWinWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved) {
    DWORD n = 0;
    BOOL ok = WriteFile((HANDLE)h, buffer, length, &n, nullptr);
    *moved = n;
    return ok;
}

static int FileOsWinFlush(FileHandle h) {
    return FlushFileBuffers((HANDLE)h);
}

static int FileOsWinGetSize(FileHandle h, uint64_t *size) {
    LARGE_INTEGER n;
    if (!GetFileSizeEx((HANDLE)h, &n)) return 0;
    *size = (uint64_t)n.QuadPart;
    return 1;
}

// The wrapper has already placed the file pointer at the new end.
static int FileOsWinSetEnd(FileHandle h, uint32_t) {
    return SetEndOfFile((HANDLE)h);
}

static uint32_t FileOsWinAttributes(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_READONLY ? FILEOS_ATTR_READONLY : 0) |
           (attributes & FILE_ATTRIBUTE_DIRECTORY ? FILEOS_ATTR_FOLDER : 0);
}

static void FileOsWinInfo(DWORD attributes, FILETIME written, DWORD sizeHigh, DWORD sizeLow,
                          FileOsInfo *info) {
    info->timeLow = written.dwLowDateTime;
    info->timeHigh = written.dwHighDateTime;
    info->sizeLow = sizeLow;
    info->sizeHigh = sizeHigh;
    info->attributes = FileOsWinAttributes(attributes);
}

static int FileOsWinGetInfo(FileHandle h, FileOsInfo *info) {
    BY_HANDLE_FILE_INFORMATION bh;
    if (!GetFileInformationByHandle((HANDLE)h, &bh)) return 0;
    FileOsWinInfo(bh.dwFileAttributes, bh.ftLastWriteTime, bh.nFileSizeHigh, bh.nFileSizeLow, info);
    return 1;
}

static int FileOsWinPathInfo(const char *path, FileOsInfo *info) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return 0;
    FileOsWinInfo(data.dwFileAttributes, data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow, info);
    return 1;
}

// A search on its own handle, so that a walk over the shared one is not cut short.
static int FileOsWinFindInfo(const char *path, FileOsInfo *info) {
    HANDLE slot = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA fd;
    int found = FileFindEx(&slot, 1, FIND_ANY, path, &fd, nullptr, 0);
    if (slot != INVALID_HANDLE_VALUE && slot) FindClose(slot);
    if (!found) return 0;
    FileOsWinInfo(fd.dwFileAttributes, fd.ftLastWriteTime, fd.nFileSizeHigh, fd.nFileSizeLow, info);
    return 1;
}

void FileInfoFromFindData(const WIN32_FIND_DATAA *fd, FileInfo *out) {
    out->timeLow = fd->ftLastWriteTime.dwLowDateTime;
    out->timeHigh = fd->ftLastWriteTime.dwHighDateTime;
    out->size = fd->nFileSizeHigh ? 0xFFFFFFFFu : fd->nFileSizeLow;
}

static int FileOsWinSetTimeNow(FileHandle h) {
    SYSTEMTIME st;
    FILETIME ft;
    GetSystemTime(&st);
    return SystemTimeToFileTime(&st, &ft) && SetFileTime((HANDLE)h, nullptr, nullptr, &ft);
}

static int FileOsWinLock(FileHandle h, uint32_t offset, uint32_t length) {
    return LockFile((HANDLE)h, offset, 0, length, 0);
}

static int FileOsWinMap(FileHandle h, int fReadOnly, uint32_t size, FileHandle *mapping, void **view) {
    HANDLE m =
        CreateFileMappingA((HANDLE)h, nullptr, fReadOnly ? PAGE_READONLY : PAGE_READWRITE, 0, size, nullptr);
    if (!m) return 0;
    void *v = MapViewOfFile(m, fReadOnly ? FILE_MAP_READ : FILE_MAP_WRITE, 0, 0, 0);
    if (!v) {
        CloseHandle(m);
        return -1;
    }
    *mapping = (FileHandle)m;
    *view = v;
    return 1;
}

static int FileOsWinUnmap(FileHandle mapping, void *view) {
    if (view && !UnmapViewOfFile(view)) return 0;
    CloseHandle((HANDLE)mapping);
    return 1;
}

static int FileOsWinFlushView(void *view, uint32_t length) {
    return FlushViewOfFile(view, length);
}

static void FileOsWinFindClose() {
    FileFindClose();
}

static int FileOsWinRename(const char *from, const char *to) {
    return rename(from, to) == 0;
}

static int FileOsWinRemove(const char *path) {
    return remove(path) == 0;
}

static int FileOsWinMakeDir(const char *path) {
    return CreateDirectoryA(path, nullptr);
}

// Written through, so that the new name is on disk when the call returns.
static int FileOsWinReplace(const char *from, const char *to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

static int FileOsWinListFolder(const char *folder, FileOsVisitFn visit, void *data) {
    char pattern[MAX_PATH + 3];
    snprintf(pattern, sizeof pattern, "%s\\*", folder);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern, &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!strcmp(fd.cFileName, ".") || !strcmp(fd.cFileName, "..")) continue;
        FileOsInfo info;
        FileOsWinInfo(fd.dwFileAttributes, fd.ftLastWriteTime, fd.nFileSizeHigh, fd.nFileSizeLow, &info);
        if (!visit(fd.cFileName, &info, data)) break;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return 1;
}

static uint32_t FileOsWinTickCount() {
    return GetTickCount();
}

static const FileOsCalls fileOsWin32 = {
    .open = FileOsWinOpen,
    .close = FileOsWinClose,
    .seek = FileOsWinSeek,
    .read = FileOsWinRead,
    .write = FileOsWinWrite,
    .flush = FileOsWinFlush,
    .getSize = FileOsWinGetSize,
    .setEnd = FileOsWinSetEnd,
    .getInfo = FileOsWinGetInfo,
    .setTimeNow = FileOsWinSetTimeNow,
    .lock = FileOsWinLock,
    .map = FileOsWinMap,
    .unmap = FileOsWinUnmap,
    .flushView = FileOsWinFlushView,
    .copyGuarded = FileOsWinCopyGuarded,
    .pathInfo = FileOsWinPathInfo,
    .findInfo = FileOsWinFindInfo,
    .findClose = FileOsWinFindClose,
    .rename = FileOsWinRename,
    .remove = FileOsWinRemove,
    .makeDir = FileOsWinMakeDir,
    .tickCount = FileOsWinTickCount,
    .replace = FileOsWinReplace,
    .listFolder = FileOsWinListFolder,
};

const FileOsCalls *FileOsDefaultCalls() {
    return &fileOsWin32;
}
