// Helpers of the folder tests: folders and files made with the test helpers' own system calls, so that the
// code under test is never its own witness; and a copy of the file layer's table whose directory searches
// report chosen entries hidden or give them a short name, as only some systems do.
#pragma once

#include "base/fileos.h"
#include "support/vxtest.h"

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

inline std::string DtMakeDir(const std::string &path) {
    VxMakeDir(path);
    return path;
}

// Every folder of a list of paths relative to base ("a\b" makes a and a\b when listed in that order).
inline void DtMakeDirs(const std::string &base, const std::vector<std::string> &relative) {
    for (const std::string &r : relative) DtMakeDir(base + "\\" + r);
}

inline std::string DtMakeFile(const std::string &path, const std::string &text = "x") {
    if (FILE *f = VxFileOpen(path, "wb")) {
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }
    return path;
}

inline bool DtExists(const std::string &path) {
    return VxFileExists(path);
}

inline std::string DtCwd() {
    return VxCurrentDir();
}

inline bool DtSameI(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i])) return false;
    return true;
}

// The test's temporary folder, empty.
inline std::string DtFreshDir() {
    return VxTempDir();
}

// Keeps the current folder for a test that moves it on purpose.
struct DtCwdKeep {
    std::string old = DtCwd();
    ~DtCwdKeep() { VxSetCurrentDir(old); }
};

// The directory searches of the default table, with the entries of the named files and folders marked hidden
// and given short names; every other call is the system's. The default comes back on destruction.
struct DtFindScript {
    FileOsCalls calls = *FileOsDefaultCalls();
    static std::set<std::string> &Hidden() {
        static std::set<std::string> names;
        return names;
    }
    static std::map<std::string, std::string> &ShortNames() {
        static std::map<std::string, std::string> names;
        return names;
    }
    static void Script(FileOsFind *entry) {
        if (Hidden().count(entry->name)) entry->attributes |= FILEOS_ATTR_HIDDEN;
        auto shortName = ShortNames().find(entry->name);
        if (shortName != ShortNames().end())
            snprintf(entry->shortName, sizeof entry->shortName, "%s", shortName->second.c_str());
    }
    static int FindFirst(const char *pattern, FileOsFind *entry, FileHandle *search) {
        int found = FileOsDefaultCalls()->findFirst(pattern, entry, search);
        if (found) Script(entry);
        return found;
    }
    static int FindNext(FileHandle search, FileOsFind *entry) {
        int found = FileOsDefaultCalls()->findNext(search, entry);
        if (found) Script(entry);
        return found;
    }
    DtFindScript() {
        Hidden().clear();
        ShortNames().clear();
        calls.findFirst = FindFirst;
        calls.findNext = FindNext;
        FileOsSetCalls(&calls);
    }
    ~DtFindScript() { FileOsSetCalls(nullptr); }
    DtFindScript(const DtFindScript &) = delete;
    DtFindScript &operator=(const DtFindScript &) = delete;
};
