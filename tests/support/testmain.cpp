// The main of every test program under Wine: readies the heap and routes alerts and log lines to the test
// seams, so that no test can ever open a real message box.
#include "support/vxtest.h"

#include "base/heap.h"
#include "base/reg.h"

#include <gtest/gtest.h>

#include <windows.h>

std::string VxTempDir() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = std::string(base) + "vxtest-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    dir += "\\";
    dir += info ? std::string(info->test_suite_name()) + "." + info->name() : "global";
    for (char &c : dir)
        if (c == '/') c = '_';
    // Start from an empty folder: remove what an earlier run left.
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string p = dir + "\\" + fd.cFileName;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(p.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void VxMakeDir(const std::string &path) {
    CreateDirectoryA(path.c_str(), nullptr);
}

FILE *VxFileOpen(const std::string &path, const char *mode) {
    return fopen(path.c_str(), mode);
}

bool VxFileExists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void VxSetEnv(const char *name, const char *value) {
    SetEnvironmentVariableA(name, value);
}

void VxSetSystemError(uint32_t code) {
    SetLastError(code);
}

void *VxHoldDenyingWrites(const std::string &path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

void VxRelease(void *hold) {
    if (hold) CloseHandle(hold);
}

static std::string VxSettingsKey() {
    return "VeltrixTest\\settings-" + std::to_string(GetCurrentProcessId());
}

static void VxDeleteSettings() {
    RegCloseProgramKeys();
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegDeleteTreeA(root, ("SOFTWARE\\Tramontel\\" + VxSettingsKey()).c_str());
        RegDeleteKeyA(root, "SOFTWARE\\Tramontel\\VeltrixTest");
        RegDeleteKeyA(root, "SOFTWARE\\Tramontel");
    }
}

void VxOpenSettings() {
    static bool opened;
    if (opened && RegUserProgramKey()) return;
    opened = RegOpenProgramKeys(VxSettingsKey().c_str()) != 0;
    static bool registered;
    if (!registered) registered = atexit(VxDeleteSettings) == 0;
}

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    HeapInit();
    VxSeamsInstall();
    VxSeamsListen();
    return RUN_ALL_TESTS();
}
