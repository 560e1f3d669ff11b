// reg: the registry layer (prefix Reg). At start-up it opens or creates four keys: "SOFTWARE\Tramontel" and
// the program key below it, under HKEY_CURRENT_USER (class "Per-User Data") and under HKEY_LOCAL_MACHINE
// (class "Per-Machine Data"). A user without rights on the machine hive gets read-only machine keys, or none.
// Values follow one convention: texts are REG_SZ with their NUL, numbers are REG_SZ holding "%d" text, blocks
// are REG_BINARY. Queries never report a failure: a missing value or key answers 0 or the default.
#include "base/reg.h"

#include "base/seam.h"
#include "base/utilil.h"

#include <cstdio>
#include <cstdlib>

static const char regMakerKey[] = "SOFTWARE\\Tramontel";
static const char regUserClass[] = "Per-User Data";
static const char regMachineClass[] = "Per-Machine Data";

static HKEY regUserMaker;
static HKEY regUserProgram;
static HKEY regMachineMaker;
static HKEY regMachineProgram;
static RegCreateHook regCreateHook;

static void RegResetSeams() {
    regCreateHook = nullptr;
}

void RegSetTestCreateHook(RegCreateHook hook) {
    regCreateHook = hook;
    SeamRegisterReset(RegResetSeams);
}

static LONG RegCreateKeyClass(HKEY parent, const char *subKey, const char *keyClass, REGSAM access,
                              HKEY *out) {
    *out = nullptr;
    if (!parent) return ERROR_INVALID_HANDLE;
    if (regCreateHook) return regCreateHook(parent, subKey, keyClass, access, out);
    DWORD disposition;
    return RegCreateKeyExA(parent, subKey, 0, const_cast<char *>(keyClass), REG_OPTION_NON_VOLATILE, access,
                           nullptr, out, &disposition);
}

// Full access first, then reading only; null when neither can be had.
static HKEY RegCreateWithFallback(HKEY parent, const char *subKey, const char *keyClass) {
    HKEY key;
    if (RegCreateKeyClass(parent, subKey, keyClass, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) return key;
    if (RegCreateKeyClass(parent, subKey, keyClass, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) return key;
    return nullptr;
}

int RegOpenProgramKeys(const char *programKey) {
    if (RegCreateKeyClass(HKEY_CURRENT_USER, regMakerKey, regUserClass, KEY_ALL_ACCESS, &regUserMaker))
        return 0;
    if (RegCreateKeyClass(regUserMaker, programKey, regUserClass, KEY_ALL_ACCESS, &regUserProgram)) return 0;
    regMachineMaker = RegCreateWithFallback(HKEY_LOCAL_MACHINE, regMakerKey, regMachineClass);
    regMachineProgram =
        regMachineMaker ? RegCreateWithFallback(regMachineMaker, programKey, regMachineClass) : nullptr;
    return 1;
}

static void RegCloseKeyVar(HKEY *key) {
    if (*key) RegCloseKey(*key);
    *key = nullptr;
}

void RegCloseProgramKeys() {
    RegCloseKeyVar(&regUserProgram);
    RegCloseKeyVar(&regUserMaker);
    RegCloseKeyVar(&regMachineProgram);
    RegCloseKeyVar(&regMachineMaker);
}

HKEY RegUserMakerKey() {
    return regUserMaker;
}
HKEY RegUserProgramKey() {
    return regUserProgram;
}
HKEY RegMachineMakerKey() {
    return regMachineMaker;
}
HKEY RegMachineProgramKey() {
    return regMachineProgram;
}

HKEY RegCreate(HKEY parent, const char *subKey) {
    return RegCreateWithFallback(parent, subKey, "");
}

HKEY RegOpen(HKEY parent, const char *subKey, bool write) {
    HKEY key = nullptr;
    if (!parent) return nullptr;
    if (RegOpenKeyExA(parent, subKey, 0, write ? KEY_ALL_ACCESS : KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

int RegSetString(HKEY key, const char *name, const char *text) {
    if (!key) return 0;
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1) == ERROR_SUCCESS;
}

LONG RegSetInt(HKEY key, const char *name, int32_t number) {
    char text[16];
    snprintf(text, sizeof text, "%d", (int)number);
    if (!key) return ERROR_INVALID_HANDLE;
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1);
}

int RegSetBinary(HKEY key, const char *name, const void *bytes, uint32_t length) {
    if (!key) return 0;
    return RegSetValueExA(key, name, 0, REG_BINARY, (const BYTE *)bytes, length) == ERROR_SUCCESS;
}

// Reads at most size bytes; *length gets what came. The system does not promise a NUL after a text that was
// stored without one, and a caller's strlen or atoi would run past the value: any value shorter than the
// buffer gets a NUL after it, and the callers that read texts terminate a full buffer themselves.
static int RegQueryRaw(HKEY key, const char *name, void *buffer, uint32_t size, uint32_t *length,
                       DWORD *type) {
    DWORD got = size;
    *length = 0;
    *type = REG_NONE;
    if (!key || !buffer || size == 0) return 0;
    if (RegQueryValueExA(key, name, nullptr, type, (BYTE *)buffer, &got) != ERROR_SUCCESS) return 0;
    if (got < size) ((char *)buffer)[got] = 0;
    *length = got;
    return 1;
}

static int RegIsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

int RegQueryBuf(HKEY key, const char *name, void *buffer, uint32_t size) {
    uint32_t length;
    DWORD type;
    if (!RegQueryRaw(key, name, buffer, size, &length, &type)) return 0;
    char *bytes = (char *)buffer;
    if (RegIsTextType(type) && length >= size && bytes[size - 1] != 0) bytes[size - 1] = 0;
    return 1;
}

int RegQueryBuf2(HKEY key, const char *name, void *buffer, uint32_t size) {
    return RegQueryBuf(key, name, buffer, size);
}

int RegQueryBufSize(HKEY key, const char *name, void *buffer, uint32_t *size, uint32_t defaultSize) {
    uint32_t length;
    DWORD type;
    *size = defaultSize;
    if (!RegQueryRaw(key, name, buffer, defaultSize, &length, &type)) return 0;
    *size = length;
    return 1;
}

// A text read into a buffer of size bytes, always NUL-terminated within it.
static int RegQueryText(HKEY key, const char *name, char *buffer, uint32_t size) {
    uint32_t length;
    DWORD type;
    if (!RegQueryRaw(key, name, buffer, size, &length, &type)) return 0;
    if (length >= size) buffer[size - 1] = 0;
    return 1;
}

void RegQueryStringDef(HKEY key, const char *name, char *buffer, uint32_t size, const char *defaultText) {
    if (size == 0) return;
    if (!RegQueryText(key, name, buffer, size)) StrCopyMaxLen(defaultText, buffer, (int)size - 1);
}

// Up to 256 bytes of text, with room for the NUL that a value of exactly 256 bytes lacks.
int RegQueryInt(HKEY key, const char *name, int32_t *number) {
    char text[257];
    uint32_t length;
    DWORD type;
    if (!RegQueryRaw(key, name, text, 256, &length, &type)) return 0;
    text[length] = 0;
    *number = atoi(text);
    return 1;
}

LONG RegSetUser(const char *name, const char *text) {
    if (!regUserProgram) return ERROR_INVALID_HANDLE;
    return RegSetValueExA(regUserProgram, name, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1);
}

int RegQueryUser(const char *name, char *buffer, uint32_t size) {
    return RegQueryText(regUserProgram, name, buffer, size);
}

LONG RegDeleteUserKey(const char *subKey) {
    if (!regUserProgram) return ERROR_INVALID_HANDLE;
    return RegDeleteKeyA(regUserProgram, subKey);
}
