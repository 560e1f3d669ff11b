// fileprim: the directory search that every folder operation rests on (prefix FileFind), with one shared
// search handle for the searches that do not bring their own.
#pragma once

#include <windows.h>

// Attribute filters: 0 any entry, -1 files only, any other value entries having one of those bits (16
// folders).
enum { FIND_ANY = 0, FIND_FILES = -1, FIND_FOLDERS = FILE_ATTRIBUTE_DIRECTORY };

int FileFindEx(HANDLE *slot, int fFirst, int filter, const char *pattern, WIN32_FIND_DATAA *fd, char *name,
               int nameSize);
int FileFind(int fFirst, int filter, const char *pattern, WIN32_FIND_DATAA *fd, char *name);
void FileFindClose();
