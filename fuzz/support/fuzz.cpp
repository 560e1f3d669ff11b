// Shared by the fuzz targets: set-up, the failure report and files made from the input. Each process
// writes its files into a folder of its own, removed when the process ends.
#include "support/fuzz.h"

#include "base/file.h"
#include "base/heap.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

enum { FUZZ_HEAP_LIMIT = 64 << 20 };

static fs::path fuzzTempDir;

static void FuzzRemoveTempDir() {
    std::error_code ignored;
    if (!fuzzTempDir.empty()) fs::remove_all(fuzzTempDir, ignored);
}

void FuzzSetUp() {
    HeapInit();
    HeapSetSizeLimit(FUZZ_HEAP_LIMIT);
}

void FuzzCheck(bool ok, const char *what) {
    if (ok) return;
    fprintf(stderr, "fuzz check failed: %s\n", what);
    abort();
}

std::string FuzzWriteFile(const char *name, const uint8_t *data, size_t size) {
    if (fuzzTempDir.empty()) {
        fuzzTempDir = fs::temp_directory_path() / ("vxfuzz-" + std::to_string(getpid()));
        fs::create_directories(fuzzTempDir);
        atexit(FuzzRemoveTempDir);
    }
    std::string path = (fuzzTempDir / name).string();
    FILE *f = fopen(path.c_str(), "wb");
    FuzzCheck(f != nullptr, "the input file can be created");
    FuzzCheck(fwrite(data, 1, size, f) == size && fclose(f) == 0, "the input file can be written");
    return path;
}

int FuzzOpenBytes(const char *name, const uint8_t *data, size_t size) {
    int file = FileOpen(FuzzWriteFile(name, data, size).c_str(), 0);
    FuzzCheck(file >= 0, "the file opens");
    return file;
}
