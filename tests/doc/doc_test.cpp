// File buffers:
// - a new buffer: one empty line stored as CR LF in the scratch file, not modified; creation that fails
//   leaves nothing behind; the hidden system buffers;
// - "DocID" read again for every id, so ids grow across runs; a missing value starts at 0;
// - the list and its lookups (a name in another letter case, ids, titles), the deferred close taken back;
// - titles and captions (the read-only mark, " *", running and final output, clips and their source label);
// - opening a file: blocked binaries and "BlockBinaryFiles", a missing file, project membership with a
//   read-only project, stored symbols current or synchronised, the shell's busy count;
// - output buffers: the current buffer refused, an empty buffer taken, search results answered by their
//   option, and the Replace/Append/New.../Cancel question;
// - freeing a buffer whose lines another buffer shares keeps the other buffer's text.
#include "doctest.h"

#include "base/os.h"
#include "doc/docmrk.h"
#include "doc/undo.h"

#include <string>

namespace {

using namespace doctest;

enum { ANSWER_REPLACE = 0, ANSWER_APPEND = 1, ANSWER_NEW = 2, ANSWER_CANCEL = 3 };

class DocBufferTest : public DocTest {};

TEST_F(DocBufferTest, NewBufferIsOneEmptyCrLfLine) {
    FileBuffer *doc = DocNew(Path("new.txt").c_str());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->lnMac, 1);
    EXPECT_EQ(Lengths(doc), std::vector<uint16_t>{2});
    EXPECT_FALSE(DocIsModified(doc));
    EXPECT_TRUE(doc->flags & DOC_LAST_LINE_ENDED);
    EXPECT_EQ(doc->fn, -1);
    const LineRun *run = DocGetRun(doc, 0);
    ASSERT_EQ(RunFile(run), ScratchFileNumber());
    char bytes[2];
    int32_t got;
    const char *p = (const char *)FileReadPtr(ScratchFileNumber(), run->offset, bytes, 2, &got);
    ASSERT_EQ(got, 2);
    EXPECT_EQ(std::string(p, 2), "\r\n");
    EXPECT_EQ(doc->iProj, -1);
    EXPECT_EQ(doc->cSaveConfirmed, -1);
    EXPECT_EQ(doc->cChange, 1);
    EXPECT_TRUE(DocIsBlank(doc));
    EXPECT_EQ(DocLiveCount(), 1);
}

TEST_F(DocBufferTest, FailedCreationLeavesNothing) {
    int32_t handles = HLiveCount();
    uint32_t scratch = FileGetSize(ScratchFileNumber());
    for (int n = 1; n <= 4; n++) {
        HeapFailNth(n);
        FileBuffer *doc = DocNew(Path("x.txt").c_str());
        HeapFailNth(0);
        if (doc) {
            DocFree(doc, false);
            continue;
        }
        EXPECT_EQ(HLiveCount(), handles) << n;
        EXPECT_EQ(DocLiveCount(), 0) << n;
    }
    FileOsWriteFailNth(1);
    EXPECT_EQ(DocNew(Path("x.txt").c_str()), nullptr) << "the scratch write failed";
    EXPECT_EQ(HLiveCount(), handles);
    EXPECT_GE(FileGetSize(ScratchFileNumber()), scratch);
    shell.makeTempFile = [](char *) { return -1; };
    SetShell();
    EXPECT_EQ(DocCreate(Path("t.txt").c_str(), true), nullptr) << "no temporary file";
}

TEST_F(DocBufferTest, TemporaryFileBuffer) {
    FileBuffer *doc = DocCreate(Path("t.txt").c_str(), true);
    ASSERT_NE(doc, nullptr);
    ASSERT_GE(doc->fn, 0);
    char path[256];
    FileGetPath(doc->fn, path);
    EXPECT_EQ(RunFile(DocGetRun(doc, 0)), doc->fn);
    EXPECT_EQ(FileGetSize(doc->fn), 2u);
    DocFree(doc, true);
    EXPECT_FALSE(VxFileExists(path));
}

TEST_F(DocBufferTest, DocIdGrowsAcrossRuns) {
    ASSERT_TRUE(OsSettingSetInt("DocID", 41));
    DocIdInit();
    EXPECT_EQ(DocNew(nullptr)->docId, 42u);
    int32_t stored = 0;
    ASSERT_TRUE(OsSettingGetInt("DocID", &stored));
    EXPECT_EQ(stored, 42);
    DocIdInit(); // the next run of the program
    EXPECT_EQ(DocNew(nullptr)->docId, 43u);
    OsSettingSetInt("DocID", 100); // another instance took ids meanwhile
    EXPECT_EQ(DocNew(nullptr)->docId, 101u);

    OsSettingDelete("DocID");
    DocIdInit();
    ASSERT_TRUE(OsSettingGetInt("DocID", &stored));
    EXPECT_EQ(stored, 0);
    EXPECT_EQ(DocNew(nullptr)->docId, 1u);
}

TEST_F(DocBufferTest, ListAndLookups) {
    FileBuffer *a = DocNew("C:\\Work\\Alpha.TXT");
    FileBuffer *b = DocNew("C:\\Work\\beta.txt");
    FileBuffer *hidden = DocSetFlagBit9(DocNew("C:\\Work\\hidden"), true);
    EXPECT_EQ(DocListHead(), hidden) << "new buffers go first";
    a->flags |= DOC_CLOSE_DEFERRED;
    EXPECT_EQ(DocFindByFileName("c:\\work\\alpha.txt"), a);
    EXPECT_FALSE(a->flags & DOC_CLOSE_DEFERRED) << "a lookup takes the deferred close back";
    EXPECT_EQ(DocFindByFileName("c:\\work\\alpha"), nullptr);
    EXPECT_EQ(DocFindById(b->docId), b);
    DocSetTitle(b, "Results");
    EXPECT_EQ(DocFindByTitle("RESULTS"), b);
    EXPECT_EQ(DocFirstOther(b), a) << "buffers kept without a window are passed over";
    DocMoveToFront(a);
    std::vector<FileBuffer *> order;
    for (FileBuffer *d = nullptr; DocIterNext(&d);) order.push_back(d);
    EXPECT_EQ(order, (std::vector<FileBuffer *>{a, hidden, b}));
    unsigned char pstr[256];
    EXPECT_EQ(DocGetFileNameP(b, pstr), 17);
    std::string longName(300, 'n');
    FileBuffer *cut = DocNew(longName.c_str());
    EXPECT_EQ(DocFindByFileName(longName.c_str()), cut) << "names are cut at 255 both ways";
}

TEST_F(DocBufferTest, TitlesAndCaptions) {
    FileBuffer *doc = DocNew("C:\\Work\\file.txt");
    char text[256];
    DocGetCaption(doc, text);
    EXPECT_STREQ(text, "file.txt (C:\\Work)");
    doc->flags |= DOC_MODIFIED | DOC_READONLY;
    DocGetCaption(doc, text);
    EXPECT_STREQ(text, "file.txt (C:\\Work) *");
    Options().markReadOnly = true;
    DocGetCaption(doc, text);
    EXPECT_STREQ(text, "!file.txt (C:\\Work) *");
    for (uint32_t bit : {DOC_NO_PROJECT_ASK, DOC_CLIP}) {
        doc->flags |= bit;
        DocGetCaption(doc, text);
        EXPECT_EQ(std::string(text).find(" *"), std::string::npos);
        doc->flags &= ~bit;
    }

    FileBuffer *output = DocNew("C:\\Work\\make.out");
    output->flags |= DOC_OUTPUT;
    DocSetTitle(output, "make");
    DocGetTitle(output, text);
    EXPECT_STREQ(text, "make (Final)");
    output->hcapture = HAlloc(8);
    DocGetTitle(output, text);
    EXPECT_STREQ(text, "make (Running)");
    EXPECT_TRUE(AnyCaptureRunning());
    *(uint32_t *)output->hcapture->ptr = 2; // stopped
    EXPECT_FALSE(AnyCaptureRunning());
    HFree(output->hcapture);
    output->hcapture = nullptr;

    FileBuffer *clip = DocNew("C:\\Clips\\snippet");
    clip->flags |= DOC_CLIP;
    DocGetTitle(clip, text);
    EXPECT_STREQ(text, "Clip: snippet (C:\\Clips)");
    DocSourceLabel(clip, text);
    EXPECT_STREQ(text, "Source: Unknown");
    DocSetClipSource(clip, "main.c", nullptr);
    DocSourceLabel(clip, text);
    EXPECT_STREQ(text, "Source: main.c");
    DocSetClipSource(clip, "main.c", "Selection");
    DocSourceLabel(clip, text);
    EXPECT_STREQ(text, "Selection from main.c");
    EXPECT_FALSE(DocSourceLabel(doc, text));
}

TEST_F(DocBufferTest, BlockedBinaryFiles) {
    WriteBytes(Path("tool.EXE"), std::string("MZ\x90\0\x03\r\n", 7));
    EXPECT_EQ(DocLoadFile(Path("tool.EXE").c_str(), -1, false), nullptr);
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_NE(VxAlerts()[0].text.find("is a binary file"), std::string::npos) << VxAlerts()[0].text;
    EXPECT_EQ(DocLiveCount(), 0);
    ASSERT_TRUE(OsSettingSetInt("BlockBinaryFiles", 0));
    DocForgetBlockBinary();
    FileBuffer *doc = DocLoadFile(Path("tool.EXE").c_str(), -1, false);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->flags & DOC_BINARY);
    OsSettingDelete("BlockBinaryFiles");
}

TEST_F(DocBufferTest, MissingFileShowsTheErrorAndFreesTheBuffer) {
    EXPECT_EQ(DocLoadFile(Path("missing.txt").c_str(), -1, false), nullptr);
    EXPECT_EQ(DocLiveCount(), 0);
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_NE(VxAlerts()[0].text.find("missing.txt"), std::string::npos) << VxAlerts()[0].text;
}

// Project fakes: slot 3 holds "proj.c" as file 7.
struct ProjectFake {
    uint32_t flags = 0;
    bool storedCurrent = false;
    std::vector<std::string> calls;
};
ProjectFake project;
std::vector<std::string> shellCalls;

int32_t FakeFind(int32_t slot, const char *path) {
    return slot == 3 && strstr(path, "proj.c") ? 7 : -1;
}
uint32_t FakeFlags(int32_t) {
    return project.flags;
}
// The stored time and size are the file's own when the stored symbols are current; none are stored else.
int FakeStored(int32_t, int32_t, FileInfo *out) {
    *out = FileInfo{};
    return project.storedCurrent && FileGetInfoByPath(Path("proj.c").c_str(), out);
}
int FakeUpdate(int32_t slot, FileBuffer *) {
    project.calls.push_back("update " + std::to_string(slot));
    return 1;
}
void FakeParseState(int32_t, FileBuffer *, int reparse, int other) {
    project.calls.push_back("state " + std::to_string(reparse) + std::to_string(other));
}
void FakeStoredList(FileBuffer *, int32_t limit) {
    project.calls.push_back("stored " + std::to_string(limit));
}
void FakeStatus(const char *text) {
    shellCalls.push_back(std::string("status ") + text);
}
void FakeBusyBegin() {
    shellCalls.push_back("busy");
}
void FakeBusyEnd() {
    shellCalls.push_back("idle");
}

class DocProjectTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        project = ProjectFake{};
        shellCalls.clear();
        DocSymbolHook symbol = *DocSymbolNeutral();
        symbol.projFindFile = FakeFind;
        symbol.projFlags = FakeFlags;
        symbol.projStoredFileInfo = FakeStored;
        symbol.projUpdateFile = FakeUpdate;
        symbol.projSetFileParseState = FakeParseState;
        DocSetSymbolHook(&symbol);
        DocLangHook lang = *DocLangNeutral();
        lang.loadStoredSymbolList = FakeStoredList;
        DocSetLangHook(&lang);
        shell.status = FakeStatus;
        shell.busyBegin = FakeBusyBegin;
        shell.busyEnd = FakeBusyEnd;
        SetShell();
        WriteBytes(Path("proj.c"), "int x;\r\n");
    }
};

TEST_F(DocProjectTest, MemberOfAReadOnlyProject) {
    project.flags = DOC_PROJ_READONLY | DOC_PROJ_BIT27;
    FileBuffer *doc = DocLoadFileEx(Path("proj.c").c_str(), 3, false, false, false, -1, -1);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->iProj, 3);
    EXPECT_EQ(doc->ifileProj, 7);
    EXPECT_TRUE(doc->flags & DOC_PROJECT_BIT27);
    EXPECT_TRUE(FileIsReadOnly(doc->fn));
    EXPECT_EQ(shellCalls, (std::vector<std::string>{"busy", "idle"}));
    FileBuffer *other = DocLoadFileEx(Path("proj.c").c_str(), 2, false, false, false, -1, -1);
    EXPECT_EQ(other->iProj, -1) << "not a file of that project";
}

TEST_F(DocProjectTest, StoredSymbolsOrSynchronising) {
    project.storedCurrent = true;
    FileBuffer *doc = DocLoadFileEx(Path("proj.c").c_str(), 3, true, true, false, -1, -1);
    EXPECT_EQ(project.calls, std::vector<std::string>{"stored 300"});
    DocFree(doc, false);

    project = ProjectFake{};
    DocLoadFileEx(Path("proj.c").c_str(), 3, true, true, false, -1, -1);
    EXPECT_EQ(project.calls, std::vector<std::string>{"update 3"});
    EXPECT_NE(std::find(shellCalls.begin(), shellCalls.end(), "status Synchronizing " + Path("proj.c")),
              shellCalls.end());

    project = ProjectFake{};
    Options().parseInBackground = true;
    FileBuffer *later = DocLoadFileEx(Path("proj.c").c_str(), 3, true, true, false, -1, -1);
    EXPECT_EQ(project.calls, std::vector<std::string>{"state 11"});
    EXPECT_TRUE(later->flags & DOC_PROJ_REPARSE);
}

FileBuffer *current;
FileBuffer *Current() {
    return current;
}
int searchOption;
int SearchOption() {
    return searchOption;
}

class DocOutputTest : public DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        current = nullptr;
        searchOption = 0;
        shell.currentDoc = Current;
        SetShell();
        DocSearchHook search = *DocSearchNeutral();
        search.searchResultsOption = SearchOption;
        DocSetSearchHook(&search);
    }
    FileBuffer *WithText(const std::string &name) {
        FileBuffer *doc = DocOpenOutput(Path(name).c_str(), false);
        EXPECT_NE(doc, nullptr);
        if (doc) InsertLineSz(doc, -1, "old text");
        return doc;
    }
};

TEST_F(DocOutputTest, NewAndEmptyBuffersAreTakenUnasked) {
    FileBuffer *doc = DocOpenOutput(Path("a.out").c_str(), false);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->lnMac, 0);
    EXPECT_EQ(DocOpenOutput(Path("a.out").c_str(), false), doc) << "still empty";
    EXPECT_TRUE(VxAlerts().empty());
}

TEST_F(DocOutputTest, TheCurrentBufferIsRefused) {
    FileBuffer *doc = WithText("a.out");
    current = doc;
    EXPECT_EQ(DocOpenOutput(Path("a.out").c_str(), false), nullptr);
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Cannot use the current file."});
    EXPECT_EQ(DocOpenOutputEx(Path("a.out").c_str(), true, true), doc) << "allowed and without a question";
}

TEST_F(DocOutputTest, SearchResultsAnsweredByTheirOption) {
    FileBuffer *doc = WithText("r.SearchResults");
    doc->flags |= DOC_SEARCH_TYPE;
    searchOption = 2;
    EXPECT_EQ(DocOpenOutput(Path("r.SearchResults").c_str(), false), doc);
    EXPECT_EQ(doc->lnMac, 1) << "appended to";
    searchOption = 1;
    EXPECT_EQ(DocOpenOutput(Path("r.SearchResults").c_str(), false), doc);
    EXPECT_EQ(doc->lnMac, 0) << "replaced";
    EXPECT_TRUE(VxAlerts().empty());
}

TEST_F(DocOutputTest, TheQuestion) {
    FileBuffer *doc = WithText("a.out");
    VxAlertAnswer(ANSWER_APPEND);
    EXPECT_EQ(DocOpenOutput(Path("a.out").c_str(), false), doc);
    EXPECT_EQ(doc->lnMac, 1);
    ASSERT_EQ(VxAlerts().size(), 1u);
    char name[256];
    DocGetFileName(doc, name);
    EXPECT_EQ(VxAlerts()[0].text, std::string(name) + " already contains text.\nReplace it or Append to it?");
    EXPECT_EQ(VxAlerts()[0].kind, VX_ALERT_CHOOSE);
    EXPECT_EQ(VxAlerts()[0].defaultButton, ANSWER_REPLACE);

    VxAlertAnswer(ANSWER_REPLACE);
    EXPECT_EQ(DocOpenOutput(Path("a.out").c_str(), false), doc);
    EXPECT_EQ(doc->lnMac, 0);

    InsertLineSz(doc, -1, "old text");
    VxAlertAnswer(ANSWER_CANCEL);
    EXPECT_EQ(DocOpenOutput(Path("a.out").c_str(), false), nullptr);
    EXPECT_EQ(doc->lnMac, 1);
}

TEST_F(DocOutputTest, NewAsksForAnotherFileAndAsksAgain) {
    FileBuffer *doc = WithText("a.out");
    WriteBytes(Path("full.out"), "text on disk\r\n");
    VxAlertsReset();
    VxAlertAnswer(ANSWER_NEW);
    VxSaveAnswer(Path("full.out"));
    VxAlertAnswer(ANSWER_NEW);
    VxSaveAnswer(Path("b.out"));
    FileBuffer *chosen = DocOpenOutput(Path("a.out").c_str(), false);
    ASSERT_NE(chosen, nullptr);
    EXPECT_NE(chosen, doc);
    char name[256];
    DocGetFileName(chosen, name);
    EXPECT_EQ(std::string(name), Path("b.out"));
    EXPECT_EQ(chosen->lnMac, 0);
    ASSERT_EQ(VxAlerts().size(), 4u) << "question, dialog, question about full.out, dialog";
    EXPECT_EQ(VxAlerts()[1].text, "Output File");
    EXPECT_EQ(VxAlerts()[2].text, Path("full.out") + " already contains text.\nReplace it or Append to it?");
    EXPECT_EQ(DocFindByFileName(Path("full.out").c_str()), nullptr)
        << "the buffer the question made is closed";

    FileBuffer *results = WithText("s.SearchResults");
    results->flags |= DOC_SEARCH_TYPE;
    VxAlertsReset();
    VxAlertAnswer(ANSWER_NEW);
    VxSaveAnswer(Path("t.SearchResults"));
    FileBuffer *next = DocOpenOutput(Path("s.SearchResults").c_str(), false);
    ASSERT_NE(next, nullptr);
    ASSERT_FALSE(VxAlerts().empty());
    EXPECT_EQ(VxAlerts()[0].text, "Search Results already contains text.\nReplace it or Append to it?");
    EXPECT_TRUE((next->flags & DOC_SEARCH_TYPE) && (next->flags & DOC_SEARCH_RESULTS));
}

TEST_F(DocBufferTest, FreeingKeepsSharedLines) {
    FileBuffer *a = Load("a.txt", "alpha\r\nbeta\r\n");
    FileBuffer *b = DocNew(Path("b.txt").c_str());
    ASSERT_TRUE(DocCopyLines(a, 0, 2, b, 0, 1));
    int slot = a->fn;
    DocFree(a, false);
    FileBuffer *c = Load("c.txt", "other text that is longer\r\n");
    EXPECT_EQ(c->fn, slot) << "the slot is taken again";
    EXPECT_EQ(Lines(b), (std::vector<std::string>{"alpha", "beta"}));
}

TEST_F(DocBufferTest, NewFromAModel) {
    FileBuffer *model = Load("m.txt", "one\r\ntwo");
    model->flags |= DOC_CTRL_Z;
    FileBuffer *copy = DocNewFrom(model, Path("copy.txt").c_str(), false);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Lines(copy), (std::vector<std::string>{"one", "two"}));
    EXPECT_FALSE(copy->flags & DOC_LAST_LINE_ENDED);
    EXPECT_TRUE(copy->flags & DOC_CTRL_Z);
    EXPECT_EQ(UndoStepCount(copy), 0) << "made with undo suspended";
}

TEST_F(DocBufferTest, SystemBuffers) {
    ASSERT_TRUE(DocCreateSystemDocs());
    for (FileBuffer *doc : {DocClipboardDoc(), DocScratchDoc()}) {
        EXPECT_EQ(doc->flags & (DOC_HIDDEN | DOC_NO_WINDOW | DOC_SYSTEM),
                  DOC_HIDDEN | DOC_NO_WINDOW | DOC_SYSTEM);
        EXPECT_TRUE(DocIsClipboardOrSystem(doc));
    }
    char name[256];
    DocGetFileName(DocClipboardDoc(), name);
    EXPECT_STREQ(name, "Clipboard");
}

int32_t currentProject;
int32_t CurrentProject() {
    return currentProject;
}
std::vector<int32_t> closed;
void CloseProject(int32_t slot) {
    closed.push_back(slot);
}

TEST_F(DocProjectTest, ReadOnlyRefreshAndUnusedProjects) {
    currentProject = 3;
    closed.clear();
    DocSymbolHook symbol = *DocSymbolNeutral();
    symbol.projFindFile = FakeFind;
    symbol.projFlags = FakeFlags;
    symbol.currentProject = CurrentProject;
    symbol.projClose = CloseProject;
    DocSetSymbolHook(&symbol);
    FileBuffer *doc = DocLoadFileEx(Path("proj.c").c_str(), 3, false, false, false, -1, -1);
    EXPECT_FALSE(doc->flags & DOC_READONLY);
    project.flags = DOC_PROJ_READONLY;
    DocRefreshReadOnly(doc);
    EXPECT_TRUE(doc->flags & DOC_READONLY) << "the current project is read-only";
    DocCloseProjectIfUnused(doc);
    EXPECT_TRUE(closed.empty()) << "the current project stays";
    currentProject = 5;
    DocCloseProjectIfUnused(doc);
    EXPECT_EQ(closed, std::vector<int32_t>{3});
}

} // namespace
