// The file layer's system calls, the same on every back-end: a round trip of create, write, seek, read,
// size, end of file and flush; reads that stop at the end; opens that fail with the error naming the path,
// a folder among them (POSIX would open it as a file).
#include "base/erc.h"
#include "base/fileos.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(FileOs, RoundTrip) {
    std::string path = VxTempDir() + "\\round.bin";
    FileHandle h = 0;
    ASSERT_EQ(FileOsOpen(path.c_str(), FILE_OPEN_CREATE, 32, &h), nullptr);
    ASSERT_NE(h, 0);
    uint32_t moved = 0, size = 99;
    EXPECT_EQ(FileOsWrite(h, "0123456789", 10, &moved), nullptr);
    EXPECT_EQ(moved, 10u);
    EXPECT_EQ(FileOsFlush(h), nullptr);
    EXPECT_EQ(FileOsGetSize(h, &size), nullptr);
    EXPECT_EQ(size, 10u);

    char buf[16] = {};
    EXPECT_EQ(FileOsSeek(h, 6), nullptr);
    EXPECT_EQ(FileOsRead(h, buf, sizeof buf, &moved), nullptr);
    EXPECT_EQ(moved, 4u) << "a read stops at the end without an error";
    EXPECT_STREQ(buf, "6789");
    EXPECT_EQ(FileOsRead(h, buf, sizeof buf, &moved), nullptr);
    EXPECT_EQ(moved, 0u);

    EXPECT_EQ(FileOsSetEnd(h, 3), nullptr);
    EXPECT_EQ(FileOsGetSize(h, &size), nullptr);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(FileOsSetEnd(h, 5000), nullptr);
    EXPECT_EQ(FileOsGetSize(h, &size), nullptr);
    EXPECT_EQ(size, 5000u);
    EXPECT_EQ(FileOsClose(h), nullptr);

    ASSERT_EQ(FileOsOpen(path.c_str(), FILE_OPEN_READONLY | FILE_OPEN_SEQ, 32, &h), nullptr);
    memset(buf, 0, sizeof buf);
    EXPECT_EQ(FileOsRead(h, buf, 4, &moved), nullptr);
    EXPECT_EQ(moved, 4u);
    EXPECT_EQ(std::string(buf, 4), std::string("012\0", 4)) << "the extended end reads as zeros";
    EXPECT_EQ(FileOsClose(h), nullptr);
}

TEST(FileOs, FailedOpensNameThePath) {
    std::string dir = VxTempDir();
    struct Case {
        std::string path;
        bool create;
        Erc erc;
    } cases[] = {
        {dir + "\\missing.bin", false, ercFileOpen},
        {dir + "\\no-folder\\new.bin", true, ercFileCreate},
        {dir, false, ercFileOpen},
    };
    for (const Case &c : cases) {
        ErcClear();
        FileHandle h = 7;
        EXPECT_EQ(FileOsOpen(c.path.c_str(),
                             (c.create ? (uint32_t)FILE_OPEN_CREATE : 0u) | FILE_OPEN_READONLY, 32, &h),
                  c.erc)
            << c.path;
        EXPECT_EQ(h, 0) << c.path;
        char text[ERC_TEXT_MAX];
        ErcGetText(text);
        EXPECT_NE(strstr(text, c.path.c_str()), nullptr) << text;
    }
    ErcClear();
}
