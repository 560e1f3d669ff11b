// The Win32 back-end of the file layer's table, where it differs from other systems: hidden attributes and
// short (8.3) names in directory entries; on the older system family (through the probe's answers) a bare
// server name finds nothing and a network path's free space is answered as unlimited without asking.
#include "base/fileos.h"
#include "base/fileprim.h"
#include "base/folder.h"
#include "base/sysprobe.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

FileOsFind FindOne(const std::string &path) {
    FileOsFind entry = {};
    FileHandle search = 0;
    EXPECT_EQ(FileOsDefaultCalls()->findFirst(path.c_str(), &entry, &search), 1) << path;
    FileOsDefaultCalls()->findEnd(search);
    return entry;
}

SysTestAnswers OlderFamily() {
    return {4, 10, VER_PLATFORM_WIN32_WINDOWS, 0, 0, 1ull << 30, 1ull << 30};
}

} // namespace

TEST(FileOsWin, EntriesCarryHiddenBitsAndShortNames) {
    std::string dir = VxTempDir();
    std::string hidden = dir + "\\h.txt", folder = dir + "\\a folder with a long name";
    fclose(VxFileOpen(hidden, "wb"));
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    VxMakeDir(folder);
    EXPECT_EQ(FindOne(hidden).attributes, (uint32_t)FILEOS_ATTR_HIDDEN);
    FileOsFind entry = FindOne(folder);
    EXPECT_EQ(entry.attributes & FILEOS_ATTR_FOLDER, (uint32_t)FILEOS_ATTR_FOLDER);
    char shortPath[MAX_PATH];
    DWORD n = GetShortPathNameA(folder.c_str(), shortPath, sizeof shortPath);
    if (n == 0 || std::string(shortPath).find("long name") != std::string::npos)
        GTEST_SKIP() << "no short names on this volume";
    EXPECT_STRCASEEQ(entry.shortName, strrchr(shortPath, '\\') + 1);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileOsWin, OlderSystemsRefuseABareServerName) {
    SysTestAnswers olderFamily = OlderFamily();
    SysSetTestAnswers(&olderFamily);
    FileFindData fd;
    EXPECT_FALSE(FileFind(true, FIND_FOLDERS, "\\\\server", &fd, nullptr));
    EXPECT_FALSE(FileFind(true, FIND_ANY, "\\\\server", &fd, nullptr));
    SysSetTestAnswers(nullptr);
}

TEST(FileOsWin, OlderSystemsDoNotAskANetworkPathsFreeSpace) {
    SysTestAnswers olderFamily = OlderFamily();
    SysSetTestAnswers(&olderFamily);
    uint64_t available = 0;
    EXPECT_EQ(FileOsDefaultCalls()->freeSpace("\\\\server\\share\\", &available), 1)
        << "an unreachable share would fail if it were asked";
    EXPECT_EQ(available, UINT64_MAX);
    EXPECT_EQ(DirFreeSpace("\\\\server\\share"), 0xFFFFFFFF);
    SysSetTestAnswers(nullptr);
}
