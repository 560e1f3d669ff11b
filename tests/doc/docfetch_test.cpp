// Line store and line fetch:
// - lines inserted one after another share one scratch run; the store's invariants after inserts and deletes;
// - reading in order positions once per run and reads the file by blocks, reading backwards subtracts
// lengths;
// - a run on a file marked unavailable reads as '?' of the stored lengths;
// - the typing line: begun, changed, flushed to the scratch file and merged;
// - offsets and positions, the line-count limit, changed-line kinds;
// - a failed scratch write leaves runs and lengths as before the edit and shows one "%s : %s".
#include "doctest.h"

#include "doc/undo.h"

#include <string>

namespace {

using namespace doctest;

class DocFetchTest : public DocTest {};

TEST_F(DocFetchTest, LinesInsertedInARowShareOneRun) {
    FileBuffer *doc = Load("a.txt", std::string(20 * 3, 'x') + "\r\n");
    for (int i = 0; i < 20; i++)
        ASSERT_TRUE(InsertLineSz(doc, doc->lnMac, ("line" + std::to_string(i)).c_str()));
    ASSERT_TRUE(InsertLineSz(doc, 1, "10"));
    ASSERT_TRUE(InsertLineSz(doc, 2, "11"));
    ASSERT_TRUE(InsertLineSz(doc, 3, "12"));
    int32_t i = RunTableFind(doc->hrgl, 1);
    EXPECT_EQ(DocGetRun(doc, i)->first, 1);
    EXPECT_EQ(DocGetRun(doc, i + 1)->first, 4) << "lines 1 to 3 are one run";
    EXPECT_EQ(LineText(doc, 2), "11");
    EXPECT_EQ(LineText(doc, 4), "line0");
    EXPECT_TRUE(DocStoreCheck(doc));
    ASSERT_TRUE(DocDeleteLines(doc, 2, 10));
    EXPECT_EQ(Lines(doc)[2], "line8");
    EXPECT_TRUE(DocStoreCheck(doc));
}

std::string Numbered(int lines) {
    std::string text;
    for (int i = 0; i < lines; i++) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST_F(DocFetchTest, InOrderOnePositionPerRunBackwardsSubtracts) {
    FileSetMemoryMapping(0);
    FileBuffer *doc = Load("n.txt", Numbered(1200));
    FileSetMemoryMapping(1);
    ASSERT_EQ(doc->lnMac, 1200);
    ASSERT_EQ(DocRunCount(doc), 4) << "runs every 500 lines";
    DocResetFetchCache();
    DocFetchResetStats();
    FileOsResetStats();
    for (int32_t i = 0; i < doc->lnMac; i++) ASSERT_EQ(LineText(doc, i), "line " + std::to_string(i));
    EXPECT_EQ(DocFetchGetStats().positions, 1u) << "later runs are entered from the cache";
    uint32_t blocks = (uint32_t)(Numbered(1200).size() / FILE_BLOCK_SIZE + 1);
    EXPECT_LE(FileOsGetStats().seeks, blocks) << "the file is read by blocks, not by lines";

    DocResetFetchCache();
    LineText(doc, 900);
    DocFetchResetStats();
    EXPECT_EQ(LineText(doc, 880), "line 880");
    DocFetchGetStats();
    EXPECT_EQ(DocFetchGetStats().walkedBack, 21u) << "from the cached line 901 back to 880";
    EXPECT_EQ(DocFetchGetStats().walkedForward, 0u);
}

TEST_F(DocFetchTest, UnavailableFileReadsAsQuestionMarks) {
    FileBuffer *doc = Load("q.txt", "abc\r\nde\r\n");
    FileMarkUnreadable(doc->fn);
    DocResetFetchCache();
    EXPECT_EQ(LineText(doc, 0), "?????");
    EXPECT_EQ(LineText(doc, 1), "????");
}

TEST_F(DocFetchTest, TypingLineIsHeldThenFlushed) {
    FileBuffer *doc = Load("t.txt", "one\r\ntwo\r\nthree\r\n");
    LineRecord record;
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(DocBeginLineEdit(doc, 1, &record));
    EXPECT_EQ(std::string(record.text, record.length), "two");
    EXPECT_EQ(DocEditLineBuffer(), doc);
    LineFromSz("two, typed", &record);
    EXPECT_EQ(DocSetEditLine(&record, false), 12);
    EXPECT_EQ(LineText(doc, 1), "two, typed");
    EXPECT_EQ(DocLineRawLength(doc, 1), 10u);
    unsigned char shortText[256];
    DocEditLineShort(shortText);
    EXPECT_EQ(std::string((char *)shortText + 1, shortText[0]), "two, typed");
    uint32_t scratchBefore = FileGetSize(ScratchFileNumber());
    ASSERT_TRUE(EndEdit(doc));
    EXPECT_EQ(DocEditLineBuffer(), nullptr) << "the outermost end of the edit flushes it";
    EXPECT_EQ(FileGetSize(ScratchFileNumber()), scratchBefore + 12);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"one", "two, typed", "three"}));
    EXPECT_EQ(DocLengths(doc)[1], 12);
    EXPECT_TRUE(DocStoreCheck(doc));
}

TEST_F(DocFetchTest, OffsetsCountStoredLineEnds) {
    FileBuffer *doc = Load("o.txt", "ab\ncde\n\nf\n");
    EXPECT_EQ(DocOffsetOfLine(doc, 2), 7u);
    EXPECT_EQ(DocByteSize(doc), 10u);
    EXPECT_EQ(DocOffsetOfPos(doc, 1, 2), 5u);
    int32_t line, column;
    DocPosOfOffset(doc, 5, &line, &column);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(column, 2);
    DocPosOfOffset(doc, 99, &line, &column);
    EXPECT_EQ(line, 4);
    EXPECT_EQ(DocDistance(doc, 0, 1, 1, 1), 3);
    EXPECT_EQ(DocDistance(doc, 1, 3, 1, 1), -2);
    DocEndPos(doc, &line, &column);
    EXPECT_EQ(line, 4);
    EXPECT_EQ(DocCharAt(doc, 1, 1), 'd');
    EXPECT_EQ(DocCharAt(doc, 1, 3), 0);
    char part[16];
    GetLineSubstring(doc, 1, 1, 99, part);
    EXPECT_STREQ(part, "de");
    EXPECT_EQ(GetLineLength(doc, 4), 0) << "past the end";
}

TEST_F(DocFetchTest, LineCountLimitIsErrorOne) {
    FileBuffer *doc = DocNew(Path("l.txt").c_str());
    EXPECT_FALSE(DocEnsureLines(doc, DOC_LINES_LIMIT));
    EXPECT_EQ(EditErrorPending(), EDIT_ERR_TOO_MANY_LINES);
}

TEST_F(DocFetchTest, ChangedLineKinds) {
    FileBuffer *doc = Load("k.txt", "a\r\nb\r\nc\r\nd\r\n");
    LineRecord record;
    LineFromSz("B", &record);
    ASSERT_TRUE(ReplaceLine(doc, 1, &record));
    LineRun run;
    int kind;
    EXPECT_FALSE(DocLineChangeKind(doc, 0, &run, &kind));
    EXPECT_TRUE(DocLineChangeKind(doc, 1, &run, &kind));
    EXPECT_EQ(kind, 1) << "a line in the scratch file";
    EXPECT_TRUE(DocLineChangeKind(doc, 2, &run, &kind));
    EXPECT_EQ(kind, 2) << "the old line before it is gone from the file";
    EXPECT_FALSE(DocLineChangeKind(doc, 3, &run, &kind));
}

TEST_F(DocFetchTest, FailedScratchWriteRollsBack) {
    FileBuffer *doc = Load("w.txt", "a\r\nb\r\n");
    std::vector<LineRun> runs = Runs(doc);
    std::vector<uint16_t> lengths = Lengths(doc);
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(InsertLineSz(doc, 1, "kept"));
    FileOsWriteFailNth(1);
    EXPECT_FALSE(InsertLineSz(doc, 1, "lost"));
    EXPECT_FALSE(EndEdit(doc));
    EXPECT_TRUE(SameRuns(Runs(doc), runs));
    EXPECT_EQ(Lengths(doc), lengths);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b"}));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_NE(VxAlerts()[0].text.find("File write error : " + Path("w.txt")), std::string::npos)
        << VxAlerts()[0].text;
    EXPECT_TRUE(EditFailed());
    EXPECT_TRUE(DocStoreCheck(doc));
}

TEST_F(DocFetchTest, ScratchFileStopsBelowFourGigabytes) {
    FileBuffer *doc = Load("g.txt", "a\r\n");
    std::vector<LineRun> runs = Runs(doc);
    FileSeek(ScratchFileNumber(), 0xFFFFFFF0u); // as if the scratch file had grown that far
    ASSERT_TRUE(BeginEdit(doc));
    EXPECT_FALSE(InsertLineSz(doc, 0, "one line too many"));
    EXPECT_FALSE(EndEdit(doc));
    EXPECT_TRUE(SameRuns(Runs(doc), runs));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Error: File is too large : " + Path("g.txt"));
}

} // namespace
