// Marks and mark sets:
// - link ids from "MarkID": a fresh setting starts at 1, every id written at once;
// - adding under a name (an existing name overwritten in place, flags set in both cases), kind-1 serials,
//   inserting at a plex index (names values and the current index follow), deleting by name index (the
//   other marks keep their names, the current index follows, the first mark at the current index makes the
//   last one current), the lookups by name, serial and line;
// - link sets: a deleted link end releases its file-name entry (blanked at 0) and blanks its key;
// - the stored form: its header words, a round trip with link lists, an absent set as -1, and damaged forms
//   (a value past the count, two names on one mark, kind 5, a kind-3 file index past its list, link lists
//   the presence words deny, a cut file) refused with nothing kept.
#include "doc/mrk.h"

#include "base/os.h"
#include "base/utilil.h"
#include "doctest.h"

#include <functional>

namespace {

using namespace doctest;

class MrkTest : public DocTest {
protected:
    void TearDown() override {
        MrkSetFree(set);
        DocTest::TearDown();
    }
    void Add(int32_t kind, int32_t line, const char *name, int32_t serial = 0, int32_t key = 0) {
        Mark mark = {kind, line, 0, serial, key, 0, 0};
        ASSERT_TRUE(MrkSetAdd(set, &mark, name)) << name;
    }
    // Two links, on lines a and b, to one file: its name with count 2 and a key each.
    void AddTwoLinks(int32_t a, int32_t b) {
        ASSERT_TRUE(MrkSetAddLinkLists(set));
        ASSERT_TRUE(StlAppendSz(set->fileNames, "target.c", 2));
        ASSERT_TRUE(StlAppendSz(set->keys, "1T", 0));
        ASSERT_TRUE(StlAppendSz(set->keys, "2T", 0));
        Add(MARK_LINK, a, "1S", 0, 0);
        Add(MARK_LINK, b, "2S", 0, 1);
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int32_t i = 0; i < StlCount(set->names); i++) {
            Mark mark;
            char name[256];
            EXPECT_TRUE(MrkSetGet(set, i, &mark, name));
            names.push_back(std::string(name) + "@" + std::to_string(mark.line));
        }
        return names;
    }
    MarkSet *set = MrkSetCreate();
};

unsigned char *P(const char *name) {
    static unsigned char pstr[256];
    return PstrFromSz(name, pstr);
}

TEST_F(MrkTest, LinkIds) {
    OsSettingDelete("MarkID");
    ASSERT_TRUE(MrkIdInit());
    int32_t stored = -1;
    ASSERT_TRUE(OsSettingGetInt("MarkID", &stored));
    EXPECT_EQ(stored, 0);
    EXPECT_EQ(MrkNextId(), 1);
    EXPECT_EQ(MrkNextId(), 2);
    ASSERT_TRUE(OsSettingGetInt("MarkID", &stored));
    EXPECT_EQ(stored, 2) << "written at once";
    ASSERT_TRUE(MrkIdInit());
    EXPECT_EQ(MrkNextId(), 3) << "the next run goes on from the setting";
}

TEST_F(MrkTest, AddOverwriteAndFind) {
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->current, -1);
    Add(MARK_BOOKMARK, 5, "alpha");
    Add(MARK_BOOKMARK, 9, "beta");
    Add(MARK_BOOKMARK, 9, "_gamma");
    Add(MARK_BOOKMARK, 7, "ALPHA");
    EXPECT_EQ(MrkSetCount(set), 3) << "a name used again (case-blind) replaces its mark";
    EXPECT_EQ(Names(), (std::vector<std::string>{"alpha@7", "beta@9", "_gamma@9"}))
        << "identifier order: leading underscores skipped";
    EXPECT_EQ(MrkSetFindByName(set, P("Beta")), MrkSetAt(set, 1));
    EXPECT_EQ(MrkSetFindByName(set, P("delta")), nullptr);
    EXPECT_EQ(MrkSetIndexByName(set, P("_gamma")), 2);
    EXPECT_EQ(MrkSetIndexByName(set, P("gamma")), -1);
    EXPECT_EQ(MrkSetMarkIndex(set, 2), 2);
    EXPECT_EQ(MrkSetMarkIndex(set, 3), -1);
    EXPECT_EQ(MrkSetFindLine(set, 9), 1);
    EXPECT_EQ(MrkSetMarkAtLine(set, 9), MrkSetAt(set, 1));
    EXPECT_EQ(MrkSetMarkAtLine(set, 8), nullptr);
    EXPECT_TRUE(PstrEqual(MrkSetMarkName(set, 2), P("_gamma")));
    EXPECT_EQ(set->flags, 0u);
    Add(MARK_BACKLINK, 1, "beta");
    EXPECT_EQ(set->flags, MARKSET_HAS_BACKLINKS) << "the overwrite notes the kind too";
    Add(MARK_LINK, 2, "link");
    EXPECT_EQ(set->flags, MARKSET_HAS_BACKLINKS | MARKSET_HAS_LINKS);
}

TEST_F(MrkTest, SerialsOfHistoryMarks) {
    Add(MARK_HISTORY, 1, "a", 77);
    Add(MARK_HISTORY, 2, "b", 77);
    int32_t first = MrkSetAt(set, 0)->serial, second = MrkSetAt(set, 1)->serial;
    EXPECT_GT(first, 0) << "the caller's serial is replaced";
    EXPECT_EQ(second, first + 1);
    ASSERT_TRUE(MrkSetInsertAt(set, 0, MARK_HISTORY, 3, 4, "c"));
    EXPECT_EQ(MrkSetAt(set, 0)->serial, second + 1);
    EXPECT_EQ(MrkSetFindSerial(set, second), 2);
    EXPECT_EQ(MrkSetFindSerialName(set, second), 1) << "b is the second name";
    EXPECT_EQ(MrkSetFindSerial(set, 12345), -1);
    EXPECT_EQ(MrkSetFindSerial(nullptr, first), -1);
    Add(MARK_HISTORY, 5, "a");
    EXPECT_EQ(MrkSetAt(set, 1)->serial, second + 2) << "an overwritten history mark takes a new serial";
}

TEST_F(MrkTest, InsertAtMovesTheMarksAfterIt) {
    Add(MARK_HISTORY, 10, "x");
    Add(MARK_HISTORY, 20, "y");
    set->current = 1;
    ASSERT_TRUE(MrkSetInsertAt(set, 1, MARK_HISTORY, 15, 3, "m"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"m@15", "x@10", "y@20"}));
    EXPECT_EQ(MrkSetAt(set, 1)->line, 15);
    EXPECT_EQ(MrkSetAt(set, 1)->column, 3);
    EXPECT_EQ(MrkSetNameIndex(set, 2), 2) << "y's name follows its mark to index 2";
    EXPECT_EQ(set->current, 2) << "the current index stays on its mark";
    ASSERT_TRUE(MrkSetInsertAt(set, 99, MARK_HISTORY, 30, 0, "z"));
    EXPECT_EQ(MrkSetAt(set, 3)->line, 30) << "an index past the end appends";
    std::vector<std::string> before = Names();
    std::string name(200, 'q');
    int failures = 0;
    for (int n = 1; n <= 4; n++) {
        HeapFailNth(n);
        bool ok = MrkSetInsertAt(set, 0, MARK_HISTORY, 1, 0, name.c_str());
        HeapFailNth(0);
        if (ok) {
            MrkSetDelete(set, MrkSetNameIndex(set, 0));
            continue;
        }
        failures++;
        EXPECT_EQ(Names(), before) << "allocation " << n << ": all taken back";
        EXPECT_EQ(set->current, 2);
    }
    EXPECT_GT(failures, 0);
}

TEST_F(MrkTest, DeleteKeepsNamesAndCurrent) {
    for (const char *name : {"a", "b", "c", "d"}) Add(MARK_BOOKMARK, name[0] - 'a', name);
    set->current = 2;
    MrkSetDelete(set, 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a@0", "c@2", "d@3"}));
    EXPECT_EQ(set->current, 1) << "still on c";
    set->current = 0;
    MrkSetDelete(set, 0);
    EXPECT_EQ(set->current, 1) << "the first mark was current: the last one becomes current";
    MrkSetDelete(set, 5);
    EXPECT_EQ(MrkSetCount(set), 2) << "a bad index deletes nothing";
    Add(MARK_LINK, 0, "l");
    while (MrkSetCount(set) > 0) MrkSetDelete(set, 0);
    EXPECT_EQ(set->current, -1);
    EXPECT_EQ(set->flags, 0u) << "an empty set clears both flags";
}

TEST_F(MrkTest, LinkEndsReleaseTheirEntries) {
    AddTwoLinks(1, 2);
    MrkSetDelete(set, 0);
    unsigned char name[256];
    int32_t count;
    StlGet(set->fileNames, 0, name, &count);
    EXPECT_TRUE(PstrEqual(name, P("target.c")));
    EXPECT_EQ(count, 1);
    StlGet(set->keys, 0, name, &count);
    EXPECT_EQ(name[0], 0) << "the deleted link's key is blanked";
    MrkSetDelete(set, 0);
    StlGet(set->fileNames, 0, name, &count);
    EXPECT_EQ(name[0], 0) << "the last reference blanks the file name";
    EXPECT_EQ(count, 0);
    EXPECT_EQ(StlCount(set->fileNames), 1) << "never removed";
    EXPECT_EQ(StlCount(set->keys), 2);
}

// ---- The stored form ----

class MrkFileTest : public MrkTest {
protected:
    void TearDown() override {
        if (file >= 0) FileClose(file);
        MrkTest::TearDown();
    }
    void Write(const MarkSet *written) {
        if (file < 0) file = FileOpen(Path("marks").c_str(), FILE_OPEN_CREATE);
        ASSERT_GE(file, 0);
        FileSetSize(file, 0);
        FileSeek(file, 0);
        ASSERT_TRUE(MrkSetWrite(file, written));
    }
    int Read(MarkSet **out) {
        FileSeek(file, 0);
        return MrkSetRead(file, out);
    }
    int32_t Word(uint32_t at) {
        int32_t word = 0;
        FileSeek(file, at);
        FileReadExact(file, &word, 4);
        return word;
    }
    // A link set with two links to one file and a bookmark.
    void Fill() {
        AddTwoLinks(4, 8);
        Add(MARK_BOOKMARK, 6, "b");
        set->current = 2;
    }
    // A refused read keeps nothing: the heap holds what it held before.
    void ExpectRefused(const std::string &what) {
        uint32_t heapBefore = HeapTotal();
        int32_t handlesBefore = HLiveCount();
        MarkSet *back = set;
        EXPECT_FALSE(Read(&back)) << what;
        EXPECT_EQ(back, nullptr) << what;
        EXPECT_EQ(HeapTotal(), heapBefore) << what << ": nothing kept";
        EXPECT_EQ(HLiveCount(), handlesBefore) << what;
    }
    int file = -1;
};

TEST_F(MrkFileTest, HeaderWordsAndRoundTrip) {
    Fill();
    Write(set);
    MarkSet *back = nullptr;
    ASSERT_TRUE(Read(&back));
    const int32_t header[] = {3,
                              set->plex.capacity,
                              28,
                              set->plex.quantum,
                              0,
                              0,
                              PLEX_AUTOSHRINK,
                              (int32_t)MARKSET_HAS_LINKS,
                              2,
                              1,
                              1,
                              1,
                              0};
    EXPECT_EQ(Word(0), 3) << "the count";
    for (uint32_t i = 0; i < 13; i++) EXPECT_EQ(Word(4 + 4 * i), header[i]) << "header word " << i;
    EXPECT_EQ(Word(4 + 52 + 28 + 4), 8) << "the marks follow the 52-byte header";
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(MrkSetCount(back), 3);
    EXPECT_EQ(back->current, 2);
    EXPECT_EQ(back->flags, (uint32_t)MARKSET_HAS_LINKS);
    EXPECT_EQ(MrkSetFindByName(back, P("2S"))->line, 8);
    EXPECT_EQ(MrkSetFindByName(back, P("b"))->kind, MARK_BOOKMARK);
    ASSERT_TRUE(back->fileNames && back->keys);
    EXPECT_EQ(StlCount(back->keys), 2);
    MrkSetDelete(back, MrkSetNameIndex(back, 0));
    EXPECT_EQ(StlItemValue(StlItem(back->fileNames, 0)), 1) << "the read lists work as the written ones";
    MrkSetFree(back);
}

TEST_F(MrkFileTest, AbsentSetIsMinusOne) {
    Write(nullptr);
    MarkSet *back = set;
    ASSERT_TRUE(Read(&back));
    EXPECT_EQ(back, nullptr);
    EXPECT_EQ(FileGetSize(file), 4u);
    EXPECT_EQ(Word(0), -1);
}

TEST_F(MrkFileTest, DamagedFormsAreRefused) {
    struct Case {
        const char *what;
        std::function<void(MarkSet *)> damage;
    } cases[] = {
        {"a names value past the count", [](MarkSet *s) { PlexVarPut32(StlItem(s->names, 1), 3); }},
        {"two names on one mark", [](MarkSet *s) { PlexVarPut32(StlItem(s->names, 1), 0); }},
        {"kind 5", [](MarkSet *s) { MrkSetAt(s, 2)->kind = 5; }},
        {"kind 0", [](MarkSet *s) { MrkSetAt(s, 2)->kind = 0; }},
        {"a kind-3 file index past its list", [](MarkSet *s) { MrkSetAt(s, 1)->serial = 1; }},
        {"a kind-4 key index below 0",
         [](MarkSet *s) {
             MrkSetAt(s, 1)->kind = MARK_BACKLINK;
             MrkSetAt(s, 1)->key = -1;
         }},
        {"link marks without link lists",
         [](MarkSet *s) {
             StlFreeNull(&s->fileNames);
             StlFreeNull(&s->keys);
         }},
        {"a file-name list without its key list", [](MarkSet *s) { StlFreeNull(&s->keys); }},
        {"a name missing", [](MarkSet *s) { StlDelete(s->names, 0); }},
    };
    for (const Case &c : cases) {
        MrkSetFree(set);
        set = MrkSetCreate();
        Fill();
        c.damage(set);
        Write(set);
        ExpectRefused(c.what);
    }
}

TEST_F(MrkFileTest, CutFormsAreRefused) {
    Fill();
    Write(set);
    uint32_t size = FileGetSize(file);
    for (uint32_t cut : {3u, 20u, 56u, 100u, size - 1}) {
        FileSetSize(file, cut);
        ExpectRefused("cut at " + std::to_string(cut));
        Write(set);
    }
}

} // namespace
