// Temporary files, deleting, folders, free space, listings, walks and long strings.
// Temporary names: the first two characters of the prefix and the tick counter raised past existing files
// (two names in the same millisecond differ), system-made names, a folder that cannot be entered.
// Existence tests over files, folders, empty, wildcard and dotted names; quoted folders; creating three
// levels at once. PathDelete: roots however spelt, relative paths, open files, hidden entries that stop the
// delete, whole trees, and the current folder inside the deleted tree. Attributes. Free space through the
// seam: full disk, quota, 4 GB and more, the plain call's product, network paths. Subfolder lists with and
// without "..", listings with filters, walks and counts, the shell's copy, move and delete. Long strings:
// round trips at the limits, oversize strings, corrupt and truncated lengths. Copies and backups: replacing
// an older backup, a disk that fills while the copy is written back, the same file under two spellings, a
// missing source and a read-only destination.
#include "base/erc.h"
#include "base/file.h"
#include "base/filetemp.h"
#include "base/folder.h"
#include "base/path.h"
#include "base/tick.h"
#include "base/utilil.h"
#include "base/sysprobe.h"
#include "base/dirtest.h"
#include "base/filetest.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

std::vector<std::pair<std::string, int32_t>> StbItems(const Stb *block) {
    std::vector<std::pair<std::string, int32_t>> items;
    for (int32_t i = 0; i < StbCount(block); i++) {
        char name[256];
        StbGetString(block, i, name);
        items.push_back({name, StbGetValue(block, i)});
    }
    return items;
}

// Keeps the current folder for a test that moves it on purpose.
struct CwdKeep {
    std::string old = DtCwd();
    ~CwdKeep() { SetCurrentDirectoryA(old.c_str()); }
};

uint32_t fixedTick;
uint32_t FixedClock() {
    return fixedTick;
}

} // namespace

TEST(FileTemp, NamesAreRaisedPastExistingFiles) {
    std::string dir = DtFreshDir();
    std::string cwd = DtCwd();
    fixedTick = 42;
    TickSetClock(FixedClock, nullptr);
    char first[PATH_BUFFER], second[PATH_BUFFER];
    ASSERT_EQ(FileMakeTempName("TFXXXXXX", ".tmp", dir.c_str(), first), 1);
    EXPECT_EQ(std::string(first), dir + "\\TF000042.tmp");
    DtMakeFile(first);
    ASSERT_EQ(FileMakeTempName("TFXXXXXX", ".tmp", dir.c_str(), second), 1) << "the same millisecond";
    EXPECT_EQ(std::string(second), dir + "\\TF000043.tmp");
    fixedTick = 12345678;
    ASSERT_EQ(FileMakeTempName("C", ".OUT", dir.c_str(), first), 1);
    EXPECT_EQ(std::string(first), dir + "\\C12345678.OUT") << "a short prefix; more than six digits";
    TickSetClock(nullptr, nullptr);
    EXPECT_EQ(DtCwd(), cwd);

    ASSERT_EQ(FileMakeTempName("CL", nullptr, dir.c_str(), first), 1);
    EXPECT_TRUE(DtExists(first)) << "the system makes the file";
    EXPECT_EQ(std::string(PathGetName(first)).substr(0, 2), "CL");

    EXPECT_EQ(FileMakeTempName("TF", ".tmp", (dir + "\\missing").c_str(), first), 0);
    char path[PATH_BUFFER] = "";
    EXPECT_EQ(FileCreateTemp("TF", ".tmp", (dir + "\\missing").c_str(), path), -1);
    EXPECT_STREQ(path, "<temp file>");
    int file = FileCreateTemp("TF", ".tmp", dir.c_str(), path);
    ASSERT_GE(file, 0);
    EXPECT_TRUE(DtExists(path));
    FileClose(file);
    EXPECT_EQ(DtCwd(), cwd);
}

TEST(FileTemp, ExistenceTests) {
    std::string dir = DtFreshDir();
    std::string file = DtMakeFile(dir + "\\f.txt"), folder = DtMakeDir(dir + "\\sub");
    struct Case {
        std::string path;
        int file, dir, parentDir;
    } cases[] = {
        {file, 1, 0, 1},
        {folder, 0, 1, 1},
        {dir + "\\none", 0, 0, 1},
        {dir + "\\none\\x", 0, 0, 0},
        {"", 0, 0, 0},
        {dir + "\\*.txt", 0, 0, 1},
        {dir + "\\s?b", 0, 0, 1},
        {folder + "\\..", 0, 1, 1},
        {folder + "\\.", 0, 1, 1},
    };
    std::string cwd = DtCwd();
    for (const Case &c : cases) {
        EXPECT_EQ(FileExists(c.path.c_str()), c.file) << c.path;
        EXPECT_EQ(DirExists(c.path.c_str()), c.dir) << c.path;
        EXPECT_EQ(PathDirExists(c.path.c_str()), c.parentDir) << c.path;
        EXPECT_EQ(FileNotFound(c.path.c_str()), !c.file && !c.dir) << c.path;
    }
    EXPECT_EQ(DtCwd(), cwd);
}

// A caller's walk over the shared search handle goes on after an existence test in between.
TEST(FileTemp, ExistenceTestsLeaveTheSharedSearchAlone) {
    std::string dir = DtFreshDir();
    for (const char *name : {"a", "b", "c"}) DtMakeFile(dir + "\\" + name);
    WIN32_FIND_DATAA fd;
    char name[256];
    std::set<std::string> seen;
    for (int more = FileFind(1, FIND_FILES, (dir + "\\*").c_str(), &fd, name); more;
         more = FileFind(0, FIND_FILES, (dir + "\\*").c_str(), &fd, name)) {
        seen.insert(name);
        EXPECT_TRUE(FileExists((dir + "\\a").c_str()));
        EXPECT_TRUE(DirHasSubfolders("C:\\"));
    }
    FileFindClose();
    EXPECT_EQ(seen, (std::set<std::string>{"a", "b", "c"}));
}

TEST(FileTemp, CurrentFolder) {
    CwdKeep keep;
    std::string dir = DtFreshDir();
    for (std::string quoted : {"\"" + dir + "\"", "'" + dir + "'", dir + "\\"}) {
        SetCurrentDirectoryA("C:\\");
        EXPECT_EQ(DirSetCurrent(quoted.c_str()), 1) << quoted;
        char here[PATH_BUFFER];
        EXPECT_EQ(DirGetCurrent(here), 1);
        EXPECT_TRUE(DtSameI(here, dir)) << here;
    }
    EXPECT_EQ(DirSetCurrent((dir + "\\missing").c_str()), 0);
}

TEST(FileTemp, CreateAllLevels) {
    std::string dir = DtFreshDir();
    std::string deep = dir + "\\one\\two\\three";
    EXPECT_EQ(DirCreateAll(deep.c_str()), 1);
    EXPECT_TRUE(DtExists(deep));
    EXPECT_EQ(DirCreateAll(deep.c_str()), 1) << "already there";
    EXPECT_EQ(DirCreateAll((dir + "/four/five/").c_str()), 1);
    EXPECT_TRUE(DtExists(dir + "\\four\\five"));
    DtMakeFile(dir + "\\file");
    EXPECT_EQ(DirCreateAll((dir + "\\file\\x").c_str()), 0) << "a file stands in the way";
    EXPECT_EQ(DirCreate((dir + "\\one").c_str()), 0);
    EXPECT_TRUE(DirHasSubfolders(dir.c_str()));
    EXPECT_FALSE(DirHasSubfolders(deep.c_str()));
}

class PathDeleteTest : public testing::Test {
protected:
    std::string dir = DtFreshDir();
};

namespace {

std::vector<std::string> removeCalls;
BOOL WINAPI RecordRemove(LPCSTR path) {
    removeCalls.push_back(path);
    return FALSE;
}

} // namespace

// A root that slipped through would be emptied: the system's delete calls are replaced by a recorder that
// refuses, so that such a fault shows as a recorded call and deletes nothing.
TEST_F(PathDeleteTest, RefusesRootsAndRelativePaths) {
    CwdKeep keep;
    SetCurrentDirectoryA(dir.c_str());
    DtMakeDir(dir + "\\sub");
    DtMakeFile(dir + "\\sub\\f.txt");
    std::string refused[] = {"C:\\",
                             "C:",
                             "C:\\\\",
                             "C:\\sub\\..",
                             "C:\\sub\\..\\",
                             "C:\\...",
                             "C:/",
                             "c:\\.",
                             dir + "\\..\\..\\..\\..\\..\\..",
                             "sub",
                             "sub\\f.txt",
                             "C:sub",
                             ".",
                             "\\",
                             "\\sub",
                             "",
                             "\\\\host\\share",
                             "\\\\host\\share\\"};
    PathDeleteSetCalls(RecordRemove, RecordRemove);
    for (const std::string &path : refused) {
        removeCalls.clear();
        EXPECT_EQ(PathDelete(path.c_str()), 0) << path;
        EXPECT_EQ(removeCalls, std::vector<std::string>{}) << path;
    }
    PathDeleteSetCalls(nullptr, nullptr);
    EXPECT_TRUE(DtExists(dir + "\\sub\\f.txt"));
}

TEST_F(PathDeleteTest, RefusesOpenFiles) {
    std::string path = DtMakeFile(dir + "\\open.txt");
    int file = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    ASSERT_GE(file, 0);
    EXPECT_EQ(PathDelete(path.c_str()), 0);
    EXPECT_TRUE(DtExists(path));
    FileClose(file);
    EXPECT_EQ(PathDelete(path.c_str()), 1);
    EXPECT_FALSE(DtExists(path));
}

TEST_F(PathDeleteTest, DeletesTrees) {
    std::string cwd = DtCwd();
    std::string tree = dir + "\\tree";
    DtMakeDirs(dir, {"tree", "tree\\s", "tree\\s\\s2", "tree\\empty"});
    DtMakeFile(tree + "\\x.txt");
    DtMakeFile(tree + "\\s\\y.txt");
    EXPECT_EQ(PathDelete(tree.c_str()), 1);
    EXPECT_FALSE(DtExists(tree));
    EXPECT_EQ(DtCwd(), cwd);
    EXPECT_EQ(PathDelete(tree.c_str()), 0) << "nothing left to delete";
}

TEST_F(PathDeleteTest, CurrentFolderInsideTheTree) {
    CwdKeep keep;
    std::string tree = dir + "\\tree";
    DtMakeDirs(dir, {"tree", "tree\\s"});
    SetCurrentDirectoryA((tree + "\\s").c_str());
    EXPECT_EQ(PathDelete(tree.c_str()), 1);
    EXPECT_FALSE(DtExists(tree));
    EXPECT_TRUE(DtSameI(DtCwd(), dir)) << "the parent of the deleted folder";
}

TEST_F(PathDeleteTest, HiddenEntriesStopTheDelete) {
    std::string cwd = DtCwd();
    struct Case {
        const char *hidden;
        bool folder;
    } cases[] = {{"h.txt", false}, {"s\\h.txt", false}, {"hid", true}};
    for (const Case &c : cases) {
        std::string tree = dir + "\\tree";
        DtMakeDirs(dir, {"tree", "tree\\s"});
        std::string hidden = tree + "\\" + c.hidden;
        if (c.folder) {
            DtMakeDir(hidden);
            SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
        } else {
            DtMakeFile(hidden, "x", FILE_ATTRIBUTE_HIDDEN);
        }
        EXPECT_EQ(PathDelete(tree.c_str()), 0) << c.hidden;
        EXPECT_TRUE(DtExists(hidden)) << c.hidden;
        EXPECT_EQ(DtCwd(), cwd);
        SetFileAttributesA(hidden.c_str(), c.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL);
        ASSERT_EQ(PathDelete(tree.c_str()), 1) << c.hidden;
    }
}

TEST(FileTemp, Attributes) {
    std::string dir = DtFreshDir();
    std::string path = DtMakeFile(dir + "\\a.txt");
    EXPECT_EQ(FileIsWritable(path.c_str()), 1);
    EXPECT_EQ(FileSetReadOnlyAttr(path.c_str(), 1), 1);
    EXPECT_EQ(FileIsWritable(path.c_str()), 0);
    int file = FileOpenSeq(path.c_str(), FILE_OPEN_READONLY);
    ASSERT_GE(file, 0);
    EXPECT_EQ(FileRecIsWritable(file), 0);
    FileClose(file);
    EXPECT_EQ(FileSetReadOnlyAttr(path.c_str(), 2), 0) << "no such mode";
    EXPECT_EQ(FileIsWritable(path.c_str()), 0);
    EXPECT_EQ(FileSetReadOnlyAttr(path.c_str(), 0), 1);
    EXPECT_EQ(FileIsWritable(path.c_str()), 1);
    EXPECT_EQ(FileIsWritable((dir + "\\missing").c_str()), 1) << "a new file may be written";
    EXPECT_EQ(FileSetReadOnlyAttr((dir + "\\missing").c_str(), 1), 0);

    EXPECT_EQ(FileDeleteExt((dir + "\\a").c_str(), "txt"), 1);
    EXPECT_FALSE(DtExists(path));
    EXPECT_EQ(FileDelete(path.c_str()), 0);
}

namespace {

struct FakeDisk {
    uint64_t available, free, total;
    BOOL ok;
    DWORD sectorsPerCluster, bytesPerSector, freeClusters;
    std::string asked;
} fakeDisk;

BOOL WINAPI FakeFreeSpaceEx(LPCSTR path, PULARGE_INTEGER available, PULARGE_INTEGER total,
                            PULARGE_INTEGER free) {
    fakeDisk.asked = path ? path : "<null>";
    available->QuadPart = fakeDisk.available;
    total->QuadPart = fakeDisk.total;
    free->QuadPart = fakeDisk.free;
    return fakeDisk.ok;
}

BOOL WINAPI FakeFreeSpace(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                          LPDWORD freeClusters, LPDWORD clusters) {
    fakeDisk.asked = root ? root : "<null>";
    *sectorsPerCluster = fakeDisk.sectorsPerCluster;
    *bytesPerSector = fakeDisk.bytesPerSector;
    *freeClusters = fakeDisk.freeClusters;
    *clusters = fakeDisk.freeClusters;
    return fakeDisk.ok;
}

} // namespace

TEST(FileTemp, FreeSpace) {
    const uint64_t GB = 1ull << 30;
    struct Case {
        const char *what;
        uint64_t available, free; // of the Ex call; null stands for it when plain
        DWORD sectorsPerCluster, bytesPerSector, freeClusters;
        BOOL ok;
        bool plain;
        uint32_t expected;
    } cases[] = {
        {"full disk", 0, 0, 0, 0, 0, TRUE, false, 0},
        {"quota used up", 0, 10 * GB, 0, 0, 0, TRUE, false, 0},
        {"some room", 123456, 10 * GB, 0, 0, 0, TRUE, false, 123456},
        {"just under 4 GB", 4 * GB - 2, 10 * GB, 0, 0, 0, TRUE, false, 0xFFFFFFFE},
        {"4 GB", 4 * GB, 10 * GB, 0, 0, 0, TRUE, false, 0xFFFFFFFF},
        {"over 4 GB", 5 * GB, 10 * GB, 0, 0, 0, TRUE, false, 0xFFFFFFFF},
        {"failure", 5, 5, 0, 0, 0, FALSE, false, 0},
        {"plain", 0, 0, 8, 512, 1000, TRUE, true, 8 * 512 * 1000},
        {"plain product past 32 bits", 0, 0, 64, 4096, 16384, TRUE, true, 0xFFFFFFFF},
        {"plain failure", 0, 0, 8, 512, 1000, FALSE, true, 0},
    };
    for (const Case &c : cases) {
        fakeDisk = {c.available,         c.free,           100 * GB,       c.ok,
                    c.sectorsPerCluster, c.bytesPerSector, c.freeClusters, ""};
        DirSetFreeSpaceCalls(c.plain ? nullptr : FakeFreeSpaceEx, FakeFreeSpace);
        EXPECT_EQ(DirFreeSpace("C:\\some\\folder"), c.expected) << c.what;
        EXPECT_EQ(fakeDisk.asked, c.plain ? "C:\\" : "C:\\some\\folder") << c.what;
    }
    fakeDisk = {7, 7, 7, TRUE, 0, 0, 0, ""};
    DirSetFreeSpaceCalls(FakeFreeSpaceEx, FakeFreeSpace);
    EXPECT_EQ(DirFreeSpace("\\\\server\\share"), 7u);
    EXPECT_EQ(fakeDisk.asked, "\\\\server\\share\\") << "a network path gets its backslash";
    fakeDisk.asked.clear();
    SysTestAnswers olderFamily = {4, 10, VER_PLATFORM_WIN32_WINDOWS, 0, 0, 1ull << 30, 1ull << 30};
    SysSetTestAnswers(&olderFamily);
    EXPECT_EQ(DirFreeSpace("\\\\server\\share"), 0xFFFFFFFF);
    EXPECT_EQ(fakeDisk.asked, "") << "the older family is not asked about network paths";
    SysSetTestAnswers(nullptr);
    DirUseSystemFreeSpace();
    EXPECT_NE(DirFreeSpace(DtFreshDir().c_str()), 0u);
}

TEST(FileTemp, SubfolderList) {
    CwdKeep keep;
    std::string dir = DtFreshDir();
    DtMakeDirs(dir, {"b", "a", "!x", "hid"});
    SetFileAttributesA((dir + "\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN);
    DtMakeFile(dir + "\\file.txt");
    SetCurrentDirectoryA(dir.c_str());
    Stb *list = DirSubfolderList();
    ASSERT_TRUE(list);
    EXPECT_EQ(StbCheck(list), 1);
    EXPECT_EQ(StbItems(list), (std::vector<std::pair<std::string, int32_t>>{{"..", DIR_LIST_FOLDER},
                                                                            {"!x", DIR_LIST_FOLDER},
                                                                            {"a", DIR_LIST_FOLDER},
                                                                            {"b", DIR_LIST_FOLDER}}))
        << "\"..\" first even before names that sort ahead of it";

    SetCurrentDirectoryA((dir + "\\a").c_str());
    EXPECT_EQ(StbItems(DirSubfolderList()),
              (std::vector<std::pair<std::string, int32_t>>{{"..", DIR_LIST_FOLDER}}));
    SetCurrentDirectoryA("C:\\");
    list = DirSubfolderList();
    ASSERT_TRUE(list);
    ASSERT_GT(StbCount(list), 0);
    char first[256];
    StbGetString(list, 0, first);
    EXPECT_STRNE(first, "..") << "a root has nothing above it";
    DirSubfolderListFree();
}

TEST(FileTemp, ListNames) {
    std::string dir = DtFreshDir();
    DtMakeDirs(dir, {"sub", "sub.txt"});
    DtMakeFile(dir + "\\a.txt");
    DtMakeFile(dir + "\\b.txt");
    DtMakeFile(dir + "\\skip.txt");
    DtMakeFile(dir + "\\c.c");
    DtMakeFile(dir + "\\h.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    Stb *block = StbCreate(0, 0);
    ASSERT_TRUE(block);
    auto noSkip = [](const char *name) { return strcmp(name, "skip.txt") != 0 ? 1 : 0; };
    EXPECT_EQ(DirListNames(block, (dir + "\\*.txt").c_str(), FIND_FILES, noSkip), 1);
    EXPECT_EQ(DirListNames(block, (dir + "\\*").c_str(), FIND_FOLDERS, nullptr), 1);
    EXPECT_EQ(DirListAdd(block, "extra", FIND_ANY), 1);
    StbSort(block);
    EXPECT_EQ(StbItems(block), (std::vector<std::pair<std::string, int32_t>>{{"a.txt", DIR_LIST_FILE},
                                                                             {"b.txt", DIR_LIST_FILE},
                                                                             {"extra", DIR_LIST_FILE},
                                                                             {"sub", DIR_LIST_FOLDER},
                                                                             {"sub.txt", DIR_LIST_FOLDER}}));
    StbFree(&block);
}

namespace {

struct Visit {
    std::vector<std::string> folders;
    std::string stopAt;
    bool cwdMatched = true;
};

int RecordVisit(const char *folder, const WIN32_FIND_DATAA *fd, void *data) {
    Visit *visit = (Visit *)data;
    visit->folders.push_back(folder);
    visit->cwdMatched = visit->cwdMatched && DtSameI(DtCwd(), folder) && (fd->dwFileAttributes & 16);
    return !StrEqualI(PathGetName(folder), visit->stopAt.c_str());
}

int CountNoC(const char *name) {
    return PathHasExt(".c", name) ? 0 : 1;
}
int CountAbortAtStop(const char *name) {
    return strcmp(name, "stop") == 0 ? -1 : 1;
}

} // namespace

TEST(FileTemp, WalksAndCounts) {
    CwdKeep keep;
    std::string dir = DtFreshDir();
    DtMakeDirs(dir, {"w", "w\\a", "w\\a\\a1", "w\\b", "w\\hid"});
    SetFileAttributesA((dir + "\\w\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN);
    DtMakeFile(dir + "\\w\\top.txt");
    DtMakeFile(dir + "\\w\\top.c");
    DtMakeFile(dir + "\\w\\hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    DtMakeFile(dir + "\\w\\a\\a1\\deep.txt");
    DtMakeFile(dir + "\\w\\hid\\unseen.txt");
    DtMakeFile(dir + "\\w\\b\\b.c");

    std::string w = dir + "\\w";
    SetCurrentDirectoryA(w.c_str());
    Visit visit;
    EXPECT_EQ(DirWalk(RecordVisit, &visit), 1);
    EXPECT_TRUE(visit.cwdMatched);
    std::vector<std::string> relative;
    for (const std::string &f : visit.folders) relative.push_back(f.substr(w.size()));
    std::sort(relative.begin() + 1, relative.end());
    EXPECT_EQ(relative, (std::vector<std::string>{"", "\\a", "\\a\\a1", "\\b"}));
    EXPECT_TRUE(DtSameI(DtCwd(), w));

    Visit stopped;
    stopped.stopAt = "a";
    EXPECT_EQ(DirWalk(RecordVisit, &stopped), 0);
    EXPECT_EQ(std::count(stopped.folders.begin(), stopped.folders.end(), w + "\\a\\a1"), 0);
    EXPECT_TRUE(DtSameI(DtCwd(), w));

    SetCurrentDirectoryA(dir.c_str());
    EXPECT_EQ(DirCountFiles(w.c_str(), nullptr), 4);
    EXPECT_EQ(DirCountFiles(w.c_str(), CountNoC), 2);
    EXPECT_EQ(DirCountFilesTop(w.c_str(), nullptr), 2);
    EXPECT_EQ(DirCountFilesTop(w.c_str(), CountNoC), 1);
    DtMakeFile(w + "\\b\\stop");
    EXPECT_EQ(DirCountFiles(w.c_str(), CountAbortAtStop), 0);
    EXPECT_EQ(DirCountFiles((dir + "\\missing").c_str(), nullptr), 0);
    EXPECT_TRUE(DtSameI(DtCwd(), dir));
}

// The shell's operations never ask here: the target folder exists and is empty, and deleting asks no
// confirmation.
TEST(FileTemp, ShellCopyMoveDelete) {
    std::string dir = DtFreshDir();
    DtMakeDirs(dir, {"src", "src\\inner", "copy", "move"});
    DtMakeFile(dir + "\\src\\one.txt", "1");
    DtMakeFile(dir + "\\src\\two.txt", "2");
    EXPECT_EQ(DirShellCopy((dir + "\\src").c_str(), (dir + "\\copy").c_str(), 1), 1);
    EXPECT_EQ(VxDiskRead(dir + "\\copy\\one.txt"), "1");
    EXPECT_TRUE(DtExists(dir + "\\src\\one.txt"));
    EXPECT_EQ(DirDeleteFiles((dir + "\\copy").c_str()), 1);
    EXPECT_FALSE(DtExists(dir + "\\copy\\one.txt"));
    EXPECT_FALSE(DtExists(dir + "\\copy\\two.txt"));
    EXPECT_TRUE(DtExists(dir + "\\copy\\inner")) << "files only";
    EXPECT_EQ(DirShellCopy((dir + "\\src").c_str(), (dir + "\\move").c_str(), 0), 1);
    EXPECT_EQ(VxDiskRead(dir + "\\move\\two.txt"), "2");
    EXPECT_FALSE(DtExists(dir + "\\src\\two.txt"));
}

// Copies and backups run over the file layer with a ready cache; a full disk comes from its
// fail-the-nth-write seam.
class FileCopyTest : public FileLayerTest {};

TEST_F(FileCopyTest, Backups) {
    std::string path = Path("doc.txt"), backup = Path("Backup of doc.txt");
    DeleteFileA(backup.c_str());
    EXPECT_EQ(FileBackup(Path("missing.txt").c_str()), 1);
    EXPECT_FALSE(DtExists(Path("Backup of missing.txt")));

    VxDiskWrite(path, "the new text");
    VxDiskWrite(backup, "an older backup that was longer");
    EXPECT_EQ(FileBackup(path.c_str()), 1);
    EXPECT_EQ(VxDiskRead(backup), "the new text");
    EXPECT_EQ(VxDiskRead(path), "the new text");
    EXPECT_EQ(FileFindOpen(backup.c_str()), -1);
}

// The copy's last blocks reach the disk only when its destination is written back: a disk that is full by
// then fails the copy, and no half copy is left to pass for a backup.
TEST_F(FileCopyTest, AFullDiskFailsTheCopy) {
    struct Case {
        const char *what;
        size_t size;
    } cases[] = {{"small", 100}, {"several blocks", 40000}};
    for (const Case &c : cases) {
        std::string source = Path("source.bin"), copy = Path("copy.bin");
        VxDiskWrite(source, std::string(c.size, 's'));
        DeleteFileA(copy.c_str());
        FileOsWriteFailNth(1);
        EXPECT_EQ(FileCopy(source.c_str(), copy.c_str()), 0) << c.what;
        FileOsWriteFailNth(0);
        EXPECT_FALSE(DtExists(copy)) << c.what;
        EXPECT_EQ(FileCountOpen(), openBefore) << c.what;
        EXPECT_EQ(FileCopy(source.c_str(), copy.c_str()), 1) << c.what;
        EXPECT_EQ(VxDiskRead(copy), std::string(c.size, 's')) << c.what;
    }
    std::string doc = Path("doc.txt");
    VxDiskWrite(doc, "text");
    DeleteFileA(Path("Backup of doc.txt").c_str());
    FileOsWriteFailNth(1);
    EXPECT_EQ(FileBackup(doc.c_str()), 0);
    FileOsWriteFailNth(0);
    EXPECT_FALSE(DtExists(Path("Backup of doc.txt")));
}

TEST_F(FileCopyTest, Refusals) {
    std::string source = Path("a.txt"), locked = Path("locked.txt");
    VxDiskWrite(source, "keep me");
    std::string slashed = source;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::string upper = source;
    CharUpperA(upper.data());
    for (const std::string &same : {source, slashed, upper}) {
        EXPECT_EQ(FileCopy(source.c_str(), same.c_str()), 0) << same;
        EXPECT_EQ(VxDiskRead(source), "keep me") << same;
    }
    EXPECT_EQ(FileCopy(Path("missing").c_str(), Path("b.txt").c_str()), 0);
    EXPECT_FALSE(DtExists(Path("b.txt")));
    VxDiskWrite(locked, "locked");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(FileCopy(source.c_str(), locked.c_str()), 0);
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(VxDiskRead(locked), "locked");
    EXPECT_EQ(FileCountOpen(), openBefore);
}
