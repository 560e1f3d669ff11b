// Fuzz target: the file layer's reads on arbitrary file bytes. The input gives the file's contents, the
// open flags, and a run of seeks, skips, seeks from the end and reads of any length at the file's position,
// with a second open of the same path that must share the slot. Expected: the position and the logical
// size follow the seeks (a seek past the end grows the size); a read moves at most what lies before the
// logical end, delivers the file's own bytes, and moves all it was asked for when that lies inside the file
// on disk; closing leaves the table as it was.
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
        moved = FileReadWrite(m.file, buffer.data(), length, 0);
        FuzzCheck(moved == length || !inside, "a read inside the file moves all it was asked for");
    }
    FuzzCheck(buffer[length] == 0xEE, "a read stays inside its buffer");
    if (moved < 0) {
        ErcClear();
        m.position = FileTell(m.file);
        return;
    }
    FuzzCheck(moved <= length && (uint64_t)m.position + moved <= m.size, "a read stops at the logical end");
    size_t onDisk = m.position < m.disk.size() ? std::min<size_t>(moved, m.disk.size() - m.position) : 0;
    FuzzCheck(onDisk == 0 || memcmp(buffer.data(), &m.disk[m.position], onDisk) == 0,
              "a read delivers the file's bytes");
    m.position += moved;
}

static void OpStep(FileModel &m, FuzzedDataProvider &in, const char *path) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
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
        int again = FileOpen(path, 0);
        FuzzCheck(again == m.file, "a second open shares the slot");
        FileClose(again);
        break;
    }
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
    int readOnly = in.ConsumeBool(), sequential = in.ConsumeBool();
    int open = FileCountOpen();
    m.file = FileOpenEx(path.c_str(), 0, readOnly, sequential, 0);
    FuzzCheck(m.file >= 0, "the input file opens");
    m.size = (uint32_t)m.disk.size();
    ModelCheck(m);
    while (in.remaining_bytes() > 0) OpStep(m, in, path.c_str());
    FileClose(m.file);
    FuzzCheck(FileCountOpen() == open && FileFindOpen(path.c_str()) == -1, "closing frees the slot");
    ErcClear();
    return 0;
}
