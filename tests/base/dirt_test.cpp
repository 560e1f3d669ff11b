// Directory trees: a tree built for a folder three levels below the test folder (records from the root, sorted
// siblings with the path's components marked, leaf bits, expanded parents, the out index and the path built
// back from it), missing components and files as components, names longer than 63 characters, short-name
// components, finding paths ignoring case, expanding one and several levels; the current folder stays.
#include "base/dirt.h"
#include "base/folder.h"
#include "base/path.h"
#include "base/dirtest.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct TreeFree {
    void operator()(Trl *tree) const { PlexFree(&tree->plex); }
};
using TreePtr = std::unique_ptr<Trl, TreeFree>;

// The names of a record's children, in tree order.
std::vector<std::string> Children(const Trl *tree, int32_t index) {
    std::vector<std::string> names;
    int32_t depth = TrlDepthAt(tree, index);
    for (int32_t i = index + 1; i < TrlCount(tree) && TrlDepthAt(tree, i) > depth; i++)
        if (TrlDepthAt(tree, i) == depth + 1) names.push_back(DirtAt(tree, i)->name);
    return names;
}

std::string PathOf(const Trl *tree, int32_t index) {
    char path[PATH_BUFFER];
    DirtGetPath(tree, index, path);
    return path;
}

uint32_t FlagsOf(const Trl *tree, const std::string &path) {
    int32_t i = DirtFindPath(tree, path.c_str());
    EXPECT_GE(i, 0) << path;
    return i >= 0 ? DirtAt(tree, i)->flags : 0xFFFFFFFF;
}

} // namespace

class DirtTest : public testing::Test {
protected:
    std::string base, cwd;
    void SetUp() override {
        base = DtFreshDir();
        DtMakeDirs(base, {"z", "a", "_m", "m", "a\\c", "a\\b", "a\\Q", "a\\c\\d"});
        DtMakeFile(base + "\\a\\file.txt");
        VxSetCurrentDir(base);
        cwd = DtCwd();
    }
    void TearDown() override { EXPECT_EQ(DtCwd(), cwd) << "the current folder is put back"; }
};

TEST_F(DirtTest, TreeForPath) {
    int32_t out = -1;
    TreePtr tree(DirtCreateForPath((base + "\\a\\b").c_str(), &out));
    ASSERT_TRUE(tree);
    EXPECT_TRUE(TrlCheck(tree.get()));
    char root[PATH_BUFFER];
    PathGetRoot(base.c_str(), root);
    EXPECT_TRUE(DtSameI(DirtAt(tree.get(), 0)->name, root));
    EXPECT_EQ(TrlDepthAt(tree.get(), 0), 0);
    EXPECT_TRUE(DtSameI(PathOf(tree.get(), out), base + "\\a\\b"));
    EXPECT_EQ(out, DirtFindPath(tree.get(), (base + "\\a\\b").c_str()));

    int32_t at = DirtFindPath(tree.get(), base.c_str());
    ASSERT_GE(at, 0);
    EXPECT_EQ(Children(tree.get(), at), (std::vector<std::string>{"a", "m", "_m", "z"}))
        << "identifier order: case-blind, underscores after";
    int32_t a = DirtFindPath(tree.get(), (base + "\\a").c_str());
    EXPECT_EQ(a, at + 1);
    EXPECT_EQ(Children(tree.get(), a), (std::vector<std::string>{"b", "c", "Q"}));
    EXPECT_EQ(TrlSubtreeSize(tree.get(), a), 3) << "the levels below b and c are not listed";

    struct Case {
        const char *relative;
        uint32_t flags;
        bool expanded;
    } cases[] = {
        {"", DIRT_ON_PATH, true}, {"a", DIRT_ON_PATH, true},  {"m", DIRT_LEAF, false},
        {"_m", DIRT_LEAF, false}, {"z", DIRT_LEAF, false},    {"a\\b", DIRT_ON_PATH | DIRT_LEAF, false},
        {"a\\c", 0, false},       {"a\\Q", DIRT_LEAF, false},
    };
    for (const Case &c : cases) {
        std::string path = base + (*c.relative ? "\\" : "") + c.relative;
        EXPECT_EQ(FlagsOf(tree.get(), path), c.flags) << path;
        int32_t i = DirtFindPath(tree.get(), path.c_str());
        EXPECT_EQ((TrlAt(tree.get(), i)->bits & TRL_EXPANDED) != 0, c.expanded) << path;
    }
}

TEST_F(DirtTest, FindPathIgnoresCase) {
    int32_t out;
    TreePtr tree(DirtCreateForPath((base + "\\a\\c").c_str(), &out));
    ASSERT_TRUE(tree);
    std::string lower = base + "\\A\\C";
    for (char &c : lower) c = (char)tolower((unsigned char)c);
    EXPECT_EQ(DirtFindPath(tree.get(), lower.c_str()), out);
    std::string drive = std::string(DirtAt(tree.get(), 0)->name).substr(0, 2);
    EXPECT_EQ(DirtFindPath(tree.get(), drive.c_str()), 0) << "a drive without its backslash finds the root";
    EXPECT_EQ(DirtFindPath(tree.get(), (base + "\\a\\c\\d").c_str()), -1) << "not listed";
    EXPECT_EQ(DirtFindPath(tree.get(), (base + "\\a\\nope").c_str()), -1);
    EXPECT_EQ(DirtFindPath(tree.get(), "\\\\host\\share\\a"), -1) << "another root";
}

TEST_F(DirtTest, MissingComponentsGiveNoTree) {
    const char *bad[] = {"a\\nope", "nope\\b", "a\\file.txt", "a\\b\\deeper"};
    for (const char *relative : bad) {
        int32_t out = 7;
        EXPECT_FALSE(DirtCreateForPath((base + "\\" + relative).c_str(), &out)) << relative;
        EXPECT_EQ(out, -1);
        EXPECT_EQ(DtCwd(), cwd) << relative;
    }
}

// Names of any length stay whole: a record that cut them would build paths that do not exist.
TEST_F(DirtTest, LongNamesStayWhole) {
    std::string longName(100, 'n');
    DtMakeDirs(base, {longName, longName + "\\inner"});
    int32_t out;
    TreePtr tree(DirtCreateForPath((base + "\\" + longName + "\\inner").c_str(), &out));
    ASSERT_TRUE(tree);
    std::string path = PathOf(tree.get(), out);
    EXPECT_TRUE(DtSameI(path, base + "\\" + longName + "\\inner"));
    EXPECT_TRUE(DirExists(path.c_str()));
}

// Temporary and profile folders often come in short names ("PROGRA~1"), which only some systems keep: the
// search is scripted to give one.
TEST_F(DirtTest, ShortNameComponents) {
    std::string longName = "a folder with a long name";
    DtMakeDirs(base, {longName, longName + "\\in"});
    DtFindScript script;
    DtFindScript::ShortNames()[longName] = "AFOLDE~1";
    int32_t out;
    TreePtr tree(DirtCreateForPath((base + "\\AFOLDE~1\\in").c_str(), &out));
    ASSERT_TRUE(tree);
    EXPECT_TRUE(DtSameI(PathOf(tree.get(), out), base + "\\" + longName + "\\in"))
        << "the tree holds the long names";
}

TEST_F(DirtTest, Expanding) {
    int32_t out, added = -1;
    TreePtr tree(DirtCreateForPath((base + "\\a\\b").c_str(), &out));
    ASSERT_TRUE(tree);
    int32_t c = DirtFindPath(tree.get(), (base + "\\a\\c").c_str());
    int32_t count = TrlCount(tree.get());
    EXPECT_EQ(DirtExpand(tree.get(), c, 1, &added), 1);
    EXPECT_EQ(added, 1);
    EXPECT_EQ(TrlCount(tree.get()), count + 1);
    EXPECT_EQ(Children(tree.get(), c), std::vector<std::string>{"d"});
    EXPECT_EQ(DirtAt(tree.get(), c + 1)->flags, (uint32_t)DIRT_LEAF);
    EXPECT_TRUE(DtSameI(PathOf(tree.get(), c + 1), base + "\\a\\c\\d"));
    EXPECT_EQ(DirtExpand(tree.get(), c, 1, &added), 1);
    EXPECT_EQ(added, 0) << "an expanded record is not listed twice";
    EXPECT_EQ(DirtExpand(tree.get(), out, 1, &added), 1);
    EXPECT_EQ(added, 0) << "b has no subfolders";
    EXPECT_EQ(DirtExpand(tree.get(), TrlCount(tree.get()), 1, &added), 0);
    EXPECT_TRUE(TrlCheck(tree.get()));
}

TEST_F(DirtTest, ExpandingSeveralLevels) {
    int32_t out, added = -1;
    TreePtr tree(DirtCreateForPath(base.c_str(), &out));
    ASSERT_TRUE(tree);
    EXPECT_EQ(TrlSubtreeSize(tree.get(), out), 0);
    EXPECT_EQ(DirtExpand(tree.get(), out, 3, &added), 1);
    EXPECT_EQ(added, 8) << "a, m, _m, z; b, c, Q; d";
    std::vector<std::string> paths;
    for (int32_t i = out + 1; i < TrlSubtreeEnd(tree.get(), out); i++)
        paths.push_back(PathOf(tree.get(), i).substr(base.size()));
    EXPECT_EQ(paths, (std::vector<std::string>{"\\a", "\\a\\b", "\\a\\c", "\\a\\c\\d", "\\a\\Q", "\\m",
                                               "\\_m", "\\z"}));
}

TEST_F(DirtTest, ExpandingAFolderThatWentAway) {
    int32_t out, added = -1;
    TreePtr tree(DirtCreateForPath((base + "\\a\\b").c_str(), &out));
    ASSERT_TRUE(tree);
    VxRemoveTree(base + "\\a\\b");
    EXPECT_EQ(DirtExpand(tree.get(), out, 1, &added), 0);
    EXPECT_EQ(added, 0);
}
