// cfgedit: the edit options section (prefixes ConfigEdit, CfgEdit). The record is built bit by bit from the
// option words through one table of (file word, file bit, width, option word, option bit); bits of the option
// words that the table does not name keep their value across a load.
#include "shell/cfgedit.h"

#include "base/file.h"
#include "base/heap.h"
#include "base/strfile.h"
#include "base/utilil.h"
#include "display/opts.h"

#include <cstring>

// File bits of word `word` from `bit` on, `width` of them, hold the option bits of *option from optionBit on.
struct CfgEditBit {
    uint8_t word;
    uint8_t bit;
    uint8_t width;
    uint32_t *option;
    uint8_t optionBit;
};

static const CfgEditBit cfgEditBits[] = {
    {0, 0, 1, &g_options, 1},
    {0, 1, 1, &g_options, 3},
    {0, 2, 1, &g_options, 4},
    {0, 3, 1, &g_options, 5},
    {0, 4, 1, &g_options, 8},
    {0, 5, 1, &g_options, 9},
    {0, 6, 1, &g_options, 10},
    {0, 7, 1, &g_options, 11},
    {0, 8, 1, &g_options, 12},
    {0, 9, 1, &g_options, 13},
    {0, 10, 1, &g_options, 14},
    {0, 11, 1, &g_options, 2},
    {0, 12, 1, &g_options, 6},
    {0, 13, 1, &g_options, 7},
    {0, 14, 1, &g_options, 26},
    {0, 15, 1, &g_options, 15},
    {0, 16, 1, &g_options2, 0},
    {0, 17, 1, &g_options, 16},
    {0, 18, 1, &g_options, 17},
    {0, 20, 1, &g_options, 19},
    {0, 21, 1, &g_options, 20},
    {0, 22, 1, &g_options, 0},
    {0, 24, 1, &g_options, 22},
    {0, 25, 1, &g_options, 23},
    {0, 26, 1, &g_options, 24},
    {0, 27, 1, &g_options, 25},
    {0, 28, 1, &g_options2, 1},
    {0, 29, 1, &g_options2, 2},
    {0, 30, 1, &g_options, 27},
    {0, 31, 1, &g_options, 18},
    {5, 0, 1, &g_options, 29},
    {5, 1, 1, &g_options, 30},
    {5, 2, 1, &g_options, 31},
    {5, 3, 18, &g_options2, 3},
    {5, 21, 1, &g_options2, 22},
    {5, 22, 1, &g_options2, 23},
    {5, 23, 1, &g_options2, 24},
    {5, 24, 4, &g_lineEndFormat, 0},
    {5, 28, 1, &g_options2, 25},
    {5, 29, 1, &g_options2, 26},
    {5, 30, 2, &g_pasteSelect, 0},
    {6, 0, 1, &g_options3, 0},
    {6, 1, 1, &g_options3, 1},
    {6, 2, 1, &g_options2, 27},
    {6, 3, 1, &g_options3, 2},
    {6, 4, 1, &g_options3, 3},
    {6, 5, 1, &g_options3, 4},
    {6, 7, 1, &g_options3, 5},
    {6, 8, 1, &g_options3, 6},
    {6, 9, 1, &g_options3, 7},
    {6, 10, 1, &g_options3, 8},
    {6, 11, 1, &g_options3, 9},
    {6, 12, 1, &g_options3, 10},
    {6, 13, 1, &g_spaceAfterFuncName, 0},
    {6, 14, 1, &g_spaceBetweenParams, 0},
};

struct CfgEditNumber {
    uint8_t word;
    int32_t *value;
};

static const CfgEditNumber cfgEditNumbers[] = {
    {1, &g_openCommand}, {2, &g_syncMinutes}, {3, &g_recoverySeconds}, {4, &g_undoSteps}, {7, &g_backupDays},
};

static uint32_t CfgEditField(uint8_t width) {
    return width == 32 ? UINT32_MAX : (1u << width) - 1;
}

void ConfigEditGather(ConfigEditRecord *out) {
    memset(out, 0, sizeof *out);
    for (const CfgEditBit &b : cfgEditBits)
        out->words[b.word] |= ((*b.option >> b.optionBit) & CfgEditField(b.width)) << b.bit;
    out->words[6] |= CONFIG_EDIT_LONG_PATH;
    for (const CfgEditNumber &n : cfgEditNumbers) out->words[n.word] = (uint32_t)*n.value;
}

void ConfigEditSpread(const ConfigEditRecord *record) {
    for (const CfgEditBit &b : cfgEditBits) {
        uint32_t field = CfgEditField(b.width);
        uint32_t value = (record->words[b.word] >> b.bit) & field;
        *b.option = (*b.option & ~(field << b.optionBit)) | (value << b.optionBit);
    }
    for (const CfgEditNumber &n : cfgEditNumbers) *n.value = (int32_t)record->words[n.word];
    g_recoverySeconds = Max(g_recoverySeconds, 1);
    g_syncMinutes = Max(g_syncMinutes, 1);
    g_backupDays = Clamp(g_backupDays, 0, OPT_BACKUP_DAYS_MAX);
    if (g_lineEndFormat < OPT_LINE_END_CRLF || g_lineEndFormat > OPT_LINE_END_CR)
        g_lineEndFormat = OPT_LINE_END_CRLF;
    if (g_pasteSelect > OPT_PASTE_ALL) g_pasteSelect = OPT_PASTE_START;
}

// ---- The symbol path

static char *cfgSymbolPath; // a LONG_STR_SIZE block, or null for none

static void CfgEditTakePath(char *block) {
    MemFree(cfgSymbolPath);
    cfgSymbolPath = block;
}

void ConfigSetSymbolPath(const char *text) {
    char *block = LongStrAlloc();
    if (!block) return;
    StrCopyMaxLen(text, block, LONG_STR_SIZE - 1);
    CfgEditTakePath(block);
    SetConfigDirty(0);
}

const char *ConfigSymbolPath() {
    return cfgSymbolPath ? cfgSymbolPath : "";
}

// ---- The section (slot 1)

struct CfgEditStage {
    ConfigEditRecord record;
    char *path;
};
static CfgEditStage cfgEditStaged;

static bool CfgEditWrite(int file) {
    ConfigEditRecord record;
    ConfigEditGather(&record);
    unsigned char shortForm[256];
    PstrFromSz(ConfigSymbolPath(), shortForm);
    return FileWriteExact(file, &record, sizeof record) &&
           FileWriteExact(file, shortForm, shortForm[0] + 1) && StrWriteLong(ConfigSymbolPath(), file);
}

// The short form of the path, into a new block.
static char *CfgEditReadShort(int file) {
    unsigned char length;
    char *block = LongStrAlloc();
    if (block && FileReadExact(file, &length, 1) && FileReadExact(file, block, length)) return block;
    MemFree(block);
    return nullptr;
}

// The long form, when the record says it follows, replaces the short one.
static bool CfgEditRead(int file, const ConfigSection *section) {
    if (section->size <= sizeof(ConfigEditRecord) ||
        !FileReadExact(file, &cfgEditStaged.record, sizeof(ConfigEditRecord)))
        return false;
    cfgEditStaged.path = CfgEditReadShort(file);
    if (!cfgEditStaged.path || !(cfgEditStaged.record.words[6] & CONFIG_EDIT_LONG_PATH))
        return cfgEditStaged.path != nullptr;
    MemFree(cfgEditStaged.path);
    cfgEditStaged.path = StrReadLong(file);
    return cfgEditStaged.path != nullptr;
}

static void CfgEditApply(const ConfigSection *) {
    ConfigEditSpread(&cfgEditStaged.record);
    CfgEditTakePath(cfgEditStaged.path);
    cfgEditStaged.path = nullptr;
}

static void CfgEditDefaults() {
    OptSetDefaults();
    CfgEditTakePath(nullptr);
}

static void CfgEditDiscard() {
    MemFree(cfgEditStaged.path);
    cfgEditStaged = {};
}

const ConfigOwner cfgEditOwner = {
    .write = CfgEditWrite,
    .read = CfgEditRead,
    .apply = CfgEditApply,
    .defaults = CfgEditDefaults,
    .discard = CfgEditDiscard,
};
