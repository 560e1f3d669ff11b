// file: the table of at most 200 open files (prefix File). A caller holds a file number (the slot, 0..199;
// -1 for failure) and reads and writes at the file's own position. Opens of the same path share one slot.
#pragma once

#include <cstdint>

enum { FILE_MAX_OPEN = 200 };

int FileOpenEx(const char *path, int fCreate, int fReadOnly, int fSeq, int fFileMakeOK);
int FileOpen(const char *path, int fCreate);
int FileOpenSeq(const char *path, int fCreate, int fReadOnly);
int FileOpenOrCreate(const char *path);
void FileClose(int file);
int FileFindOpen(const char *path);
int FileCountOpen();
void FileGetPath(int file, char *buffer); // at most 255 characters and a NUL

// Transfers at the file's position; the position advances by what moved.
int32_t FileReadWrite(int file, void *buffer, int32_t length, int fWrite); // bytes moved, or -1
int FileReadExact(int file, void *buffer, int32_t length);
int FileWriteExact(int file, const void *buffer, int32_t length);

void FileSeek(int file, uint32_t position);
void FileSkip(int file, int32_t n);
void FileSeekEnd(int file, uint32_t n);
uint32_t FileTell(int file);
uint32_t FileGetSize(int file);
int FileFlush(int file);
