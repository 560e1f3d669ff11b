// Path names. Groups: normal form and the root and name tests; roots of drive, UNC and relative paths;
// splitting into folder and name; names and extensions; appending and joining at the 255 limit; relative
// paths, common components and stripping a folder; full paths through the current folder; safe names;
// the display forms (name first, case folding, abbreviation) and their cut at the limit.
#include "base/path.h"

#include "base/utilil.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A path buffer followed by guard bytes, to catch a write past the 256 bytes of a path buffer.
struct PathBuf {
    char bytes[PATH_BUFFER + 16];
    explicit PathBuf(const std::string &text = "") {
        memset(bytes, '#', sizeof bytes);
        memcpy(bytes, text.c_str(), text.size() + 1);
    }
    bool Intact() const {
        for (int i = PATH_BUFFER; i < (int)sizeof bytes; i++)
            if (bytes[i] != '#') return false;
        return true;
    }
};

// Keeps the display options as a test found them.
struct DisplayOptions {
    int keepCase, abbreviate;
    DisplayOptions(int keep, int abbrev)
        : keepCase(PathSetKeepCase(keep)), abbreviate(PathSetAbbreviate(abbrev)) {}
    ~DisplayOptions() {
        PathSetKeepCase(keepCase);
        PathSetAbbreviate(abbreviate);
    }
};

} // namespace

TEST(PathForm, Normalize) {
    struct Case {
        const char *path, *result;
    } cases[] = {
        {"c:/a/b ", "c:\\a\\b"},
        {"c:/a/b \t \t", "c:\\a\\b"},
        {"a b", "a b"},
        {"C:\\", "C:\\"},
        {"C:/", "C:\\"},
        {"\\", "\\"},
        {"C:", "C:"},
        // A folder's trailing backslash goes unless the folder is a root, so that "C:\a\" and "C:\a" compare
        // equal.
        {"C:\\a\\", "C:\\a"},
        {"\\a\\", "\\a"},
        {"a\\b\\", "a\\b"},
        {"src\\", "src"},
        {"\\\\srv\\share\\", "\\\\srv\\share\\"},
        {"\\\\srv\\share\\dir\\", "\\\\srv\\share\\dir"},
        {"//srv/share/", "\\\\srv\\share\\"},
        {"", ""},
    };
    for (const Case &c : cases) {
        char buf[PATH_BUFFER];
        strcpy(buf, c.path);
        PathNormalize(buf);
        EXPECT_STREQ(buf, c.result) << c.path;
    }
    char buf[PATH_BUFFER] = "D:\\x\\";
    PathTrimSlash(buf);
    EXPECT_STREQ(buf, "D:\\x");
    strcpy(buf, "\\x\\");
    PathTrimSlash(buf);
    EXPECT_STREQ(buf, "\\x") << "a short path that is no root loses its backslash too";
    strcpy(buf, "D:\\");
    PathTrimSlash(buf);
    EXPECT_STREQ(buf, "D:\\");
}

TEST(PathForm, Tests) {
    struct Case {
        const char *path;
        int root, absolute, bare, drive;
    } cases[] = {
        {"C:\\", 1, 1, 0, 'C'},
        {"c:", 1, 1, 0, 'C'},
        {"c:\\a", 0, 1, 0, 'C'},
        {"c:a", 0, 1, 0, 'C'},
        {"\\", 1, 0, 0, 0},
        {"\\a", 0, 0, 0, 0},
        {"\\\\srv\\share", 1, 1, 0, 0},
        {"\\\\srv\\share\\", 1, 1, 0, 0},
        {"\\\\srv\\share\\a", 0, 1, 0, 0},
        {"src\\", 0, 0, 1, 0}, // normalised first: the trailing backslash goes
        {"a.c", 0, 0, 1, 0},
        {"a..b.c", 0, 0, 1, 0},
        {"..", 0, 0, 0, 0},
        {"a/b", 0, 0, 0, 0},
        {"a.c  ", 0, 0, 1, 0},
        {"", 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PathIsRoot(c.path), c.root) << c.path;
        EXPECT_EQ(PathIsAbsolute(c.path), c.absolute) << c.path;
        EXPECT_EQ(PathIsBareName(c.path), c.bare) << c.path;
        EXPECT_EQ(PathGetDrive(c.path), c.drive) << c.path;
    }
    EXPECT_TRUE(PathHasWildcards("a*.c"));
    EXPECT_TRUE(PathHasWildcards("a?.c"));
    EXPECT_FALSE(PathHasWildcards("a.c"));
    EXPECT_TRUE(PathIsDots("."));
    EXPECT_TRUE(PathIsDots(".."));
    EXPECT_FALSE(PathIsDots("..."));
    EXPECT_FALSE(PathIsDots(".a"));
    EXPECT_TRUE(PathHasLongNames("C:\\windows"));
    EXPECT_TRUE(PathHasLongNames("C:"));
}

TEST(PathParts, Roots) {
    struct Case {
        const char *path, *root;
    } cases[] = {
        {"C:\\a\\b", "C:\\"},
        {"C:a", "C:"},
        {"C:", "C:"},
        {"\\\\srv\\share\\a\\b", "\\\\srv\\share\\"},
        {"\\\\srv\\share", "\\\\srv\\share"},
        {"\\\\srv", "\\\\srv"},
        {"\\a\\b", "\\"},
        {"a\\b\\c", "a\\"},
        {"name", "name"},
        {"", ""},
    };
    for (const Case &c : cases) {
        char out[PATH_BUFFER];
        PathGetRoot(c.path, out);
        EXPECT_STREQ(out, c.root) << c.path;
    }
}

TEST(PathParts, Split) {
    struct Case {
        const char *path, *folder, *name;
    } cases[] = {
        {"C:\\a.c", "C:\\", "a.c"},
        {"C:a.c", "C:", "a.c"},
        {"C:\\dir\\a.c", "C:\\dir", "a.c"},
        {"C:\\dir\\", "C:\\dir", ""},
        {"C:\\", "C:\\", ""},
        {"C:", "C:", ""},
        {"\\a.c", "\\", "a.c"},
        {"\\", "\\", ""},
        {"\\\\srv\\share", "\\\\srv\\share", ""},
        {"\\\\srv\\share\\", "\\\\srv\\share\\", ""},
        {"\\\\srv\\share\\a.c", "\\\\srv\\share\\", "a.c"},
        {"\\\\srv\\share\\d\\a.c", "\\\\srv\\share\\d", "a.c"},
        {"a.c", "", "a.c"},
        {".hidden", ".hidden", ""},
        {"..", "..", ""},
        {"dir\\a.c", "dir", "a.c"},
        {"", "", ""},
    };
    for (const Case &c : cases) {
        char folder[PATH_BUFFER], name[PATH_BUFFER];
        PathSplit(c.path, folder, name);
        EXPECT_STREQ(folder, c.folder) << c.path;
        EXPECT_STREQ(name, c.name) << c.path;
        strcpy(folder, c.path);
        PathSplit(folder, folder, nullptr);
        EXPECT_STREQ(folder, c.folder) << c.path << " in place";
        strcpy(name, c.path);
        PathSplit(name, nullptr, name);
        EXPECT_STREQ(name, c.name) << c.path << " in place";
    }
    // Both parts are cut at 255.
    std::string longName(300, 'n');
    PathBuf folder, name;
    PathSplit(("C:\\d\\" + longName).c_str(), folder.bytes, name.bytes);
    EXPECT_EQ(strlen(name.bytes), 255u);
    EXPECT_TRUE(name.Intact());
    PathSplit((longName + "\\x").c_str(), folder.bytes, name.bytes);
    EXPECT_EQ(strlen(folder.bytes), 255u);
    EXPECT_TRUE(folder.Intact());
}

TEST(PathParts, NamesAndExtensions) {
    struct Name {
        const char *path, *name, *ext;
    } names[] = {
        {"C:\\dir\\a.b.c", "a.b.c", ".c"},
        {"C:\\d.x\\name", "name", ""},
        {"C:a.c", "a.c", ".c"},
        {"a", "a", ""},
        {"dir\\", "", ""},
        {".cfg", ".cfg", ".cfg"},
    };
    for (const Name &c : names) {
        EXPECT_STREQ(PathGetName(c.path), c.name) << c.path;
        EXPECT_STREQ(PathGetExt(c.path), c.ext) << c.path;
    }

    struct Ext {
        void (*op)(char *, const char *);
        const char *path, *ext, *result;
    } exts[] = {
        {PathSetExt, "a.C", ".c", "a.C"},
        {PathSetExt, "a.h", "c", "a.c"},
        {PathSetExt, "a", ".c", "a.c"},
        {PathChangeExt, "a.C", ".c", "a.c"},
        {PathChangeExt, "d.x\\a", "c", "d.x\\a.c"},
        {PathAddExt, "a.b", "c", "a.b.c"},
        {PathAddExt, "a", ".c", "a.c"},
        {PathAddExt, "a", "", "a"},
        {PathDefaultExt, "a", "c", "a.c"},
        {PathDefaultExt, "a.h", "c", "a.h"},
    };
    for (const Ext &c : exts) {
        char buf[PATH_BUFFER];
        strcpy(buf, c.path);
        c.op(buf, c.ext);
        EXPECT_STREQ(buf, c.result) << c.path << " " << c.ext;
    }

    char buf[PATH_BUFFER] = "dir\\a.TXT", ext[PATH_BUFFER];
    EXPECT_TRUE(PathHasExt(".txt", buf));
    EXPECT_TRUE(PathHasExt("txt", buf));
    EXPECT_FALSE(PathHasExt(".tx", buf));
    EXPECT_FALSE(PathRemoveExt(buf, ".c"));
    EXPECT_TRUE(PathRemoveExt(buf, ".txt"));
    EXPECT_STREQ(buf, "dir\\a");
    strcpy(buf, "a.b.c");
    PathSplitExt(buf, ext);
    EXPECT_STREQ(buf, "a.b");
    EXPECT_STREQ(ext, ".c");

    PathBuf full(std::string(254, 'p'));
    PathAddExt(full.bytes, ".cpp");
    EXPECT_EQ(strlen(full.bytes), 255u) << "an extension is cut at the limit";
    EXPECT_TRUE(full.Intact());
}

TEST(PathBuild, AppendAndJoin) {
    struct Case {
        const char *folder, *name, *result;
    } cases[] = {
        {"C:\\dir", "a.c", "C:\\dir\\a.c"},
        {"C:\\dir\\", "a.c", "C:\\dir\\a.c"},
        {"C:\\dir", "\\a.c", "C:\\dir\\a.c"},
        {"", "a.c", "a.c"},
        {"", "\\a.c", "a.c"},
        {"C:", "a.c", "C:\\a.c"},
        {"dir", "", "dir\\"},
    };
    for (const Case &c : cases) {
        char buf[PATH_BUFFER];
        strcpy(buf, c.folder);
        PathAppend(c.name, buf);
        EXPECT_STREQ(buf, c.result) << c.folder << " + " << c.name;
        PathJoin(c.folder, c.name, buf);
        EXPECT_STREQ(buf, c.result) << c.folder << " + " << c.name;
    }

    // The separator goes at 253 at the latest; the result is cut at 255 and its NUL stays inside the
    // 256-byte buffer.
    struct Limit {
        size_t folderLength;
        bool folderSlash;
        const char *name;
        size_t kept; // characters of the folder kept before the backslash
        size_t length;
    } limits[] = {
        {252, false, "name", 252, 255}, {253, false, "name", 253, 255}, {254, false, "name", 253, 255},
        {255, false, "name", 253, 255}, {200, false, "n", 200, 202},    {254, true, "ab", 253, 255},
    };
    for (const Limit &c : limits) {
        std::string folder(c.folderLength, 'f');
        if (c.folderSlash) folder.back() = '\\';
        PathBuf buf(folder);
        PathAppend(c.name, buf.bytes);
        std::string got = buf.bytes;
        EXPECT_EQ(got.size(), c.length) << c.folderLength;
        EXPECT_EQ(got.find('\\'), c.kept) << c.folderLength;
        EXPECT_EQ(got.substr(0, c.kept), folder.substr(0, c.kept)) << c.folderLength;
        EXPECT_TRUE(buf.Intact()) << c.folderLength;
    }

    char out[PATH_BUFFER] = "a.c";
    PathJoin("C:\\d", out, out);
    EXPECT_STREQ(out, "C:\\d\\a.c") << "the name may be the output";
    char rel[PATH_BUFFER] = "x\\y.c";
    PathMakeAbsIn("C:\\base", rel);
    EXPECT_STREQ(rel, "C:\\base\\x\\y.c");
    PathMakeAbsIn("C:\\base", rel);
    EXPECT_STREQ(rel, "C:\\base\\x\\y.c") << "an absolute path stays";
}

TEST(PathBuild, RelativeAndCommon) {
    struct Case {
        const char *base, *path, *relative;
    } cases[] = {
        {"C:\\src\\lib", "C:\\src\\app\\main.c", "..\\app\\main.c"},
        {"C:\\src\\lib", "c:\\SRC\\LIB", "."},
        {"C:\\src\\lib\\", "C:\\src\\lib", "."},
        {"C:\\src", "C:\\src\\a\\b.c", "a\\b.c"},
        {"C:\\src\\a\\b", "C:\\src", "..\\.."},
        {"C:\\src", "C:\\srcx\\a.c", "..\\srcx\\a.c"}, // whole components only
        {"C:\\", "C:\\a.c", "a.c"},
        {"C:\\a", "D:\\a\\b.c", "D:\\a\\b.c"},
        {"\\\\s1\\x\\a", "\\\\s2\\x\\a\\b", "\\\\s2\\x\\a\\b"},
        {"\\\\srv\\sh\\a", "\\\\SRV\\sh\\b\\c", "..\\b\\c"},
        {"src\\lib", "src\\app", "..\\app"},
        {"lib", "src\\app", "src\\app"},
        {"C:\\src", "src\\a.c", "src\\a.c"},
    };
    for (const Case &c : cases) {
        char out[PATH_BUFFER];
        PathMakeRelative(c.base, c.path, out);
        EXPECT_STREQ(out, c.relative) << c.base << " / " << c.path;
    }

    const char *base = "C:\\Src\\lib\\x";
    EXPECT_STREQ(PathSkipCommon(base, "c:\\src\\app"), "lib\\x");
    EXPECT_STREQ(PathSkipCommon(base, "C:\\Srcx"), "Src\\lib\\x");
    char out[PATH_BUFFER];
    PathStripCommon(base, "c:\\src\\app\\m.c", out);
    EXPECT_STREQ(out, "app\\m.c");

    struct Strip {
        const char *folder, *path, *result;
    } strips[] = {
        {"C:\\src", "C:\\SRC\\a\\b.c", "a\\b.c"},
        {"C:\\src\\", "C:\\src\\a.c", "a.c"},
        {"C:\\src", "C:\\src", ""},
        {"C:\\src", "C:\\srcx\\a.c", "C:\\srcx\\a.c"},
        {"C:\\src", "C:\\sr", "C:\\sr"},
        {"C:\\", "C:\\a.c", "a.c"},
        {"\\", "\\a.c", "a.c"},
        {"", "a.c", "a.c"},
    };
    for (const Strip &c : strips) {
        PathStripDir(c.folder, c.path, out);
        EXPECT_STREQ(out, c.result) << c.folder << " / " << c.path;
        strcpy(out, c.path);
        PathStripDirSelf(c.folder, out);
        EXPECT_STREQ(out, c.result) << c.folder << " / " << c.path << " in place";
    }
}

TEST(PathBuild, FullPaths) {
    std::string dir = VxTempDir();
    std::string sub = dir + "\\sub";
    VxMakeDir(sub);
    char old[PATH_BUFFER];
    ASSERT_TRUE(PathOsGetCurrentDir(old));
    ASSERT_TRUE(PathOsSetCurrentDir(dir.c_str()));
    char cwd[PATH_BUFFER];
    ASSERT_TRUE(PathOsGetCurrentDir(cwd));
    std::string here = cwd;
    std::string parent = here.substr(0, here.rfind('\\'));
    char root[PATH_BUFFER];
    PathGetRoot(cwd, root);

    struct Case {
        const char *path;
        std::string full;
    } cases[] = {
        {"a.c", here + "\\a.c"},
        {"sub\\a.c", here + "\\sub\\a.c"},
        {"sub/", here + "\\sub"},
        {"sub\\..", here},
        {"sub\\.", here + "\\sub"},
        {".", here},
        {"..", parent},
        {"..\\z.c", parent + "\\z.c"},
        {"missing\\a.c", here + "\\missing\\a.c"},
        {"", here},
        {"C:\\abs\\x.c", "C:\\abs\\x.c"},
        {"\\\\srv\\share\\x", "\\\\srv\\share\\x"},
        {"\\top.c", std::string(root) + "top.c"},
    };
    for (const Case &c : cases) {
        char out[PATH_BUFFER];
        EXPECT_TRUE(PathMakeFull(c.path, out)) << c.path;
        EXPECT_TRUE(StrEqualI(out, c.full.c_str())) << c.path << " gave " << out << ", not " << c.full;
        ASSERT_TRUE(PathOsGetCurrentDir(cwd));
        EXPECT_STREQ(cwd, here.c_str()) << c.path << ": the current folder is put back";
    }

    char out[PATH_BUFFER];
    ASSERT_TRUE(PathOsSetCurrentDir(old));
    EXPECT_TRUE(PathMakeFullIn(sub.c_str(), "..\\b.c", out));
    EXPECT_TRUE(StrEqualI(out, (here + "\\b.c").c_str())) << out;
    ASSERT_TRUE(PathOsGetCurrentDir(cwd));
    EXPECT_STREQ(cwd, old) << "the current folder is put back";
    EXPECT_TRUE(PathMakeFullIn((dir + "\\none").c_str(), "b.c", out));
    EXPECT_STREQ(out, (dir + "\\none\\b.c").c_str()) << "a folder that cannot be entered is joined";
}

TEST(PathBuild, SafeName) {
    char name[PATH_BUFFER] = "operator+=(a*b) <x>:\"/\\|?\t.c";
    PathMakeSafeName(name);
    EXPECT_STREQ(name, "operatorp=(a_b)__x________.c");
}

TEST(PathDisplay, NameFirstAndCase) {
    DisplayOptions options(0, 1);
    struct Case {
        const char *path, *nameFirst, *display;
    } cases[] = {
        {"C:\\Src\\Main.c", "Main.c (C:\\Src)", "Main.c (c:\\src)"},
        {"C:\\SRC\\MAIN.C", "MAIN.C (C:\\SRC)", "Main.c (c:\\src)"},
        {"C:\\src\\main.c", "main.c (C:\\src)", "Main.c (c:\\src)"},
        {"C:\\Main.c", "Main.c (C:\\)", "Main.c (c:\\)"},
        {"a (1).c", "a (1).c", "A (1).c"},
        {"D:\\x\\a (1).C", "a (1).C (D:\\x)", "a (1).C (d:\\x)"},
        {"C:\\dir\\", "C:\\dir\\", "C:\\dir\\"},
    };
    for (const Case &c : cases) {
        char buf[PATH_BUFFER];
        strcpy(buf, c.path);
        PathNameFirst(buf);
        EXPECT_STREQ(buf, c.nameFirst) << c.path;
        strcpy(buf, c.path);
        PathDisplayForm(buf);
        EXPECT_STREQ(buf, c.display) << c.path;
    }

    struct Fix {
        const char *path, *fixed;
    } fixes[] = {
        {"C:\\Src\\Main.c", "c:\\src\\Main.c"},
        {"C:\\SRC\\MAIN.C", "C:\\src\\main.c"},
        {"c:\\src\\main.c", "C:\\src\\main.c"},
        {"", ""},
    };
    for (const Fix &c : fixes) {
        char buf[PATH_BUFFER];
        strcpy(buf, c.path);
        PathFixCase(buf);
        EXPECT_STREQ(buf, c.fixed) << c.path;
    }
    unsigned char p[32];
    PstrFromSz("C:\\SRC\\MAIN.C", p);
    PstrPathFixCase(p);
    EXPECT_EQ(std::string((char *)p + 1, p[0]), "C:\\src\\main.c");

    PathSetKeepCase(1);
    char buf[PATH_BUFFER] = "C:\\SRC\\MAIN.C";
    PathDisplayForm(buf);
    EXPECT_STREQ(buf, "MAIN.C (C:\\SRC)") << "keep case leaves the case alone";
}

// The name-first form is three characters longer than the path: at the limit it is cut, not written past
// the buffer.
TEST(PathDisplay, NameFirstCutAtLimit) {
    PathBuf buf("C:\\" + std::string(240, 'd') + "\\" + std::string(11, 'n'));
    ASSERT_EQ(strlen(buf.bytes), 255u);
    PathNameFirst(buf.bytes);
    EXPECT_EQ(strlen(buf.bytes), 255u);
    EXPECT_EQ(std::string(buf.bytes).substr(0, 14), std::string(11, 'n') + " (C");
    EXPECT_TRUE(buf.Intact());
}

TEST(PathDisplay, Abbreviate) {
    DisplayOptions options(1, 1);
    std::string deep = "C:\\src\\" + std::string(30, 'd') + "\\er\\file.c";
    struct Case {
        std::string path, result;
    } cases[] = {
        {deep, "C:\\src\\...\\file.c"},
        {"C:\\src\\deep\\er\\file.c", "C:\\src\\deep\\er\\file.c"}, // 40 or fewer characters stay
        {"\\top\\" + std::string(40, 'x') + "\\f.c", "\\...\\f.c"},
        {"C:\\ab\\" + std::string(40, 'x') + ".c", "C:\\ab\\" + std::string(40, 'x') + ".c"}, // one separator
        {"C:\\a\\bcd\\" + std::string(40, 'x'), "C:\\a\\bcd\\" + std::string(40, 'x')}, // B within 4 of A
    };
    for (const Case &c : cases) {
        char buf[PATH_BUFFER];
        strcpy(buf, c.path.c_str());
        PathAbbreviate(buf);
        EXPECT_EQ(std::string(buf), c.result) << c.path;
    }
    char buf[PATH_BUFFER];
    PathSetAbbreviate(0);
    strcpy(buf, deep.c_str());
    PathAbbreviate(buf);
    EXPECT_EQ(std::string(buf), deep);

    PathSetAbbreviate(1);
    PathSetKeepCase(0);
    PathDisplayCopy(deep.c_str(), buf);
    EXPECT_STREQ(buf, "File.c (c:\\src\\...\\er)");
}
