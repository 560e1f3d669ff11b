// Loading and saving text files:
// - line ends detected within the first 57,344 bytes;
// - a table of fixtures (LF, CR LF, CR, ^Z, no final line end, lines around and past the 4,092 cut, no line
//   end in the first 57,344 bytes): lines, style and flags, and the bytes saved in each style, unmodified and
//   after one edit, against the bytes expected;
// - lines of 65,535 bytes or more: the lines after them, their offsets, and saving in the file's own style;
// - the byte copy only for lines that end CR LF, and the last character kept without a final line end;
// - disk full at each write in turn (save by byte copy and line by line, Save As over an existing file, a
//   temporary-copy buffer): the target as it was, the buffer still modified, no temporary file left, and a
//   retry that saves and makes one backup;
// - backups: one per loading, purged by age (backup names only); the refusals (another buffer's name, a file
//   changed outside since loading); Save As, reloading and renaming.
#include "doctest.h"

#include "base/os.h"
#include "doc/undo.h"

#include <functional>
#include <string>

namespace {

using namespace doctest;

enum { ANSWER_NO = 7 };

std::string Rep(char c, size_t n) {
    return std::string(n, c);
}

class DocFileTest : public DocTest {
protected:
    std::string Written(FileBuffer *doc, uint32_t style) {
        std::string path = Path("out-" + std::to_string(++outputs));
        int file = FileOpen(path.c_str(), FILE_OPEN_CREATE);
        EXPECT_GE(file, 0);
        EXPECT_TRUE(DocWriteText(doc, file, style, false));
        FileClose(file);
        return ReadBytes(path);
    }
    int outputs = 0;
};

TEST_F(DocFileTest, DetectLineEnds) {
    struct Case {
        std::string bytes;
        int style;
    } cases[] = {
        {"ab\ncd\r\n", EOL_LF},
        {"ab\r\ncd\n", EOL_CRLF},
        {"a\rb\rc\n", EOL_CR},
        {"a\rb\n", EOL_CRLF},
        {"abc", EOL_NONE},
        {"", EOL_NONE},
        {Rep('x', 57343) + "\n" + Rep('y', 9000), EOL_LF},
        {Rep('x', 57344) + "\n" + Rep('y', 9000), EOL_NONE},
    };
    for (const Case &c : cases) {
        WriteBytes(Path("d.txt"), c.bytes);
        int file = FileOpenEx(Path("d.txt").c_str(), FILE_OPEN_READONLY | FILE_OPEN_SEQ);
        EXPECT_EQ(DetectLineEnds(file), c.style) << c.bytes.substr(0, 20);
        FileClose(file);
    }
}

struct Fixture {
    const char *name;
    std::string bytes;
    bool ctrlZ;
    std::vector<std::string> lines;
    uint32_t style;
    uint32_t flags; // of DOC_LAST_LINE_ENDED, DOC_BINARY, DOC_CTRL_Z
};

// 16 lines cut at 4,092 characters, then the rest, where LF is an ordinary byte.
std::vector<std::string> LateLines() {
    std::vector<std::string> lines(16, Rep('x', 4092));
    lines.push_back(Rep('x', 64) + "\nabc\n");
    return lines;
}

std::vector<Fixture> Fixtures() {
    const uint32_t ended = DOC_LAST_LINE_ENDED;
    std::string x4092 = Rep('x', 4092);
    return {
        {"lf", "a\nbb\n\nccc\n", false, {"a", "bb", "", "ccc"}, EOL_LF, ended},
        {"crlf", "a\r\nbb\r\n\r\nccc\r\n", false, {"a", "bb", "", "ccc"}, EOL_CRLF, ended},
        {"cr", "a\rbb\r\rccc\r", false, {"a", "bb", "", "ccc"}, EOL_CR, ended},
        {"ctrl-z", "a\r\nb\r\n\x1Ajunk\r\n", true, {"a", "b"}, EOL_CRLF, ended | DOC_CTRL_Z},
        {"ctrl-z off", "a\r\nb\r\n\x1Ajunk", false, {"a", "b", "\x1Ajunk"}, EOL_CRLF, DOC_BINARY},
        {"no final end", "a\nb", false, {"a", "b"}, EOL_LF, 0},
        {"empty", "", false, {""}, EOL_CRLF, 0},
        {"one line, no line end", "abc", false, {"abc"}, EOL_NONE, 0},
        {"^Z first",
         "\x1A"
         "abc\r\n",
         true,
         {},
         EOL_CRLF,
         ended | DOC_CTRL_Z},
        {"binary", "a\x01\xE9\n", false, {"a\x01\xE9"}, EOL_LF, ended | DOC_BINARY},
        {"4092 crlf", x4092 + "\r\n", false, {x4092}, EOL_CRLF, ended},
        {"4092 lf", x4092 + "\n", false, {x4092}, EOL_LF, ended},
        {"4091 cr lf", Rep('x', 4091) + "\r\n", false, {Rep('x', 4091)}, EOL_CRLF, ended},
        {"4092 cr", x4092 + "\ry\r", false, {x4092, "y"}, EOL_CR, ended},
        {"4093", Rep('x', 4093) + "\r\n", false, {x4092, "x"}, EOL_CRLF, ended},
        {"5000", Rep('x', 5000) + "\n", false, {x4092, Rep('x', 908)}, EOL_LF, ended},
        {"10000", Rep('x', 10000) + "\n", false, {x4092, x4092, Rep('x', 1816)}, EOL_LF, ended},
        {"late lf", Rep('x', 65536) + "\nabc\n", false, LateLines(), EOL_NONE, 0},
    };
}

std::string Joined(const std::vector<std::string> &lines, uint32_t style, uint32_t flags) {
    const char *eol = style == EOL_LF ? "\n" : style == EOL_CR ? "\r" : "\r\n";
    std::string out;
    for (size_t i = 0; i < lines.size(); i++) {
        out += lines[i];
        if (i + 1 < lines.size() || (flags & DOC_LAST_LINE_ENDED)) out += eol;
    }
    return flags & DOC_CTRL_Z ? out + "\x1A" : out;
}

// A byte copy writes the file's own bytes: the text before any ^Z, the edited first line as stored.
std::string Copied(const Fixture &f, bool edited, uint32_t firstStored) {
    std::string text = f.ctrlZ ? f.bytes.substr(0, f.bytes.find('\x1A')) : f.bytes;
    if (edited)
        text = f.lines.size() == 1 && !(f.flags & DOC_LAST_LINE_ENDED)
                   ? "EDIT"
                   : "EDIT\r\n" + text.substr(firstStored);
    return f.flags & DOC_CTRL_Z ? text + "\x1A" : text;
}

TEST_F(DocFileTest, LoadingAndSavingFixtures) {
    for (const Fixture &f : Fixtures()) {
        SCOPED_TRACE(f.name);
        Options().ctrlZEndsText = f.ctrlZ;
        FileBuffer *doc = Load("fixture.txt", f.bytes);
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(Lines(doc) == f.lines) << "lines";
        EXPECT_EQ(doc->eol, f.style);
        EXPECT_EQ(doc->flags & (DOC_LAST_LINE_ENDED | DOC_BINARY | DOC_CTRL_Z), f.flags);
        EXPECT_FALSE(DocIsModified(doc));
        EXPECT_TRUE(DocStoreCheck(doc));
        uint32_t firstStored = DocLineRawLength(doc, 0);
        for (int edited = 0; edited < (f.lines.empty() ? 1 : 2); edited++) {
            std::vector<std::string> lines = f.lines;
            if (edited) {
                LineRecord record;
                LineFromSz("EDIT", &record);
                ASSERT_TRUE(ReplaceLine(doc, 0, &record));
                lines[0] = "EDIT";
            }
            for (uint32_t style : {EOL_CRLF, EOL_LF, EOL_CR}) {
                bool byteCopy = style == EOL_CRLF && f.style == EOL_CRLF;
                std::string expected =
                    byteCopy ? Copied(f, edited, firstStored) : Joined(lines, style, f.flags);
                EXPECT_TRUE(Written(doc, style) == expected)
                    << "style " << style << (edited ? " edited" : "");
            }
            if (f.style == EOL_NONE) {
                EXPECT_TRUE(Written(doc, EOL_NONE) == Copied(f, edited, firstStored)) << "own style";
            }
        }
        DocFree(doc, false);
    }
}

TEST_F(DocFileTest, LongLinesKeepTheOffsetsAfterThem) {
    std::string lfs = Rep('\n', 70000);
    struct Case {
        const char *name;
        std::string bytes;
        int32_t longLine;
        uint32_t longStored;
    } cases[] = {
        {"cr", "a\rb\rx" + lfs + "\rc\rd\r", 2, 70002},
        {"no line ends", Rep('x', 60000) + lfs + Rep('y', 2000), 14, 2712 + 70000 + 1380},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FileBuffer *doc = Load("long.txt", c.bytes);
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(doc->flags & DOC_LONG_LINE);
        EXPECT_TRUE(DocStoreCheck(doc));
        EXPECT_EQ(DocLengths(doc)[c.longLine], DOC_LINE_LONG);
        EXPECT_EQ(DocStoredLength(doc, c.longLine), c.longStored);
        EXPECT_EQ(LineText(doc, c.longLine).size(), (size_t)LINE_TEXT_MAX);
        uint64_t after = DocOffsetOfLine(doc, c.longLine + 1);
        EXPECT_EQ(after, DocOffsetOfLine(doc, c.longLine) + c.longStored);
        std::string next = c.bytes.substr(after, 1);
        EXPECT_EQ(LineText(doc, c.longLine + 1).substr(0, 1), next) << "the line after reads right";
        EXPECT_TRUE(Written(doc, doc->eol) == c.bytes) << "saved in its own style";
        DocFree(doc, false);
    }
    FileBuffer *doc = Load("long.txt", "a\rb\r" + lfs + "\rc\r");
    EXPECT_EQ(Lines(doc)[3], "c");
    EXPECT_EQ(DocByteSize(doc), 2u + 2u + 70001u + 2u);
}

TEST_F(DocFileTest, ByteCopyOnlyForCrLfLines) {
    FileBuffer *crlf = Load("crlf.txt", "x\r\ny\r\n");
    FileBuffer *lf = Load("lf.txt", "p\nq\n");
    ASSERT_TRUE(DocCopyLines(lf, 0, 2, crlf, 1, 0));
    EXPECT_EQ(Written(crlf, EOL_CRLF), "x\r\np\r\nq\r\ny\r\n") << "the LF lines get CR LF";

    FileBuffer *open = Load("open.txt", "x\r\ny");
    FileBuffer *mixed = Load("mixed.txt", "a\r\nb\n");
    ASSERT_EQ(mixed->eol, (uint32_t)EOL_CRLF);
    ASSERT_TRUE(DocCopyLines(mixed, 1, 1, open, 2, 0));
    EXPECT_EQ(Lines(open), (std::vector<std::string>{"x", "y", "b"}));
    EXPECT_EQ(Written(open, EOL_CRLF), "x\r\ny\r\nb") << "the last line keeps its character";
}

// The file layer's writes fail from the nth on, as on a full disk.
int failFrom;
int writesSeen;
int FailingWrite(FileHandle h, const void *buffer, uint32_t length, uint32_t *moved) {
    if (++writesSeen >= failFrom) {
        *moved = 0;
        VxSetSystemError(112);
        return 0;
    }
    return FileOsDefaultCalls()->write(h, buffer, length, moved);
}

class DiskFull {
public:
    explicit DiskFull(int n) {
        failFrom = n;
        writesSeen = 0;
        calls = *FileOsDefaultCalls();
        calls.write = FailingWrite;
        FileOsSetCalls(&calls);
    }
    ~DiskFull() { FileOsSetCalls(nullptr); }

private:
    FileOsCalls calls;
};

int TempFilesIn(const std::string &folder) {
    int n = 0;
    for (const std::string &name : FilesIn(folder)) n += name.rfind("TF", 0) == 0;
    return n;
}

std::string Original() {
    std::string text;
    for (int i = 0; i < 3000; i++) text += "original line " + std::to_string(i) + "\r\n";
    return text;
}

struct SaveCase {
    const char *name;
    uint32_t style;
    bool tempCopy;
    bool saveAs;
};

TEST_F(DocFileTest, DiskFullAtEachWriteLeavesTheTarget) {
    const SaveCase cases[] = {
        {"byte copy", EOL_CRLF, false, false},
        {"line by line", EOL_LF, false, false},
        {"save as over an existing file", EOL_CRLF, false, true},
        {"temporary copy", EOL_CRLF, true, false},
    };
    for (const SaveCase &c : cases) {
        SCOPED_TRACE(c.name);
        std::string folder = Path(std::string("target-") + c.name), backups = folder + "-backups";
        VxMakeDir(folder);
        VxMakeDir(backups);
        Options().makeBackups = true;
        snprintf(Options().backupDir, sizeof Options().backupDir, "%s", backups.c_str());
        std::string source = folder + "\\doc.txt", target = c.saveAs ? folder + "\\other.txt" : source;
        WriteBytes(source, Original());
        if (c.saveAs) WriteBytes(target, "the user's file\r\n");
        std::string before = ReadBytes(target);
        FileBuffer *doc = DocLoadFileEx(source.c_str(), -1, false, false, c.tempCopy, -1, -1);
        ASSERT_NE(doc, nullptr);
        LineRecord record;
        LineFromSz("changed", &record);
        ASSERT_TRUE(ReplaceLine(doc, 1500, &record));
        int n = 1;
        for (;; n++) {
            int temps = TempFilesIn(TempDir());
            int saved;
            {
                DiskFull full(n);
                saved = DocSaveToFile(doc, target.c_str(), false, c.style);
            }
            if (saved) break;
            ASSERT_LT(n, 1000);
            EXPECT_TRUE(ReadBytes(target) == before) << "write " << n;
            EXPECT_TRUE(DocIsModified(doc)) << "write " << n;
            EXPECT_EQ(TempFilesIn(folder), 0) << "write " << n;
            EXPECT_LE(TempFilesIn(TempDir()), temps) << "write " << n;
            EXPECT_EQ(Lines(doc)[1500], "changed");
            VxAlertsReset();
        }
        EXPECT_GT(n, 2) << "the save wrote something";
        std::string expected = Original();
        expected.replace(expected.find("original line 1500\r\n"), 20, "changed\r\n");
        if (c.style == EOL_LF)
            for (size_t at; (at = expected.find("\r\n")) != std::string::npos;) expected.replace(at, 2, "\n");
        EXPECT_TRUE(ReadBytes(target) == expected);
        EXPECT_FALSE(DocIsModified(doc));
        EXPECT_EQ(FilesIn(backups).size(), c.saveAs ? 0u : 1u);
        DocFree(doc, false);
    }
}

TEST_F(DocFileTest, OneBackupPerLoading) {
    std::string backups = Path("backups");
    VxMakeDir(backups);
    Options().makeBackups = true;
    snprintf(Options().backupDir, sizeof Options().backupDir, "%s", backups.c_str());
    FileBuffer *doc = Load("notes.txt", "first\r\n");
    for (const char *text : {"second", "third"}) {
        LineRecord record;
        LineFromSz(text, &record);
        ASSERT_TRUE(ReplaceLine(doc, 0, &record));
        ASSERT_TRUE(DocSaveToFile(doc, Path("notes.txt").c_str(), false, 0));
    }
    std::vector<std::string> names = FilesIn(backups);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(DocIsBackupName(names[0].c_str())) << names[0];
    EXPECT_EQ(names[0].rfind("notes(", 0), 0u);
    EXPECT_EQ(names[0].substr(names[0].size() - 5), ").txt");
    EXPECT_EQ(ReadBytes(backups + "\\" + names[0]), "first\r\n");
    EXPECT_EQ(ReadBytes(Path("notes.txt")), "third\r\n");
    EXPECT_EQ(doc->cSave, 2);
}

// The directory search reports the files named old 40 days older than they are.
int (*realFindFirst)(const char *, FileOsFind *, FileHandle *);
int (*realFindNext)(FileHandle, FileOsFind *);
void AgeEntry(FileOsFind *entry) {
    if (!strstr(entry->name, "old")) return;
    uint64_t t = ((uint64_t)entry->timeHigh << 32 | entry->timeLow) - 40ull * 864000000000ull;
    entry->timeLow = (uint32_t)t;
    entry->timeHigh = (uint32_t)(t >> 32);
}
int AgedFindFirst(const char *pattern, FileOsFind *entry, FileHandle *search) {
    int found = realFindFirst(pattern, entry, search);
    if (found) AgeEntry(entry);
    return found;
}
int AgedFindNext(FileHandle search, FileOsFind *entry) {
    int found = realFindNext(search, entry);
    if (found) AgeEntry(entry);
    return found;
}

TEST_F(DocFileTest, PurgeRemovesOnlyOldBackups) {
    std::string backups = Path("purge");
    VxMakeDir(backups);
    for (const char *name : {"old(12).txt", "new(13).txt", "old notes.txt", "old(x).txt", "old(7)"})
        WriteBytes(backups + "\\" + name, "x");
    Options().purgeBackups = true;
    Options().purgeDays = 10;
    snprintf(Options().backupDir, sizeof Options().backupDir, "%s", backups.c_str());
    FileOsCalls calls = *FileOsDefaultCalls();
    realFindFirst = calls.findFirst;
    realFindNext = calls.findNext;
    calls.findFirst = AgedFindFirst;
    calls.findNext = AgedFindNext;
    FileOsSetCalls(&calls);
    EXPECT_TRUE(PurgeOldBackups(true));
    FileOsSetCalls(nullptr);
    EXPECT_EQ(FilesIn(backups), (std::vector<std::string>{"new(13).txt", "old notes.txt", "old(x).txt"}));
}

TEST_F(DocFileTest, DaysBetweenCountsYearsMonthsAndDays) {
    struct Case {
        OsDateTime now, then;
        int32_t expected;
    } cases[] = {
        {{2024, 5, 10, 0, 0, 0}, {2024, 5, 10, 0, 0, 0}, 0},
        {{2024, 5, 10, 0, 0, 0}, {2024, 5, 3, 0, 0, 0}, 7},
        {{2024, 3, 1, 0, 0, 0}, {2024, 2, 28, 0, 0, 0}, 3},  // a month is 30 days
        {{2025, 1, 1, 0, 0, 0}, {2024, 12, 31, 0, 0, 0}, 5}, // and a year 365
        {{2024, 5, 10, 0, 0, 0}, {2023, 5, 10, 0, 0, 0}, 365},
        {{2024, 5, 10, 0, 0, 0}, {2024, 6, 1, 0, 0, 0}, 0}, // a date after now is not negative
        {{1999, 1, 1, 0, 0, 0}, {2024, 1, 1, 0, 0, 0}, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DaysBetween(&c.now, &c.then), c.expected)
            << c.now.year << "-" << c.now.month << "-" << c.now.day << " / " << c.then.year << "-"
            << c.then.month << "-" << c.then.day;
    OsDateTime date;
    DocDateOfFileTime(0x256D4000u, 0x01BF53EBu, &date); // 2000-01-01 00:00 UTC
    EXPECT_EQ(date.year, 2000);
    EXPECT_EQ(date.month, 1);
    EXPECT_EQ(date.day, 1);
}

TEST_F(DocFileTest, RefusedSaves) {
    FileBuffer *a = Load("a.txt", "a\r\n");
    Load("b.txt", "b\r\n");
    EXPECT_FALSE(DocSaveToFile(a, Path("B.TXT").c_str(), false, 0));
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error: Cannot save to " + Path("B.TXT") +
                                                     " because it is already open."});
    EXPECT_EQ(ReadBytes(Path("b.txt")), "b\r\n");

    VxAlertsReset();
    FileBuffer *copy = DocLoadFileEx(Path("c.txt").c_str(), -1, false, false, true, -1, -1);
    EXPECT_EQ(copy, nullptr) << "no such file";
    WriteBytes(Path("c.txt"), "c\r\n");
    copy = DocLoadFileEx(Path("c.txt").c_str(), -1, false, false, true, -1, -1);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->flags & DOC_TEMP_COPY);
    WriteBytes(Path("c.txt"), "changed outside\r\n");
    ASSERT_TRUE(InsertLineSz(copy, 0, "mine"));
    VxAlertsReset();
    VxAlertAnswer(ANSWER_NO);
    EXPECT_FALSE(DocSaveToFile(copy, Path("c.txt").c_str(), false, 0));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text.rfind(
                  Path("c.txt") + " has been changed outside of Veltrix since it was loaded.", 0),
              0u);
    EXPECT_EQ(ReadBytes(Path("c.txt")), "changed outside\r\n");
    EXPECT_TRUE(DocIsModified(copy));
}

TEST_F(DocFileTest, SaveAsTakesTheNewFile) {
    FileBuffer *doc = Load("a.txt", "one\ntwo\n");
    ASSERT_TRUE(InsertLineSz(doc, 2, "three"));
    ASSERT_TRUE(DocSaveToFile(doc, Path("b.txt").c_str(), false, EOL_CRLF));
    EXPECT_EQ(ReadBytes(Path("b.txt")), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(ReadBytes(Path("a.txt")), "one\ntwo\n");
    char name[256];
    DocGetFileName(doc, name);
    EXPECT_EQ(name, Path("b.txt"));
    EXPECT_EQ(doc->eol, (uint32_t)EOL_CRLF);
    EXPECT_FALSE(DocIsModified(doc));
    EXPECT_EQ(doc->cSave, 0);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(DocGetRun(doc, 0)->offset, 0u);
    EXPECT_EQ(RunFile(DocGetRun(doc, 0)), doc->fn) << "the lines are read from the saved file";
}

TEST_F(DocFileTest, ReloadAndRename) {
    FileBuffer *doc = Load("r.txt", "a\r\nb\r\n");
    ASSERT_TRUE(InsertLineSz(doc, 0, "mine"));
    ASSERT_TRUE(DocReload(doc, true));
    EXPECT_FALSE(DocIsModified(doc));
    EXPECT_EQ(UndoStepCount(doc), 0);
    EXPECT_TRUE(doc->flags & DOC_TEMP_COPY);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b"}));
    ASSERT_TRUE(DocRename(doc, Path("renamed.txt").c_str()));
    EXPECT_EQ(ReadBytes(Path("renamed.txt")), "a\r\nb\r\n");
    char name[256];
    DocGetFileName(doc, name);
    EXPECT_EQ(std::string(name).substr(strlen(name) - 12), "\\renamed.txt");
    WriteBytes(Path("taken.txt"), "t");
    EXPECT_FALSE(DocRename(doc, Path("taken.txt").c_str()));
}

} // namespace
