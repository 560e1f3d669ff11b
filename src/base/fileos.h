// fileos: the operating-system calls of the file layer, one call each, every failure turned into an error
// code. The file layer reaches the system only through these, so a back-end for another system, or a test
// that injects a failure, replaces them in one place.
#pragma once

#include "base/erc.h"

#include <cstdint>

typedef intptr_t FileHandle; // 0 means none

extern const char ercFileCreate[];   // "Cannot create file: %s"
extern const char ercFileOpen[];     // "Cannot open file: %s"
extern const char ercFileClose[];    // "Error closing file"
extern const char ercFileSeek[];     // "File seeking error"
extern const char ercFileRead[];     // "File read error"
extern const char ercFileWrite[];    // "File write error"
extern const char ercFileTooLarge[]; // "File is too large"

// Sharing codes: 0 or 16 none, 32 others may read, 48 others may write.
Erc FileOsOpen(const char *path, int fCreate, int fReadOnly, int fSeq, int shareCode, FileHandle *out);
Erc FileOsClose(FileHandle h);
Erc FileOsSeek(FileHandle h, uint32_t offset);
Erc FileOsRead(FileHandle h, void *buffer, uint32_t length, uint32_t *moved);
Erc FileOsWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved);
Erc FileOsFlush(FileHandle h);
Erc FileOsGetSize(FileHandle h, uint32_t *size);
Erc FileOsSetEnd(FileHandle h, uint32_t size);
int FileOsRemove(const char *path); // 1 when the file was deleted; no error is set
