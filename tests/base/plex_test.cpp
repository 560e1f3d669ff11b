// Plex: insertion and deletion against a std::vector model, growth by quantum, the auto-shrink thresholds,
// failed growth leaving the plex unchanged, binary search bounds, duplicates with extra header fields.
// The file form: its exact bytes (no pointer ever reaches the file), the round trip with extra header
// fields, and truncated or corrupted input refused without allocating or touching the out pointer.
#include "base/erc.h"
#include "base/plex.h"
#include "filetest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

static std::vector<int32_t> PlexInts(const Plex *p) {
    return std::vector<int32_t>((int32_t *)p->elem0, (int32_t *)p->elem0 + p->count);
}

TEST(Plex, MatchesVectorModel) {
    Plex *p = PlexCreate(4, 0, 1);
    ASSERT_NE(p, nullptr);
    std::vector<int32_t> model;
    std::mt19937 rng(7);
    for (int step = 0; step < 3000; step++) {
        int n = (int)(rng() % 5) + 1;
        if (rng() % 3 || model.size() < 5) {
            int at = (int)(rng() % (model.size() + 1));
            std::vector<int32_t> src(n);
            for (int32_t &v : src) v = (int32_t)rng();
            bool append = rng() % 8 == 0;
            int32_t *first = (int32_t *)PlexInsert(p, append ? -1 : at, n, src.data());
            ASSERT_NE(first, nullptr);
            if (append) at = (int)model.size();
            ASSERT_EQ(first, (int32_t *)PlexElem(p, at));
            model.insert(model.begin() + at, src.begin(), src.end());
        } else {
            int at = (int)(rng() % model.size());
            n = std::min<int>(n, (int)model.size() - at);
            PlexDelete(p, at, n);
            model.erase(model.begin() + at, model.begin() + at + n);
        }
        ASSERT_TRUE(PlexCheck(p));
        ASSERT_EQ(PlexInts(p), model);
    }
    PlexFree(p);
}

TEST(Plex, InsertReturnsFirstNewElementAndZeroFills) {
    Plex *p = PlexCreate(4, 0, 0);
    EXPECT_EQ(HSize(p->data), 4u);
    int32_t v[3] = {1, 2, 3};
    PlexInsert(p, -1, 3, v);
    int32_t *at = (int32_t *)PlexInsert(p, 3, 2, nullptr);
    EXPECT_EQ(at, (int32_t *)PlexElem(p, 3));
    EXPECT_EQ(PlexInts(p), (std::vector<int32_t>{1, 2, 3, 0, 0}));
    at = (int32_t *)PlexInsert(p, 1, 1, v + 2);
    EXPECT_EQ(*at, 3);
    EXPECT_EQ(PlexInts(p), (std::vector<int32_t>{1, 3, 2, 3, 0, 0}));
    PlexFree(p);
}

TEST(Plex, GrowthByQuantum) {
    struct Case {
        int32_t quantum, start, add, capacity;
    } cases[] = {{16, 0, 1, 16}, {16, 0, 40, 40}, {0, 5, 1, 6}, {16, 16, 1, 32}};
    for (const Case &c : cases) {
        Plex *p = PlexCreate(4, c.start, 0);
        PlexSetGrowth(p, c.quantum);
        PlexSetCount(p, c.start);
        ASSERT_EQ(PlexSetCount(p, c.start + c.add), 1);
        EXPECT_EQ(p->capacity, c.capacity) << "quantum " << c.quantum << " +" << c.add;
        PlexFree(p);
    }
}

TEST(Plex, AutoShrinkThresholds) {
    struct Case {
        int32_t quantum, spare;
        bool shrinks;
    } cases[] = {{0, 10, false}, {0, 11, true}, {20, 15, false}, {20, 20, false}, {20, 21, true}};
    for (const Case &c : cases) {
        Plex *p = PlexCreate(4, 0, 1);
        PlexSetGrowth(p, c.quantum);
        PlexSetCount(p, 40);
        int32_t cap = p->capacity;
        PlexDelete(p, 0, c.spare - (cap - 40));
        EXPECT_EQ(p->capacity, c.shrinks ? p->count : cap) << "quantum " << c.quantum << " spare " << c.spare;
        EXPECT_TRUE(PlexCheck(p));
        PlexFree(p);
    }
}

TEST(Plex, FailedGrowthLeavesPlexUnchanged) {
    Plex *p = PlexCreate(4, 0, 0);
    int32_t v[4] = {9, 8, 7, 6};
    PlexInsert(p, -1, 4, v);
    void *elem0 = p->elem0;
    ErcClear();
    HeapSetSizeLimit(64);
    EXPECT_EQ(PlexInsert(p, 0, 100, nullptr), nullptr);
    HeapSetSizeLimit(0);
    EXPECT_EQ(p->count, 4);
    EXPECT_EQ(p->capacity, 4);
    EXPECT_EQ(p->elem0, elem0);
    EXPECT_EQ(PlexInts(p), (std::vector<int32_t>{9, 8, 7, 6}));
    EXPECT_EQ(ErcGet(), ercLowMemory);
    EXPECT_TRUE(ErcLowMemorySeen());
    ErcClear();
    PlexFree(p);
}

static int CompareKeyInt(const void *key, const void *elem) {
    return *(const int32_t *)key - *(const int32_t *)elem;
}

TEST(Plex, SearchBoundsAndSort) {
    Plex *p = PlexCreate(4, 0, 0);
    int32_t key = 5, at = -1;
    EXPECT_EQ(PlexSearch(p, &key, &at, CompareKeyInt), 0);
    EXPECT_EQ(at, 0);
    int32_t v[5] = {40, 10, 30, 20, 50};
    PlexInsert(p, -1, 5, v);
    PlexSortInt(p);
    EXPECT_EQ(PlexInts(p), (std::vector<int32_t>{10, 20, 30, 40, 50}));
    struct Case {
        int32_t key, found, index;
    } cases[] = {{5, 0, 0}, {10, 1, 0}, {25, 0, 2}, {50, 1, 4}, {99, 0, 5}};
    for (const Case &c : cases) {
        EXPECT_EQ(PlexSearch(p, &c.key, &at, CompareKeyInt), c.found) << c.key;
        EXPECT_EQ(at, c.index) << c.key;
    }
    PlexFree(p);
}

struct PlexWithExtras {
    Plex plex;
    int32_t extra[3];
};

TEST(Plex, DupCopiesExtraHeaderAndTrimsCapacity) {
    Plex *p = PlexCreateEx(sizeof(PlexWithExtras), 2, 50, 1);
    ((PlexWithExtras *)p)->extra[0] = 11;
    ((PlexWithExtras *)p)->extra[2] = 33;
    PlexSetGrowth(p, 7);
    PlexInsert(p, -1, 3, "abcdef");
    Plex *d = PlexDup(p, sizeof(PlexWithExtras));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->capacity, 3);
    EXPECT_EQ(d->quantum, 7);
    EXPECT_EQ(d->flags, PLEX_AUTOSHRINK);
    EXPECT_EQ(((PlexWithExtras *)d)->extra[0], 11);
    EXPECT_EQ(((PlexWithExtras *)d)->extra[2], 33);
    EXPECT_EQ(memcmp(d->elem0, "abcdef", 6), 0);
    PlexFree(d);
    PlexClear(p);
    EXPECT_EQ(p->capacity, 0) << "clear trims an auto-shrinking plex";
    EXPECT_TRUE(PlexCheck(p));
    PlexFree(p);
}

// ---- The file form

using PlexFile = FileLayerTest;

// A caller's header: the plex record first, then fields of its own.
struct PlexFileOwner {
    Plex plex;
    int32_t kind;
    int32_t stamp;
};

static std::string PlexFileWords(std::initializer_list<uint32_t> words) {
    std::string bytes;
    for (uint32_t w : words)
        for (int i = 0; i < 4; i++) bytes += (char)(w >> (8 * i));
    return bytes;
}

static Plex *PlexFileSample() {
    int32_t elements[3] = {0x11223344, -2, 7};
    Plex *p = PlexCreateFrom(sizeof(PlexFileOwner), 4, 3, elements, 1);
    PlexSetGrowth(p, 9);
    PlexInsert(p, -1, 1, nullptr); // capacity grows past the count
    PlexFileOwner *owner = (PlexFileOwner *)p;
    owner->kind = 0x0A0B0C0D;
    owner->stamp = -1;
    return p;
}

static std::string PlexFileSampleBytes() {
    return PlexFileWords({4, 12, 4, 9, 0, 0, 1}) + PlexFileWords({0x0A0B0C0D, 0xFFFFFFFF}) +
           PlexFileWords({0x11223344, 0xFFFFFFFE, 7, 0});
}

TEST_F(PlexFile, BytesOnDisk) {
    Plex *p = PlexFileSample();
    ASSERT_EQ(p->capacity, 12);
    std::string path = Path("plex");
    int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    ASSERT_TRUE(PlexWrite(p, sizeof(PlexFileOwner), f));
    FileClose(f);
    EXPECT_EQ(VxDiskRead(path), PlexFileSampleBytes()) << "the handle and pointer words are written as 0";
    PlexFree(p);
}

TEST_F(PlexFile, RoundTrip) {
    std::string path = Path("plex");
    struct {
        const char *name;
        Plex *plex;
        int32_t headerSize;
    } cases[] = {
        {"extra header words", PlexFileSample(), (int32_t)sizeof(PlexFileOwner)},
        {"empty, header raised to the plex record", PlexCreate(12, 5, 0), 3},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        int f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
        FileWriteExact(f, "lead", 4); // the form starts at the position
        ASSERT_TRUE(PlexWrite(c.plex, c.headerSize, f));
        ASSERT_TRUE(FileWriteExact(f, "tail", 4));
        FileSeek(f, 4);
        Plex *back = nullptr;
        ASSERT_TRUE(PlexReadExpect(&back, c.headerSize, c.plex->elemSize, f));
        EXPECT_EQ(FileTell(f), FileGetSize(f) - 4);
        FileClose(f);
        ASSERT_TRUE(PlexCheck(back));
        EXPECT_EQ(back->count, c.plex->count);
        EXPECT_EQ(back->capacity, c.plex->count);
        EXPECT_EQ(back->elemSize, c.plex->elemSize);
        EXPECT_EQ(back->quantum, c.plex->quantum);
        EXPECT_EQ(back->flags, c.plex->flags);
        EXPECT_EQ(memcmp(back->elem0, c.plex->elem0, (size_t)back->count * back->elemSize), 0);
        size_t extra = std::max<size_t>(c.headerSize, sizeof(Plex)) - sizeof(Plex);
        EXPECT_EQ(memcmp((char *)back + sizeof(Plex), (char *)c.plex + sizeof(Plex), extra), 0);
        PlexFree(back);
        PlexFree(c.plex);
    }
}

TEST_F(PlexFile, TruncatedOrCorruptInputIsRefused) {
    std::string good = PlexFileSampleBytes();
    auto withWord = [&](int index, uint32_t value) {
        std::string bytes = good;
        bytes.replace(index * 4, 4, PlexFileWords({value}));
        return bytes;
    };
    struct {
        std::string name, bytes;
        int32_t elemSize;
    } cases[] = {
        {"negative count", withWord(0, 0xFFFFFFFF), -1},
        {"count beyond the file", withWord(0, 5), -1},
        {"a gigabyte of elements", withWord(0, 0x10000000), -1},
        {"huge count", withWord(0, 0x7FFFFFFF), -1},
        {"negative element size", withWord(2, 0xFFFFFFFC), -1},
        {"count x size overflows", withWord(2, 0x40000000), -1},
        {"element size not the expected one", withWord(2, 2), 4},
        {"negative quantum", withWord(3, 0xFFFFFFFF), -1},
        {"unknown flag", withWord(6, 3), -1},
    };
    std::vector<std::pair<std::string, std::string>> all;
    for (auto &c : cases) all.push_back({c.name, c.bytes});
    for (size_t n = 0; n < good.size(); n++)
        all.push_back({"cut at " + std::to_string(n), good.substr(0, n)});
    std::string path = Path("bad");
    int32_t live = HLiveCount();
    for (size_t i = 0; i < all.size(); i++) {
        VxDiskWrite(path, all[i].second);
        int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
        Plex *untouched = (Plex *)&path;
        Plex *out = untouched;
        int32_t elemSize = i < std::size(cases) ? cases[i].elemSize : -1;
        HeapFailNth(1); // still armed afterwards only when the reader allocated nothing
        EXPECT_FALSE(elemSize < 0 ? PlexRead(&out, sizeof(PlexFileOwner), f)
                                  : PlexReadExpect(&out, sizeof(PlexFileOwner), elemSize, f))
            << all[i].first;
        void *probe = MemAlloc(1);
        EXPECT_EQ(probe, nullptr) << all[i].first << ": refused before allocating";
        MemFree(probe);
        HeapFailNth(0);
        EXPECT_EQ(out, untouched) << all[i].first;
        FileClose(f);
    }
    ErcClear();
    EXPECT_EQ(HLiveCount(), live) << "nothing left allocated";

    VxDiskWrite(path, good);
    int f = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    Plex *out = nullptr;
    HeapFailNth(2); // the element block
    EXPECT_FALSE(PlexRead(&out, sizeof(PlexFileOwner), f));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(HLiveCount(), live);
    FileClose(f);
    ErcClear();
}

TEST_F(PlexFile, WriteFailures) {
    Plex *p = PlexFileSample();
    std::string path = Path("ro");
    VxDiskWrite(path, "");
    int f = FileOpenSeq(path.c_str(), FILE_OPEN_READONLY);
    EXPECT_FALSE(PlexWrite(p, sizeof(PlexFileOwner), f)) << "a read-only file";
    FileClose(f);
    f = FileOpen(path.c_str(), FILE_OPEN_CREATE);
    FileSetDirect(f, 1);
    FileOsWriteFailNth(3); // the elements
    EXPECT_FALSE(PlexWrite(p, sizeof(PlexFileOwner), f));
    FileClose(f);
    PlexFree(p);
}
