// Open-file table: shared slots by path, positions and sizes, exact transfers.
#include "base/file.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

TEST(File, SharedSlotAndTransfers) {
    std::string path = VxTempDir() + "\\a.bin";
    int f = FileOpen(path.c_str(), 1);
    ASSERT_GE(f, 0);
    int open = FileCountOpen();
    EXPECT_EQ(FileOpen(path.c_str(), 0), f);
    EXPECT_EQ(FileCountOpen(), open);
    EXPECT_TRUE(FileWriteExact(f, "hello world", 11));
    EXPECT_EQ(FileGetSize(f), 11u);
    FileSeek(f, 6);
    char buf[16] = {};
    EXPECT_EQ(FileReadWrite(f, buf, 16, 0), 5) << "a read stops at the logical end";
    EXPECT_STREQ(buf, "world");
    FileClose(f);
    EXPECT_EQ(FileFindOpen(path.c_str()), f) << "the second open keeps it";
    FileClose(f);
    EXPECT_EQ(FileFindOpen(path.c_str()), -1);
    EXPECT_EQ(FileOpen((path + ".missing").c_str(), 0), -1);
}
