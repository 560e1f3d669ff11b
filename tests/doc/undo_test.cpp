// Undo and redo:
// - steps: one per outermost edit (the selection history pushed first for the current buffer), none for the
//   clipboard document; the entries a notice records (two type-5 notices of one line stored once, eleven
//   different changes storing ten and setting the refresh-everything bit); step names and generations;
// - undo then redo restores text, line count, runs, marks and the modified flag; undoing to the saved state
//   clears it; undo brings back a bookmark the edit deleted; a snapshot that cannot be read changes nothing;
// - undo past a save asks once per save, and again after the next save;
// - the undo-levels cap counts edits: cap 3 lets "Undo All" undo three of four edits, cap 1 one;
// - a new edit after two undos discards both redo steps and reuses their space in the undo file;
// - the caches patched from the entries of the edit undone or redone, whole for the refresh bit;
// - rollback of a failed edit; no undo file; a snapshot write failed: the question (logged under its
//   switch, with a beep), No refusing with error 4 and changing nothing, Yes emptying the list;
// - the commands and their after-effects; suspension;
// - snapshots that use a file about to be replaced are rewritten to the scratch file.
#include "doc/undo.h"

#include "doc/docmrk.h"
#include "doctest.h"
#include "ui/dlgalert.h"

namespace {

using namespace doctest;

enum { ANSWER_YES = 6, ANSWER_NO = 7 };

FileBuffer *current;
std::vector<std::string> heard;

std::string Said(const char *what, int64_t a, int64_t b = 0) {
    return std::string(what) + " " + std::to_string(a) + " " + std::to_string(b);
}

class UndoTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        current = nullptr;
        heard.clear();
        shell.currentDoc = [] { return current; };
        shell.beep = [](int kind) { heard.push_back(Said("beep", kind)); };
        SetShell();
        DocDisplayHook display = *DocDisplayNeutral();
        display.pushSelectionHistory = [] {
            heard.push_back("history");
            return 1;
        };
        display.swResetLinePastEnd = [](int32_t count) { heard.push_back(Said("line past", count)); };
        display.swRepaintDocLines = [](FileBuffer *doc, int32_t first, int32_t last) {
            heard.push_back(doc ? Said("repaint", first, last) : Said("repaint all", first, last));
        };
        display.swUpdateCurrent = [] { heard.push_back("update current"); };
        display.swUpdateAll = [] { heard.push_back("update all"); };
        display.showSelection = [] { heard.push_back("show selection"); };
        DocSetDisplayHook(&display);
    }
    static LineRecord *Record(const std::string &text) {
        static LineRecord record;
        LineFromText(text.data(), (int32_t)text.size(), &record);
        return &record;
    }
    // Line 0 becomes the text, as one edit.
    static void Change(FileBuffer *doc, const std::string &text) {
        ASSERT_TRUE(ReplaceLine(doc, 0, Record(text)));
    }
    static uint32_t UndoFileSize(FileBuffer *doc) { return FileGetSize(doc->fnUndo); }
};

// ---- Steps ----

TEST_F(UndoTest, OneStepPerOutermostEdit) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\nc\r\n");
    current = doc;
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(InsertLineSz(doc, 1, "x"));
    ASSERT_TRUE(EndEdit(doc));
    ASSERT_TRUE(DocDeleteLines(doc, 2, 2));
    ASSERT_TRUE(EndEdit(doc));
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "history"), 1)
        << "the current buffer's position recorded";
    ASSERT_EQ(UndoStepCount(doc), 1);
    UndoStepHead step;
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_EQ(step.used, 2u);
    EXPECT_EQ(step.entries[0], 1u);
    EXPECT_EQ(step.entries[1], (uint32_t)UNDO_OP_INSERT << 30 | 1);
    EXPECT_EQ(step.entries[2], 2u);
    EXPECT_EQ(step.entries[3], (uint32_t)UNDO_OP_DELETE << 30 | 2);
    EXPECT_EQ(step.offset, 0u);
    EXPECT_FALSE(step.flags & UNDO_STEP_MODIFIED) << "not modified when the step began";
    current = nullptr;
    heard.clear();
    Change(doc, "y");
    EXPECT_TRUE(heard.empty()) << "no history for a buffer that is not current";
    ASSERT_TRUE(UndoGetStep(doc, 1, &step));
    EXPECT_TRUE(step.flags & UNDO_STEP_MODIFIED);
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
    EXPECT_EQ(step.used, 1u) << "two type-5 notices of one line are stored once";
    for (int i = 2; i < 11; i++) DocChangeNotice(doc, DOC_CHANGE_LINE, i, i);
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_EQ(step.used, 10u);
    EXPECT_FALSE(step.flags & UNDO_STEP_REFRESH_ALL) << "ten different lines fit";
    DocChangeNotice(doc, DOC_CHANGE_LINE, 0, 0);
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_EQ(step.used, 10u) << "the eleventh is not stored";
    EXPECT_TRUE(step.flags & UNDO_STEP_REFRESH_ALL);
    EXPECT_EQ(step.entries[18], 10u);
    EndEdit(doc);
}

TEST_F(UndoTest, NamesAndGenerations) {
    FileBuffer *doc = Load("u.txt", "a\r\n");
    EXPECT_EQ(UndoLastGeneration(doc), 0) << "no step: the buffer's own";
    Change(doc, "b");
    ASSERT_TRUE(DocSaveToFile(doc, Path("u.txt").c_str(), false, EOL_CRLF));
    Change(doc, "c");
    EXPECT_EQ(UndoLastGeneration(doc), 1);
    char name[256];
    ASSERT_TRUE(UndoGetStepName(doc, 1, name));
    EXPECT_STREQ(name, "") << "never named";
    UndoSetStepName(doc, "File Revert");
    ASSERT_TRUE(UndoGetStepName(doc, 1, name));
    EXPECT_STREQ(name, "File Revert");
    UndoSetStepName(doc, std::string(300, 'n').c_str());
    ASSERT_TRUE(UndoGetStepName(doc, 1, name));
    EXPECT_EQ(std::string(name), std::string(255, 'n')) << "cut at 255";
    UndoStepHead step;
    ASSERT_TRUE(UndoGetStep(doc, 1, &step));
    EXPECT_EQ(step.nameLength, 255);
    EXPECT_EQ(step.generation, 1u) << "the rest of the record stays";
    EXPECT_EQ(PlexVarLength(doc->hplvUndo, 1), 101 + 255);
    UndoSuspend(doc);
    UndoSetStepName(doc, "ignored");
    UndoResume(doc);
    ASSERT_TRUE(UndoGetStepName(doc, 1, name));
    EXPECT_EQ(strlen(name), 255u) << "nothing while suspended";
}

// ---- Undo and redo ----

TEST_F(UndoTest, UndoThenRedoRestoresEverything) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\nc\r\n");
    ASSERT_TRUE(DocAddBookmark(doc, "b", 1, 0));
    std::vector<LineRun> runs = Runs(doc);
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(DocDeleteLines(doc, 0, 2));
    ASSERT_TRUE(InsertLineSz(doc, 0, "new"));
    ASSERT_TRUE(InsertLineSz(doc, 2, "end"));
    ASSERT_TRUE(EndEdit(doc));
    ASSERT_FALSE(DocHasBookmarkAtLine(doc, 1));
    std::vector<LineRun> editedRuns = Runs(doc);
    EXPECT_FALSE(UndoCanRedo(doc));
    ASSERT_TRUE(UndoCanUndo(doc));
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(doc->lnMac, 3);
    EXPECT_TRUE(SameRuns(Runs(doc), runs));
    EXPECT_TRUE(DocHasBookmarkAtLine(doc, 1)) << "the bookmark the edit deleted is back";
    EXPECT_FALSE(DocIsModified(doc)) << "back at the saved state";
    EXPECT_FALSE(UndoCanUndo(doc));
    ASSERT_TRUE(UndoCanRedo(doc));
    ASSERT_TRUE(RedoStep(doc));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"new", "c", "end"}));
    EXPECT_TRUE(SameRuns(Runs(doc), editedRuns));
    EXPECT_FALSE(DocHasBookmarkAtLine(doc, 1));
    EXPECT_TRUE(DocIsModified(doc));
    EXPECT_FALSE(UndoCanRedo(doc));
    EXPECT_FALSE(RedoStep(doc));
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b", "c"})) << "and back again";
    EXPECT_TRUE(DocStoreCheck(doc));
}

TEST_F(UndoTest, ReadOnlyBufferNeitherUndoesNorRedoes) {
    FileBuffer *doc = Load("u.txt", "a\r\n");
    Change(doc, "b");
    doc->flags |= DOC_READONLY;
    EXPECT_FALSE(UndoCanUndo(doc));
    EXPECT_FALSE(UndoStep(doc));
    EXPECT_EQ(Lines(doc), std::vector<std::string>{"b"});
}

TEST_F(UndoTest, UnreadableSnapshotChangesNothing) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\n");
    Change(doc, "x");
    int32_t damaged = -5; // the run table's byte count
    FileSeek(doc->fnUndo, 0);
    ASSERT_TRUE(FileWriteExact(doc->fnUndo, &damaged, 4));
    std::vector<LineRun> runs = Runs(doc);
    EXPECT_FALSE(UndoStep(doc));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"x", "b"}));
    EXPECT_TRUE(SameRuns(Runs(doc), runs));
    EXPECT_TRUE(DocIsModified(doc));
    EXPECT_EQ(doc->iudrCur, 1) << "the present state became a redo step; the undo was not done";
}

TEST_F(UndoTest, UndoPastASaveAsksOncePerSave) {
    FileBuffer *doc = Load("u.txt", "0\r\n");
    Change(doc, "1");
    Change(doc, "2");
    ASSERT_TRUE(DocSaveToFile(doc, Path("u.txt").c_str(), false, EOL_CRLF));
    Change(doc, "3");
    VxAlertsReset();
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "2");
    EXPECT_FALSE(DocIsModified(doc)) << "the saved state";
    EXPECT_TRUE(VxAlerts().empty()) << "that edit came after the save";
    heard.clear();
    VxAlertAnswer(ANSWER_NO);
    EXPECT_FALSE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "2") << "refused";
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{ercUndoPastSave});
    EXPECT_EQ(VxAlerts()[0].kind, ALERT_YESNO);
    EXPECT_EQ(heard, std::vector<std::string>{"beep 3 0"});
    VxAlertAnswer(ANSWER_YES);
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "1");
    EXPECT_TRUE(DocIsModified(doc)) << "before the save";
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "0");
    EXPECT_EQ(VxAlerts().size(), 2u) << "asked once for this save";
    while (UndoCanRedo(doc)) ASSERT_TRUE(RedoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "3");
    ASSERT_TRUE(DocSaveToFile(doc, Path("u.txt").c_str(), false, EOL_CRLF));
    VxAlertsReset();
    VxAlertAnswer(ANSWER_YES);
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "2");
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{ercUndoPastSave}) << "a new save asks again";
}

TEST_F(UndoTest, LevelsCapCountsEdits) {
    struct Case {
        int32_t cap;
        int edits;
        const char *afterUndoAll;
    } cases[] = {{3, 4, "v0"}, {1, 2, "v0"}, {1, 1, "start"}, {0, 3, "start"}};
    for (const Case &c : cases) {
        Options().undoLevels = c.cap;
        FileBuffer *doc = Load("cap.txt", "start\r\n");
        current = doc;
        for (int i = 0; i < c.edits; i++) Change(doc, "v" + std::to_string(i));
        EXPECT_EQ(CmdUndo(UNDO_ROW_UNDO_ALL), 0) << c.cap;
        EXPECT_EQ(LineText(doc, 0), c.afterUndoAll) << "cap " << c.cap << ", " << c.edits << " edits";
        EXPECT_EQ(CmdUndo(UNDO_ROW_UNDO), 1) << "nothing more to undo";
        EXPECT_EQ(CmdRedo(UNDO_ROW_REDO_ALL), 0);
        EXPECT_EQ(LineText(doc, 0), "v" + std::to_string(c.edits - 1)) << "redone to the last edit";
        DocFree(doc, false);
        current = nullptr;
    }
}

TEST_F(UndoTest, NewEditAfterTwoUndosReusesTheRedoSpace) {
    FileBuffer *doc = Load("u.txt", "0\r\n");
    std::vector<uint32_t> sizes;
    for (const char *text : {"1", "2", "3"}) {
        Change(doc, text);
        sizes.push_back(UndoFileSize(doc));
    }
    ASSERT_TRUE(UndoStep(doc) && UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "1");
    EXPECT_EQ(UndoStepCount(doc), 4) << "the present state was kept for redo";
    EXPECT_GT(UndoFileSize(doc), sizes[2]);
    Change(doc, "new");
    EXPECT_FALSE(UndoCanRedo(doc)) << "both redo steps went";
    EXPECT_EQ(UndoStepCount(doc), 2);
    EXPECT_EQ(doc->iudrCur, 2);
    EXPECT_EQ(UndoFileSize(doc), sizes[1]) << "the new snapshot took the first redo step's place";
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "1");
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "0");
}

// ---- The caches ----

class UndoCacheTest : public UndoTest {
protected:
    void SetUp() override {
        UndoTest::SetUp();
        DocSymbolHook symbol = *DocSymbolNeutral();
        symbol.tglOnLinesChanged = [](TagList *, int type, int32_t first, int32_t last) {
            heard.push_back("tags " + std::to_string(type) + " " + std::to_string(first) + ".." +
                            std::to_string(last));
        };
        symbol.tglShiftLines = [](TagList *, int32_t line, int32_t delta, int32_t) {
            heard.push_back(Said("shift", line, delta));
        };
        DocSetSymbolHook(&symbol);
        DocLangHook lang = *DocLangNeutral();
        lang.parseBufferPublish = [](FileBuffer *) { heard.push_back("publish"); };
        DocSetLangHook(&lang);
    }
    void TearDown() override {
        if (doc) doc->ptgl = nullptr;
        UndoTest::TearDown();
    }
    // Whatever was heard from the symbol and language layers since the last call.
    std::vector<std::string> Heard() {
        std::vector<std::string> told;
        for (const std::string &line : heard)
            if (line.rfind("tags", 0) == 0 || line.rfind("shift", 0) == 0 || line == "publish")
                told.push_back(line);
        heard.clear();
        return told;
    }
    FileBuffer *doc = nullptr;
    int tags = 0;
};

TEST_F(UndoCacheTest, PatchedFromTheEditsEntries) {
    doc = Load("c.txt", "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n");
    doc->ptgl = (TagList *)&tags;
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(InsertLineSz(doc, 1, "x"));
    ASSERT_TRUE(DocDeleteLines(doc, 3, 2));
    DocChangeNotice(doc, DOC_CHANGE_LINE, 0, 0);
    ASSERT_TRUE(EndEdit(doc));
    Change(doc, "later"); // a second edit, so that the redo below is not the last one
    Heard();
    ASSERT_TRUE(UndoStep(doc));
    ASSERT_TRUE(UndoStep(doc));
    Heard();
    ASSERT_TRUE(RedoStep(doc));
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{"shift 1 1", "tags 2 3..4", "shift 3 -2", "tags 5 0..0", "publish"}))
        << "redo: the edit's own entries, forwards";
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{"tags 5 0..0", "shift 3 2", "tags 2 1..1", "shift 1 -1", "publish"}))
        << "undo: backwards, each inverted";
    ASSERT_TRUE(RedoStep(doc));
    ASSERT_TRUE(RedoStep(doc));
    EXPECT_EQ(Heard(),
              (std::vector<std::string>{"shift 1 1", "tags 2 3..4", "shift 3 -2", "tags 5 0..0", "publish",
                                        "tags 2 0..0", "shift 0 -1", "shift 0 1", "publish"}))
        << "redoing the last edit patches from its entries too";
}

TEST_F(UndoCacheTest, RefreshBitRefreshesWhole) {
    doc = Load("c.txt", "0\r\n");
    doc->ptgl = (TagList *)&tags;
    ASSERT_TRUE(BeginEdit(doc));
    for (int i = 0; i < 11; i++) ASSERT_TRUE(InsertLineSz(doc, i, "x"));
    ASSERT_TRUE(EndEdit(doc));
    Heard();
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(Heard(), (std::vector<std::string>{"tags 4 0..2147483646", "publish"}));
    ASSERT_TRUE(RedoStep(doc));
    EXPECT_EQ(Heard(), (std::vector<std::string>{"tags 4 0..2147483646", "publish"}));
    doc->ptgl = nullptr;
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(Heard(), std::vector<std::string>{}) << "no tag list: nothing to tell or publish";
}

// ---- Failures ----

TEST_F(UndoTest, FailedEditRollsBack) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\nc\r\n");
    Change(doc, "A");
    ASSERT_TRUE(DocSaveToFile(doc, Path("u.txt").c_str(), false, EOL_CRLF));
    ASSERT_TRUE(DocAddBookmark(doc, "b", 1, 0));
    std::vector<LineRun> runs = Runs(doc);
    uint32_t undoSize = UndoFileSize(doc);
    ASSERT_TRUE(BeginEdit(doc));
    ASSERT_TRUE(DocDeleteLines(doc, 0, 2));
    FileOsWriteFailNth(1);
    EXPECT_FALSE(InsertLineSz(doc, 0, "new")) << "the scratch file cannot be written";
    EXPECT_FALSE(EndEdit(doc));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_TRUE(SameRuns(Runs(doc), runs));
    EXPECT_TRUE(DocHasBookmarkAtLine(doc, 1));
    EXPECT_FALSE(DocIsModified(doc));
    EXPECT_EQ(UndoStepCount(doc), 1) << "the failed edit's step is gone";
    EXPECT_EQ(UndoFileSize(doc), undoSize) << "and its snapshot";
    EXPECT_FALSE(UndoCanRedo(doc));
    VxAlertAnswer(ANSWER_YES);
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b", "c"})) << "the earlier edit still undoes";
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
    Change(doc, "b");
    uint32_t undoSize = UndoFileSize(doc);
    std::vector<LineRun> runs = Runs(doc);
    Options().logUndoSpace = true;
    VxAlertsReset();
    heard.clear();
    VxLogCaptureStart();
    VxAlertAnswer(ANSWER_NO);
    FileOsWriteFailNth(1);
    EXPECT_FALSE(BeginEdit(doc));
    std::vector<std::string> log = VxLogCaptureStop();
    std::string question =
        "Out of Undo space for " + Path("u.txt") + ".  Do you want to empty the Undo list and continue?";
    EXPECT_EQ(AlertTexts(),
              (std::vector<std::string>{question, "Error: Out of space for Undo : " + Path("u.txt")}));
    EXPECT_EQ(heard, std::vector<std::string>{"beep 3 0"});
    EXPECT_EQ(log,
              (std::vector<std::string>{"Out of Undo Space: " + Path("u.txt") + ", iudrCur=1, iudrMac=1",
                                        " >> hplvUndo size = " + std::to_string(doc->hplvUndo->poolUsed) +
                                            ", fnUndo size = " + std::to_string(undoSize) + "l"}));
    EXPECT_EQ(EditNestCount(), 0);
    EXPECT_EQ(UndoStepCount(doc), 1) << "the earlier step is kept";
    EXPECT_EQ(UndoFileSize(doc), undoSize) << "the failed write is taken back";
    EXPECT_TRUE(SameRuns(Runs(doc), runs));
    Options().logUndoSpace = false;
    VxAlertsReset();
    VxLogCaptureStart();
    VxAlertAnswer(ANSWER_YES);
    FileOsWriteFailNth(1);
    ASSERT_TRUE(BeginEdit(doc));
    EXPECT_TRUE(VxLogCaptureStop().empty()) << "logged only under its switch";
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{question});
    EXPECT_EQ(UndoStepCount(doc), 1) << "the list was emptied, then the new step taken";
    UndoStepHead step;
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_EQ(step.offset, 0u) << "the file was emptied too";
    ASSERT_TRUE(ReplaceLine(doc, 0, Record("c")));
    ASSERT_TRUE(EndEdit(doc));
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "b");
    EXPECT_FALSE(UndoCanUndo(doc)) << "the emptied steps are gone";
}

TEST_F(UndoTest, PresentStateThatCannotBeWrittenFailsTheUndo) {
    FileBuffer *doc = Load("u.txt", "a\r\n");
    Change(doc, "b");
    VxAlertAnswer(ANSWER_NO);
    FileOsWriteFailNth(1);
    EXPECT_FALSE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "b");
    EXPECT_EQ(UndoStepCount(doc), 1);
    EXPECT_EQ(doc->iudrCur, 1);
    VxAlertAnswer(ANSWER_YES);
    FileOsWriteFailNth(1);
    EXPECT_FALSE(UndoStep(doc)) << "emptying the list leaves nothing to undo";
    EXPECT_EQ(LineText(doc, 0), "b");
    EXPECT_FALSE(UndoCanUndo(doc));
    EXPECT_FALSE(UndoCanRedo(doc));
}

// ---- Commands and suspension ----

TEST_F(UndoTest, CommandsAndTheirAfterEffects) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\nc\r\n");
    EXPECT_EQ(CmdUndo(UNDO_ROW_UNDO), 1) << "no current buffer";
    current = doc;
    ASSERT_TRUE(BeginEdit(doc) && InsertLineSz(doc, 3, "d") && EndEdit(doc));
    ClearAnyDocModified();
    heard.clear();
    EXPECT_EQ(CmdUndo(UNDO_ROW_UNDO), 0);
    EXPECT_EQ(doc->lnMac, 3);
    EXPECT_EQ(heard, (std::vector<std::string>{"history", "repaint 0 2147483646", "line past 3 0",
                                               "repaint 0 2147483646", "update current", "show selection"}));
    EXPECT_TRUE(AnyDocModified());
    heard.clear();
    EXPECT_EQ(CmdRedo(UNDO_ROW_REDO), 0);
    EXPECT_EQ(heard, (std::vector<std::string>{"repaint 0 2147483646", "line past 4 0",
                                               "repaint 0 2147483646", "update all", "show selection"}));
    EXPECT_EQ(CmdRedo(UNDO_ROW_REDO), 1) << "nothing to redo";
    ASSERT_TRUE(DocSaveToFile(doc, Path("u.txt").c_str(), false, EOL_CRLF));
    heard.clear();
    VxAlertAnswer(ANSWER_NO);
    EXPECT_EQ(CmdUndo(UNDO_ROW_UNDO_ALL), 2) << "refused past the save";
    EXPECT_EQ(heard, std::vector<std::string>{"beep 3 0"}) << "no after-effects when nothing was undone";
    EXPECT_EQ(doc->lnMac, 4);
}

TEST_F(UndoTest, LinksRepaintEveryWindow) {
    FileBuffer *doc = Load("u.txt", "a\r\nb\r\n");
    MarkSet *links = DocGetMarkSet(doc, MARK_LINK);
    ASSERT_TRUE(StlAppendSz(links->fileNames, "t.c", 1) && StlAppendSz(links->keys, "1T", 0));
    Mark link = {MARK_LINK, 1, 0, 0, 0, 0, 0};
    ASSERT_TRUE(MrkSetAdd(links, &link, "1S"));
    Change(doc, "x");
    UndoStepHead step;
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_TRUE(step.flags & UNDO_STEP_LINKS);
    heard.clear();
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(std::count(heard.begin(), heard.end(), "repaint all 0 2147483646"), 1);
    EXPECT_EQ(DocLinkCount(doc), 1);
    EXPECT_EQ(StlCount(doc->rgmrk[2]->keys), 1) << "the link set came back with its lists";
}

TEST_F(UndoTest, SuspendedStepsDoNothing) {
    FileBuffer *doc = Load("u.txt", "a\r\n");
    Change(doc, "b");
    UndoSuspend(doc);
    Change(doc, "c");
    EXPECT_EQ(UndoStepCount(doc), 1);
    EXPECT_TRUE(UndoRollback(doc));
    EXPECT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "c") << "nothing restored while suspended";
    EXPECT_EQ(doc->iudrCur, 1);
    UndoResume(doc);
    ASSERT_TRUE(UndoStep(doc));
    EXPECT_EQ(LineText(doc, 0), "a");
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
