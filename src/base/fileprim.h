// fileprim: the directory search that every folder operation rests on (prefix FileFind), with one shared
// search for the callers that bring no slot of their own and the share roots of network paths
// (\\server\share) reported as folders; and the file-time helpers FileTouchTime and FileTimeToDateText.
// Everything reaches the system through the file layer's table (base/fileos.h).
#pragma once

#include "base/fileos.h"

#include <cstdint>

// One entry found: attributes (FILEOS_ATTR_*), last-write time, size and name.
typedef FileOsFind FileFindData;

// A search of the caller's own; FileFindInitSlot makes it empty.
typedef FileHandle FileFindSlot;
inline void FileFindInitSlot(FileFindSlot *slot) {
    *slot = 0;
}

// Attribute filters: any entry, files only, or entries having one of the given attribute bits.
enum FileFindFilter { FIND_ANY = 0, FIND_FILES = -1, FIND_FOLDERS = FILEOS_ATTR_FOLDER };

// One entry per call: true found, false at the end or on failure. With first a new search starts on the slot
// (the shared one when slot is null), ending the search that was open there. The name is cut to
// nameSize - 1.
bool FileFindEx(FileFindSlot *slot, bool first, int filter, const char *pattern, FileFindData *fd, char *name,
                int nameSize);
bool FileFind(bool first, int filter, const char *pattern, FileFindData *fd, char *name);
void FileFindClose();                       // the shared search
void FileFindCloseSlot(FileFindSlot *slot); // a caller's own search; the slot is left empty

// The file's last-write time := now.
bool FileTouchTime(FileHandle file);
// The local short date of a file time (as in FileFindData), in the user's default format.
bool FileTimeToDateText(uint32_t timeLow, uint32_t timeHigh, char *buffer, int size);
