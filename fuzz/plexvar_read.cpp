// Fuzz target: the plexvar's file form read from arbitrary bytes. The first byte chooses how many caller's
// header bytes the form carries; the rest is the file. Expected: a refused form keeps nothing; an accepted
// one passes PlexVarCheck, and written back and read again gives the same elements.
#include "base/erc.h"
#include "base/file.h"
#include "base/plexvar.h"
#include "support/fuzz.h"

#include <cstring>

static bool FuzzSameElements(const PlexVar *a, const PlexVar *b) {
    if (PlexVarCount(a) != PlexVarCount(b)) return false;
    for (int32_t i = 0; i < PlexVarCount(a); i++) {
        int32_t n = PlexVarLength(a, i);
        if (PlexVarLength(b, i) != n || memcmp(PlexVarElem(a, i), PlexVarElem(b, i), n) != 0) return false;
    }
    return true;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    int32_t headerSize = (int32_t)sizeof(PlexVar) + data[0] % 5 * 4;
    int open = FileCountOpen();
    int file = FuzzOpenBytes("plexvar.bin", data + 1, size - 1);
    PlexVar *pv = nullptr;
    int ok = PlexVarRead(&pv, headerSize, file);
    FuzzCheck(ok == (pv != nullptr), "a refused form keeps nothing");
    if (pv) {
        FuzzCheck(PlexVarCheck(pv) == 1, "a form read is sound");
        int scratch = FuzzOpenBytes("plexvar-again.bin", nullptr, 0);
        FuzzCheck(PlexVarWrite(pv, headerSize, scratch) == 1, "a form read can be written");
        FileSeek(scratch, 0);
        PlexVar *again = nullptr;
        FuzzCheck(PlexVarRead(&again, headerSize, scratch) == 1, "a form written is read again");
        FuzzCheck(FuzzSameElements(pv, again), "the elements survive the round trip");
        PlexVarFree(again);
        PlexVarFree(pv);
        FileClose(scratch);
    }
    FileClose(file);
    FuzzCheck(FileCountOpen() == open, "the files are closed");
    ErcClear();
    return 0;
}
