// fileos: the POSIX back-end of the file layer's table of system calls, for the native build of the
// portable modules. Handles are the descriptor plus one, so that descriptor 0 (a process started without
// standard input gets it for its first open) is not taken for "no handle"; a mapping's handle is its length.
// Paths are in the program's Windows form and pass through OsPosixPath. POSIX has no sharing modes, so the
// sharing code is accepted and not enforced. A fault in a mapped view arrives as SIGBUS or SIGSEGV: the
// guarded copy catches it for the span of the copy only.
#include "base/fileos.h"

#include "base/os_posix.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/statvfs.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

static int FileOsFd(FileHandle h) {
    return (int)(h - 1);
}

// An empty path names nothing, as on Windows ("C:" alone is the current folder).
static std::string FileOsPath(const char *path) {
    return path[0] ? OsPosixPath(path) : std::string();
}

// A folder opens on POSIX but not on Windows: refused here as the Windows build refuses it.
static int FileOsPosixOpen(const char *path, uint32_t how, int, FileHandle *out) {
    int flags = (how & FILE_OPEN_READONLY ? O_RDONLY : O_RDWR) | O_CLOEXEC |
                (how & FILE_OPEN_CREATE ? O_CREAT | O_TRUNC : 0);
    int fd = open(FileOsPath(path).c_str(), flags, 0666);
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        fd = -1;
        errno = EISDIR;
    }
    if (fd < 0) return 0;
    posix_fadvise(fd, 0, 0, how & FILE_OPEN_SEQ ? POSIX_FADV_SEQUENTIAL : POSIX_FADV_RANDOM);
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
static int FileOsPosixMap(FileHandle h, int readOnly, uint32_t size, FileHandle *mapping, void **view) {
    uint64_t now;
    if (size == 0 || !FileOsPosixGetSize(h, &now)) return 0;
    if (size > now && (readOnly || !FileOsPosixSetEnd(h, size))) return 0;
    int protection = readOnly ? PROT_READ : PROT_READ | PROT_WRITE;
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

static int FileOsPosixRename(const char *from, const char *to) {
    return rename(FileOsPath(from).c_str(), FileOsPath(to).c_str()) == 0;
}

static int FileOsPosixRemove(const char *path) {
    return remove(FileOsPath(path).c_str()) == 0;
}

static int FileOsPosixMakeDir(const char *path) {
    return mkdir(FileOsPath(path).c_str(), 0777) == 0;
}

static int FileOsPosixRemoveDir(const char *path) {
    std::string p = FileOsPath(path);
    struct stat st;
    if (lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return unlink(p.c_str()) == 0;
    return rmdir(p.c_str()) == 0;
}

static int FileOsPosixSetReadOnly(const char *path, int readOnly) {
    std::string p = FileOsPath(path);
    struct stat st;
    if (stat(p.c_str(), &st) != 0) return 0;
    mode_t mode = readOnly ? st.st_mode & ~(mode_t)0222 : st.st_mode | S_IWUSR;
    return chmod(p.c_str(), mode) == 0;
}

// A search: the folder's entries that match the pattern's last component, case-blind as on Windows ("*.*"
// matches every name, dotted or not). A pattern without wildcards finds the one entry it names.
struct FileOsPosixSearch {
    DIR *dir;
    std::string folder;
    std::string pattern;
};

static bool FileOsPosixEntry(const std::string &path, const char *name, FileOsFind *entry) {
    struct stat st, lst;
    if (stat(path.c_str(), &st) != 0 && lstat(path.c_str(), &st) != 0) return false;
    FileOsInfo info;
    FileOsPosixInfo(st, &info);
    entry->attributes = info.attributes;
    if (lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode) && S_ISDIR(st.st_mode))
        entry->attributes |= FILEOS_ATTR_LINK;
    entry->timeLow = info.timeLow;
    entry->timeHigh = info.timeHigh;
    entry->sizeLow = info.sizeLow;
    entry->sizeHigh = info.sizeHigh;
    snprintf(entry->name, sizeof entry->name, "%s", name);
    entry->shortName[0] = 0;
    return true;
}

static int FileOsPosixFindNext(FileHandle search, FileOsFind *entry) {
    FileOsPosixSearch *s = (FileOsPosixSearch *)search;
    if (!s) return 0;
    while (struct dirent *d = readdir(s->dir)) {
        if (fnmatch(s->pattern.c_str(), d->d_name, FNM_CASEFOLD) != 0) continue;
        if (FileOsPosixEntry(s->folder + "/" + d->d_name, d->d_name, entry)) return 1;
    }
    return 0;
}

static void FileOsPosixFindEnd(FileHandle search) {
    FileOsPosixSearch *s = (FileOsPosixSearch *)search;
    if (!s) return;
    closedir(s->dir);
    delete s;
}

static int FileOsPosixFindFirst(const char *pattern, FileOsFind *entry, FileHandle *search) {
    *search = 0;
    std::string p = FileOsPath(pattern);
    size_t cut = p.rfind('/');
    std::string folder = cut == std::string::npos ? "." : cut == 0 ? "/" : p.substr(0, cut);
    std::string last = cut == std::string::npos ? p : p.substr(cut + 1);
    if (last.find_first_of("*?") == std::string::npos) return FileOsPosixEntry(p, last.c_str(), entry);
    if (last == "*.*") last = "*";
    DIR *dir = opendir(folder.c_str());
    if (!dir) return 0;
    FileOsPosixSearch *s = new FileOsPosixSearch{dir, folder, last};
    if (!FileOsPosixFindNext((FileHandle)s, entry)) {
        FileOsPosixFindEnd((FileHandle)s);
        return 0;
    }
    *search = (FileHandle)s;
    return 1;
}

// The program's form of a POSIX path: the root is drive C:, separators are backslashes.
static std::string FileOsProgramPath(const std::string &posix) {
    std::string p = "C:" + posix;
    for (char &c : p)
        if (c == '/') c = '\\';
    return p;
}

static int FileOsPosixGetCurrentDir(char *buffer, uint32_t size) {
    char cwd[PATH_MAX];
    std::string p = getcwd(cwd, sizeof cwd) ? FileOsProgramPath(cwd) : "";
    if (p.empty() || p.size() >= size) {
        buffer[0] = 0;
        return 0;
    }
    strcpy(buffer, p.c_str());
    return 1;
}

static int FileOsPosixSetCurrentDir(const char *path) {
    return chdir(FileOsPath(path).c_str()) == 0;
}

// A component as Windows reads it: trailing dots and blanks are dropped ("..." names the folder itself),
// except in "." and "..".
static std::string FileOsComponent(std::string part) {
    if (part == "." || part == "..") return part;
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    return part.empty() ? "." : part;
}

// The full form of a path that may not exist yet, in the program's form as Windows gives it: relative to the
// current folder, "." and ".." resolved, every drive the one root C:. A network path (\\server\share) keeps
// its two leading separators, so that its share root is recognised as a root.
static int FileOsPosixFullPath(const char *path, char *out, uint32_t size) {
    std::string p = path;
    for (char &c : p)
        if (c == '/') c = '\\';
    bool network = p.compare(0, 2, "\\\\") == 0;
    if (!network && p.size() >= 2 && isalpha((unsigned char)p[0]) && p[1] == ':') p = p.substr(2);
    char cwd[PATH_MAX];
    if (!network && p[0] != '\\' && getcwd(cwd, sizeof cwd)) p = FileOsProgramPath(cwd).substr(2) + "\\" + p;
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= p.size()) {
        size_t next = p.find('\\', at);
        if (next == std::string::npos) next = p.size();
        std::string part = FileOsComponent(p.substr(at, next - at));
        if (part == "..") {
            if (!parts.empty() && (!network || parts.size() > 2)) parts.pop_back();
        } else if (part != ".") {
            parts.push_back(part);
        }
        at = next + 1;
    }
    std::string full = network ? "\\" : "C:";
    for (const std::string &part : parts) full += "\\" + part;
    if (parts.empty()) full += "\\";
    if (full.size() >= size) return 0;
    strcpy(out, full.c_str());
    return 1;
}

// The longest name the folder's file system allows; root null asks about the current folder's.
static int FileOsPosixMaxNameLength(const char *root) {
    long longest = pathconf(FileOsPath(root ? root : ".").c_str(), _PC_NAME_MAX);
    return longest > 0 ? (int)longest : 0;
}

static int FileOsPosixFreeSpace(const char *path, uint64_t *available) {
    struct statvfs vfs;
    if (statvfs(FileOsPath(path).c_str(), &vfs) != 0) return 0;
    *available = (uint64_t)vfs.f_bavail * vfs.f_frsize;
    return 1;
}

static int FileOsPosixFreeClusters(const char *root, uint32_t *sectorsPerCluster, uint32_t *bytesPerSector,
                                   uint32_t *freeClusters) {
    struct statvfs vfs;
    if (statvfs(FileOsPath(root ? root : ".").c_str(), &vfs) != 0) return 0;
    *sectorsPerCluster = 1;
    *bytesPerSector = (uint32_t)vfs.f_frsize;
    *freeClusters = vfs.f_bavail > 0xFFFFFFFFu ? 0xFFFFFFFFu : (uint32_t)vfs.f_bavail;
    return 1;
}

// The system's form of a temporary name: up to three characters of the prefix, four hexadecimal digits and
// ".TMP", made with its empty file.
static int FileOsPosixTempName(const char *folder, const char *prefix, char *out, uint32_t size) {
    static unsigned counter;
    for (int tries = 0; tries < 65535; tries++) {
        char name[PATH_MAX];
        unsigned n = (counter++ + (unsigned)getpid()) & 0xFFFF;
        snprintf(name, sizeof name, "%s\\%.3s%04X.TMP", folder, prefix, n ? n : 1);
        int fd = open(FileOsPath(name).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return 0;
        }
        close(fd);
        if (strlen(name) >= size) {
            remove(FileOsPath(name).c_str());
            return 0;
        }
        strcpy(out, name);
        return 1;
    }
    return 0;
}

static int FileOsPosixDateText(uint32_t timeLow, uint32_t timeHigh, char *out, uint32_t size) {
    const uint64_t secondsTo1970 = 11644473600u;
    uint64_t t = ((uint64_t)timeHigh << 32 | timeLow) / 10000000u;
    time_t seconds = (time_t)(t - secondsTo1970);
    struct tm local;
    if (!localtime_r(&seconds, &local)) return 0;
    int n = snprintf(out, size, "%d/%d/%04d", local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    if (n < 0 || (uint32_t)n >= size) {
        if (size) out[0] = 0;
        return 0;
    }
    return 1;
}

// Copies and moves take the folder's subfolders along, as the Windows shell does; a delete takes files only.
static int FileOsPosixFolderFiles(FileOsFolderOp op, const char *folder, const char *destination) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entries(FileOsPath(folder), error);
    if (error) return 0;
    bool ok = true;
    for (const fs::directory_entry &entry : entries) {
        bool isFile = entry.is_regular_file(error);
        if (op == FILEOS_FILES_DELETE) {
            if (isFile) ok = fs::remove(entry.path(), error) && ok;
            continue;
        }
        if (!isFile && !entry.is_directory(error)) continue;
        fs::path to = fs::path(FileOsPath(destination)) / entry.path().filename();
        fs::copy(entry.path(), to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
        ok = !error && ok;
        if (!error && op == FILEOS_FILES_MOVE)
            ok = fs::remove_all(entry.path(), error) != (uintmax_t)-1 && ok;
    }
    return ok;
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
    .rename = FileOsPosixRename,
    .remove = FileOsPosixRemove,
    .makeDir = FileOsPosixMakeDir,
    .removeDir = FileOsPosixRemoveDir,
    .setReadOnly = FileOsPosixSetReadOnly,
    .findFirst = FileOsPosixFindFirst,
    .findNext = FileOsPosixFindNext,
    .findEnd = FileOsPosixFindEnd,
    .getCurrentDir = FileOsPosixGetCurrentDir,
    .setCurrentDir = FileOsPosixSetCurrentDir,
    .fullPath = FileOsPosixFullPath,
    .maxNameLength = FileOsPosixMaxNameLength,
    .freeSpace = FileOsPosixFreeSpace,
    .freeClusters = FileOsPosixFreeClusters,
    .tempName = FileOsPosixTempName,
    .dateText = FileOsPosixDateText,
    .folderFiles = FileOsPosixFolderFiles,
    .replace = FileOsPosixRename,
};

const FileOsCalls *FileOsDefaultCalls() {
    return &fileOsPosix;
}
