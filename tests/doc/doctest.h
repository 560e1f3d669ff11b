// What the document core's tests share: a fixture that gives each test a disk cache, its own temporary folder
// (where the shell's temporary files are made), a fresh scratch file and the "DocID" setting, the option
// record the shell would answer, and helpers to write, read and load files.
#pragma once

#include "base/file.h"
#include "base/filecache.h"
#include "base/fileos.h"
#include "base/heap.h"
#include "doc/doc.h"
#include "doc/docedit.h"
#include "doc/docfetch.h"
#include "doc/docfile.h"
#include "doc/dochook.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace doctest {

inline std::string &TempDir() {
    static std::string dir;
    return dir;
}

inline DocOptions &Options() {
    static DocOptions options;
    return options;
}

inline const DocOptions *TestOptions() {
    return &Options();
}

inline int &TempCounter() {
    static int counter;
    return counter;
}

// The shell's temporary files, in the test's own folder.
inline int MakeTemp(char *outPath) {
    char path[256];
    snprintf(path, sizeof path, "%s\\TF%06d", TempDir().c_str(), ++TempCounter());
    int file = FileOpen(path, FILE_OPEN_CREATE);
    if (outPath) snprintf(outPath, 256, "%s", file >= 0 ? path : "");
    return file;
}

inline std::string Path(const std::string &name) {
    return TempDir() + "\\" + name;
}

inline void WriteBytes(const std::string &path, const std::string &bytes) {
    FILE *f = VxFileOpen(path, "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

inline std::string ReadBytes(const std::string &path) {
    FILE *f = VxFileOpen(path, "rb");
    if (!f) return "<missing>";
    std::string bytes;
    char buffer[8192];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
    return bytes;
}

inline std::string LineText(FileBuffer *doc, int32_t line) {
    static LineRecord record;
    GetLine(doc, line, &record);
    return std::string(record.text, record.length);
}

inline std::vector<std::string> Lines(FileBuffer *doc) {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < doc->lnMac; i++) lines.push_back(LineText(doc, i));
    return lines;
}

inline std::vector<uint16_t> Lengths(FileBuffer *doc) {
    return std::vector<uint16_t>(DocLengths(doc), DocLengths(doc) + doc->lnMac);
}

inline std::vector<LineRun> Runs(FileBuffer *doc) {
    return std::vector<LineRun>(RunTableRuns(doc->hrgl), RunTableRuns(doc->hrgl) + DocRunCount(doc));
}

inline bool SameRuns(const std::vector<LineRun> &a, const std::vector<LineRun> &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (a[i].first != b[i].first || a[i].flags != b[i].flags || a[i].offset != b[i].offset ||
            a[i].generation != b[i].generation)
            return false;
    return true;
}

inline FileBuffer *Load(const std::string &name, const std::string &bytes) {
    WriteBytes(Path(name), bytes);
    return DocLoadFile(Path(name).c_str(), -1, false);
}

// The names in a folder ("." and ".." left out), sorted.
inline std::vector<std::string> FilesIn(const std::string &folder) {
    std::vector<std::string> names;
    FileOsFind entry;
    FileHandle search;
    const FileOsCalls *os = FileOsDefaultCalls();
    for (int more = os->findFirst((folder + "\\*").c_str(), &entry, &search); more;
         more = os->findNext(search, &entry))
        if (strcmp(entry.name, ".") && strcmp(entry.name, "..")) names.push_back(entry.name);
    os->findEnd(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Alerts of the kinds errors and questions show.
inline std::vector<std::string> AlertTexts() {
    std::vector<std::string> texts;
    for (const VxAlert &a : VxAlerts()) texts.push_back(a.text);
    return texts;
}

// Every test starts with no buffer, a fresh scratch file and the shell's hooks answering from the test.
class DocTest : public testing::Test {
protected:
    void SetUp() override {
        TempDir() = VxTempDir();
        Options() = *DocOptionsNeutral();
        FileCacheInit(FILE_CACHE_DEFAULT_KB);
        VxOpenSettings();
        shell = *DocShellNeutral();
        shell.makeTempFile = MakeTemp;
        shell.options = TestOptions;
        DocSetShellHook(&shell);
        ASSERT_TRUE(ScratchFileCreate());
        DocIdInit();
        DocForgetBlockBinary();
    }
    void TearDown() override {
        FileOsWriteFailNth(0);
        HeapFailNth(0);
        FileOsSetCalls(nullptr);
        while (DocListHead()) DocFree(DocListHead(), false);
        ClearEditError();
        ClearAnyDocModified();
        EditClearFailed();
        ScratchFileClose(false);
        FileShutdown();
        ErcClear();
    }
    // Registers the shell table again after a test changed it.
    void SetShell() { DocSetShellHook(&shell); }
    DocShellHook shell;
};

} // namespace doctest
