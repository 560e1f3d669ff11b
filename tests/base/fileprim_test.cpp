// Directory search and file times.
// Search: attribute filters (files, folders, any), a pattern without wildcards, names cut to the caller's
// size, the shared handle ended by FileFindClose, a network share root reported as a folder of its own.
// File times: touching a file, a file time as date text.
#include "base/fileprim.h"
#include "base/fileos.h"
#include "base/dirtest.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::string> FindAll(const std::string &pattern, int filter) {
    std::vector<std::string> names;
    FileFindData fd;
    char name[256];
    for (bool more = FileFind(true, filter, pattern.c_str(), &fd, name); more;
         more = FileFind(false, filter, pattern.c_str(), &fd, name))
        names.push_back(name);
    FileFindClose();
    std::sort(names.begin(), names.end());
    return names;
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

    FileFindData fd;
    EXPECT_FALSE(FileFind(true, FIND_FILES, (dir + "\\s1").c_str(), &fd, nullptr))
        << "a named folder is no file, and there is nothing further to look at";
    EXPECT_TRUE(FileFind(true, FIND_FOLDERS, (dir + "\\s1").c_str(), &fd, nullptr));
    char cut[4] = "zzz";
    FileFindSlot h;
    FileFindInitSlot(&h);
    EXPECT_TRUE(FileFindEx(&h, true, FIND_FILES, (dir + "\\f1*").c_str(), &fd, cut, 4));
    FileFindCloseSlot(&h);
    EXPECT_STREQ(cut, "f1.");

    ASSERT_TRUE(FileFind(true, FIND_FILES, (dir + "\\*").c_str(), &fd, nullptr));
    FileFindClose();
    EXPECT_FALSE(FileFind(false, FIND_FILES, (dir + "\\*").c_str(), &fd, nullptr))
        << "the shared search is over";
}

namespace {

// A share whose search answers with the first file in it, as some servers do for the share root itself.
int ShareFindFirst(const char *, FileOsFind *entry, FileHandle *search) {
    *entry = {};
    snprintf(entry->name, sizeof entry->name, "%s", "readme.txt");
    *search = 0;
    return 1;
}

} // namespace

TEST(FileFind, ShareRootIsAFolderOfItsOwn) {
    FileOsCalls calls = *FileOsDefaultCalls();
    calls.findFirst = ShareFindFirst;
    FileOsSetCalls(&calls);
    FileFindData fd;
    char name[256];
    ASSERT_TRUE(FileFind(true, FIND_FOLDERS, "\\\\server\\share", &fd, name));
    EXPECT_STREQ(name, "\\\\server\\share");
    EXPECT_EQ(fd.attributes, (uint32_t)FILEOS_ATTR_FOLDER);
    EXPECT_FALSE(FileFind(true, FIND_FILES, "\\\\server\\share", &fd, name)) << "a folder, never a file";
    EXPECT_TRUE(FileFind(true, FIND_FILES, "\\\\server\\share\\*", &fd, name)) << "inside it, the entries";
    EXPECT_STREQ(name, "readme.txt");
    FileFindClose();
    FileOsSetCalls(nullptr);
}

TEST(FileTime, TouchAndDateText) {
    std::string path = DtMakeFile(DtFreshDir() + "\\t.txt");
    const uint64_t june2001 = 126370800000000000ull; // 2001-06-15 12:00 UTC
    VxSetFileTime(path, june2001);
    FileOsInfo info;
    ASSERT_EQ(FileOsPathInfo(path.c_str(), &info), 1);
    EXPECT_EQ((uint64_t)info.timeHigh << 32 | info.timeLow, june2001);
    FileHandle h = 0;
    ASSERT_EQ(FileOsOpen(path.c_str(), FILE_OPEN_EXISTING, 0, &h), nullptr);
    EXPECT_TRUE(FileTouchTime(h));
    ASSERT_EQ(FileOsGetInfo(h, &info), 1);
    FileOsClose(h);
    uint64_t written = (uint64_t)info.timeHigh << 32 | info.timeLow;
    EXPECT_LT(VxTimeNow() - written, 600000000ull) << "within a minute of now";

    char text[64];
    EXPECT_TRUE(FileTimeToDateText((uint32_t)june2001, (uint32_t)(june2001 >> 32), text, sizeof text));
    EXPECT_NE(std::string(text).find("15"), std::string::npos) << text;
    EXPECT_FALSE(FileTimeToDateText((uint32_t)june2001, (uint32_t)(june2001 >> 32), text, 3))
        << "too small a buffer";
    EXPECT_STREQ(text, "");
}
