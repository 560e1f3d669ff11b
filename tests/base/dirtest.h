// Helpers of the folder tests: folders and files made with plain system calls, so that the code under test
// is never its own witness.
#pragma once

#include "support/vxtest.h"

#include <windows.h>

#include <string>
#include <vector>

inline std::string DtMakeDir(const std::string &path) {
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// Every folder of a list of paths relative to base ("a\b" makes a and a\b when listed in that order).
inline void DtMakeDirs(const std::string &base, const std::vector<std::string> &relative) {
    for (const std::string &r : relative) DtMakeDir(base + "\\" + r);
}

inline std::string DtMakeFile(const std::string &path, const std::string &text = "x", DWORD attributes = 0) {
    HANDLE h =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (h != INVALID_HANDLE_VALUE) {
        WriteFile(h, text.data(), (DWORD)text.size(), &written, nullptr);
        CloseHandle(h);
    }
    if (attributes) SetFileAttributesA(path.c_str(), attributes);
    return path;
}

inline bool DtExists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string DtCwd() {
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

inline bool DtSameI(const std::string &a, const std::string &b) {
    return a.size() == b.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), (int)a.size(),
                                                  b.data(), (int)b.size()) == CSTR_EQUAL;
}

// Removes a folder and everything in it, attributes notwithstanding.
inline void DtRemoveTree(const std::string &folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName, path = folder + "\\" + name;
            if (name == "." || name == "..") continue;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DtRemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

// The test's temporary folder, emptied of what an earlier run of the same process number left in it.
inline std::string DtFreshDir() {
    std::string dir = VxTempDir();
    DtRemoveTree(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}
