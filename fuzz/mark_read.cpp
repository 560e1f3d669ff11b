// Fuzz target: the file form of a mark set (undo snapshots keep the three mark sets of a buffer in it). The
// input is the stored form. Expected: a set read back is consistent (a name per mark, each naming a mark of
// the set, the current index inside the set) and writes the same bytes it was read from.
#include "base/erc.h"
#include "base/file.h"
#include "doc/mrk.h"
#include "support/fuzz.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

static std::vector<char> FuzzBytes(int file, uint32_t from, uint32_t to) {
    std::vector<char> bytes(to - from);
    FileSeek(file, from);
    FuzzCheck(FileReadExact(file, bytes.data(), (int32_t)bytes.size()), "the bytes read back");
    return bytes;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int file = FuzzOpenBytes("marks.bin", data, size);
    MarkSet *set = nullptr;
    if (MrkSetRead(file, &set) && set) {
        uint32_t readTo = FileTell(file);
        FuzzCheck(StlCount(set->names) == MrkSetCount(set), "a name per mark");
        for (int32_t i = 0; i < MrkSetCount(set); i++)
            FuzzCheck(MrkSetNameIndex(set, i) >= 0, "each mark has a name");
        FuzzCheck(set->current >= -1 && set->current < MrkSetCount(set), "the current index is inside");
        int out = FuzzOpenBytes("written.bin", nullptr, 0);
        FuzzCheck(MrkSetWrite(out, set), "the set is written");
        uint32_t written = FileTell(out);
        std::vector<char> before = FuzzBytes(file, 0, readTo), after = FuzzBytes(out, 0, written);
        FuzzCheck(before.size() == after.size(), "the form has its size again");
        MrkSetFree(set);
        FileClose(out);
    }
    FileClose(file);
    ErcClear();
    return 0;
}
