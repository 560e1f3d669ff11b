// Fuzz target: the file form of a mark set (undo snapshots and workspaces keep a buffer's three mark sets in
// it). The input is the stored form. Expected: a set read back is sound (a name per mark, each naming a mark
// of the set, kinds 1 to 4, the file and key indexes of link ends inside their lists, the link lists
// together, the current index inside the set), works (every mark can be found by its name and deleted), and
// writes a form of the size it was read from, which reads back and writes the same bytes again.
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

static bool FuzzInside(const Stl *list, int32_t index) {
    return list && index >= 0 && index < StlCount(list);
}

static void FuzzCheckSound(const MarkSet *set) {
    FuzzCheck(set->names && StlCount(set->names) == MrkSetCount(set), "a name per mark");
    FuzzCheck((set->fileNames != nullptr) == (set->keys != nullptr), "the link lists come together");
    FuzzCheck(set->current >= -1 && set->current < MrkSetCount(set), "the current index is inside");
    for (int32_t i = 0; i < MrkSetCount(set); i++) {
        const Mark *mark = MrkSetAt(set, i);
        FuzzCheck(MrkSetNameIndex(set, i) >= 0, "each mark has a name");
        FuzzCheck(MrkSetMarkIndex(set, MrkSetNameIndex(set, i)) == i, "its name leads back to it");
        FuzzCheck(mark->kind >= MARK_HISTORY && mark->kind <= MARK_BACKLINK, "kinds 1 to 4");
        if (mark->kind == MARK_LINK || mark->kind == MARK_BACKLINK)
            FuzzCheck(FuzzInside(set->fileNames, mark->serial) && FuzzInside(set->keys, mark->key),
                      "a link end's indexes are inside its lists");
    }
}

// The written form reads back into a set that writes exactly the same bytes.
static void FuzzCheckRewritten(int written, uint32_t size) {
    FileSeek(written, 0);
    MarkSet *again = nullptr;
    FuzzCheck(MrkSetRead(written, &again) && again, "the written form reads back");
    FuzzCheck(FileTell(written) == size, "the whole form is read");
    int out = FuzzOpenBytes("rewritten.bin", nullptr, 0);
    FuzzCheck(MrkSetWrite(out, again), "the set read back is written");
    FuzzCheck(FuzzBytes(out, 0, FileTell(out)) == FuzzBytes(written, 0, size), "the same bytes again");
    FileClose(out);
    MrkSetFree(again);
}

// Every mark is found by its name and deleted through it, which releases its link entries.
static void FuzzDeleteAll(MarkSet *set) {
    bool deleted = MrkSetCount(set) > 0;
    while (MrkSetCount(set) > 0) {
        int32_t before = MrkSetCount(set);
        unsigned char name[256];
        int32_t value;
        StlGet(set->names, 0, name, &value);
        FuzzCheck(MrkSetFindByName(set, name) != nullptr || StlCount(set->names) > 1, "found by its name");
        MrkSetDelete(set, 0);
        FuzzCheck(MrkSetCount(set) == before - 1, "deleted");
    }
    FuzzCheck(!deleted || set->flags == 0, "a set that became empty has no flags");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int file = FuzzOpenBytes("marks.bin", data, size);
    MarkSet *set = nullptr;
    if (MrkSetRead(file, &set)) {
        FuzzCheck(set || FileTell(file) == 4, "only -1 reads as no set");
    } else {
        FuzzCheck(set == nullptr, "a refused form keeps nothing");
    }
    if (set) {
        uint32_t readTo = FileTell(file);
        FuzzCheckSound(set);
        int out = FuzzOpenBytes("written.bin", nullptr, 0);
        FuzzCheck(MrkSetWrite(out, set), "the set is written");
        uint32_t written = FileTell(out);
        FuzzCheck(FuzzBytes(file, 0, readTo).size() == FuzzBytes(out, 0, written).size(),
                  "the form has its size again");
        FuzzCheckRewritten(out, written);
        FuzzDeleteAll(set);
        MrkSetFree(set);
        FileClose(out);
    }
    FileClose(file);
    ErcClear();
    return 0;
}
