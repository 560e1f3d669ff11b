// The main of every native test program: the same seams as under Wine (alerts recorded, log lines
// captured) and a fresh temporary folder per test, made with POSIX and the C++ library; the process's
// folders are removed at the end.
#include "support/vxtest.h"

#include "base/heap.h"
#include "base/os_posix.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

static fs::path VxProcessTempDir() {
    return fs::temp_directory_path() / ("vxtest-" + std::to_string(getpid()));
}

// Tests append "\\name" as on Windows; the file layer's POSIX back-end reads the backslash as a separator.
std::string VxTempDir() {
    const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "global";
    for (char &c : name)
        if (c == '/') c = '_';
    fs::path dir = VxProcessTempDir() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

void VxMakeDir(const std::string &path) {
    mkdir(OsPosixPath(path.c_str()).c_str(), 0777);
}

FILE *VxFileOpen(const std::string &path, const char *mode) {
    return fopen(OsPosixPath(path.c_str()).c_str(), mode);
}

bool VxFileExists(const std::string &path) {
    return access(OsPosixPath(path.c_str()).c_str(), F_OK) == 0;
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
