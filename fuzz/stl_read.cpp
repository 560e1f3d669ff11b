// Fuzz target: the string list's file form read from arbitrary bytes. Expected: an accepted list passes
// StlCheck, finds each of its strings through its hash index, and written back and read again gives the
// same strings and values.
#include "base/erc.h"
#include "base/file.h"
#include "base/stl.h"
#include "support/fuzz.h"

#include <cstring>

static int FuzzPstrCompare(const unsigned char *a, const unsigned char *b) {
    return a[0] == b[0] && memcmp(a + 1, b + 1, a[0]) == 0 ? 0 : 1;
}

static void FuzzFindEach(Stl *list) {
    if (!StlBuildHash(list, 31)) return;
    for (int32_t i = 0; i < StlCount(list); i++) {
        const unsigned char *pstr = StlItemPstr(StlItem(list, i));
        unsigned char key[256];
        memcpy(key, pstr, pstr[0] + 1);
        const unsigned char *found = StlFindPstr(list, key, 1);
        FuzzCheck(found != nullptr && FuzzPstrCompare(StlItemPstr(found), key) == 0, "a string is found");
    }
    FuzzCheck(StlCheck(list) == 1, "the hash index keeps the list sound");
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int open = FileCountOpen();
    int file = FuzzOpenBytes("stl.bin", data, size);
    if (Stl *list = StlRead(file)) {
        FuzzCheck(StlCheck(list) == 1, "a list read is sound");
        int scratch = FuzzOpenBytes("stl-again.bin", nullptr, 0);
        FuzzCheck(StlWrite(list, scratch) == 1, "a list read can be written");
        FileSeek(scratch, 0);
        Stl *again = StlRead(scratch);
        FuzzCheck(again && StlEqual(list, again, FuzzPstrCompare, 1), "the list survives the round trip");
        FuzzFindEach(list);
        StlFree(again);
        StlFree(list);
        FileClose(scratch);
    }
    FileClose(file);
    FuzzCheck(FileCountOpen() == open, "the files are closed");
    ErcClear();
    return 0;
}
