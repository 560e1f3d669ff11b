// fileos: the file layer's system calls on Win32.
#include "base/fileos.h"

#include <windows.h>

#include <cstdio>

const char ercFileCreate[] = "Cannot create file: %s";
const char ercFileOpen[] = "Cannot open file: %s";
const char ercFileClose[] = "Error closing file";
const char ercFileSeek[] = "File seeking error";
const char ercFileRead[] = "File read error";
const char ercFileWrite[] = "File write error";
const char ercFileTooLarge[] = "File is too large";

static DWORD FileOsShareMode(int shareCode) {
    switch (shareCode) {
    case 32: return FILE_SHARE_READ;
    case 48: return FILE_SHARE_WRITE;
    default: return 0;
    }
}

Erc FileOsOpen(const char *path, int fCreate, int fReadOnly, int fSeq, int shareCode, FileHandle *out) {
    DWORD access = fReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD flags = FILE_ATTRIBUTE_NORMAL | (fSeq ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_FLAG_RANDOM_ACCESS);
    HANDLE h = CreateFileA(path, access, FileOsShareMode(shareCode), nullptr,
                           fCreate ? CREATE_ALWAYS : OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *out = 0;
        return ErcSetF(fCreate ? ercFileCreate : ercFileOpen, path);
    }
    *out = (FileHandle)h;
    return nullptr;
}

Erc FileOsClose(FileHandle h) {
    return CloseHandle((HANDLE)h) ? nullptr : ErcSetF(ercFileClose);
}

Erc FileOsSeek(FileHandle h, uint32_t offset) {
    LONG high = 0;
    if (SetFilePointer((HANDLE)h, (LONG)offset, &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
        return ErcSetSysF(GetLastError(), ercFileSeek);
    return nullptr;
}

Erc FileOsRead(FileHandle h, void *buffer, uint32_t length, uint32_t *moved) {
    DWORD n = 0;
    BOOL ok = ReadFile((HANDLE)h, buffer, length, &n, nullptr);
    *moved = n;
    return ok ? nullptr : ErcSetF(ercFileRead);
}

Erc FileOsWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved) {
    DWORD n = 0;
    BOOL ok = WriteFile((HANDLE)h, buffer, length, &n, nullptr);
    *moved = n;
    return ok ? nullptr : ErcSetF(ercFileWrite);
}

Erc FileOsFlush(FileHandle h) {
    return FlushFileBuffers((HANDLE)h) ? nullptr : ErcSetF(ercFileWrite);
}

Erc FileOsGetSize(FileHandle h, uint32_t *size) {
    DWORD high = 0;
    DWORD low = GetFileSize((HANDLE)h, &high);
    *size = 0;
    if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high)
        return ErcSetSysF(GetLastError(), ercFileTooLarge);
    *size = low;
    return nullptr;
}

int FileOsRemove(const char *path) {
    return remove(path) == 0;
}

Erc FileOsSetEnd(FileHandle h, uint32_t size) {
    if (Erc erc = FileOsSeek(h, size)) return erc;
    return SetEndOfFile((HANDLE)h) ? nullptr : ErcSetF(ercFileWrite);
}
