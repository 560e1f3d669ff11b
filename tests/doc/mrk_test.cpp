// Mark sets (least form):
// - adding under a name, overwriting a mark of that name;
// - deleting by name index: the other marks keep their names, the current index follows;
// - finding the first mark on a line;
// - the stored form read back, and no set stored as -1.
#include "doc/mrk.h"

#include "doctest.h"

namespace {

using namespace doctest;

class MrkTest : public DocTest {};

Mark At(int32_t line) {
    return Mark{MARK_BOOKMARK, line, 0, 0, 0, 0, 0};
}

TEST_F(MrkTest, AddDeleteAndFind) {
    MarkSet *set = MrkSetCreate();
    ASSERT_NE(set, nullptr);
    Mark a = At(5), b = At(9), c = At(9);
    ASSERT_TRUE(MrkSetAdd(set, &a, "alpha") && MrkSetAdd(set, &b, "beta") && MrkSetAdd(set, &c, "_gamma"));
    Mark moved = At(7);
    ASSERT_TRUE(MrkSetAdd(set, &moved, "alpha"));
    EXPECT_EQ(MrkSetCount(set), 3) << "no duplicate names";
    EXPECT_EQ(MrkSetAt(set, 0)->line, 7);
    EXPECT_EQ(MrkSetFindLine(set, 9), 1);
    set->current = 0;
    MrkSetDelete(set, MrkSetNameIndex(set, 0));
    EXPECT_EQ(MrkSetCount(set), 2);
    EXPECT_EQ(set->current, 1) << "the current mark was the first: the last one becomes current";
    EXPECT_EQ(MrkSetAt(set, MrkSetFindLine(set, 9))->line, 9);
    EXPECT_EQ(MrkSetNameIndex(set, 1), 1) << "leading underscores are skipped: beta sorts before _gamma";
    MrkSetFree(set);
}

TEST_F(MrkTest, StoredForm) {
    MarkSet *set = MrkSetCreate();
    Mark a = At(3), b = At(1);
    MrkSetAdd(set, &a, "one");
    MrkSetAdd(set, &b, "two");
    int file = FileOpen(Path("marks").c_str(), FILE_OPEN_CREATE);
    ASSERT_TRUE(MrkSetWrite(file, set) && MrkSetWrite(file, nullptr));
    FileSeek(file, 0);
    MarkSet *back = nullptr, *none = (MarkSet *)1;
    ASSERT_TRUE(MrkSetRead(file, &back) && MrkSetRead(file, &none));
    EXPECT_EQ(none, nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(MrkSetCount(back), 2);
    EXPECT_EQ(MrkSetAt(back, 1)->line, 1);
    EXPECT_EQ(MrkSetNameIndex(back, 0), MrkSetNameIndex(set, 0));
    FileSeek(file, 3);
    MarkSet *broken = nullptr;
    EXPECT_FALSE(MrkSetRead(file, &broken));
    EXPECT_EQ(broken, nullptr);
    FileClose(file);
    MrkSetFree(set);
    MrkSetFree(back);
}

} // namespace
