// path: string operations on Windows path names (prefix Path): normal form, roots of drive and UNC paths,
// splitting, joining, full and relative paths, extensions, and the display forms of titles and lists.
// A path is a C string of at most PATH_MAX_CHARS characters with backslash separators; a path buffer holds
// PATH_MAX_CHARS + 1 bytes, and every operation that builds a path cuts its result to fit one.
// Components are compared ignoring case.
// Success convention of the foundation (see erc.h): failure is false, 0, -1 or null, as each call says, with
// the current error set.
#pragma once

enum { PATH_MAX_CHARS = 255, PATH_BUFFER = PATH_MAX_CHARS + 1 };

// Normal form and tests.
void PathNormalize(char *path); // '/' to '\', trailing blanks cut, trailing '\' cut unless a root
void PathTrimSlash(char *path); // trailing '\' cut unless the path is a root
bool PathIsAbsolute(const char *path);
bool PathIsBareName(const char *path);
bool PathIsRoot(const char *path); // "C:", "C:\", "\", "\\server\share", "\\server\share\"
bool PathHasWildcards(const char *path);
bool PathIsDots(const char *path);
int PathGetDrive(const char *path); // 'A'..'Z', or 0
bool PathHasLongNames(const char *path);

// Parts of a path. Out buffers hold PATH_BUFFER bytes and may be the path itself.
void PathGetRoot(const char *path, char *out);
void PathSplit(const char *path, char *folder, char *name); // either out may be null
const char *PathGetName(const char *path);
const char *PathGetExt(const char *path); // the '.', or the terminating NUL
// Extensions are given with or without their dot.
void PathSplitExt(char *path, char *ext);
bool PathHasExt(const char *ext, const char *path);
void PathSetExt(char *path, const char *ext);
void PathChangeExt(char *path, const char *ext);
int PathRemoveExt(char *path, const char *ext);
void PathAddExt(char *path, const char *ext);
void PathDefaultExt(char *path, const char *ext);

// Building paths.
void PathAppend(const char *name, char *path);
void PathJoin(const char *folder, const char *name, char *out);
int PathMakeFull(const char *path, char *out);
int PathMakeFullIn(const char *folder, const char *path, char *out);
void PathMakeAbsIn(const char *folder, char *path);
void PathMakeRelative(const char *base, const char *path, char *out);
const char *PathSkipCommon(const char *base, const char *path);
void PathStripCommon(const char *base, const char *path, char *out);
void PathStripDir(const char *folder, const char *path, char *out);
void PathStripDirSelf(const char *folder, char *path);
void PathMakeSafeName(char *name);

// Display forms.
void PathNameFirst(char *path); // C:\dir\name becomes "name (C:\dir)"
void PathFixCase(char *path);
void PstrPathFixCase(unsigned char *pstr);
void PathDisplayForm(char *path);
void PathAbbreviate(char *path);
void PathDisplayCopy(const char *path, char *out);
bool PathSetKeepCase(bool on); // both return the previous setting
bool PathSetAbbreviate(bool on);

// The system side, through the file layer's table. The current folder is read normalised; 0 when it cannot
// be read.
int PathOsGetCurrentDir(char *buffer);
int PathOsSetCurrentDir(const char *folder);
int PathOsMaxComponentLength(const char *root); // root may be null for the current drive; 0 when unknown
