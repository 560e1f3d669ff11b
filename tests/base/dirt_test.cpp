// Directory search and directory trees.
// Search: attribute filters (files, folders, any), a pattern without wildcards, names cut to the caller's
// size, the shared handle ended by FileFindClose, and the older system family's refusal of a bare server
// name. File times: touching a file, a file time as date text.
// Trees: a tree built for a folder three levels below the test folder (records from the root, sorted
// siblings with the path's components marked, leaf bits, expanded parents, the out index and the path built
// back from it), missing components and files as components, names longer than 63 characters, short-name
// components, finding paths ignoring case, expanding one and several levels; the current folder stays.
#include "base/dirt.h"
#include "base/folder.h"
#include "base/path.h"
#include "base/sysprobe.h"
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

std::vector<std::string> FindAll(const std::string &pattern, int filter) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    char name[256];
    for (int more = FileFind(1, filter, pattern.c_str(), &fd, name); more;
         more = FileFind(0, filter, pattern.c_str(), &fd, name))
        names.push_back(name);
    FileFindClose();
    std::sort(names.begin(), names.end());
    return names;
}

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

TEST(FileFind, FiltersAndPatterns) {
    std::string dir = DtFreshDir();
    DtMakeDirs(dir, {"s1", "s2"});
    DtMakeFile(dir + "\\f1.txt");
    DtMakeFile(dir + "\\f2.c");
    struct Case {
        int filter;
        std::vector<std::string> names;
    } cases[] = {
        {FIND_FILES, {"f1.txt", "f2.c"}},
        {FIND_FOLDERS, {".", "..", "s1", "s2"}},
        {FIND_ANY, {".", "..", "f1.txt", "f2.c", "s1", "s2"}},
    };
    for (const Case &c : cases) EXPECT_EQ(FindAll(dir + "\\*", c.filter), c.names) << "filter " << c.filter;

    WIN32_FIND_DATAA fd;
    EXPECT_EQ(FileFind(1, FIND_FILES, (dir + "\\s1").c_str(), &fd, nullptr), 0)
        << "a named folder is no file, and there is nothing further to look at";
    EXPECT_EQ(FileFind(1, FIND_FOLDERS, (dir + "\\s1").c_str(), &fd, nullptr), 1);
    char cut[4] = "zzz";
    HANDLE h;
    FileFindInitSlot(&h);
    EXPECT_EQ(FileFindEx(&h, 1, FIND_FILES, (dir + "\\f1*").c_str(), &fd, cut, 4), 1);
    FileFindCloseSlot(&h);
    EXPECT_STREQ(cut, "f1.");

    ASSERT_EQ(FileFind(1, FIND_FILES, (dir + "\\*").c_str(), &fd, nullptr), 1);
    FileFindClose();
    EXPECT_EQ(FileFind(0, FIND_FILES, (dir + "\\*").c_str(), &fd, nullptr), 0) << "the shared search is over";
}

TEST(FileFind, OlderSystemsRefuseABareServerName) {
    SysTestAnswers olderFamily = {4, 10, VER_PLATFORM_WIN32_WINDOWS, 0, 0, 1ull << 30, 1ull << 30};
    SysSetTestAnswers(&olderFamily);
    WIN32_FIND_DATAA fd;
    EXPECT_EQ(FileFind(1, FIND_FOLDERS, "\\\\server", &fd, nullptr), 0);
    EXPECT_EQ(FileFind(1, FIND_ANY, "\\\\server", &fd, nullptr), 0);
    SysSetTestAnswers(nullptr);
}

TEST(FileTime, TouchAndDateText) {
    std::string path = DtMakeFile(DtFreshDir() + "\\t.txt");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SYSTEMTIME old = {2001, 6, 0, 15, 12, 0, 0, 0};
    FILETIME oldTime, written, now;
    SystemTimeToFileTime(&old, &oldTime);
    SetFileTime(h, nullptr, nullptr, &oldTime);
    EXPECT_EQ(FileTouchTime(h), 1);
    GetFileTime(h, nullptr, nullptr, &written);
    CloseHandle(h);
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER w = {{written.dwLowDateTime, written.dwHighDateTime}};
    ULARGE_INTEGER n = {{now.dwLowDateTime, now.dwHighDateTime}};
    EXPECT_LT(n.QuadPart - w.QuadPart, 600000000ull) << "within a minute of now";

    char text[64];
    EXPECT_EQ(FileTimeToDateText(oldTime, text, sizeof text), 1);
    EXPECT_NE(std::string(text).find("15"), std::string::npos) << text;
    EXPECT_EQ(FileTimeToDateText(oldTime, text, 3), 0) << "too small a buffer";
    EXPECT_STREQ(text, "");
}

class DirtTest : public testing::Test {
protected:
    std::string base, cwd;
    void SetUp() override {
        base = DtFreshDir();
        DtMakeDirs(base, {"z", "a", "_m", "m", "a\\c", "a\\b", "a\\Q", "a\\c\\d"});
        DtMakeFile(base + "\\a\\file.txt");
        SetCurrentDirectoryA(base.c_str());
        cwd = DtCwd();
    }
    void TearDown() override { EXPECT_EQ(DtCwd(), cwd) << "the current folder is put back"; }
};

TEST_F(DirtTest, TreeForPath) {
    int32_t out = -1;
    TreePtr tree(DirtCreateForPath((base + "\\a\\b").c_str(), &out));
    ASSERT_TRUE(tree);
    EXPECT_EQ(TrlCheck(tree.get()), 1);
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
    CharLowerA(lower.data());
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

TEST_F(DirtTest, ShortNameComponents) {
    std::string longName = "a folder with a long name";
    DtMakeDirs(base, {longName, longName + "\\in"});
    char shortPath[MAX_PATH];
    DWORD n = GetShortPathNameA((base + "\\" + longName + "\\in").c_str(), shortPath, sizeof shortPath);
    if (n == 0 || std::string(shortPath).find(longName) != std::string::npos)
        GTEST_SKIP() << "no short names";
    int32_t out;
    TreePtr tree(DirtCreateForPath(shortPath, &out));
    ASSERT_TRUE(tree) << shortPath;
    EXPECT_NE(PathOf(tree.get(), out).find(longName), std::string::npos) << "the tree holds the long names";
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
    EXPECT_EQ(TrlCheck(tree.get()), 1);
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
    RemoveDirectoryA((base + "\\a\\b").c_str());
    EXPECT_EQ(DirtExpand(tree.get(), out, 1, &added), 0);
    EXPECT_EQ(added, 0);
}
