// Edit protocol and change notice:
// - listeners told in their fixed order (a recording fake per listener), the line count they see;
// - a whole-buffer notice recorded as type 4; ReplaceLine keeps a bookmark; inserting at -1 appends;
// - refusals: BeginEdit on a read-only buffer changes nothing and the idle turn shows the message once;
// - EndEdit without an open edit changes nothing;
// - failures inside an edit (an allocation through the heap's seam) roll the edit back, shown once;
// - the line operations: copying lines by their runs, appending, the range delete, the range copy (an empty
//   range inserts nothing), splitting, joining at the line limit, reverting to the disk lines and its refusals, finding text, tabs and trailing blanks.
#include "doctest.h"

#include "doc/car.h"
#include "doc/clip.h"
#include "doc/docmrk.h"
#include "doc/sysclip.h"
#include "doc/undo.h"

#include <string>

namespace {

using namespace doctest;

std::vector<std::string> &Heard() {
    static std::vector<std::string> heard;
    return heard;
}

std::string Said(const char *who, int a, int32_t first, int32_t last) {
    return std::string(who) + " " + std::to_string(a) + " " + std::to_string(first) + ".." +
           std::to_string(last);
}

FileBuffer *listenedDoc;
int32_t countSeen;

void HearRepaint(FileBuffer *, int32_t first, int32_t last) {
    Heard().push_back(Said("repaint", 0, first, last));
}
void HearInvalidate(FileBuffer *, int kind, int32_t first, int32_t last) {
    Heard().push_back(Said("windows", kind, first, last));
}
void *HearFindWindow(FileBuffer *) {
    Heard().push_back("clip");
    return &listenedDoc;
}
void HearShift(FileBuffer *doc, int32_t line, int32_t delta) {
    countSeen = doc->lnMac;
    Heard().push_back(Said("shift", delta, line, line));
}
void HearTags(TagList *, int type, int32_t first, int32_t last) {
    Heard().push_back(Said("tags", type, first, last));
}
void HearDirty(TagList *, int32_t) {
    Heard().push_back("lexer");
}
void HearLang(Lang *, int type, FileBuffer *, int32_t first, int32_t last) {
    Heard().push_back(Said("language", type, first, last));
}
void HearContext(FileBuffer *) {
    Heard().push_back("context");
}

class DocEditTest : public DocTest {
protected:
    void Listen() {
        Heard().clear();
        DocDisplayHook display = *DocDisplayNeutral();
        display.swRepaintDocLines = HearRepaint;
        display.swInvalidateDocLines = HearInvalidate;
        display.swFindByDoc = HearFindWindow;
        display.swShiftDocLines = HearShift;
        DocSetDisplayHook(&display);
        DocSymbolHook symbol = *DocSymbolNeutral();
        symbol.tglOnLinesChanged = HearTags;
        symbol.tglSetDirtyMark = HearDirty;
        DocSetSymbolHook(&symbol);
        DocLangHook lang = *DocLangNeutral();
        lang.onLinesChanged = HearLang;
        DocSetLangHook(&lang);
        DocBrowseHook browse = *DocBrowseNeutral();
        browse.ctwNoteDocChanged = HearContext;
        DocSetBrowseHook(&browse);
    }
    static LineRecord *Record(const std::string &text) {
        static LineRecord record;
        LineFromText(text.data(), (int32_t)text.size(), &record);
        return &record;
    }
};

TEST_F(DocEditTest, ListenersInTheirOrder) {
    FileBuffer *doc = Load("l.txt", "a\r\nb\r\nc\r\n");
    doc->flags |= DOC_CLIP;
    doc->ptgl = (TagList *)&listenedDoc;
    Listen();
    int32_t clipChanges = ClipListChangeCount();
    ASSERT_TRUE(DocDeleteLines(doc, 1, 1));
    std::vector<std::string> expected = {"repaint 0 1..1",  "windows 2 1..1", "tags 2 1..1", "lexer",
                                         "language 2 1..1", "clip",           "context",     "shift -1 1..1"};
    EXPECT_EQ(Heard(), expected);
    EXPECT_EQ(countSeen, 2) << "listeners of the shift see the new line count";
    EXPECT_EQ(ClipListChangeCount(), clipChanges + 1);
    char label[256];
    DocSourceLabel(doc, label);
    EXPECT_STREQ(label, "Text from Typing");
    doc->ptgl = nullptr;
}

TEST_F(DocEditTest, WholeBufferNoticeIsTypeFour) {
    FileBuffer *doc = Load("w.txt", "a\r\nb\r\n");
    Listen();
    ASSERT_TRUE(BeginEdit(doc));
    DocChangeNotice(doc, DOC_CHANGE_DELETED, 0, DOC_LINE_END);
    ASSERT_TRUE(EndEdit(doc));
    EXPECT_EQ(Heard()[1], "windows 4 0..2147483646");
    UndoStepHead step;
    ASSERT_TRUE(UndoGetStep(doc, 0, &step));
    EXPECT_TRUE(step.flags & UNDO_STEP_REFRESH_ALL);
    EXPECT_EQ(step.used, 0u);
    EXPECT_TRUE(DocIsModified(doc));
}

TEST_F(DocEditTest, ReplaceLineKeepsItsBookmark) {
    FileBuffer *doc = Load("r.txt", "a\r\nb\r\nc\r\n");
    ASSERT_TRUE(DocAddBookmark(doc, "here", 1, 0));
    ASSERT_TRUE(DocAddBookmark(doc, "below", 2, 0));
    ASSERT_TRUE(ReplaceLine(doc, 1, Record("B")));
    EXPECT_TRUE(DocHasBookmarkAtLine(doc, 1));
    EXPECT_TRUE(DocHasBookmarkAtLine(doc, 2));
    ASSERT_TRUE(DocDeleteLines(doc, 1, 1));
    EXPECT_TRUE(DocHasBookmarkAtLine(doc, 1)) << "the mark below moved up";
    EXPECT_EQ(MrkSetCount(DocGetMarkSet(doc, MARK_BOOKMARK)), 1) << "the mark on the deleted line went";
}

TEST_F(DocEditTest, InsertAtMinusOneAppends) {
    FileBuffer *doc = Load("i.txt", "a\r\nb\r\n");
    ASSERT_TRUE(InsertLine(doc, -1, Record("end")));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b", "end"}));
}

TEST_F(DocEditTest, ReadOnlyRefusalChangesNothing) {
    FileBuffer *doc = Load("ro.txt", "a\r\n");
    doc->flags |= DOC_READONLY;
    EXPECT_FALSE(BeginEdit(doc));
    EXPECT_FALSE(InsertLineSz(doc, 0, "x"));
    EXPECT_EQ(Lines(doc), std::vector<std::string>{"a"});
    EXPECT_EQ(doc->hplvUndo, nullptr) << "no undo step";
    EXPECT_EQ(EditNestCount(), 0);
    EXPECT_TRUE(VxAlerts().empty()) << "nothing is shown before the idle turn";
    EditErrorShowPending();
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Error: Cannot modify a read-only file : " + Path("ro.txt"));
    EditErrorShowPending();
    EXPECT_EQ(VxAlerts().size(), 1u) << "shown once";
    Options().editReadOnly = true;
    EXPECT_TRUE(InsertLineSz(doc, 0, "x"));
}

TEST_F(DocEditTest, EndEditWithoutAnOpenEditChangesNothing) {
    FileBuffer *a = Load("a.txt", "a\r\n");
    FileBuffer *b = Load("b.txt", "b\r\n");
    ASSERT_TRUE(BeginEdit(a));
    EXPECT_TRUE(EndEdit(b));
    EXPECT_EQ(EditNestCount(), 1);
    EXPECT_EQ(DocEditOpenBuffer(), a) << "the open edit is still the outermost one";
    EXPECT_EQ(b->cEditNest, 0);
    ASSERT_TRUE(EndEdit(a));
    EXPECT_EQ(EditNestCount(), 0);
}

TEST_F(DocEditTest, FailedAllocationRollsTheEditBack) {
    FileBuffer *doc = DocNew(Path("m.txt").c_str());
    std::vector<LineRun> runs = Runs(doc);
    ASSERT_TRUE(BeginEdit(doc));
    HeapFailNth(1);
    EXPECT_FALSE(InsertLineSz(doc, 1, "x")) << "the run table cannot grow";
    EXPECT_EQ(EditErrorPending(), EDIT_ERR_MEMORY);
    EXPECT_FALSE(EndEdit(doc));
    EXPECT_EQ(doc->lnMac, 1);
    EXPECT_TRUE(SameRuns(Runs(doc), runs));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Error: Out of memory : " + Path("m.txt"));
    EXPECT_EQ(EditErrorPending(), 0);
}

TEST_F(DocEditTest, FailedEditOfTheClipboardEmptiesIt) {
    ASSERT_TRUE(DocCreateSystemDocs());
    FileBuffer *clipboard = DocClipboardDoc();
    int32_t claims = SysClipClaimCount();
    ASSERT_TRUE(BeginEdit(clipboard));
    EXPECT_EQ(clipboard->hplvUndo, nullptr) << "no undo step";
    EXPECT_TRUE(InsertLineSz(clipboard, 0, "x"));
    EXPECT_GT(SysClipClaimCount(), claims);
    EditErrorSet(EDIT_ERR_NOT_ALLOWED, clipboard);
    EXPECT_FALSE(EndEdit(clipboard));
    EXPECT_EQ(clipboard->lnMac, 0);
    EXPECT_FALSE(AnyDocModified()) << "the clipboard document does not count";
}

TEST_F(DocEditTest, CopyLinesSharesRuns) {
    FileBuffer *src = Load("s.txt", "1\r\n2\r\n3\r\n4\r\n");
    FileBuffer *dst = Load("d.txt", "a\r\nb\r\n");
    uint32_t scratch = FileGetSize(ScratchFileNumber());
    ASSERT_TRUE(DocCopyLines(src, 1, 2, dst, 1, 0));
    EXPECT_EQ(FileGetSize(ScratchFileNumber()), scratch) << "no text is copied";
    EXPECT_EQ(Lines(dst), (std::vector<std::string>{"a", "2", "3", "b"}));
    EXPECT_TRUE(src->flags & DOC_RUNS_COPIED);
    EXPECT_TRUE(dst->flags & DOC_FOREIGN_RUNS);
    EXPECT_TRUE(FileHasDocLines(src->fn));
    EXPECT_TRUE(DocGetRun(dst, RunTableFind(dst->hrgl, 1))->flags & RUN_SCRATCH);
    EXPECT_EQ(DocRunCount(src), 2) << "the source's runs merged back";
    ASSERT_TRUE(DocCopyLines(src, 0, 1, dst, 0, 2));
    EXPECT_EQ(Lines(dst), (std::vector<std::string>{"1", "3", "b"}));
    EXPECT_TRUE(DocStoreCheck(dst) && DocStoreCheck(src));
}

TEST_F(DocEditTest, AppendIsOneRunAndOneNotice) {
    FileBuffer *doc = DocNew(Path("out.txt").c_str());
    DocEmpty(doc);
    Listen();
    ASSERT_TRUE(BeginAppendLines(doc));
    EXPECT_TRUE(DocAppendOpen());
    EXPECT_FALSE(DocCanEdit(doc));
    for (int i = 0; i < 100; i++) ASSERT_TRUE(AppendLineText(("hit " + std::to_string(i)).c_str()));
    ASSERT_TRUE(EndAppendLines());
    EXPECT_EQ(doc->lnMac, 100);
    EXPECT_EQ(DocRunCount(doc), 2);
    EXPECT_EQ(LineText(doc, 99), "hit 99");
    int notices = 0;
    for (const std::string &h : Heard()) notices += h.rfind("windows", 0) == 0;
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(DocStoreCheck(doc));
}

TEST_F(DocEditTest, DeleteRangeOverThreeLines) {
    FileBuffer *doc = Load("r.txt", "zero\r\none\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix\r\n");
    Car range;
    CarSet(&range, 3, 2, 5, 1);
    ASSERT_TRUE(DocDeleteRange(doc, &range));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"zero", "one", "two", "thive", "six"}));
    EXPECT_EQ(range.firstLine, 3);
    EXPECT_EQ(range.firstColumn, 2);
    EXPECT_EQ(range.nonEmpty, 0);
    CarSet(&range, 1, 0, 1, DOC_COLUMN_END);
    ASSERT_TRUE(DocDeleteRange(doc, &range));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"zero", "two", "thive", "six"}));
    CarSet(&range, 0, 2, 0, DOC_COLUMN_END);
    ASSERT_TRUE(DocDeleteRange(doc, &range));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"zetwo", "thive", "six"}));
}

TEST_F(DocEditTest, CopyRangeReplacesText) {
    FileBuffer *src = Load("s.txt", "alpha\r\nbeta\r\ngamma\r\n");
    FileBuffer *dst = Load("d.txt", "0123456789\r\n");
    Car from, to;
    CarSet(&from, 0, 2, 2, 3);
    CarSet(&to, 0, 4, 0, 6);
    ASSERT_TRUE(DocCopyRange(src, &from, dst, &to));
    EXPECT_EQ(Lines(dst), (std::vector<std::string>{"0123pha", "beta", "gam6789"}));
    CarSet(&from, 1, 1, 1, 3);
    CarSet(&to, 1, 0, 1, 0);
    ASSERT_TRUE(DocCopyRange(src, &from, dst, &to));
    EXPECT_EQ(LineText(dst, 1), "etbeta");
    // Fault mended: an empty range inserted the text of the copy before it.
    CarSet(&from, 0, 0, 0, 0);
    CarSet(&to, 1, 2, 1, 6);
    ASSERT_TRUE(DocCopyRange(src, &from, dst, &to));
    EXPECT_EQ(LineText(dst, 1), "et") << "an empty range deletes the target's text and inserts nothing";
}

TEST_F(DocEditTest, SplitLine) {
    FileBuffer *doc = Load("s.txt", "  head tail\r\n");
    ASSERT_TRUE(DocSplitLine(doc, 0, 6, false));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"  head", " tail"}));
    ASSERT_TRUE(DocSplitLine(doc, 0, 0, false));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"", "  head", " tail"}));
}

TEST_F(DocEditTest, JoinAtTheLineLimit) {
    std::string a(4000, 'a');
    FileBuffer *doc = Load("j.txt", a + "\r\n" + std::string(92, 'b') + "\r\n" + a + "\r\n" +
                                        std::string(91, 'c') + "\r\n");
    LineRecord record;
    EXPECT_FALSE(DocJoinLines(doc, 0, &record, false));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Join operation results in a line that exceeds the maximum length.");
    EXPECT_EQ(doc->lnMac, 4);
    ASSERT_TRUE(DocAddBookmark(doc, "m", 3, 0));
    EXPECT_TRUE(DocJoinLines(doc, 2, &record, false));
    EXPECT_EQ(doc->lnMac, 3);
    EXPECT_EQ(LineText(doc, 2), a + std::string(91, 'c'));
    EXPECT_TRUE(DocHasBookmarkAtLine(doc, 2)) << "the second line's mark moved onto the joined line";
}

TEST_F(DocEditTest, SmartJoinLeavesOneBlank) {
    FileBuffer *doc = Load("j.txt", "call(a, \t\r\n\t   b);\r\n");
    LineRecord record;
    ASSERT_TRUE(DocJoinLines(doc, 0, &record, true));
    EXPECT_EQ(LineText(doc, 0), "call(a, b);");
}

TEST_F(DocEditTest, RevertLinesPutsTheDiskLinesBack) {
    FileBuffer *doc = Load("v.txt", "a\r\nb\r\nc\r\nd\r\ne\r\n");
    ASSERT_TRUE(ReplaceLine(doc, 1, Record("B")));
    ASSERT_TRUE(InsertLineSz(doc, 2, "new"));
    ASSERT_TRUE(DocDeleteLines(doc, 4, 1));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "B", "new", "c", "e"}));
    ASSERT_TRUE(DocRevertLines(doc, 2));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b", "c", "e"}));
    ASSERT_TRUE(DocRevertLines(doc, 3));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_TRUE(DocStoreCheck(doc));

    EXPECT_FALSE(DocRevertLines(doc, 0));
    FileBuffer *fresh = DocNew(Path("new.txt").c_str());
    EXPECT_FALSE(DocRevertLines(fresh, 0));
    EXPECT_EQ(AlertTexts(), (std::vector<std::string>{
                                "Cannot revert to original lines because the selected lines are unchanged.",
                                "Cannot revert to original lines because the file is not saved yet."}));
}

TEST_F(DocEditTest, FindTextAndLinePasses) {
    FileBuffer *doc = Load("f.txt", "one two\r\n\tx  \r\nthree two \r\n");
    int32_t line, column;
    ASSERT_TRUE(DocFindText(doc, 0, 5, "two", &line, &column, false));
    EXPECT_EQ(line, 2);
    EXPECT_EQ(column, 6);
    EXPECT_FALSE(DocFindText(doc, 2, 7, "two", &line, &column, false));
    ASSERT_TRUE(DocTrimTrailingBlanks(doc));
    ASSERT_TRUE(DocExpandAllTabs(doc));
    EXPECT_EQ(Lines(doc), (std::vector<std::string>{"one two", "    x", "three two"}));
}

TEST_F(DocEditTest, EmptyAndCanClose) {
    FileBuffer *doc = Load("e.txt", "a\r\nb");
    EXPECT_FALSE(doc->flags & DOC_LAST_LINE_ENDED);
    EXPECT_EQ(DocEmpty(doc), 0);
    EXPECT_EQ(doc->lnMac, 0);
    EXPECT_TRUE(doc->flags & DOC_LAST_LINE_ENDED);
    EXPECT_TRUE(DocStoreCheck(doc));
    ASSERT_TRUE(BeginEdit(doc));
    EditErrorSet(EDIT_ERR_NOT_ALLOWED, doc);
    EXPECT_FALSE(DocCanClose(doc));
    EndEdit(doc);
    EXPECT_TRUE(DocCanClose(doc));
}

} // namespace
