// Fuzz target: the file layer's reads on arbitrary file bytes. The input gives the file's contents, the
// open flags (read-only, sequential, mapping allowed), and a run of seeks, skips, seeks from the end, reads
// of any length at the file's position, line reads, pointer reads, switches between the cached, mapped and
// direct paths, and a second open of the same path that must share the slot. Expected: the position and
// the logical size follow the seeks (a seek past the end grows the size); a read moves at most what lies
// before the logical end, delivers the file's own bytes, and moves all it was asked for when that lies
// inside the file on disk; a line read stops after its first line feed; closing leaves the table as it was.
#include "base/erc.h"
#include "base/file.h"
#include "support/fuzz.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <vector>

enum { FUZZ_MAX_READ = 20000, FUZZ_PAST_END = 100 };

struct FileModel {
    int file;
    std::vector<uint8_t> disk; // the file's bytes on disk
    uint32_t size;             // logical size
    uint32_t position;
};

static void ModelCheck(const FileModel &m) {
    FuzzCheck(FileTell(m.file) == m.position, "the position follows the seeks");
    FuzzCheck(FileGetSize(m.file) == m.size, "the logical size follows the seeks");
}

static void ModelSeek(FileModel &m, uint32_t position) {
    m.position = position;
    if (position > m.size) m.size = position;
}

// The bytes delivered from offset at must be the file's own where the file on disk has them.
static void FuzzCheckBytes(const FileModel &m, uint32_t at, const void *bytes, int32_t n, const char *what) {
    size_t onDisk = at < m.disk.size() ? std::min<size_t>(n, m.disk.size() - at) : 0;
    FuzzCheck(onDisk == 0 || memcmp(bytes, &m.disk[at], onDisk) == 0, what);
}

static void OpRead(FileModel &m, FuzzedDataProvider &in, bool exact) {
    int32_t length = in.ConsumeIntegralInRange<int32_t>(0, FUZZ_MAX_READ);
    std::vector<uint8_t> buffer(length + 1, 0xEE);
    bool inside = (uint64_t)m.position + length <= m.disk.size();
    int32_t moved;
    if (exact) {
        int ok = FileReadExact(m.file, buffer.data(), length);
        FuzzCheck(ok || !inside, "an exact read inside the file succeeds");
        moved = ok ? length : (int32_t)(FileTell(m.file) - m.position);
    } else {
        moved = FileReadWrite(m.file, buffer.data(), length, FILE_TRANSFER_READ);
        FuzzCheck(moved == length || !inside, "a read inside the file moves all it was asked for");
    }
    FuzzCheck(buffer[length] == 0xEE, "a read stays inside its buffer");
    if (moved < 0) {
        ErcClear();
        m.position = FileTell(m.file);
        return;
    }
    FuzzCheck(moved <= length && (uint64_t)m.position + moved <= m.size, "a read stops at the logical end");
    FuzzCheckBytes(m, m.position, buffer.data(), moved, "a read delivers the file's bytes");
    m.position += moved;
}

static void OpReadLine(FileModel &m, FuzzedDataProvider &in) {
    int32_t max = in.ConsumeIntegralInRange<int32_t>(0, 300);
    std::vector<char> buffer(max + 1, (char)0xEE);
    int32_t n = FileReadLine(m.file, buffer.data(), max);
    FuzzCheck(buffer[max] == (char)0xEE, "a line read stays inside its buffer");
    if (n < 0) {
        ErcClear();
        m.position = FileTell(m.file);
        return;
    }
    FuzzCheck(n <= max && (uint64_t)m.position + n <= m.size, "a line read stops at its bounds");
    const char *lf = (const char *)memchr(buffer.data(), '\n', n);
    FuzzCheck(!lf || lf == buffer.data() + n - 1, "a line read stops after its line feed");
    FuzzCheckBytes(m, m.position, buffer.data(), n, "a line read delivers the file's bytes");
    m.position += n;
}

// Where the position ends after a pointer read depends on the path the file takes: it is taken again.
static void OpReadPtr(FileModel &m, FuzzedDataProvider &in) {
    uint32_t at = in.ConsumeIntegralInRange<uint32_t>(0, m.size);
    int32_t length = in.ConsumeIntegralInRange<int32_t>(0, FUZZ_MAX_READ);
    std::vector<uint8_t> buffer(length + 1, 0xEE);
    int32_t got = -1;
    const void *bytes = FileReadPtr(m.file, at, buffer.data(), length, &got);
    FuzzCheck(buffer[length] == 0xEE, "a pointer read stays inside its buffer");
    if (bytes) {
        FuzzCheck(got >= 0 && got <= length && (uint64_t)at + got <= m.size,
                  "a pointer read stops at the end");
        FuzzCheckBytes(m, at, bytes, got, "a pointer read delivers the file's bytes");
    }
    ErcClear();
    m.position = FileTell(m.file);
    m.size = FileGetSize(m.file);
}

static void OpStep(FileModel &m, FuzzedDataProvider &in, const char *path) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0: {
        uint32_t to = in.ConsumeIntegralInRange<uint32_t>(0, m.size + FUZZ_PAST_END);
        FileSeek(m.file, to);
        ModelSeek(m, to);
        break;
    }
    case 1: {
        int32_t n = in.ConsumeIntegralInRange<int32_t>(-(int32_t)m.position, FUZZ_PAST_END);
        FileSkip(m.file, n);
        ModelSeek(m, m.position + n);
        break;
    }
    case 2: {
        uint32_t n = in.ConsumeIntegralInRange<uint32_t>(0, m.size);
        FileSeekEnd(m.file, n);
        ModelSeek(m, m.size - n);
        break;
    }
    case 3: OpRead(m, in, false); break;
    case 4: OpRead(m, in, true); break;
    case 5: {
        int again = FileOpen(path, FILE_OPEN_EXISTING);
        FuzzCheck(again == m.file, "a second open shares the slot");
        FileClose(again);
        break;
    }
    case 6: FileSetDirect(m.file, in.ConsumeBool()); break;
    case 7: FileSetMapped(m.file, in.ConsumeBool()); break;
    case 8: OpReadLine(m, in); break;
    case 9: OpReadPtr(m, in); break;
    }
    ModelCheck(m);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    FileModel m = {};
    m.disk = in.ConsumeBytes<uint8_t>(in.ConsumeIntegral<uint16_t>());
    std::string path = FuzzWriteFile("input.bin", m.disk.data(), m.disk.size());
    uint32_t how = (in.ConsumeBool() ? FILE_OPEN_READONLY : 0) | (in.ConsumeBool() ? FILE_OPEN_SEQ : 0) |
                   (in.ConsumeBool() ? FILE_OPEN_MAPPABLE : 0);
    int open = FileCountOpen();
    m.file = FileOpenEx(path.c_str(), how);
    FuzzCheck(m.file >= 0, "the input file opens");
    m.size = (uint32_t)m.disk.size();
    ModelCheck(m);
    while (in.remaining_bytes() > 0) OpStep(m, in, path.c_str());
    FileClose(m.file);
    FuzzCheck(FileCountOpen() == open && FileFindOpen(path.c_str()) == -1, "closing frees the slot");
    ErcClear();
    return 0;
}
