// Fuzz target: the style sheet's configuration section read from arbitrary bytes, under every version gate.
// Expected: an accepted sheet holds at least the 146 built-in styles, each record well-formed within 280
// bytes; every style resolves and gives an appearance (stored cycles included); the CSS is written whole; and
// the sheet written back and read again gives the same bytes.
#include "base/erc.h"
#include "base/file.h"
#include "display/style.h"
#include "support/fuzz.h"

#include <cstring>
#include <vector>

static std::vector<unsigned char> FuzzSaved(const StyleSheet *sheet) {
    int file = FuzzOpenBytes("style-saved.bin", nullptr, 0);
    FuzzCheck(StyleSheetSave(file, sheet) == 1, "a sheet read can be written");
    std::vector<unsigned char> bytes(FileGetSize(file));
    FileSeek(file, 0);
    FuzzCheck(bytes.empty() || FileReadExact(file, bytes.data(), (int32_t)bytes.size()),
              "its bytes are read");
    FileClose(file);
    return bytes;
}

static void FuzzWalkStyles(const StyleSheet *sheet) {
    for (int32_t i = 0; i < StyleCount(sheet); i++) {
        int32_t size;
        const unsigned char *record = StyleRecord(sheet, i, &size);
        FuzzCheck(size <= STYLE_RECORD_MAX && StyleRecordValid(record, size, nullptr), "records are sound");
        unsigned char scratch[STYLE_RECORD_MAX];
        const unsigned char *resolved = StyleResolve(sheet, i, scratch, &size);
        FuzzCheck(StyleRecordValid(resolved, size, nullptr), "a resolved list is sound");
        StyleAppearance app = {};
        StyleGetAppearance(sheet, i, &app);
    }
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const uint32_t versions[] = {0x3000001, 0x3000005, 0x3320000, 0x3320040};
    uint32_t version = size ? versions[data[0] % 4] : versions[3];
    int file = FuzzOpenBytes("style.bin", size ? data + 1 : data, size ? size - 1 : 0);
    bool changed;
    if (StyleSheet *sheet = StyleSheetLoad(file, version, &changed)) {
        FuzzCheck(StyleCount(sheet) >= STYLE_BUILTINS, "every built-in style is there");
        FuzzWalkStyles(sheet);
        TextBuf css;
        TextBufInit(&css);
        StyleAppearance base = {};
        FuzzCheck(StyleSheetWriteCss(sheet, &css, &base, true) == css.length, "the CSS is written whole");
        TextBufFree(&css);
        std::vector<unsigned char> bytes = FuzzSaved(sheet);
        int again = FuzzOpenBytes("style-again.bin", bytes.data(), bytes.size());
        StyleSheet *reread = StyleSheetLoad(again, 0x3320040, &changed);
        FuzzCheck(reread && !changed && FuzzSaved(reread) == bytes, "the sheet survives the round trip");
        StyleSheetFree(reread);
        FileClose(again);
        StyleSheetFree(sheet);
    }
    FileClose(file);
    ErcClear();
    return 0;
}
