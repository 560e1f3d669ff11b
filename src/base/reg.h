// reg: the program's registry keys and the helpers that read and write values in the program's one convention
// (prefix Reg): texts are REG_SZ with their NUL, numbers are REG_SZ holding decimal text, blocks are
// REG_BINARY. Every query helper answers 0 (or the default) for a missing value or a null key.
#pragma once

#include <windows.h>

#include <cstdint>

// The four program keys: the maker key "SOFTWARE\Tramontel" and the program key below it, per user and per
// machine. The machine keys may be null (no access) or open for reading only.
int RegOpenProgramKeys(const char *programKey); // 0 only when a per-user key fails
void RegCloseProgramKeys();
HKEY RegUserMakerKey();
HKEY RegUserProgramKey();
HKEY RegMachineMakerKey();
HKEY RegMachineProgramKey();

HKEY RegCreate(HKEY parent, const char *subKey); // full access, else query-only; null on failure
HKEY RegOpen(HKEY parent, const char *subKey, bool write);

int RegSetString(HKEY key, const char *name, const char *text);
LONG RegSetInt(HKEY key, const char *name, int32_t number); // the system result, 0 = success
int RegSetBinary(HKEY key, const char *name, const void *bytes, uint32_t length);

// Reads the value whatever its type; 1 when present. A text that comes back without its NUL is terminated
// inside the buffer (cut by one character when it fills the buffer).
int RegQueryBuf(HKEY key, const char *name, void *buffer, uint32_t size);
int RegQueryBuf2(HKEY key, const char *name, void *buffer, uint32_t size);
// The size is set to the default first; afterwards it holds the value's length.
int RegQueryBufSize(HKEY key, const char *name, void *buffer, uint32_t *size, uint32_t defaultSize);
void RegQueryStringDef(HKEY key, const char *name, char *buffer, uint32_t size, const char *defaultText);
int RegQueryInt(HKEY key, const char *name, int32_t *number); // leading decimal digits, 0 when none

LONG RegSetUser(const char *name, const char *text);
int RegQueryUser(const char *name, char *buffer, uint32_t size);
LONG RegDeleteUserKey(const char *subKey);

// Test seam: every key the layer creates goes through the hook while one is set, so that a test can refuse
// the machine hive's write access as a user without rights would see it.
typedef LONG (*RegCreateHook)(HKEY parent, const char *subKey, const char *keyClass, REGSAM access,
                              HKEY *out);
void RegSetTestCreateHook(RegCreateHook hook);
