// fileos: the POSIX back-end of the file layer's table of system calls, for the native build of the
// portable modules. Handles are the descriptor plus one, so that descriptor 0 (a process started without
// standard input gets it for its first open) is not taken for "no handle"; a mapping's handle is its length.
// Paths are in the program's Windows form and pass through OsPosixPath. POSIX has no sharing modes, so the
// sharing code is accepted and not enforced. A fault in a mapped view arrives as SIGBUS or SIGSEGV: the
// guarded copy catches it for the span of the copy only.
#include "base/fileos.h"

#include "base/os_posix.h"
#include "base/util.h"

#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

static int FileOsFd(FileHandle h) {
    return (int)(h - 1);
}

static std::string FileOsPath(const char *path) {
    return OsPosixPath(path);
}

// A folder opens on POSIX but not on Windows: refused here as the Windows build refuses it.
static int FileOsPosixOpen(const char *path, int fCreate, int fReadOnly, int fSeq, int, FileHandle *out) {
    int flags = (fReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC | (fCreate ? O_CREAT | O_TRUNC : 0);
    int fd = open(FileOsPath(path).c_str(), flags, 0666);
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        fd = -1;
        errno = EISDIR;
    }
    if (fd < 0) return 0;
    posix_fadvise(fd, 0, 0, fSeq ? POSIX_FADV_SEQUENTIAL : POSIX_FADV_RANDOM);
    *out = (FileHandle)fd + 1;
    return 1;
}

static int FileOsPosixClose(FileHandle h) {
    return close(FileOsFd(h)) == 0;
}

static int FileOsPosixSeek(FileHandle h, uint32_t offset) {
    return lseek(FileOsFd(h), (off_t)offset, SEEK_SET) >= 0;
}

// Reads until the length is reached or the file ends, as one Windows read does; a signal is no failure.
static int FileOsPosixRead(FileHandle h, void *buffer, uint32_t length, uint32_t *moved) {
    *moved = 0;
    while (*moved < length) {
        ssize_t n = read(FileOsFd(h), (char *)buffer + *moved, length - *moved);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return 0;
        *moved += (uint32_t)n;
    }
    return 1;
}

static int FileOsPosixWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved) {
    *moved = 0;
    while (*moved < length) {
        ssize_t n = write(FileOsFd(h), (const char *)buffer + *moved, length - *moved);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        *moved += (uint32_t)n;
    }
    return 1;
}

static int FileOsPosixFlush(FileHandle h) {
    return fsync(FileOsFd(h)) == 0;
}

static int FileOsPosixGetSize(FileHandle h, uint64_t *size) {
    struct stat st;
    if (fstat(FileOsFd(h), &st) != 0) return 0;
    *size = (uint64_t)st.st_size;
    return 1;
}

static int FileOsPosixSetEnd(FileHandle h, uint32_t size) {
    return ftruncate(FileOsFd(h), (off_t)size) == 0;
}

// Last-write time in 100 ns units since 1601, as the Windows build keeps it.
static void FileOsPosixInfo(const struct stat &st, FileOsInfo *info) {
    const uint64_t secondsTo1970 = 11644473600u;
    uint64_t t =
        ((uint64_t)st.st_mtim.tv_sec + secondsTo1970) * 10000000u + (uint64_t)st.st_mtim.tv_nsec / 100;
    info->timeLow = (uint32_t)t;
    info->timeHigh = (uint32_t)(t >> 32);
    info->sizeLow = (uint32_t)st.st_size;
    info->sizeHigh = (uint32_t)((uint64_t)st.st_size >> 32);
    info->attributes =
        (S_ISDIR(st.st_mode) ? FILEOS_ATTR_FOLDER : 0) | (st.st_mode & S_IWUSR ? 0 : FILEOS_ATTR_READONLY);
}

static int FileOsPosixGetInfo(FileHandle h, FileOsInfo *info) {
    struct stat st;
    if (fstat(FileOsFd(h), &st) != 0) return 0;
    FileOsPosixInfo(st, info);
    return 1;
}

static int FileOsPosixPathInfo(const char *path, FileOsInfo *info) {
    struct stat st;
    if (stat(FileOsPath(path).c_str(), &st) != 0) return 0;
    FileOsPosixInfo(st, info);
    return 1;
}

static int FileOsPosixSetTimeNow(FileHandle h) {
    return futimens(FileOsFd(h), nullptr) == 0;
}

static int FileOsPosixLock(FileHandle h, uint32_t offset, uint32_t length) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = (off_t)offset;
    lock.l_len = (off_t)length;
    return fcntl(FileOsFd(h), F_SETLK, &lock) == 0;
}

// As a Windows mapping does, a size past the end grows the file first (a read-only file cannot grow).
static int FileOsPosixMap(FileHandle h, int fReadOnly, uint32_t size, FileHandle *mapping, void **view) {
    uint64_t now;
    if (size == 0 || !FileOsPosixGetSize(h, &now)) return 0;
    if (size > now && (fReadOnly || !FileOsPosixSetEnd(h, size))) return 0;
    int protection = fReadOnly ? PROT_READ : PROT_READ | PROT_WRITE;
    void *v = mmap(nullptr, size, protection, MAP_SHARED, FileOsFd(h), 0);
    if (v == MAP_FAILED) return 0;
    *mapping = (FileHandle)size;
    *view = v;
    return 1;
}

static int FileOsPosixUnmap(FileHandle mapping, void *view) {
    return !view || munmap(view, (size_t)mapping) == 0;
}

static int FileOsPosixFlushView(void *view, uint32_t length) {
    return msync(view, length, MS_SYNC) == 0;
}

static sigjmp_buf fileOsCopyFault;

static void FileOsPosixCopyFault(int) {
    siglongjmp(fileOsCopyFault, 1);
}

static int FileOsPosixCopyGuarded(void *dst, const void *src, uint32_t length) {
    struct sigaction guard = {}, oldBus, oldSegv;
    guard.sa_handler = FileOsPosixCopyFault;
    sigaction(SIGBUS, &guard, &oldBus);
    sigaction(SIGSEGV, &guard, &oldSegv);
    int ok = 0;
    if (sigsetjmp(fileOsCopyFault, 1) == 0) {
        memcpy(dst, src, length);
        ok = 1;
    }
    sigaction(SIGBUS, &oldBus, nullptr);
    sigaction(SIGSEGV, &oldSegv, nullptr);
    return ok;
}

static void FileOsPosixFindClose() {}

static int FileOsPosixRename(const char *from, const char *to) {
    return rename(FileOsPath(from).c_str(), FileOsPath(to).c_str()) == 0;
}

static int FileOsPosixRemove(const char *path) {
    return remove(FileOsPath(path).c_str()) == 0;
}

static int FileOsPosixMakeDir(const char *path) {
    return mkdir(FileOsPath(path).c_str(), 0777) == 0;
}

static int FileOsPosixListFolder(const char *folder, FileOsVisitFn visit, void *data) {
    std::string base = FileOsPath(folder);
    DIR *dir = opendir(base.c_str());
    if (!dir) return 0;
    while (struct dirent *entry = readdir(dir)) {
        if (!strcmp(entry->d_name, ".") || !strcmp(entry->d_name, "..")) continue;
        struct stat st;
        if (stat((base + "/" + entry->d_name).c_str(), &st) != 0) continue;
        FileOsInfo info;
        FileOsPosixInfo(st, &info);
        if (!visit(entry->d_name, &info, data)) break;
    }
    closedir(dir);
    return 1;
}

static const FileOsCalls fileOsPosix = {
    .open = FileOsPosixOpen,
    .close = FileOsPosixClose,
    .seek = FileOsPosixSeek,
    .read = FileOsPosixRead,
    .write = FileOsPosixWrite,
    .flush = FileOsPosixFlush,
    .getSize = FileOsPosixGetSize,
    .setEnd = FileOsPosixSetEnd,
    .getInfo = FileOsPosixGetInfo,
    .setTimeNow = FileOsPosixSetTimeNow,
    .lock = FileOsPosixLock,
    .map = FileOsPosixMap,
    .unmap = FileOsPosixUnmap,
    .flushView = FileOsPosixFlushView,
    .copyGuarded = FileOsPosixCopyGuarded,
    .pathInfo = FileOsPosixPathInfo,
    .findInfo = FileOsPosixPathInfo,
    .findClose = FileOsPosixFindClose,
    .rename = FileOsPosixRename,
    .remove = FileOsPosixRemove,
    .makeDir = FileOsPosixMakeDir,
    .tickCount = UtilOsTickCount,
    .replace = FileOsPosixRename,
    .listFolder = FileOsPosixListFolder,
};

const FileOsCalls *FileOsDefaultCalls() {
    return &fileOsPosix;
}
