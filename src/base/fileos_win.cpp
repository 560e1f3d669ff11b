// fileos: the Win32 back-end of the file layer's table of system calls (the default table).
// The guarded copy: a fault while touching a mapped view (the file shrank, its network went away) must not
// end the program. The copy is one `rep movsb` in a small assembly routine; a vectored exception handler that
// sees an access or in-page fault on exactly that instruction moves the instruction pointer to the routine's
// failure exit, which returns 0 with the stack as the routine left it.
#include "base/fileos.h"

#include "base/path.h"
#include "base/sysprobe.h"

#include <cstdio>
#include <cstring>
#include <windows.h>
#include <shellapi.h>
#include <winnetwk.h>

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

static int FileOsWinOpen(const char *path, uint32_t open, int shareCode, FileHandle *out) {
    DWORD access = open & FILE_OPEN_READONLY ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD flags =
        FILE_ATTRIBUTE_NORMAL | (open & FILE_OPEN_SEQ ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_FLAG_RANDOM_ACCESS);
    HANDLE h = CreateFileA(path, access, FileOsShareMode(shareCode), nullptr,
                           open & FILE_OPEN_CREATE ? CREATE_ALWAYS : OPEN_EXISTING, flags, nullptr);
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
           (attributes & FILE_ATTRIBUTE_HIDDEN ? FILEOS_ATTR_HIDDEN : 0) |
           (attributes & FILE_ATTRIBUTE_DIRECTORY ? FILEOS_ATTR_FOLDER : 0) |
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT ? FILEOS_ATTR_LINK : 0);
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

static int FileOsWinSetTimeNow(FileHandle h) {
    SYSTEMTIME st;
    FILETIME ft;
    GetSystemTime(&st);
    return SystemTimeToFileTime(&st, &ft) && SetFileTime((HANDLE)h, nullptr, nullptr, &ft);
}

static int FileOsWinLock(FileHandle h, uint32_t offset, uint32_t length) {
    return LockFile((HANDLE)h, offset, 0, length, 0);
}

static int FileOsWinMap(FileHandle h, int readOnly, uint32_t size, FileHandle *mapping, void **view) {
    HANDLE m =
        CreateFileMappingA((HANDLE)h, nullptr, readOnly ? PAGE_READONLY : PAGE_READWRITE, 0, size, nullptr);
    if (!m) return 0;
    void *v = MapViewOfFile(m, readOnly ? FILE_MAP_READ : FILE_MAP_WRITE, 0, 0, 0);
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

static int FileOsWinRename(const char *from, const char *to) {
    return rename(from, to) == 0;
}

static int FileOsWinRemove(const char *path) {
    return remove(path) == 0;
}

static int FileOsWinMakeDir(const char *path) {
    return CreateDirectoryA(path, nullptr);
}

static int FileOsWinRemoveDir(const char *path) {
    return RemoveDirectoryA(path);
}

static int FileOsWinSetReadOnly(const char *path, int readOnly) {
    DWORD attr = GetFileAttributesA(path);
    if (attr == INVALID_FILE_ATTRIBUTES) return 0;
    attr = readOnly ? attr | FILE_ATTRIBUTE_READONLY : attr & ~(DWORD)FILE_ATTRIBUTE_READONLY;
    return SetFileAttributesA(path, attr);
}

static void FileOsWinFindEntry(const WIN32_FIND_DATAA *fd, FileOsFind *entry) {
    entry->attributes = FileOsWinAttributes(fd->dwFileAttributes);
    entry->timeLow = fd->ftLastWriteTime.dwLowDateTime;
    entry->timeHigh = fd->ftLastWriteTime.dwHighDateTime;
    entry->sizeLow = fd->nFileSizeLow;
    entry->sizeHigh = fd->nFileSizeHigh;
    memcpy(entry->name, fd->cFileName, sizeof entry->name);
    memcpy(entry->shortName, fd->cAlternateFileName, sizeof entry->shortName);
}

// The older system family finds nothing for \\server\share itself; connecting to it tells whether it is
// there (a connection made only for the test is cancelled again). 1 there, 0 not, -1 search as usual.
static int FileOsWinShare9x(const char *pattern) {
    if (!SysIsWin9x() || pattern[0] != '\\' || pattern[1] != '\\') return -1;
    if (strlen(pattern) <= 3 || !strchr(pattern + 3, '\\')) return 0;
    if (!PathIsRoot(pattern)) return -1;
    DWORD result = WNetAddConnectionA(pattern, nullptr, nullptr);
    if (result != NO_ERROR && result != ERROR_ALREADY_ASSIGNED) return 0;
    if (result == NO_ERROR) WNetCancelConnectionA(pattern, FALSE);
    return 1;
}

static int FileOsWinFindFirst(const char *pattern, FileOsFind *entry, FileHandle *search) {
    *search = 0;
    int share = FileOsWinShare9x(pattern);
    if (share == 0) return 0;
    if (share == 1) { // the caller names the share root: an entry without a search behind it
        memset(entry, 0, sizeof *entry);
        entry->attributes = FILEOS_ATTR_FOLDER;
        return 1;
    }
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern, &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    FileOsWinFindEntry(&fd, entry);
    *search = (FileHandle)h;
    return 1;
}

static int FileOsWinFindNext(FileHandle search, FileOsFind *entry) {
    WIN32_FIND_DATAA fd;
    if (!search || !FindNextFileA((HANDLE)search, &fd)) return 0;
    FileOsWinFindEntry(&fd, entry);
    return 1;
}

static void FileOsWinFindEnd(FileHandle search) {
    if (search) FindClose((HANDLE)search);
}

// A longer folder only reports the size it needs.
static int FileOsWinGetCurrentDir(char *buffer, uint32_t size) {
    DWORD n = GetCurrentDirectoryA(size, buffer);
    if (n == 0 || n >= size) {
        buffer[0] = 0;
        return 0;
    }
    return 1;
}

static int FileOsWinSetCurrentDir(const char *path) {
    return SetCurrentDirectoryA(path);
}

static int FileOsWinFullPath(const char *path, char *out, uint32_t size) {
    DWORD n = GetFullPathNameA(path, size, out, nullptr);
    return n != 0 && n < size;
}

static int FileOsWinMaxNameLength(const char *root) {
    DWORD longest = 0;
    if (!GetVolumeInformationA(root, nullptr, 0, nullptr, &longest, nullptr, nullptr, 0)) return 0;
    return (int)longest;
}

// The Ex call is missing from the oldest systems: it is looked up once. The older system family cannot
// tell the room on a network path: it is answered as unlimited, without asking.
static int FileOsWinFreeSpace(const char *path, uint64_t *available) {
    if (SysIsWin9x() && path[0] == '\\' && path[1] == '\\') {
        *available = UINT64_MAX;
        return 1;
    }
    typedef BOOL(WINAPI * FreeSpaceEx)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    static FreeSpaceEx freeSpaceEx =
        SysProc<FreeSpaceEx>(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA");
    if (!freeSpaceEx) return -1;
    ULARGE_INTEGER avail, total, free;
    if (!freeSpaceEx(path, &avail, &total, &free)) return 0;
    *available = avail.QuadPart;
    return 1;
}

static int FileOsWinFreeClusters(const char *root, uint32_t *sectorsPerCluster, uint32_t *bytesPerSector,
                                 uint32_t *freeClusters) {
    DWORD spc, bps, fc, clusters;
    if (!GetDiskFreeSpaceA(root, &spc, &bps, &fc, &clusters)) return 0;
    *sectorsPerCluster = spc;
    *bytesPerSector = bps;
    *freeClusters = fc;
    return 1;
}

// The system writes up to MAX_PATH bytes: a name longer than the caller's buffer is refused, and the empty
// file the system made for it is removed again.
static int FileOsWinTempName(const char *folder, const char *prefix, char *out, uint32_t size) {
    char name[MAX_PATH];
    if (!GetTempFileNameA(folder, prefix, 0, name)) return 0;
    if (strlen(name) >= size) {
        DeleteFileA(name);
        return 0;
    }
    strcpy(out, name);
    return 1;
}

// A buffer too small is left holding part of the text: it is emptied.
static int FileOsWinDateText(uint32_t timeLow, uint32_t timeHigh, char *out, uint32_t size) {
    FILETIME time = {timeLow, timeHigh}, local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, out, (int)size)) return 1;
    out[0] = 0;
    return 0;
}

// pFrom and pTo are lists ending in a double NUL: the buffers hold one byte more than a path and stay zeroed
// behind it.
static int FileOsWinFolderFiles(FileOsFolderOp op, const char *folder, const char *destination) {
    char from[PATH_BUFFER + 1] = {}, to[PATH_BUFFER + 1] = {};
    PathJoin(folder, "*.*", from);
    if (destination) strncpy(to, destination, PATH_MAX_CHARS);
    static const UINT funcs[] = {FO_COPY, FO_MOVE, FO_DELETE};
    SHFILEOPSTRUCTA op32 = {};
    op32.wFunc = funcs[op];
    op32.pFrom = from;
    op32.pTo = destination ? to : nullptr;
    op32.fFlags = op == FILEOS_FILES_DELETE ? FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NORECURSION : 0;
    return SHFileOperationA(&op32) == 0 && !op32.fAnyOperationsAborted;
}

// Written through, so that the new name is on disk when the call returns.
static int FileOsWinReplace(const char *from, const char *to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
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
    .rename = FileOsWinRename,
    .remove = FileOsWinRemove,
    .makeDir = FileOsWinMakeDir,
    .removeDir = FileOsWinRemoveDir,
    .setReadOnly = FileOsWinSetReadOnly,
    .findFirst = FileOsWinFindFirst,
    .findNext = FileOsWinFindNext,
    .findEnd = FileOsWinFindEnd,
    .getCurrentDir = FileOsWinGetCurrentDir,
    .setCurrentDir = FileOsWinSetCurrentDir,
    .fullPath = FileOsWinFullPath,
    .maxNameLength = FileOsWinMaxNameLength,
    .freeSpace = FileOsWinFreeSpace,
    .freeClusters = FileOsWinFreeClusters,
    .tempName = FileOsWinTempName,
    .dateText = FileOsWinDateText,
    .folderFiles = FileOsWinFolderFiles,
    .replace = FileOsWinReplace,
};

const FileOsCalls *FileOsDefaultCalls() {
    return &fileOsWin32;
}
