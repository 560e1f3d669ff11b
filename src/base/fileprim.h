// fileprim: the directory search that every folder operation rests on (prefix FileFind), with one shared
// search handle for the searches that do not bring their own and the share roots of network paths
// (\\server\share) reported as folders; and the file-time helpers FileTouchTime and FileTimeToDateText.
#pragma once

#include <windows.h>

// Attribute filters: 0 any entry, -1 files only, any other value entries having one of those bits (16
// folders).
enum { FIND_ANY = 0, FIND_FILES = -1, FIND_FOLDERS = FILE_ATTRIBUTE_DIRECTORY };

// One entry per call: 1 found, 0 at the end or on failure. With fFirst a new search starts on the slot (the
// shared handle when slot is null), closing the search that was open there. The name is cut to nameSize - 1.
int FileFindEx(HANDLE *slot, int fFirst, int filter, const char *pattern, WIN32_FIND_DATAA *fd, char *name,
               int nameSize);
int FileFind(int fFirst, int filter, const char *pattern, WIN32_FIND_DATAA *fd, char *name);
void FileFindClose();                 // the shared handle
void FileFindCloseSlot(HANDLE *slot); // a caller's own handle; the slot is left empty
inline void FileFindInitSlot(HANDLE *slot) {
    *slot = INVALID_HANDLE_VALUE;
}

// The file's last-write time := now. 1 ok.
int FileTouchTime(HANDLE file);
// The local short date of a file time, in the user's default format.
int FileTimeToDateText(FILETIME time, char *buffer, int size);
