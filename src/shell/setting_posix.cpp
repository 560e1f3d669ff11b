// setting: the native back-end. There is no registry: the values live in the store in memory for the run.
#include "shell/setting.h"

bool SettingOsGet(const char *subKey, const char *name, SettingValue *out) {
    return SettingMemGet(subKey, name, out);
}

bool SettingOsSet(const char *subKey, const char *name, const SettingValue *value) {
    return SettingMemSet(subKey, name, value);
}

bool SettingOsDelete(const char *subKey, const char *name) {
    return SettingMemDelete(subKey, name);
}
