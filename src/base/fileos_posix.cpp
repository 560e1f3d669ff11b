// fileos: the file layer's system calls on POSIX, for the native build of the portable modules.
// Handles are the descriptor plus one, so that descriptor 0 (a process started without standard input
// gets it for its first open) is not taken for "no handle". Paths may use backslashes as the Windows
// build does; they become slashes here. POSIX has no sharing modes, so the sharing code is accepted and
// not enforced.
#include "base/fileos.h"

#include "base/os_posix.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char ercFileCreate[] = "Cannot create file: %s";
const char ercFileOpen[] = "Cannot open file: %s";
const char ercFileClose[] = "Error closing file";
const char ercFileSeek[] = "File seeking error";
const char ercFileRead[] = "File read error";
const char ercFileWrite[] = "File write error";
const char ercFileTooLarge[] = "File is too large";

static int FileOsFd(FileHandle h) {
    return (int)(h - 1);
}

// A folder opens on POSIX but not on Windows: refused here as the Windows build refuses it.
static bool FileOsIsFolder(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

Erc FileOsOpen(const char *path, int fCreate, int fReadOnly, int fSeq, int, FileHandle *out) {
    int flags = (fReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC | (fCreate ? O_CREAT | O_TRUNC : 0);
    int fd = open(OsPosixPath(path).c_str(), flags, 0666);
    if (fd >= 0 && FileOsIsFolder(fd)) {
        close(fd);
        fd = -1;
        errno = EISDIR;
    }
    *out = 0;
    if (fd < 0) return ErcSetF(fCreate ? ercFileCreate : ercFileOpen, path);
    posix_fadvise(fd, 0, 0, fSeq ? POSIX_FADV_SEQUENTIAL : POSIX_FADV_RANDOM);
    *out = (FileHandle)fd + 1;
    return nullptr;
}

Erc FileOsClose(FileHandle h) {
    return close(FileOsFd(h)) == 0 ? nullptr : ErcSetF(ercFileClose);
}

Erc FileOsSeek(FileHandle h, uint32_t offset) {
    return lseek(FileOsFd(h), (off_t)offset, SEEK_SET) >= 0 ? nullptr : ErcSetSysF(errno, ercFileSeek);
}

// Reads until the length is reached or the file ends, as one Windows read does; a signal is no failure.
Erc FileOsRead(FileHandle h, void *buffer, uint32_t length, uint32_t *moved) {
    *moved = 0;
    while (*moved < length) {
        ssize_t n = read(FileOsFd(h), (char *)buffer + *moved, length - *moved);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ErcSetF(ercFileRead);
        *moved += (uint32_t)n;
    }
    return nullptr;
}

Erc FileOsWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved) {
    *moved = 0;
    while (*moved < length) {
        ssize_t n = write(FileOsFd(h), (const char *)buffer + *moved, length - *moved);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return ErcSetF(ercFileWrite);
        *moved += (uint32_t)n;
    }
    return nullptr;
}

Erc FileOsFlush(FileHandle h) {
    return fsync(FileOsFd(h)) == 0 ? nullptr : ErcSetF(ercFileWrite);
}

// Sizes of 4 GB - 1 and more do not fit the layer's 32-bit sizes.
Erc FileOsGetSize(FileHandle h, uint32_t *size) {
    struct stat st;
    *size = 0;
    if (fstat(FileOsFd(h), &st) != 0) return ErcSetSysF(errno, ercFileTooLarge);
    if ((uint64_t)st.st_size >= 0xFFFFFFFFull) return ErcSetSysF(EFBIG, ercFileTooLarge);
    *size = (uint32_t)st.st_size;
    return nullptr;
}

int FileOsRemove(const char *path) {
    return remove(OsPosixPath(path).c_str()) == 0;
}

Erc FileOsSetEnd(FileHandle h, uint32_t size) {
    if (Erc erc = FileOsSeek(h, size)) return erc;
    return ftruncate(FileOsFd(h), (off_t)size) == 0 ? nullptr : ErcSetF(ercFileWrite);
}
