// The main of every native test program: the same seams as under Wine (alerts recorded, log lines
// captured) and a fresh temporary folder per test, made with POSIX and the C++ library; the process's
// folders are removed at the end.
#include "support/vxtest.h"

#include "base/heap.h"
#include "base/os_posix.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

static fs::path VxProcessTempDir() {
    return fs::temp_directory_path() / ("vxtest-" + std::to_string(getpid()));
}

static std::string VxProgramPath(const std::string &posix) {
    std::string path = "C:" + posix;
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

static std::string VxPosix(const std::string &path) {
    return OsPosixPath(path.c_str());
}

// In the program's form, as the file layer's POSIX back-end hands out paths: drive C: is the root.
std::string VxTempDir() {
    const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "global";
    for (char &c : name)
        if (c == '/') c = '_';
    fs::path dir = VxProcessTempDir() / name;
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    fs::create_directories(dir);
    return VxProgramPath(dir.string());
}

void VxMakeDir(const std::string &path) {
    mkdir(VxPosix(path).c_str(), 0777);
}

FILE *VxFileOpen(const std::string &path, const char *mode) {
    return fopen(VxPosix(path).c_str(), mode);
}

bool VxFileExists(const std::string &path) {
    return access(VxPosix(path).c_str(), F_OK) == 0;
}

void VxSetEnv(const char *name, const char *value) {
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

void VxSetSystemError(uint32_t code) {
    errno = (int)code;
}

void *VxHoldDenyingWrites(const std::string &) {
    return nullptr;
}

void VxRelease(void *) {}

void VxRemoveFile(const std::string &path) {
    unlink(VxPosix(path).c_str());
}

void VxRemoveTree(const std::string &folder) {
    std::error_code ignored;
    fs::remove_all(VxPosix(folder), ignored);
}

std::string VxCurrentDir() {
    std::error_code ignored;
    return VxProgramPath(fs::current_path(ignored).string());
}

bool VxSetCurrentDir(const std::string &path) {
    return chdir(VxPosix(path).c_str()) == 0;
}

void VxSetReadOnly(const std::string &path, bool on) {
    struct stat st;
    std::string p = VxPosix(path);
    if (stat(p.c_str(), &st) != 0) return;
    chmod(p.c_str(), on ? st.st_mode & ~(mode_t)0222 : st.st_mode | S_IWUSR);
}

static const uint64_t vxSecondsTo1970 = 11644473600u;

void VxSetFileTime(const std::string &path, uint64_t time) {
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = (time_t)(time / 10000000u - vxSecondsTo1970);
    times[1].tv_nsec = (long)(time % 10000000u * 100);
    utimensat(AT_FDCWD, VxPosix(path).c_str(), times, 0);
}

uint64_t VxTimeNow() {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return ((uint64_t)now.tv_sec + vxSecondsTo1970) * 10000000u + (uint64_t)now.tv_nsec / 100;
}

void *VxDeadPages(size_t size) {
    void *pages = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return pages == MAP_FAILED ? nullptr : pages;
}

void VxFreeDeadPages(void *pages, size_t size) {
    if (pages) munmap(pages, size);
}

// The native build keeps the settings in memory: nothing to open.
void VxOpenSettings() {}

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    HeapInit();
    VxSeamsInstall();
    VxSeamsListen();
    int status = RUN_ALL_TESTS();
    std::error_code ignored;
    fs::remove_all(VxProcessTempDir(), ignored);
    return status;
}
