// Blocks and strings in files: counted blocks and strings round trip, a longer stored string cut to the
// caller's maximum with the rest skipped; long strings at their limits; truncated and corrupt lengths refused
// without allocating.
#include "base/strfile.h"

#include "base/file.h"
#include "base/heap.h"
#include "strtest.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TempFile {
    std::string path;
    int file;
    TempFile() : path(VxTempDir() + "\\counted.bin"), file(FileOpen(path.c_str(), FILE_OPEN_CREATE)) {}
    ~TempFile() { FileClose(file); }
    void Rewind() { FileSeek(file, 0); }
};

} // namespace

TEST(StrFile, BlocksAndStringsRoundTrip) {
    TempFile t;
    ASSERT_GE(t.file, 0);
    Handle *h = HAllocCopy(10, "0123456789");
    ASSERT_TRUE(HandleWrite(t.file, h));
    ASSERT_TRUE(StrWriteCounted("first", t.file));
    ASSERT_TRUE(StrWriteCounted("", t.file));
    ASSERT_TRUE(StrWriteCounted(std::string(40, 'L').c_str(), t.file));
    ASSERT_TRUE(StrWriteCounted("after", t.file));
    EXPECT_EQ(FileGetSize(t.file), 4 + 10 + 4 + 6 + 4 + 1 + 4 + 41 + 4 + 6u);
    t.Rewind();

    Handle *back = HandleRead(t.file);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(HSize(back), 10u);
    EXPECT_EQ(memcmp(HLock(back), "0123456789", 10), 0);
    HFree(back);
    HFree(h);

    Guarded g(9);
    EXPECT_TRUE(StrReadCounted(g.bytes, t.file, 8));
    EXPECT_STREQ(g.bytes, "first");
    EXPECT_TRUE(StrReadCounted(g.bytes, t.file, 8));
    EXPECT_STREQ(g.bytes, "");
    // A longer stored string fills max characters and its NUL goes at buffer[max], inside the caller's
    // max + 1 bytes; the rest is skipped so the next string reads whole.
    EXPECT_TRUE(StrReadCounted(g.bytes, t.file, 8));
    EXPECT_STREQ(g.bytes, "LLLLLLLL");
    EXPECT_TRUE(g.Intact());
    EXPECT_TRUE(StrReadCounted(g.bytes, t.file, 8));
    EXPECT_STREQ(g.bytes, "after");
    EXPECT_FALSE(StrReadCounted(g.bytes, t.file, 8)) << "nothing left";
}

TEST(StrFile, TruncatedAndCorruptInput) {
    struct Case {
        const char *name;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"no length", {}},
        {"short length", {5, 0}},
        {"length past the end", {20, 0, 0, 0, 'a', 'b'}},
        {"huge length", {0xff, 0xff, 0xff, 0x7f, 'a'}},
    };
    for (const Case &c : cases) {
        TempFile t;
        ASSERT_GE(t.file, 0);
        if (!c.bytes.empty()) FileWriteExact(t.file, c.bytes.data(), (int32_t)c.bytes.size());
        t.Rewind();
        int32_t live = HLiveCount();
        EXPECT_EQ(HandleRead(t.file), nullptr) << c.name;
        EXPECT_EQ(HLiveCount(), live) << c.name << ": nothing allocated for a corrupt length";
        t.Rewind();
        char buf[32];
        EXPECT_FALSE(StrReadCounted(buf, t.file, 31)) << c.name;
        EXPECT_STREQ(buf, "") << c.name;
    }
}

TEST(StrFile, LongStringsRoundTrip) {
    TempFile t;
    ASSERT_GE(t.file, 0);
    std::string texts[] = {"", "short", std::string(LONG_STR_SIZE - 1, 'x')};
    for (const std::string &text : texts) EXPECT_EQ(StrWriteLong(text.c_str(), t.file), 1) << text.size();
    uint32_t size = FileGetSize(t.file);
    EXPECT_EQ(StrWriteLong(std::string(LONG_STR_SIZE, 'y').c_str(), t.file), 0)
        << "it could not be read back";
    EXPECT_EQ(FileGetSize(t.file), size) << "nothing written";
    t.Rewind();
    for (const std::string &text : texts) {
        char *s = StrReadLong(t.file);
        ASSERT_TRUE(s) << text.size();
        EXPECT_EQ(std::string(s), text);
        FreeBlock(s);
    }
    EXPECT_EQ(StrReadLong(t.file), nullptr) << "at the end";
}

TEST(StrFile, LongStringsFromDamagedFiles) {
    struct Case {
        const char *what;
        std::string bytes;
        int expectedLength; // -1: refused
        const char *expected;
    } cases[] = {
        {"length 0", std::string("\0\0\0\0", 4) + "abc", -1, nullptr},
        {"one past the block", std::string("\x01\x0A\0\0", 4) + std::string(2561, 'a'), -1, nullptr},
        {"huge", std::string("\xFF\xFF\xFF\xFF", 4) + "abc", -1, nullptr},
        {"truncated text", std::string("\x0A\0\0\0", 4) + "abc", -1, nullptr},
        {"truncated length", std::string("\x0A\0", 2), -1, nullptr},
        {"no NUL at the end", std::string("\x03\0\0\0", 4) + "abc", 2, "ab"},
        {"whole block", std::string("\0\x0A\0\0", 4) + std::string(2559, 'a') + '\0', 2559, nullptr},
    };
    for (const Case &c : cases) {
        TempFile t;
        ASSERT_GE(t.file, 0);
        FileWriteExact(t.file, c.bytes.data(), (int32_t)c.bytes.size());
        t.Rewind();
        int32_t live = HLiveCount();
        char *s = StrReadLong(t.file);
        if (c.expectedLength < 0) {
            EXPECT_EQ(s, nullptr) << c.what;
        } else {
            ASSERT_TRUE(s) << c.what;
            EXPECT_EQ(strlen(s), (size_t)c.expectedLength) << c.what;
            if (c.expected) {
                EXPECT_STREQ(s, c.expected) << c.what;
            }
        }
        FreeBlock(s);
        EXPECT_EQ(HLiveCount(), live) << c.what;
    }
}
