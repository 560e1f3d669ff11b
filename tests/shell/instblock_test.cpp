// The request block between instances:
// - written: zero-filled, four little-endian words, then the data; the size is 16 + length, none past 16 MB;
// - read back: the fields and a private copy of the data ending in a NUL (also for a text sent without one,
//   and for no data at all);
// - refused whole, the entry left without data: a view shorter than the header, a length past the view
//   (the largest lengths included), a copy that cannot be had.
#include "shell/instblock.h"

#include "base/heap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

uint32_t InstBlockTestWord(const std::vector<unsigned char> &block, size_t at) {
    return block[at] | block[at + 1] << 8 | block[at + 2] << 16 | (uint32_t)block[at + 3] << 24;
}

TEST(InstBlock, WrittenAsFourWordsAndTheData) {
    EXPECT_EQ(InstBlockSize(0), 16u);
    EXPECT_EQ(InstBlockSize(256), 272u);
    EXPECT_EQ(InstBlockSize(INSTBLOCK_DATA_MAX), INSTBLOCK_DATA_MAX + 16);
    EXPECT_EQ(InstBlockSize(INSTBLOCK_DATA_MAX + 1), 0u);
    std::vector<unsigned char> block(InstBlockSize(3), 0xEE);
    InstBlockWrite(block.data(), 2, 0x80001234, 0xCAFE0010, "abc", 3);
    EXPECT_EQ(InstBlockTestWord(block, 0), 2u);
    EXPECT_EQ(InstBlockTestWord(block, 4), 0x80001234u);
    EXPECT_EQ(InstBlockTestWord(block, 8), 0xCAFE0010u);
    EXPECT_EQ(InstBlockTestWord(block, 12), 3u);
    EXPECT_EQ(memcmp(block.data() + 16, "abc", 3), 0);
    std::vector<unsigned char> empty(16, 0xEE);
    InstBlockWrite(empty.data(), 1, 0, 0, nullptr, 0);
    EXPECT_EQ(empty, std::vector<unsigned char>({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(InstBlock, ReadBackWithATerminatedCopy) {
    struct Case {
        std::vector<char> data;
        size_t slack; // bytes of the view past the block, as a page of a mapping has
    } cases[] = {{{'a', 'b', 'c', 0}, 0}, {{'a', 'b', 'c'}, 0}, {{}, 0}, {{'x', 'y'}, 4000}};
    for (const Case &c : cases) {
        std::vector<unsigned char> view(InstBlockSize((uint32_t)c.data.size()) + c.slack, 'z');
        InstBlockWrite(view.data(), 1, 0x1234, 0, c.data.data(), (uint32_t)c.data.size());
        InstanceEntry entry;
        ASSERT_TRUE(InstBlockRead(view.data(), view.size(), &entry));
        EXPECT_EQ(entry.code, 1);
        EXPECT_EQ(entry.window, 0x1234u);
        ASSERT_EQ(entry.length, c.data.size());
        ASSERT_NE(entry.data, nullptr);
        EXPECT_EQ(std::string(entry.data, entry.length), std::string(c.data.begin(), c.data.end()));
        EXPECT_EQ(entry.data[entry.length], 0) << "the copy always ends in a NUL";
        InstBlockFreeEntry(&entry);
        EXPECT_EQ(entry.data, nullptr);
    }
}

TEST(InstBlock, BadBlocksAreRefusedWhole) {
    std::vector<unsigned char> view(64, 0);
    InstBlockWrite(view.data(), 1, 7, 0, "abcd", 4);
    struct Case {
        uint32_t length;
        size_t viewSize;
    } cases[] = {
        {4, 0},   {4, 15},          {4, 19},          // the view ends inside the header or the data
        {49, 64}, {0xFFFFFFF0, 64}, {0xFFFFFFFF, 64}, // the length passes the view
    };
    for (const Case &c : cases) {
        for (int i = 0; i < 4; i++) view[12 + i] = (unsigned char)(c.length >> (8 * i));
        InstanceEntry entry;
        entry.code = 99;
        entry.data = (char *)&entry;
        EXPECT_FALSE(InstBlockRead(view.data(), c.viewSize, &entry)) << c.length << " in " << c.viewSize;
        EXPECT_EQ(entry.data, nullptr);
        EXPECT_EQ(entry.code, 0);
        EXPECT_EQ(entry.length, 0u);
    }
    InstanceEntry entry;
    EXPECT_FALSE(InstBlockRead(nullptr, 64, &entry));
}

TEST(InstBlock, ACopyThatCannotBeHadLeavesNoData) {
    std::vector<unsigned char> view(InstBlockSize(4));
    InstBlockWrite(view.data(), 1, 7, 0, "abcd", 4);
    HeapFailNth(1);
    InstanceEntry entry;
    EXPECT_FALSE(InstBlockRead(view.data(), view.size(), &entry));
    EXPECT_EQ(entry.data, nullptr);
}

} // namespace
