// Helpers of the file-layer tests: raw disk access that bypasses the file layer, a cache of a chosen size
// for one test, and a copy of the system-call table with some calls replaced.
#pragma once

#include "base/erc.h"
#include "base/file.h"
#include "base/filecache.h"
#include "base/fileos.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <string>
#include <windows.h>

inline std::string VxDiskRead(const std::string &path) {
    std::string bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[65536];
    DWORD n;
    while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    CloseHandle(h);
    return bytes;
}

inline void VxDiskWrite(const std::string &path, const std::string &bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD n = 0;
    WriteFile(h, bytes.data(), (DWORD)bytes.size(), &n, nullptr);
    CloseHandle(h);
}

// Every file test starts from a ready cache of the given size with no file open, and leaves none open.
class FileLayerTest : public testing::Test {
protected:
    int32_t cacheKB = FILE_CACHE_DEFAULT_KB;
    std::string dir;
    int openBefore = 0;

    void SetUp() override {
        ASSERT_TRUE(FileCacheInit(cacheKB));
        dir = VxTempDir();
        openBefore = FileCountOpen();
        FileOsResetStats();
        FileErrorFlagsClear();
        ErcClear();
    }
    void TearDown() override {
        FileOsSetCalls(nullptr);
        FileOsFailNthWrite(0);
        FileSetMemoryMapping(1);
        EXPECT_TRUE(FileCacheCheck());
        EXPECT_EQ(FileCountOpen(), openBefore) << "a test left a file open";
        FileCacheInit(FILE_CACHE_DEFAULT_KB);
        ErcClear();
    }
    std::string Path(const char *name) const { return dir + "\\" + name; }
};

// A copy of the back-end's table with some calls replaced; the default comes back on destruction.
struct FileOsOverride {
    FileOsCalls calls = *FileOsDefaultCalls();
    void Install() { FileOsSetCalls(&calls); }
    ~FileOsOverride() { FileOsSetCalls(nullptr); }
};
