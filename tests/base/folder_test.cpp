// Whole-file and whole-folder operations.
// Existence tests over files, folders, empty, wildcard and dotted names, and a caller's search left alone;
// quoted folders; creating three levels at once. PathDelete: roots however spelt, relative paths, open files,
// hidden entries that stop the delete, whole trees, and the current folder inside the deleted tree.
// Attributes. Free space through the file layer's table: full disk, quota, 4 GB and more, the plain call's
// product, network paths. Subfolder lists with and without "..", listings with filters, walks and counts,
// the bulk copy, move and delete. Copies and backups: replacing an older backup, a disk that fills while
// the copy is written back, the same file under two spellings, a missing source and a read-only destination.
// Hidden entries come from a scripted search (only some systems mark entries hidden).
#include "base/erc.h"
#include "base/file.h"
#include "base/folder.h"
#include "base/path.h"
#include "base/utilil.h"
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

} // namespace

TEST(Folder, ExistenceTests) {
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
TEST(Folder, ExistenceTestsLeaveTheSharedSearchAlone) {
    std::string dir = DtFreshDir();
    for (const char *name : {"a", "b", "c"}) DtMakeFile(dir + "\\" + name);
    FileFindData fd;
    char name[256];
    std::set<std::string> seen;
    for (bool more = FileFind(true, FIND_FILES, (dir + "\\*").c_str(), &fd, name); more;
         more = FileFind(false, FIND_FILES, (dir + "\\*").c_str(), &fd, name)) {
        seen.insert(name);
        EXPECT_TRUE(FileExists((dir + "\\a").c_str()));
        EXPECT_TRUE(DirHasSubfolders("C:\\"));
    }
    FileFindClose();
    EXPECT_EQ(seen, (std::set<std::string>{"a", "b", "c"}));
}

TEST(Folder, CurrentFolder) {
    DtCwdKeep keep;
    std::string dir = DtFreshDir();
    for (std::string quoted : {"\"" + dir + "\"", "'" + dir + "'", dir + "\\"}) {
        VxSetCurrentDir("C:\\");
        EXPECT_EQ(DirSetCurrent(quoted.c_str()), 1) << quoted;
        char here[PATH_BUFFER];
        EXPECT_EQ(DirGetCurrent(here), 1);
        EXPECT_TRUE(DtSameI(here, dir)) << here;
    }
    EXPECT_EQ(DirSetCurrent((dir + "\\missing").c_str()), 0);
}

TEST(Folder, CreateAllLevels) {
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

class FolderDelete : public testing::Test {
protected:
    std::string dir = DtFreshDir();
};

namespace {

std::vector<std::string> removeCalls;
int RecordRemove(const char *path) {
    removeCalls.push_back(path);
    return 0;
}

} // namespace

// A root that slipped through would be emptied: the table's delete calls are replaced by a recorder that
// refuses, so that such a fault shows as a recorded call and deletes nothing.
TEST_F(FolderDelete, RefusesRootsAndRelativePaths) {
    DtCwdKeep keep;
    VxSetCurrentDir(dir);
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
    FileOsOverride os;
    os.calls.remove = RecordRemove;
    os.calls.removeDir = RecordRemove;
    os.Install();
    for (const std::string &path : refused) {
        removeCalls.clear();
        EXPECT_EQ(PathDelete(path.c_str()), 0) << path;
        EXPECT_EQ(removeCalls, std::vector<std::string>{}) << path;
    }
    FileOsSetCalls(nullptr);
    EXPECT_TRUE(DtExists(dir + "\\sub\\f.txt"));
}

TEST_F(FolderDelete, RefusesOpenFiles) {
    std::string path = DtMakeFile(dir + "\\open.txt");
    int file = FileOpen(path.c_str(), FILE_OPEN_EXISTING);
    ASSERT_GE(file, 0);
    EXPECT_EQ(PathDelete(path.c_str()), 0);
    EXPECT_TRUE(DtExists(path));
    FileClose(file);
    EXPECT_EQ(PathDelete(path.c_str()), 1);
    EXPECT_FALSE(DtExists(path));
}

TEST_F(FolderDelete, DeletesTrees) {
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

TEST_F(FolderDelete, CurrentFolderInsideTheTree) {
    DtCwdKeep keep;
    std::string tree = dir + "\\tree";
    DtMakeDirs(dir, {"tree", "tree\\s"});
    VxSetCurrentDir(tree + "\\s");
    EXPECT_EQ(PathDelete(tree.c_str()), 1);
    EXPECT_FALSE(DtExists(tree));
    EXPECT_TRUE(DtSameI(DtCwd(), dir)) << "the parent of the deleted folder";
}

TEST_F(FolderDelete, HiddenEntriesStopTheDelete) {
    std::string cwd = DtCwd();
    struct Case {
        const char *hidden, *name;
        bool folder;
    } cases[] = {{"h.txt", "h.txt", false}, {"s\\h.txt", "h.txt", false}, {"hid", "hid", true}};
    for (const Case &c : cases) {
        std::string tree = dir + "\\tree";
        DtMakeDirs(dir, {"tree", "tree\\s"});
        std::string hidden = tree + "\\" + c.hidden;
        if (c.folder)
            DtMakeDir(hidden);
        else
            DtMakeFile(hidden);
        DtFindScript script;
        DtFindScript::Hidden().insert(c.name);
        EXPECT_EQ(PathDelete(tree.c_str()), 0) << c.hidden;
        EXPECT_TRUE(DtExists(hidden)) << c.hidden;
        EXPECT_EQ(DtCwd(), cwd);
        DtFindScript::Hidden().clear();
        ASSERT_EQ(PathDelete(tree.c_str()), 1) << c.hidden;
    }
}

TEST(Folder, Attributes) {
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
    uint64_t available;
    int answer; // of the call in bytes: 1, 0 failed, -1 missing
    int clustersOk;
    uint32_t sectorsPerCluster, bytesPerSector, freeClusters;
    std::string asked;
} fakeDisk;

int FakeFreeSpace(const char *path, uint64_t *available) {
    fakeDisk.asked = path ? path : "<null>";
    *available = fakeDisk.available;
    return fakeDisk.answer;
}

int FakeFreeClusters(const char *root, uint32_t *sectorsPerCluster, uint32_t *bytesPerSector,
                     uint32_t *freeClusters) {
    fakeDisk.asked = root ? root : "<null>";
    *sectorsPerCluster = fakeDisk.sectorsPerCluster;
    *bytesPerSector = fakeDisk.bytesPerSector;
    *freeClusters = fakeDisk.freeClusters;
    return fakeDisk.clustersOk;
}

} // namespace

TEST(Folder, FreeSpace) {
    const uint64_t GB = 1ull << 30;
    struct Case {
        const char *what;
        uint64_t available; // of the call in bytes
        int answer;         // its answer; -1: the system lacks it, the clusters are asked
        uint32_t sectorsPerCluster, bytesPerSector, freeClusters;
        int clustersOk;
        uint32_t expected;
    } cases[] = {
        {"full disk", 0, 1, 0, 0, 0, 1, 0},
        {"quota used up (room for others only)", 0, 1, 0, 0, 0, 1, 0},
        {"some room", 123456, 1, 0, 0, 0, 1, 123456},
        {"just under 4 GB", 4 * GB - 2, 1, 0, 0, 0, 1, 0xFFFFFFFE},
        {"4 GB", 4 * GB, 1, 0, 0, 0, 1, 0xFFFFFFFF},
        {"over 4 GB", 5 * GB, 1, 0, 0, 0, 1, 0xFFFFFFFF},
        {"a volume that cannot tell", UINT64_MAX, 1, 0, 0, 0, 1, 0xFFFFFFFF},
        {"failure", 5, 0, 0, 0, 0, 1, 0},
        {"plain", 0, -1, 8, 512, 1000, 1, 8 * 512 * 1000},
        {"plain product past 32 bits", 0, -1, 64, 4096, 16384, 1, 0xFFFFFFFF},
        {"plain failure", 0, -1, 8, 512, 1000, 0, 0},
    };
    FileOsOverride os;
    os.calls.freeSpace = FakeFreeSpace;
    os.calls.freeClusters = FakeFreeClusters;
    os.Install();
    for (const Case &c : cases) {
        fakeDisk = {c.available,    c.answer, c.clustersOk, c.sectorsPerCluster, c.bytesPerSector,
                    c.freeClusters, ""};
        EXPECT_EQ(DirFreeSpace("C:\\some\\folder"), c.expected) << c.what;
        EXPECT_EQ(fakeDisk.asked, c.answer < 0 ? "C:\\" : "C:\\some\\folder") << c.what;
    }
    fakeDisk = {7, 1, 1, 0, 0, 0, ""};
    EXPECT_EQ(DirFreeSpace("\\\\server\\share"), 7u);
    EXPECT_EQ(fakeDisk.asked, "\\\\server\\share\\") << "a network path gets its backslash";
    FileOsSetCalls(nullptr);
    EXPECT_NE(DirFreeSpace(DtFreshDir().c_str()), 0u);
}

TEST(Folder, SubfolderList) {
    DtCwdKeep keep;
    std::string dir = DtFreshDir();
    DtMakeDirs(dir, {"b", "a", "!x", "hid"});
    DtMakeFile(dir + "\\file.txt");
    DtFindScript script;
    DtFindScript::Hidden().insert("hid");
    VxSetCurrentDir(dir);
    Stb *list = DirSubfolderList();
    ASSERT_TRUE(list);
    EXPECT_EQ(StbCheck(list), 1);
    EXPECT_EQ(StbItems(list), (std::vector<std::pair<std::string, int32_t>>{{"..", DIR_LIST_FOLDER},
                                                                            {"!x", DIR_LIST_FOLDER},
                                                                            {"a", DIR_LIST_FOLDER},
                                                                            {"b", DIR_LIST_FOLDER}}))
        << "\"..\" first even before names that sort ahead of it";

    VxSetCurrentDir((dir + "\\a"));
    EXPECT_EQ(StbItems(DirSubfolderList()),
              (std::vector<std::pair<std::string, int32_t>>{{"..", DIR_LIST_FOLDER}}));
    VxSetCurrentDir("C:\\");
    list = DirSubfolderList();
    ASSERT_TRUE(list);
    ASSERT_GT(StbCount(list), 0);
    char first[256];
    StbGetString(list, 0, first);
    EXPECT_STRNE(first, "..") << "a root has nothing above it";
    DirSubfolderListFree();
}

TEST(Folder, ListNames) {
    std::string dir = DtFreshDir();
    DtMakeDirs(dir, {"sub", "sub.txt"});
    DtMakeFile(dir + "\\a.txt");
    DtMakeFile(dir + "\\b.txt");
    DtMakeFile(dir + "\\skip.txt");
    DtMakeFile(dir + "\\c.c");
    DtMakeFile(dir + "\\h.txt");
    DtFindScript script;
    DtFindScript::Hidden().insert("h.txt");
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

int RecordVisit(const char *folder, const FileFindData *fd, void *data) {
    Visit *visit = (Visit *)data;
    visit->folders.push_back(folder);
    visit->cwdMatched =
        visit->cwdMatched && DtSameI(DtCwd(), folder) && (fd->attributes & FILEOS_ATTR_FOLDER);
    return !StrEqualI(PathGetName(folder), visit->stopAt.c_str());
}

int CountNoC(const char *name) {
    return PathHasExt(".c", name) ? 0 : 1;
}
int CountAbortAtStop(const char *name) {
    return strcmp(name, "stop") == 0 ? -1 : 1;
}

} // namespace

TEST(Folder, WalksAndCounts) {
    DtCwdKeep keep;
    std::string dir = DtFreshDir();
    DtMakeDirs(dir, {"w", "w\\a", "w\\a\\a1", "w\\b", "w\\hid"});
    DtMakeFile(dir + "\\w\\top.txt");
    DtMakeFile(dir + "\\w\\top.c");
    DtMakeFile(dir + "\\w\\hidden.txt");
    DtFindScript script;
    DtFindScript::Hidden() = {"hid", "hidden.txt"};
    DtMakeFile(dir + "\\w\\a\\a1\\deep.txt");
    DtMakeFile(dir + "\\w\\hid\\unseen.txt");
    DtMakeFile(dir + "\\w\\b\\b.c");

    std::string w = dir + "\\w";
    VxSetCurrentDir(w);
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

    VxSetCurrentDir(dir);
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
TEST(Folder, ShellCopyMoveDelete) {
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
class FolderCopy : public FileLayerTest {};

TEST_F(FolderCopy, Backups) {
    std::string path = Path("doc.txt"), backup = Path("Backup of doc.txt");
    VxRemoveFile(backup);
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
TEST_F(FolderCopy, AFullDiskFailsTheCopy) {
    struct Case {
        const char *what;
        size_t size;
    } cases[] = {{"small", 100}, {"several blocks", 40000}};
    for (const Case &c : cases) {
        std::string source = Path("source.bin"), copy = Path("copy.bin");
        VxDiskWrite(source, std::string(c.size, 's'));
        VxRemoveFile(copy);
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
    VxRemoveFile(Path("Backup of doc.txt"));
    FileOsWriteFailNth(1);
    EXPECT_EQ(FileBackup(doc.c_str()), 0);
    FileOsWriteFailNth(0);
    EXPECT_FALSE(DtExists(Path("Backup of doc.txt")));
}

TEST_F(FolderCopy, Refusals) {
    std::string source = Path("a.txt"), locked = Path("locked.txt");
    VxDiskWrite(source, "keep me");
    std::string slashed = source;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    std::string upper = source;
    for (char &c : upper) c = (char)toupper((unsigned char)c);
    for (const std::string &same : {source, slashed, upper}) {
        EXPECT_EQ(FileCopy(source.c_str(), same.c_str()), 0) << same;
        EXPECT_EQ(VxDiskRead(source), "keep me") << same;
    }
    EXPECT_EQ(FileCopy(Path("missing").c_str(), Path("b.txt").c_str()), 0);
    EXPECT_FALSE(DtExists(Path("b.txt")));
    VxDiskWrite(locked, "locked");
    VxSetReadOnly(locked, true);
    EXPECT_EQ(FileCopy(source.c_str(), locked.c_str()), 0);
    VxSetReadOnly(locked, false);
    EXPECT_EQ(VxDiskRead(locked), "locked");
    EXPECT_EQ(FileCountOpen(), openBefore);
}
