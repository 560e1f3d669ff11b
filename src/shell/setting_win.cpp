// setting: the Windows back-end, over the per-user program key that the start-up opens (base/reg.h). A
// subkey is created when a value is first stored in it. Without the program key nothing is read or stored.
#include "shell/setting.h"

#include "base/reg.h"

#include <cstring>

static HKEY SettingOsKey(const char *subKey, bool write) {
    HKEY program = RegUserProgramKey();
    if (!program || !subKey) return program;
    return write ? RegCreate(program, subKey) : RegOpen(program, subKey, false);
}

static void SettingOsRelease(HKEY key, const char *subKey) {
    if (key && subKey) RegCloseKey(key);
}

bool SettingOsGet(const char *subKey, const char *name, SettingValue *out) {
    HKEY key = SettingOsKey(subKey, false);
    if (!key) return false;
    DWORD type = 0, size = sizeof out->text - 1;
    char bytes[SETTING_TEXT_MAX] = {};
    bool ok = RegQueryValueExA(key, name, nullptr, &type, (BYTE *)bytes, &size) == ERROR_SUCCESS;
    SettingOsRelease(key, subKey);
    if (!ok) return false;
    out->isText = type != REG_DWORD;
    out->number = 0;
    if (!out->isText) memcpy(&out->number, bytes, sizeof out->number);
    memcpy(out->text, bytes, sizeof out->text);
    out->text[out->isText ? size : 0] = 0;
    return true;
}

bool SettingOsSet(const char *subKey, const char *name, const SettingValue *value) {
    HKEY key = SettingOsKey(subKey, true);
    if (!key) return false;
    bool ok = value->isText ? RegSetString(key, name, value->text)
                            : RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE *)&value->number,
                                             sizeof value->number) == ERROR_SUCCESS;
    SettingOsRelease(key, subKey);
    return ok;
}

bool SettingOsDelete(const char *subKey, const char *name) {
    HKEY key = SettingOsKey(subKey, true);
    if (!key) return false;
    bool ok = RegDeleteValueA(key, name) == ERROR_SUCCESS;
    SettingOsRelease(key, subKey);
    return ok;
}
