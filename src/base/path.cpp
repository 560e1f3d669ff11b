// path: Windows path names as strings (prefix Path); see path.h. The only state is the two display
// options, keep case and abbreviate, both on until the preferences say otherwise. Operations that need the
// system (the current folder, volume facts) go through the file layer's table of system calls.
#include "base/path.h"

#include "base/fileos.h"

#include "base/str.h"
#include "base/utilil.h"

#include <cctype>
#include <cstring>

static bool pathKeepCase = true;
static bool pathAbbreviate = true;

enum { PATH_ABBREVIATE_OVER = 40, PATH_SHORT_NAME_MAX = 12 };

static int PathHasDrive(const char *path) {
    return isalpha((unsigned char)path[0]) && path[1] == ':';
}

static int PathIsUnc(const char *path) {
    return path[0] == '\\' && path[1] == '\\';
}

// Copies n characters from start into out (which may overlap them), cut to a path buffer.
static char *PathCopyRange(const char *start, size_t n, char *out) {
    if (n > PATH_MAX_CHARS) n = PATH_MAX_CHARS;
    memmove(out, start, n);
    out[n] = 0;
    return out;
}

static char *PathCopy(const char *path, char *out) {
    return PathCopyRange(path, strlen(path), out);
}

// The length of the root PathGetRoot gives; *rooted is 1 for a real root (drive, UNC or a leading '\')
// and 0 for the first component of a relative path.
static size_t PathRootLen(const char *path, int *rooted) {
    *rooted = 1;
    if (PathHasDrive(path)) return path[2] == '\\' ? 3 : 2;
    if (PathIsUnc(path)) {
        const char *server = strchr(path + 2, '\\');
        const char *share = server ? strchr(server + 1, '\\') : nullptr;
        return share ? share + 1 - path : strlen(path);
    }
    if (path[0] == '\\') return 1;
    *rooted = 0;
    const char *sep = strchr(path, '\\');
    return sep ? sep + 1 - path : strlen(path);
}

// ---------------------------------------------------------------------------------------------------------
// Normal form and tests

// A relative path's first component is no root: "src\" is a folder like any other.
bool PathIsRoot(const char *path) {
    int rooted;
    size_t n = PathRootLen(path, &rooted);
    return *path && rooted && n == strlen(path);
}

// Only a root keeps its trailing backslash ("C:\", "\", "\\server\share\"): "C:\a\" and "C:\a" must name
// the same folder when folders are compared.
void PathTrimSlash(char *path) {
    size_t n = strlen(path);
    if (n > 0 && path[n - 1] == '\\' && !PathIsRoot(path)) path[n - 1] = 0;
}

void PathNormalize(char *path) {
    size_t n = 0;
    for (char *p = path; *p; p++, n++)
        if (*p == '/') *p = '\\';
    while (n > 0 && (path[n - 1] == ' ' || path[n - 1] == '\t')) n--;
    path[n] = 0;
    PathTrimSlash(path);
}

bool PathIsAbsolute(const char *path) {
    return PathHasDrive(path) || PathIsUnc(path);
}

bool PathIsBareName(const char *path) {
    char p[PATH_BUFFER];
    PathNormalize(PathCopy(path, p));
    return *p && !PathHasDrive(p) && !strchr(p, '\\') && strcmp(p, "..") != 0;
}

bool PathHasWildcards(const char *path) {
    return strpbrk(path, "*?") != nullptr;
}

bool PathIsDots(const char *path) {
    return strcmp(path, ".") == 0 || strcmp(path, "..") == 0;
}

int PathGetDrive(const char *path) {
    return PathHasDrive(path) ? toupper((unsigned char)path[0]) : 0;
}

// A volume of short names reports 12 (eight, the dot and three) as its longest component.
bool PathHasLongNames(const char *path) {
    char root[PATH_BUFFER];
    const char *ask = nullptr;
    if (PathIsAbsolute(path)) {
        PathGetRoot(path, root);
        size_t n = strlen(root);
        if (n && root[n - 1] != '\\' && n < PATH_MAX_CHARS) memcpy(root + n, "\\", 2);
        ask = root;
    }
    return PathOsMaxComponentLength(ask) > PATH_SHORT_NAME_MAX;
}

// ---------------------------------------------------------------------------------------------------------
// Parts of a path

void PathGetRoot(const char *path, char *out) {
    int rooted;
    PathCopyRange(path, PathRootLen(path, &rooted), out);
}

void PathSplit(const char *path, char *folder, char *name) {
    size_t len = strlen(path);
    int rooted;
    size_t root = PathRootLen(path, &rooted);
    const char *sep = strrchr(path, '\\');
    ptrdiff_t at = sep ? sep - path : -1;
    if (PathHasDrive(path) && at < 1) at = 1; // the drive colon
    size_t folderLen, nameAt;
    if (rooted && root == len) { // a root is all folder: "C:", "C:\", "\", a bare UNC share
        folderLen = nameAt = len;
    } else if (at < 0) { // no separator: "." and ".." are folders, anything else a name
        folderLen = nameAt = path[0] == '.' ? len : 0;
    } else { // a root keeps its separator in the folder part
        folderLen = rooted && (size_t)at + 1 == root ? at + 1 : at;
        nameAt = at + 1;
    }
    char f[PATH_BUFFER], n[PATH_BUFFER];
    PathCopyRange(path, folderLen, f);
    PathCopy(path + nameAt, n);
    if (folder) strcpy(folder, f);
    if (name) strcpy(name, n);
}

const char *PathGetName(const char *path) {
    const char *p = path + (PathHasDrive(path) ? 2 : 0);
    const char *sep = strrchr(p, '\\');
    return sep ? sep + 1 : p;
}

const char *PathGetExt(const char *path) {
    const char *name = PathGetName(path);
    const char *dot = strrchr(name, '.');
    return dot ? dot : name + strlen(name);
}

static const char *PathExtBody(const char *ext) {
    return ext + (*ext == '.');
}

void PathSplitExt(char *path, char *ext) {
    char *e = path + (PathGetExt(path) - path);
    if (ext) PathCopy(e, ext);
    *e = 0;
}

bool PathHasExt(const char *ext, const char *path) {
    return StrEqualI(PathExtBody(PathGetExt(path)), PathExtBody(ext));
}

void PathAddExt(char *path, const char *ext) {
    if (!*ext) return;
    if (*ext != '.') StrAppendMax(".", path, PATH_MAX_CHARS);
    StrAppendMax(ext, path, PATH_MAX_CHARS);
}

void PathChangeExt(char *path, const char *ext) {
    PathSplitExt(path, nullptr);
    PathAddExt(path, ext);
}

void PathSetExt(char *path, const char *ext) {
    if (!PathHasExt(ext, path)) PathChangeExt(path, ext);
}

int PathRemoveExt(char *path, const char *ext) {
    if (!PathHasExt(ext, path)) return 0;
    PathSplitExt(path, nullptr);
    return 1;
}

void PathDefaultExt(char *path, const char *ext) {
    if (!*PathGetExt(path)) PathAddExt(path, ext);
}

// ---------------------------------------------------------------------------------------------------------
// Building paths

// The separator goes at 253 at the latest, so that a folder filled to the limit still leaves the
// backslash and one character of the name inside 255.
void PathAppend(const char *name, char *path) {
    char n[PATH_BUFFER];
    PathCopy(name[0] == '\\' ? name + 1 : name, n);
    size_t len = strlen(path);
    if (len > PATH_MAX_CHARS - 2) len = PATH_MAX_CHARS - 2;
    if (len > 0 && path[len - 1] != '\\') path[len++] = '\\';
    path[len] = 0;
    StrAppendMax(n, path, PATH_MAX_CHARS);
}

void PathJoin(const char *folder, const char *name, char *out) {
    char t[PATH_BUFFER];
    PathCopy(folder, t);
    PathAppend(name, t);
    strcpy(out, t);
}

// The folder part is entered to let the system resolve "..", "\" and the like; the current folder is put
// back before returning.
int PathMakeFull(const char *path, char *out) {
    char p[PATH_BUFFER], folder[PATH_BUFFER], name[PATH_BUFFER], old[PATH_BUFFER], full[PATH_BUFFER];
    PathNormalize(PathCopy(path, p));
    if (PathIsAbsolute(p)) {
        strcpy(out, p);
        return 1;
    }
    PathSplit(p, folder, name);
    if (PathIsDots(name)) { // "a\.." and "a\." are folders to enter, not names to append
        strcpy(folder, p);
        name[0] = 0;
    }
    if (!PathOsGetCurrentDir(old)) return 0;
    if (!folder[0]) {
        strcpy(full, old);
    } else if (PathOsSetCurrentDir(folder)) {
        if (!PathOsGetCurrentDir(full)) PathJoin(old, folder, full);
        PathOsSetCurrentDir(old);
    } else {
        PathJoin(old, folder, full);
    }
    if (name[0]) PathAppend(name, full);
    strcpy(out, full);
    return 1;
}

int PathMakeFullIn(const char *folder, const char *path, char *out) {
    char old[PATH_BUFFER];
    if (!PathOsGetCurrentDir(old)) return 0;
    if (!PathOsSetCurrentDir(folder)) {
        char p[PATH_BUFFER];
        PathNormalize(PathCopy(path, p));
        if (PathIsAbsolute(p))
            strcpy(out, p);
        else
            PathJoin(folder, p, out);
        return 1;
    }
    int ok = PathMakeFull(path, out);
    PathOsSetCurrentDir(old);
    return ok;
}

void PathMakeAbsIn(const char *folder, char *path) {
    if (!PathIsAbsolute(path)) PathJoin(folder, path, path);
}

// Walks the leading components that base and path share, whole components compared ignoring case (so
// "src" never matches the start of "srcx"). Returns how many, and where each string continues.
static int PathCommon(const char *base, const char *path, size_t *baseAt, size_t *pathAt) {
    size_t i = 0, j = 0;
    int shared = 0;
    while (base[i] || path[j]) {
        size_t a = strcspn(base + i, "\\"), b = strcspn(path + j, "\\");
        if (a != b || !MemEqualI(base + i, path + j, (int)a)) break;
        shared++;
        i += a + (base[i + a] != 0);
        j += b + (path[j + b] != 0);
    }
    *baseAt = i;
    *pathAt = j;
    return shared;
}

const char *PathSkipCommon(const char *base, const char *path) {
    size_t i, j;
    PathCommon(base, path, &i, &j);
    return base + i;
}

void PathStripCommon(const char *base, const char *path, char *out) {
    size_t i, j;
    PathCommon(base, path, &i, &j);
    PathCopy(path + j, out);
}

// Two paths can only be related when both are rooted at the same root, or both are relative.
static int PathSameRoot(const char *a, const char *b) {
    int ra, rb;
    size_t na = PathRootLen(a, &ra), nb = PathRootLen(b, &rb);
    if (ra != rb) return 0;
    if (!ra) return 1;
    if (na && a[na - 1] == '\\') na--;
    if (nb && b[nb - 1] == '\\') nb--;
    return na == nb && MemEqualI(a, b, (int)na);
}

void PathMakeRelative(const char *base, const char *path, char *out) {
    size_t i, j;
    if (!PathSameRoot(base, path) || !PathCommon(base, path, &i, &j)) {
        PathCopy(path, out);
        return;
    }
    char r[PATH_BUFFER] = "";
    for (const char *p = base + i; *p; p += strcspn(p, "\\"), p += *p != 0) {
        if (*p == '\\') continue; // an empty component climbs nothing
        StrAppendMax(r[0] ? "\\.." : "..", r, PATH_MAX_CHARS);
    }
    if (path[j]) {
        if (r[0]) StrAppendMax("\\", r, PATH_MAX_CHARS);
        StrAppendMax(path + j, r, PATH_MAX_CHARS);
    }
    strcpy(out, r[0] ? r : ".");
}

// The folder's own trailing backslash is ignored, and only a whole folder matches: "C:\src" does not hold
// "C:\srcx\a.c".
void PathStripDir(const char *folder, const char *path, char *out) {
    size_t n = strlen(folder);
    const char *rest = nullptr;
    if (n) {
        if (folder[n - 1] == '\\') n--;
        if (strlen(path) >= n && MemEqualI(folder, path, (int)n)) rest = path + n;
    }
    if (rest && *rest == '\\')
        PathCopy(rest + 1, out);
    else if (rest && !*rest)
        out[0] = 0;
    else if (out != path)
        PathCopy(path, out);
}

void PathStripDirSelf(const char *folder, char *path) {
    PathStripDir(folder, path, path);
}

void PathMakeSafeName(char *name) {
    for (char *p = name; *p; p++) {
        unsigned char c = (unsigned char)*p;
        if (c == '+')
            *p = 'p';
        else if (iscntrl(c) || c == ' ' || strchr("*?<>:\"/\\|", c))
            *p = '_';
    }
}

// ---------------------------------------------------------------------------------------------------------
// Display forms

bool PathSetKeepCase(bool on) {
    bool old = pathKeepCase;
    pathKeepCase = on;
    return old;
}

bool PathSetAbbreviate(bool on) {
    bool old = pathAbbreviate;
    pathAbbreviate = on;
    return old;
}

// The form grows by three characters, so a path near the limit loses the end of its folder part.
void PathNameFirst(char *path) {
    char folder[PATH_BUFFER], name[PATH_BUFFER];
    if (!strchr(path, '\\')) return;
    PathSplit(path, folder, name);
    if (!name[0]) return; // a folder alone has no name to put first
    StrAppendMax(" (", name, PATH_MAX_CHARS);
    StrAppendMax(folder, name, PATH_MAX_CHARS);
    StrAppendMax(")", name, PATH_MAX_CHARS);
    strcpy(path, name);
}

// The " (" that opens the folder part of the name-first form: the last one before the first backslash.
static char *PathNameFirstOpen(char *path) {
    char *sep = strchr(path, '\\');
    for (char *p = sep ? sep - 1 : path; p > path; p--)
        if (p[0] == '(' && p[-1] == ' ') return p;
    return nullptr;
}

static void PathLower(char *from, char *to) {
    for (; from < to; from++) *from = (char)tolower((unsigned char)*from);
}

void PathFixCase(char *path) {
    if (pathKeepCase || !*path) return;
    char *end = path + strlen(path);
    char *open = PathNameFirstOpen(path);
    char *nameEnd = open ? open - 1 : end;
    char *nameStart = open ? path : path + (PathGetName(path) - path);
    char name[PATH_BUFFER];
    PathCopyRange(nameStart, nameEnd - nameStart, name);
    if (StrIsMixedCase(name)) { // the name's own case is kept; only the folder part is folded
        if (open)
            PathLower(open, end);
        else
            PathLower(path, nameStart);
        return;
    }
    PathLower(path, end);
    path[0] = (char)toupper((unsigned char)path[0]);
}

void PstrPathFixCase(unsigned char *pstr) {
    char t[PATH_BUFFER];
    memcpy(t, pstr + 1, pstr[0]);
    t[pstr[0]] = 0;
    PathFixCase(t);
    memcpy(pstr + 1, t, pstr[0]);
}

void PathDisplayForm(char *path) {
    PathNameFirst(path);
    PathFixCase(path);
}

void PathAbbreviate(char *path) {
    if (!pathAbbreviate || strlen(path) <= PATH_ABBREVIATE_OVER) return;
    char *a = strchr(path, '\\');
    if (a && a > path && a[-1] == ':') a = strchr(a + 1, '\\');
    char *b = strrchr(path, '\\');
    if (!a || b - a <= 4) return;
    memcpy(a + 1, "...", 3);
    memmove(a + 4, b, strlen(b) + 1);
}

void PathDisplayCopy(const char *path, char *out) {
    char t[PATH_BUFFER];
    PathCopy(path, t);
    PathDisplayForm(t);
    PathAbbreviate(t);
    strcpy(out, t);
}

int PathOsGetCurrentDir(char *buffer) {
    if (!FileOsGetCalls()->getCurrentDir(buffer, PATH_BUFFER)) return 0;
    PathNormalize(buffer);
    return 1;
}

int PathOsSetCurrentDir(const char *folder) {
    return FileOsGetCalls()->setCurrentDir(folder);
}

int PathOsMaxComponentLength(const char *root) {
    return FileOsGetCalls()->maxNameLength(root);
}
