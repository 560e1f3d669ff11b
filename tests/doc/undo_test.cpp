// Undo steps (the least form the edit protocol uses):
// - one step per outermost edit, none for the clipboard document; the entries a notice records, a repeated
//   one-line change recorded once, more than ten setting the refresh-everything bit;
// - rollback restores the run table, the lengths, the marks and the modified state, and drops its step;
// - the undo-levels limit;
// - no undo file, or a snapshot that cannot be written: the question, and the edit refused with error 4;
// - snapshots that use a file about to be replaced are rewritten to the scratch file.
#include "doc/undo.h"

#include "doc/docmrk.h"
#include "doctest.h"

namespace {

using namespace doctest;

enum { ANSWER_YES = 6, ANSWER_NO = 7 };

class UndoTest : public DocTest {};

TEST_F(UndoTest, OneStepPerOutermostEdit) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\nc\r\n");
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(InsertLineSz(doc, 1, "x"));
    ASSERT_TRUE(EndEdit(doc));
    ASSERT_TRUE(DocDeleteLines(doc, 2, 2));
    ASSERT_TRUE(EndEdit(doc));
    ASSERT_EQ(UndoStepCount(doc), 1);
    UndoStepHead step;
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_EQ(step.used, 2u);
    EXPECT_EQ(step.entries[0], 1u);
    EXPECT_EQ(step.entries[1], (uint32_t)UNDO_OP_INSERT << 30 | 1);
    EXPECT_EQ(step.entries[2], 2u);
    EXPECT_EQ(step.entries[3], (uint32_t)UNDO_OP_DELETE << 30 | 2);
    EXPECT_FALSE(step.flags & UNDO_STEP_MODIFIED) << "not modified when the step began";
    ASSERT_TRUE(DocCreateSystemDocs());
    ASSERT_TRUE(InsertLineSz(DocClipboardDoc(), 0, "x"));
    EXPECT_EQ(UndoStepCount(DocClipboardDoc()), 0);
}

TEST_F(UndoTest, EntriesOfOneStep) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\n");
    ASSERT_TRUE(BeginEdit(doc));
    DocChangeNotice(doc, DOC_CHANGE_LINE, 1, 1);
    DocChangeNotice(doc, DOC_CHANGE_LINE, 1, 1);
    UndoStepHead step;
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_EQ(step.used, 1u) << "the repeat is dropped";
    for (int i = 0; i < 10; i++) DocChangeNotice(doc, DOC_CHANGE_LINE, i, i);
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_EQ(step.used, 10u);
    EXPECT_TRUE(step.flags & UNDO_STEP_REFRESH_ALL);
    EndEdit(doc);
}

TEST_F(UndoTest, RollbackRestoresTablesAndMarks) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\nc\r\n");
    ASSERT_TRUE(DocAddBookmark(doc, "b", 1, 0));
    std::vector<LineRun> runs = Runs(doc);
    std::vector<uint16_t> lengths = Lengths(doc);
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(DocDeleteLines(doc, 0, 2));
    ASSERT_TRUE(InsertLineSz(doc, 0, "new"));
    EXPECT_FALSE(DocHasBookmarkAtLine(doc, 1));
    ASSERT_TRUE(UndoRollback(doc));
    EXPECT_TRUE(SameRuns(Runs(doc), runs));
    EXPECT_EQ(Lengths(doc), lengths);
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(DocHasBookmarkAtLine(doc, 1));
    EXPECT_FALSE(DocIsModified(doc)) << "back to the saved state";
    EXPECT_EQ(UndoStepCount(doc), 0);
    EXPECT_FALSE(UndoRollback(doc)) << "no step left";
    EndEdit(doc);
}

TEST_F(UndoTest, LevelsLimit) {
    Options().undoLevels = 3;
    FileBuffer *doc = Load("u.txt", "a\r\n");
    for (int i = 0; i < 4; i++)
        ASSERT_TRUE(InsertLineSz(doc, 0, "x") && ReplaceLine(doc, 0, [] {
                        static LineRecord r;
                        LineFromSz("y", &r);
                        return &r;
                    }()));
    EXPECT_EQ(UndoStepCount(doc), 3);
    EXPECT_EQ(doc->iudrCur, 3);
}

TEST_F(UndoTest, NoUndoFileRefusesTheEdit) {
    FileBuffer *doc = Load("u.txt", "a\r\n");
    shell.makeTempFile = [](char *) { return -1; };
    SetShell();
    EXPECT_FALSE(BeginEdit(doc));
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error: Out of space for Undo : " + Path("u.txt")});
    EXPECT_EQ(EditNestCount(), 0);
    EXPECT_EQ(EditErrorPending(), 0) << "shown at once";
}

TEST_F(UndoTest, SnapshotThatCannotBeWrittenAsks) {
    FileBuffer *doc = Load("u.txt", "a\r\n");
    ASSERT_TRUE(ReplaceLine(doc, 0, [] {
        static LineRecord r;
        LineFromSz("b", &r);
        return &r;
    }()));
    VxAlertsReset();
    VxAlertAnswer(ANSWER_NO);
    FileOsWriteFailNth(1);
    EXPECT_FALSE(BeginEdit(doc));
    EXPECT_EQ(AlertTexts(),
              (std::vector<std::string>{"Out of Undo space for " + Path("u.txt") +
                                            ".  Do you want to empty the Undo list and continue?",
                                        "Error: Out of space for Undo : " + Path("u.txt")}));
    EXPECT_EQ(UndoStepCount(doc), 1) << "the earlier step is kept";
    VxAlertsReset();
    VxAlertAnswer(ANSWER_YES);
    FileOsWriteFailNth(1);
    EXPECT_TRUE(BeginEdit(doc));
    EXPECT_EQ(UndoStepCount(doc), 1) << "the list was emptied, then the new step taken";
    EndEdit(doc);
}

TEST_F(UndoTest, SnapshotsLeaveAFileAboutToBeReplaced) {
    FileBuffer *a = Load("a.txt", "one\r\ntwo\r\n");
    FileBuffer *b = Load("b.txt", "x\r\n");
    ASSERT_TRUE(DocCopyLines(a, 0, 2, b, 1, 0));
    ASSERT_TRUE(BeginEdit(b)); // snapshot of b, holding runs in a's file
    ASSERT_TRUE(DocDeleteLines(b, 0, 3));
    ASSERT_TRUE(DocDetachFile(a->fn, a));
    DocFree(a, false);
    Load("c.txt", "something else entirely\r\n"); // may take a's file number
    ASSERT_TRUE(UndoRollback(b));
    EXPECT_EQ(Lines(b), (std::vector<std::string>{"x", "one", "two"}));
    EndEdit(b);
}

} // namespace
