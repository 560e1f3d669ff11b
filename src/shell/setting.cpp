// setting: the program's own values in the registry (prefix Setting). The calls go to the platform's back-end,
// or to the store in memory while the test seam is on; the native back-end uses that store too. The store is
// a small table: the values of one run of the program or of one test.
#include "shell/setting.h"

#include "base/seam.h"
#include "base/str.h"
#include "base/utilil.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

enum { SETTING_MEM_MAX = 128, SETTING_NAME_MAX = 64 };

struct SettingMemEntry {
    char subKey[SETTING_NAME_MAX];
    char name[SETTING_NAME_MAX];
    SettingValue value;
};

static SettingMemEntry settingMem[SETTING_MEM_MAX];
static int32_t settingMemCount;
static bool settingTestStore;

static SettingMemEntry *SettingMemFind(const char *subKey, const char *name) {
    for (int32_t i = 0; i < settingMemCount; i++) {
        if (StrEqualI(settingMem[i].subKey, subKey ? subKey : "") && StrEqualI(settingMem[i].name, name))
            return &settingMem[i];
    }
    return nullptr;
}

bool SettingMemGet(const char *subKey, const char *name, SettingValue *out) {
    const SettingMemEntry *entry = SettingMemFind(subKey, name);
    if (entry) *out = entry->value;
    return entry != nullptr;
}

bool SettingMemSet(const char *subKey, const char *name, const SettingValue *value) {
    SettingMemEntry *entry = SettingMemFind(subKey, name);
    if (!entry) {
        if (settingMemCount == SETTING_MEM_MAX) return false;
        entry = &settingMem[settingMemCount++];
        StrCopyMaxLen(subKey ? subKey : "", entry->subKey, SETTING_NAME_MAX - 1);
        StrCopyMaxLen(name, entry->name, SETTING_NAME_MAX - 1);
    }
    entry->value = *value;
    return true;
}

bool SettingMemDelete(const char *subKey, const char *name) {
    SettingMemEntry *entry = SettingMemFind(subKey, name);
    if (!entry) return false;
    *entry = settingMem[--settingMemCount];
    return true;
}

void SettingMemClear() {
    settingMemCount = 0;
}

static void SettingResetSeams() {
    settingTestStore = false;
    SettingMemClear();
}

void SettingUseTestStore(bool on) {
    settingTestStore = on;
    SettingMemClear();
    SeamRegisterReset(SettingResetSeams);
}

static bool SettingGet(const char *subKey, const char *name, SettingValue *out) {
    return settingTestStore ? SettingMemGet(subKey, name, out) : SettingOsGet(subKey, name, out);
}

static bool SettingSet(const char *subKey, const char *name, const SettingValue *value) {
    return settingTestStore ? SettingMemSet(subKey, name, value) : SettingOsSet(subKey, name, value);
}

bool SettingDelete(const char *subKey, const char *name) {
    return settingTestStore ? SettingMemDelete(subKey, name) : SettingOsDelete(subKey, name);
}

bool SettingGetInt(const char *subKey, const char *name, int32_t *out) {
    SettingValue value;
    if (!SettingGet(subKey, name, &value)) return false;
    *out = value.isText ? atoi(value.text) : value.number;
    return true;
}

bool SettingSetInt(const char *subKey, const char *name, int32_t number) {
    SettingValue value = {.isText = true, .number = number, .text = {}};
    snprintf(value.text, sizeof value.text, "%d", (int)number);
    return SettingSet(subKey, name, &value);
}

bool SettingSetDword(const char *subKey, const char *name, uint32_t number) {
    SettingValue value = {.isText = false, .number = (int32_t)number, .text = {}};
    return SettingSet(subKey, name, &value);
}

bool SettingGetText(const char *subKey, const char *name, char *out, uint32_t size) {
    SettingValue value;
    if (size == 0 || !SettingGet(subKey, name, &value)) return false;
    if (!value.isText) snprintf(value.text, sizeof value.text, "%d", (int)value.number);
    StrCopyMaxLen(value.text, out, (int)size - 1);
    return true;
}

bool SettingSetText(const char *subKey, const char *name, const char *text) {
    SettingValue value = {.isText = true, .number = 0, .text = {}};
    StrCopyMaxLen(text, value.text, SETTING_TEXT_MAX - 1);
    return SettingSet(subKey, name, &value);
}
