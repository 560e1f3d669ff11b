// setting: the program's own values in the registry (prefix Setting): numbers and texts under the per-user
// program key or one of its subkeys ("Options\Advanced"). Portable: the Windows back-end (setting_win.cpp)
// reads and writes the registry through the foundation's registry layer; the native back-end
// (setting_posix.cpp) and the test store keep the values in memory for the run.
//
// Numbers are read from a DWORD value or from decimal text, whichever the value holds; SettingSetInt writes
// the program's usual decimal text, SettingSetDword a DWORD.
// Success convention: true when the value was there (or was stored); a missing value leaves *out alone.
#pragma once

#include <cstdint>

enum { SETTING_TEXT_MAX = 256 }; // a text's bytes with its NUL

bool SettingGetInt(const char *subKey, const char *name, int32_t *out); // subKey null: the program key
bool SettingSetInt(const char *subKey, const char *name, int32_t value);
bool SettingSetDword(const char *subKey, const char *name, uint32_t value);
// A text cut to size - 1 characters.
bool SettingGetText(const char *subKey, const char *name, char *out, uint32_t size);
bool SettingSetText(const char *subKey, const char *name, const char *text);
bool SettingDelete(const char *subKey, const char *name);

// Test seam: while on, values live in a store in memory that starts empty, on every platform.
void SettingUseTestStore(bool on);

// The back-ends. The memory store is setting.cpp's; the system's is the platform's.
struct SettingValue {
    bool isText;
    int32_t number;
    char text[SETTING_TEXT_MAX];
};
bool SettingOsGet(const char *subKey, const char *name, SettingValue *out);
bool SettingOsSet(const char *subKey, const char *name, const SettingValue *value);
bool SettingOsDelete(const char *subKey, const char *name);
bool SettingMemGet(const char *subKey, const char *name, SettingValue *out);
bool SettingMemSet(const char *subKey, const char *name, const SettingValue *value);
bool SettingMemDelete(const char *subKey, const char *name);
void SettingMemClear();
