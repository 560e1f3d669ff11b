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
    VxRemoveTree(dir); // what an earlier run of the same process number left
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

void VxRemoveFile(const std::string &path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

void VxRemoveTree(const std::string &folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName, path = folder + "\\" + name;
            if (name == "." || name == "..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_DIRECTORY);
                VxRemoveTree(path);
            } else {
                VxRemoveFile(path);
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

std::string VxCurrentDir() {
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

bool VxSetCurrentDir(const std::string &path) {
    return SetCurrentDirectoryA(path.c_str()) != 0;
}

void VxSetReadOnly(const std::string &path, bool on) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    attributes = on ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~(DWORD)FILE_ATTRIBUTE_READONLY;
    SetFileAttributesA(path.c_str(), attributes);
}

void VxSetFileTime(const std::string &path, uint64_t time) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    FILETIME written = {(DWORD)time, (DWORD)(time >> 32)};
    SetFileTime(h, nullptr, nullptr, &written);
    CloseHandle(h);
}

uint64_t VxTimeNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (uint64_t)now.dwHighDateTime << 32 | now.dwLowDateTime;
}

void *VxDeadPages(size_t size) {
    return VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
}

void VxFreeDeadPages(void *pages, size_t) {
    VirtualFree(pages, 0, MEM_RELEASE);
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
