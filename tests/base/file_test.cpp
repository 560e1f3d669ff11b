// Open-file table: shared slots and the full table, read-only fall-back and open errors; the three transfer
// paths checked against a byte-string model (with two files competing for a small cache); bytes that were
// never written read as zeros after seeks and size changes; lines and pointer reads; copies; rename, swap,
// touch and file information; FileCompare; short direct transfers; faults in a mapped view; idle mapping and
// shutdown; a file too large to open.
#include "filetest.h"

#include "base/heap.h"
#include "base/tick.h"

#include <random>

using FileTable = FileLayerTest;

TEST_F(FileTable, SharedSlotNeedsTwoCloses) {
    std::string path = Path("a.bin");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    ASSERT_GE(f, 0);
    std::string upper = path;
    for (char &c : upper) c = (char)toupper((unsigned char)c);
    EXPECT_EQ(FileOpenEx(upper.c_str(), FILE_OPEN_READONLY | FILE_OPEN_SEQ | FILE_OPEN_MAPPABLE), f)
        << "any case finds the open record";
    EXPECT_FALSE(FileGetRec(f)->flags & FILE_READONLY) << "the second open's read-only wish is ignored";
    EXPECT_EQ(FileCountOpen(), openBefore + 1);
    ErcClear();
    EXPECT_EQ(FileOpen(path.c_str(), FILE_OPEN_CREATE), -1) << "create over an open path";
    EXPECT_FALSE(ErcIsSet()) << "fails without a message";
    FileClose(f);
    EXPECT_EQ(FileFindOpen(path.c_str()), f) << "the second open keeps it";
    FileClose(f);
    EXPECT_EQ(FileFindOpen(path.c_str()), -1);
}

TEST_F(FileTable, TwoHundredAndFirstOpenFailsAndLogs) {
    std::vector<int> files;
    for (int i = openBefore; i < FILE_MAX_OPEN; i++) {
        int f = FileOpen(Path(("f" + std::to_string(i)).c_str()).c_str(), FILE_OPEN_CREATE);
        ASSERT_GE(f, 0) << i;
        files.push_back(f);
    }
    VxLogCaptureStart();
    std::string last = Path("last");
    EXPECT_EQ(FileOpenEx(last.c_str(), FILE_OPEN_CREATE | FILE_OPEN_SEQ), -1);
    std::vector<std::string> log = VxLogCaptureStop();
    EXPECT_STREQ(ErcGet(), ercFileTooMany);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "trying to open " + last + ", fCreate=1, fReadOnly=0, fSeq=1, fFileMakeOK=0, cFns=200");
    for (int f : files) FileClose(f);
}

TEST_F(FileTable, OpenFailuresSetGlobalFlags) {
    EXPECT_EQ(FileOpen(Path("missing").c_str(), FILE_OPEN_EXISTING), -1);
    EXPECT_EQ(FileErrorFlags(), (uint32_t)FILE_ERR_NOT_FOUND);
    char text[ERC_TEXT_MAX];
    ErcGetText(text);
    EXPECT_EQ(std::string(text), "Cannot open file: " + Path("missing"));
    FileErrorFlagsClear();
    EXPECT_EQ(FileOpen((dir + "\\no\\such\\folder\\x").c_str(), FILE_OPEN_CREATE), -1);
    EXPECT_EQ(FileErrorFlags(), (uint32_t)FILE_ERR_NOT_FOUND) << "a missing path";
    FileErrorFlagsClear();
    std::string tooLong = dir + "\\" + std::string(300, 'n');
    EXPECT_EQ(FileOpen(tooLong.c_str(), FILE_OPEN_CREATE), -1) << "a path the record cannot hold is refused";
    EXPECT_EQ(FileErrorFlags(), (uint32_t)FILE_ERR_OPEN);
}

TEST_F(FileTable, ReadOnlyFallBack) {
    std::string locked = Path("locked.txt"), attr = Path("attr.txt");
    VxDiskWrite(locked, "locked");
    VxDiskWrite(attr, "attr");
    // Another holder that lets others only read: a read-write open fails, the read-only one succeeds.
    if (void *other = VxHoldDenyingWrites(locked)) {
        int f = FileOpen(locked.c_str(), FILE_OPEN_EXISTING);
        ASSERT_GE(f, 0);
        EXPECT_TRUE(FileGetRec(f)->flags & FILE_READONLY);
        EXPECT_FALSE(ErcIsSet()) << "the fall-back is silent";
        char buffer[8] = {};
        EXPECT_EQ(FileReadWrite(f, buffer, 8, FILE_TRANSFER_READ), 6);
        FileClose(f);
        VxRelease(other);
    }

    VxSetReadOnly(attr, true);
    int f = FileOpen(attr.c_str(), FILE_OPEN_EXISTING);
    ASSERT_GE(f, 0);
    EXPECT_TRUE(FileGetRec(f)->flags & FILE_READONLY);
    EXPECT_EQ(FileSetSize(f, 0), 0);
    EXPECT_EQ(FileReadWrite(f, (void *)"x", 1, FILE_TRANSFER_WRITE), -1)
        << "a write to a read-only file is refused";
    FileClose(f);
    VxSetReadOnly(attr, false);
    EXPECT_EQ(VxDiskRead(attr), "attr");
}

// ---- Transfers against a model ----

struct FileModeCase {
    const char *name;
    int direct;   // FileSetDirect
    int mappable; // opened with fFileMakeOK: mapped at once
    int noCache;  // the cache is not set up
};

struct FileModelFile {
    std::string path;
    std::string model;
    int file = -1;
};

static std::string FileRandomBytes(std::mt19937 &rng, size_t n) {
    std::string s(n, 0);
    for (char &c : s) c = (char)('a' + rng() % 26);
    return s;
}

// One random step: a write at or past the end, a read, or a seek past the end that writes nothing.
static void FileModelStep(std::mt19937 &rng, FileModelFile &m) {
    uint32_t size = (uint32_t)m.model.size();
    int op = (int)(rng() % 3);
    uint32_t at = (uint32_t)(rng() % (size + (op == 1 ? 100 : 9000)));
    FileSeek(m.file, at);
    if (at > m.model.size()) m.model.resize(at, 0);
    uint32_t end = at;
    if (op == 0) {
        std::string bytes = FileRandomBytes(rng, rng() % 12000 + 1);
        ASSERT_TRUE(FileWriteExact(m.file, bytes.data(), (int32_t)bytes.size()));
        if (m.model.size() < at + bytes.size()) m.model.resize(at + bytes.size());
        m.model.replace(at, bytes.size(), bytes);
        end += (uint32_t)bytes.size();
    } else if (op == 1) {
        int32_t n = (int32_t)(rng() % 12000);
        std::string got(n, 0);
        int32_t moved = FileReadWrite(m.file, got.data(), n, FILE_TRANSFER_READ);
        ASSERT_EQ(moved, (int32_t)std::min<size_t>(n, m.model.size() - at));
        ASSERT_EQ(got.substr(0, moved), m.model.substr(at, moved)) << "read at " << at;
        end += (uint32_t)moved;
    }
    ASSERT_EQ(FileGetSize(m.file), m.model.size());
    ASSERT_EQ(FileTell(m.file), end);
}

TEST_F(FileTable, TransferPathsMatchModel) {
    static const FileModeCase cases[] = {
        {"cached", 0, 0, 0},
        {"direct", 1, 0, 0},
        {"mapped", 0, 1, 0},
        {"no cache", 0, 0, 1},
    };
    for (const FileModeCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(FileCacheResize(32)) << "4 blocks: the two files evict each other's blocks";
        if (c.noCache) FileCacheTerm();
        std::mt19937 rng(11);
        FileModelFile files[2];
        for (int i = 0; i < 2; i++) {
            files[i].path = Path((std::string(c.name) + std::to_string(i)).c_str());
            files[i].model = FileRandomBytes(rng, 10000 - 5000 * i);
            VxDiskWrite(files[i].path, files[i].model);
            files[i].file =
                FileOpenEx(files[i].path.c_str(), c.mappable ? FILE_OPEN_MAPPABLE : FILE_OPEN_EXISTING);
            ASSERT_GE(files[i].file, 0);
            if (c.direct) FileSetDirect(files[i].file, 1);
            EXPECT_EQ(FileGetRec(files[i].file)->view != nullptr, c.mappable != 0);
        }
        for (int step = 0; step < 300 && !HasFatalFailure(); step++) {
            FileModelStep(rng, files[step % 2]);
            ASSERT_TRUE(FileCacheCheck());
        }
        for (FileModelFile &m : files) {
            // A last byte at the logical end, so that the disk must hold the whole model.
            FileSeek(m.file, (uint32_t)m.model.size() - 1);
            ASSERT_TRUE(FileWriteExact(m.file, &m.model.back(), 1));
            FileClose(m.file);
            EXPECT_EQ(VxDiskRead(m.path), m.model);
        }
        FileCacheInit(FILE_CACHE_DEFAULT_KB);
    }
}

// Bytes between the old end and a later write come out as zeros, whatever the cache block held before.
TEST_F(FileTable, NeverWrittenBytesReadAsZeros) {
    ASSERT_TRUE(FileCacheResize(32));
    std::string filler = Path("filler"), path = Path("gaps");
    int f = FileOpen(filler.c_str(), FILE_OPEN_CREATE);
    std::string a(4 * FILE_BLOCK_SIZE, 'A');
    ASSERT_TRUE(FileWriteExact(f, a.data(), (int32_t)a.size()));
    FileClose(f); // every block now free but still full of 'A'

    f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    FileSeek(f, 20000); // past the end, inside block 2
    ASSERT_TRUE(FileWriteExact(f, "x", 1));
    ASSERT_TRUE(FileSetSize(f, 30000)); // the system end moves; block 3 is only partly on disk
    FileSeek(f, 32000);
    ASSERT_TRUE(FileWriteExact(f, "y", 1));
    std::string back(32001, '?');
    FileSeek(f, 0);
    ASSERT_TRUE(FileReadExact(f, back.data(), 32001));
    FileClose(f);
    std::string expected(32001, 0);
    expected[20000] = 'x';
    expected[32000] = 'y';
    EXPECT_EQ(back, expected) << "read through the cache";
    EXPECT_EQ(VxDiskRead(path), expected) << "written back";
}

TEST_F(FileTable, ShrinkThenGrowBringsNoOldBytesBack) {
    std::string path = Path("shrink");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    std::string x(20000, 'x');
    ASSERT_TRUE(FileWriteExact(f, x.data(), 20000));
    ASSERT_TRUE(FileSetSize(f, 100));
    EXPECT_EQ(FileTell(f), 100u);
    FileSeek(f, 10000);
    ASSERT_TRUE(FileWriteExact(f, "y", 1));
    std::string back(10001, '?');
    FileSeek(f, 0);
    ASSERT_TRUE(FileReadExact(f, back.data(), 10001));
    EXPECT_EQ(back, std::string(100, 'x') + std::string(9900, 0) + "y");
    ASSERT_TRUE(FileTruncate(f));
    EXPECT_EQ(FileGetSize(f), 0u);
    FileSeek(f, 50);
    ASSERT_TRUE(FileWriteExact(f, "z", 1));
    FileClose(f);
    EXPECT_EQ(VxDiskRead(path), std::string(50, 0) + "z");
}

TEST_F(FileTable, PositionsAndSizes) {
    std::string path = Path("pos");
    VxDiskWrite(path, "0123456789");
    int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    char buffer[32];
    FileSeekEnd(f, 0);
    EXPECT_EQ(FileReadWrite(f, buffer, 5, FILE_TRANSFER_READ), 0) << "a read at the end";
    FileSeekEnd(f, 4);
    EXPECT_EQ(FileReadWrite(f, buffer, 10, FILE_TRANSFER_READ), 4) << "cut at the logical size";
    FileSkip(f, -100);
    EXPECT_EQ(FileTell(f), 0u) << "a step before the start stops at 0";
    EXPECT_EQ(FileGetSize(f), 10u);
    FileSeekEnd(f, 50);
    EXPECT_EQ(FileTell(f), 0u);
    FileSeek(f, 40);
    EXPECT_EQ(FileGetSize(f), 40u) << "a seek past the end grows the size";
    EXPECT_EQ(FileReadWrite(f, buffer, -1, FILE_TRANSFER_READ), -1);
    FileClose(f);
    EXPECT_EQ(VxDiskRead(path), "0123456789") << "without writing";
    EXPECT_EQ(FileReadWrite(-1, buffer, 1, FILE_TRANSFER_READ), -1);
    EXPECT_EQ(FileReadWrite(FILE_MAX_OPEN, buffer, 1, FILE_TRANSFER_READ), -1);
}

// ---- Lines and pointers ----

TEST_F(FileTable, LinesInEveryPath) {
    // The second line straddles the first block boundary.
    std::string text = "first\r\n" + std::string(FILE_BLOCK_SIZE, 'm') + "\r\n\nlast";
    std::vector<std::string> lines = {"first", std::string(FILE_BLOCK_SIZE, 'm'), "", "last"};
    struct {
        const char *name;
        int mappable, direct;
    } cases[] = {{"cached", 0, 0}, {"mapped", 1, 0}, {"direct", 0, 1}};
    std::string path = Path("lines");
    VxDiskWrite(path, text);
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        int f = FileOpenEx(path.c_str(), c.mappable ? FILE_OPEN_MAPPABLE : FILE_OPEN_EXISTING);
        if (c.direct) FileSetDirect(f, 1);
        std::vector<std::string> got;
        std::string buffer(FILE_BLOCK_SIZE + 100, 0);
        while (FileReadLineSz(f, buffer.data(), (int32_t)buffer.size()) > 0) got.push_back(buffer.c_str());
        EXPECT_EQ(got, lines);
        FileSeek(f, 0);
        EXPECT_EQ(FileReadLine(f, buffer.data(), 3), 3) << "at most max";
        EXPECT_EQ(FileReadLine(f, buffer.data(), 100), 4);
        EXPECT_EQ(FileTell(f), 7u);
        FileClose(f);
    }
    int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    FileGetRec(f)->flags |= FILE_UNREADABLE;
    char line[16];
    EXPECT_EQ(FileReadLine(f, line, 16), 2);
    EXPECT_EQ(std::string(line, 2), "\r\n");
    EXPECT_EQ(FileReadWrite(f, line, 5, FILE_TRANSFER_READ), 5);
    EXPECT_EQ(std::string(line, 5), "?????");
    EXPECT_EQ(FileTell(f), 0u);
    FileClose(f);
}

TEST_F(FileTable, WriteLines) {
    std::string path = Path("wl");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    EXPECT_TRUE(FileWriteLine(f, "one"));
    EXPECT_TRUE(FileWriteLineN(f, "twofold", 3));
    FileClose(f);
    EXPECT_EQ(VxDiskRead(path), "one\r\ntwo\r\n");
}

TEST_F(FileTable, PointerReads) {
    std::mt19937 rng(3);
    std::string text = FileRandomBytes(rng, 3 * FILE_BLOCK_SIZE);
    std::string path = Path("ptr");
    VxDiskWrite(path, text);
    char buffer[FILE_BLOCK_SIZE];
    int32_t n = 0;
    int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    const char *p = (const char *)FileReadPtr(f, 100, buffer, 50, &n);
    EXPECT_NE(p, buffer) << "inside one block: a pointer into the cache";
    EXPECT_EQ(std::string(p, n), text.substr(100, 50));
    p = (const char *)FileReadPtr(f, FILE_BLOCK_SIZE - 10, buffer, 20, &n);
    EXPECT_EQ(p, buffer) << "across a boundary: the caller's buffer";
    EXPECT_EQ(std::string(p, n), text.substr(FILE_BLOCK_SIZE - 10, 20));
    p = (const char *)FileReadPtr(f, (uint32_t)text.size() - 5, buffer, 20, &n);
    EXPECT_EQ(n, 5) << "cut at the logical end";
    p = (const char *)FileReadPtr(f, (uint32_t)text.size() + 5, buffer, 20, &n);
    EXPECT_EQ(n, 0);
    FileClose(f);
    f = FileOpenEx(path.c_str(), FILE_OPEN_MAPPABLE);
    ASSERT_NE(FileGetRec(f)->view, nullptr);
    p = (const char *)FileReadPtr(f, FILE_BLOCK_SIZE - 10, buffer, 20, &n);
    EXPECT_EQ(p, FileGetRec(f)->view + FILE_BLOCK_SIZE - 10) << "mapped: the view itself";
    EXPECT_EQ(std::string(p, n), text.substr(FILE_BLOCK_SIZE - 10, 20));
    FileClose(f);
}

// ---- Copies ----

TEST_F(FileTable, CopyRangeAndData) {
    std::mt19937 rng(5);
    std::string text = FileRandomBytes(rng, 3 * FILE_BLOCK_SIZE + 77);
    std::string src = Path("src"), dst = Path("dst");
    VxDiskWrite(src, text);
    for (int mapped = 0; mapped < 2; mapped++) {
        SCOPED_TRACE(mapped ? "mapped" : "cached");
        VxDiskWrite(dst, std::string(text.size(), '-'));
        uint32_t mappable = mapped ? (uint32_t)FILE_OPEN_MAPPABLE : 0u;
        int s = FileOpenEx(src.c_str(), FILE_OPEN_READONLY | mappable);
        int d = FileOpenEx(dst.c_str(), FILE_OPEN_EXISTING | mappable);
        ASSERT_EQ(FileGetRec(s)->view != nullptr, mapped != 0);
        FileSeek(d, 10);
        EXPECT_TRUE(FileCopyRange(s, 5000, d, 9000));
        EXPECT_EQ(FileTell(d), 9010u);
        EXPECT_FALSE(FileCopyRange(s, (uint32_t)text.size() - 10, d, 20)) << "the source ends first";
        FileClose(d);
        FileClose(s);
        std::string expected(text.size(), '-');
        expected.replace(10, 9000, text.substr(5000, 9000));
        EXPECT_EQ(VxDiskRead(dst).substr(0, 9010), expected.substr(0, 9010));
    }
    int s = FileOpen(src.c_str(), FILE_OPEN_EXISTING), d = FileOpen(dst.c_str(), FILE_OPEN_CREATE);
    EXPECT_TRUE(FileCopyData(s, d));
    FileClose(d);
    FileClose(s);
    EXPECT_EQ(VxDiskRead(dst), text);
}

// ---- Handles, names and information ----

TEST_F(FileTable, RenameOpen) {
    std::string from = Path("old.txt"), to = Path("new.txt");
    VxDiskWrite(from, "content");
    int f = FileOpen(from.c_str(), FILE_OPEN_EXISTING);
    ASSERT_TRUE(FileRenameOpen(f, to.c_str()));
    char path[256];
    FileGetPath(f, path);
    EXPECT_EQ(std::string(path), to);
    char buffer[8] = {};
    EXPECT_EQ(FileReadWrite(f, buffer, 7, FILE_TRANSFER_READ), 7) << "the handle was reopened";

    std::string nowhere = dir + "\\missing\\x.txt";
    EXPECT_EQ(FileRenameOpen(f, nowhere.c_str()), 0)
        << "a failed rename is a failure, though the file reopened";
    FileGetPath(f, path);
    EXPECT_EQ(std::string(path), to);
    FileSeek(f, 0);
    EXPECT_EQ(FileReadWrite(f, buffer, 7, FILE_TRANSFER_READ), 7);
    FileClose(f);
    EXPECT_EQ(VxDiskRead(to), "content");
}

TEST_F(FileTable, SwapSlotsMovesDirtyBlocks) {
    std::string a = Path("a"), b = Path("b");
    int fa = FileOpen(a.c_str(), FILE_OPEN_CREATE), fb = FileOpen(b.c_str(), FILE_OPEN_CREATE);
    ASSERT_TRUE(FileWriteExact(fa, "for a", 5));
    ASSERT_TRUE(FileWriteExact(fb, "for b", 5));
    FileSwapSlots(fa, fb);
    char path[256];
    FileGetPath(fa, path);
    EXPECT_EQ(std::string(path), b);
    EXPECT_TRUE(FileCacheCheck());
    FileClose(fa);
    FileClose(fb);
    EXPECT_EQ(VxDiskRead(a), "for a");
    EXPECT_EQ(VxDiskRead(b), "for b");
}

TEST_F(FileTable, InfoAndTouch) {
    std::string path = Path("info");
    VxDiskWrite(path, "12345");
    FileInfo byPath, byFile, missing;
    ASSERT_TRUE(FileGetInfoByPath(path.c_str(), &byPath));
    EXPECT_EQ(byPath.size, 5u);
    EXPECT_NE(byPath.timeHigh, 0u);
    EXPECT_EQ(FileGetSizeByPath(path.c_str()), 5u);
    FileOsFind fd;
    FileHandle find = 0;
    ASSERT_EQ(FileOsDefaultCalls()->findFirst(path.c_str(), &fd, &find), 1);
    FileOsDefaultCalls()->findEnd(find);
    FileInfo entry;
    FileInfoFromFindData(&fd, &entry);
    EXPECT_TRUE(FileInfoEqual(&entry, &byPath));
    EXPECT_FALSE(FileGetInfoByPath(Path("nothing").c_str(), &missing));
    EXPECT_EQ(missing.size, 0u);
    EXPECT_EQ(FileGetSizeByPath(Path("nothing").c_str()), 0u);

    int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    FileSeekEnd(f, 0);
    ASSERT_TRUE(FileWriteExact(f, "678", 3));
    ASSERT_TRUE(FileGetInfo(f, &byFile));
    EXPECT_EQ(byFile.size, 8u) << "written back before the system is asked";
    EXPECT_FALSE(FileInfoEqual(&byPath, &byFile));
    FileInfo old = byFile;
    old.timeLow -= 100000000; // ten seconds earlier
    if (old.timeLow > byFile.timeLow) old.timeHigh--;
    ASSERT_TRUE(FileTouch(f));
    FileInfo touched;
    ASSERT_TRUE(FileGetInfo(f, &touched));
    EXPECT_TRUE(FileTimeNewer(&touched, &old));
    EXPECT_FALSE(FileTimeNewer(&old, &touched));
    FileInfo zero = {};
    EXPECT_FALSE(FileTimeNewer(&zero, &touched));
    EXPECT_TRUE(FileTimeNewer(&touched, &zero));
    EXPECT_TRUE(FileInfoEqual(&touched, &touched));
    FileClose(f);
    EXPECT_TRUE(FileTouchByPath(path.c_str()));
}

TEST_F(FileTable, ReopenWritableAndReadOnly) {
    std::string path = Path("reopen");
    VxDiskWrite(path, "abc");
    int f = FileOpenSeq(path.c_str(), FILE_OPEN_READONLY);
    EXPECT_TRUE(FileGetRec(f)->flags & FILE_READONLY);
    EXPECT_EQ(FileReopenWritable(f, 0), 0) << "only when asked to try";
    ASSERT_EQ(FileReopenWritable(f, 1), 1);
    EXPECT_FALSE(FileGetRec(f)->flags & FILE_READONLY);
    EXPECT_TRUE(FileGetRec(f)->flags & FILE_SEQ) << "the sequential hint is kept";
    FileSeekEnd(f, 0);
    ASSERT_TRUE(FileWriteExact(f, "d", 1));
    ASSERT_EQ(FileReopenReadOnly(f), 1) << "the dirty block is written before the handle goes";
    EXPECT_TRUE(FileGetRec(f)->flags & FILE_READONLY);
    EXPECT_EQ(VxDiskRead(path), "abcd");
    ASSERT_TRUE(FileReleaseOsHandle(f));
    EXPECT_EQ(FileGetRec(f)->handle, 0);
    ASSERT_TRUE(FileEnsureOsHandle(f));
    char buffer[4];
    FileSeek(f, 0);
    EXPECT_TRUE(FileReadExact(f, buffer, 4));
    FileClose(f);
}

TEST_F(FileTable, CloseDeleteDropsBlocks) {
    std::string path = Path("gone");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    ASSERT_TRUE(FileWriteExact(f, "data", 4));
    FileOsResetStats();
    FileCloseDelete(f);
    EXPECT_EQ(FileOsGetStats().writes, 0u) << "blocks are dropped unwritten";
    EXPECT_EQ(FileFindOpen(path.c_str()), -1) << "closed whatever the count";
    EXPECT_EQ(VxDiskRead(path), "<missing>");
}

// ---- FileCompare ----

TEST_F(FileTable, Compare) {
    std::mt19937 rng(9);
    std::string body = FileRandomBytes(rng, 5000);
    std::string changed = body;
    changed[4500] ^= 1;
    struct {
        const char *name;
        std::string a, b;
        int expected;
    } cases[] = {
        {"identical", body, body, 0},
        {"both empty", "", "", 0},
        {"a longer copy", body, body + std::string(100, 'z'), -100},
        {"a shorter copy", body + "zz", body, 2},
        {"one byte differs", body, changed, -1},
    };
    std::string a = Path("ca"), b = Path("cb");
    for (auto &c : cases) {
        VxDiskWrite(a, c.a);
        VxDiskWrite(b, c.b);
        EXPECT_EQ(FileCompare(a.c_str(), b.c_str()), c.expected) << c.name;
    }
    EXPECT_EQ(FileCompare(a.c_str(), Path("missing").c_str()), -1);
    EXPECT_EQ(FileCompare(Path("missing").c_str(), a.c_str()), -1);
    EXPECT_EQ(FileCompare(a.c_str(), a.c_str()), 0) << "the same path shares one slot";
    int held = FileOpen(a.c_str(), FILE_OPEN_EXISTING);
    FileSeek(held, 123);
    EXPECT_EQ(FileCompare(a.c_str(), b.c_str()), -1);
    EXPECT_EQ(FileTell(held), 123u) << "a caller's open file keeps its position";
    FileClose(held);
}

// ---- Failures through the system-call table ----

static uint32_t fileShortFraction = 2;

static int FileHalfWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved) {
    return FileOsDefaultCalls()->write(h, buffer, length / fileShortFraction, moved);
}

TEST_F(FileTable, ShortDirectWriteReportsWhatMoved) {
    std::string path = Path("short");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    FileSetDirect(f, 1);
    FileOsOverride os;
    os.calls.write = FileHalfWrite;
    os.Install();
    EXPECT_EQ(FileReadWrite(f, (void *)"12345678", 8, FILE_TRANSFER_WRITE), 4);
    EXPECT_STREQ(ErcGet(), ercFileWriteFor);
    EXPECT_EQ(FileTell(f), 4u);
    EXPECT_EQ(FileGetSize(f), 4u);
    EXPECT_FALSE(FileWriteExact(f, "ab", 2));
    FileOsSetCalls(nullptr);
    FileClose(f);
    EXPECT_EQ(VxDiskRead(path), "1234a");
}

TEST_F(FileTable, InjectedWriteFailureInDirectFile) {
    std::string path = Path("full");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    FileSetDirect(f, 1);
    FileOsWriteFailNth(2);
    EXPECT_TRUE(FileWriteExact(f, "ok", 2));
    EXPECT_EQ(FileReadWrite(f, (void *)"no", 2, FILE_TRANSFER_WRITE), -1);
    EXPECT_STREQ(ErcGet(), ercFileWrite);
    EXPECT_EQ(ErcGetSysError(), 112u);
    EXPECT_STREQ(FileGetRec(f)->lastError, ercFileWrite);
    EXPECT_TRUE(FileWriteExact(f, "!", 1));
    FileClose(f);
    EXPECT_EQ(VxDiskRead(path), "ok!");
}

// A view that is no longer backed: every touch of it faults.
static void *fileDeadView;

static int FileMapDead(FileHandle, int, uint32_t, FileHandle *mapping, void **view) {
    *mapping = 1;
    *view = fileDeadView;
    return 1;
}

static int FileUnmapDead(FileHandle, void *) {
    return 1;
}

TEST_F(FileTable, FaultInMappedViewIsAnError) {
    fileDeadView = VxDeadPages(65536);
    ASSERT_NE(fileDeadView, nullptr);
    char probe[4] = {1, 2, 3, 4};
    EXPECT_EQ(FileOsCopyGuarded(probe, fileDeadView, 4), 0) << "the guarded copy itself";
    EXPECT_EQ(FileOsCopyGuarded(fileDeadView, probe, 4), 0);
    EXPECT_EQ(FileOsCopyGuarded(probe + 2, probe, 2), 1);

    std::string path = Path("mapped");
    VxDiskWrite(path, std::string(5000, 'm'));
    FileOsOverride os;
    os.calls.map = FileMapDead;
    os.calls.unmap = FileUnmapDead;
    os.Install();
    int f = FileOpenEx(path.c_str(), FILE_OPEN_MAPPABLE);
    ASSERT_EQ(FileGetRec(f)->view, fileDeadView);
    char buffer[16];
    memset(buffer, 'q', sizeof buffer);
    EXPECT_EQ(FileReadWrite(f, buffer, 16, FILE_TRANSFER_READ), -1);
    EXPECT_EQ(std::string(buffer, 16), std::string(16, 0)) << "the buffer is zero-filled";
    char text[ERC_TEXT_MAX];
    ErcGetText(text);
    EXPECT_EQ(std::string(text), "File read error for " + path);
    EXPECT_EQ(FileReadWrite(f, buffer, 16, FILE_TRANSFER_WRITE), -1);
    EXPECT_STREQ(ErcGet(), ercFileWriteFor);
    int32_t n;
    EXPECT_EQ(FileReadPtr(f, 0, buffer, 16, &n), nullptr);
    EXPECT_EQ(FileReadLine(f, buffer, 16), -1);
    FileClose(f);
    VxFreeDeadPages(fileDeadView, 65536);
}

// ---- Idle, remap step and shutdown ----

static uint32_t fileFakeNow;

static uint32_t FileFakeClock() {
    return fileFakeNow;
}

TEST_F(FileTable, IdleMapsMappableFilesOncePerSecond) {
    std::string path = Path("idle");
    VxDiskWrite(path, "idle bytes");
    FileOsOverride os;
    os.Install();
    TickSetClock(FileFakeClock, nullptr);
    fileFakeNow = 50000;
    FileIdle(); // the first call runs at once
    int f = FileOpenEx(path.c_str(), FILE_OPEN_CREATE | FILE_OPEN_MAPPABLE);
    ASSERT_TRUE(FileWriteExact(f, "fresh", 5));
    EXPECT_EQ(FileGetRec(f)->view, nullptr) << "created files are not mapped at open";
    fileFakeNow += 500;
    FileIdle();
    EXPECT_EQ(FileGetRec(f)->view, nullptr) << "not yet a second later";
    fileFakeNow += 600;
    FileIdle();
    ASSERT_NE(FileGetRec(f)->view, nullptr);
    EXPECT_EQ(std::string(FileGetRec(f)->view, 5), "fresh") << "dirty blocks written before mapping";
    FileClose(f);

    // The remap step inside transfers: every 100 transfers, and only 5 s after the last one.
    f = FileOpenEx(path.c_str(), FILE_OPEN_MAPPABLE);
    FileUnmap(f);
    char c;
    for (int i = 0; i < 150; i++) {
        FileSeek(f, 0);
        FileReadWrite(f, &c, 1, FILE_TRANSFER_READ);
    }
    EXPECT_EQ(FileGetRec(f)->view, nullptr) << "the clock has not moved";
    fileFakeNow += 5001;
    for (int i = 0; i < 60; i++) {
        FileSeek(f, 0);
        FileReadWrite(f, &c, 1, FILE_TRANSFER_READ);
    }
    EXPECT_NE(FileGetRec(f)->view, nullptr);
    FileClose(f);
}

TEST_F(FileTable, ShutdownWritesFilesHeldTwice) {
    std::string path = Path("twice");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    ASSERT_TRUE(FileWriteExact(f, "kept", 4));
    FileShutdown();
    EXPECT_EQ(FileCountOpen(), 0);
    EXPECT_FALSE(FileCacheIsReady());
    EXPECT_EQ(VxDiskRead(path), "kept");
    openBefore = 0;
}

TEST_F(FileTable, UnmappedWhenSeekPassesTheView) {
    std::string path = Path("view");
    VxDiskWrite(path, std::string(100, 'v'));
    int f = FileOpenEx(path.c_str(), FILE_OPEN_MAPPABLE);
    ASSERT_NE(FileGetRec(f)->view, nullptr);
    FileSeek(f, 70000); // the logical size passes the view
    FileSeek(f, 4000);  // the read crosses the view's only page
    std::string back(1000, '?');
    EXPECT_EQ(FileReadWrite(f, back.data(), 1000, FILE_TRANSFER_READ), 1000) << "no read past the view";
    EXPECT_EQ(back, std::string(1000, 0));
    FileSeek(f, 50);
    EXPECT_EQ(FileReadWrite(f, back.data(), 60, FILE_TRANSFER_READ), 60);
    EXPECT_EQ(back.substr(0, 60), std::string(50, 'v') + std::string(10, 0));
    FileClose(f);
}

// ---- A file too large to open ----

static int FileFiveGigabytes(FileHandle, uint64_t *size) {
    *size = 5ull << 30;
    return 1;
}

// The file layer shows no box of its own: the caller decides how to report the current error.
TEST_F(FileTable, TooLargeToOpenSetsTheErrorWithoutAnAlert) {
    std::string path = Path("huge.bin");
    VxDiskWrite(path, "small on disk");
    FileOsOverride os;
    os.calls.getSize = FileFiveGigabytes;
    os.Install();
    VxAlertsReset();
    EXPECT_EQ(FileOpen(path.c_str(), FILE_OPEN_EXISTING), -1);
    EXPECT_STREQ(ErcGet(), ercFileTooLargeOpen);
    char text[ERC_TEXT_MAX];
    ErcGetText(text);
    EXPECT_EQ(std::string(text), "File is too large to open: " + path);
    EXPECT_TRUE(VxAlerts().empty()) << "no alert from the file layer";
    EXPECT_EQ(FileCountOpen(), openBefore) << "the slot is free again";
    EXPECT_EQ(FileFindOpen(path.c_str()), -1);
    FileOsSetCalls(nullptr);
    VxRemoveFile(path);
    EXPECT_FALSE(VxFileExists(path)) << "no system handle is left open on it";
}
