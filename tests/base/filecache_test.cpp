// Block disk cache: block counts from the size and the fall-back sizes when memory is short; write-back in
// runs of at most 7 blocks (counted at the system-call table), gathered into file order, ending at the
// logical size; the least recently used victim, also across the wrap-around of the use counter; failed reads
// that stay failed; failed writes that keep blocks dirty; read-ahead in runs.
#include "filetest.h"

#include "base/globalblock.h"

#include <vector>

using FileCache = FileLayerTest;

static std::string FileCachePattern(size_t blocks) {
    std::string s(blocks * FILE_BLOCK_SIZE, 0);
    for (size_t i = 0; i < s.size(); i++) s[i] = (char)('A' + (i / FILE_BLOCK_SIZE + i) % 26);
    return s;
}

static bool FileCacheHas(int file, uint32_t block) {
    return FileCacheLookup(file, block) >= 0;
}

static int FileCacheReadByte(int file, uint32_t offset) {
    char c;
    FileSeek(file, offset);
    return FileReadWrite(file, &c, 1, FILE_TRANSFER_READ);
}

TEST_F(FileCache, BlockCountFromSize) {
    struct {
        int32_t kb, blocks;
    } cases[] = {{1024, 128}, {8, 2}, {102400, 128}, {0, 2}, {9, 2}, {17, 3}, {512, 64}};
    for (auto &c : cases) {
        EXPECT_EQ(FileCacheBlocksFor(c.kb), c.blocks) << c.kb;
        ASSERT_TRUE(FileCacheResize(c.kb));
        EXPECT_EQ(FileCacheBlockCount(), c.blocks) << c.kb;
    }
}

TEST_F(FileCache, ShortMemoryHalvesTwiceThenTriesFour) {
    struct {
        int failures;
        int32_t blocks;
    } cases[] = {{1, 64}, {2, 32}, {3, 4}};
    for (auto &c : cases) {
        GlobalBlockFailNth(1, c.failures);
        EXPECT_TRUE(FileCacheResize(1024));
        EXPECT_EQ(FileCacheBlockCount(), c.blocks) << c.failures << " failed allocations";
    }
    GlobalBlockFailNth(0);
}

// The old memory stays in use at its own block count: claiming 4 blocks of a 2-block memory would overrun it.
TEST_F(FileCache, FailedResizeKeepsTheOldCache) {
    ASSERT_TRUE(FileCacheResize(8));
    std::string path = Path("kept");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    std::string data = FileCachePattern(3);
    ASSERT_TRUE(FileWriteExact(f, data.data(), (int32_t)data.size()));
    GlobalBlockFailNth(1, 4);
    EXPECT_FALSE(FileCacheResize(1024));
    EXPECT_STREQ(ErcGet(), ercFileCacheMemory);
    EXPECT_TRUE(FileCacheIsReady());
    EXPECT_EQ(FileCacheBlockCount(), 2);
    EXPECT_EQ(VxDiskRead(path), data) << "flushed before the set-up";
    std::string back(data.size(), 0);
    FileSeek(f, 0);
    ASSERT_TRUE(FileReadExact(f, back.data(), (int32_t)back.size()));
    EXPECT_EQ(back, data);
    FileClose(f);

    FileCacheTerm();
    GlobalBlockFailNth(1, 4);
    EXPECT_FALSE(FileCacheInit(1024));
    EXPECT_FALSE(FileCacheIsReady());
    f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    EXPECT_TRUE(FileReadExact(f, back.data(), 100)) << "without a cache transfers go to the system";
    FileClose(f);
}

// ---- Write-back ----

static std::vector<uint32_t> fileCacheWrites;

static int FileCacheRecordWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved) {
    fileCacheWrites.push_back(length);
    return FileOsDefaultCalls()->write(h, buffer, length, moved);
}

TEST_F(FileCache, WriteBackInRunsOfSeven) {
    struct {
        const char *name;
        int gather, reverse;
        size_t writes;
    } cases[] = {
        {"in order", 1, 0, 19},
        {"reverse order, gathered", 1, 1, 19},
        {"reverse order, not gathered", 0, 1, 128},
    };
    std::string data = FileCachePattern(FILE_CACHE_MAX_BLOCKS);
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(FileCacheResize(1024));
        FileCacheSetGather(c.gather);
        std::string a = Path("a"), b = Path("b");
        VxDiskWrite(b, "b");
        int fa = FileOpen(a.c_str(), FILE_OPEN_CREATE), fb = FileOpen(b.c_str(), FILE_OPEN_EXISTING);
        for (int i = 0; i < FILE_CACHE_MAX_BLOCKS; i++) {
            int block = c.reverse ? FILE_CACHE_MAX_BLOCKS - 1 - i : i;
            FileSeek(fa, (uint32_t)block * FILE_BLOCK_SIZE);
            ASSERT_TRUE(FileWriteExact(fa, data.data() + (size_t)block * FILE_BLOCK_SIZE, FILE_BLOCK_SIZE));
        }
        FileOsOverride os;
        os.calls.write = FileCacheRecordWrite;
        os.Install();
        fileCacheWrites.clear();
        FileOsResetStats();
        EXPECT_EQ(FileCacheReadByte(fb, 0), 1) << "needs a victim: every block is dirty";
        EXPECT_EQ(fileCacheWrites.size(), c.writes);
        EXPECT_EQ(FileOsGetStats().writes, c.writes);
        EXPECT_EQ(FileOsGetStats().reads, 1u);
        uint32_t total = 0;
        for (uint32_t n : fileCacheWrites) {
            EXPECT_LE(n, 7u * FILE_BLOCK_SIZE);
            total += n;
        }
        EXPECT_EQ(total, data.size());
        uint32_t oldest = c.reverse ? FILE_CACHE_MAX_BLOCKS - 1 : 0;
        EXPECT_FALSE(FileCacheHas(fa, oldest)) << "the least recently used block was taken";
        EXPECT_TRUE(FileCacheHas(fa, 64));
        EXPECT_TRUE(FileCacheCheck());
        FileOsSetCalls(nullptr);
        FileClose(fb);
        FileClose(fa);
        EXPECT_EQ(VxDiskRead(a), data);
        FileCacheSetGather(1);
    }
}

TEST_F(FileCache, WriteBackEndsAtTheLogicalSize) {
    std::string path = Path("end");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    ASSERT_TRUE(FileWriteExact(f, "0123456789", 10));
    ASSERT_TRUE(FileFlush(f));
    EXPECT_EQ(VxDiskRead(path).size(), 10u);
    EXPECT_FALSE(FileGetRec(f)->flags & FILE_OS_DIRTY) << "the system buffers were flushed too";
    FileSeek(f, FILE_BLOCK_SIZE + 4);
    ASSERT_TRUE(FileWriteExact(f, "x", 1));
    FileClose(f);
    EXPECT_EQ(VxDiskRead(path).size(), (size_t)FILE_BLOCK_SIZE + 5);
}

// ---- The victim ----

TEST_F(FileCache, LeastRecentlyUsedAcrossCounterWrapAround) {
    std::string path = Path("lru");
    VxDiskWrite(path, FileCachePattern(6));
    for (uint32_t start : {0u, 0xFFFFFFFDu, 0x7FFFFFFEu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(start);
        ASSERT_TRUE(FileCacheResize(32)); // 4 blocks
        int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
        FileCacheSetCounter(start);
        for (uint32_t b = 0; b < 4; b++) ASSERT_EQ(FileCacheReadByte(f, b * FILE_BLOCK_SIZE), 1);
        ASSERT_EQ(FileCacheReadByte(f, 0), 1); // block 0 becomes the most recent
        ASSERT_EQ(FileCacheReadByte(f, 4 * FILE_BLOCK_SIZE), 1);
        EXPECT_FALSE(FileCacheHas(f, 1));
        EXPECT_TRUE(FileCacheHas(f, 0) && FileCacheHas(f, 2) && FileCacheHas(f, 3));
        ASSERT_EQ(FileCacheReadByte(f, 5 * FILE_BLOCK_SIZE), 1);
        EXPECT_FALSE(FileCacheHas(f, 2));
        EXPECT_TRUE(FileCacheHas(f, 0) && FileCacheHas(f, 3) && FileCacheHas(f, 4));
        FileClose(f);
    }
}

// ---- Failures ----

static int FileCacheFailRead(FileHandle, void *, uint32_t, uint32_t *) {
    VxSetSystemError(23); // the disk's data error (CRC)
    return 0;
}

TEST_F(FileCache, FailedBlockStaysFailed) {
    std::string path = Path("bad");
    std::string data = FileCachePattern(2);
    VxDiskWrite(path, data);
    int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    {
        FileOsOverride os;
        os.calls.read = FileCacheFailRead;
        os.Install();
        EXPECT_EQ(FileCacheReadByte(f, 10), -1);
    }
    EXPECT_EQ(FileErrorFlags(), (uint32_t)FILE_ERR_BLOCK_READ);
    char text[ERC_TEXT_MAX];
    ErcGetText(text);
    EXPECT_EQ(std::string(text), "File read error for " + path);
    EXPECT_STREQ(FileGetRec(f)->lastError, ercFileReadFor);
    EXPECT_EQ(FileCacheReadByte(f, 10), -1) << "the disk recovered, the block stays failed";
    EXPECT_EQ(FileCacheReadByte(f, FILE_BLOCK_SIZE), 1) << "other blocks read";
    FileSeek(f, 0);
    EXPECT_EQ(FileReadWrite(f, (void *)"zz", 2, FILE_TRANSFER_WRITE), -1) << "a write into it fails";
    EXPECT_EQ(FileCacheReadByte(f, 11), -1);
    FileOsResetStats();
    FileClose(f);
    EXPECT_EQ(FileOsGetStats().writes, 0u) << "its zeroed bytes are never written back";
    EXPECT_EQ(VxDiskRead(path), data);
    f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    EXPECT_EQ(FileCacheReadByte(f, 10), 1) << "a new open reads it again";
    FileClose(f);
}

TEST_F(FileCache, FailedWriteKeepsBlocksDirty) {
    std::string path = Path("retry");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    ASSERT_TRUE(FileWriteExact(f, "saved", 5));
    FileOsWriteFailNth(1);
    EXPECT_FALSE(FileFlush(f));
    EXPECT_EQ(FileErrorFlags(), (uint32_t)FILE_ERR_BLOCK_WRITE);
    EXPECT_STREQ(ErcGet(), ercFileWriteFor);
    EXPECT_EQ(VxDiskRead(path), "");
    EXPECT_TRUE(FileFlush(f)) << "the next flush tries again";
    EXPECT_EQ(VxDiskRead(path), "saved");
    FileClose(f);
}

// ---- Read-ahead ----

TEST_F(FileCache, BulkReadLoadsRunsOfBlocks) {
    std::string path = Path("bulk");
    std::string data = FileCachePattern(20);
    VxDiskWrite(path, data);
    FileSetMemoryMapping(0);
    int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    FileSetMapped(f, 1);
    EXPECT_EQ(FileGetRec(f)->view, nullptr);
    FileOsResetStats();
    std::string back(data.size(), 0);
    ASSERT_TRUE(FileReadExact(f, back.data(), (int32_t)back.size()));
    EXPECT_EQ(back, data);
    EXPECT_EQ(FileOsGetStats().reads, 3u) << "20 blocks in runs of 7, 7 and 6";
    FileClose(f);

    std::string small = Path("small");
    VxDiskWrite(small, "tiny");
    f = FileOpen(small.c_str(), FILE_OPEN_EXISTING);
    FileOsResetStats();
    EXPECT_TRUE(FileCacheReadAhead(f, 0));
    EXPECT_EQ(FileOsGetStats().reads, 1u);
    char buffer[8] = {};
    EXPECT_EQ(FileReadWrite(f, buffer, 8, FILE_TRANSFER_READ), 4);
    EXPECT_EQ(FileOsGetStats().reads, 1u) << "served from the cache";
    FileClose(f);
}
