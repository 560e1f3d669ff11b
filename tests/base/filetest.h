// Helpers of the file-layer tests: raw disk access that bypasses the file layer, a cache of a chosen size
// for one test, and a copy of the system-call table with some calls replaced.
#pragma once

#include "base/erc.h"
#include "base/file.h"
#include "base/filecache.h"
#include "base/filerec.h"
#include "base/fileos.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <string>

inline std::string VxDiskRead(const std::string &path) {
    std::string bytes;
    FILE *f = VxFileOpen(path, "rb");
    if (!f) return "<missing>";
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

inline void VxDiskWrite(const std::string &path, const std::string &bytes) {
    FILE *f = VxFileOpen(path, "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
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
        FileOsWriteFailNth(0);
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
