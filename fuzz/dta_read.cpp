// Fuzz target: the document types' section of the configuration file. The input's first byte picks the
// configuration version it is read as (one before the language names were stored, or a current one); the
// rest is the section. Expected: a table read has one entry in every list per type, at least one type, and
// values within their bounds; upgraded, it becomes the current table, which writes a section that reads back
// to the same number of types.
#include "base/erc.h"
#include "base/file.h"
#include "base/heap.h"
#include "doc/dta.h"
#include "support/fuzz.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

static void FuzzCheckTable(const DtaTable *t) {
    FuzzCheck(t->count >= 1, "a table has a type 0");
    FuzzCheck(t->options->size == (uint32_t)t->count * sizeof(DtaOptions), "an option entry per type");
    FuzzCheck(t->fonts->size == (uint32_t)t->count * sizeof(DtaFont), "a font record per type");
    FuzzCheck(StbCount(t->names) == t->count && StbCount(t->wildcards) == t->count &&
                  StbCount(t->patterns) == t->count,
              "a name, a wildcard list and a pattern per type");
    FuzzCheck(t->languages && StlCount(t->languages) == t->count, "a language name per type");
    for (int32_t i = 0; i < t->count; i++) {
        const DtaOptions *e = (const DtaOptions *)t->options->ptr + i;
        FuzzCheck(e->tabWidth >= DTA_TAB_MIN && e->tabWidth <= DTA_TAB_MAX, "a tab width in 1..20");
        FuzzCheck(e->margin >= DTA_MARGIN_MIN && e->margin <= DTA_MARGIN_MAX, "a margin in 10..4092");
        FuzzCheck(e->customTag >= 0 && e->customTag <= DTA_SYMBOL_TYPES, "a custom tag type in 0..58");
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    uint32_t version = data[0] & 1 ? 0x3320020 : 0x2000000;
    int file = FuzzOpenBytes("types.bin", data + 1, size - 1);
    DtaTable loaded;
    if (DtaRead(file, &loaded, version)) {
        FuzzCheckTable(&loaded);
        int32_t count = loaded.count;
        DtaUpgrade(&loaded, version);
        FuzzCheckTable(DtaCurrent());
        FuzzCheck(DtaCurrent()->count >= count, "upgrading keeps every type");
        int out = FuzzOpenBytes("written.bin", nullptr, 0);
        FuzzCheck(DtaWrite(out, DtaCurrent()), "the table is written");
        FileSeek(out, 0);
        DtaTable again;
        FuzzCheck(DtaRead(out, &again, 0x3320020), "what was written reads back");
        FuzzCheck(again.count == DtaCurrent()->count, "with every type");
        DtaTableFree(&again);
        FileClose(out);
        DtaTableExit();
    }
    FileClose(file);
    ErcClear();
    return 0;
}
