// The log file: folder and name, the separator at each start, dated CR LF lines appended at the end, the
// format cut of LogPrintf and the text cut of LogWrite, VX2.LOG while VX.LOG is held elsewhere, a read-only
// name skipped, failed writes leaving the current error alone, LogClear.
#include "filetest.h"

#include "base/log.h"
#include "base/toolbox.h"

#include <regex>

static const std::string logSeparator = std::string(44, '-') + "\r\n";

class Log : public FileLayerTest {
protected:
    void SetUp() override {
        FileLayerTest::SetUp();
        // The temporary folder is emptied of files only, not of the log folder's files from an earlier run.
        for (const char *name : {"VX.LOG", "VX2.LOG", "VX3.LOG", "VX4.LOG"}) {
            VxRemoveFile(dir + "\\Logs\\" + name);
        }
        ToolboxSetUserDataDir(dir.c_str());
        LogForgetPath();
    }
    void TearDown() override {
        ErcTerm(); // closes the file and keeps logging on
        LogForgetPath();
        ToolboxSetUserDataDir("");
        FileLayerTest::TearDown();
    }
    std::string LogPath() {
        char path[LOG_PATH_MAX + 1];
        LogGetPath(path);
        return path;
    }
    // Restarts logging: a new separator, and the file found anew when the path was forgotten.
    static void Restart() {
        LogEnable(0);
        LogEnable(1);
    }
};

static std::vector<std::string> LogLines(const std::string &bytes) {
    std::vector<std::string> lines;
    size_t at = 0, end;
    while ((end = bytes.find("\r\n", at)) != std::string::npos) {
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    EXPECT_EQ(at, bytes.size()) << "every line ends with CR LF";
    return lines;
}

static void ExpectEntry(const std::string &line, const std::string &text) {
    static const std::regex dated(R"((\d\d)/(\d\d)/\d\d (\d\d):(\d\d):(\d\d): (.*))");
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, dated)) << line;
    EXPECT_LE(std::stoi(m[1]), 12);
    EXPECT_LE(std::stoi(m[3]), 23);
    EXPECT_EQ(m[6].str(), text);
}

TEST_F(Log, SeparatorAndDatedLines) {
    Restart();
    EXPECT_EQ(LogPath(), dir + "\\Logs\\VX.LOG");
    LogWrite("first entry");
    LogWrite("");
    LogPrintf("count=%d name=%s", 42, "a.c");
    LogEnable(0);
    LogWrite("not written while off");
    LogEnable(1); // the same file, a second separator
    LogWrite("after");
    ErcTerm();
    std::vector<std::string> lines = LogLines(VxDiskRead(dir + "\\Logs\\VX.LOG"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0] + "\r\n", logSeparator);
    ExpectEntry(lines[1], "first entry");
    ExpectEntry(lines[2], "count=42 name=a.c");
    EXPECT_EQ(lines[3] + "\r\n", logSeparator);
    ExpectEntry(lines[4], "after");

    LogForgetPath();
    Restart(); // a new run appends
    LogWrite("next run");
    ErcTerm();
    lines = LogLines(VxDiskRead(dir + "\\Logs\\VX.LOG"));
    ASSERT_EQ(lines.size(), 7u);
    ExpectEntry(lines[6], "next run");
}

TEST_F(Log, LongTextsAreCut) {
    Restart();
    LogPrintf((std::string(500, 'f') + "%d").c_str(), 7);
    LogPrintf((std::string(461, 'g') + "%d").c_str(), 7); // the cut splits the conversion
    LogWrite(std::string(2000, 'w').c_str());
    ErcTerm();
    std::vector<std::string> lines = LogLines(VxDiskRead(LogPath()));
    ASSERT_EQ(lines.size(), 4u);
    ExpectEntry(lines[1], std::string(462, 'f'));
    ExpectEntry(lines[2], std::string(461, 'g'));
    ExpectEntry(lines[3], std::string(511, 'w'));
}

static std::string logHeld;

// Another program holds the file and lets others only read it: a sharing violation (error 32).
static int LogRefuseHeld(const char *path, uint32_t flags, int shareCode, FileHandle *out) {
    if (logHeld == path && !(flags & FILE_OPEN_READONLY)) {
        VxSetSystemError(32);
        return 0;
    }
    return FileOsDefaultCalls()->open(path, flags, shareCode, out);
}

TEST_F(Log, LaterNameWhileEarlierIsHeld) {
    char folder[LOG_PATH_MAX + 1];
    LogGetFolder(folder);
    std::string held = std::string(folder) + "\\VX.LOG";
    VxDiskWrite(held, "");
    // Where the system has no sharing modes, the table refuses to open the held file for writing.
    void *other = VxHoldDenyingWrites(held);
    FileOsOverride os;
    if (!other) {
        logHeld = held;
        os.calls.open = LogRefuseHeld;
        os.Install();
    }
    Restart();
    EXPECT_EQ(LogPath(), std::string(folder) + "\\VX2.LOG");
    EXPECT_FALSE(ErcIsSet()) << "errors met while trying names are forgotten";
    LogWrite("in the second file");
    ErcTerm();
    VxRelease(other);
    FileOsSetCalls(nullptr);
    std::vector<std::string> lines = LogLines(VxDiskRead(std::string(folder) + "\\VX2.LOG"));
    ASSERT_EQ(lines.size(), 2u);
    ExpectEntry(lines[1], "in the second file");
    EXPECT_EQ(VxDiskRead(held), "");
}

TEST_F(Log, ReadOnlyNameIsSkipped) {
    char folder[LOG_PATH_MAX + 1];
    LogGetFolder(folder);
    std::string first = std::string(folder) + "\\VX.LOG";
    VxDiskWrite(first, "old");
    VxSetReadOnly(first, true);
    Restart();
    EXPECT_EQ(LogPath(), std::string(folder) + "\\VX2.LOG");
    ErcTerm();
    VxSetReadOnly(first, false);
    EXPECT_EQ(VxDiskRead(first), "old");
}

TEST_F(Log, FolderFallsBackToUserData) {
    VxDiskWrite(dir + "\\Logs", "a file where the folder would be");
    char folder[LOG_PATH_MAX + 1];
    LogGetFolder(folder);
    EXPECT_EQ(std::string(folder), dir);
    Restart();
    EXPECT_EQ(LogPath(), dir + "\\VX.LOG");
}

TEST_F(Log, FailedWriteKeepsTheCurrentError) {
    static const char ercTestKept[] = "kept %s";
    Restart();
    ErcSetF(ercTestKept, "here");
    FileOsWriteFailNth(1);
    LogWrite("lost");
    EXPECT_EQ(ErcGet(), ercTestKept);
    char text[ERC_TEXT_MAX];
    ErcGetText(text);
    EXPECT_STREQ(text, "kept here");
}

TEST_F(Log, ClearEmptiesTheFile) {
    Restart();
    LogWrite("before");
    LogClear();
    LogWrite("after");
    LogFlush();
    std::vector<std::string> lines = LogLines(VxDiskRead(LogPath()));
    ASSERT_EQ(lines.size(), 1u);
    ExpectEntry(lines[0], "after");
}

TEST_F(Log, NoFileUntilTheFileLayerRuns) {
    FileCacheTerm();
    Restart();
    LogWrite("only to the sink");
    EXPECT_EQ(VxDiskRead(dir + "\\Logs\\VX.LOG"), "<missing>");
}
