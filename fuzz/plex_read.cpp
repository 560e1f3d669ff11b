// Fuzz target: the plex's file form read from arbitrary bytes. The first byte chooses how many caller's
// header bytes the form carries and whether a fixed element size is expected; the rest is the file.
// Expected: a refused form keeps nothing; an accepted one passes PlexCheck, holds capacity = count, and
// written back and read again gives the same elements and header bytes.
#include "base/erc.h"
#include "base/file.h"
#include "base/plex.h"
#include "support/fuzz.h"

#include <cstring>

static bool FuzzSamePlex(const Plex *a, const Plex *b, int32_t headerSize) {
    size_t extra = (size_t)headerSize - sizeof(Plex), bytes = (size_t)a->count * a->elemSize;
    return a->count == b->count && a->elemSize == b->elemSize && a->quantum == b->quantum &&
           a->flags == b->flags && memcmp(a + 1, b + 1, extra) == 0 &&
           (bytes == 0 || memcmp(a->elem0, b->elem0, bytes) == 0);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    int32_t headerSize = (int32_t)sizeof(Plex) + (data[0] & 3) * 4;
    int32_t expected = data[0] & 0x80 ? (data[0] >> 4) & 7 : -1;
    int open = FileCountOpen();
    int file = FuzzOpenBytes("plex.bin", data + 1, size - 1);
    Plex *plex = nullptr;
    int ok =
        expected < 0 ? PlexRead(&plex, headerSize, file) : PlexReadExpect(&plex, headerSize, expected, file);
    FuzzCheck(ok == (plex != nullptr), "a refused form keeps nothing");
    if (plex) {
        FuzzCheck(PlexCheck(plex) == 1 && plex->capacity == plex->count, "a form read is sound");
        FuzzCheck(expected < 0 || plex->elemSize == expected, "the expected element size is kept");
        int scratch = FuzzOpenBytes("plex-again.bin", nullptr, 0);
        FuzzCheck(PlexWrite(plex, headerSize, scratch) == 1, "a form read can be written");
        FileSeek(scratch, 0);
        Plex *again = nullptr;
        FuzzCheck(PlexRead(&again, headerSize, scratch) == 1, "a form written is read again");
        FuzzCheck(FuzzSamePlex(plex, again, headerSize), "the plex survives the round trip");
        PlexFree(again);
        PlexFree(plex);
        FileClose(scratch);
    }
    FileClose(file);
    FuzzCheck(FileCountOpen() == open, "the files are closed");
    ErcClear();
    return 0;
}
