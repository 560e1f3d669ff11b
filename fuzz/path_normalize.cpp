// Fuzz target: path names. The input is a path of at most 255 characters (up to its first NUL) and a second
// one after it, used as a base folder. Expected: the normal form turns '/' into '\' and cuts only at the
// end; every part, join, relative path and display form fits one path buffer (each buffer is exactly
// PATH_BUFFER bytes, so a byte past it is a checker report); the name and extension lie inside the path; a
// root is its own root.
#include "base/path.h"
#include "support/fuzz.h"

#include <cstring>
#include <string>
#include <vector>

struct PathBuffer {
    std::vector<char> bytes = std::vector<char>(PATH_BUFFER);
    char *get() { return bytes.data(); }
};

static std::string FuzzTakePath(const uint8_t *&data, size_t &size) {
    size_t n = strnlen((const char *)data, size);
    std::string path((const char *)data, n < PATH_MAX_CHARS ? n : PATH_MAX_CHARS);
    size_t used = n < size ? n + 1 : n;
    data += used;
    size -= used;
    return path;
}

static void FuzzCheckFits(PathBuffer &b, const char *what) {
    FuzzCheck(memchr(b.get(), 0, PATH_BUFFER) != nullptr, what);
}

static void FuzzNormalForm(const std::string &path) {
    PathBuffer p, again, root;
    strcpy(p.get(), path.c_str());
    PathNormalize(p.get());
    // Not a fixed point: a path ending in a blank and a backslash loses the backslash, and the blank goes
    // on a second pass only.
    std::string slashes = path;
    for (char &c : slashes)
        if (c == '/') c = '\\';
    FuzzCheck(slashes.compare(0, strlen(p.get()), p.get()) == 0, "normalising only cuts the end");
    strcpy(again.get(), p.get());
    PathGetRoot(p.get(), root.get());
    FuzzCheckFits(root, "the root fits");
    if (PathIsRoot(p.get())) FuzzCheck(strcmp(root.get(), p.get()) == 0, "a root is its own root");
    PathTrimSlash(again.get());
    FuzzCheck(strlen(again.get()) <= strlen(p.get()), "trimming only shortens");
}

static void FuzzParts(const std::string &path) {
    PathBuffer folder, name, p, ext;
    strcpy(p.get(), path.c_str());
    PathSplit(p.get(), folder.get(), name.get());
    FuzzCheckFits(folder, "the folder fits");
    FuzzCheckFits(name, "the name fits");
    const char *end = p.get() + strlen(p.get());
    const char *last = PathGetName(p.get());
    const char *dot = PathGetExt(p.get());
    FuzzCheck(last >= p.get() && last <= end && dot >= last && dot <= end, "name and extension lie inside");
    PathSplitExt(p.get(), ext.get());
    FuzzCheckFits(ext, "the extension fits");
    strcpy(p.get(), path.c_str());
    PathSetExt(p.get(), "ext");
    FuzzCheckFits(p, "a new extension fits");
    strcpy(p.get(), path.c_str());
    PathMakeSafeName(p.get());
    FuzzCheckFits(p, "a safe name fits");
}

static void FuzzBuild(const std::string &path, const std::string &base) {
    PathBuffer out, p;
    PathJoin(base.c_str(), path.c_str(), out.get());
    FuzzCheckFits(out, "a join fits");
    PathMakeRelative(base.c_str(), path.c_str(), out.get());
    FuzzCheckFits(out, "a relative path fits");
    PathStripCommon(base.c_str(), path.c_str(), out.get());
    FuzzCheckFits(out, "a stripped path fits");
    PathStripDir(base.c_str(), path.c_str(), out.get());
    FuzzCheckFits(out, "a path without its folder fits");
    strcpy(p.get(), path.c_str());
    PathMakeAbsIn(base.c_str(), p.get());
    FuzzCheckFits(p, "a path made absolute fits");
}

static void FuzzDisplay(const std::string &path) {
    PathBuffer p, out;
    strcpy(p.get(), path.c_str());
    PathNameFirst(p.get());
    FuzzCheckFits(p, "the name-first form fits");
    strcpy(p.get(), path.c_str());
    PathDisplayForm(p.get());
    FuzzCheckFits(p, "the display form fits");
    strcpy(p.get(), path.c_str());
    PathAbbreviate(p.get());
    FuzzCheckFits(p, "the abbreviation fits");
    PathDisplayCopy(path.c_str(), out.get());
    FuzzCheckFits(out, "the display copy fits");
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string path = FuzzTakePath(data, size);
    std::string base = FuzzTakePath(data, size);
    FuzzNormalForm(path);
    FuzzParts(path);
    FuzzBuild(path, base);
    FuzzDisplay(path);
    return 0;
}
